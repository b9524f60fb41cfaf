#include "alphadataservice.h"

#include "Model/alpha.h"
#include "Model/folderwalk.h"
#include "Model/hostbridge.h"
#include "Model/resourceroles.h"
#include "appfolders.h"
#include "sorters/alphasorter.h"

#include <QImageReader>
#include <QtConcurrent/QtConcurrentMap>

#include <exception>
#include <memory>

using ResourceRoles::AlphaRole;

namespace {

const QStringList &hostAlphaFolders()
{
    static const QStringList folders{QStringLiteral("/ZAlphas"), QStringLiteral("/ZData/Alphas"),
                                     QStringLiteral("/ZStartup/Alphas")};
    return folders;
}

const QStringList &imagePatterns()
{
    static const QStringList patterns{QStringLiteral("*.psd"), QStringLiteral("*.png"),  QStringLiteral("*.jpg"),
                                      QStringLiteral("*.jpeg"), QStringLiteral("*.bmp"), QStringLiteral("*.tif"),
                                      QStringLiteral("*.tiff"), QStringLiteral("*.gif")};
    return patterns;
}

} // namespace

AlphaDataService::AlphaDataService(QSharedPointer<HostBridge> hostBridge, QSharedPointer<DatabaseService> database,
                                   bool setupNow, QSharedPointer<SystemDataService> systemService, QObject *parent)
    : ResourceDataService(std::move(hostBridge), std::move(database), DatabaseService::Alpha, AlphaRole::Name,
                          std::move(systemService), parent)
{
    auto sorter = QSharedPointer<AlphaSorter>::create(this);
    m_sorter = sorter.data();
    setProxy(sorter);
    if (setupNow)
        setup();
}

AlphaDataService::~AlphaDataService() = default;

// Model ---------------------------------------------------------------------------------

Alpha *AlphaDataService::alphaAt(int row) const
{
    if (row < 0 || row >= items.size())
        return nullptr;
    return static_cast<Alpha *>(items.at(row).data());
}

QVariant AlphaDataService::data(const QModelIndex &index, int role) const
{
    const Alpha *alpha = index.isValid() ? alphaAt(index.row()) : nullptr;
    if (!alpha)
        return {};
    switch (role) {
    case AlphaRole::Name:
        return alpha->name();
    case AlphaRole::Path:
        return alpha->path();
    case AlphaRole::Favorite:
        return alpha->favorite();
    case AlphaRole::Categories:
        return alpha->categories();
    case AlphaRole::Description:
        return alpha->description();
    case AlphaRole::Width:
        return alpha->width();
    case AlphaRole::Height:
        return alpha->height();
    case AlphaRole::Depth:
        return alpha->depth();
    case AlphaRole::Dimensions:
        return alpha->dimensions();
    case AlphaRole::Tags:
        return alpha->tags();
    case AlphaRole::Ignore:
        return alpha->ignore();
    case AlphaRole::IconPath:
        return alpha->iconPath();
    case AlphaRole::LastModified:
        return alpha->lastModified();
    case AlphaRole::LastModifiedDisplay:
        return ResourceRoles::lastModifiedDisplay(alpha->lastModified());
    default:
        return {};
    }
}

bool AlphaDataService::setData(const QModelIndex &index, const QVariant &value, int role)
{
    Alpha *alpha = index.isValid() ? alphaAt(index.row()) : nullptr;
    if (!alpha)
        return false;
    switch (role) {
    case AlphaRole::Name:
        alpha->setName(value.toString());
        break;
    case AlphaRole::Path:
        alpha->setPath(value.toString());
        break;
    case AlphaRole::Favorite:
        alpha->setFavorite(value.toBool());
        break;
    case AlphaRole::Description:
        alpha->setDescription(value.toString());
        database->setResourceDescription(alpha->name(), alpha->description(), DatabaseService::Alpha);
        break;
    case AlphaRole::Ignore:
        alpha->setIgnore(value.toBool());
        database->setAlphaIgnore(alpha->name(), alpha->ignore());
        break;
    default:
        return false;
    }
    emitRowChanged(index.row());
    return true;
}

