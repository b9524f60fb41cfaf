// The favourites area in both windows, driven with the mouse and keys on a library
// with three sets of mixed kinds: set dialogs, tab and tile drags, clicks on tiles,
// the star, Ctrl+W. What is changed must read back after a restart.
#include "tests/ui/common/uifixture.h"

#include "Model/favoriteset.h"
#include "Model/resource.h"
#include "Model/resourcedataservice.h"
#include "Model/systemdataservice.h"

#include "tests/common/favoritenames.h"
#include "tests/common/testfiles.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickItem>
#include <QtTest>

namespace {
const QStringList storedSets{QStringLiteral("Default"), QStringLiteral("Sculpt"), QStringLiteral("Surface"),
                             QStringLiteral("Scene")};
} // namespace

class FavoritesAreaTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void setDialogsAddEditRemoveAndPersist();
    void defaultSetStaysFirstAndFixed();
    void tabAndTileDragsPersist();
    void tabDroppedOutsideSpringsBack();
    void tileClickActivatesOrSelects_data();
    void tileClickActivatesOrSelects();
    void starRemovesFavourite();
    void removingLastTabSelectsOneBefore();
    void ctrlWCyclesInBothWindows();
    void miniWindowShowsSets_data();
    void miniWindowShowsSets();
    void iconSizeIsRemembered();

private:
    bool start();
    bool restart();
    QQuickItem *area(QQuickWindow *window = nullptr) const;
    QQuickItem *tab(int index, QQuickWindow *window = nullptr) const;
    QQuickItem *tile(int index, QQuickWindow *window = nullptr) const;
    QObject *popup(const char *name) const { return m_fixture->findObject(QString::fromLatin1(name)); }
    FavoriteSet *shownSet(QQuickWindow *window = nullptr) const;
    Resource *member(const QString &set, int index) const;
    ResourceDataService *catalogue(const char *name) const;
    bool pickColour(const QColor &colour) const;
    bool typeName(const QString &text) const;
    QByteArray commandFile() const;

    std::unique_ptr<UiFixture> m_fixture;
};

void FavoritesAreaTest::init()
{
    m_fixture = std::make_unique<UiFixture>();
    QVERIFY(m_fixture->isValid());
    m_fixture->storeFavoriteSet(QStringLiteral("Sculpt"), QStringLiteral("#ffc04040"),
                                {{QStringLiteral("Standard"), QStringLiteral("brush")},
                                 {QStringLiteral("MatCap Gray"), QStringLiteral("material")},
                                 {QStringLiteral("Alpha 02"), QStringLiteral("alpha")}});
    m_fixture->storeFavoriteSet(QStringLiteral("Surface"), QStringLiteral("#ff3070c0"),
                                {{QStringLiteral("SkinShade4"), QStringLiteral("material")},
                                 {QStringLiteral("Stone"), QStringLiteral("texture")},
                                 {QStringLiteral("Move"), QStringLiteral("brush")}});
    m_fixture->storeFavoriteSet(QStringLiteral("Scene"), QStringLiteral("#ff40a060"),
                                {{QStringLiteral("Sphere3D"), QStringLiteral("tool")},
                                 {QStringLiteral("Grass"), QStringLiteral("fiber")},
                                 {QStringLiteral("Floor"), QStringLiteral("grid")}});
}

void FavoritesAreaTest::cleanup()
{
    const QString warnings = m_fixture->warningText();
    m_fixture.reset();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings));
}

bool FavoritesAreaTest::start()
{
    if (!m_fixture->start() || !m_fixture->waitForRendering(m_fixture->mainWindow()))
        return false;
    const QList<FavoriteSet *> sets = m_fixture->system()->favoriteSets();
    return sets.size() == 4 && sets.at(1)->count() == 3 && sets.at(2)->count() == 3 && sets.at(3)->count() == 3;
}

bool FavoritesAreaTest::restart()
{
    return m_fixture->restart() && m_fixture->waitForRendering(m_fixture->mainWindow());
}

