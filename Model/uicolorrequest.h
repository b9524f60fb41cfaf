#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class ZUiColor;

// Asks ZBrush for its interface colours and picks up the colours file once the
// script plug-in has written it.
//
// ZBrush answers asynchronously and gives no sign of having done so, so after a
// request the newest colours file is polled until it is newer than the one seen
// when the request started. While no colours file exists at all the poll gives up
// after a while; a ZBrush that has written one before keeps it going.
class UiColorRequest : public QObject
{
    Q_OBJECT

public:
    // Path of the newest colours file across ZBrush's data folders, empty when none.
    using NewestFile = std::function<QString()>;
    // Sends ZBrush the command that makes it export its colours.
    using AskHost = std::function<void()>;

    static constexpr int defaultPollInterval = 500;
    static constexpr int defaultGiveUpAfter = 5000;

    UiColorRequest(ZUiColor *colors, NewestFile newestFile, AskHost askHost,
                   QObject *parent = nullptr);
    ~UiColorRequest() override;

    // A new request replaces a running poll.
    void request(bool askHost);

    // Tests shorten these; a change applies from the next request on.
    void setPollInterval(int milliseconds);
    void setGiveUpAfter(int milliseconds);

    bool isPolling() const { return m_pollTimer != 0; }

Q_SIGNALS:
    void colorsLoaded(const QString &path);
    void gaveUp();

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    void poll();
    void stopPolling();

    QPointer<ZUiColor> m_colors;
    NewestFile m_newestFile;
    AskHost m_askHost;
    int m_pollInterval = defaultPollInterval;
    int m_giveUpAfter = defaultGiveUpAfter;
    // Invalid until a colours file was seen; then any file time is later.
    QDateTime m_seenTime;
    QElapsedTimer m_requestTime;
    int m_pollTimer = 0;
};