QHash<int, QByteArray> AlphaDataService::roleNames() const
{
    return {
        {AlphaRole::Name, "name"},
        {AlphaRole::Path, "path"},
        {AlphaRole::Favorite, "favorite"},
        {AlphaRole::Categories, "categories"},
        {AlphaRole::Description, "description"},
        {AlphaRole::Width, "width"},
        {AlphaRole::Height, "height"},
        {AlphaRole::Depth, "depth"},
        {AlphaRole::Dimensions, "dimensions"},
        {AlphaRole::Tags, "tags"},
        {AlphaRole::Ignore, "ignore"},
        {AlphaRole::IconPath, "iconPath"},
        {AlphaRole::LastModified, "lastModified"},
        {AlphaRole::LastModifiedDisplay, "lastModifiedDisplay"},
    };
}

// Commands and filters ------------------------------------------------------------------

void AlphaDataService::activateResource(const QString &name, const QString &path)
{
    if (hostBridge)
        hostBridge->activate(name, path, HostCommandKind::Alpha, true);
}

// The script plug-in inside ZBrush takes these alpha names as commands.
void AlphaDataService::sendCommand(const QString &command)
{
    activateResource(command, QString());
}

void AlphaDataService::clearAlpha()
{
    sendCommand(QStringLiteral("Alpha Off"));
}

void AlphaDataService::brushAlpha()
{
    sendCommand(QStringLiteral("~BrushAlpha"));
}

void AlphaDataService::flipHorizontal()
{
    sendCommand(QStringLiteral("Flh"));
}

void AlphaDataService::flipVertical()
{
    sendCommand(QStringLiteral("Flv"));
}

void AlphaDataService::rotate()
{
    sendCommand(QStringLiteral("Rot"));
}

void AlphaDataService::inverse()
{
    sendCommand(QStringLiteral("Invr"));
}

void AlphaDataService::rescanAlpha(int index)
{
    Q_UNUSED(index)
}

void AlphaDataService::filterAddSize(int size)
{
    m_sorter->addSizeFilter(size);
    m_sizeFilters.append(size);
}

void AlphaDataService::filterRemoveSize(int size)
{
    m_sorter->removeSizeFilter(size);
    m_sizeFilters.removeAll(size);
}

void AlphaDataService::filterAddDepth(int depth)
{
    m_sorter->addDepthFilter(depth);
    m_depthFilters.append(depth);
}

void AlphaDataService::filterRemoveDepth(int depth)
{
    m_sorter->removeDepthFilter(depth);
    m_depthFilters.removeAll(depth);
}

void AlphaDataService::filterIgnored(bool showOnlyIgnored)
{
    m_sorter->setIgnoredOnly(showOnlyIgnored);
    m_ignoredFilter = showOnlyIgnored;
}

bool AlphaDataService::hasSizeFilter(int size) const
{
    return m_sizeFilters.contains(size);
}

bool AlphaDataService::hasDepthFilter(int depth) const
{
    return m_depthFilters.contains(depth);
}

void AlphaDataService::ignoreAlphas(const QVariantList &indices, bool ignore)
{
    // Each change re-filters the view and moves the rows after it, so every view row
    // is mapped before the first change.
    QList<int> rows;
    rows.reserve(indices.size());
    for (const QVariant &index : indices) {
        const int row = sourceRow(index.toInt());
        if (row >= 0)
            rows.append(row);
    }
    for (int row : qAsConst(rows)) {
        setData(index(row, 0), ignore, AlphaRole::Ignore);
        database->setAlphaIgnore(items.at(row)->name(), ignore);
    }
}

// Scanning -----------------------------------------------------------------------------------

void AlphaDataService::setup()
{
    ResourceDataService::setup();
    scanAll();
    loadTags();
    setLoaded(true);
}

QString AlphaDataService::builtInPath()
{
    return AppFolders::programFolder() + QStringLiteral("/Resources/") + QLatin1String(builtInName)
        + QStringLiteral(".png");
}

void AlphaDataService::scanAll()
{
    beginFullScan();
    RecordMap records = database->readAlphas();

    // The built-in alpha's file never counts as changed, so it is never read or stored.
    const QString builtIn = QString::fromLatin1(builtInName);
    QSharedPointer<AlphaInfo> builtInRecord = records.value(builtIn);
    if (!builtInRecord) {
        builtInRecord = QSharedPointer<AlphaInfo>::create();
        builtInRecord->valid = true;
        builtInRecord->name = builtIn;
        builtInRecord->scanDate = scanStamp();
        builtInRecord->width = 256;
        builtInRecord->height = 256;
        builtInRecord->depth = 8;
    }
    QVector<QSharedPointer<Resource>> made;
    claimName(builtIn);
    createAlpha(builtIn, builtInPath(), QDateTime(), builtInRecord, builtInRecord->scanDate, made);
    appendScanned(made);

    const QStringList folders = scanFolders(hostAlphaFolders());
    for (const QString &folder : folders)
        scanForAlphas(folder, records);
    endFullScan();
}

