// The resource views driven as a person would: searching, clicking to select and to
// send a resource to ZBrush, Shift and Control selection in the grid and the table,
// the favourite star, header sorting and the view mode.
#include "viewtestbase.h"

#include "Model/favoriteset.h"
#include "Model/resourcedataservice.h"
#include "Model/systemdataservice.h"

#include "tests/common/zbrushcommand.h"

#include <QtTest>

#include <algorithm>

class ResourceViewsTest : public ViewTestBase
{
    Q_OBJECT

private slots:
    void init() { m_fixture.reset(); }
    void cleanup() { finish(); }
    void searchNarrowsGridAndEmptiesSelection();
    void clickActivatesAndSelects_data();
    void clickActivatesAndSelects();
    void projectAsksBeforeActivation();
    void shiftAndControlSelect_data();
    void shiftAndControlSelect();
    void starAddsToShownSetAndRemoves();
    void middleClickOpensFolder();
    void headerClickSortsTable();
    void selectionFollowsResourcesWhenViewFilters();
    void viewModeCyclesAndSurvivesRestart();

private:
    bool showTable(const QString &kind);
    QQuickItem *entry(const QString &kind, int row, bool table) const
    {
        return table ? tableRow(kind, row) : tile(kind, row);
    }
};

static QVariantList sorted(QVariantList rows)
{
    std::sort(rows.begin(), rows.end(), [](const QVariant &a, const QVariant &b) { return a.toInt() < b.toInt(); });
    return rows;
}

bool ResourceViewsTest::showTable(const QString &kind)
{
    // 2 small tiles -> 3 medium -> 0 large -> 1 table.
    for (int i = 0; i < 3; ++i) {
        if (!m_fixture->click(item(QStringLiteral("viewModeButton"), view(kind))))
            return false;
    }
    return view(kind)->property("viewType").toInt() == 1;
}

void ResourceViewsTest::searchNarrowsGridAndEmptiesSelection()
{
    QVERIFY(start());
    QCOMPARE(shownNames("brush").size(), 3);
    QVERIFY(m_fixture->click(tile("brush", 0)));
    QCOMPARE(selection("brush").size(), 1);
    QVERIFY(item(QStringLiteral("detailsFlickable"))->isVisible());

    QVERIFY(typeSearch(QStringLiteral("clay")));
    QCOMPARE(shownNames("brush"), QStringList{QStringLiteral("ClayBuildup")});
    QVERIFY(selection("brush").isEmpty());
    QVERIFY(!item(QStringLiteral("detailsFlickable"))->isVisible());
    QVERIFY(tile("brush", 0) && !tile("brush", 1));

    QVERIFY(m_fixture->click(item(QStringLiteral("clearSearchButton"), view("brush"))));
    QCOMPARE(shownNames("brush").size(), 3);
    QCOMPARE(item(QStringLiteral("searchBox"), view("brush"))->property("text").toString(), QString());
}

void ResourceViewsTest::clickActivatesAndSelects_data()
{
    QTest::addColumn<bool>("doubleClickActivate");
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<bool>("activates");
    QTest::newRow("single click activates when double-click activation is off") << false << false << true;
    QTest::newRow("single click only selects when it is on") << true << false << false;
    QTest::newRow("double click activates when it is on") << true << true << true;
}

void ResourceViewsTest::clickActivatesAndSelects()
{
    QFETCH(bool, doubleClickActivate);
    QFETCH(bool, doubleClick);
    QFETCH(bool, activates);
    QVERIFY(start());
    m_fixture->system()->setDoubleClickActivate(doubleClickActivate);
    QVERIFY(removeCommandFile());
    ResourceDataService *brushes = catalogue("brushData");
    const QModelIndex first = brushes->model()->index(1, 0);
    const QString name = first.data(258).toString();
    const QString path = first.data(259).toString();

    QVERIFY(doubleClick ? m_fixture->doubleClick(tile("brush", 1)) : m_fixture->click(tile("brush", 1)));

    QCOMPARE(selection("brush"), QVariantList{1});
    QCOMPARE(mainWindow()->property("currentSelectedItem").value<QObject *>(), brushes->selectedItem());
    QCOMPARE(brushes->selectedItem()->property("name").toString(), name);
    QCOMPARE(item(QStringLiteral("detailsTitle"))->property("text").toString(), name);
    const QByteArray expected = zbrushCommand(0.0f, "Brush:" + name.toUtf8(), path.toUtf8());
    QCOMPARE(commandFile(), activates ? expected : QByteArray());
}