QQuickItem *FavoritesAreaTest::area(QQuickWindow *window) const
{
    return m_fixture->findItem(QStringLiteral("favoritesArea"), window ? window : m_fixture->mainWindow());
}

QQuickItem *FavoritesAreaTest::tab(int index, QQuickWindow *window) const
{
    QQuickItem *tabs = m_fixture->findItem(QStringLiteral("favoriteTabs"), area(window));
    if (!tabs)
        return nullptr;
    QMetaObject::invokeMethod(tabs, "forceLayout");
    return m_fixture->findItem(QStringLiteral("favoriteTab_%1").arg(index), tabs);
}

QQuickItem *FavoritesAreaTest::tile(int index, QQuickWindow *window) const
{
    QQuickItem *grid = m_fixture->findItem(QStringLiteral("favoriteGrid"), area(window));
    if (!grid)
        return nullptr;
    QMetaObject::invokeMethod(grid, "forceLayout");
    return m_fixture->findItem(QStringLiteral("favoriteTile_%1").arg(index), grid);
}

FavoriteSet *FavoritesAreaTest::shownSet(QQuickWindow *window) const
{
    return qobject_cast<FavoriteSet *>(area(window)->property("currentSet").value<QObject *>());
}

Resource *FavoritesAreaTest::member(const QString &set, int index) const
{
    FavoriteSet *found = setNamed(*m_fixture->system(), set);
    return found && index < found->count() ? found->members().at(index) : nullptr;
}

ResourceDataService *FavoritesAreaTest::catalogue(const char *name) const
{
    return qobject_cast<ResourceDataService *>(
        m_fixture->engine()->rootContext()->contextProperty(QString::fromLatin1(name)).value<QObject *>());
}

// Through the swatch and the colour dialog of the open set dialog.
bool FavoritesAreaTest::pickColour(const QColor &colour) const
{
    QObject *colours = popup("favoriteColorDialog");
    if (!m_fixture->click(QStringLiteral("favoriteColorSwatch"))
        || !QTest::qWaitFor([colours] { return colours->property("visible").toBool(); }, 5000))
        return false;
    if (colours->property("title").toString() != QStringLiteral("Choose a color")
        || !colours->property("showAlphaChannel").toBool())
        return false;
    // What the sliders would set; Return is the dialog's OK.
    colours->setProperty("currentColor", colour);
    QWindow *colourWindow = nullptr;
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        if (window->isVisible() && window->title() == QStringLiteral("Choose a color"))
            colourWindow = window;
    }
    return colourWindow && m_fixture->keyClick(colourWindow, Qt::Key_Return)
        && QTest::qWaitFor([colours] { return !colours->property("visible").toBool(); }, 5000)
        && popup("favoritePopup")->property("color").value<QColor>() == colour;
}

bool FavoritesAreaTest::typeName(const QString &text) const
{
    QQuickItem *field = m_fixture->findItem(QStringLiteral("favoriteNameField"));
    if (!m_fixture->click(field))
        return false;
    QTest::keyClick(field->window(), Qt::Key_A, Qt::ControlModifier);
    for (const QChar c : text)
        QTest::keyClick(field->window(), c.toLatin1());
    return field->property("text").toString() == text;
}

QByteArray FavoritesAreaTest::commandFile() const
{
    return TestFiles::read(m_fixture->dataFolder() + QStringLiteral("ZPluginData/KIVData/kiv.zvr"));
}

