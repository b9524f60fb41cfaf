#include "testcatalogue.h"
#include "tests/common/modeltexts.h"

#include "Model/favoriteset.h"
#include "Model/resourceroles.h"
#include "sorters/resourcesorter.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QSignalSpy>
#include <QUrl>
#include <QtTest>

using ResourceRoles::GenericRole;

namespace {

QStringList storedCategories(const Library &library, const QString &name)
{
    return library.database->readResources(library.kind).value(name)->categories;
}

QStringList storedTags(const Library &library, const QString &name)
{
    return library.database->readResources(library.kind).value(name)->tags;
}

} // namespace

class TestCatalogueService : public QObject
{
    Q_OBJECT

private slots:
    void setupBuildsTheLists();
    void modelFollowsRowChanges();
    void addCategory_data();
    void addCategory();
    void removeCategoryRewritesEveryResource();
    void renameCategory();
    void resourceCategoriesAndTags();
    void removeAndRenameTag();
    void operationsUseTheRowShown();
    void nameFilterKeepsLastValidExpression();
    void filtersThroughTheService();
    void resourceLocations();
    void setupOkRunsSetupOnce();
    void favouritesBridge();
    void storeCallables();
};

void TestCatalogueService::setupBuildsTheLists()
{
    Library library({"Skin", "Metal Plate", "Chrome"});
    library.database->insertCategory("Organic", library.kind);
    library.database->insertCategory("Hard", library.kind);
    library.database->insertFolder("/extra/one", library.kind);
    library.database->setResourceTags("Skin", {"soft", "wip"}, library.kind);
    library.database->setResourceTags("Chrome", {"wip", "shiny"}, library.kind);
    library.restart();

    TestCatalogue &catalogue = *library.catalogue;
    QVERIFY(catalogue.loaded());
    QCOMPARE(catalogue.categories()->stringList(),
             (QStringList{"All", "Unassigned", "Organic", "Hard"}));
    QCOMPARE(modelTexts(catalogue.filteredCategories()), (QStringList{"Organic", "Hard"}));
    QCOMPARE(catalogue.resourceLocations()->stringList(), QStringList{"/extra/one"});
    QCOMPARE(catalogue.tags()->stringList(), (QStringList{"soft", "wip", "shiny"}));
    QCOMPARE(modelTexts(catalogue.model(), GenericRole::Name), (QStringList{"Skin", "Metal Plate", "Chrome"}));
}

