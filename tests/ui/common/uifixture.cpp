#include "uifixture.h"

#include "tests/common/storeserverprocess.h"
#include "tests/common/testfiles.h"
#include "tests/common/urlcatcher.h"
#include "tools/writers/zbrushfilewriter.h"
#include "tests/folders/wineprefixbuilder.h"

#include "appfolders.h"
#include "appservices.h"
#include "startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QQmlApplicationEngine>
#include <QQmlComponent>
#include <QQmlError>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

namespace {

UiFixture *s_current = nullptr;

// A few resources of every kind, in ZBrush's own folders.
struct ResourceFile
{
    const char *path;
    QRgb colour;
};
const ResourceFile zbrushFiles[] = {
    {"ZBrushes/Standard.ZBP", 0xff8080ffu},
    {"ZBrushes/ClayBuildup.ZBP", 0xffc08040u},
    {"ZBrushes/Move.ZBP", 0xff40c080u},
    {"ZMaterials/MatCap Gray.zmt", 0xff909090u},
    {"ZMaterials/SkinShade4.zmt", 0xffd0a090u},
    {"ZTools/Sphere3D.ztl", 0xff707070u},
    {"ZProjects/DemoHead.zpr", 0xff605040u},
    {"ZFibersPresets/Grass.zfp", 0xff40a040u},
    {"ZGrids/Floor.zgr", 0xff505050u},
    {"ZArraysPresets/Ring.zam", 0xff8080a0u},
    {"ZSpotlights/Skin.zsl", 0xffa08060u},
    {"ZRenderPresets/Preview.zrp", 0xff6060c0u},
    {"ZLightCaps/Studio.zli", 0xfff0f0d0u},
    {"ZLightCaps/Rim.zld", 0xffd0d0f0u},
};
const char *const imageFiles[] = {"ZAlphas/Alpha 01.png", "ZAlphas/Alpha 02.png", "ZTextures/Stone.png"};

QObject *findIn(QObject *root, const QString &name, QList<QObject *> *all)
{
    if (!root)
        return nullptr;
    if (root->objectName() == name) {
        if (!all)
            return root;
        all->append(root);
    }
    QObjectList children = root->children();
    // Items made by repeaters and views are visual children only.
    if (auto *item = qobject_cast<QQuickItem *>(root)) {
        for (QQuickItem *child : item->childItems()) {
            if (!children.contains(child))
                children.append(child);
        }
    }
    if (auto *window = qobject_cast<QQuickWindow *>(root))
        children.append(window->contentItem());
    for (QObject *child : qAsConst(children)) {
        if (QObject *found = findIn(child, name, all))
            return found;
    }
    return nullptr;
}

} // namespace

UiFixture::UiFixture()
    : UiFixture(Options())
{
}

UiFixture::UiFixture(const Options &options)
{
    m_valid = m_dir.isValid() && build(options);
}

UiFixture::~UiFixture()
{
    stop();
    if (m_store)
        qunsetenv("KIVARA_STORE_URL");
    AppFolders::setProgramFolderForTesting(QString());
}

