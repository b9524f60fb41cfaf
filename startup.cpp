#include "startup.h"

#include "appfolders.h"
#include "appservices.h"
#include "logger.h"
#include "Model/systemdataservice.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QLocale>
#include <QOpenGLContext>
#include <QProcess>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QQmlApplicationEngine>
#include <QUrl>

namespace {
const QString mainWindowUrl = QStringLiteral("qrc:/main.qml");
const QString miniModeWindowUrl = QStringLiteral("qrc:/MiniModeWindow.qml");
constexpr int staleSegmentRounds = 16;
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
    m_services.reset();
    Logger::instance().stop();
}

int Startup::exec()
{
    if (!claimSingleInstance())
        return 0;
    setIdentity();
    startLog();
    AppServices::addFonts();
    createEngine();
    prepareDatabaseFile();
    createServices();
    watchCreatedWindows();
    loadWindows();
    m_services->startUpdater(true);
    const int code = QGuiApplication::exec();
    restartIfRequested();
    return code;
}

bool Startup::claimSingleInstance()
{
    if (m_instanceGuard.create(1, QSharedMemory::ReadWrite))
        return true;
    // A segment left by an instance that ended abnormally goes away once the
    // last process attached to it detaches. Its key file goes with it, and the
    // new key file's key can name yet another such segment (killed instances
    // leave one each), so clearing repeats; a running instance stays attached
    // to its segment through every round.
    for (int round = 0; round < staleSegmentRounds; ++round) {
        if (m_instanceGuard.attach())
            m_instanceGuard.detach();
        if (m_instanceGuard.create(1, QSharedMemory::ReadWrite))
            return true;
    }
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
    AppServices::registerQmlTypes();
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
    m_services = std::make_unique<AppServices>(m_engine.get(), AppFolders::databasePath());
    m_services->create();
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
            m_services->adoptCatalogues(object);
        },
        Qt::QueuedConnection);
}

void Startup::loadWindows()
{
    m_engine->load(QUrl(mainWindowUrl));
    m_engine->load(QUrl(miniModeWindowUrl));
}

void Startup::restartIfRequested()
{
    if (!m_services || !m_services->system() || !m_services->system()->restartRequested())
        return;
    m_instanceGuard.detach();
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.isEmpty() || !QProcess::startDetached(arguments.first(), arguments))
        qCritical() << "Cannot restart" << arguments;
}