void FavoritesAreaTest::setDialogsAddEditRemoveAndPersist()
{
    QVERIFY(start());
    SystemDataService *system = m_fixture->system();
    QObject *dialog = popup("favoritePopup");

    // Add: a name and a colour picked in the colour dialog.
    QVERIFY(m_fixture->click(QStringLiteral("addFavoriteSetButton")));
    QTRY_VERIFY(dialog->property("opened").toBool());
    QCOMPARE(m_fixture->findItem(QStringLiteral("favoritePopupTitle"))->property("text").toString(),
             QStringLiteral("Add New Favorite Set"));
    QQuickItem *accept = m_fixture->findItem(QStringLiteral("favoriteAcceptButton"));
    QVERIFY(!accept->isEnabled());
    // The name of another set is refused where it is typed.
    QVERIFY(typeName(QStringLiteral("Scene")));
    QVERIFY(!accept->isEnabled());
    QVERIFY(m_fixture->findItem(QStringLiteral("favoriteNameTaken"))->isVisible());
    QVERIFY(typeName(QStringLiteral("Details")));
    QVERIFY(accept->isEnabled());
    QVERIFY(pickColour(QColor(0x20, 0x80, 0xc0, 0x99)));
    QVERIFY(m_fixture->click(QStringLiteral("favoriteAcceptButton")));
    QTRY_VERIFY(!dialog->property("visible").toBool());
    QCOMPARE(setNames(*system), storedSets + QStringList{QStringLiteral("Details")});
    QCOMPARE(setNamed(*system, QStringLiteral("Details"))->color(), QStringLiteral("#992080c0"));

    // Edit the new set: the dialog comes filled in.
    QVERIFY(m_fixture->click(tab(4)));
    QCOMPARE(shownSet(), setNamed(*system, QStringLiteral("Details")));
    QVERIFY(m_fixture->click(QStringLiteral("editFavoriteSetButton")));
    QTRY_VERIFY(dialog->property("opened").toBool());
    QCOMPARE(m_fixture->findItem(QStringLiteral("favoritePopupTitle"))->property("text").toString(),
             QStringLiteral("Edit Favorite Set"));
    QCOMPARE(m_fixture->findItem(QStringLiteral("favoriteNameField"))->property("text").toString(),
             QStringLiteral("Details"));
    QCOMPARE(dialog->property("color").value<QColor>(), QColor(0x20, 0x80, 0xc0, 0x99));
    // Its own name is no clash.
    QVERIFY(!m_fixture->findItem(QStringLiteral("favoriteNameTaken"))->isVisible());
    QVERIFY(typeName(QStringLiteral("Polish")));
    QVERIFY(pickColour(QColor(0xd0, 0x60, 0x10)));
    QVERIFY(m_fixture->click(QStringLiteral("favoriteAcceptButton")));
    QTRY_VERIFY(!dialog->property("visible").toBool());
    QCOMPARE(setNames(*system).last(), QStringLiteral("Polish"));
    QCOMPARE(setNamed(*system, QStringLiteral("Polish"))->color(), QStringLiteral("#ffd06010"));
    QCOMPARE(m_fixture->findItem(QStringLiteral("favoriteTabLabel"), tab(4))->property("text").toString(),
             QStringLiteral("Polish"));

    // Remove "Surface" after a cancelled first try.
    QVERIFY(m_fixture->click(tab(2)));
    QObject *confirm = popup("removeFavoriteSetPopup");
    QVERIFY(m_fixture->click(QStringLiteral("removeFavoriteSetButton")));
    QTRY_VERIFY(confirm->property("opened").toBool());
    QVERIFY(m_fixture->click(m_fixture->findItem(QStringLiteral("cancelButton"), confirm)));
    QTRY_VERIFY(!confirm->property("visible").toBool());
    QCOMPARE(setNames(*system).size(), 5);
    QVERIFY(m_fixture->click(QStringLiteral("removeFavoriteSetButton")));
    QTRY_VERIFY(confirm->property("opened").toBool());
    QVERIFY(m_fixture->click(m_fixture->findItem(QStringLiteral("acceptButton"), confirm)));
    QTRY_VERIFY(!confirm->property("visible").toBool());
    const QStringList expected{QStringLiteral("Default"), QStringLiteral("Sculpt"), QStringLiteral("Scene"),
                               QStringLiteral("Polish")};
    QCOMPARE(setNames(*system), expected);
    QCOMPARE(shownSet(), setNamed(*system, QStringLiteral("Sculpt")));

    QVERIFY(restart());
    system = m_fixture->system();
    QCOMPARE(setNames(*system), expected);
    QCOMPARE(setNamed(*system, QStringLiteral("Polish"))->color(), QStringLiteral("#ffd06010"));
    QCOMPARE(memberNames(setNamed(*system, QStringLiteral("Scene"))),
             (QStringList{QStringLiteral("Sphere3D"), QStringLiteral("Grass"), QStringLiteral("Floor")}));
}