bool UiFixture::build(const Options &options)
{
    Startup::setIdentity();
    m_urls = std::make_unique<UrlCatcher>(QStringList{QStringLiteral("http"), QStringLiteral("https"),
                                                      QStringLiteral("mailto"), QStringLiteral("file")});
    m_prefix = std::make_unique<WinePrefixBuilder>(path(QStringLiteral("prefix")));
    m_prefix->makeCurrent();
    AppFolders::setProgramFolderForTesting(programFolder());
    // Window settings go to this folder, not to the shared test home.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path(QStringLiteral("settings")));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path(QStringLiteral("settings")));

    const QString resources = programFolder() + QStringLiteral("/Resources/");
    bool ok = QDir().mkpath(dataFolder()) && QDir().mkpath(zbrushFolder() + QStringLiteral("/ZStartup"))
        && (!options.shipScript || TestFiles::write(resources + QStringLiteral("kiv.zsc"), "shipped script"))
        && TestFiles::write(resources + QStringLiteral("Dirtool64.dll"), "shipped library")
        && QFile::copy(QStringLiteral(KIVARA_DEFAULT_ALPHA), resources + QStringLiteral("Alpha 01.png"))
        && QFile::copy(QStringLiteral(KIVARA_TEMPLATE_DB), databasePath())
        && QFile::setPermissions(databasePath(), QFile::ReadOwner | QFile::WriteOwner) && writeResources();
    if (!ok)
        return false;
    if (options.setupOk)
        storeSetting(DatabaseService::ZBrushPath, QDir::toNativeSeparators(zbrushFolder()));
    if (options.pluginCurrent) {
        const QString plugins = zbrushFolder() + QStringLiteral("/ZStartup/ZPlugs64/");
        ok = TestFiles::write(plugins + QStringLiteral("kiv.zsc"), "shipped script")
            && TestFiles::write(plugins + QStringLiteral("KIVData/Dirtool64.dll"), "shipped library");
        // Installed after the shipped copy was made: current.
        QFile script(plugins + QStringLiteral("kiv.zsc"));
        ok = ok && script.open(QIODevice::ReadWrite)
            && script.setFileTime(QFileInfo(AppFolders::scriptPluginSource()).lastModified().addSecs(60),
                                  QFileDevice::FileModificationTime);
    }
    // No update feed answers here.
    qputenv("KIVARA_APPCAST_URL", "http://127.0.0.1:9/appcast.xml");
    return ok;
}

bool UiFixture::writeResources()
{
    for (const ResourceFile &file : zbrushFiles) {
        const QByteArray bytes = ZBrushFileWriter::file(ZBrushFileWriter::uniformImage(file.colour), 6);
        if (!TestFiles::write(zbrushFolder() + QLatin1Char('/') + QLatin1String(file.path), bytes))
            return false;
    }
    int shade = 60;
    for (const char *file : imageFiles) {
        QImage image(64, 64, QImage::Format_Grayscale8);
        image.fill(QColor(shade, shade, shade));
        shade += 60;
        const QString target = zbrushFolder() + QLatin1Char('/') + QLatin1String(file);
        if (!QDir().mkpath(QFileInfo(target).path()) || !image.save(target))
            return false;
    }
    return true;
}

bool UiFixture::startStore(const QString &catalogue)
{
    m_store = std::make_unique<StoreServerProcess>();
    if (!m_store->start(catalogue))
        return false;
    qputenv("KIVARA_STORE_URL", m_store->baseUrl().toString().toUtf8());
    return true;
}

QList<QUrl> UiFixture::openedUrls() const
{
    return m_urls ? m_urls->opened : QList<QUrl>();
}

QString UiFixture::dataFolder() const
{
    return m_prefix->publicDocuments() + QStringLiteral("/ZBrushData2021/");
}

QString UiFixture::databasePath() const
{
    return programFolder() + QStringLiteral("/Resources/brushes.db");
}

SystemDataService *UiFixture::system() const
{
    return m_services ? m_services->system().data() : nullptr;
}

void UiFixture::storeSetting(DatabaseService::SettingKey key, const QVariant &value)
{
    DatabaseService(databasePath(), QStringLiteral("uifixture")).writeSetting(key, value);
}

QVariant UiFixture::storedSetting(DatabaseService::SettingKey key) const
{
    return DatabaseService(databasePath(), QStringLiteral("uifixture")).readSetting(key);
}

void UiFixture::storeFavoriteSet(const QString &name, const QString &color,
                                 const QList<QPair<QString, QString>> &members)
{
    // The favourites tables are made by the schema work of the first opening.
    DatabaseService database(databasePath(), QStringLiteral("uifixture"), true);
    database.insertFavoriteSet(name, color, database.readFavoriteSets().size() + 1);
    for (int i = 0; i < members.size(); ++i)
        database.saveFavoriteResource(members.at(i).first, members.at(i).second, name, i);
}

void UiFixture::setWindowSetting(const QString &key, const QVariant &value)
{
    QSettings settings;
    settings.setValue(key, value);
}

QVariant UiFixture::windowSetting(const QString &key) const
{
    QSettings settings;
    return settings.value(key);
}

bool UiFixture::writeUiColorsFile(const QByteArray &text)
{
    return TestFiles::write(dataFolder() + QStringLiteral("ZPluginData/KIVData/kiv_uicolors.zvr"), text);
}

