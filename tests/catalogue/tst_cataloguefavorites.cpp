#include "testcatalogue.h"
#include "tests/common/favoritenames.h"

#include "Model/favoriteset.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

QStringList storedSetNames(DatabaseService &database)
{
    QStringList names;
    const auto rows = database.readFavoriteSets();
    for (const auto &row : rows)
        names << row.name;
    return names;
}

} // namespace

class TestCatalogueFavorites : public QObject
{
    Q_OBJECT

private slots:
    void defaultSetComesFirst();
    void addFavoriteSet();
    void moveFavoriteSet_data();
    void moveFavoriteSet();
    void removeFavoriteSet();
    void editFavoriteSet();
    void editAfterRemovalAndRestart();
    void membersAddedOnceAndRemoved();
    void moveFavoriteIsStored();
    void activationMovesTheMarks();
    void loadFavoritesOnce();
    void selectedFavorite();
};

void TestCatalogueFavorites::defaultSetComesFirst()
{
    Library library;
    SystemDataService &system = *library.system;
    QCOMPARE(setNames(system), QStringList{"Default"});
    FavoriteSet *first = system.favoriteSets().first();
    QVERIFY(first->readOnly());
    QCOMPARE(first->color(), QStringLiteral("transparent"));
    QCOMPARE(first->order(), 0);
    QCOMPARE(system.currentFavoriteSet(), first);
    QVERIFY(library.database->readFavoriteSets().isEmpty());

    library.database->insertFavoriteSet("Work", "#ff112233", 1);
    library.database->insertFavoriteSet("Default", "red", 2);
    library.restart();
    QCOMPARE(setNames(*library.system), (QStringList{"Default", "Work"}));
    QVERIFY(library.system->favoriteSets().first()->readOnly());
    QCOMPARE(library.system->favoriteSets().first()->color(), QStringLiteral("transparent"));
}

void TestCatalogueFavorites::addFavoriteSet()
{
    Library library;
    SystemDataService &system = *library.system;
    QSignalSpy spy(&system, &SystemDataService::favoritesModelChanged);
    system.addFavoriteSet("Work", true, false, "#ff00ff00");
    system.addFavoriteSet("Work", true, false, "#ffffffff");
    system.addFavoriteSet("");
    system.addFavoriteSet("work");
    system.addFavoriteSet("Scratch", false);
    QCOMPARE(spy.count(), 3);
    QCOMPARE(setNames(system), (QStringList{"Default", "Work", "work", "Scratch"}));
    QCOMPARE(setNamed(system, "work")->order(), 2);
    QCOMPARE(setNamed(system, "work")->color(), QStringLiteral("transparent"));
    QCOMPARE(system.favoritesModel().size(), 4);

    library.restart();
    QCOMPARE(setNames(*library.system), (QStringList{"Default", "Work", "work"}));
    QCOMPARE(setNamed(*library.system, "Work")->color(), QStringLiteral("#ff00ff00"));
}

void TestCatalogueFavorites::moveFavoriteSet_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("used");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("before Default lands after it") << 3 << 0 << 1 << QStringList{"Default", "C", "A", "B"};
    QTest::newRow("past the end") << 1 << 10 << 3 << QStringList{"Default", "B", "C", "A"};
    QTest::newRow("one step") << 1 << 2 << 2 << QStringList{"Default", "B", "A", "C"};
    QTest::newRow("Default stays") << 0 << 2 << 0 << QStringList{"Default", "A", "B", "C"};
    QTest::newRow("unknown set") << 7 << 1 << 7 << QStringList{"Default", "A", "B", "C"};
}

void TestCatalogueFavorites::moveFavoriteSet()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, order);
    Library library;
    for (const char *name : {"A", "B", "C"})
        library.system->addFavoriteSet(name, true, false, QStringLiteral("#ff0000%1").arg(name));
    QTEST(library.system->moveFavoriteSet(from, to), "used");
    QCOMPARE(setNames(*library.system), order);
    const QList<FavoriteSet *> sets = library.system->favoriteSets();
    for (int i = 0; i < sets.size(); ++i)
        QCOMPARE(sets.at(i)->order(), i);

    library.restart();
    QCOMPARE(setNames(*library.system), order);
    QCOMPARE(setNamed(*library.system, "B")->color(), QStringLiteral("#ff0000B"));
}

