#include "Model/resourceroles.h"
#include "sorters/alphasorter.h"
#include "sorters/brushsorter.h"
#include "sorters/categoryfilter.h"
#include "sorters/resourcesorter.h"
#include "tests/common/modeltexts.h"

#include <QAbstractItemModelTester>
#include <QDateTime>
#include <QStandardItemModel>
#include <QStringListModel>
#include <QtTest>

using ResourceRoles::AlphaRole;
using ResourceRoles::BrushRole;
using ResourceRoles::GenericRole;

namespace {

using Values = QMap<int, QVariant>;

void addRow(QStandardItemModel &model, const Values &values)
{
    auto *item = new QStandardItem;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        item->setData(it.value(), it.key());
    model.appendRow(item);
}

Values generic(const QString &name, const QStringList &categories = {}, const QStringList &tags = {})
{
    return {{GenericRole::Name, name},
            {GenericRole::Categories, categories},
            {GenericRole::Tags, tags},
            {GenericRole::Favorite, false}};
}

Values brush(const QString &name, int type, const QStringList &categories = {}, const QString &kiv = {},
             const QStringList &tags = {})
{
    return {{BrushRole::Name, name},          {BrushRole::BrushType, type},
            {BrushRole::Categories, categories}, {BrushRole::KivCategory, kiv},
            {BrushRole::Tags, tags},          {BrushRole::Favorite, false}};
}

Values alpha(const QString &name, int width, int height, int depth = 8, bool ignore = false,
             const QStringList &categories = {})
{
    return {{AlphaRole::Name, name},   {AlphaRole::Width, width},           {AlphaRole::Height, height},
            {AlphaRole::Depth, depth}, {AlphaRole::Ignore, ignore},         {AlphaRole::Categories, categories},
            {AlphaRole::Tags, QStringList()}, {AlphaRole::Favorite, false}};
}

// Counts how often the stages run, to see whether a setter re-filtered.
template<typename Sorter>
class Counting : public Sorter
{
public:
    using Sorter::Sorter;
    mutable int calls = 0;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override
    {
        ++calls;
        return Sorter::filterAcceptsRow(sourceRow, sourceParent);
    }
};

} // namespace

class TestCatalogueProxies : public QObject
{
    Q_OBJECT

private slots:
    void categoryStage_data();
    void categoryStage();
    void tagsWidenAndStagesCombine();
    void brushTypeStage_data();
    void brushTypeStage();
    void brushStagesCombineAndReset();
    void alphaSizeStage_data();
    void alphaSizeStage();
    void alphaIgnoredAndDepth();
    void alphaResetKeepsNameFilter();
    void unchangedSettersSkipRefilter();
    void genericSorting();
    void brushAndAlphaSorting();
    void proxiesFollowSourceEdits();
    void categoryFilterHidesBuiltIns();
};

void TestCatalogueProxies::categoryStage_data()
{
    QTest::addColumn<bool>("brushes");
    QTest::addColumn<QString>("category");
    QTest::addColumn<bool>("showAll");
    QTest::addColumn<bool>("unassignedOnly");
    QTest::addColumn<QStringList>("expected");

    const QStringList everything{"none", "emptyText", "metal", "metalSkin", "lowerMetal"};
    for (bool brushes : {false, true}) {
        const char *kind = brushes ? "brush" : "generic";
        QTest::addRow("%s all", kind) << brushes << "All" << true << false << everything;
        QTest::addRow("%s exact", kind) << brushes << "Metal" << false << false
                                        << QStringList{"metal", "metalSkin"};
        QTest::addRow("%s missing", kind) << brushes << "Wood" << false << false << QStringList{};
    }
    // A generic resource stored without categories reads back as one empty category.
    QTest::newRow("generic unassigned") << false << "Unassigned" << false << true
                                        << QStringList{"none", "emptyText"};
    QTest::newRow("brush unassigned") << true << "Unassigned" << false << true << QStringList{"none"};
}

