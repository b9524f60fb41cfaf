// The main window driven as a person would: kind buttons and shortcuts, collapsing
// columns, settings that survive a restart, themes, start-up messages, updates.
#include "tests/ui/common/uifixture.h"

#include "Model/favoriteset.h"
#include "Model/resourcedataservice.h"
#include "Model/systemdataservice.h"
#include "appservices.h"

#include "tests/common/testfiles.h"

#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickItem>
#include <QtTest>

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void kindButtonSwitchesMiddleColumn();
    void ctrlBCyclesEveryKind();
    void lastOpenColumnStaysOpen();
    void collapsedMiddleFixesWindowWidth();
    void settingsSurviveRestart();
    void newsOpensFromSecondStartUntilTurnedOff();
    void themeAtStart_data();
    void themeAtStart();
    void ctrlTTogglesSelectionInShownSet();
    void ctrlWWrapsToFirstSet();
    void starImagesArePublished();
    void pluginMessageAfterInstallation();
    void setupCoverWhileZBrushUnknown();
    void updatesWindowShowsVersionState();
    void loadedViewGetsItsKindsValues();

private:
    bool start(const UiFixture::Options &options = {});
    QVariant window(const char *property) const { return m_fixture->mainWindow()->property(property); }
    QQuickItem *item(const char *name) const { return m_fixture->findItem(QString::fromLatin1(name)); }

    std::unique_ptr<UiFixture> m_fixture;
};

void MainWindowTest::init()
{
    m_fixture.reset();
}

bool MainWindowTest::start(const UiFixture::Options &options)
{
    m_fixture = std::make_unique<UiFixture>(options);
    return m_fixture->isValid() && m_fixture->start() && m_fixture->waitForRendering(m_fixture->mainWindow());
}

void MainWindowTest::cleanup()
{
    if (!m_fixture)
        return;
    const QString warnings = m_fixture->warningText();
    m_fixture.reset();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings));
}

void MainWindowTest::kindButtonSwitchesMiddleColumn()
{
    QVERIFY(start());
    QCOMPARE(window("currentKind").toString(), QStringLiteral("brush"));
    QVERIFY(m_fixture->click("kindButton_material"));
    QCOMPARE(window("currentKind").toString(), QStringLiteral("material"));
    QCOMPARE(item("middleCollapseBar")->property("title").toString(), QStringLiteral("Materials"));
    QVERIFY(item("viewLoader_material")->property("active").toBool());
    QVERIFY(!item("viewLoader_brush")->property("active").toBool());
    QCOMPARE(window("currentService").value<QObject *>(), m_fixture->engine()->rootContext()->contextProperty("materialData").value<QObject *>());
    QCOMPARE(window("favoriteRole").toInt(), 259);
    QVERIFY(item("kindButton_material")->property("checked").toBool());
    QVERIFY(!item("kindButton_brush")->property("checked").toBool());
}

void MainWindowTest::ctrlBCyclesEveryKind()
{
    QVERIFY(start());
    const QStringList order{"alpha", "texture", "material", "fiber", "tool", "light", "project",
                            "grid", "array", "spotlight", "renderpreset", "brush"};
    const QStringList titles{"Alphas", "Textures", "Materials", "Fibers", "Tools", "Lights", "Projects",
                             "Grids", "Array Mesh", "Spotlights", "Render Presets", "Brushes"};
    for (int i = 0; i < order.size(); ++i) {
        QVERIFY(m_fixture->keyClick(m_fixture->mainWindow(), Qt::Key_B, Qt::ControlModifier));
        QCOMPARE(window("currentKind").toString(), order.at(i));
        QCOMPARE(item("middleCollapseBar")->property("title").toString(), titles.at(i));
        QVERIFY(item(qPrintable(QStringLiteral("kindButton_") + order.at(i)))->property("checked").toBool());
    }
}