void TestCatalogueService::modelFollowsRowChanges()
{
    Library library({"Skin", "Metal"});
    TestCatalogue &catalogue = *library.catalogue;
    QAbstractItemModelTester baseTester(&catalogue, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester proxyTester(catalogue.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    catalogue.proxy()->sort(2);
    catalogue.filterResourcesByName("e");

    catalogue.addFile("Wood");
    catalogue.addFile("Bone");
    QCOMPARE(modelTexts(catalogue.model(), GenericRole::Name), (QStringList{"Bone", "Metal"}));
    catalogue.removeFile("Metal");
    QVERIFY(catalogue.setData(catalogue.index(0, 0), "rough", GenericRole::Description));
    QVERIFY(!catalogue.setData(catalogue.index(0, 0), "x", GenericRole::Tags));
    QVERIFY(!catalogue.setData(catalogue.index(7, 0), "x", GenericRole::Description));
    QCOMPARE(library.database->readResources(library.kind).value("Skin")->description, QStringLiteral("rough"));
    catalogue.scanAll();
    QCOMPARE(catalogue.rowCount(), 2);
    QCOMPARE(catalogue.index(0, 0).data(GenericRole::Description).toString(), QStringLiteral("rough"));
    QVERIFY(!catalogue.index(0, 0).data(Qt::UserRole + 40).isValid());
}

void TestCatalogueService::addCategory_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<bool>("updateDb");
    QTest::addColumn<bool>("added");
    QTest::addColumn<QStringList>("stored");
    QTest::newRow("new, stored") << "Wood" << true << true << QStringList{"Metal", "Wood"};
    QTest::newRow("new, not stored") << "Wood" << false << true << QStringList{"Metal"};
    QTest::newRow("empty") << "" << true << false << QStringList{"Metal"};
    QTest::newRow("existing") << "Metal" << true << false << QStringList{"Metal"};
    QTest::newRow("built-in") << "All" << true << false << QStringList{"Metal"};
    QTest::newRow("other case is new") << "metal" << true << true << QStringList{"Metal", "metal"};
}

void TestCatalogueService::addCategory()
{
    QFETCH(QString, category);
    QFETCH(bool, updateDb);
    QFETCH(bool, added);
    QFETCH(QStringList, stored);
    Library library;
    library.catalogue->addCategory("Metal");
    QSignalSpy spy(library.catalogue.get(), &ResourceDataService::categoriesModelChanged);
    library.catalogue->addCategory(category, updateDb);
    QCOMPARE(spy.count(), added ? 1 : 0);
    QCOMPARE(library.catalogue->categories()->rowCount(), added ? 4 : 3);
    QCOMPARE(library.database->readCategories(library.kind), stored);
}

void TestCatalogueService::removeCategoryRewritesEveryResource()
{
    Library library({"Skin", "Metal", "Chrome"});
    TestCatalogue &catalogue = *library.catalogue;
    catalogue.addCategory("Organic");
    catalogue.addCategory("Hard");
    catalogue.addCategoryToResource(0, "Organic");
    catalogue.addCategoryToResource(0, "Hard");
    catalogue.addCategoryToResource(1, "Hard");
    // A row that disagrees with the object: removal writes every resource anew.
    library.database->setResourceCategories("Chrome", {"Stale"}, library.kind);

    // Rows of the list without "All" and "Unassigned"; one past the end does nothing.
    catalogue.removeCategory(2);
    QCOMPARE(catalogue.categories()->rowCount(), 4);
    catalogue.removeCategory(1);
    QCOMPARE(modelTexts(catalogue.filteredCategories()), QStringList{"Organic"});
    QCOMPARE(catalogue.resource("Skin")->categories(), QStringList{"Organic"});
    QCOMPARE(storedCategories(library, "Skin"), QStringList{"Organic"});
    QCOMPARE(storedCategories(library, "Metal"), QStringList{"All"});
    QCOMPARE(storedCategories(library, "Chrome"), QStringList{"All"});
    QCOMPARE(library.database->readCategories(library.kind), QStringList{"Organic"});

    library.restart();
    QCOMPARE(library.catalogue->categories()->stringList(), (QStringList{"All", "Unassigned", "Organic"}));
    QCOMPARE(library.catalogue->resource("Skin")->categories(), QStringList{"Organic"});
    // Stored as "All", an emptied list reads back as no category at all.
    QVERIFY(library.catalogue->resource("Metal")->categories().isEmpty());
    library.catalogue->filterByCategory("Unassigned");
    QCOMPARE(modelTexts(library.catalogue->model(), GenericRole::Name), (QStringList{"Metal", "Chrome"}));
}

void TestCatalogueService::renameCategory()
{
    Library library({"Skin", "Metal", "Chrome"});
    TestCatalogue &catalogue = *library.catalogue;
    for (const char *name : {"Organic", "Hard", "Shiny"})
        catalogue.addCategory(name);
    catalogue.addCategoryToResource(0, "Organic");
    catalogue.addCategoryToResource(1, "Hard");
    catalogue.addCategoryToResource(2, "Hard");
    catalogue.addCategoryToResource(2, "Shiny");

    QSignalSpy spy(&catalogue, &ResourceDataService::categoriesModelChanged);
    catalogue.renameCategory("Hard", "Shiny");
    catalogue.renameCategory("Hard", "");
    QCOMPARE(spy.count(), 0);
    QCOMPARE(catalogue.resource("Metal")->categories(), QStringList{"Hard"});
    QCOMPARE(storedCategories(library, "Chrome"), (QStringList{"Hard", "Shiny"}));

    catalogue.takeChangedRows();
    catalogue.renameCategory("Hard", "Metallic");
    QCOMPARE(catalogue.takeChangedRows(), (QList<int>{1, 2}));
    QCOMPARE(catalogue.categories()->stringList(), (QStringList{"All", "Unassigned", "Organic", "Shiny", "Metallic"}));
    QCOMPARE(catalogue.resource("Chrome")->categories(), (QStringList{"Shiny", "Metallic"}));
    QCOMPARE(catalogue.resource("Skin")->categories(), QStringList{"Organic"});

    library.restart();
    QCOMPARE(modelTexts(library.catalogue->filteredCategories()), (QStringList{"Organic", "Shiny", "Metallic"}));
    QCOMPARE(library.catalogue->resource("Metal")->categories(), QStringList{"Metallic"});
    QCOMPARE(library.catalogue->resource("Chrome")->categories(), (QStringList{"Shiny", "Metallic"}));
}

void TestCatalogueService::resourceCategoriesAndTags()
{
    Library library({"Skin", "Metal"});
    TestCatalogue &catalogue = *library.catalogue;
    catalogue.addCategoryToResource(0, "Organic");
    catalogue.addCategoryToResource(0, "Organic");
    catalogue.addCategoryToResource(0, "Draft", false);
    catalogue.addTagToResource(1, "shiny");
    catalogue.addTagToResource(1, "temp", false);
    QVERIFY(catalogue.resourceHasCategory(0, "Draft"));
    QVERIFY(!catalogue.resourceHasCategory(0, "organic"));
    QVERIFY(!catalogue.resourceHasCategory(-1, "Organic"));
    QVERIFY(catalogue.resourceHasTag(1, "temp"));
    QVERIFY(!catalogue.resourceHasTag(5, "temp"));
    // Tagging a resource leaves the catalogue's tag list to the interface.
    QVERIFY(catalogue.tags()->stringList().isEmpty());
    QCOMPARE(storedCategories(library, "Skin"), QStringList{"Organic"});
    QCOMPARE(storedTags(library, "Metal"), QStringList{"shiny"});

    catalogue.addTagToResource(0, "soft");
    catalogue.addTagToResource(0, "old");
    catalogue.removeTagFromResource(0, "old");
    catalogue.removeCategoryFromResource(0, "Missing");
    QCOMPARE(storedCategories(library, "Skin"), (QStringList{"Organic", "Draft"}));

    library.restart();
    TestCatalogue &again = *library.catalogue;
    QCOMPARE(again.resource("Skin")->categories(), (QStringList{"Organic", "Draft"}));
    QCOMPARE(again.resource("Skin")->tags(), QStringList{"soft"});
    QCOMPARE(again.resource("Metal")->tags(), QStringList{"shiny"});
    QCOMPARE(again.tags()->stringList(), (QStringList{"soft", "shiny"}));
    again.removeCategoryFromResource(0, "Organic");
    QCOMPARE(storedCategories(library, "Skin"), QStringList{"Draft"});
}

void TestCatalogueService::removeAndRenameTag()
{
    Library library({"Skin", "Metal", "Chrome"});
    library.database->setResourceTags("Skin", {"soft", "wip"}, library.kind);
    library.database->setResourceTags("Metal", {"wip"}, library.kind);
    library.database->setResourceTags("Chrome", {"shiny"}, library.kind);
    library.restart();
    TestCatalogue &catalogue = *library.catalogue;
    QCOMPARE(catalogue.tags()->stringList(), (QStringList{"soft", "wip", "shiny"}));

    QSignalSpy spy(&catalogue, &ResourceDataService::tagsChanged);
    catalogue.renameTag("wip", "shiny");
    catalogue.removeTag(3);
    QCOMPARE(spy.count(), 0);

    library.database->setResourceTags("Chrome", {"stale"}, library.kind);
    catalogue.removeTag(0);
    QCOMPARE(catalogue.tags()->stringList(), (QStringList{"wip", "shiny"}));
    QCOMPARE(storedTags(library, "Skin"), QStringList{"wip"});
    QCOMPARE(storedTags(library, "Chrome"), QStringList{"shiny"});

    catalogue.renameTag("wip", "draft");
    QCOMPARE(catalogue.tags()->stringList(), (QStringList{"shiny", "draft"}));
    QCOMPARE(catalogue.resource("Metal")->tags(), QStringList{"draft"});

    library.restart();
    QCOMPARE(library.catalogue->resource("Skin")->tags(), QStringList{"draft"});
    QCOMPARE(library.catalogue->resource("Metal")->tags(), QStringList{"draft"});
    QCOMPARE(library.catalogue->tags()->stringList(), (QStringList{"draft", "shiny"}));
}

void TestCatalogueService::operationsUseTheRowShown()
{
    Library library({"Apple", "Banana", "Cherry", "Damson", "Elder"});
    TestCatalogue &catalogue = *library.catalogue;
    QAbstractItemModelTester tester(catalogue.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    // The view shows Elder, Damson, Banana, Apple: row 1 is Damson, source row 3.
    catalogue.filterResourcesByName("^[^c]");
    catalogue.proxy()->sort(2, Qt::DescendingOrder);
    QCOMPARE(modelTexts(catalogue.model(), GenericRole::Name), (QStringList{"Elder", "Damson", "Banana", "Apple"}));

    catalogue.addCategoryToResource(1, "Stone fruit");
    catalogue.addTagToResource(1, "purple");
    QCOMPARE(catalogue.resource("Damson")->categories(), QStringList{"Stone fruit"});
    QCOMPARE(catalogue.resource("Damson")->tags(), QStringList{"purple"});
    QVERIFY(catalogue.resourceHasTag(1, "purple"));
    QVERIFY(!catalogue.resourceHasTag(3, "purple"));
    QCOMPARE(storedTags(library, "Damson"), QStringList{"purple"});
    QVERIFY(storedTags(library, "Banana").isEmpty());

    QSignalSpy selected(&catalogue, &ResourceDataService::selectedItemChanged);
    catalogue.setSelectedItem(3);
    QCOMPARE(catalogue.selectedItem(), catalogue.resource("Apple"));
    // A row the view does not have keeps the selection.
    catalogue.setSelectedItem(4);
    QCOMPARE(catalogue.selectedItem(), catalogue.resource("Apple"));
    catalogue.setSelectedItem(-1);
    QVERIFY(!catalogue.selectedItem());
    QCOMPARE(selected.count(), 2);

    QCOMPARE(catalogue.getIndexForItem(catalogue.resource("Banana")), 2);
    QCOMPARE(catalogue.getIndexForItem(catalogue.resource("Cherry")), -1);
    Resource stranger("Banana");
    QCOMPARE(catalogue.getIndexForItem(&stranger), -1);

    // A row the view does not have touches nothing.
    catalogue.addCategoryToResource(4, "Lost");
    catalogue.addCategoryToResource(-1, "Lost");
    for (const char *name : {"Apple", "Banana", "Cherry", "Elder"})
        QVERIFY(catalogue.resource(name)->categories().isEmpty());
}

void TestCatalogueService::nameFilterKeepsLastValidExpression()
{
    Library library({"Clay", "Clay Tubes", "Move"});
    TestCatalogue &catalogue = *library.catalogue;
    catalogue.filterResourcesByName("CLAY");
    QCOMPARE(modelTexts(catalogue.model(), GenericRole::Name), (QStringList{"Clay", "Clay Tubes"}));
    catalogue.filterResourcesByName("(tubes");
    QCOMPARE(modelTexts(catalogue.model(), GenericRole::Name), (QStringList{"Clay", "Clay Tubes"}));
    // A dot matches any character.
    catalogue.filterResourcesByName("m.ve");
    QCOMPARE(modelTexts(catalogue.model(), GenericRole::Name), QStringList{"Move"});
    catalogue.filterResourcesByName("");
    QCOMPARE(catalogue.model()->rowCount(), 3);
}

void TestCatalogueService::filtersThroughTheService()
{
    Library library({"Skin", "Metal", "Chrome", "Bone"});
    TestCatalogue &catalogue = *library.catalogue;
    catalogue.addCategoryToResource(0, "Organic");
    catalogue.addCategoryToResource(3, "Organic");
    catalogue.addTagToResource(1, "shiny");
    catalogue.addTagToResource(2, "shiny");
    catalogue.addTagToResource(3, "old");

    catalogue.filterByCategory("Organic");
    QCOMPARE(modelTexts(catalogue.model(), GenericRole::Name), (QStringList{"Skin", "Bone"}));
    catalogue.filterByCategory("Unassigned");
    QCOMPARE(modelTexts(catalogue.model(), GenericRole::Name), (QStringList{"Metal", "Chrome"}));
    catalogue.filterByCategory("All");
    QCOMPARE(catalogue.model()->rowCount(), 4);

    catalogue.addTagFilter("");
    catalogue.addTagFilter("old");
    catalogue.addTagFilter("old");
    catalogue.addTagFilter("shiny");
    QCOMPARE(modelTexts(catalogue.model(), GenericRole::Name), (QStringList{"Metal", "Chrome", "Bone"}));
    QCOMPARE(catalogue.tagFilters(), (QStringList{"old", "old", "shiny"}));
    catalogue.removeTagFilter("old");
    QVERIFY(!catalogue.hasTagFilter("old"));
    QCOMPARE(modelTexts(catalogue.model(), GenericRole::Name), (QStringList{"Metal", "Chrome"}));

    catalogue.filterResourcesByName("^m");
    catalogue.filterByCategory("Unassigned");
    catalogue.resetAllFilters();
    // The name filter stays, and so do the chosen tags as the panels remember them.
    QCOMPARE(modelTexts(catalogue.model(), GenericRole::Name), QStringList{"Metal"});
    QVERIFY(catalogue.hasTagFilter("shiny"));
    QVERIFY(catalogue.proxy()->tagFilters().isEmpty());
}

void TestCatalogueService::resourceLocations()
{
    Library library({"Skin"});
    TestCatalogue &catalogue = *library.catalogue;
    QTemporaryDir extra;
    const QString missing = extra.filePath("not-there");
    QSignalSpy changed(&catalogue, &ResourceDataService::resourceLocationsChanged);

    catalogue.addResourceLocation("https://example.com/alphas");
    catalogue.addResourceLocation("");
    QCOMPARE(changed.count(), 0);

    catalogue.addResourceLocation(QUrl::fromLocalFile(extra.path()).toString());
    catalogue.addResourceLocation(QUrl::fromLocalFile(extra.path()).toString());
    catalogue.addResourceLocation(QUrl::fromLocalFile(missing).toString());
    QCOMPARE(changed.count(), 2);
    const QStringList expected{QDir::toNativeSeparators(extra.path()), QDir::toNativeSeparators(missing)};
    QCOMPARE(catalogue.resourceLocations()->stringList(), expected);
    // Only an existing folder is scanned, but both are kept.
    QCOMPARE(catalogue.scannedLocations, QStringList{expected.first()});
    QCOMPARE(library.database->readFolders(library.kind), expected);

    const int scansBefore = catalogue.fullScans;
    catalogue.removeResourceLocation(2);
    QCOMPARE(catalogue.fullScans, scansBefore);
    catalogue.removeResourceLocation(0);
    QCOMPARE(catalogue.fullScans, scansBefore + 1);
    QCOMPARE(changed.count(), 3);
    QCOMPARE(library.database->readFolders(library.kind), QStringList{expected.last()});

    library.restart();
    QCOMPARE(library.catalogue->resourceLocations()->stringList(), QStringList{expected.last()});
}

void TestCatalogueService::setupOkRunsSetupOnce()
{
    Library library;
    TestCatalogue catalogue(library.database, DatabaseService::Tool, nullptr, {"Sphere", "Cube"});
    QAbstractItemModelTester tester(&catalogue, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy spy(&catalogue, &ResourceDataService::setupOkChanged);
    QVERIFY(catalogue.categories()->stringList().isEmpty());
    catalogue.setSetupOk(false);
    QCOMPARE(catalogue.fullScans, 0);
    catalogue.setSetupOk(true);
    catalogue.setSetupOk(true);
    QCOMPARE(catalogue.fullScans, 1);
    QCOMPARE(spy.count(), 3);
    QVERIFY(catalogue.setupOk());
    QCOMPARE(catalogue.rowCount(), 2);
    QCOMPARE(catalogue.categories()->stringList(), (QStringList{"All", "Unassigned"}));
}

void TestCatalogueService::favouritesBridge()
{
    Library library({"Skin", "Metal", "Chrome"});
    TestCatalogue &catalogue = *library.catalogue;
    FavoriteSet work("Work", false, "red", 1);
    FavoriteSet play("Play", false, "blue", 2);

    catalogue.onLoadFavorite(&work, {"Metal", DatabaseService::Tool, "Work"});
    catalogue.onLoadFavorite(&work, {"Gone", library.kind, "Work"});
    QCOMPARE(work.count(), 0);
    catalogue.onLoadFavorite(&work, {"Metal", library.kind, "Work"});
    catalogue.onLoadFavorite(&work, {"Skin", library.kind, "Work"});
    catalogue.onLoadFavorite(&play, {"Chrome", library.kind, "Play"});
    QCOMPARE(work.favorites(), (QList<QObject *>{catalogue.resource("Metal"), catalogue.resource("Skin")}));
    QVERIFY(!catalogue.resource("Metal")->favorite());

    catalogue.takeChangedRows();
    catalogue.onFavoriteSetActivated(&play, &work);
    QVERIFY(catalogue.resource("Metal")->favorite());
    QVERIFY(catalogue.resource("Skin")->favorite());
    QVERIFY(!catalogue.resource("Chrome")->favorite());
    QCOMPARE(catalogue.takeChangedRows(), (QList<int>{2, 1, 0}));
    catalogue.onFavoriteSetActivated(&work, nullptr);
    QVERIFY(catalogue.resource("Metal")->favorite());
    catalogue.onFavoriteSetActivated(&work, &play);
    QVERIFY(!catalogue.resource("Metal")->favorite());
    QVERIFY(catalogue.resource("Chrome")->favorite());
    QCOMPARE(catalogue.index(2, 0).data(GenericRole::Favorite).toBool(), true);

    // Through the system service: stored, marked, and removed again.
    FavoriteSet *stored = library.system->favoriteSets().first();
    catalogue.proxy()->sort(2);
    catalogue.addItemToFavorites(0, stored);
    QCOMPARE(stored->favorites(), QList<QObject *>{catalogue.resource("Chrome")});
    QCOMPARE(library.database->readFavoriteResources().size(), 1);
    catalogue.removeFavorite(catalogue.resource("Chrome"), stored);
    catalogue.removeFavorite(catalogue.resource("Chrome"), catalogue.resource("Skin"));
    QVERIFY(!catalogue.resource("Chrome")->favorite());
    QCOMPARE(stored->count(), 0);
    QVERIFY(library.database->readFavoriteResources().isEmpty());
}

void TestCatalogueService::storeCallables()
{
    Library library({"Skin"});
    const auto holds = library.catalogue->namePredicate();
    const auto takeIn = library.catalogue->folderAction();
    QVERIFY(holds("Skin"));
    QVERIFY(!holds("skin"));
    takeIn("/store/product");
    QCOMPARE(library.catalogue->scannedLocations, QStringList{"/store/product"});
    // The store outlives the catalogues.
    library.catalogue.reset();
    QVERIFY(!holds("Skin"));
    takeIn("/store/product");
}

QTEST_GUILESS_MAIN(TestCatalogueService)
#include "tst_catalogueservice.moc"
