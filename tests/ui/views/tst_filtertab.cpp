// The filter tab driven as a person would: each filter narrows the rows of the
// current kind, and clearing all filters brings every row back with every button off.
#include "viewtestbase.h"

#include "Model/alphadataservice.h"
#include "Model/brushdataservice.h"
#include "Model/categoryitem.h"
#include "Model/systemdataservice.h"

#include "tests/common/testfiles.h"

#include <QtTest>

class FilterTabTest : public ViewTestBase
{
    Q_OBJECT

private slots:
    void init() { m_fixture.reset(); }
    void cleanup() { finish(); }
    void makersCategoryNarrowsAndHidesEmptyOnes();
    void userCategoryNarrows();
    void typeAndTagButtonsNarrow();
    void clearAllRestoresRowsAndForgetsChoices();
    void alphaFilters();
    void lightFilters();

private:
    // Brushes with the maker's categories and types of a metadata file, and the tab shown.
    bool startWithMetadata();
    int kivRow(const QString &name) const;
    QQuickItem *button(const QString &name) const { return scrolledTo(item(name)); }
    QStringList sortedNames(const QString &kind) const
    {
        QStringList names = shownNames(kind);
        names.sort();
        return names;
    }
};

bool FilterTabTest::startWithMetadata()
{
    m_fixture = std::make_unique<UiFixture>();
    const QByteArray metadata = "<KIV>\n"
                                "<KIV_Category name=\"Organic\" group=\"Sculpt\"/>\n"
                                "<KIV_Category name=\"Hard\" group=\"Sculpt\"/>\n"
                                "<KIV_Category name=\"Unused\" group=\"Empty\"/>\n"
                                "<Brush name=\"Standard\" category=\"\" kiv_category=\"Organic\" type=\"Standard\"/>\n"
                                "<Brush name=\"ClayBuildup\" category=\"\" kiv_category=\"Hard\" type=\"Clay\"/>\n"
                                "</KIV>\n";
    if (!m_fixture->isValid()
        || !TestFiles::write(m_fixture->zbrushFolder() + QStringLiteral("/ZBrushes/brushes.kiv.xml"), metadata))
        return false;
    return m_fixture->start() && m_fixture->waitForRendering(mainWindow()) && m_fixture->click(QStringLiteral("filterTab"));
}

int FilterTabTest::kivRow(const QString &name) const
{
    const auto rows = qobject_cast<BrushDataService *>(catalogue("brushData"))->kivCategories();
    for (int i = 0; i < rows.size(); ++i) {
        if (rows.at(i)->name() == name)
            return i;
    }
    return -1;
}

void FilterTabTest::makersCategoryNarrowsAndHidesEmptyOnes()
{
    QVERIFY(startWithMetadata());
    auto *brushes = qobject_cast<BrushDataService *>(catalogue("brushData"));
    QQuickItem *combo = item(QStringLiteral("kivCategoryBox"));
    QVERIFY(combo->isVisible());
    QCOMPARE(combo->property("currentIndex").toInt(), 1);
    QCOMPARE(combo->property("displayText").toString(), QStringLiteral("All"));
    m_fixture->system()->setDoubleClickActivate(true);
    QVERIFY(m_fixture->click(tile("brush", 0)));

    QVERIFY(choose(QStringLiteral("kivCategoryBox"), kivRow(QStringLiteral("Organic"))));
    QCOMPARE(shownNames("brush"), QStringList{QStringLiteral("Standard")});
    QCOMPARE(brushes->kivCatFilter(), kivRow(QStringLiteral("Organic")));
    QVERIFY(selection("brush").isEmpty());

    // A category and a group without brushes are not offered; "Default" and "All" are.
    QVERIFY(m_fixture->click(combo));
    for (const char *shown : {"Default", "All", "Sculpt", "Hard"}) {
        QQuickItem *entry = comboEntry(kivRow(QLatin1String(shown)));
        QVERIFY2(entry && entry->isVisible() && entry->height() > 0, shown);
    }
    for (const char *hidden : {"Unused", "Empty"}) {
        QQuickItem *entry = item(QStringLiteral("comboEntry_%1").arg(kivRow(QLatin1String(hidden))));
        QVERIFY2(entry && (!entry->isVisible() || entry->height() == 0), hidden);
    }
    QVERIFY(!comboEntry(kivRow(QStringLiteral("Sculpt")))->isEnabled());
    QVERIFY(m_fixture->click(comboEntry(kivRow(QStringLiteral("All")))));
    QCOMPARE(shownNames("brush").size(), 3);

    // The maker's combo is only offered while the setting shows it.
    m_fixture->system()->setShowKIVCategory(false);
    QVERIFY(!item(QStringLiteral("kivCategoryRow"))->isVisible());
}