bool UiFixture::start()
{
    if (!m_valid || m_engine)
        return false;
    s_current = this;
    m_previousHandler = qInstallMessageHandler(&UiFixture::messageHandler);

    m_engine = std::make_unique<QQmlApplicationEngine>();
    QObject::connect(m_engine.get(), &QQmlEngine::warnings, m_engine.get(), [this](const QList<QQmlError> &errors) {
        for (const QQmlError &error : errors)
            recordWarning(error.toString());
    });
    static bool registered = false;
    if (!registered) {
        AppServices::registerQmlTypes();
        AppServices::addFonts();
        registered = true;
    }
    m_services = std::make_unique<AppServices>(m_engine.get(), databasePath());
    m_services->create();
    m_services->startUpdater(false);

    // As start-up: the last window created keeps the catalogues.
    m_engine->load(QUrl(QStringLiteral("qrc:/main.qml")));
    if (m_engine->rootObjects().size() != 1)
        return false;
    m_services->adoptCatalogues(m_engine->rootObjects().constLast());
    m_engine->load(QUrl(QStringLiteral("qrc:/MiniModeWindow.qml")));
    if (m_engine->rootObjects().size() != 2)
        return false;
    m_services->adoptCatalogues(m_engine->rootObjects().constLast());
    m_mainWindow = qobject_cast<QQuickWindow *>(m_engine->rootObjects().at(0));
    m_miniWindow = qobject_cast<QQuickWindow *>(m_engine->rootObjects().at(1));
    return m_mainWindow && m_miniWindow;
}

QObject *UiFixture::createObject(const QByteArray &qml)
{
    if (!m_engine || !m_mainWindow)
        return nullptr;
    QQmlComponent component(m_engine.get());
    component.setData(qml, QUrl(QStringLiteral("qrc:/TestObject.qml")));
    QObject *object = component.create();
    if (!object) {
        for (const QQmlError &error : component.errors())
            recordWarning(error.toString());
        return nullptr;
    }
    if (auto *item = qobject_cast<QQuickItem *>(object)) {
        item->setParentItem(m_mainWindow->contentItem());
        item->setZ(1000);
    }
    m_created << object;
    return object;
}

void UiFixture::stop()
{
    for (const QPointer<QObject> &object : qAsConst(m_created))
        delete object.data();
    m_created.clear();
    if (m_engine) {
        // Closing lets the windows write their settings, as on a real exit.
        for (QObject *root : m_engine->rootObjects()) {
            if (auto *window = qobject_cast<QQuickWindow *>(root))
                window->close();
        }
        QCoreApplication::processEvents();
    }
    m_engine.reset();
    m_services.reset();
    QCoreApplication::processEvents();
    if (s_current == this) {
        qInstallMessageHandler(m_previousHandler);
        s_current = nullptr;
    }
}

bool UiFixture::restart()
{
    stop();
    return start();
}

QObject *UiFixture::findObject(const QString &objectName, QObject *root) const
{
    if (root)
        return findIn(root, objectName, nullptr);
    if (QObject *found = findIn(m_mainWindow, objectName, nullptr))
        return found;
    return findIn(m_miniWindow, objectName, nullptr);
}

QQuickItem *UiFixture::findItem(const QString &objectName, QObject *root) const
{
    return qobject_cast<QQuickItem *>(findObject(objectName, root));
}

QList<QObject *> UiFixture::findAll(const QString &objectName, QObject *root) const
{
    QList<QObject *> all;
    if (root) {
        findIn(root, objectName, &all);
    } else {
        findIn(m_mainWindow, objectName, &all);
        findIn(m_miniWindow, objectName, &all);
    }
    return all;
}

