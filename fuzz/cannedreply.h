#pragma once

// A network reply whose body is known beforehand: it finishes on the next turn of
// the event loop, as a real reply that arrived in one piece does.
#include <QMetaObject>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <cstring>

class CannedReply : public QNetworkReply
{
public:
    // status 200 for an answer, anything else fails the reply with that HTTP status.
    CannedReply(QNetworkAccessManager::Operation operation, const QNetworkRequest &request, const QByteArray &body,
                int status, int *pending, QObject *parent)
        : QNetworkReply(parent)
        , m_body(body)
    {
        setRequest(request);
        setUrl(request.url());
        setOperation(operation);
        setAttribute(QNetworkRequest::HttpStatusCodeAttribute, status);
        if (status != 200)
            setError(status == 404 ? ContentNotFoundError : InternalServerError, QStringLiteral("canned failure"));
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        ++*pending;
        QMetaObject::invokeMethod(
            this,
            [this, pending] {
                setFinished(true);
                emit metaDataChanged();
                emit readyRead();
                emit finished();
                --*pending;
            },
            Qt::QueuedConnection);
    }

    void abort() override {}
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return m_body.size() - m_read + QNetworkReply::bytesAvailable(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 count = qMin(maxSize, qint64(m_body.size()) - m_read);
        if (count <= 0)
            return m_read >= m_body.size() ? -1 : 0;
        std::memcpy(data, m_body.constData() + m_read, size_t(count));
        m_read += count;
        return count;
    }

private:
    QByteArray m_body;
    qint64 m_read = 0;
};
