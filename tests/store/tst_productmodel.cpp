#include "Model/product.h"
#include "Model/productcategoryitem.h"
#include "Model/storeitemrole.h"
#include "Model/subproduct.h"
#include "sorters/productsorter.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QtTest>

namespace {

struct Row
{
    QString name;
    bool owned = false;
    bool installed = false;
    bool featured = false;
    bool membership = false;
    QSet<int> categories;
};

void addRow(QStandardItemModel &model, const Row &row)
{
    auto *item = new QStandardItem;
    item->setData(row.name, StoreNameRole);
    item->setData(row.owned, StoreOwnedRole);
    item->setData(row.installed, StoreInstalledRole);
    item->setData(row.featured, StoreFeaturedRole);
    item->setData(row.membership, StoreMembershipRole);
    item->setData(QVariant::fromValue(row.categories), StoreCategoryIdRole);
    model.appendRow(item);
}

QStringList names(const QAbstractItemModel &model)
{
    QStringList out;
    for (int row = 0; row < model.rowCount(); ++row)
        out << model.index(row, 0).data(StoreNameRole).toString();
    return out;
}

// Top-level rows and, indented, their children, as the tree shows them.
QStringList treeTexts(const QStandardItemModel &model, const QModelIndex &parent = {}, const QString &indent = {})
{
    QStringList out;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        out << indent + index.data().toString();
        out << treeTexts(model, index, indent + QLatin1Char(' '));
    }
    return out;
}

using Setup = std::function<void(ProductSorter &)>;

} // namespace

Q_DECLARE_METATYPE(Setup)

class TestProductModel : public QObject
{
    Q_OBJECT

private slots:
    void installingMakesTheStatusInstalled();
    void subProductsComeFromTheRecords();
    void aCopyLeavesProgressAndSubProductObjectsBehind();
    void categoryTree();
    void categoryPathSurvivesParentCycles();
    void sorterFilters_data();
    void sorterFilters();
    void sorterOrdersByTheLocale();
    void resetKeepsMembershipOnly();
};

void TestProductModel::installingMakesTheStatusInstalled()
{
    Product product(42, 0, QStringLiteral("Pack"));
    QCOMPARE(product.link(), QStringLiteral("42"));
    QCOMPARE(product.status(), DownloadStatusInfo::None);

    QSignalSpy installed(&product, &IDownloadableItem::installedChanged);
    QSignalSpy status(product.downloadStatus(), &DownloadStatusInfo::currentStatusChanged);
    product.setInstalled(true);
    QCOMPARE(product.status(), DownloadStatusInfo::Installed);
    QCOMPARE(installed.count(), 1);
    QCOMPARE(status.count(), 1);

    product.setInstalled(false);
    QCOMPARE(product.status(), DownloadStatusInfo::Installed);

    DownloadStatusInfo *old = product.downloadStatus();
    QPointer<DownloadStatusInfo> watched(old);
    product.setDownloadStatus(new DownloadStatusInfo);
    QVERIFY(product.downloadStatus() != old);
    QCOMPARE(product.downloadStatus()->parent(), &product);
    QTRY_VERIFY(watched.isNull());
    product.setDownloadStatus(nullptr);
    QVERIFY(product.downloadStatus());
}

void TestProductModel::subProductsComeFromTheRecords()
{
    Product product(7, 0, QStringLiteral("Pack"));
    product.addSubProductRecord(7, QStringLiteral("Brushes"), QStringLiteral("b.png"), QStringLiteral("brush"),
                                QStringLiteral("Clay"), QStringLiteral("lnk-1"), false);
    product.addSubProductRecord(7, QStringLiteral("Alphas"), QStringLiteral("a.png"), QStringLiteral("alpha"),
                                QString(), QStringLiteral("lnk-2"), true);
    QSignalSpy changed(&product, &Product::subProductsChanged);
    product.createSubProducts();
    QCOMPARE(changed.count(), 1);
    QVERIFY(product.subProductRecords().isEmpty());

    const QList<SubProduct *> subs = product.subProductItems();
    QCOMPARE(subs.size(), 2);
    QCOMPARE(subs.at(0)->name(), QStringLiteral("Brushes"));
    QCOMPARE(subs.at(0)->parentId(), 7);
    QCOMPARE(subs.at(0)->link(), QStringLiteral("lnk-1"));
    QCOMPARE(subs.at(0)->fileType(), QStringLiteral("brush"));
    QCOMPARE(subs.at(0)->brushType(), QStringLiteral("Clay"));
    QCOMPARE(subs.at(0)->status(), DownloadStatusInfo::None);
    QCOMPARE(subs.at(1)->status(), DownloadStatusInfo::Installed);
    QVERIFY(!product.allSubProductsInstalled());

    product.setSubProductsStatus(DownloadStatusInfo::Queued);
    QCOMPARE(subs.at(0)->status(), DownloadStatusInfo::Queued);
    QCOMPARE(subs.at(1)->status(), DownloadStatusInfo::Queued);

    QSignalSpy categories(&product, &Product::categoriesChanged);
    product.setCategoryIds({3, 4, 3});
    QCOMPARE(categories.count(), 1);
    QCOMPARE(product.categories(), (QSet<int>{3, 4}));
}

