#pragma once

#include "Model/idownloadableitem.h"

// One downloadable file set of a product (brushes, alphas, materials ...).
class SubProduct : public IDownloadableItem
{
    Q_OBJECT
    Q_PROPERTY(QString thumbnail READ thumbnail WRITE setThumbnail NOTIFY thumbnailChanged)
    Q_PROPERTY(QString fileType READ fileType WRITE setFileType NOTIFY fileTypeChanged)
    Q_PROPERTY(QString brushType READ brushType WRITE setBrushType NOTIFY brushTypeChanged)

public:
    SubProduct(int id, int parentId, const QString &name, QObject *parent = nullptr);

    QString thumbnail() const { return m_thumbnail; }
    void setThumbnail(const QString &thumbnail);
    QString fileType() const { return m_fileType; }
    void setFileType(const QString &fileType);
    QString brushType() const { return m_brushType; }
    void setBrushType(const QString &brushType);

signals:
    void thumbnailChanged();
    void fileTypeChanged();
    void brushTypeChanged();

private:
    QString m_thumbnail;
    QString m_fileType;
    QString m_brushType;
};