namespace {
// How long a click waits for its item to be shown.
constexpr int kAppearMs = 5000;

// The item's centre in its window, or nothing when a person could not reach it.
bool reachable(QQuickItem *item)
{
    if (!item || !item->window() || !item->isVisible() || !item->window()->isVisible())
        return false;
    for (QQuickItem *parent = item; parent; parent = parent->parentItem()) {
        if (!parent->isVisible() || parent->opacity() <= 0.0)
            return false;
    }
    return item->width() > 0 && item->height() > 0;
}

// Layouts and sizes as the next frame will show them.
void settle(QQuickItem *item)
{
    QCoreApplication::processEvents();
    QQuickWindow *window = item->window();
    if (!window->isExposed())
        return;
    QSignalSpy swapped(window, &QQuickWindow::frameSwapped);
    window->update();
    if (swapped.isEmpty())
        swapped.wait(1000);
}

QPoint centreOf(QQuickItem *item)
{
    settle(item);
    return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
}
} // namespace

bool UiFixture::click(QQuickItem *item, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) const
{
    // An item a popup or a layout is still bringing in gets the time a person would give it.
    QPointer<QQuickItem> guarded(item);
    if (!guarded || !QTest::qWaitFor([&] { return !guarded || reachable(guarded); }, kAppearMs) || !guarded)
        return false;
    const QPoint at = centreOf(guarded);
    // The pointer gets there first: what it leaves stops hovering (and hides its tooltip).
    QTest::mouseMove(guarded->window(), at);
    QCoreApplication::processEvents();
    QTest::mouseClick(guarded->window(), button, modifiers, at);
    QCoreApplication::processEvents();
    return true;
}

bool UiFixture::click(const QString &objectName, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) const
{
    // Delegates of a model that has just changed are made on the next polish.
    QQuickItem *found = nullptr;
    const bool shown = QTest::qWaitFor([&] {
        found = findItem(objectName);
        return found && reachable(found);
    }, kAppearMs);
    return shown && click(found, button, modifiers);
}

bool UiFixture::doubleClick(QQuickItem *item, Qt::KeyboardModifiers modifiers) const
{
    if (!reachable(item))
        return false;
    const QPoint at = centreOf(item);
    // QtQuick needs the press and release before the double-click event.
    QTest::mouseClick(item->window(), Qt::LeftButton, modifiers, at);
    QTest::mouseDClick(item->window(), Qt::LeftButton, modifiers, at);
    QCoreApplication::processEvents();
    return true;
}

bool UiFixture::drag(QQuickItem *item, const QPointF &from, const QPointF &to) const
{
    if (!reachable(item))
        return false;
    QWindow *window = item->window();
    settle(item);
    const QPoint start = item->mapToScene(from).toPoint();
    const QPoint end = item->mapToScene(to).toPoint();
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, start);
    const int steps = 12;
    for (int step = 1; step <= steps; ++step) {
        QTest::mouseMove(window, start + (end - start) * step / steps, 15);
    }
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, end);
    QCoreApplication::processEvents();
    return true;
}

bool UiFixture::activate(QWindow *window) const
{
    if (!window || !window->isVisible())
        return false;
    window->requestActivate();
    return QTest::qWaitForWindowActive(window, 5000);
}

bool UiFixture::keyClick(QWindow *window, Qt::Key key, Qt::KeyboardModifiers modifiers) const
{
    if (!activate(window))
        return false;
    QTest::keyClick(window, key, modifiers);
    QCoreApplication::processEvents();
    return true;
}

bool UiFixture::waitForRendering(QQuickWindow *window, int timeoutMs) const
{
    if (!window || !QTest::qWaitForWindowExposed(window, timeoutMs))
        return false;
    QSignalSpy swapped(window, &QQuickWindow::frameSwapped);
    window->update();
    return swapped.count() > 0 || swapped.wait(timeoutMs);
}

QImage UiFixture::grab(QQuickWindow *window) const
{
    if (!window)
        return {};
    return window->grabWindow();
}

void UiFixture::recordWarning(const QString &text)
{
    if (!m_warnings.contains(text))
        m_warnings << text;
}

void UiFixture::messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    UiFixture *fixture = s_current;
    const QByteArray category(context.category ? context.category : "");
    if (fixture && type >= QtWarningMsg
        && (category == "qml" || category == "js" || category.startsWith("qt.qml") || message.contains(QLatin1String("qrc:/"))))
        fixture->recordWarning(message);
    if (fixture && fixture->m_previousHandler)
        fixture->m_previousHandler(type, context, message);
}