void TestProductModel::aCopyLeavesProgressAndSubProductObjectsBehind()
{
    Product product(9, 0, QStringLiteral("Pack"));
    product.setFeatured(true);
    product.setMembership(true);
    product.setOwned(true);
    product.setThumbnail(QStringLiteral("t.png"));
    product.setCategoryList(QStringLiteral("Brushes, Free"));
    product.setPrice(QStringLiteral("Free"));
    product.setDescription(QStringLiteral("short"));
    product.setDescriptionMain(QStringLiteral("long"));
    product.setSourceLink(QStringLiteral("https://store.example/pack"));
    product.setCategoryIds({5});
    product.setSetInfoRequested(true);
    product.addSubProductRecord(9, QStringLiteral("Brushes"), {}, QStringLiteral("brush"), {}, QStringLiteral("l"), false);
    product.setStatus(DownloadStatusInfo::Downloading);
    product.downloadStatus()->setPercent(40);
    product.downloadStatus()->setHasError(true);

    const QSharedPointer<Product> copy = product.copy();
    QCOMPARE(copy->id(), 9);
    QCOMPARE(copy->link(), QStringLiteral("9"));
    QVERIFY(copy->featured() && copy->membership() && copy->owned() && copy->setInfoRequested());
    QCOMPARE(copy->thumbnail(), product.thumbnail());
    QCOMPARE(copy->categoryList(), product.categoryList());
    QCOMPARE(copy->price(), product.price());
    QCOMPARE(copy->description(), product.description());
    QCOMPARE(copy->descriptionMain(), product.descriptionMain());
    QCOMPARE(copy->sourceLink(), product.sourceLink());
    QCOMPARE(copy->categories(), product.categories());
    QCOMPARE(copy->subProductRecords().size(), 1);
    QCOMPARE(copy->status(), DownloadStatusInfo::Downloading);
    QCOMPARE(copy->downloadStatus()->percent(), 0);
    QVERIFY(!copy->downloadStatus()->hasError());
}

void TestProductModel::categoryTree()
{
    ProductCategoryItem tree;
    QAbstractItemModelTester tester(&tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
    tree.addCategory(0, 0, QStringLiteral("All"), {}, {}, true);
    tree.addCategory(12, 10, QStringLiteral("Hard Surface"), QStringLiteral("Brushes"), {}, false);
    tree.addCategory(10, 0, QStringLiteral("Brushes"), {}, {}, true);
    tree.addCategory(20, 0, QStringLiteral("Free"), {}, {}, true);
    tree.addCategory(21, 0, QStringLiteral("Free"), {}, {}, true);

    // The bare parent made for the early sub-category is the only "Brushes" row.
    QCOMPARE(treeTexts(tree), (QStringList{QStringLiteral("All"), QStringLiteral("Brushes"),
                                           QStringLiteral(" Hard Surface"), QStringLiteral("Free")}));
    QCOMPARE(tree.idForName(QStringLiteral("brushes")), 10);
    QVERIFY(QList<int>({20, 21}).contains(tree.idForName(QStringLiteral("free"))));
    QCOMPARE(tree.idForName(QStringLiteral("Sculpting")), 0);
    QCOMPARE(tree.categoryPath(12), (QStringList{QStringLiteral("Brushes"), QStringLiteral("Hard Surface")}));
    QCOMPARE(tree.categoryPath(99), QStringList());

    const QModelIndex hardSurface = tree.index(0, 0, tree.index(1, 0));
    QCOMPARE(hardSurface.data(ProductCategoryItem::IdRole).toInt(), 12);
    QCOMPARE(hardSurface.data(ProductCategoryItem::ParentIdRole).toInt(), 10);
    QCOMPARE(tree.roleNames().value(ProductCategoryItem::IdRole), QByteArray("id_role"));

    tree.clearCategories();
    QCOMPARE(tree.rowCount(), 0);
    QCOMPARE(tree.idForName(QStringLiteral("Brushes")), 0);
}

void TestProductModel::categoryPathSurvivesParentCycles()
{
    ProductCategoryItem tree;
    tree.addCategory(1, 2, QStringLiteral("A"), QStringLiteral("B"), {}, false);
    tree.addCategory(2, 1, QStringLiteral("B"), QStringLiteral("A"), {}, false);
    QCOMPARE(tree.categoryPath(1), (QStringList{QStringLiteral("B"), QStringLiteral("A")}));
}

void TestProductModel::sorterFilters_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QStringList>("expected");

    const auto list = [](const char *text) { return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts); };
    QTest::newRow("defaults: owned only") << Setup([](ProductSorter &) {}) << list("Installed Owned");
    QTest::newRow("everything but memberships")
        << Setup([](ProductSorter &s) { s.setOwnedOnly(false); }) << list("Installed Other Owned");
    QTest::newRow("memberships only")
        << Setup([](ProductSorter &s) { s.setOwnedOnly(false); s.setMembershipOnly(true); }) << list("Studio");
    QTest::newRow("featured") << Setup([](ProductSorter &s) { s.setOwnedOnly(false); s.setFeaturedOnly(true); })
                              << list("Other");
    QTest::newRow("installed only") << Setup([](ProductSorter &s) { s.setShowNotInstalled(false); })
                                    << list("Installed");
    QTest::newRow("not installed only") << Setup([](ProductSorter &s) { s.setShowInstalled(false); })
                                        << list("Owned");
    QTest::newRow("neither rejects all")
        << Setup([](ProductSorter &s) { s.setOwnedOnly(false); s.setShowInstalled(false); s.setShowNotInstalled(false); })
        << QStringList();
    QTest::newRow("category") << Setup([](ProductSorter &s) { s.setOwnedOnly(false); s.setCategoryFilter(true, 5); })
                              << list("Other Owned");
    QTest::newRow("category 0 filters nothing")
        << Setup([](ProductSorter &s) { s.setOwnedOnly(false); s.setCategoryFilter(true, 0); })
        << list("Installed Other Owned");
    QTest::newRow("category disabled")
        << Setup([](ProductSorter &s) { s.setOwnedOnly(false); s.setCategoryFilter(false, 5); })
        << list("Installed Other Owned");
    QTest::newRow("name") << Setup([](ProductSorter &s) {
        s.setOwnedOnly(false);
        s.setFilterRegularExpression(QRegularExpression(QStringLiteral("^o"), QRegularExpression::CaseInsensitiveOption));
        s.setNameFilterEnabled(true);
    }) << list("Other Owned");
    QTest::newRow("name expression set but not enabled") << Setup([](ProductSorter &s) {
        s.setOwnedOnly(false);
        s.setFilterRegularExpression(QRegularExpression(QStringLiteral("^o")));
    }) << list("Installed Other Owned");
}

