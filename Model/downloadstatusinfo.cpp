#include "Model/downloadstatusinfo.h"

DownloadStatusInfo::DownloadStatusInfo(QObject *parent)
    : QObject(parent)
{
}

void DownloadStatusInfo::setPercent(int percent)
{
    if (m_percent == percent)
        return;
    m_percent = percent;
    emit percentChanged();
}

void DownloadStatusInfo::setHasError(bool hasError)
{
    if (m_hasError == hasError)
        return;
    m_hasError = hasError;
    emit hasErrorChanged();
}

void DownloadStatusInfo::setErrorMessage(const QString &errorMessage)
{
    if (m_errorMessage == errorMessage)
        return;
    m_errorMessage = errorMessage;
    emit errorMessageChanged();
}

void DownloadStatusInfo::setCurrentStatus(Status status)
{
    if (m_currentStatus == status)
        return;
    m_currentStatus = status;
    emit currentStatusChanged();
}

void DownloadStatusInfo::fail(const QString &message, bool isError)
{
    setCurrentStatus(None);
    setHasError(isError);
    setErrorMessage(message);
}
