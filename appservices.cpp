#include "appservices.h"

#include "Model/alphadataservice.h"
#include "Model/brushdataservice.h"
#include "Model/brushtypes.h"
#include "Model/databaseservice.h"
#include "Model/downloadstatusinfo.h"
#include "Model/genericdataservice.h"
#include "Model/hostbridge.h"
#include "Model/lightdataservice.h"
#include "Model/resourcedataservice.h"
#include "Model/storedataservice.h"
#include "Model/systemdataservice.h"
#include "Model/texturedataservice.h"
#include "Model/zuicolor.h"
#include "providers/alphaiconimageprovider.h"
#include "providers/brushiconimageprovider.h"
#include "update/autoupdater.h"

#include <QDebug>
#include <QFontDatabase>
#include <QQmlContext>
#include <QQmlEngine>
#include <QStringListModel>

AppServices::AppServices(QQmlEngine *engine, const QString &databasePath)
    : m_engine(engine)
    , m_databasePath(databasePath)
{
}

AppServices::~AppServices()
{
    // Catalogues no window took are still ours.
    for (const QPointer<ResourceDataService> &catalogue : qAsConst(m_catalogues)) {
        if (catalogue && !catalogue->parent())
            delete catalogue.data();
    }
    m_store.reset();
    m_updater.reset();
    m_system.reset();
    m_uiColor.reset();
    m_hostBridge.reset();
    m_database.reset();
}

void AppServices::registerQmlTypes()
{
    qmlRegisterUncreatableMetaObject(Brushes::staticMetaObject, "kiv.brushes", 1, 0, "Brushes",
                                     QStringLiteral("Error: only enums"));
    qmlRegisterUncreatableMetaObject(DownloadStatusInfo::staticMetaObject, "kiv.product", 1, 0,
                                     "DownloadStatusInfo", QStringLiteral("Error: only enums"));
}

void AppServices::addFonts()
{
    const QStringList fonts{QStringLiteral(":/Resources/Quicksand-Regular.ttf"),
                            QStringLiteral(":/Resources/Quicksand-Medium.ttf")};
    for (const QString &font : fonts) {
        if (QFontDatabase::addApplicationFont(font) < 0)
            qCritical() << "couldn't add application font";
    }
}

void AppServices::create()
{
    createServices();
    createImageProviders();
    createSystemServices();
    createCatalogues();
    createStore();
    wireServices();
    loadFavourites();
}

void AppServices::createServices()
{
    m_hostBridge = QSharedPointer<HostBridge>::create();
    m_database = QSharedPointer<DatabaseService>::create(m_databasePath, QString(), true);
}

void AppServices::createImageProviders()
{
    // The engine owns them; they open connections of their own on its loader threads.
    m_engine->addImageProvider(QStringLiteral("brushes"), new BrushIconImageProvider(m_databasePath));
    m_engine->addImageProvider(QStringLiteral("alphas"), new AlphaIconImageProvider);
}

void AppServices::createSystemServices()
{
    // The colours ZBrush wrote last are shown at once.
    m_uiColor = QSharedPointer<ZUiColor>::create(m_hostBridge->newestUiColorsFile());
    m_engine->rootContext()->setContextProperty(QStringLiteral("zuiColor"), m_uiColor.data());
    m_system = QSharedPointer<SystemDataService>::create(m_hostBridge, m_database, m_uiColor);
    m_engine->rootContext()->setContextProperty(QStringLiteral("sysData"), m_system.data());
    qInfo().noquote() << "Library database:" << m_databasePath;
    if (m_system->setupOk())
        qInfo().noquote() << "ZBrush installation in use:" << m_hostBridge->hostPath();
    else
        qInfo() << "No ZBrush installation is chosen yet; set-up offers" << m_system->zbrushLocations()->stringList();
}