void FavoritesAreaTest::defaultSetStaysFirstAndFixed()
{
    QVERIFY(start());
    SystemDataService *system = m_fixture->system();
    QCOMPARE(shownSet(), system->favoriteSets().first());
    QVERIFY(!m_fixture->findItem(QStringLiteral("removeFavoriteSetButton"))->isEnabled());
    QVERIFY(!m_fixture->findItem(QStringLiteral("editFavoriteSetButton"))->isEnabled());
    QVERIFY(m_fixture->click(tab(1)));
    QVERIFY(m_fixture->findItem(QStringLiteral("removeFavoriteSetButton"))->isEnabled());
    QVERIFY(m_fixture->findItem(QStringLiteral("editFavoriteSetButton"))->isEnabled());

    // "Default" does not move when dragged onto another tab.
    QQuickItem *first = tab(0);
    QVERIFY(m_fixture->drag(first, QPointF(first->width() / 2, first->height() / 2),
                            first->mapFromItem(tab(2), QPointF(tab(2)->width() / 2, tab(2)->height() / 2))));
    QCOMPARE(setNames(*system), storedSets);

    // Dropped onto "Default", "Scene" lands right after it.
    QQuickItem *last = tab(3);
    QVERIFY(m_fixture->drag(last, QPointF(last->width() / 2, last->height() / 2),
                            last->mapFromItem(tab(0), QPointF(tab(0)->width() / 2, tab(0)->height() / 2))));
    QCOMPARE(setNames(*system), (QStringList{QStringLiteral("Default"), QStringLiteral("Scene"),
                                             QStringLiteral("Sculpt"), QStringLiteral("Surface")}));
}

void FavoritesAreaTest::tabAndTileDragsPersist()
{
    QVERIFY(start());
    SystemDataService *system = m_fixture->system();

    // "Sculpt" dragged onto "Surface" goes after it and stays the shown set.
    QVERIFY(m_fixture->click(tab(1)));
    QQuickItem *dragged = tab(1);
    QQuickItem *over = tab(2);
    const QPointF from(dragged->width() / 2, dragged->height() / 2);
    // On the way the marker shows at the far edge of the tab below the pointer.
    QTest::mousePress(dragged->window(), Qt::LeftButton, Qt::NoModifier, dragged->mapToScene(from).toPoint());
    const QPointF target = over->mapToScene(QPointF(over->width() / 2, over->height() / 2));
    for (int step = 1; step <= 10; ++step)
        QTest::mouseMove(dragged->window(), (dragged->mapToScene(from) + (target - dragged->mapToScene(from)) * step / 10).toPoint(), 15);
    QQuickItem *marker = m_fixture->findItem(QStringLiteral("favoriteDropMarker"), over);
    QTRY_VERIFY(marker->isVisible());
    QCOMPARE(marker->y() + marker->height(), over->height());
    QTest::mouseRelease(dragged->window(), Qt::LeftButton, Qt::NoModifier, target.toPoint());
    QCoreApplication::processEvents();
    const QStringList moved{QStringLiteral("Default"), QStringLiteral("Surface"), QStringLiteral("Sculpt"),
                            QStringLiteral("Scene")};
    QCOMPARE(setNames(*system), moved);
    QCOMPARE(shownSet(), setNamed(*system, QStringLiteral("Sculpt")));
    QCOMPARE(m_fixture->mainWindow()->property("favoriteSetIndex").toInt(), 2);

    // The first tile dropped on the third.
    QQuickItem *firstTile = tile(0);
    QQuickItem *thirdTile = tile(2);
    QVERIFY(firstTile && thirdTile);
    QVERIFY(m_fixture->drag(firstTile, QPointF(firstTile->width() / 2, firstTile->height() / 2),
                            firstTile->mapFromItem(thirdTile, QPointF(thirdTile->width() / 2, thirdTile->height() / 2))));
    const QStringList reordered{QStringLiteral("MatCap Gray"), QStringLiteral("Alpha 02"), QStringLiteral("Standard")};
    QCOMPARE(memberNames(setNamed(*system, QStringLiteral("Sculpt"))), reordered);
    QCOMPARE(m_fixture->findItem(QStringLiteral("tileName"), tile(2))->property("text").toString(),
             QStringLiteral("Standard"));

    QVERIFY(restart());
    system = m_fixture->system();
    QCOMPARE(setNames(*system), moved);
    QCOMPARE(memberNames(setNamed(*system, QStringLiteral("Sculpt"))), reordered);
}