void TestProductModel::sorterFilters()
{
    QFETCH(Setup, setup);
    QFETCH(QStringList, expected);

    QStandardItemModel source;
    addRow(source, {QStringLiteral("Owned"), true, false, false, false, {5}});
    addRow(source, {QStringLiteral("Studio"), false, false, false, true, {}});
    addRow(source, {QStringLiteral("Installed"), true, true, false, false, {6}});
    addRow(source, {QStringLiteral("Other"), false, false, true, false, {5, 6}});
    ProductSorter sorter(&source);
    QAbstractItemModelTester tester(&sorter, QAbstractItemModelTester::FailureReportingMode::QtTest);
    sorter.sort(0);
    setup(sorter);
    QCOMPARE(names(sorter), expected);
}

void TestProductModel::sorterOrdersByTheLocale()
{
    // As start-up sets it.
    QLocale::setDefault(QLocale(QLocale::English));
    QStandardItemModel source;
    for (const char *name : {"Zeta", "\xc3\x89" "clair", "Eclipse", "Apple", "Ecole"})
        addRow(source, {QString::fromUtf8(name), true, false, false, false, {}});
    ProductSorter sorter(&source);
    sorter.sort(0);
    // By code points the accented name would come last.
    QCOMPARE(names(sorter), (QStringList{QStringLiteral("Apple"), QString::fromUtf8("\xc3\x89" "clair"),
                                         QStringLiteral("Eclipse"), QStringLiteral("Ecole"), QStringLiteral("Zeta")}));

    // Rows arriving later take their place by name.
    addRow(source, {QStringLiteral("Beta"), true, false, false, false, {}});
    QCOMPARE(names(sorter).at(1), QStringLiteral("Beta"));
}

void TestProductModel::resetKeepsMembershipOnly()
{
    QStandardItemModel source;
    ProductSorter sorter(&source);
    sorter.setMembershipOnly(true);
    sorter.setOwnedOnly(false);
    sorter.setFeaturedOnly(true);
    sorter.setShowInstalled(false);
    sorter.setCategoryFilter(true, 4);
    sorter.setNameFilterEnabled(true);
    sorter.resetFilters();
    QVERIFY(sorter.membershipOnly());
    QVERIFY(sorter.ownedOnly() && sorter.showInstalled() && sorter.showNotInstalled());
    QVERIFY(!sorter.featuredOnly() && !sorter.categoryFilterEnabled() && !sorter.nameFilterEnabled());
    QCOMPARE(sorter.categoryId(), 0);
}

QTEST_GUILESS_MAIN(TestProductModel)
#include "tst_productmodel.moc"
