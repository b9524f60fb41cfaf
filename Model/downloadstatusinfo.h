#pragma once

#include <QObject>
#include <QString>

// Where one store item stands in the download queue, shown by the store views.
class DownloadStatusInfo : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int percent READ percent WRITE setPercent NOTIFY percentChanged)
    Q_PROPERTY(bool hasError READ hasError WRITE setHasError NOTIFY hasErrorChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage WRITE setErrorMessage NOTIFY errorMessageChanged)
    Q_PROPERTY(Status currentStatus READ currentStatus WRITE setCurrentStatus NOTIFY currentStatusChanged)

public:
    // Error has a look in the views; failures themselves go back to None with a message.
    enum Status { Queued = 0, Downloading = 1, Extracting = 2, Error = 3, Installed = 4, None = 5 };
    Q_ENUM(Status)

    explicit DownloadStatusInfo(QObject *parent = nullptr);

    int percent() const { return m_percent; }
    void setPercent(int percent);
    bool hasError() const { return m_hasError; }
    void setHasError(bool hasError);
    QString errorMessage() const { return m_errorMessage; }
    void setErrorMessage(const QString &errorMessage);
    Status currentStatus() const { return m_currentStatus; }
    void setCurrentStatus(Status status);

    // Back to None after a failure: the message, and whether it counts as an error.
    void fail(const QString &message, bool isError = true);

signals:
    void percentChanged();
    void hasErrorChanged();
    void errorMessageChanged();
    void currentStatusChanged();

private:
    int m_percent = 0;
    bool m_hasError = false;
    QString m_errorMessage;
    Status m_currentStatus = None;
};