void FavoritesAreaTest::tabDroppedOutsideSpringsBack()
{
    QVERIFY(start());
    QQuickItem *dragged = tab(2);
    QQuickItem *face = m_fixture->findItem(QStringLiteral("favoriteTabFace"), dragged);
    QQuickItem *grid = m_fixture->findItem(QStringLiteral("favoriteGrid"), area());
    // Down past the last tab, onto the empty strip.
    const QPointF below = dragged->mapFromItem(grid, QPointF(0, grid->height() - 10));
    QVERIFY(m_fixture->drag(dragged, QPointF(dragged->width() / 2, dragged->height() / 2),
                            QPointF(dragged->width() / 2, below.y())));
    QCOMPARE(setNames(*m_fixture->system()), storedSets);
    QVERIFY(face->y() > 0);
    QTRY_COMPARE_WITH_TIMEOUT(face->y(), 0.0, 5000);
}

void FavoritesAreaTest::tileClickActivatesOrSelects_data()
{
    QTest::addColumn<bool>("doubleClickActivate");
    QTest::newRow("single click activates") << false;
    QTest::newRow("double click activates") << true;
}

void FavoritesAreaTest::tileClickActivatesOrSelects()
{
    QFETCH(bool, doubleClickActivate);
    m_fixture->storeSetting(DatabaseService::SingleClick, !doubleClickActivate);
    QVERIFY(start());
    SystemDataService *system = m_fixture->system();
    QQuickWindow *main = m_fixture->mainWindow();
    QVERIFY(m_fixture->click(QStringLiteral("kindButton_material")));
    QVERIFY(m_fixture->click(tab(1)));
    Resource *material = member(QStringLiteral("Sculpt"), 1);
    QCOMPARE(material->name(), QStringLiteral("MatCap Gray"));

    QVERIFY(m_fixture->click(tile(1)));
    if (doubleClickActivate) {
        QVERIFY(commandFile().isEmpty());
        QVERIFY(m_fixture->doubleClick(tile(1)));
    }
    const QByteArray command = commandFile();
    QVERIFY2(command.contains("Material:MatCap Gray"), command.constData());
    QCOMPARE(system->selectedFavoriteIndex(), 1);
    QVERIFY(tile(1)->property("selected").toBool());

    // The window shows the material in its details and the material view selects it.
    const int row = catalogue("materialData")->getIndexForItem(material);
    QVERIFY(row >= 0);
    QCOMPARE(main->property("currentSelectedItem").value<QObject *>(), material);
    QCOMPARE(main->property("detailsKind").toString(), QStringLiteral("material"));
    QCOMPARE(main->property("selectedItems").toMap().value(QStringLiteral("material")).toList(), QVariantList{row});
    QCOMPARE(catalogue("materialData")->selectedItem(), material);
    QQuickItem *view = m_fixture->findItem(QStringLiteral("resourceView_material"));
    QVERIFY(view);
    QCOMPARE(view->property("currentRow").toInt(), row);

    // A brush of the set while materials are shown: the brush becomes the selected
    // item of its own kind, the material view keeps its selection.
    QVERIFY(m_fixture->click(tile(0)));
    Resource *brush = member(QStringLiteral("Sculpt"), 0);
    QCOMPARE(main->property("currentSelectedItem").value<QObject *>(), brush);
    QCOMPARE(main->property("detailsKind").toString(), QStringLiteral("brush"));
    QCOMPARE(main->property("selectedItems").toMap().value(QStringLiteral("brush")).toList(),
             QVariantList{catalogue("brushData")->getIndexForItem(brush)});
    QCOMPARE(view->property("currentRow").toInt(), row);
    QCOMPARE(system->selectedFavoriteIndex(), 0);
    if (doubleClickActivate)
        QVERIFY(commandFile().contains("Material:"));
    else
        QVERIFY(commandFile().contains("Brush:Standard"));
}