void MainWindowTest::lastOpenColumnStaysOpen()
{
    QVERIFY(start());
    QVERIFY(m_fixture->click("favoritesCollapseBar"));
    QVERIFY(m_fixture->click("detailsCollapseBar"));
    QVERIFY(window("favoritesCollapsed").toBool());
    QVERIFY(window("detailsCollapsed").toBool());
    QVERIFY(m_fixture->click("middleCollapseBar"));
    QVERIFY(!window("middleCollapsed").toBool());
    QVERIFY(item("middleColumn")->isVisible());
    // Opening another column lets the middle one fold again.
    QVERIFY(m_fixture->click("detailsCollapseBar"));
    QVERIFY(m_fixture->click("middleCollapseBar"));
    QVERIFY(window("middleCollapsed").toBool());
    QVERIFY(m_fixture->click("detailsCollapseBar"));
    QVERIFY(!window("detailsCollapsed").toBool());
}

void MainWindowTest::collapsedMiddleFixesWindowWidth()
{
    QVERIFY(start());
    QQuickWindow *main = m_fixture->mainWindow();
    const int middleWidth = int(item("middleColumn")->width());
    QVERIFY(middleWidth > 300);
    QVERIFY(m_fixture->click("middleCollapseBar"));
    // Favourites 266, details 250 and the three bars of 20.
    QTRY_COMPARE(main->width(), 576);
    QCOMPARE(main->minimumWidth(), 576);
    QCOMPARE(main->maximumWidth(), 576);
    QVERIFY(!item("kindButton_brush")->isVisible());

    QVERIFY(m_fixture->click("favoritesCollapseBar"));
    QTRY_COMPARE(main->width(), 310);
    QCOMPARE(main->maximumWidth(), 310);
    QVERIFY(m_fixture->click("favoritesCollapseBar"));
    QTRY_COMPARE(main->width(), 576);

    QVERIFY(m_fixture->click("middleCollapseBar"));
    QCOMPARE(main->minimumWidth(), 290);
    QVERIFY(main->maximumWidth() > 10000);
    QTRY_COMPARE(int(item("middleColumn")->width()), middleWidth);
    QVERIFY(item("kindButton_brush")->isVisible());
}

void MainWindowTest::settingsSurviveRestart()
{
    QVERIFY(start());
    QQuickWindow *main = m_fixture->mainWindow();
    main->setGeometry(120, 90, 1100, 700);
    QTRY_COMPARE(main->width(), 1100);
    QVERIFY(m_fixture->click("detailsCollapseBar"));
    QVERIFY(QMetaObject::invokeMethod(main, "setViewType", Q_ARG(QVariant, QStringLiteral("alpha")), Q_ARG(QVariant, 1)));
    QVERIFY(QMetaObject::invokeMethod(main, "setViewType", Q_ARG(QVariant, QStringLiteral("favorite")), Q_ARG(QVariant, 1)));

    QVERIFY(m_fixture->restart());
    main = m_fixture->mainWindow();
    QVERIFY(m_fixture->waitForRendering(main));
    QCOMPARE(main->width(), 1100);
    QCOMPARE(main->height(), 700);
    QCOMPARE(main->x(), 120);
    QCOMPARE(main->y(), 90);
    QVERIFY(window("detailsCollapsed").toBool());
    QVERIFY(!window("favoritesCollapsed").toBool());
    QVERIFY(!item("detailsColumn")->isVisible());
    QVariant type;
    QVERIFY(QMetaObject::invokeMethod(main, "viewType", Q_RETURN_ARG(QVariant, type), Q_ARG(QVariant, QStringLiteral("alpha"))));
    QCOMPARE(type.toInt(), 1);
    QVERIFY(QMetaObject::invokeMethod(main, "viewType", Q_RETURN_ARG(QVariant, type), Q_ARG(QVariant, QStringLiteral("favorite"))));
    QCOMPARE(type.toInt(), 1);
    QVERIFY(QMetaObject::invokeMethod(main, "viewType", Q_RETURN_ARG(QVariant, type), Q_ARG(QVariant, QStringLiteral("tool"))));
    QCOMPARE(type.toInt(), 2);

    // A collapsed middle column comes back collapsed, at the fixed width.
    QVERIFY(m_fixture->click("middleCollapseBar"));
    QVERIFY(m_fixture->restart());
    main = m_fixture->mainWindow();
    QVERIFY(m_fixture->waitForRendering(main));
    QVERIFY(window("middleCollapsed").toBool());
    QCOMPARE(main->maximumWidth(), 266 + 3 * 20);
    QVERIFY(m_fixture->click("middleCollapseBar"));
    QTRY_COMPARE(main->width(), 1100);
}