void TestCatalogueProxies::categoryStage()
{
    QFETCH(bool, brushes);
    QFETCH(QString, category);
    QFETCH(bool, showAll);
    QFETCH(bool, unassignedOnly);
    QFETCH(QStringList, expected);

    const QList<QPair<QString, QStringList>> rows{{"none", {}},
                                                  {"emptyText", {QString()}},
                                                  {"metal", {"Metal"}},
                                                  {"metalSkin", {"Skin", "Metal"}},
                                                  {"lowerMetal", {"metal"}}};
    QStandardItemModel source;
    for (const auto &row : rows)
        addRow(source, brushes ? brush(row.first, 0, row.second) : generic(row.first, row.second));

    std::unique_ptr<ResourceSorter> proxy;
    if (brushes)
        proxy = std::make_unique<BrushSorter>(&source);
    else
        proxy = std::make_unique<ResourceSorter>(&source);
    QAbstractItemModelTester tester(proxy.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy->setCategoryFilter(category, showAll, unassignedOnly);
    QCOMPARE(modelTexts(proxy.get(), brushes ? int(BrushRole::Name) : int(GenericRole::Name)), expected);
}

void TestCatalogueProxies::tagsWidenAndStagesCombine()
{
    QStandardItemModel source;
    addRow(source, generic("Clay", {"Organic"}, {"soft"}));
    addRow(source, generic("Chisel", {"Hard"}, {"sharp"}));
    addRow(source, generic("Crumple", {"Organic"}, {"sharp", "soft"}));
    addRow(source, generic("Plain", {"Organic"}, {}));
    ResourceSorter proxy(&source);
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);

    proxy.addTagFilter("soft");
    QCOMPARE(modelTexts(&proxy, GenericRole::Name), (QStringList{"Clay", "Crumple"}));
    proxy.addTagFilter("sharp");
    QCOMPARE(modelTexts(&proxy, GenericRole::Name), (QStringList{"Clay", "Chisel", "Crumple"}));

    proxy.setCategoryFilter("Organic", false, false);
    QCOMPARE(modelTexts(&proxy, GenericRole::Name), (QStringList{"Clay", "Crumple"}));
    // The name stage finds a match anywhere, as a regular expression.
    proxy.setFilterRegularExpression(QRegularExpression("c.a", QRegularExpression::CaseInsensitiveOption));
    QCOMPARE(modelTexts(&proxy, GenericRole::Name), (QStringList{"Clay"}));

    proxy.removeTagFilter("soft");
    proxy.setFilterRegularExpression(QRegularExpression());
    QCOMPARE(modelTexts(&proxy, GenericRole::Name), (QStringList{"Crumple"}));
    proxy.removeTagFilter("sharp");
    QCOMPARE(modelTexts(&proxy, GenericRole::Name), (QStringList{"Clay", "Crumple", "Plain"}));
}

void TestCatalogueProxies::brushTypeStage_data()
{
    QTest::addColumn<QList<int>>("enabled");
    QTest::addColumn<QList<int>>("disabled");
    QTest::addColumn<QStringList>("expected");
    const QStringList all{"untyped", "clay", "standard", "clayToo"};
    QTest::newRow("no choice") << QList<int>{} << QList<int>{} << all;
    QTest::newRow("untyped alone") << QList<int>{-1} << QList<int>{} << QStringList{"untyped"};
    QTest::newRow("untyped and clay") << QList<int>{-1, 14} << QList<int>{}
                                      << QStringList{"untyped", "clay", "clayToo"};
    QTest::newRow("clay alone") << QList<int>{14} << QList<int>{} << QStringList{"clay", "clayToo"};
    QTest::newRow("two types") << QList<int>{14, 1} << QList<int>{} << QStringList{"clay", "standard", "clayToo"};
    QTest::newRow("untyped switched off again") << QList<int>{-1, 1} << QList<int>{-1} << QStringList{"standard"};
    QTest::newRow("everything switched off") << QList<int>{-1, 14} << QList<int>{-1, 14} << all;
}

void TestCatalogueProxies::brushTypeStage()
{
    QFETCH(QList<int>, enabled);
    QFETCH(QList<int>, disabled);
    QStandardItemModel source;
    addRow(source, brush("untyped", 0));
    addRow(source, brush("clay", 14));
    addRow(source, brush("standard", 1));
    addRow(source, brush("clayToo", 14));
    BrushSorter proxy(&source);
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (int type : enabled)
        proxy.setTypeFilter(type, true);
    for (int type : disabled)
        proxy.setTypeFilter(type, false);
    QTEST(modelTexts(&proxy, BrushRole::Name), "expected");
}

