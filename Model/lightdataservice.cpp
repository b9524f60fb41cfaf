#include "lightdataservice.h"

#include "Model/resource.h"
#include "appfolders.h"
#include "sorters/lightsorter.h"

LightDataService::LightDataService(QSharedPointer<HostBridge> hostBridge, QSharedPointer<DatabaseService> database,
                                   bool setupNow, QSharedPointer<SystemDataService> systemService,
                                   QObject *parent)
    : GenericDataService(std::move(hostBridge), std::move(database), std::move(systemService),
                         DatabaseService::Light, QStringLiteral("light"),
                         {QStringLiteral("*.zli"), QStringLiteral("*.zld")}, {QStringLiteral("/ZLightCaps")},
                         HostCommandKind::Light, QString::fromLatin1(Resource::defaultIconPath), parent)
{
    setProxy(QSharedPointer<LightSorter>::create(this));
    finishConstruction(setupNow);
}

LightDataService::~LightDataService() = default;

LightSorter *LightDataService::lightSorter() const
{
    return static_cast<LightSorter *>(proxy());
}

void LightDataService::setLightFilter(bool lightFilter)
{
    if (m_lightFilter == lightFilter)
        return;
    m_lightFilter = lightFilter;
    emit lightFilterChanged();
}

void LightDataService::setLightcapFilter(bool lightcapFilter)
{
    if (m_lightcapFilter == lightcapFilter)
        return;
    m_lightcapFilter = lightcapFilter;
    emit lightcapFilterChanged();
}

void LightDataService::filterLights(bool enable)
{
    lightSorter()->setLightsOnly(enable);
    setLightFilter(enable);
}

void LightDataService::filterLightcap(bool enable)
{
    lightSorter()->setLightCapsOnly(enable);
    setLightcapFilter(enable);
}

// A missing file is still sent: the script plug-in then finds nothing to load.
void LightDataService::sendShippedFile(const QString &name, const char *fileName)
{
    activateResource(name, AppFolders::resourcesFolder() + QString::fromLatin1(fileName));
}

void LightDataService::resetLights()
{
    sendShippedFile(QStringLiteral("Default_Lights"), defaultLightsFile);
}

void LightDataService::resetLightCaps()
{
    sendShippedFile(QStringLiteral("Default_LightCap"), defaultLightCapFile);
}

void LightDataService::turnOffLights()
{
    sendShippedFile(QStringLiteral("Default_Lights"), lightsOffFile);
}
