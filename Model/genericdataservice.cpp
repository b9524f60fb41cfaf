#include "genericdataservice.h"

#include "Model/folderprefetch.h"
#include "Model/hostbridge.h"
#include "Model/resource.h"
#include "Model/resourceroles.h"
#include "sorters/resourcesorter.h"

#include <QDateTime>

const QList<GenericDataService::Kind> &GenericDataService::kinds()
{
    using DB = DatabaseService;
    using Host = HostCommandKind;
    static const QList<Kind> list{
        {"projectData", DB::Project, "project", "zpr", {QStringLiteral("/ZProjects")}, Host::Project},
        {"materialData", DB::Material, "material", "zmt",
         {QStringLiteral("/ZMaterials"), QStringLiteral("/ZData/Materials"), QStringLiteral("/ZStartup/Materials")},
         Host::Material},
        {"toolData", DB::Tool, "tool", "ztl", {QStringLiteral("/ZTools")}, Host::Tool},
        {"fiberData", DB::Fiber, "fiber", "zfp", {QStringLiteral("/ZFibersPresets")}, Host::Fiber},
        {"gridData", DB::Grid, "grid", "zgr", {QStringLiteral("/ZGrids")}, Host::Grid},
        {"arrayData", DB::MeshArray, "array", "zam", {QStringLiteral("/ZArraysPresets")}, Host::MeshArray},
        {"spotlightData", DB::Spotlight, "spotlight", "zsl", {QStringLiteral("/ZSpotlights")}, Host::Spotlight},
        {"renderPresetData", DB::RenderPreset, "renderpreset", "zrp", {QStringLiteral("/ZRenderPresets")},
         Host::RenderPreset},
    };
    return list;
}

GenericDataService *GenericDataService::create(const Kind &kind, QSharedPointer<HostBridge> hostBridge,
                                               QSharedPointer<DatabaseService> database, bool setupNow,
                                               QSharedPointer<SystemDataService> systemService, QObject *parent)
{
    return new GenericDataService(std::move(hostBridge), std::move(database), setupNow, std::move(systemService),
                                  kind.type, QString::fromLatin1(kind.kindWord),
                                  QString::fromLatin1(kind.extension), kind.hostFolders, kind.commandKind, parent);
}

GenericDataService::GenericDataService(QSharedPointer<HostBridge> hostBridge,
                                       QSharedPointer<DatabaseService> database, bool setupNow,
                                       QSharedPointer<SystemDataService> systemService,
                                       DatabaseService::ResourceType kind, const QString &kindWord,
                                       const QString &extension, const QStringList &hostFolders,
                                       HostCommandKind commandKind, QObject *parent)
    : GenericDataService(std::move(hostBridge), std::move(database), std::move(systemService), kind, kindWord,
                         {QStringLiteral("*.") + extension}, hostFolders, commandKind,
                         QString::fromLatin1(Resource::defaultIconPath), parent)
{
    finishConstruction(setupNow);
}

GenericDataService::GenericDataService(QSharedPointer<HostBridge> hostBridge,
                                       QSharedPointer<DatabaseService> database,
                                       QSharedPointer<SystemDataService> systemService,
                                       DatabaseService::ResourceType kind, const QString &kindWord,
                                       const QStringList &nameFilters, const QStringList &hostFolders,
                                       HostCommandKind commandKind, const QString &iconPath, QObject *parent)
    : ResourceDataService(std::move(hostBridge), std::move(database), kind, ResourceRoles::GenericRole::Name,
                          std::move(systemService), parent)
    , m_kindWord(kindWord)
    , m_nameFilters(nameFilters)
    , m_hostFolders(hostFolders)
    , m_commandKind(commandKind)
    , m_iconPath(iconPath)
{
}

GenericDataService::~GenericDataService() = default;

void GenericDataService::finishConstruction(bool setupNow)
{
    if (setupNow)
        setup();
    // Column 1 sorts nothing: the list starts in scan order.
    if (proxy())
        proxy()->sort(1);
}

bool GenericDataService::skipsName(const QString &name) const
{
    Q_UNUSED(name)
    return false;
}

void GenericDataService::setup()
{
    ResourceDataService::setup();
    scanAll();
    loadTags();
    setLoaded(true);
}

void GenericDataService::scanAll()
{
    // The folders are walked meanwhile.
    FolderPrefetch walk(scanFolders(m_hostFolders), m_nameFilters);
    QVector<QVector<FolderWalk::File>> walked;
    if (rescanInPlace(walk, walked))
        return;
    beginFullScan();
    const RecordIndex records = database->readResourceIndex(kind());
    for (int i = 0; i < walk.count(); ++i)
        addFiles(i < walked.size() ? walked.at(i) : walk.take(i), records);
    endFullScan();
}