void TestCatalogueProxies::brushStagesCombineAndReset()
{
    QStandardItemModel source;
    addRow(source, brush("Clay Buildup", 14, {"Mine"}, "Sculpting", {"fav"}));
    addRow(source, brush("Clay Tubes", 14, {"Mine"}, "Sculpting", {}));
    addRow(source, brush("Clay Polish", 11, {"Mine"}, "Sculpting", {"fav"}));
    addRow(source, brush("Clay Other", 14, {}, "Sculpting", {"fav"}));
    addRow(source, brush("Clay Maker", 14, {"Mine"}, "Hard Surface", {"fav"}));
    addRow(source, brush("Dam", 14, {"Mine"}, "Sculpting", {"fav"}));
    BrushSorter proxy(&source);
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy.setTypeFilter(14, true);
    proxy.setCategoryFilter("Mine", false, false);
    proxy.setKivFilter("Sculpting", false);
    proxy.addTagFilter("fav");
    proxy.setFilterRegularExpression(QRegularExpression("clay", QRegularExpression::CaseInsensitiveOption));
    QCOMPARE(modelTexts(&proxy, BrushRole::Name), QStringList{"Clay Buildup"});
    proxy.setKivFilter("Sculpting", true);
    QCOMPARE(modelTexts(&proxy, BrushRole::Name), (QStringList{"Clay Buildup", "Clay Maker"}));

    // A reset drops every stage but the name: each brush above failed one other stage.
    proxy.setKivFilter("Sculpting", false);
    proxy.resetFilters();
    QCOMPARE(modelTexts(&proxy, BrushRole::Name),
             (QStringList{"Clay Buildup", "Clay Tubes", "Clay Polish", "Clay Other", "Clay Maker"}));
    QVERIFY(proxy.typeFilters().isEmpty());
    QVERIFY(proxy.kivAll());
    QVERIFY(proxy.showAll());
}

void TestCatalogueProxies::alphaSizeStage_data()
{
    QTest::addColumn<QList<int>>("sizes");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("128 skips unread") << QList<int>{128} << QStringList{"tiny", "tall", "huge"};
    QTest::newRow("256 takes 300x200 by its height") << QList<int>{256} << QStringList{"wide", "square256"};
    QTest::newRow("512 takes 300x200 by its width") << QList<int>{512} << QStringList{"wide"};
    QTest::newRow("1024 boundary") << QList<int>{1024} << QStringList{"tall"};
    QTest::newRow("4096 and beyond") << QList<int>{4096} << QStringList{"huge"};
    QTest::newRow("two classes widen") << QList<int>{128, 4096} << QStringList{"tiny", "tall", "huge"};
    QTest::newRow("none chosen") << QList<int>{}
                                 << QStringList{"unread", "tiny", "wide", "square256", "tall", "huge"};
}

void TestCatalogueProxies::alphaSizeStage()
{
    QFETCH(QList<int>, sizes);
    QStandardItemModel source;
    addRow(source, alpha("unread", 0, 0));
    addRow(source, alpha("tiny", 64, 64));
    addRow(source, alpha("wide", 300, 200));
    addRow(source, alpha("square256", 256, 256));
    addRow(source, alpha("tall", 100, 1024));
    addRow(source, alpha("huge", 8192, 64));
    AlphaSorter proxy(&source);
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (int size : sizes)
        proxy.addSizeFilter(size);
    QTEST(modelTexts(&proxy, AlphaRole::Name), "expected");
}

void TestCatalogueProxies::alphaIgnoredAndDepth()
{
    QStandardItemModel source;
    addRow(source, alpha("eight", 256, 256, 8));
    addRow(source, alpha("sixteen", 256, 256, 16));
    addRow(source, alpha("hidden", 256, 256, 16, true));
    addRow(source, alpha("hiddenMetal", 256, 256, 8, true, {"Metal"}));
    AlphaSorter proxy(&source);
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(modelTexts(&proxy, AlphaRole::Name), (QStringList{"eight", "sixteen"}));
    proxy.addDepthFilter(16);
    QCOMPARE(modelTexts(&proxy, AlphaRole::Name), QStringList{"sixteen"});
    proxy.setIgnoredOnly(true);
    QCOMPARE(modelTexts(&proxy, AlphaRole::Name), QStringList{"hidden"});
    proxy.removeDepthFilter(16);
    proxy.setCategoryFilter("Metal", false, false);
    QCOMPARE(modelTexts(&proxy, AlphaRole::Name), QStringList{"hiddenMetal"});
}

