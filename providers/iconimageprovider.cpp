#include "providers/iconimageprovider.h"

#include <QColor>

IconImageProvider::IconImageProvider()
    : QQuickImageProvider(QQmlImageProviderBase::Pixmap)
    , m_cache(cacheCapacity)
{
}

QPixmap IconImageProvider::requestPixmap(const QString &id, QSize *size, const QSize &requestedSize)
{
    if (size)
        *size = QSize(naturalSide, naturalSide);
    QPixmap pixmap;
    if (!m_cache.find(id, &pixmap)) {
        bool cacheable = false;
        pixmap = loadPixmap(id, &cacheable);
        if (cacheable)
            m_cache.insert(id, pixmap);
    }
    return fitToRequest(pixmap, requestedSize);
}

QPixmap IconImageProvider::fitToRequest(const QPixmap &pixmap, const QSize &requestedSize)
{
    if (requestedSize == QSize(naturalSide, naturalSide) || pixmap.isNull())
        return pixmap;
    // An Image without sourceSize asks with an invalid size; one side set means "keep the aspect".
    const int width = requestedSize.width();
    const int height = requestedSize.height();
    if (width > 0 && height > 0)
        return pixmap.scaled(requestedSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (width > 0)
        return pixmap.scaledToWidth(width, Qt::SmoothTransformation);
    if (height > 0)
        return pixmap.scaledToHeight(height, Qt::SmoothTransformation);
    return pixmap;
}

QPixmap IconImageProvider::grayTile(const QSize &size)
{
    QPixmap tile(size);
    tile.fill(Qt::gray);
    return tile;
}