void FilterTabTest::userCategoryNarrows()
{
    QVERIFY(startWithMetadata());
    ResourceDataService *brushes = catalogue("brushData");
    brushes->addCategory(QStringLiteral("Basics"));
    const int move = shownNames("brush").indexOf(QStringLiteral("Move"));
    for (int row = 0; row < 3; ++row) {
        if (row != move)
            brushes->addCategoryToResource(row, QStringLiteral("Basics"));
    }
    QCOMPARE(brushes->categories()->stringList(),
             (QStringList{QStringLiteral("All"), QStringLiteral("Unassigned"), QStringLiteral("Basics")}));

    QVERIFY(choose(QStringLiteral("categoryFilterBox"), 2));
    QCOMPARE(sortedNames("brush"), (QStringList{QStringLiteral("ClayBuildup"), QStringLiteral("Standard")}));
    QCOMPARE(brushes->catFilter(), 2);
    QVERIFY(choose(QStringLiteral("categoryFilterBox"), 1));
    QCOMPARE(shownNames("brush"), QStringList{QStringLiteral("Move")});

    // Another kind has its own choice; coming back shows this one again.
    QVERIFY(m_fixture->click(QStringLiteral("kindButton_material")));
    QCOMPARE(item(QStringLiteral("categoryFilterBox"))->property("currentIndex").toInt(), 0);
    QVERIFY(m_fixture->click(QStringLiteral("kindButton_brush")));
    QTRY_COMPARE(item(QStringLiteral("categoryFilterBox"))->property("currentIndex").toInt(), 1);
}

void FilterTabTest::typeAndTagButtonsNarrow()
{
    QVERIFY(startWithMetadata());
    ResourceDataService *brushes = catalogue("brushData");
    QVERIFY(m_fixture->click(button(QStringLiteral("typeFilter_14"))));
    QCOMPARE(shownNames("brush"), QStringList{QStringLiteral("ClayBuildup")});
    QVERIFY(m_fixture->click(button(QStringLiteral("typeFilter_-1"))));
    QCOMPARE(sortedNames("brush"), (QStringList{QStringLiteral("ClayBuildup"), QStringLiteral("Move")}));
    QVERIFY(m_fixture->click(button(QStringLiteral("typeFilter_14"))));
    QVERIFY(m_fixture->click(button(QStringLiteral("typeFilter_-1"))));
    QCOMPARE(shownNames("brush").size(), 3);

    const int move = shownNames("brush").indexOf(QStringLiteral("Move"));
    brushes->addTag(QStringLiteral("rough"));
    brushes->addTagToResource(move, QStringLiteral("rough"));
    QVERIFY(m_fixture->click(button(QStringLiteral("tagFilter_rough"))));
    QCOMPARE(shownNames("brush"), QStringList{QStringLiteral("Move")});
    QVERIFY(brushes->hasTagFilter(QStringLiteral("rough")));
    QVERIFY(m_fixture->click(button(QStringLiteral("tagFilter_rough"))));
    QCOMPARE(shownNames("brush").size(), 3);
}