void ResourceViewsTest::projectAsksBeforeActivation()
{
    QVERIFY(start());
    m_fixture->system()->setDoubleClickActivate(false);
    QVERIFY(removeCommandFile());
    QVERIFY(m_fixture->click(QStringLiteral("kindButton_project")));
    QVERIFY(m_fixture->click(tile("project", 0)));
    QObject *popup = m_fixture->findObject(QStringLiteral("activateConfirmPopup"), view("project"));
    QVERIFY(popup);
    QTRY_VERIFY(popup->property("visible").toBool());
    QCOMPARE(popup->property("title").toString(), QStringLiteral("Open project?"));
    QCOMPARE(commandFile(), QByteArray());

    QVERIFY(m_fixture->click(item(QStringLiteral("acceptButton"), popup)));
    QVERIFY(commandFile().contains("DemoHead.zpr"));
}

void ResourceViewsTest::shiftAndControlSelect_data()
{
    QTest::addColumn<bool>("table");
    QTest::newRow("grid") << false;
    QTest::newRow("table") << true;
}

void ResourceViewsTest::shiftAndControlSelect()
{
    QFETCH(bool, table);
    QVERIFY(start());
    m_fixture->system()->setDoubleClickActivate(true);
    if (table)
        QVERIFY(showTable(QStringLiteral("brush")));

    QVERIFY(m_fixture->click(entry("brush", 0, table)));
    QVERIFY(m_fixture->click(entry("brush", 2, table), Qt::LeftButton, Qt::ShiftModifier));
    QCOMPARE(sorted(selection("brush")), (QVariantList{0, 1, 2}));
    QCOMPARE(item(QStringLiteral("detailsTitle"))->property("text").toString(), QStringLiteral("3 brushes selected"));

    QVERIFY(m_fixture->click(entry("brush", 1, table)));
    QCOMPARE(selection("brush"), QVariantList{1});
    QVERIFY(m_fixture->click(entry("brush", 2, table), Qt::LeftButton, Qt::ControlModifier));
    QCOMPARE(sorted(selection("brush")), (QVariantList{1, 2}));
    // Shift reaches from the row Control made current.
    QVERIFY(m_fixture->click(entry("brush", 0, table), Qt::LeftButton, Qt::ShiftModifier));
    QCOMPARE(sorted(selection("brush")), (QVariantList{0, 1, 2}));
    QVERIFY(entry("brush", 0, table)->property("selected").toBool());
}

void ResourceViewsTest::starAddsToShownSetAndRemoves()
{
    QVERIFY(start());
    auto *set = qobject_cast<FavoriteSet *>(mainWindow()->property("currentFavoriteSet").value<QObject *>());
    QVERIFY(set);
    ResourceDataService *brushes = catalogue("brushData");
    const QString name = brushes->model()->index(0, 0).data(258).toString();
    auto members = [set] {
        QStringList names;
        for (QObject *member : set->property("favorites").value<QList<QObject *>>())
            names << member->property("name").toString();
        return names;
    };

    QVERIFY(m_fixture->click(item(QStringLiteral("tileStar"), tile("brush", 0))));
    QCOMPARE(members(), QStringList{name});
    QVERIFY(tile("brush", 0)->property("favorite").toBool());

    QVERIFY(m_fixture->click(item(QStringLiteral("tileStar"), tile("brush", 0))));
    QVERIFY(members().isEmpty());
    QVERIFY(!tile("brush", 0)->property("favorite").toBool());
}

