// Renders every screen of the interface into PNG files, on the test library of the
// interface tests. `make screenshots` runs it under Xvfb with a window manager.
//
// To add a screen, add a row to screens(): a file name, what to store before the
// program starts, and what to do once it runs; the function returns the window to
// photograph.
#include "tests/common/storeserverprocess.h"
#include "tests/ui/common/uifixture.h"

#include "Model/brushdataservice.h"
#include "Model/downloadstatusinfo.h"
#include "Model/product.h"
#include "Model/resourcedataservice.h"
#include "Model/storedataservice.h"
#include "Model/systemdataservice.h"
#include "appservices.h"

#include "tests/common/testfiles.h"
#include "tools/demo/democontent.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <functional>

namespace {

struct Screen
{
    QString name;
    std::function<void(UiFixture &)> prepare;
    std::function<QQuickWindow *(UiFixture &)> show;
    UiFixture::Options options = {};
};

void noPreparation(UiFixture &) {}

QQuickWindow *mainWindow(UiFixture &fixture)
{
    return fixture.mainWindow();
}

QQuickWindow *mainOnKind(UiFixture &fixture, const QString &kind)
{
    fixture.click(QStringLiteral("kindButton_") + kind);
    return fixture.mainWindow();
}

QQuickWindow *mainWithCollapsed(UiFixture &fixture, const QString &bar)
{
    fixture.click(bar);
    return fixture.mainWindow();
}

QQuickWindow *childWindow(UiFixture &fixture, const char *name)
{
    auto *window = qobject_cast<QQuickWindow *>(fixture.findObject(QString::fromLatin1(name)));
    if (window)
        window->show();
    return window;
}

// Colour sync is on by default and would hide the theme.
void storeTheme(UiFixture &fixture, const QString &theme)
{
    fixture.storeSetting(DatabaseService::ZbrushColorSync, false);
    fixture.storeSetting(DatabaseService::Theme, theme);
}

// A blue-grey ZBrush colour scheme with a teal accent, in the colours file's form.
const char zbrushColours[] =
    "38.188385009765625,74.33349609375,74.33349609375,74.33349609375,74.33349609375,"
    "74.33349609375,47.70170593261719,74.33349609375,74.33349609375,74.33349609375,"
    "74.33349609375,74.33349609375,74.33349609375,74.33349609375,74.33349609375,74.33349609375,"
    "74.33349609375,74.33349609375,74.33349609375,74.33349609375,74.33349609375,"
    "223.90989685058594,74.33349609375,74.33349609375,74.33349609375,74.33349609375,"
    "200.83151245117188,74.33349609375,16.08636474609375,74.33349609375,74.33349609375,"
    "74.33349609375,93.44735717773438,74.33349609375,74.33349609375,74.33349609375,"
    "46.227630615234375,74.33349609375,14.070648193359375,74.33349609375,74.33349609375,"
    "74.33349609375,74.33349609375,74.33349609375,74.33349609375,74.33349609375,74.33349609375,"
    "74.33349609375,10.051025390625,74.33349609375,74.33349609375,74.33349609375,"
    "74.33349609375,74.33349609375,74.33349609375";

// The gallery of shared controls over the main window.
QQuickWindow *controls(UiFixture &fixture)
{
    QFile gallery(QStringLiteral(KIVARA_CONTROLS_GALLERY));
    if (!gallery.open(QIODevice::ReadOnly) || !fixture.createObject(gallery.readAll()))
        return nullptr;
    return fixture.mainWindow();
}


// ZBrush's layouts, colour schemes and macros, for the settings and the right column.
void zbrushInterfaceFiles(UiFixture &fixture)
{
    const QString startup = fixture.zbrushFolder() + QStringLiteral("/ZStartup/");
    for (const char *file : {"UserInterfaceLayouts/Default.cfg", "UserInterfaceLayouts/Minimal.cfg",
                             "UserInterfaceLayouts/My Sculpting.cfg", "UserInterfaceColors/Dusk.cfg",
                             "UserInterfaceColors/Slate Blue.cfg", "Macros/Misc/Smooth Edges.zsc",
                             "Macros/Misc/Bake Lights.zsc", "Macros/Export All.zsc"})
        TestFiles::write(startup + QLatin1String(file), "x");
    TestFiles::write(fixture.path(QStringLiteral("Extra Materials/Chrome.zmt")), "x");
}

// The settings window on one of its tabs, with a few locations, tags and categories.
QQuickWindow *settingsTab(UiFixture &fixture, int tab)
{
    auto *materials = qobject_cast<ResourceDataService *>(
        fixture.engine()->rootContext()->contextProperty(QStringLiteral("materialData")).value<QObject *>());
    if (materials) {
        materials->addResourceLocation(QUrl::fromLocalFile(fixture.path(QStringLiteral("Extra Materials"))).toString());
        for (const char *tag : {"metal", "shiny", "skin"}) {
            materials->addTagToResource(0, QLatin1String(tag));
            materials->addTag(QLatin1String(tag));
        }
        for (const char *category : {"Metals", "Organic", "Stylised"})
            materials->addCategory(QLatin1String(category));
    }
    fixture.system()->addUILayoutLocation(QUrl::fromLocalFile(fixture.path(QStringLiteral("Layouts"))).toString());
    fixture.click(QStringLiteral("optionsButton"));
    fixture.click(QStringLiteral("settingsMenuItem"));
    auto *dialog = qobject_cast<QQuickWindow *>(fixture.findObject(QStringLiteral("settingsDialog")));
    if (!dialog || !fixture.waitForRendering(dialog))
        return nullptr;
    fixture.click(QStringLiteral("settingsTab_%1").arg(tab));
    return dialog;
}

// A popup of the settings window, opened through the view.
QQuickWindow *settingsPopup(UiFixture &fixture, const char *call)
{
    QQuickWindow *dialog = settingsTab(fixture, 0);
    QObject *view = fixture.findObject(QStringLiteral("settingsView"));
    if (!dialog || !view)
        return nullptr;
    if (qstrcmp(call, "askRestart") == 0)
        QMetaObject::invokeMethod(view, "askRestart");
    else if (qstrcmp(call, "showFailure") == 0)
        QMetaObject::invokeMethod(view, "showFailure", Q_ARG(QVariant, QStringLiteral("Library Not Moved")),
                                  Q_ARG(QVariant, QStringLiteral("The library could not be moved: /media/card is not a writable folder.")));
    else if (QObject *busy = fixture.findObject(QStringLiteral("busyPopup"))) {
        busy->setProperty("text", QStringLiteral("Rescanning local files…"));
        busy->setProperty("progress", 40);
        QMetaObject::invokeMethod(busy, "open");
    }
    return dialog;
}

// ---- Resource views, details panels, filter tab.

// The demo ZBrush installation's files in the fixture's ZBrush and data folders, so
// that the grids look as they do in use.
void populate(UiFixture &fixture)
{
    const DemoContent demo;
    const QString zbrushPrefix = DemoContent::zbrushFolder + QLatin1Char('/');
    const QString dataPrefix = DemoContent::dataFolder + QLatin1Char('/');
    for (const DemoContent::File &file : demo.files()) {
        QString target;
        if (file.path.startsWith(zbrushPrefix))
            target = fixture.zbrushFolder() + QLatin1Char('/') + file.path.mid(zbrushPrefix.size());
        else if (file.path.startsWith(dataPrefix))
            target = fixture.dataFolder() + file.path.mid(dataPrefix.size());
        if (!target.isEmpty())
            TestFiles::write(target, file.bytes());
    }
    fixture.storeSetting(DatabaseService::ShowAdvancedTooltips, false);
    fixture.storeSetting(DatabaseService::SingleClick, false);
    // The demo's colours file is a made-up grey ramp whose menu text colour is
    // almost black; the screens are judged in the default theme.
    fixture.storeSetting(DatabaseService::ZbrushColorSync, false);
}

ResourceDataService *catalogue(UiFixture &fixture, const char *name)
{
    return qobject_cast<ResourceDataService *>(fixture.engine()->rootContext()->contextProperty(QLatin1String(name)).value<QObject *>());
}

// User categories, tags and a description on the first resources of a kind.
void describe(UiFixture &fixture, const char *service)
{
    ResourceDataService *data = catalogue(fixture, service);
    for (const char *category : {"Favourites", "Work in progress", "Creatures"})
        data->addCategory(QLatin1String(category));
    for (const char *tag : {"soft", "sharp", "detail", "base"})
        data->addTag(QLatin1String(tag));
    for (int row = 0; row < 3 && row < data->model()->rowCount(); ++row) {
        data->addCategoryToResource(row, QStringLiteral("Favourites"));
        data->addTagToResource(row, row % 2 ? QStringLiteral("sharp") : QStringLiteral("soft"));
    }
    data->addCategoryToResource(0, QStringLiteral("Creatures"));
    data->model()->setData(data->model()->index(0, 0), QStringLiteral("Builds up clay in soft strokes; good for blocking out forms."),
                           data->roleNames().key("description"));
}

QQuickItem *tileOf(UiFixture &fixture, const QString &kind, int row)
{
    QQuickItem *view = fixture.findItem(QStringLiteral("resourceView_") + kind);
    auto *content = view ? view->property("contentView").value<QQuickItem *>() : nullptr;
    if (!content)
        return nullptr;
    QMetaObject::invokeMethod(content, "forceLayout");
    return fixture.findItem((view->property("viewType").toInt() == 1 ? QStringLiteral("tableRow_%1") : QStringLiteral("tile_%1")).arg(row),
                            content);
}

// The pointer rests on the bottom strip, so that no tooltip or hover covers the
// screen, and the visible tiles have their thumbnails (they load on other threads,
// slowly on a busy machine).
QQuickWindow *pointerAway(UiFixture &fixture)
{
    QTest::mouseMove(fixture.mainWindow(), QPoint(700, fixture.mainWindow()->height() - 2));
    // Delegates are children of their view only in the visual tree.
    std::function<bool(QQuickItem *)> loading = [&loading](QQuickItem *item) {
        if (item->objectName() == QLatin1String("tileThumbnail") && item->property("status").toInt() == 2) // Image.Loading
            return true;
        const QList<QQuickItem *> children = item->childItems();
        return std::any_of(children.cbegin(), children.cend(), loading);
    };
    if (!QTest::qWaitFor([&] { return !loading(fixture.mainWindow()->contentItem()); }, 10000))
        qWarning("Thumbnails still loading after 10 s");
    return fixture.mainWindow();
}

QQuickWindow *viewOf(UiFixture &fixture, const QString &kind)
{
    if (kind != QLatin1String("brush"))
        fixture.click(QStringLiteral("kindButton_") + kind);
    return pointerAway(fixture);
}

// Rows first..last selected by a click and a Shift-click, the details shown.
QQuickWindow *selected(UiFixture &fixture, const QString &kind, const char *service, int count)
{
    viewOf(fixture, kind);
    describe(fixture, service);
    fixture.click(tileOf(fixture, kind, 0));
    if (count > 1)
        fixture.click(tileOf(fixture, kind, count - 1), Qt::LeftButton, Qt::ShiftModifier);
    return pointerAway(fixture);
}

QQuickWindow *filters(UiFixture &fixture, const QString &kind, const char *service, const QStringList &checked)
{
    viewOf(fixture, kind);
    describe(fixture, service);
    fixture.click(QStringLiteral("filterTab"));
    for (const QString &name : checked)
        fixture.click(name);
    return pointerAway(fixture);
}

QQuickWindow *advancedTooltip(UiFixture &fixture)
{
    describe(fixture, "brushData");
    qobject_cast<BrushDataService *>(catalogue(fixture, "brushData"))->setBrushType(0, QStringLiteral("Clay"));
    QQuickItem *tile = tileOf(fixture, QStringLiteral("brush"), 0);
    if (!tile)
        return nullptr;
    const QPoint at = tile->mapToScene(QPointF(tile->width() / 2, tile->height() / 2)).toPoint();
    QTest::mouseMove(fixture.mainWindow(), at - QPoint(5, 5));
    QTest::mouseMove(fixture.mainWindow(), at);
    QTest::qWait(1400);
    return fixture.mainWindow();
}

void addViewScreens(QList<Screen> &list)
{
    const struct { const char *kind; const char *name; } kinds[] = {
        {"brush", "brushes"}, {"alpha", "alphas"}, {"material", "materials"}, {"light", "lights"}};
    const struct { int type; const char *name; } modes[] = {{2, "small"}, {3, "medium"}, {0, "large"}, {1, "table"}};
    for (const auto &kind : kinds) {
        for (const auto &mode : modes) {
            const QString word = QLatin1String(kind.kind);
            const int type = mode.type;
            list << Screen{QStringLiteral("view-%1-%2").arg(QLatin1String(kind.name), QLatin1String(mode.name)),
                           [word, type](UiFixture &f) {
                               populate(f);
                               f.setWindowSetting(QStringLiteral("viewType/") + word, type);
                           },
                           [word](UiFixture &f) { return viewOf(f, word); }};
        }
    }
    list << Screen{QStringLiteral("details-brush-one"), populate,
                   [](UiFixture &f) { return selected(f, QStringLiteral("brush"), "brushData", 1); }};
    list << Screen{QStringLiteral("details-brush-several"), populate,
                   [](UiFixture &f) { return selected(f, QStringLiteral("brush"), "brushData", 4); }};
    list << Screen{QStringLiteral("details-alpha-one"), populate,
                   [](UiFixture &f) { return selected(f, QStringLiteral("alpha"), "alphaData", 1); }};
    list << Screen{QStringLiteral("details-alpha-several"), populate,
                   [](UiFixture &f) { return selected(f, QStringLiteral("alpha"), "alphaData", 3); }};
    list << Screen{QStringLiteral("details-material-one"), populate,
                   [](UiFixture &f) { return selected(f, QStringLiteral("material"), "materialData", 1); }};
    list << Screen{QStringLiteral("filter-brushes"), populate, [](UiFixture &f) {
                       return filters(f, QStringLiteral("brush"), "brushData",
                                      {QStringLiteral("typeFilter_14"), QStringLiteral("typeFilter_1")});
                   }};
    list << Screen{QStringLiteral("filter-alphas"), populate, [](UiFixture &f) {
                       return filters(f, QStringLiteral("alpha"), "alphaData",
                                      {QStringLiteral("sizeFilter_256"), QStringLiteral("depthFilter_8")});
                   }};
    list << Screen{QStringLiteral("filter-lights"), populate, [](UiFixture &f) {
                       return filters(f, QStringLiteral("light"), "lightData", {QStringLiteral("lightFilter")});
                   }};
    list << Screen{QStringLiteral("tooltip-advanced"),
                   [](UiFixture &f) {
                       populate(f);
                       f.storeSetting(DatabaseService::ShowAdvancedTooltips, true);
                       f.setWindowSetting(QStringLiteral("viewType/brush"), 3);
                   },
                   advancedTooltip};
}

// The demo's store, with a library folder for its downloads.
void prepareStore(UiFixture &fixture)
{
    fixture.startStore(QStringLiteral(KIVARA_DEMO_CATALOGUE));
    QDir().mkpath(fixture.path(QStringLiteral("library/KIVSource")));
    fixture.storeSetting(DatabaseService::LibraryLocation, fixture.path(QStringLiteral("library")));
}

// The store window with its catalogue and pictures; logged in as the demo user when asked.
QQuickWindow *storeWindow(UiFixture &fixture, const QString &user = QString())
{
    if (!fixture.click(QStringLiteral("libraryButton")))
        return nullptr;
    auto *window = qobject_cast<QQuickWindow *>(fixture.findObject(QStringLiteral("storeWindow")));
    StoreDataService *store = fixture.services()->store();
    if (!window || !QTest::qWaitFor([store] { return store->hasProductList(); }, 10000))
        return nullptr;
    if (!user.isEmpty()) {
        // The login ends with the subscriptions, which re-sort the lists.
        int resorted = 0;
        QObject::connect(store->model(), &QAbstractItemModel::layoutChanged, window, [&resorted] { ++resorted; });
        store->loginWithUser(user, user);
        if (!QTest::qWaitFor([&resorted] { return resorted > 0; }, 10000))
            return nullptr;
    }
    // The pictures come from the store as they would from the web.
    QTest::qWait(1500);
    return window;
}

QQuickItem *storeItem(UiFixture &fixture, QQuickWindow *window, const char *name)
{
    return window ? fixture.findItem(QString::fromLatin1(name), window) : nullptr;
}

// Scrolls the store's grid down by that much.
QQuickWindow *scrolledStore(UiFixture &fixture, double by)
{
    QQuickWindow *window = storeWindow(fixture, QStringLiteral("demo"));
    QQuickItem *grid = storeItem(fixture, window, "storeGridView");
    if (!grid)
        return nullptr;
    QQuickItem *flickable = grid->property("contentItem").value<QQuickItem *>();
    if (flickable)
        flickable->setProperty("contentY", by);
    return window;
}

// ---- Favourites area and mini-mode window.

// The demo files and four coloured favourites sets of mixed kinds from them.
void storeFavourites(UiFixture &fixture)
{
    populate(fixture);
    const auto members = [](const QString &kind, const QStringList &names) {
        QList<QPair<QString, QString>> list;
        for (const QString &name : names)
            list.append({name, kind});
        return list;
    };
    const QString brush = QStringLiteral("brush"), alpha = QStringLiteral("alpha"),
                  material = QStringLiteral("material");
    fixture.storeFavoriteSet(QStringLiteral("Sculpting"), QStringLiteral("#ffa83232"),
                             members(brush, {QStringLiteral("Standard"), QStringLiteral("Dam_Standard"),
                                             QStringLiteral("ClayBuildup"), QStringLiteral("ClayTubes"),
                                             QStringLiteral("Inflate"), QStringLiteral("Pinch")})
                                 + members(material, {QStringLiteral("MatCap Red Wax")})
                                 + members(alpha, {QStringLiteral("Cracks"), QStringLiteral("Rivet")}));
    fixture.storeFavoriteSet(QStringLiteral("Surface"), QStringLiteral("#ff2f6fb0"),
                             members(material, {QStringLiteral("MatCap Gray"), QStringLiteral("MatCap Jade"),
                                                QStringLiteral("MatCap Bronze")})
                                 + members(QStringLiteral("texture"), {QStringLiteral("Bricks"), QStringLiteral("Marble")})
                                 + members(alpha, {QStringLiteral("Scales"), QStringLiteral("Hexagons")}));
    fixture.storeFavoriteSet(QStringLiteral("Scene"), QStringLiteral("#ff3f9a5a"),
                             members(QStringLiteral("tool"), {QStringLiteral("Dog"), QStringLiteral("Cube3D")})
                                 + members(QStringLiteral("light"), {QStringLiteral("Three Point")})
                                 + members(QStringLiteral("grid"), {QStringLiteral("Floor Grid 16")})
                                 + members(QStringLiteral("renderpreset"), {QStringLiteral("BPR Fog")}));
    fixture.storeFavoriteSet(QStringLiteral("Hard Surface"), QStringLiteral("#ffc08a2a"),
                             members(brush, {QStringLiteral("Insert Cylinder"), QStringLiteral("IMM Primitives"),
                                             QStringLiteral("MaskCurve")}));
}

// Shows the favourites set of that index in the window's favourites area.
QQuickWindow *withFavoriteSet(UiFixture &fixture, QQuickWindow *window, int set)
{
    QQuickItem *area = fixture.findItem(QStringLiteral("favoritesArea"), window);
    QQuickItem *tabs = fixture.findItem(QStringLiteral("favoriteTabs"), area);
    if (!tabs || !fixture.click(fixture.findItem(QStringLiteral("favoriteTab_%1").arg(set), tabs)))
        return nullptr;
    return window;
}

QQuickWindow *miniWithFavorites(UiFixture &fixture)
{
    // The main window draws the star images shortly after it is shown.
    if (!QTest::qWaitFor([&fixture] { return !fixture.system()->favOnSource().isEmpty(); }, 2000))
        return nullptr;
    fixture.system()->setMiniMode(true);
    if (!fixture.waitForRendering(fixture.miniWindow()))
        return nullptr;
    return withFavoriteSet(fixture, fixture.miniWindow(), 1);
}

void addFavoriteScreens(QList<Screen> &list)
{
    list << Screen{QStringLiteral("mini-vertical"), storeFavourites, miniWithFavorites};
    list << Screen{QStringLiteral("mini-horizontal"),
                   [](UiFixture &f) {
                       storeFavourites(f);
                       f.storeSetting(DatabaseService::HorizontalMiniMode, true);
                   },
                   miniWithFavorites};
    list << Screen{QStringLiteral("favorites-sets"), storeFavourites, [](UiFixture &f) {
                       QQuickWindow *window = withFavoriteSet(f, f.mainWindow(), 1);
                       QQuickItem *tile = f.findItem(QStringLiteral("favoriteTile_1"));
                       if (window && tile)
                           f.click(tile);
                       pointerAway(f);
                       return window;
                   }};
    list << Screen{QStringLiteral("favorites-large-tiles"), storeFavourites, [](UiFixture &f) {
                       f.click(QStringLiteral("favoritesIconSizeButton"));
                       withFavoriteSet(f, f.mainWindow(), 1);
                       return pointerAway(f);
                   }};
    list << Screen{QStringLiteral("favorites-set-dialog"), storeFavourites, [](UiFixture &f) {
                       QQuickWindow *window = withFavoriteSet(f, f.mainWindow(), 2);
                       if (window)
                           f.click(QStringLiteral("editFavoriteSetButton"));
                       return window;
                   }};
    list << Screen{QStringLiteral("favorites-add-dialog-name-taken"), storeFavourites, [](UiFixture &f) {
                       f.click(QStringLiteral("addFavoriteSetButton"));
                       if (!f.click(QStringLiteral("favoriteNameField")))
                           return static_cast<QQuickWindow *>(nullptr);
                       for (const char c : {'S', 'c', 'e', 'n', 'e'})
                           QTest::keyClick(f.mainWindow(), c);
                       return f.mainWindow();
                   }};
}

QList<Screen> screens()
{
    QList<Screen> list;
    list << Screen{QStringLiteral("controls"), noPreparation, controls};
    list << Screen{QStringLiteral("main-brushes"), noPreparation, mainWindow};
    list << Screen{QStringLiteral("main-materials"), noPreparation,
                   [](UiFixture &f) { return mainOnKind(f, QStringLiteral("material")); }};
    list << Screen{QStringLiteral("main-render-presets"), noPreparation,
                   [](UiFixture &f) { return mainOnKind(f, QStringLiteral("renderpreset")); }};
    list << Screen{QStringLiteral("main-favorites-collapsed"), noPreparation,
                   [](UiFixture &f) { return mainWithCollapsed(f, QStringLiteral("favoritesCollapseBar")); }};
    list << Screen{QStringLiteral("main-middle-collapsed"), noPreparation,
                   [](UiFixture &f) { return mainWithCollapsed(f, QStringLiteral("middleCollapseBar")); }};
    list << Screen{QStringLiteral("main-details-collapsed"), noPreparation,
                   [](UiFixture &f) { return mainWithCollapsed(f, QStringLiteral("detailsCollapseBar")); }};
    for (const QString &theme : {QStringLiteral("Parchment"), QStringLiteral("Lagoon"), QStringLiteral("Quillmark")}) {
        list << Screen{QStringLiteral("theme-") + theme.toLower(),
                       [theme](UiFixture &f) { storeTheme(f, theme); }, mainWindow};
    }
    list << Screen{QStringLiteral("zbrush-colours"),
                   [](UiFixture &f) {
                       f.storeSetting(DatabaseService::ZbrushColorSync, true);
                       f.writeUiColorsFile(zbrushColours);
                   },
                   mainWindow};
    list << Screen{QStringLiteral("options-menu"), noPreparation, [](UiFixture &f) {
                       f.click(QStringLiteral("optionsButton"));
                       return f.mainWindow();
                   }};
    list << Screen{QStringLiteral("plugin-message"), noPreparation, mainWindow, {true, false}};
    list << Screen{QStringLiteral("setup-cover"), noPreparation, mainWindow, {false, true}};
    list << Screen{QStringLiteral("setup-installed"), noPreparation, [](UiFixture &f) {
                       f.click(QStringLiteral("manualOption"));
                       f.findItem(QStringLiteral("zbrushPathField"))->setProperty("text", f.zbrushFolder());
                       f.click(QStringLiteral("acceptLicense"));
                       f.click(QStringLiteral("installButton"));
                       return f.mainWindow();
                   }, {false, false, false}};
    list << Screen{QStringLiteral("setup-failed"), noPreparation, [](UiFixture &f) {
                       f.click(QStringLiteral("acceptLicense"));
                       f.click(QStringLiteral("installButton"));
                       return f.mainWindow();
                   }, {false, true}};
    const QStringList tabs{"general", "brushes", "alphas", "textures", "materials", "lights", "projects", "tools",
                           "fibers", "grids", "array-mesh", "spotlights", "render-presets", "zbrush-ui", "library"};
    for (int i = 0; i < tabs.size(); ++i) {
        list << Screen{QStringLiteral("settings-%1-%2").arg(i, 2, 10, QLatin1Char('0')).arg(tabs.at(i)),
                       zbrushInterfaceFiles, [i](UiFixture &f) { return settingsTab(f, i); }};
    }
    list << Screen{QStringLiteral("settings-restart-dialog"), noPreparation,
                   [](UiFixture &f) { return settingsPopup(f, "askRestart"); }};
    list << Screen{QStringLiteral("settings-failure"), noPreparation,
                   [](UiFixture &f) { return settingsPopup(f, "showFailure"); }};
    list << Screen{QStringLiteral("settings-busy"), noPreparation,
                   [](UiFixture &f) { return settingsPopup(f, "busy"); }};
    list << Screen{QStringLiteral("zbrush-interface-panel"), zbrushInterfaceFiles, mainWindow};
    list << Screen{QStringLiteral("about"), noPreparation, [](UiFixture &f) { return childWindow(f, "aboutWindow"); }};
    list << Screen{QStringLiteral("news"), noPreparation, [](UiFixture &f) { return childWindow(f, "newsWindow"); }};
    list << Screen{QStringLiteral("updates-unchecked"), noPreparation,
                   [](UiFixture &f) { return childWindow(f, "updatesWindow"); }};
    list << Screen{QStringLiteral("updates-current"), noPreparation, [](UiFixture &f) {
                       f.system()->reportLatestVersion(QStringLiteral("3.0.1"));
                       return childWindow(f, "updatesWindow");
                   }};
    list << Screen{QStringLiteral("updates-available"), noPreparation, [](UiFixture &f) {
                       f.system()->reportLatestVersion(QStringLiteral("3.1.0"));
                       return childWindow(f, "updatesWindow");
                   }};
    list << Screen{QStringLiteral("store-logged-out"), prepareStore, [](UiFixture &f) { return storeWindow(f); }};
    list << Screen{QStringLiteral("store-login"), prepareStore, [](UiFixture &f) {
                       QQuickWindow *window = storeWindow(f);
                       if (!window || !f.click(storeItem(f, window, "loginButton")))
                           return static_cast<QQuickWindow *>(nullptr);
                       QTest::qWait(200);
                       QQuickItem *user = storeItem(f, window, "usernameField");
                       if (user)
                           user->setProperty("text", QStringLiteral("demo"));
                       return window;
                   }};
    list << Screen{QStringLiteral("store-login-failed"), prepareStore, [](UiFixture &f) {
                       QQuickWindow *window = storeWindow(f);
                       StoreDataService *store = f.services()->store();
                       if (!window || !f.click(storeItem(f, window, "loginButton")))
                           return static_cast<QQuickWindow *>(nullptr);
                       storeItem(f, window, "usernameField")->setProperty("text", QStringLiteral("demo"));
                       storeItem(f, window, "passwordField")->setProperty("text", QStringLiteral("wrong"));
                       f.click(storeItem(f, window, "loginAcceptButton"));
                       return QTest::qWaitFor([store] { return store->loginFailed(); }, 5000) ? window : nullptr;
                   }};
    list << Screen{QStringLiteral("store-logged-in"), prepareStore,
                   [](UiFixture &f) { return storeWindow(f, QStringLiteral("demo")); }};
    list << Screen{QStringLiteral("store-featured-browse"), prepareStore,
                   [](UiFixture &f) { return scrolledStore(f, 414); }};
    list << Screen{QStringLiteral("store-download"),
                   [](UiFixture &f) {
                       prepareStore(f);
                       f.storeServer()->setFault(QStringLiteral("download/201"), QStringLiteral("slow"));
                       f.storeServer()->setFault(QStringLiteral("download/203"), QStringLiteral("slow"));
                   },
                   [](UiFixture &f) {
                       QQuickWindow *window = scrolledStore(f, 414);
                       StoreDataService *store = f.services()->store();
                       if (!window)
                           return window;
                       store->downloadProductById(201);
                       store->downloadProductById(203);
                       const QSharedPointer<Product> clay = store->productById(201);
                       if (!QTest::qWaitFor([clay] { return clay && clay->downloadStatus()->percent() >= 40; }, 20000))
                           return static_cast<QQuickWindow *>(nullptr);
                       return window;
                   }};
    list << Screen{QStringLiteral("store-product-page"), prepareStore, [](UiFixture &f) {
                       QQuickWindow *window = storeWindow(f, QStringLiteral("demo"));
                       if (window)
                           QMetaObject::invokeMethod(window, "showDetailsPage", Q_ARG(QVariant, 201));
                       QTest::qWait(800);
                       return window;
                   }};
    list << Screen{QStringLiteral("store-product-page-purchase"), prepareStore, [](UiFixture &f) {
                       QQuickWindow *window = storeWindow(f, QStringLiteral("demo"));
                       if (window)
                           QMetaObject::invokeMethod(window, "showDetailsPage", Q_ARG(QVariant, 204));
                       QTest::qWait(800);
                       return window;
                   }};
    list << Screen{QStringLiteral("store-membership-page"), prepareStore, [](UiFixture &f) {
                       QQuickWindow *window = storeWindow(f);
                       if (window)
                           QMetaObject::invokeMethod(window, "showDetailsPage", Q_ARG(QVariant, 205));
                       QTest::qWait(800);
                       return window;
                   }};
    list << Screen{QStringLiteral("store-table"), prepareStore, [](UiFixture &f) {
                       QQuickWindow *window = storeWindow(f, QStringLiteral("demo"));
                       if (!window || !f.click(storeItem(f, window, "viewToggleButton")))
                           return static_cast<QQuickWindow *>(nullptr);
                       // The pointer leaves, and the button's tooltip with it.
                       QTest::mouseMove(window, QPoint(700, 590));
                       QTest::qWait(1000);
                       return window;
                   }};
    list << Screen{QStringLiteral("store-filtered"), prepareStore, [](UiFixture &f) {
                       QQuickWindow *window = storeWindow(f, QStringLiteral("studio"));
                       if (!window || !f.click(storeItem(f, window, "categoryItem_Brushes")))
                           return static_cast<QQuickWindow *>(nullptr);
                       QTest::qWait(800);
                       return window;
                   }};
    addViewScreens(list);
    addFavoriteScreens(list);
    return list;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    // The program finds its image plug-in beside itself; this tool lives elsewhere.
    QCoreApplication::addLibraryPath(QStringLiteral(KIVARA_BIN_DIR));
    const QStringList arguments = QCoreApplication::arguments();
    const QString output = arguments.size() > 1 ? arguments.at(1) : QStringLiteral("screenshots");
    const QString only = arguments.size() > 2 ? arguments.at(2) : QString();
    QDir().mkpath(output);
    QTextStream out(stdout);
    int failures = 0;
    for (const Screen &screen : screens()) {
        if (!only.isEmpty() && !screen.name.contains(only))
            continue;
        UiFixture fixture(screen.options);
        screen.prepare(fixture);
        if (!fixture.start()) {
            out << "FAILED to start for " << screen.name << ": " << fixture.warningText() << '\n';
            ++failures;
            continue;
        }
        fixture.waitForRendering(fixture.mainWindow());
        QQuickWindow *window = screen.show(fixture);
        // Let windows settle, popups open and images load.
        QTest::qWait(400);
        const QString file = QDir(output).filePath(screen.name + QStringLiteral(".png"));
        if (!window || !fixture.waitForRendering(window) || !fixture.grab(window).save(file)) {
            out << "FAILED " << screen.name << '\n';
            ++failures;
        } else {
            out << file << '\n';
        }
        if (!fixture.noWarnings()) {
            out << "warnings in " << screen.name << ":\n" << fixture.warningText() << '\n';
            ++failures;
        }
        out.flush();
    }
    return failures == 0 ? 0 : 1;
}