void TestCatalogueProxies::alphaResetKeepsNameFilter()
{
    QStandardItemModel alphas;
    addRow(alphas, alpha("Stone", 256, 256, 8, true));
    addRow(alphas, alpha("Stone Big", 4096, 4096, 16));
    addRow(alphas, alpha("Wood", 4096, 4096, 16));
    AlphaSorter alphaProxy(&alphas);
    alphaProxy.setFilterRegularExpression(QRegularExpression("stone", QRegularExpression::CaseInsensitiveOption));
    alphaProxy.setIgnoredOnly(true);
    alphaProxy.addSizeFilter(256);
    alphaProxy.addDepthFilter(8);
    QCOMPARE(modelTexts(&alphaProxy, AlphaRole::Name), QStringList{"Stone"});
    alphaProxy.resetFilters();
    QCOMPARE(modelTexts(&alphaProxy, AlphaRole::Name), QStringList{"Stone Big"});
}

void TestCatalogueProxies::unchangedSettersSkipRefilter()
{
    QStandardItemModel brushes;
    addRow(brushes, brush("Clay", 14));
    addRow(brushes, brush("Move", 17));
    Counting<BrushSorter> brushProxy(&brushes);
    QCOMPARE(brushProxy.rowCount(), 2);

    brushProxy.setTypeFilter(14, true);
    brushProxy.setCategoryFilter("Mine", false, false);
    brushProxy.setKivFilter("Sculpting", false);
    brushProxy.addTagFilter("t");
    const int afterChanges = brushProxy.calls;
    QVERIFY(afterChanges > 0);
    brushProxy.setTypeFilter(14, true);
    brushProxy.setTypeFilter(3, false);
    brushProxy.setTypeFilter(-1, false);
    brushProxy.setCategoryFilter("Mine", false, false);
    brushProxy.setKivFilter("Sculpting", false);
    brushProxy.addTagFilter("t");
    brushProxy.removeTagFilter("absent");
    QCOMPARE(brushProxy.calls, afterChanges);
    brushProxy.resetFilters();
    const int afterReset = brushProxy.calls;
    QVERIFY(afterReset > afterChanges);
    brushProxy.resetFilters();
    QCOMPARE(brushProxy.calls, afterReset);

    QStandardItemModel alphas;
    addRow(alphas, alpha("Stone", 256, 256));
    Counting<AlphaSorter> alphaProxy(&alphas);
    QCOMPARE(alphaProxy.rowCount(), 1);
    alphaProxy.addSizeFilter(256);
    alphaProxy.addDepthFilter(8);
    alphaProxy.setIgnoredOnly(true);
    const int afterAlphaChanges = alphaProxy.calls;
    alphaProxy.addSizeFilter(256);
    alphaProxy.addDepthFilter(8);
    alphaProxy.setIgnoredOnly(true);
    alphaProxy.removeSizeFilter(512);
    alphaProxy.removeDepthFilter(32);
    QCOMPARE(alphaProxy.calls, afterAlphaChanges);
    alphaProxy.removeDepthFilter(8);
    QVERIFY(alphaProxy.calls > afterAlphaChanges);
}

void TestCatalogueProxies::genericSorting()
{
    QStandardItemModel source;
    const auto add = [&](const QString &name, const QDateTime &modified, bool favorite) {
        Values values = generic(name);
        values[GenericRole::LastModified] = modified;
        values[GenericRole::Favorite] = favorite;
        addRow(source, values);
    };
    // As text, "Mon Jan 6 2020" comes before "Tue Dec 31 2019"; as times it is after.
    add("b", QDateTime(QDate(2020, 1, 6), QTime(9, 0)), true);
    add("c", QDateTime(QDate(2019, 12, 31), QTime(9, 0)), false);
    add("a", QDateTime(QDate(2020, 3, 1), QTime(9, 0)), false);
    ResourceSorter proxy(&source);
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);

    proxy.sort(3);
    QCOMPARE(modelTexts(&proxy, GenericRole::Name), (QStringList{"c", "b", "a"}));
    // The icon column changes nothing.
    proxy.sort(1, Qt::DescendingOrder);
    QCOMPARE(modelTexts(&proxy, GenericRole::Name), (QStringList{"c", "b", "a"}));
    proxy.sort(2);
    QCOMPARE(modelTexts(&proxy, GenericRole::Name), (QStringList{"a", "b", "c"}));
    proxy.sort(2, Qt::DescendingOrder);
    QCOMPARE(modelTexts(&proxy, GenericRole::Name), (QStringList{"c", "b", "a"}));
    // Favourites last in ascending order; ties keep the source order.
    proxy.sort(0);
    QCOMPARE(modelTexts(&proxy, GenericRole::Name), (QStringList{"c", "a", "b"}));
    proxy.sort(9);
    QCOMPARE(modelTexts(&proxy, GenericRole::Name), (QStringList{"a", "b", "c"}));
}

