#pragma once

#include "analytics/usageanalytics.h"

#include <QDateTime>
#include <QList>
#include <QNetworkRequest>
#include <QObject>
#include <QPair>
#include <QString>
#include <QTimer>

class QNetworkAccessManager;
class QNetworkReply;

// The state of a UsageAnalytics: what every hit carries, the queue of hits
// waiting to be posted and the one post under way.
class UsageAnalytics::Private : public QObject
{
    Q_OBJECT

public:
    using Items = QList<QPair<QString, QString>>;

    struct Message
    {
        Items query;
        QDateTime queued;
    };

    // Hits older than this are dropped unsent: four hours.
    static constexpr qint64 maxQueueTime = 4 * 60 * 60 * 1000;

    explicit Private(UsageAnalytics *owner);

    // The standard items that begin every hit of the given type.
    Items standardItems(const QString &hitType) const;
    // Appends the custom values and queues the hit at the current time.
    void enqueue(Items query, const QVariantMap &customValues);
    void setSending(bool sending);
    bool logs(UsageAnalytics::LogLevel level) const { return logLevel <= level; }
    // Keys and values percent-encoded but for the unreserved characters, so that
    // "+", "&" and "=" in a value reach the collector as written.
    static QByteArray encode(const Items &query);

    QString trackingID;
    QString clientID;
    QString userID;
    QString language;
    QString viewportSize;
    QString screenResolution;
    QString appName;
    QString appVersion;
    UsageAnalytics::LogLevel logLevel = UsageAnalytics::Error;
    QTimer timer;
    QList<Message> queue;
    QNetworkRequest request;
    bool isSending = false;
    UsageAnalytics::Clock clock;

Q_SIGNALS:
    void postNextMessage();

public Q_SLOTS:
    void postMessage();
    void postMessageFinished();

private:
    QNetworkAccessManager *networkManager();

    UsageAnalytics *q;
    QNetworkAccessManager *m_networkManager = nullptr;
    QNetworkReply *m_reply = nullptr;
};