void FavoritesAreaTest::starRemovesFavourite()
{
    QVERIFY(start());
    SystemDataService *system = m_fixture->system();
    QVERIFY(m_fixture->click(tab(2)));
    Resource *texture = member(QStringLiteral("Surface"), 1);
    QCOMPARE(texture->name(), QStringLiteral("Stone"));
    QVERIFY(texture->favorite());
    ResourceDataService *textures = catalogue("textureData");
    const int row = textures->getIndexForItem(texture);
    const int favouriteRole = textures->roleNames().key("favorite");

    QVERIFY(m_fixture->click(m_fixture->findItem(QStringLiteral("tileStar"), tile(1))));
    QCOMPARE(memberNames(setNamed(*system, QStringLiteral("Surface"))),
             (QStringList{QStringLiteral("SkinShade4"), QStringLiteral("Move")}));
    QVERIFY(!texture->favorite());
    QVERIFY(!textures->model()->index(row, 0).data(favouriteRole).toBool());
    QCOMPARE(m_fixture->findItem(QStringLiteral("tileName"), tile(1))->property("text").toString(), QStringLiteral("Move"));
    QVERIFY(!tile(2));

    QVERIFY(restart());
    QCOMPARE(memberNames(setNamed(*m_fixture->system(), QStringLiteral("Surface"))),
             (QStringList{QStringLiteral("SkinShade4"), QStringLiteral("Move")}));
}

void FavoritesAreaTest::removingLastTabSelectsOneBefore()
{
    QVERIFY(start());
    SystemDataService *system = m_fixture->system();
    QVERIFY(m_fixture->click(tab(3)));
    Resource *tool = member(QStringLiteral("Scene"), 0);
    Resource *material = member(QStringLiteral("Surface"), 0);
    QVERIFY(tool->favorite() && !material->favorite());
    QVERIFY(m_fixture->click(QStringLiteral("removeFavoriteSetButton")));
    QObject *confirm = popup("removeFavoriteSetPopup");
    QTRY_VERIFY(confirm->property("opened").toBool());
    QVERIFY(confirm->property("message").toString().contains(QStringLiteral("Scene")));
    QVERIFY(m_fixture->click(m_fixture->findItem(QStringLiteral("acceptButton"), confirm)));
    QTRY_VERIFY(!confirm->property("visible").toBool());
    QCOMPARE(setNames(*system), storedSets.mid(0, 3));
    QCOMPARE(system->currentFavoriteSet(), setNamed(*system, QStringLiteral("Surface")));
    QCOMPARE(m_fixture->mainWindow()->property("favoriteSetIndex").toInt(), 2);
    // The favourite marks moved with it.
    QVERIFY(material->favorite());
    QVERIFY(tab(2)->property("current").toBool());
}

void FavoritesAreaTest::ctrlWCyclesInBothWindows()
{
    QVERIFY(start());
    SystemDataService *system = m_fixture->system();
    QQuickWindow *main = m_fixture->mainWindow();
    for (int expected : {1, 2, 3, 0}) {
        QVERIFY(m_fixture->keyClick(main, Qt::Key_W, Qt::ControlModifier));
        QCOMPARE(shownSet(), system->favoriteSets().at(expected));
        QVERIFY(tab(expected)->property("current").toBool());
    }
    QVERIFY(m_fixture->click(tab(2)));

    system->setMiniMode(true);
    QQuickWindow *mini = m_fixture->miniWindow();
    QVERIFY(m_fixture->waitForRendering(mini));
    QCOMPARE(shownSet(mini), system->favoriteSets().at(2));
    for (int expected : {3, 0, 1}) {
        QVERIFY(m_fixture->keyClick(mini, Qt::Key_W, Qt::ControlModifier));
        QCOMPARE(shownSet(mini), system->favoriteSets().at(expected));
        QCOMPARE(system->currentFavoriteSet(), system->favoriteSets().at(expected));
    }
    // The main window shows the same set again when it comes back.
    system->setMiniMode(false);
    QCOMPARE(shownSet(), system->favoriteSets().at(1));
}