void TestCatalogueFavorites::removeFavoriteSet()
{
    Library library({"Skin", "Metal"});
    SystemDataService &system = *library.system;
    TestCatalogue &catalogue = *library.catalogue;
    system.addFavoriteSet("Work");
    system.addFavoriteSet("Play");
    FavoriteSet *work = setNamed(system, "Work");
    system.addItemToFavorites(catalogue.resource("Skin"), work);
    system.activateFavoriteSet(system.favoriteSets().first(), work);
    QVERIFY(catalogue.resource("Skin")->favorite());

    system.removeFavoriteSet(system.favoriteSets().first());
    system.removeFavoriteSet(catalogue.resource("Skin"));
    QCOMPARE(setNames(system), (QStringList{"Default", "Work", "Play"}));

    QSignalSpy gone(work, &QObject::destroyed);
    system.removeFavoriteSet(work);
    QCOMPARE(setNames(system), (QStringList{"Default", "Play"}));
    // The current set went: the marks go with it and "Default" takes over.
    QCOMPARE(system.currentFavoriteSet(), system.favoriteSets().first());
    QVERIFY(!catalogue.resource("Skin")->favorite());
    QVERIFY(gone.wait(1000));
    QCOMPARE(storedSetNames(*library.database), QStringList{"Play"});
    QVERIFY(library.database->readFavoriteResources().isEmpty());
    // Orders are not renumbered.
    QCOMPARE(setNamed(system, "Play")->order(), 2);

    // A later set of the same name starts empty.
    system.addFavoriteSet("Work");
    library.restart();
    QCOMPARE(setNamed(*library.system, "Work")->count(), 0);
}

void TestCatalogueFavorites::editFavoriteSet()
{
    Library library({"Skin", "Metal", "Chrome"});
    SystemDataService &system = *library.system;
    TestCatalogue &catalogue = *library.catalogue;
    system.addFavoriteSet("Work", true, false, "red");
    system.addFavoriteSet("Play");
    FavoriteSet *work = setNamed(system, "Work");
    system.addItemToFavorites(catalogue.resource("Metal"), work);
    system.addItemToFavorites(catalogue.resource("Skin"), work);
    // Stored but not in the catalogue right now (its file is away): it follows too.
    library.database->saveFavoriteResource("Away", catalogue.kindWord(), "Work", 2);

    system.editFavoriteSet(work, "Play", "green", 1);
    system.editFavoriteSet(work, "", "green", 1);
    system.editFavoriteSet(system.favoriteSets().first(), "Mine", "green", 0);
    QCOMPARE(setNames(system), (QStringList{"Default", "Work", "Play"}));
    QCOMPARE(work->color(), QStringLiteral("red"));

    QSignalSpy renamed(work, &FavoriteSet::nameChanged);
    system.editFavoriteSet(work, "Sculpt", "green", 1);
    QCOMPARE(renamed.count(), 1);
    QCOMPARE(work->order(), 1);
    QCOMPARE(storedSetNames(*library.database), (QStringList{"Sculpt", "Play"}));

    library.restart();
    FavoriteSet *sculpt = setNamed(*library.system, "Sculpt");
    QVERIFY(sculpt);
    QCOMPARE(sculpt->color(), QStringLiteral("green"));
    QCOMPARE(memberNames(sculpt), (QStringList{"Metal", "Skin"}));
    QCOMPARE(library.database->readFavoriteResources().size(), 3);
}

void TestCatalogueFavorites::editAfterRemovalAndRestart()
{
    // Stored orders 1 and 3 come back as 1 and 2: edits and moves still have to land.
    Library library;
    for (const char *name : {"A", "B", "C"})
        library.system->addFavoriteSet(name);
    library.system->removeFavoriteSet(setNamed(*library.system, "B"));
    library.restart();
    library.system->editFavoriteSet(setNamed(*library.system, "C"), "C2", "blue", 2);
    QCOMPARE(library.system->moveFavoriteSet(2, 1), 1);
    library.restart();
    QCOMPARE(setNames(*library.system), (QStringList{"Default", "C2", "A"}));
    QCOMPARE(setNamed(*library.system, "C2")->color(), QStringLiteral("blue"));
}

void TestCatalogueFavorites::membersAddedOnceAndRemoved()
{
    Library library({"Skin", "Metal"});
    SystemDataService &system = *library.system;
    TestCatalogue &catalogue = *library.catalogue;
    system.addFavoriteSet("Work");
    system.addFavoriteSet("Play");
    FavoriteSet *work = setNamed(system, "Work");
    FavoriteSet *play = setNamed(system, "Play");
    Resource *skin = catalogue.resource("Skin");
    Resource *metal = catalogue.resource("Metal");

    system.addItemToFavorites(skin, work);
    system.addItemToFavorites(metal, work);
    // A second add neither moves it nor stores it at another position.
    system.addItemToFavorites(metal, work);
    system.addItemToFavorites(skin, play);
    system.addItemToFavorites(skin, nullptr);
    QCOMPARE(memberNames(work), (QStringList{"Skin", "Metal"}));
    QVERIFY(skin->favorite());
    QStringList storedWork;
    const auto stored = library.database->readFavoriteResources();
    for (const auto &favorite : stored) {
        if (std::get<2>(favorite) == QLatin1String("Work"))
            storedWork << std::get<0>(favorite);
    }
    QCOMPARE(storedWork, (QStringList{"Skin", "Metal"}));

    // Cleared even though "Play" still holds it.
    system.removeItemFromFavorites(skin, work);
    QVERIFY(!skin->favorite());
    QCOMPARE(memberNames(work), QStringList{"Metal"});
    QCOMPARE(memberNames(play), QStringList{"Skin"});

    library.restart();
    QCOMPARE(memberNames(setNamed(*library.system, "Work")), QStringList{"Metal"});
    QCOMPARE(memberNames(setNamed(*library.system, "Play")), QStringList{"Skin"});
}

