#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QUrl>

// recording_server.py as a child process: an HTTP server on 127.0.0.1 that
// answers with the statuses it was started with and reports every request.
// The script's path comes from the RECORDING_SERVER compile definition.
class RecordingServer
{
public:
    struct Request
    {
        QString method;
        QString path;
        QJsonObject headers; // names in lower case
        QString body;
        int status = 0;
        int concurrent = 0; // requests being answered when it arrived, itself included
    };

    ~RecordingServer()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.closeWriteChannel();
            if (!m_process.waitForFinished(5000))
                m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    // False when the server did not come up within ten seconds. Each answer
    // waits delaySeconds.
    bool start(const QList<int> &statuses = {}, double delaySeconds = 0)
    {
        QStringList arguments{QStringLiteral(RECORDING_SERVER), QStringLiteral("--delay=%1").arg(delaySeconds)};
        for (int status : statuses)
            arguments << QString::number(status);
        m_process.start(QStringLiteral("python3"), arguments);
        if (!m_process.waitForStarted(10000))
            return false;
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(10000))
                return false;
        }
        m_port = m_process.readLine().trimmed().toInt();
        return m_port > 0;
    }

    QUrl url(const QString &path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path));
    }

    // Every request reported so far, oldest first.
    const QList<Request> &requests()
    {
        while (m_process.canReadLine()) {
            const QJsonObject line = QJsonDocument::fromJson(m_process.readLine()).object();
            m_requests.append({line.value(QStringLiteral("method")).toString(),
                               line.value(QStringLiteral("path")).toString(),
                               line.value(QStringLiteral("headers")).toObject(),
                               line.value(QStringLiteral("body")).toString(),
                               line.value(QStringLiteral("status")).toInt(),
                               line.value(QStringLiteral("concurrent")).toInt()});
        }
        return m_requests;
    }

private:
    QProcess m_process;
    int m_port = 0;
    QList<Request> m_requests;
};
