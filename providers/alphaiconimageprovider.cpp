#include "providers/alphaiconimageprovider.h"

#include <QDebug>
#include <QImage>
#include <QImageReader>

QPixmap AlphaIconImageProvider::loadPixmap(const QString &id, bool *cacheable)
{
    QImageReader reader(id);
    // Squeezed to a square on purpose: the tile shows the whole image.
    reader.setScaledSize(QSize(readSide, readSide));
    const QImage image = reader.read();
    if (image.isNull()) {
        qDebug().noquote() << "cannot read" << id << reader.errorString();
        *cacheable = false;
        return grayTile(QSize(readSide, readSide));
    }
    *cacheable = true;
    return QPixmap::fromImage(image, Qt::NoOpaqueDetection);
}
