#include "Model/databaseservice.h"
#include "rawconnection.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// Creating the program's tables on the shipped template and carrying old favourites forward.
class TestDatabaseSchema : public QObject
{
    Q_OBJECT

private slots:
    void templateHoldsOnlyEmptyBaseTables();
    void schemaWorkCreatesProgramTables();
    void reopeningChangesNothing();
    void withoutSchemaWorkNothingIsCreated();
    void versionIsReadAtOpening_data();
    void versionIsReadAtOpening();
    void unopenableFileLeavesServiceClosed();
    void legacyFavoritesAreMigrated_data();
    void legacyFavoritesAreMigrated();

private:
    static QStringList programTables();
};

QStringList TestDatabaseSchema::programTables()
{
    QStringList tables{"FavoriteResources", "UILayoutFolders", "StoreSetInfo"};
    for (const char *stem : {"Project", "Material", "Tool", "Fiber", "Texture", "Light", "Grid", "MeshArray",
                             "Spotlight", "RenderPreset", "Document"}) {
        const QString s = QString::fromLatin1(stem);
        tables << s + "Categories" << s + "s" << s + "Folders";
    }
    return tables;
}

void TestDatabaseSchema::templateHoldsOnlyEmptyBaseTables()
{
    QTemporaryDir dir;
    RawConnection raw(copyTemplate(dir));
    const QStringList base{"AlphaCategories", "AlphaFolders", "Alphas",   "BrushFolders",  "Brushes",
                           "Categories",      "FavoriteSets", "Icons",    "KIV_Categories", "Settings"};
    QCOMPARE(raw.tables(), base);
    for (const QString &table : base)
        QCOMPARE(raw.value(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table)).toInt(), 0);
}

void TestDatabaseSchema::schemaWorkCreatesProgramTables()
{
    QTemporaryDir dir;
    const QString path = copyTemplate(dir);
    {
        DatabaseService db(path, QString(), true);
        QVERIFY(db.isOpen());
    }
    RawConnection raw(path);
    const QStringList tables = raw.tables();
    for (const QString &table : programTables())
        QVERIFY2(tables.contains(table), qPrintable(table));
    QCOMPARE(raw.value("SELECT COUNT(*) FROM sqlite_master WHERE type='index' AND name='ResourceFavorite'").toInt(),
             1);
}

void TestDatabaseSchema::reopeningChangesNothing()
{
    QTemporaryDir dir;
    const QString path = copyTemplate(dir);
    {
        DatabaseService db(path, QString(), true);
        auto tool = QSharedPointer<ResourceInfo>::create();
        tool->name = "Dog";
        tool->path = "/z/Dog.ztl";
        tool->description = "a dog";
        db.saveResources({tool}, DatabaseService::Tool);
        db.insertCategory("Animals", DatabaseService::Tool);
        db.insertFolder("/lib/tools", DatabaseService::Tool);
        db.insertFavoriteSet("Work", "#ff112233", 1);
        db.saveFavoriteResource("Dog", "tool", "Work", 0);
        db.writeSetting(DatabaseService::Theme, "Dark");
        db.writeStoreSetInfo("Pack", true);
    }
    QStringList before;
    {
        RawConnection raw(path);
        before = raw.dump();
    }
    QVERIFY(before.size() > programTables().size());
    {
        DatabaseService db(path, QString(), true);
        QVERIFY(db.isOpen());
    }
    RawConnection raw(path);
    QCOMPARE(raw.dump(), before);
}

void TestDatabaseSchema::withoutSchemaWorkNothingIsCreated()
{
    QTemporaryDir dir;
    const QString path = copyTemplate(dir);
    {
        RawConnection raw(path);
        raw.exec("INSERT INTO Settings VALUES ('DatabaseVersion', '2022.1')");
    }
    {
        DatabaseService db(path, QStringLiteral("thumbnails-1"), false);
        QVERIFY(db.isOpen());
        QCOMPARE(db.databaseVersion(), QStringLiteral("0.0.0.0"));
    }
    RawConnection raw(path);
    QVERIFY(!raw.tables().contains("FavoriteResources"));
    // The service removes its named connection when it goes.
    QVERIFY(!QSqlDatabase::contains(QStringLiteral("thumbnails-1")));
}

void TestDatabaseSchema::versionIsReadAtOpening_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no row") << QString() << QString();
    QTest::newRow("stored") << "2021.5.1" << "2021.5.1";
}

void TestDatabaseSchema::versionIsReadAtOpening()
{
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = copyTemplate(dir);
    if (!stored.isNull()) {
        RawConnection raw(path);
        raw.exec("INSERT INTO Settings VALUES ('DatabaseVersion', ?)", {stored});
    }
    DatabaseService db(path, QString(), true);
    QCOMPARE(db.databaseVersion(), expected);
    // Written versions reach the file, not the value read at opening.
    db.writeDatabaseVersion("2099.1");
    QCOMPARE(db.databaseVersion(), expected);
    QCOMPARE(db.readSetting(DatabaseService::DatabaseVersion).toString(), QStringLiteral("2099.1"));
}

void TestDatabaseSchema::unopenableFileLeavesServiceClosed()
{
    QTemporaryDir dir;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^ERROR: "));
    DatabaseService db(dir.filePath("missing/folder/brushes.db"), QString(), true);
    QVERIFY(!db.isOpen());
    QVERIFY(db.readResources(DatabaseService::Project).isEmpty());
    QVERIFY(db.readSetting(DatabaseService::Theme).isNull());
    QVERIFY(db.readFavoriteSets().isEmpty());
}

