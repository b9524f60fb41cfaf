#pragma once

#include "Model/downloadstatusinfo.h"

#include <QObject>
#include <QPointer>
#include <QString>

// What the download queue handles: a store product or one of its sub-products.
// The queue tracks items by name; the link is what the store's download-link
// request takes as the item's id.
class IDownloadableItem : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int id READ id NOTIFY idChanged)
    Q_PROPERTY(int parentId READ parentId NOTIFY parentIdChanged)
    Q_PROPERTY(DownloadStatusInfo *downloadStatus READ downloadStatus WRITE setDownloadStatus
                   NOTIFY downloadStatusChanged)
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(bool installed READ installed NOTIFY installedChanged)
    Q_PROPERTY(QString sourceLink READ sourceLink NOTIFY sourceLinkChanged)

public:
    IDownloadableItem(int id, int parentId, const QString &name, QObject *parent = nullptr);

    int id() const { return m_id; }
    void setId(int id);
    int parentId() const { return m_parentId; }
    void setParentId(int parentId);
    DownloadStatusInfo *downloadStatus() const { return m_downloadStatus; }
    // The item takes the status object over.
    void setDownloadStatus(DownloadStatusInfo *status);
    QString name() const { return m_name; }
    void setName(const QString &name);
    QString link() const { return m_link; }
    void setLink(const QString &link);
    bool installed() const { return m_installed; }
    // Installing also makes the status Installed; uninstalling leaves it alone.
    void setInstalled(bool installed);
    QString sourceLink() const { return m_sourceLink; }
    void setSourceLink(const QString &sourceLink);

    DownloadStatusInfo::Status status() const { return m_downloadStatus->currentStatus(); }
    void setStatus(DownloadStatusInfo::Status status) { m_downloadStatus->setCurrentStatus(status); }

signals:
    void idChanged();
    void parentIdChanged();
    void downloadStatusChanged();
    void nameChanged();
    void linkChanged();
    void sourceLinkChanged();
    void installedChanged();

private:
    int m_id;
    int m_parentId;
    QPointer<DownloadStatusInfo> m_downloadStatus;
    QString m_name;
    QString m_link;
    bool m_installed = false;
    QString m_sourceLink;
};