void FilterTabTest::clearAllRestoresRowsAndForgetsChoices()
{
    QVERIFY(startWithMetadata());
    auto *brushes = qobject_cast<BrushDataService *>(catalogue("brushData"));
    brushes->addTag(QStringLiteral("rough"));
    brushes->addTagToResource(0, QStringLiteral("rough"));
    QVERIFY(choose(QStringLiteral("kivCategoryBox"), kivRow(QStringLiteral("Hard"))));
    QVERIFY(choose(QStringLiteral("categoryFilterBox"), 1));
    QVERIFY(m_fixture->click(button(QStringLiteral("typeFilter_14"))));
    QVERIFY(m_fixture->click(button(QStringLiteral("tagFilter_rough"))));
    QVERIFY(typeSearch(QStringLiteral("zzz")));
    QCOMPARE(shownNames("brush").size(), 0);

    QVERIFY(m_fixture->keyClick(mainWindow(), Qt::Key_Y, Qt::ControlModifier));
    QCOMPARE(shownNames("brush").size(), 3);
    QCOMPARE(item(QStringLiteral("kivCategoryBox"))->property("currentIndex").toInt(), 1);
    QCOMPARE(item(QStringLiteral("categoryFilterBox"))->property("currentIndex").toInt(), 0);
    QVERIFY(!item(QStringLiteral("typeFilter_14"))->property("checked").toBool());
    QVERIFY(!item(QStringLiteral("tagFilter_rough"))->property("checked").toBool());
    QCOMPARE(item(QStringLiteral("searchBox"), view("brush"))->property("text").toString(), QString());

    // The catalogue forgot the choices: a tab built anew shows them off.
    QVERIFY(!brushes->hasTypeFilter(QStringLiteral("14")));
    QVERIFY(!brushes->hasTagFilter(QStringLiteral("rough")));
    QVERIFY(m_fixture->click(QStringLiteral("kindButton_alpha")));
    QVERIFY(m_fixture->click(QStringLiteral("kindButton_brush")));
    QVERIFY(!item(QStringLiteral("typeFilter_14"))->property("checked").toBool());
    QVERIFY(!item(QStringLiteral("tagFilter_rough"))->property("checked").toBool());
}

void FilterTabTest::alphaFilters()
{
    QVERIFY(start());
    auto *alphas = qobject_cast<AlphaDataService *>(catalogue("alphaData"));
    QTRY_COMPARE(alphas->pendingReads(), 0);
    QVERIFY(m_fixture->click(QStringLiteral("kindButton_alpha")));
    QVERIFY(m_fixture->click(QStringLiteral("filterTab")));
    // "Alpha 01" is the built-in 256 x 256 alpha; "Alpha 02" is 64 x 64.
    QVERIFY(m_fixture->click(button(QStringLiteral("sizeFilter_128"))));
    QCOMPARE(shownNames("alpha"), QStringList{QStringLiteral("Alpha 02")});
    QVERIFY(m_fixture->click(button(QStringLiteral("sizeFilter_256"))));
    QCOMPARE(shownNames("alpha").size(), 2);
    QVERIFY(m_fixture->click(button(QStringLiteral("depthFilter_16"))));
    QCOMPARE(shownNames("alpha").size(), 0);
    QVERIFY(m_fixture->click(button(QStringLiteral("depthFilter_8"))));
    QCOMPARE(shownNames("alpha").size(), 2);

    const int row = shownNames("alpha").indexOf(QStringLiteral("Alpha 02"));
    alphas->ignoreAlphas(QVariantList{row}, true);
    QCOMPARE(shownNames("alpha"), QStringList{QStringLiteral("Alpha 01")});
    QVERIFY(m_fixture->click(button(QStringLiteral("ignoredFilter"))));
    QCOMPARE(shownNames("alpha"), QStringList{QStringLiteral("Alpha 02")});

    QVERIFY(m_fixture->keyClick(mainWindow(), Qt::Key_Y, Qt::ControlModifier));
    QCOMPARE(shownNames("alpha"), QStringList{QStringLiteral("Alpha 01")});
    QVERIFY(!alphas->ignoredFilter());
    QVERIFY(!alphas->hasSizeFilter(128));
    QVERIFY(!item(QStringLiteral("ignoredFilter"))->property("checked").toBool());
}

void FilterTabTest::lightFilters()
{
    QVERIFY(start());
    QVERIFY(m_fixture->click(QStringLiteral("kindButton_light")));
    QVERIFY(m_fixture->click(QStringLiteral("filterTab")));
    QCOMPARE(shownNames("light").size(), 2);
    QVERIFY(m_fixture->click(button(QStringLiteral("lightFilter"))));
    QCOMPARE(shownNames("light"), QStringList{QStringLiteral("Studio")});
    QVERIFY(m_fixture->click(button(QStringLiteral("lightCapFilter"))));
    QCOMPARE(shownNames("light").size(), 2);
    QVERIFY(m_fixture->click(button(QStringLiteral("lightFilter"))));
    QCOMPARE(shownNames("light"), QStringList{QStringLiteral("Rim")});
    // No type section for kinds without types.
    QVERIFY(m_fixture->click(QStringLiteral("kindButton_material")));
    QVERIFY(!item(QStringLiteral("typesLoader"))->property("item").value<QObject *>());
}

QTEST_MAIN(FilterTabTest)
#include "tst_filtertab.moc"
