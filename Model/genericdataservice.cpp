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
    beginFullScan();
    const RecordIndex records = database->readResourceIndex(kind());
    for (int i = 0; i < walk.count(); ++i)
        addFiles(walk.take(i), records);
    endFullScan();
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