bool GenericDataService::rescanInPlace(FolderPrefetch &walk, QVector<QVector<FolderWalk::File>> &walked)
{
    if (items.isEmpty())
        return false;
    QVector<StoredState> stored(items.size());
    QVector<QPair<int, QDateTime>> dates;
    if (!compareStoredRows(stored, dates))
        return false;

    // The files must come in the objects' order, each with the path and name of its
    // object: then every name goes to the same file as before.
    struct Found
    {
        int row;
        qint64 modifiedMs;
    };
    QVector<Found> retimed;
    QVector<int> changedRows;       // files changed since their scan, to be stored
    QVector<int> folderEnds;        // the row after each folder's last
    int row = 0;
    for (int i = 0; i < walk.count(); ++i) {
        walked.append(walk.take(i));
        for (const FolderWalk::File &file : walked.last()) {
            const Resource *resource = row < items.size() ? items.at(row).data() : nullptr;
            if (!resource || resource->path() != file.filePath() || !file.hasCompleteBaseName(resource->name())) {
                const QString name = file.completeBaseName();
                if (name.isEmpty() || skipsName(name))
                    continue; // a full scan passes it over too
                return false;
            }
            const qint64 modified = file.modifiedMs();
            const QDateTime &shown = resource->lastModified();
            if (modified == FolderWalk::File::noTime ? shown.isValid()
                                                     : !shown.isValid() || shown.toMSecsSinceEpoch() != modified)
                retimed.append({row, modified});
            // As mergeScannedRecord judges a stored record.
            const StoredState &state = stored.at(row);
            if (!state.dated || (modified != FolderWalk::File::noTime && modified >= state.endMs))
                changedRows.append(row);
            ++row;
        }
        folderEnds.append(row);
    }
    if (row != items.size())
        return false;

    // Changed files are stored as a full scan stores them: their records as read, with
    // the new path and scan date, one transaction per folder.
    if (!changedRows.isEmpty()) {
        const RecordIndex records = database->readResourceIndex(kind());
        const QString scanDate = scanStamp();
        int next = 0;
        for (const int end : qAsConst(folderEnds)) {
            QList<QSharedPointer<ResourceInfo>> toStore;
            for (; next < changedRows.size() && changedRows.at(next) < end; ++next) {
                const int changed = changedRows.at(next);
                QSharedPointer<ResourceInfo> record = records.value(items.at(changed)->name());
                if (!record)
                    continue;
                record->path = items.at(changed)->path();
                record->scanDate = scanDate;
                record->resource = items.at(changed).data();
                record->row = changed;
                toStore.append(record);
            }
            database->saveResources(toStore, kind());
        }
    }

    // No role shows the scan date: the object's own signal tells whoever shows it.
    for (const auto &date : qAsConst(dates))
        items.at(date.first)->setScanDate(date.second);
    QVector<int> rows;
    rows.reserve(retimed.size());
    for (const Found &found : qAsConst(retimed)) {
        items.at(found.row)->setLastModified(FolderWalk::File(QString(), 0, found.modifiedMs).lastModified());
        rows.append(found.row);
    }
    emitRowsChanged(rows, {ResourceRoles::GenericRole::LastModified, ResourceRoles::GenericRole::LastModifiedDisplay});
    return true;
}

void GenericDataService::scanLocation(const QString &folder)
{
    addFiles(FolderPrefetch::walk(folder, m_nameFilters), database->readResourceIndex(kind()));
}

void GenericDataService::scanForItems(const QString &path, const RecordMap &info)
{
    addFiles(FolderPrefetch::walk(path, m_nameFilters), info);
}

template<class Records>
void GenericDataService::addFiles(const QVector<FolderWalk::File> &files, const Records &info)
{
    const QString scanDate = scanStamp();
    QVector<QSharedPointer<Resource>> found;
    QList<QSharedPointer<ResourceInfo>> toStore;
    for (const FolderWalk::File &file : files) {
        const QString name = file.completeBaseName();
        if (name.isEmpty() || skipsName(name) || !claimName(name))
            continue;
        auto resource = QSharedPointer<Resource>::create(name, file.filePath(), m_kindWord);
        resource->setIconPath(m_iconPath);
        resource->setLastModified(file.lastModified());
        QSharedPointer<ResourceInfo> record = info.value(name);
        if (!record)
            record = QSharedPointer<ResourceInfo>::create();
        if (mergeScannedRecord(*resource, *record, scanDate)) {
            record->resource = resource.data();
            record->row = items.size() + found.size();
            toStore.append(record);
        }
        found.append(resource);
    }
    appendScanned(found);
    database->saveResources(toStore, kind());
}

void GenericDataService::activateResource(const QString &name, const QString &path)
{
    if (hostBridge)
        hostBridge->activate(name, path, m_commandKind, true);
}
