#include "analytics/usageanalytics_p.h"

#include <QDebug>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QUrl>

UsageAnalytics::Private::Private(UsageAnalytics *owner)
    : QObject(owner)
    , clock([] { return QDateTime::currentDateTimeUtc(); })
    , q(owner)
{
    connect(&timer, &QTimer::timeout, this, &Private::postMessage);
    // Queued, so that a run of expired hits does not nest one call per hit.
    connect(this, &Private::postNextMessage, this, &Private::postMessage, Qt::QueuedConnection);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
}

UsageAnalytics::Private::Items UsageAnalytics::Private::standardItems(const QString &hitType) const
{
    Items items{{QStringLiteral("v"), QStringLiteral("1")},
                {QStringLiteral("tid"), trackingID},
                {QStringLiteral("cid"), clientID}};
    if (!userID.isEmpty())
        items.append({QStringLiteral("uid"), userID});
    items.append({QStringLiteral("t"), hitType});
    items.append({QStringLiteral("ul"), language});
    items.append({QStringLiteral("vp"), viewportSize});
    items.append({QStringLiteral("sr"), screenResolution});
    return items;
}

void UsageAnalytics::Private::enqueue(Items query, const QVariantMap &customValues)
{
    for (auto it = customValues.cbegin(); it != customValues.cend(); ++it)
        query.append({it.key(), it.value().toString()});
    queue.append({query, clock()});
}

void UsageAnalytics::Private::setSending(bool sending)
{
    if (isSending == sending)
        return;
    isSending = sending;
    Q_EMIT q->isSendingChanged(sending);
}

QByteArray UsageAnalytics::Private::encode(const Items &query)
{
    QByteArray body;
    for (const auto &item : query) {
        if (!body.isEmpty())
            body += '&';
        body += QUrl::toPercentEncoding(item.first) + '=' + QUrl::toPercentEncoding(item.second);
    }
    return body;
}

QNetworkAccessManager *UsageAnalytics::Private::networkManager()
{
    if (!m_networkManager)
        m_networkManager = new QNetworkAccessManager(this);
    return m_networkManager;
}

void UsageAnalytics::Private::postMessage()
{
    // One post at a time: a tick while one is under way waits for its answer.
    if (m_reply)
        return;
    if (queue.isEmpty()) {
        timer.start();
        setSending(false);
        return;
    }
    timer.stop();
    setSending(true);
    request.setRawHeader("Connection", queue.size() > 1 ? "keep-alive" : "close");

    const Message &message = queue.constFirst();
    // A clock set back does not make a negative queue time.
    const qint64 waited = qMax<qint64>(0, message.queued.msecsTo(clock()));
    if (waited > maxQueueTime) {
        queue.removeFirst();
        Q_EMIT postNextMessage();
        return;
    }
    Items query = message.query;
    query.append({QStringLiteral("qt"), QString::number(waited)});
    const QByteArray body = encode(query);
    request.setHeader(QNetworkRequest::ContentLengthHeader, body.size());
    m_reply = networkManager()->post(request, body);
    connect(m_reply, &QNetworkReply::finished, this, &Private::postMessageFinished);
}

void UsageAnalytics::Private::postMessageFinished()
{
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    if (!reply)
        return;
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 200 && status <= 299) {
        if (logs(UsageAnalytics::Debug))
            qDebug().noquote() << "[Analytics]" << "Message sent";
        if (!queue.isEmpty())
            queue.removeFirst();
        Q_EMIT postNextMessage();
        return;
    }
    if (logs(UsageAnalytics::Error))
        qWarning().noquote() << "[Analytics]" << QStringLiteral("Error posting message: %1").arg(reply->errorString());
    timer.start();
    setSending(false);
}