void MainWindowTest::newsOpensFromSecondStartUntilTurnedOff()
{
    QVERIFY(start());
    auto *news = qobject_cast<QQuickWindow *>(m_fixture->findObject(QStringLiteral("newsWindow")));
    QVERIFY(news);
    QVERIFY(!news->isVisible());

    QVERIFY(m_fixture->restart());
    news = qobject_cast<QQuickWindow *>(m_fixture->findObject(QStringLiteral("newsWindow")));
    QTRY_VERIFY(news->isVisible());
    QVERIFY(m_fixture->waitForRendering(news));
    QQuickItem *dontShow = m_fixture->findItem(QStringLiteral("dontShowNewsCheckBox"), news);
    QVERIFY(m_fixture->click(dontShow));
    QVERIFY(!m_fixture->system()->showNews());

    QVERIFY(m_fixture->restart());
    news = qobject_cast<QQuickWindow *>(m_fixture->findObject(QStringLiteral("newsWindow")));
    QTest::qWait(200);
    QVERIFY(!news->isVisible());
}

void MainWindowTest::themeAtStart_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("sync");
    QTest::addColumn<QString>("background");
    QTest::newRow("theme by name") << "Lagoon" << false << "#FF284572";
    QTest::newRow("unknown name gives defaults") << "Sunrise" << false << "#FF2c2c2c";
    QTest::newRow("ZBrush colours win while synced") << "Lagoon" << true << "#ff242424";
}

void MainWindowTest::themeAtStart()
{
    QFETCH(QString, stored);
    QFETCH(bool, sync);
    QFETCH(QString, background);
    m_fixture = std::make_unique<UiFixture>();
    m_fixture->storeSetting(DatabaseService::Theme, stored);
    m_fixture->storeSetting(DatabaseService::ZbrushColorSync, sync);
    QVERIFY(m_fixture->start());
    QCOMPARE(m_fixture->mainWindow()->color(), QColor(background));
    QCOMPARE(item("topBar")->property("color").value<QColor>(),
             sync ? QColor(QStringLiteral("#ff242424")) : stored == "Lagoon" ? QColor(QStringLiteral("#FF173657")) : QColor(QStringLiteral("#FF292929")));
}

void MainWindowTest::ctrlTTogglesSelectionInShownSet()
{
    QVERIFY(start());
    ResourceDataService *brushes = qobject_cast<ResourceDataService *>(
        m_fixture->engine()->rootContext()->contextProperty("brushData").value<QObject *>());
    QVERIFY(brushes);
    QTRY_COMPARE(brushes->model()->rowCount(), 3);
    QQuickWindow *main = m_fixture->mainWindow();
    const auto favourite = [&](int row) { return brushes->model()->index(row, 0).data(260).toBool(); };
    FavoriteSet *shown = m_fixture->system()->favoriteSets().first();

    // One already a favourite: Ctrl+T adds the other, without a second entry for the first.
    QVERIFY(QMetaObject::invokeMethod(main, "setSelection", Q_ARG(QVariant, QStringLiteral("brush")), Q_ARG(QVariant, QVariantList{QVariant(0)})));
    QVERIFY(m_fixture->keyClick(main, Qt::Key_T, Qt::ControlModifier));
    QVERIFY(favourite(0));
    const QVariantList both{0, 2};
    QVERIFY(QMetaObject::invokeMethod(main, "setSelection", Q_ARG(QVariant, QStringLiteral("brush")), Q_ARG(QVariant, both)));
    QVERIFY(m_fixture->keyClick(main, Qt::Key_T, Qt::ControlModifier));
    QVERIFY(favourite(0) && favourite(2) && !favourite(1));
    QCOMPARE(shown->count(), 2);

    // All favourites: Ctrl+T takes them all out.
    QVERIFY(m_fixture->keyClick(main, Qt::Key_T, Qt::ControlModifier));
    QVERIFY(!favourite(0) && !favourite(2));
    QCOMPARE(shown->count(), 0);
}