void TestCatalogueFavorites::moveFavoriteIsStored()
{
    Library library({"A", "B", "C", "D"});
    SystemDataService &system = *library.system;
    system.addFavoriteSet("Work", true, false, "#ff445566");
    FavoriteSet *work = setNamed(system, "Work");
    for (const char *name : {"A", "B", "C", "D"})
        system.addItemToFavorites(library.catalogue->resource(name), work);
    system.moveFavorite(work, 3, 0);
    system.moveFavorite(work, 1, 2);
    system.moveFavorite(work, 0, 4);
    QCOMPARE(memberNames(work), (QStringList{"D", "B", "A", "C"}));

    library.restart();
    FavoriteSet *again = setNamed(*library.system, "Work");
    QCOMPARE(memberNames(again), (QStringList{"D", "B", "A", "C"}));
    QCOMPARE(again->color(), QStringLiteral("#ff445566"));
}

void TestCatalogueFavorites::activationMovesTheMarks()
{
    Library library({"Skin", "Metal", "Chrome"});
    SystemDataService &system = *library.system;
    TestCatalogue &catalogue = *library.catalogue;
    FavoriteSet *defaultSet = system.favoriteSets().first();
    system.addFavoriteSet("Work");
    FavoriteSet *work = setNamed(system, "Work");
    catalogue.addItemToFavorites(0, defaultSet);
    catalogue.addItemToFavorites(1, work);
    library.restart();

    SystemDataService &restarted = *library.system;
    TestCatalogue &again = *library.catalogue;
    QVERIFY(again.resource("Skin")->favorite());
    QVERIFY(!again.resource("Metal")->favorite());
    QSignalSpy activated(&restarted, &SystemDataService::favoriteSetActivated);
    restarted.setSelectedFavoriteIndex(0);
    restarted.activateFavoriteSet(restarted.favoriteSets().first(), setNamed(restarted, "Work"));
    QCOMPARE(activated.count(), 1);
    QCOMPARE(restarted.currentFavoriteSet(), setNamed(restarted, "Work"));
    QCOMPARE(restarted.selectedFavoriteIndex(), -1);
    QVERIFY(!again.resource("Skin")->favorite());
    QVERIFY(again.resource("Metal")->favorite());
    restarted.activateFavoriteSet(nullptr, restarted.favoriteSets().first());
    QCOMPARE(activated.count(), 1);
    QVERIFY(again.resource("Metal")->favorite());
}

void TestCatalogueFavorites::loadFavoritesOnce()
{
    Library library({"Skin", "Metal"});
    library.system->addFavoriteSet("Work");
    library.database->saveFavoriteResource("Skin", library.catalogue->kindWord(), "Work", 0);
    library.database->saveFavoriteResource("Metal", library.catalogue->kindWord(), "Nowhere", 0);
    library.database->saveFavoriteResource("Metal", "brush", "Work", 1);
    library.database.reset();
    library.catalogue.reset();
    library.system.reset();

    library.database = QSharedPointer<DatabaseService>::create(library.path, QString(), true);
    SystemDataService system(nullptr, library.database, nullptr);
    QSignalSpy added(&system, &SystemDataService::favoriteResourceAdded);
    QSignalSpy activated(&system, &SystemDataService::favoriteSetActivated);
    system.loadFavorites();
    system.loadFavorites();
    // The brush member goes to the brush catalogue, which is not here to take it.
    QCOMPARE(added.count(), 2);
    QCOMPARE(activated.count(), 1);
    FavoriteSet *first = system.favoriteSets().first();
    QCOMPARE(activated.first().at(0).value<FavoriteSet *>(), first);
    QCOMPARE(activated.first().at(1).value<FavoriteSet *>(), first);
    const auto info = added.at(1).at(1).value<DatabaseService::Favorite>();
    QCOMPARE(std::get<0>(info), QStringLiteral("Metal"));
    QCOMPARE(std::get<1>(info), DatabaseService::Brush);
}

void TestCatalogueFavorites::selectedFavorite()
{
    Library library({"Skin", "Metal"});
    SystemDataService &system = *library.system;
    TestCatalogue &catalogue = *library.catalogue;
    FavoriteSet *defaultSet = system.favoriteSets().first();
    system.addItemToFavorites(catalogue.resource("Skin"), defaultSet);
    system.addItemToFavorites(catalogue.resource("Metal"), defaultSet);
    QSignalSpy spy(&system, &SystemDataService::selectedFavoriteIndexChanged);
    system.setSelectedFavorite(catalogue.resource("Metal"));
    QCOMPARE(system.selectedFavoriteIndex(), 1);
    system.setSelectedFavorite(defaultSet);
    QCOMPARE(system.selectedFavoriteIndex(), -1);
    system.setSelectedFavorite(nullptr);
    QCOMPARE(spy.count(), 3);
}

QTEST_GUILESS_MAIN(TestCatalogueFavorites)
#include "tst_cataloguefavorites.moc"
