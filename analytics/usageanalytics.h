#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <QVariantMap>

#include <functional>

// A client of the Google Analytics measurement protocol: screen views, events
// and exceptions become hits, queued with the time they were made and posted
// one at a time to the collection endpoint. Nothing in Kivara creates one and
// nothing here names an address: the creating code gives the endpoint, the
// account and the application's figures.
class UsageAnalytics : public QObject
{
    Q_OBJECT
    Q_PROPERTY(LogLevel logLevel READ logLevel WRITE setLogLevel NOTIFY logLevelChanged)
    Q_PROPERTY(QString viewportSize READ viewportSize WRITE setViewportSize NOTIFY viewportSizeChanged)
    Q_PROPERTY(QString language READ language WRITE setLanguage NOTIFY languageChanged)
    Q_PROPERTY(QString trackingID READ trackingID WRITE setTrackingID NOTIFY trackingIDChanged)
    Q_PROPERTY(QString userID READ userID WRITE setUserID NOTIFY userIDChanged)
    Q_PROPERTY(int sendInterval READ sendInterval WRITE setSendInterval NOTIFY sendIntervalChanged)
    Q_PROPERTY(bool isSending READ isSending NOTIFY isSendingChanged)

public:
    enum LogLevel { Debug = 0, Info = 1, Error = 2, None = 3 };
    Q_ENUM(LogLevel)

    // Where hits get their time stamps and their waiting time from.
    using Clock = std::function<QDateTime()>;

    class Private;

    // sendInterval is the time between checks of the queue, in milliseconds.
    UsageAnalytics(const QUrl &endpoint, const QString &trackingID, const QString &clientID,
                   const QString &appName, const QString &appVersion, const QString &screenResolution,
                   int sendInterval, QObject *parent = nullptr);
    ~UsageAnalytics() override;

    LogLevel logLevel() const;
    void setLogLevel(LogLevel level);
    QString viewportSize() const;
    void setViewportSize(const QString &size);
    QString language() const;
    void setLanguage(const QString &language);
    QString trackingID() const;
    void setTrackingID(const QString &trackingID);
    // Kept in the application settings under "UsageAnalytics-uid".
    QString userID() const;
    void setUserID(const QString &userID);
    int sendInterval() const;
    void setSendInterval(int milliseconds);
    bool isSending() const;

    // The system clock unless set; tests use a clock of their own.
    void setClock(Clock clock);

public Q_SLOTS:
    void sendScreenView(const QString &screenName, const QVariantMap &customValues = QVariantMap());
    void sendAppView(const QString &screenName, const QVariantMap &customValues = QVariantMap());
    void sendEvent(const QString &category, const QString &action, const QString &label = QString(),
                   const QVariant &value = QVariant(), const QVariantMap &customValues = QVariantMap());
    void sendException(const QString &description, bool fatal = false,
                       const QVariantMap &customValues = QVariantMap());
    void startSession();
    void endSession();

Q_SIGNALS:
    void logLevelChanged();
    void viewportSizeChanged();
    void languageChanged();
    void trackingIDChanged();
    void userIDChanged();
    void sendIntervalChanged();
    void isSendingChanged(bool isSending);

private:
    Private *d;
};
