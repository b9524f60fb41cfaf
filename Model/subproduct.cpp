#include "Model/subproduct.h"

SubProduct::SubProduct(int id, int parentId, const QString &name, QObject *parent)
    : IDownloadableItem(id, parentId, name, parent)
{
}

void SubProduct::setThumbnail(const QString &thumbnail)
{
    if (m_thumbnail == thumbnail)
        return;
    m_thumbnail = thumbnail;
    emit thumbnailChanged();
}

void SubProduct::setFileType(const QString &fileType)
{
    if (m_fileType == fileType)
        return;
    m_fileType = fileType;
    emit fileTypeChanged();
}

void SubProduct::setBrushType(const QString &brushType)
{
    if (m_brushType == brushType)
        return;
    m_brushType = brushType;
    emit brushTypeChanged();
}
