#pragma once

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTimer>
#include <QUrl>

// The local store server (tools/storeserver) run for one test: started on a
// catalogue file, stopped with the object. The test target defines
// KIVARA_STORE_SERVER as the server program's path.
class StoreServerProcess
{
public:
    ~StoreServerProcess()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
        m_process.waitForFinished(3000);
    }

    bool start(const QString &catalogue, const QStringList &options = {})
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(KIVARA_STORE_SERVER),
                        options + QStringList{QStringLiteral("--watch-stdin"), catalogue});
        if (!m_process.waitForStarted(5000) || !m_process.waitForReadyRead(10000))
            return false;
        bool ok = false;
        m_port = m_process.readLine().trimmed().toInt(&ok);
        return ok && m_port > 0;
    }

    int port() const { return m_port; }
    QUrl baseUrl() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_port)); }
    QUrl downloadUrl(const QString &link, const QString &file) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/downloads/%2/%3?download_token=t").arg(m_port).arg(link, file));
    }

    bool setFault(const QString &route, const QString &kind)
    {
        return !control(QStringLiteral("/_control/fault?route=%1&kind=%2").arg(route, kind)).isNull();
    }
    bool reset() { return !control(QStringLiteral("/_control/reset")).isNull(); }
    // Every store request the server has seen since the last reset.
    QJsonArray requests() { return QJsonDocument::fromJson(control(QStringLiteral("/_control/requests"))).array(); }

private:
    // Null on failure.
    QByteArray control(const QString &pathAndQuery)
    {
        QNetworkAccessManager network;
        QNetworkReply *reply = network.get(QNetworkRequest(QUrl(baseUrl().toString() + pathAndQuery)));
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        const QByteArray body = reply->isFinished() && reply->error() == QNetworkReply::NoError ? reply->readAll()
                                                                                               : QByteArray();
        delete reply;
        return body;
    }

    QProcess m_process;
    int m_port = 0;
};