void ResourceViewsTest::middleClickOpensFolder()
{
    QVERIFY(start());
    QVERIFY(m_fixture->click(tile("brush", 0), Qt::MiddleButton));
    QVERIFY(!m_fixture->openedUrls().isEmpty());
    QCOMPARE(m_fixture->openedUrls().constLast(),
             QUrl::fromLocalFile(m_fixture->zbrushFolder() + QStringLiteral("/ZBrushes")));
    // A middle click neither selects nor activates.
    QVERIFY(selection("brush").isEmpty());
}

void ResourceViewsTest::headerClickSortsTable()
{
    QVERIFY(start());
    QVERIFY(showTable(QStringLiteral("brush")));
    QStringList names = shownNames("brush");
    std::sort(names.begin(), names.end());

    QVERIFY(m_fixture->click(item(QStringLiteral("tableHeader_2"))));
    QCOMPARE(shownNames("brush"), names);
    QVERIFY(m_fixture->click(item(QStringLiteral("tableHeader_2"))));
    std::reverse(names.begin(), names.end());
    QCOMPARE(shownNames("brush"), names);
    QCOMPARE(tableRow("brush", 0)->property("rowModel").value<QObject *>()->property("name").toString(), names.first());
}

void ResourceViewsTest::selectionFollowsResourcesWhenViewFilters()
{
    QVERIFY(start());
    m_fixture->system()->setDoubleClickActivate(true);
    ResourceDataService *brushes = catalogue("brushData");
    const QStringList names = shownNames("brush");
    const QString last = names.constLast();
    // Every brush but the first carries the tag.
    for (int row = 1; row < names.size(); ++row)
        brushes->addTagToResource(row, QStringLiteral("keep"));
    brushes->addTag(QStringLiteral("keep"));
    QVERIFY(m_fixture->click(tile("brush", 2)));
    QCOMPARE(item(QStringLiteral("detailsTitle"))->property("text").toString(), last);

    QVERIFY(m_fixture->click(QStringLiteral("filterTab")));
    QVERIFY(m_fixture->click(scrolledTo(item(QStringLiteral("tagFilter_keep")))));
    QCOMPARE(shownNames("brush").size(), 2);
    // The same brush, now one row up.
    QTRY_COMPARE(selection("brush"), QVariantList{1});
    QVERIFY(tile("brush", 1)->property("selected").toBool());
    QVERIFY(!tile("brush", 0)->property("selected").toBool());
}

void ResourceViewsTest::viewModeCyclesAndSurvivesRestart()
{
    QVERIFY(start());
    QQuickItem *brushView = view("brush");
    QCOMPARE(brushView->property("viewType").toInt(), 2);
    QCOMPARE(content("brush")->property("cellWidth").toReal(), 84.0);

    QVERIFY(m_fixture->click(item(QStringLiteral("viewModeButton"), brushView)));
    QCOMPARE(brushView->property("viewType").toInt(), 3);
    QCOMPARE(content("brush")->property("cellWidth").toReal(), 84 * 1.75);
    QCOMPARE(content("brush")->property("cellHeight").toReal(), 70 * 1.75);
    QVERIFY(m_fixture->click(item(QStringLiteral("viewModeButton"), brushView)));
    QCOMPARE(content("brush")->property("cellWidth").toReal(), 84 * 2.8);
    QVERIFY(m_fixture->click(item(QStringLiteral("viewModeButton"), brushView)));
    QCOMPARE(content("brush")->objectName(), QStringLiteral("resourceList"));
    // Other kinds keep their own mode.
    QVERIFY(m_fixture->click(QStringLiteral("kindButton_material")));
    QCOMPARE(view("material")->property("viewType").toInt(), 2);

    QVERIFY(restart());
    QCOMPARE(view("brush")->property("viewType").toInt(), 1);
    QCOMPARE(content("brush")->objectName(), QStringLiteral("resourceList"));
}

QTEST_MAIN(ResourceViewsTest)
#include "tst_resourceviews.moc"