void AlphaDataService::scanLocation(const QString &folder)
{
    scanForAlphas(folder, database->readAlphas());
}

void AlphaDataService::scanForAlphas(const QString &path, const RecordMap &info)
{
    const QString scanDate = scanStamp();
    QList<QSharedPointer<AlphaInfo>> collected;
    QVector<QSharedPointer<Resource>> made;
    FolderWalk::forEachFile(path, imagePatterns(), [&](const FolderWalk::File &file) {
        const QString name = file.completeBaseName();
        // Thumbnails that ship beside their alphas.
        if (name.isEmpty() || name.endsWith(QLatin1String("_ico")) || !claimName(name))
            return;
        if (auto record = createAlpha(name, file.filePath(), file.lastModified(), info.value(name), scanDate, made))
            collected.append(record);
    });
    appendScanned(made);
    if (!collected.isEmpty())
        readImages(collected);
}

QSharedPointer<AlphaInfo> AlphaDataService::createAlpha(const QString &name, const QString &path,
                                                        const QDateTime &lastModified,
                                                        QSharedPointer<AlphaInfo> record, const QString &scanDate,
                                                        QVector<QSharedPointer<Resource>> &made)
{
    const int row = items.size() + made.size();
    auto alpha = QSharedPointer<Alpha>::create(name, path);
    alpha->setLastModified(lastModified);
    if (!record)
        record = QSharedPointer<AlphaInfo>::create();
    if (record->valid) {
        alpha->setIgnore(record->ignore);
        alpha->setWidth(record->width);
        alpha->setHeight(record->height);
        alpha->setDepth(record->depth);
    }
    const bool store = mergeScannedRecord(*alpha, *record, scanDate);
    made.append(alpha);
    if (!store)
        return {};
    record->resource = alpha.data();
    record->row = row;
    return record;
}

// One header read per image on the global pool; each call writes only its own record,
// which the GUI thread leaves alone until all of them have finished.
void AlphaDataService::readImages(const QList<QSharedPointer<AlphaInfo>> &records)
{
    ++m_pendingReads;
    // The mapped list lives as long as the mapping does, whatever becomes of this catalogue.
    const auto mapped = std::make_shared<const QList<QSharedPointer<AlphaInfo>>>(records);
    const QFuture<void> reading = QtConcurrent::map(
        mapped->begin(), mapped->end(), [mapped](const QSharedPointer<AlphaInfo> &record) { getImageInfo(*record); });
    whenFinished(reading, [this, records, objects = watchObjects(records)] {
        for (int i = 0; i < records.size(); ++i) {
            const AlphaInfo *record = records.at(i).data();
            Alpha *alpha = alphaAt(record->row);
            if (!objects.at(i) || alpha != objects.at(i))
                continue;
            alpha->setWidth(record->width);
            alpha->setHeight(record->height);
            alpha->setDepth(record->depth);
            emitRowChanged(record->row);
        }
        database->saveAlphas(records);
        if (--m_pendingReads == 0)
            emit readsFinished();
    });
}

void AlphaDataService::getImageInfo(AlphaInfo &record)
{
    try {
        QImageReader reader(record.path);
        if (record.path.endsWith(QLatin1String("psd"), Qt::CaseInsensitive)) {
            // The Photoshop reader learns the size only by reading; quality 0 asks for nothing more.
            reader.setQuality(0);
            reader.read();
        }
        const QSize size = reader.size();
        record.width = size.width();
        record.height = size.height();
        record.depth = depthClass(reader.imageFormat());
    } catch (const std::exception &error) {
        qCritical().noquote() << "Error loading alpha: " + record.path << error.what();
    } catch (...) {
        qCritical().noquote() << "Error loading alpha: " + record.path;
    }
}

int AlphaDataService::depthClass(QImage::Format format)
{
    switch (format) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return 32;
    case QImage::Format_RGB16:
    case QImage::Format_Grayscale16:
        return 16;
    case QImage::Format_RGB888:
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
    case QImage::Format_Alpha8:
    case QImage::Format_Grayscale8:
    case QImage::Format_BGR888:
        return 8;
    default:
        return 0;
    }
}