void MainWindowTest::ctrlWWrapsToFirstSet()
{
    QVERIFY(start());
    SystemDataService *system = m_fixture->system();
    system->addFavoriteSet(QStringLiteral("Sculpt"));
    system->addFavoriteSet(QStringLiteral("Paint"));
    QQuickWindow *main = m_fixture->mainWindow();
    QSignalSpy activated(system, &SystemDataService::favoriteSetActivated);
    for (int expected : {1, 2, 0}) {
        system->setSelectedFavoriteIndex(0);
        QVERIFY(m_fixture->keyClick(main, Qt::Key_W, Qt::ControlModifier));
        QCOMPARE(window("favoriteSetIndex").toInt(), expected);
        QCOMPARE(system->currentFavoriteSet(), system->favoriteSets().at(expected));
        QCOMPARE(system->selectedFavoriteIndex(), -1);
    }
    QCOMPARE(activated.count(), 3);
    QCOMPARE(activated.last().at(0).value<FavoriteSet *>(), system->favoriteSets().at(2));
}

void MainWindowTest::starImagesArePublished()
{
    QVERIFY(start());
    SystemDataService *system = m_fixture->system();
    QTRY_VERIFY(!system->favOnSource().isEmpty() && !system->favOffSource().isEmpty());
    QVERIFY(system->favOnSource() != system->favOffSource());
    // A theme change draws them again.
    const QString before = system->favOnSource();
    QVERIFY(QMetaObject::invokeMethod(m_fixture->mainWindow(), "chooseTheme", Q_ARG(QVariant, QStringLiteral("Lagoon"))));
    QTRY_VERIFY(system->favOnSource() != before);
    QCOMPARE(system->theme(), QStringLiteral("Lagoon"));
}

void MainWindowTest::pluginMessageAfterInstallation()
{
    UiFixture::Options options;
    options.pluginCurrent = false;
    QVERIFY(start(options));
    QVERIFY(m_fixture->system()->pluginInstalled());
    QObject *popup = m_fixture->findObject(QStringLiteral("pluginMessage"));
    QVERIFY(popup);
    QTRY_VERIFY(popup->property("opened").toBool());
    QCOMPARE(popup->property("message").toString(), QStringLiteral("Plugin updated. Please restart ZBrush."));
    QCOMPARE(popup->property("title").toString(), QStringLiteral("Plugin Installation"));
    QVERIFY(!m_fixture->findItem(QStringLiteral("cancelButton"), popup)->isVisible());
    QVERIFY(m_fixture->click(m_fixture->findItem(QStringLiteral("acceptButton"), popup)));
    QTRY_VERIFY(!popup->property("visible").toBool());
}

void MainWindowTest::setupCoverWhileZBrushUnknown()
{
    UiFixture::Options options;
    options.setupOk = false;
    QVERIFY(start(options));
    QVERIFY(item("setupCover")->isVisible());
    // The cover takes the clicks: the bar below it does not fold.
    QVERIFY(m_fixture->click("favoritesCollapseBar"));
    QVERIFY(!window("favoritesCollapsed").toBool());
    QVERIFY(QMetaObject::invokeMethod(m_fixture->mainWindow(), "setupFinished"));
    QVERIFY(!item("setupCover")->isVisible());
    QVERIFY(window("settingsLoaded").toBool());
}

