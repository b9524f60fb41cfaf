#include "Model/idownloadableitem.h"

IDownloadableItem::IDownloadableItem(int id, int parentId, const QString &name, QObject *parent)
    : QObject(parent)
    , m_id(id)
    , m_parentId(parentId)
    , m_downloadStatus(new DownloadStatusInfo(this))
    , m_name(name)
{
}

void IDownloadableItem::setId(int id)
{
    if (m_id == id)
        return;
    m_id = id;
    emit idChanged();
}

void IDownloadableItem::setParentId(int parentId)
{
    if (m_parentId == parentId)
        return;
    m_parentId = parentId;
    emit parentIdChanged();
}

void IDownloadableItem::setDownloadStatus(DownloadStatusInfo *status)
{
    // The queue and the views always need a status object to talk to.
    if (!status || status == m_downloadStatus)
        return;
    DownloadStatusInfo *previous = m_downloadStatus;
    status->setParent(this);
    m_downloadStatus = status;
    // QML may still hold the old one until it sees the change signal.
    if (previous && previous->parent() == this)
        previous->deleteLater();
    emit downloadStatusChanged();
}

void IDownloadableItem::setName(const QString &name)
{
    if (m_name == name)
        return;
    m_name = name;
    emit nameChanged();
}

void IDownloadableItem::setLink(const QString &link)
{
    if (m_link == link)
        return;
    m_link = link;
    emit linkChanged();
}

void IDownloadableItem::setInstalled(bool installed)
{
    if (m_installed != installed) {
        m_installed = installed;
        emit installedChanged();
    }
    if (installed)
        setStatus(DownloadStatusInfo::Installed);
}

void IDownloadableItem::setSourceLink(const QString &sourceLink)
{
    if (m_sourceLink == sourceLink)
        return;
    m_sourceLink = sourceLink;
    emit sourceLinkChanged();
}
