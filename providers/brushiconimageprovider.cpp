#include "providers/brushiconimageprovider.h"

#include "Model/databaseservice.h"
#include "providers/zbrushthumbnaildecoder.h"

#include <QByteArray>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <atomic>
#include <string>

// The resource file sits in a static library; nothing else would pull it in.
static void initProviderResources()
{
    Q_INIT_RESOURCE(providers);
}

namespace {

const QString defaultIconPath = QStringLiteral(":/Images/DefaultBrushIcon.png");

// Every database read gets a connection of its own name: loader threads never share one.
std::atomic<int> connectionCounter {0};

// Materials and lights keep the alpha they store; other files take it from red.
bool takesAlphaFromRed(const QString &path)
{
    for (const char *suffix : {"zmt", "zld", "zli"}) {
        if (path.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return false;
    }
    return true;
}

} // namespace

BrushIconImageProvider::BrushIconImageProvider(const QString &databasePath)
    : m_databasePath(databasePath)
{
    static const bool resourcesReady = (initProviderResources(), true);
    Q_UNUSED(resourcesReady)
}

QPixmap BrushIconImageProvider::loadPixmap(const QString &id, bool *cacheable)
{
    *cacheable = false;
    QFile file(id);
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug().noquote() << "cannot open" << id << file.errorString();
        return grayTile(QSize(naturalSide, naturalSide));
    }
    const QByteArray head = file.read(maxHeaderBytes);
    file.close();

    const auto *bytes = reinterpret_cast<const unsigned char *>(head.constData());
    const auto size = static_cast<std::size_t>(head.size());
    QImage image(ZBrushThumbnailDecoder::side, ZBrushThumbnailDecoder::side, QImage::Format_RGBA8888_Premultiplied);
    Q_ASSERT(image.sizeInBytes() == ZBrushThumbnailDecoder::bufferSize);
    std::string reason;
    bool decoded = false;
    // ZBrush 4 files carry no thumbnail at all.
    if (ZBrushThumbnailDecoder::versionText(bytes, size) == "4")
        reason = "file of version 4";
    else
        decoded = ZBrushThumbnailDecoder::decode(bytes, size, takesAlphaFromRed(id), image.bits(), &reason);

    if (decoded) {
        *cacheable = true;
        return QPixmap::fromImage(image, Qt::NoOpaqueDetection);
    }
    qDebug().noquote() << "no thumbnail in" << id << QString::fromStdString(reason);
    if (id.endsWith(QLatin1String("zbp"), Qt::CaseInsensitive))
        return loadFromDatabase(id, cacheable);
    return grayTile(QSize(naturalSide, naturalSide));
}

QPixmap BrushIconImageProvider::loadFromDatabase(const QString &path, bool *cacheable) const
{
    QByteArray png;
    // Opening a missing file would create an empty database there.
    if (QFileInfo::exists(m_databasePath)) {
        const QString connection = QString::number(connectionCounter.fetch_add(1));
        DatabaseService database(m_databasePath, connection, false);
        png = database.readBrushIcon(QFileInfo(path).baseName(), connection);
    }
    if (png.isEmpty())
        return QPixmap(defaultIconPath);
    QPixmap pixmap;
    if (pixmap.loadFromData(png, "PNG")) {
        *cacheable = true;
        return pixmap;
    }
    qDebug().noquote() << "unreadable stored thumbnail for" << path;
    return grayTile(QSize(naturalSide, naturalSide));
}