void MainWindowTest::updatesWindowShowsVersionState()
{
    QVERIFY(start());
    QVERIFY(m_fixture->click("updatesButton"));
    auto *updates = qobject_cast<QQuickWindow *>(m_fixture->findObject(QStringLiteral("updatesWindow")));
    QVERIFY(updates && updates->isVisible());
    QVERIFY(m_fixture->waitForRendering(updates));
    QCOMPARE(m_fixture->findItem(QStringLiteral("currentVersionText"), updates)->property("text").toString(),
             QStringLiteral("Current Version: 3.0.1"));
    QQuickItem *check = m_fixture->findItem(QStringLiteral("checkForUpdatesButton"), updates);
    QQuickItem *latest = m_fixture->findItem(QStringLiteral("latestVersionText"), updates);
    QQuickItem *install = m_fixture->findItem(QStringLiteral("installUpdateButton"), updates);
    QVERIFY(check->isVisible() && !latest->isVisible());
    QVERIFY(!install->isEnabled());
    QVERIFY(m_fixture->click(check));
    QVERIFY(!check->isEnabled());

    m_fixture->system()->reportLatestVersion(QStringLiteral("3.0.1"));
    QVERIFY(!check->isVisible() && latest->isVisible());
    QCOMPARE(latest->property("text").toString(), QStringLiteral("Up to Date"));
    QVERIFY(!install->isEnabled());

    m_fixture->system()->reportLatestVersion(QStringLiteral("3.2.0"));
    QCOMPARE(latest->property("text").toString(), QStringLiteral("3.2.0"));
    QVERIFY(install->isEnabled());
    QVERIFY(m_fixture->click(install));
    QTRY_VERIFY(!updates->isVisible());

    QVERIFY(m_fixture->click("updatesButton"));
    QVERIFY(m_fixture->waitForRendering(updates));
    QVERIFY(m_fixture->click(m_fixture->findItem(QStringLiteral("releaseNotesButton"), updates)));
    QCOMPARE(m_fixture->openedUrls().constLast(), QUrl(QStringLiteral("https://kivara.app/release-notes")));
}

void MainWindowTest::loadedViewGetsItsKindsValues()
{
    QVERIFY(start());
    // A view declares only some of the values; the others are not forced on it.
    const QString view = m_fixture->path(QStringLiteral("StubView.qml"));
    QVERIFY(TestFiles::write(view,
                             "import QtQuick 2.15\n"
                             "Item { objectName: 'stubView'\n"
                             "  property var window; property var dataService; property string kindWord\n"
                             "  property bool confirmActivate; property string searchText; property int viewType: -1 }\n"));
    QQuickWindow *main = m_fixture->mainWindow();
    QVERIFY(QMetaObject::invokeMethod(main, "setViewType", Q_ARG(QVariant, QStringLiteral("tool")), Q_ARG(QVariant, 3)));
    QVERIFY(QMetaObject::invokeMethod(main, "setSearchText", Q_ARG(QVariant, QStringLiteral("tool")), Q_ARG(QVariant, QStringLiteral("sph"))));
    QVERIFY(QMetaObject::invokeMethod(main, "setSelection", Q_ARG(QVariant, QStringLiteral("tool")), Q_ARG(QVariant, QVariantList{QVariant(1)})));
    main->setProperty("resourceViewSource", QUrl::fromLocalFile(view));
    QVERIFY(m_fixture->click("kindButton_tool"));

    QObject *loaded = m_fixture->findObject(QStringLiteral("stubView"), m_fixture->findItem(QStringLiteral("viewLoader_tool")));
    QVERIFY(loaded);
    QCOMPARE(loaded->property("kindWord").toString(), QStringLiteral("tool"));
    QCOMPARE(loaded->property("window").value<QObject *>(), main);
    QCOMPARE(loaded->property("dataService").value<QObject *>(),
             m_fixture->engine()->rootContext()->contextProperty("toolData").value<QObject *>());
    QVERIFY(loaded->property("confirmActivate").toBool());
    QCOMPARE(loaded->property("searchText").toString(), QStringLiteral("sph"));
    QCOMPARE(loaded->property("viewType").toInt(), 3);
    QCOMPARE(window("currentView").value<QObject *>(), loaded);
    // Loading a view starts its kind with nothing selected.
    QCOMPARE(window("selectedItems").toMap().value(QStringLiteral("tool")).toList().size(), 0);
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"