void TestDatabaseSchema::legacyFavoritesAreMigrated_data()
{
    QTest::addColumn<QVariantList>("existingSetOrders");
    QTest::addColumn<int>("alphaDefaultOrder");
    // An empty FavoriteSets gives MAX() = NULL, read as 0.
    QTest::newRow("no sets yet") << QVariantList{} << 1;
    QTest::newRow("two sets") << QVariantList{0, 5} << 6;
}

void TestDatabaseSchema::legacyFavoritesAreMigrated()
{
    QFETCH(QVariantList, existingSetOrders);
    QFETCH(int, alphaDefaultOrder);
    QTemporaryDir dir;
    const QString path = copyTemplate(dir);
    {
        RawConnection raw(path);
        for (int i = 0; i < existingSetOrders.size(); ++i)
            raw.exec("INSERT INTO FavoriteSets (SetOrder, Name, Color) VALUES (?, ?, 'red')",
                     {existingSetOrders.at(i), QStringLiteral("Set%1").arg(i)});
        raw.exec("CREATE TABLE FavoriteBrushes (BrushName TEXT, FavoriteSetName TEXT, SetOrder INTEGER)");
        const QList<QVariantList> brushes{{"b2", "B", 1}, {"a3", "A", 2}, {"b1", "B", 0}, {"a1", "A", 0},
                                          {"a2", "A", 1}, {"clash", "B", 2}};
        for (const QVariantList &row : brushes)
            raw.exec("INSERT INTO FavoriteBrushes VALUES (?, ?, ?)", row);
        raw.exec("CREATE TABLE FavoriteAlphaSets (Name TEXT, Color TEXT, SetOrder INTEGER, ReadOnly INTEGER)");
        raw.exec("INSERT INTO FavoriteAlphaSets VALUES ('Rocks', '#ff00ff00', 1, 0)");
        // Becomes "Alpha_Default", which the migration adds itself: skipped.
        raw.exec("INSERT INTO FavoriteAlphaSets VALUES ('Default', '#ffff0000', 0, 1)");
        raw.exec("CREATE TABLE FavoriteAlphas (AlphaName TEXT, FavoriteSetName TEXT, SetOrder INTEGER)");
        raw.exec("INSERT INTO FavoriteAlphas VALUES ('r2', 'Rocks', 1)");
        raw.exec("INSERT INTO FavoriteAlphas VALUES ('r1', 'Rocks', 0)");
        raw.exec("INSERT INTO FavoriteAlphas VALUES ('d1', 'Default', 0)");
        // A member that already exists keeps its row.
        raw.exec("CREATE TABLE 'FavoriteResources' ('Name' TEXT NOT NULL, 'Type' TEXT NOT NULL, "
                 "'SetName' TEXT NOT NULL, 'SetOrder' INTEGER NOT NULL DEFAULT 0)");
        raw.exec("CREATE UNIQUE INDEX 'ResourceFavorite' ON 'FavoriteResources' ('Name', 'SetName')");
        raw.exec("INSERT INTO FavoriteResources VALUES ('clash', 'tool', 'B', 42)");
    }

    QStringList afterFirstOpen;
    {
        DatabaseService db(path, QString(), true);
        QVector<DatabaseService::Favorite> favorites = db.readFavoriteResources();
        QStringList members;
        for (const auto &f : favorites)
            members << std::get<2>(f) + "/" + std::get<0>(f) + "/" + DatabaseService::kindWord(std::get<1>(f));
        // Sorted by set, then by migrated order: each set keeps its old order.
        QCOMPARE(members, QStringList({"A/a1/brush", "A/a2/brush", "A/a3/brush", "Alpha_Default/d1/alpha",
                                       "Alpha_Rocks/r1/alpha", "Alpha_Rocks/r2/alpha", "B/b1/brush",
                                       "B/b2/brush", "B/clash/tool"}));
    }
    RawConnection raw(path);
    for (const char *legacy : {"FavoriteBrushes", "FavoriteAlphaSets", "FavoriteAlphas"})
        QVERIFY2(!raw.tables().contains(legacy), legacy);
    QCOMPARE(raw.value("SELECT SetOrder FROM FavoriteResources WHERE Name='clash'").toInt(), 42);

    const auto sets = raw.rows("SELECT Name, Color, ReadOnly, SetOrder FROM FavoriteSets "
                               "WHERE Name LIKE 'Alpha_%' ORDER BY SetOrder");
    QCOMPARE(sets.size(), 2);
    QCOMPARE(sets.at(0), (QVariantList{"Alpha_Default", "transparent", 0, alphaDefaultOrder}));
    // Sets are numbered on from Alpha_Default in name order, each adding its old order.
    QCOMPARE(sets.at(1), (QVariantList{"Alpha_Rocks", "#ff00ff00", 0, alphaDefaultOrder + 3}));
    for (const QVariant &order : existingSetOrders)
        QVERIFY(sets.at(0).at(3).toInt() > order.toInt());

    // A second opening finds no legacy tables and adds nothing.
    afterFirstOpen = raw.dump();
    {
        DatabaseService db(path, QString(), true);
    }
    QCOMPARE(raw.dump(), afterFirstOpen);
}

QTEST_GUILESS_MAIN(TestDatabaseSchema)
#include "tst_databaseschema.moc"
