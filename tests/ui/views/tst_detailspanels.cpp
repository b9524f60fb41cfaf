// The details panels driven as a person would: what they write must reach every
// selected resource and still be there after a restart.
#include "viewtestbase.h"

#include "Model/brushdataservice.h"
#include "Model/favoriteset.h"
#include "Model/resourcedataservice.h"
#include "Model/systemdataservice.h"

#include <QtTest>

class DetailsPanelsTest : public ViewTestBase
{
    Q_OBJECT

private slots:
    void init() { m_fixture.reset(); }
    void cleanup() { finish(); }
    void categoryAndTagForThreeSurviveRestart();
    void categoryButtonGoesToEverySelected();
    void descriptionIsStoredForItsOwnResource();
    void brushTypeChosenIsStored();
    void ignoredAlphaLeavesDefaultView();
    void starOfSeveralAddsAllThenRemovesAll();

private:
    // Selects the first count rows of a kind with a click and a Shift-click.
    bool selectFirst(const QString &kind, int count);
    QQuickItem *panelItem(const QString &name) const { return scrolledTo(item(name)); }
};

bool DetailsPanelsTest::selectFirst(const QString &kind, int count)
{
    m_fixture->system()->setDoubleClickActivate(true);
    if (!m_fixture->click(tile(kind, 0)))
        return false;
    if (count > 1 && !m_fixture->click(tile(kind, count - 1), Qt::LeftButton, Qt::ShiftModifier))
        return false;
    return selection(kind).size() == count;
}

void DetailsPanelsTest::categoryAndTagForThreeSurviveRestart()
{
    QVERIFY(start());
    QVERIFY(selectFirst(QStringLiteral("brush"), 3));
    QCOMPARE(item(QStringLiteral("detailsTitle"))->property("text").toString(), QStringLiteral("3 brushes selected"));
    QVERIFY(!item(QStringLiteral("descriptionSection"))->isVisible());

    QVERIFY(typeInto(panelItem(QStringLiteral("categoryEdit")), QStringLiteral("Rocks"), true));
    QVERIFY(typeInto(panelItem(QStringLiteral("tagEdit")), QStringLiteral("sharp"), true));
    QCOMPARE(item(QStringLiteral("categoryEdit"))->property("text").toString(), QString());
    QVERIFY(item(QStringLiteral("categoryToggle_Rocks"))->property("checked").toBool());
    QVERIFY(item(QStringLiteral("tagToggle_sharp"))->property("checked").toBool());

    QVERIFY(restart());
    ResourceDataService *brushes = catalogue("brushData");
    QCOMPARE(brushes->model()->rowCount(), 3);
    for (int row = 0; row < 3; ++row) {
        QVERIFY2(brushes->resourceHasCategory(row, QStringLiteral("Rocks")), qPrintable(QString::number(row)));
        QVERIFY2(brushes->resourceHasTag(row, QStringLiteral("sharp")), qPrintable(QString::number(row)));
    }
    QVERIFY(brushes->categories()->stringList().contains(QStringLiteral("Rocks")));
    QVERIFY(brushes->tags()->stringList().contains(QStringLiteral("sharp")));
}

void DetailsPanelsTest::categoryButtonGoesToEverySelected()
{
    QVERIFY(start());
    ResourceDataService *brushes = catalogue("brushData");
    brushes->addCategory(QStringLiteral("Wood"));
    brushes->addCategoryToResource(0, QStringLiteral("Wood"));
    brushes->addCategoryToResource(1, QStringLiteral("Wood"));
    QVERIFY(selectFirst(QStringLiteral("brush"), 3));
    QQuickItem *wood = panelItem(QStringLiteral("categoryToggle_Wood"));
    // Not every selected brush has it.
    QVERIFY(!wood->property("checked").toBool());

    QVERIFY(m_fixture->click(wood));
    QVERIFY(wood->property("checked").toBool());
    for (int row = 0; row < 3; ++row)
        QVERIFY(brushes->resourceHasCategory(row, QStringLiteral("Wood")));
    QVERIFY(m_fixture->click(wood));
    QVERIFY(!wood->property("checked").toBool());
    for (int row = 0; row < 3; ++row)
        QVERIFY(!brushes->resourceHasCategory(row, QStringLiteral("Wood")));
    // One brush alone: the button follows that brush.
    brushes->addCategoryToResource(2, QStringLiteral("Wood"));
    QVERIFY(m_fixture->click(tile("brush", 2)));
    QVERIFY(panelItem(QStringLiteral("categoryToggle_Wood"))->property("checked").toBool());
}

