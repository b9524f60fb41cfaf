#pragma once

#include "providers/iconpixmapcache.h"

#include <QPixmap>
#include <QQuickImageProvider>
#include <QSize>
#include <QString>

// What the thumbnail providers share: the 96 x 96 natural size, the cache of
// recent thumbnails by path and the scaling to the size the view asks for.
// The QML engine may call requestPixmap from several loader threads at once.
class IconImageProvider : public QQuickImageProvider
{
public:
    static constexpr int naturalSide = 96;
    static constexpr int cacheCapacity = 200;

    QPixmap requestPixmap(const QString &id, QSize *size, const QSize &requestedSize) override;

    // Scaled to fit requestedSize with the aspect kept; a 96 x 96 request, or one
    // without a positive side, leaves the pixmap as it is.
    static QPixmap fitToRequest(const QPixmap &pixmap, const QSize &requestedSize);
    // The tile shown when there is no thumbnail to show.
    static QPixmap grayTile(const QSize &size);

protected:
    IconImageProvider();

    // Makes the thumbnail of id on a cache miss; cacheable tells whether it is
    // kept (fallback tiles are made again next time).
    virtual QPixmap loadPixmap(const QString &id, bool *cacheable) = 0;

private:
    IconPixmapCache m_cache;
};