void FavoritesAreaTest::miniWindowShowsSets_data()
{
    QTest::addColumn<bool>("horizontal");
    QTest::newRow("vertical") << false;
    QTest::newRow("horizontal") << true;
}

void FavoritesAreaTest::miniWindowShowsSets()
{
    QFETCH(bool, horizontal);
    m_fixture->storeSetting(DatabaseService::HorizontalMiniMode, horizontal);
    QVERIFY(start());
    SystemDataService *system = m_fixture->system();
    system->setMiniMode(true);
    QQuickWindow *mini = m_fixture->miniWindow();
    QVERIFY(m_fixture->waitForRendering(mini));
    QQuickItem *shown = area(mini);
    QVERIFY(!m_fixture->findItem(QStringLiteral("favoritesTopBar"), shown)->isVisible());
    QQuickItem *strip = m_fixture->findItem(QStringLiteral("favoriteTabStrip"), shown);
    QQuickItem *grid = m_fixture->findItem(QStringLiteral("favoriteGrid"), shown);
    if (horizontal) {
        QCOMPARE(strip->height(), 27.0);
        QCOMPARE(strip->width(), shown->width());
        QCOMPARE(strip->y() + strip->height(), shown->height());
        QVERIFY(grid->y() + grid->height() <= strip->y());
    } else {
        QCOMPARE(strip->width(), 27.0);
        QCOMPARE(strip->height(), shown->height());
        QCOMPARE(grid->x(), 27.0);
    }

    QVERIFY(m_fixture->click(tab(3, mini)));
    QCOMPARE(system->currentFavoriteSet(), system->favoriteSets().at(3));
    QCOMPARE(system->selectedFavoriteIndex(), -1);
    QVERIFY(tile(2, mini));
    QCOMPARE(m_fixture->findItem(QStringLiteral("tileName"), tile(2, mini))->property("text").toString(),
             QStringLiteral("Floor"));
    QVERIFY(!tile(2, mini)->property("enableTooltips").toBool());
    // The always-visible scroll bar covers no tile, not even in the narrow strip.
    QQuickItem *bar = m_fixture->findItem(QStringLiteral("favoriteScrollBar"), shown);
    QVERIFY(bar && bar->isVisible() && bar->width() > 0);
    const QRectF barRect(bar->mapToScene(QPointF()), bar->size());
    for (int i = 0; i < 3; ++i) {
        const QRectF tileRect(tile(i, mini)->mapToScene(QPointF()), tile(i, mini)->size());
        QVERIFY2(!tileRect.intersects(barRect), qPrintable(QString::number(i)));
    }
    // Activation works without a main view to follow.
    QVERIFY(m_fixture->doubleClick(tile(0, mini)));
    QVERIFY(commandFile().contains("Tool:Sphere3D"));
    QCOMPARE(system->selectedFavoriteIndex(), 0);
}

void FavoritesAreaTest::iconSizeIsRemembered()
{
    QVERIFY(start());
    QVERIFY(m_fixture->click(tab(1)));
    QCOMPARE(tile(0)->width(), 92.0);
    QVERIFY(m_fixture->click(QStringLiteral("favoritesIconSizeButton")));
    QCOMPARE(tile(0)->width(), 92.0 * 1.75);
    QVERIFY(restart());
    QCOMPARE(area()->property("tileScale").toReal(), 1.75);
    QVERIFY(m_fixture->click(QStringLiteral("favoritesIconSizeButton")));
    QVERIFY(restart());
    QCOMPARE(area()->property("tileScale").toReal(), 1.0);
}

QTEST_MAIN(FavoritesAreaTest)
#include "tst_favoritesarea.moc"