void AppServices::createCatalogues()
{
    // Each is published as soon as it exists; a catalogue set up now scans its folders
    // before the next one is made.
    const bool setupNow = m_system->setupOk();
    const auto publish = [this](const QString &contextName, ResourceDataService *catalogue) {
        m_engine->rootContext()->setContextProperty(contextName, catalogue);
        m_catalogues.append(catalogue);
    };
    publish(QStringLiteral("brushData"), new BrushDataService(m_hostBridge, m_database, setupNow, m_system));
    publish(QStringLiteral("alphaData"), new AlphaDataService(m_hostBridge, m_database, setupNow, m_system));
    const QList<GenericDataService::Kind> &kinds = GenericDataService::kinds();
    const auto generic = [&](const GenericDataService::Kind &kind) {
        publish(QString::fromLatin1(kind.contextName),
                GenericDataService::create(kind, m_hostBridge, m_database, setupNow, m_system));
    };
    // Projects, materials, tools and fibers; then textures and lights; then the rest.
    const int beforeTextures = 4;
    for (int index = 0; index < beforeTextures; ++index)
        generic(kinds.at(index));
    publish(QStringLiteral("textureData"), new TextureDataService(m_hostBridge, m_database, setupNow, m_system));
    publish(QStringLiteral("lightData"), new LightDataService(m_hostBridge, m_database, setupNow, m_system));
    for (int index = beforeTextures; index < kinds.size(); ++index)
        generic(kinds.at(index));
}

void AppServices::createStore()
{
    m_store = std::make_unique<StoreDataService>(m_database);
    // Per kind, in catalogue order: does the catalogue hold a name, and take in this folder.
    for (const QPointer<ResourceDataService> &catalogue : qAsConst(m_catalogues)) {
        const QString kind = DatabaseService::kindWord(catalogue->kind());
        m_store->addInstalledCheck(kind, catalogue->namePredicate());
        m_store->addInstallListener(kind, catalogue->folderAction());
    }
    if (auto *brushes = qobject_cast<BrushDataService *>(m_catalogues.value(0).data()))
        m_store->setSetInfoHandler(brushes->metadataAction());
    m_engine->rootContext()->setContextProperty(QStringLiteral("storeData"), m_store.get());
}

void AppServices::wireServices()
{
    // Favourites, rescans and set-up reach every catalogue through the system service.
    for (const QPointer<ResourceDataService> &catalogue : qAsConst(m_catalogues)) {
        if (catalogue)
            m_system->registerCatalogue(catalogue);
    }
}

void AppServices::loadFavourites()
{
    // Before any window exists: the favourites bar shows them from the start.
    if (m_system->setupOk())
        m_system->loadFavorites();
}

void AppServices::adoptCatalogues(QObject *window)
{
    for (const QPointer<ResourceDataService> &catalogue : qAsConst(m_catalogues)) {
        if (catalogue)
            catalogue->setParent(window);
    }
}

void AppServices::startUpdater(bool checkNow)
{
    const bool automatic =
        DatabaseService::settingToBool(m_database->readSetting(DatabaseService::AutoUpdate), true);
    m_updater = AutoUpdater::create(AutoUpdater::defaultAppcastUrl());
    const QPointer<SystemDataService> system(m_system.data());
    m_updater->attachSystemService(m_system.data(), [system](const QString &version) {
        if (system)
            system->reportLatestVersion(version);
    });
    m_system->setAutoUpdater(m_updater.get());
    if (!checkNow)
        return;
    if (!automatic) {
        qInfo() << "Automatic update checks are off";
        return;
    }
    qInfo().noquote() << "Checking for updates at" << m_updater->appcastUrl().toString();
    m_updater->checkForUpdatesInBackground();
}

QList<ResourceDataService *> AppServices::catalogues() const
{
    QList<ResourceDataService *> list;
    for (const QPointer<ResourceDataService> &catalogue : m_catalogues) {
        if (catalogue)
            list << catalogue.data();
    }
    return list;
}
