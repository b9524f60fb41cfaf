#include "startup.h"

#include "appfolders.h"
#include "logger.h"
#include "Model/alphadataservice.h"
#include "Model/brushdataservice.h"
#include "Model/brushtypes.h"
#include "Model/databaseservice.h"
#include "Model/genericdataservice.h"
#include "Model/lightdataservice.h"
#include "Model/texturedataservice.h"
#include "Model/hostbridge.h"
#include "Model/resourcedataservice.h"
#include "Model/systemdataservice.h"
#include "Model/zuicolor.h"
#include "providers/alphaiconimageprovider.h"
#include "providers/brushiconimageprovider.h"
#include "update/autoupdater.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QLocale>
#include <QOpenGLContext>
#include <QProcess>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QQmlApplicationEngine>
#include <QUrl>

namespace {
const QString mainWindowUrl = QStringLiteral("qrc:/main.qml");
const QString miniModeWindowUrl = QStringLiteral("qrc:/MiniModeWindow.qml");
}

int Startup::run(int &argc, char **argv)
{
    // High-DPI scaling must be set before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    Startup startup(argc, argv);
    return startup.exec();
}

Startup::Startup(int &argc, char **argv)
    : m_app(std::make_unique<QGuiApplication>(argc, argv))
    , m_instanceGuard(QString::fromLatin1(singleInstanceKey))
{
}

Startup::~Startup()
{
    // The engine goes first: its windows own the catalogue services.
    m_engine.reset();
    m_updater.reset();
    m_system.reset();
    m_uiColor.reset();
    m_hostBridge.reset();
    m_database.reset();
    Logger::instance().stop();
}

int Startup::exec()
{
    if (!claimSingleInstance())
        return 0;
    setIdentity();
    startLog();
    addFonts();
    createEngine();
    prepareDatabaseFile();
    createServices();
    createImageProviders();
    createSystemServices();
    createCatalogues();
    wireServices();
    loadFavourites();
    watchCreatedWindows();
    loadWindows();
    startUpdater();
    const int code = QGuiApplication::exec();
    restartIfRequested();
    return code;
}

bool Startup::claimSingleInstance()
{
    if (m_instanceGuard.create(1, QSharedMemory::ReadWrite))
        return true;
    // A segment left by an instance that ended abnormally goes away once the
    // last process attached to it detaches.
    if (m_instanceGuard.attach())
        m_instanceGuard.detach();
    if (m_instanceGuard.create(1, QSharedMemory::ReadWrite))
        return true;
    AppFolders::raiseWindow(QStringLiteral("Kivara"));
    QCoreApplication::exit(0);
    return false;
}

void Startup::setIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("KIV"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("kivara.app"));
    QCoreApplication::setApplicationName(QStringLiteral("Kivara"));
    QCoreApplication::setApplicationVersion(QStringLiteral("3.0.1"));
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/Kivara.ico")));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::system().country()));
}

void Startup::startLog()
{
    const QString path = QString::fromLatin1(logFileName);
    if (!Logger::instance().startFileAppender(path))
        qWarning() << "Cannot write the log file" << path;
    qInfo().noquote() << QCoreApplication::applicationName() << QCoreApplication::applicationVersion()
                      << "starting in" << QDir::currentPath();
}

void Startup::addFonts()
{
    const QStringList fonts{QStringLiteral(":/Resources/Quicksand-Regular.ttf"),
                            QStringLiteral(":/Resources/Quicksand-Medium.ttf")};
    for (const QString &font : fonts) {
        if (QFontDatabase::addApplicationFont(font) < 0)
            qCritical() << "couldn't add application font";
    }
}

void Startup::createEngine()
{
    // Without OpenGL (a remote desktop, a bare X server) draw with the software
    // scene graph instead of aborting.
    if (QQuickWindow::sceneGraphBackend().isEmpty()) {
        QOpenGLContext probe;
        if (!probe.create()) {
            qInfo() << "OpenGL is not available; using the software renderer";
            QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
        }
    }
    m_engine = std::make_unique<QQmlApplicationEngine>();
    qmlRegisterUncreatableMetaObject(Brushes::staticMetaObject, "kiv.brushes", 1, 0, "Brushes",
                                     QStringLiteral("Error: only enums"));
}

void Startup::prepareDatabaseFile()
{
    const QString path = AppFolders::databasePath();
    if (QFileInfo::exists(path))
        return;
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        qCritical().noquote() << "Error making app support folder: " + folder;
    if (!QFile::copy(AppFolders::databaseTemplatePath(), path))
        qCritical().noquote() << "Error installing database to: " + path;
}

void Startup::createServices()
{
    m_hostBridge = QSharedPointer<HostBridge>::create();
    m_database = QSharedPointer<DatabaseService>::create(AppFolders::databasePath(), QString(), true);
}

void Startup::createImageProviders()
{
    // The engine owns them; they open connections of their own on its loader threads.
    m_engine->addImageProvider(QStringLiteral("brushes"), new BrushIconImageProvider(AppFolders::databasePath()));
    m_engine->addImageProvider(QStringLiteral("alphas"), new AlphaIconImageProvider);
}

void Startup::createSystemServices()
{
    // The colours ZBrush wrote last are shown at once.
    m_uiColor = QSharedPointer<ZUiColor>::create(m_hostBridge->newestUiColorsFile());
    m_engine->rootContext()->setContextProperty(QStringLiteral("zuiColor"), m_uiColor.data());
    m_system = QSharedPointer<SystemDataService>::create(m_hostBridge, m_database, m_uiColor);
    m_engine->rootContext()->setContextProperty(QStringLiteral("sysData"), m_system.data());
}

void Startup::createCatalogues()
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

void Startup::wireServices()
{
    // Favourites, rescans and set-up reach every catalogue through the system service.
    for (const QPointer<ResourceDataService> &catalogue : qAsConst(m_catalogues)) {
        if (catalogue)
            m_system->registerCatalogue(catalogue);
    }
}

void Startup::loadFavourites()
{
    // Before any window exists: the favourites bar shows them from the start.
    if (m_system->setupOk())
        m_system->loadFavorites();
}

void Startup::watchCreatedWindows()
{
    QObject::connect(
        m_engine.get(), &QQmlApplicationEngine::objectCreated, m_app.get(),
        [this](QObject *object, const QUrl &url) {
            if (!object) {
                if (url.toString() == mainWindowUrl)
                    QCoreApplication::exit(-1);
                return;
            }
            // The mini-mode window comes last, so the services end up its children.
            for (const QPointer<ResourceDataService> &catalogue : qAsConst(m_catalogues)) {
                if (catalogue)
                    catalogue->setParent(object);
            }
        },
        Qt::QueuedConnection);
}

void Startup::loadWindows()
{
    m_engine->load(QUrl(mainWindowUrl));
    m_engine->load(QUrl(miniModeWindowUrl));
}

void Startup::startUpdater()
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
    if (!automatic) {
        qInfo() << "Automatic update checks are off";
        return;
    }
    qInfo().noquote() << "Checking for updates at" << m_updater->appcastUrl().toString();
    m_updater->checkForUpdatesInBackground();
}

void Startup::restartIfRequested()
{
    if (!m_system || !m_system->restartRequested())
        return;
    m_instanceGuard.detach();
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.isEmpty() || !QProcess::startDetached(arguments.first(), arguments))
        qCritical() << "Cannot restart" << arguments;
}