void DetailsPanelsTest::descriptionIsStoredForItsOwnResource()
{
    QVERIFY(start());
    ResourceDataService *brushes = catalogue("brushData");
    const QString described = brushes->model()->index(1, 0).data(258).toString();
    QVERIFY(selectFirst(QStringLiteral("brush"), 1));
    QVERIFY(m_fixture->click(tile("brush", 1)));
    QCOMPARE(item(QStringLiteral("detailsTitle"))->property("text").toString(), described);
    QVERIFY(typeInto(item(QStringLiteral("descriptionBox")), QStringLiteral("soft edges"), false));
    // Choosing another brush at once must not carry the text over to it.
    QVERIFY(m_fixture->click(tile("brush", 0)));
    QCOMPARE(item(QStringLiteral("descriptionBox"))->property("text").toString(), QString());

    QVERIFY(restart());
    brushes = catalogue("brushData");
    QCOMPARE(brushes->model()->index(1, 0).data(258).toString(), described);
    QCOMPARE(brushes->model()->index(1, 0).data(264).toString(), QStringLiteral("soft edges"));
    QCOMPARE(brushes->model()->index(0, 0).data(264).toString(), QString());
    QVERIFY(selectFirst(QStringLiteral("brush"), 1));
    QVERIFY(m_fixture->click(tile("brush", 1)));
    QCOMPARE(item(QStringLiteral("descriptionBox"))->property("text").toString(), QStringLiteral("soft edges"));
}

void DetailsPanelsTest::brushTypeChosenIsStored()
{
    QVERIFY(start());
    auto *brushes = qobject_cast<BrushDataService *>(catalogue("brushData"));
    QVERIFY(selectFirst(QStringLiteral("brush"), 2));
    QQuickItem *typeBox = panelItem(QStringLiteral("brushTypeBox"));
    QCOMPARE(typeBox->property("displayText").toString(), QString());

    QVERIFY(m_fixture->click(typeBox));
    const int clay = brushes->brushTypes().indexOf(QStringLiteral("Clay"));
    QQuickItem *entry = comboEntry(clay);
    QVERIFY(entry);
    QVERIFY(m_fixture->click(entry));
    QCOMPARE(brushes->getBrushType(0), 14);
    QCOMPARE(brushes->getBrushType(1), 14);
    QCOMPARE(brushes->getBrushType(2), 0);
    QCOMPARE(typeBox->property("displayText").toString(), QStringLiteral("Clay"));

    // Brushes of different types show no common type.
    QVERIFY(m_fixture->click(tile("brush", 2), Qt::LeftButton, Qt::ShiftModifier));
    QCOMPARE(typeBox->property("displayText").toString(), QString());

    QVERIFY(restart());
    brushes = qobject_cast<BrushDataService *>(catalogue("brushData"));
    QCOMPARE(brushes->getBrushType(0), 14);
    QCOMPARE(brushes->model()->index(1, 0).data(262).toString(), QStringLiteral("Clay"));
}

void DetailsPanelsTest::ignoredAlphaLeavesDefaultView()
{
    QVERIFY(start());
    QVERIFY(m_fixture->click(QStringLiteral("kindButton_alpha")));
    QVERIFY(shownNames("alpha").contains(QStringLiteral("Alpha 02")));
    const int row = shownNames("alpha").indexOf(QStringLiteral("Alpha 02"));
    m_fixture->system()->setDoubleClickActivate(true);
    QVERIFY(m_fixture->click(tile("alpha", row)));
    QCOMPARE(item(QStringLiteral("detailsTitle"))->property("text").toString(), QStringLiteral("Alpha 02"));
    QTRY_COMPARE(item(QStringLiteral("dimensionsText"))->property("text").toString(), QStringLiteral("64x64, 8-bit"));

    QVERIFY(m_fixture->click(item(QStringLiteral("ignoreButton"))));
    QVERIFY(!shownNames("alpha").contains(QStringLiteral("Alpha 02")));
    QTRY_VERIFY(selection("alpha").isEmpty());
    QVERIFY(!item(QStringLiteral("detailsFlickable"))->isVisible());

    QVERIFY(restart());
    QVERIFY(m_fixture->click(QStringLiteral("kindButton_alpha")));
    QVERIFY(!shownNames("alpha").contains(QStringLiteral("Alpha 02")));
    QVERIFY(shownNames("alpha").contains(QStringLiteral("Alpha 01")));
}

void DetailsPanelsTest::starOfSeveralAddsAllThenRemovesAll()
{
    QVERIFY(start());
    auto *set = qobject_cast<FavoriteSet *>(mainWindow()->property("currentFavoriteSet").value<QObject *>());
    QVERIFY(set);
    ResourceDataService *brushes = catalogue("brushData");
    // One of the two is a favourite already: the star is empty and adds the other.
    brushes->addItemToFavorites(1, set);
    QVERIFY(selectFirst(QStringLiteral("brush"), 2));
    QQuickItem *star = item(QStringLiteral("detailsStar"));
    QVERIFY(star->isVisible());
    QTRY_VERIFY(!m_fixture->system()->favOnSource().isEmpty());
    QCOMPARE(star->property("source").toString(), m_fixture->system()->favOffSource());

    QVERIFY(m_fixture->click(star));
    QCOMPARE(set->favorites().size(), 2);
    QCOMPARE(star->property("source").toString(), m_fixture->system()->favOnSource());
    QVERIFY(m_fixture->click(star));
    QVERIFY(set->favorites().isEmpty());
}

QTEST_MAIN(DetailsPanelsTest)
#include "tst_detailspanels.moc"