void TestCatalogueProxies::brushAndAlphaSorting()
{
    QStandardItemModel brushes;
    Values first = brush("Zed", 14, {}, "Alpha Group");
    first[BrushRole::BrushTypeName] = "Clay";
    first[BrushRole::LastModified] = QDateTime(QDate(2021, 5, 1), QTime(8, 0));
    Values second = brush("Amy", 2, {}, "Zeta Group");
    second[BrushRole::BrushTypeName] = "Stroke";
    second[BrushRole::LastModified] = QDateTime(QDate(2021, 4, 30), QTime(8, 0));
    addRow(brushes, second);
    addRow(brushes, first);
    BrushSorter brushProxy(&brushes);
    brushProxy.sort(3);
    QCOMPARE(modelTexts(&brushProxy, BrushRole::Name), (QStringList{"Zed", "Amy"}));
    brushProxy.sort(4, Qt::DescendingOrder);
    QCOMPARE(modelTexts(&brushProxy, BrushRole::Name), (QStringList{"Amy", "Zed"}));
    brushProxy.sort(5, Qt::DescendingOrder);
    QCOMPARE(modelTexts(&brushProxy, BrushRole::Name), (QStringList{"Zed", "Amy"}));
    brushProxy.sort(1);
    QCOMPARE(modelTexts(&brushProxy, BrushRole::Name), (QStringList{"Zed", "Amy"}));
    brushProxy.sort(6);
    QCOMPARE(modelTexts(&brushProxy, BrushRole::Name), (QStringList{"Amy", "Zed"}));

    // Sizes compare as numbers: 64 before 1024 although "1024" < "64" as text.
    QStandardItemModel alphas;
    addRow(alphas, alpha("big", 1024, 2, 32));
    addRow(alphas, alpha("small", 64, 3, 8));
    AlphaSorter alphaProxy(&alphas);
    alphaProxy.sort(3);
    QCOMPARE(modelTexts(&alphaProxy, AlphaRole::Name), (QStringList{"small", "big"}));
    alphaProxy.sort(4);
    QCOMPARE(modelTexts(&alphaProxy, AlphaRole::Name), (QStringList{"big", "small"}));
    alphaProxy.sort(5);
    QCOMPARE(modelTexts(&alphaProxy, AlphaRole::Name), (QStringList{"small", "big"}));
}

void TestCatalogueProxies::proxiesFollowSourceEdits()
{
    QStandardItemModel source;
    addRow(source, brush("Clay", 14, {"Mine"}));
    addRow(source, brush("Move", 17));
    BrushSorter proxy(&source);
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy.setTypeFilter(14, true);
    proxy.sort(2, Qt::DescendingOrder);
    addRow(source, brush("Clay Tubes", 14));
    addRow(source, brush("Pinch", 26));
    QCOMPARE(modelTexts(&proxy, BrushRole::Name), (QStringList{"Clay Tubes", "Clay"}));
    // An edit that makes a row pass or fail shows at once.
    source.item(1)->setData(14, BrushRole::BrushType);
    source.item(0)->setData(11, BrushRole::BrushType);
    QCOMPARE(modelTexts(&proxy, BrushRole::Name), (QStringList{"Move", "Clay Tubes"}));
    source.removeRow(2);
    QCOMPARE(modelTexts(&proxy, BrushRole::Name), QStringList{"Move"});
}

void TestCatalogueProxies::categoryFilterHidesBuiltIns()
{
    QStringListModel categories({"All", "Unassigned", "Metal", "all", "Skin"});
    CategoryFilter filter(&categories);
    QAbstractItemModelTester tester(&filter, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(modelTexts(&filter, Qt::DisplayRole), (QStringList{"Metal", "all", "Skin"}));
    categories.insertRows(5, 1);
    categories.setData(categories.index(5, 0), "Wood");
    categories.removeRows(2, 1);
    QCOMPARE(modelTexts(&filter, Qt::DisplayRole), (QStringList{"all", "Skin", "Wood"}));
}

QTEST_GUILESS_MAIN(TestCatalogueProxies)
#include "tst_catalogueproxies.moc"
