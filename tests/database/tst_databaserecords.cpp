#include "Model/databaseservice.h"
#include "rawconnection.h"
#include "tests/common/resourcerecord.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// Resource rows: the merge of a rescan with the user's edits, and the catalogue lists.
class TestDatabaseRecords : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void genericRescanKeepsUserEdits_data();
    void genericRescanKeepsUserEdits();
    void alphaRescanKeepsUserEdits();
    void brushRescanKeepsUserEdits();
    void newRowsStoreEmptyTextNotNull();
    void laterRecordOfOneBatchMergesWithEarlier();
    void failingRecordRollsBackBatch();
    void tableWithoutNameKeyStillMerges();
    void putBrushOverwrites();
    void categoriesAreSplitPerKind_data();
    void categoriesAreSplitPerKind();
    void emptyCategoryListIsStoredAsAll();
    void categoryAndFolderLists();
    void makerCategoriesAndIcons();

private:
    QTemporaryDir *m_dir = nullptr;
    QString m_path;
    DatabaseService *m_db = nullptr;
};

void TestDatabaseRecords::init()
{
    m_dir = new QTemporaryDir;
    m_path = copyTemplate(*m_dir);
    m_db = new DatabaseService(m_path, QString(), true);
    QVERIFY(m_db->isOpen());
}

void TestDatabaseRecords::cleanup()
{
    delete m_db;
    m_db = nullptr;
    delete m_dir;
    m_dir = nullptr;
}

void TestDatabaseRecords::genericRescanKeepsUserEdits_data()
{
    QTest::addColumn<DatabaseService::ResourceType>("type");
    for (auto type : {DatabaseService::Project, DatabaseService::Material, DatabaseService::Tool,
                      DatabaseService::Fiber, DatabaseService::Texture, DatabaseService::Light,
                      DatabaseService::Grid, DatabaseService::RenderPreset, DatabaseService::Spotlight,
                      DatabaseService::MeshArray, DatabaseService::Document})
        QTest::newRow(qPrintable(DatabaseService::kindWord(type))) << type;
}

void TestDatabaseRecords::genericRescanKeepsUserEdits()
{
    QFETCH(DatabaseService::ResourceType, type);
    m_db->saveResources({resourceRecord("Rock", "/old/Rock", "Mon Dec 1 10:00:00 2025", QString(), {}, {}, true),
                         resourceRecord("Tree", "/old/Tree", "Mon Dec 1 10:00:00 2025", "scanned")},
                        type);
    m_db->setResourceDescription("Rock", "my rock", type);
    m_db->setResourceTags("Rock", {"stone", "grey"}, type);
    m_db->setResourceCategories("Rock", {"Nature", "Props"}, type);

    m_db->saveResources({resourceRecord("Rock", "/new/Rock", "Tue Dec 2 11:00:00 2025", "other", {"Y"}, {"x"}),
                         resourceRecord("Tree", "/new/Tree", "Tue Dec 2 11:00:00 2025", "changed", {}, {"t"}, true)},
                        type);

    const auto stored = m_db->readResources(type);
    QCOMPARE(stored.size(), 2);
    const ResourceInfo &rock = *stored.value("Rock");
    QVERIFY(rock.valid);
    QCOMPARE(rock.path, QStringLiteral("/new/Rock"));
    QCOMPARE(rock.scanDate, QStringLiteral("Tue Dec 2 11:00:00 2025"));
    QCOMPARE(rock.description, QStringLiteral("my rock"));
    QCOMPARE(rock.tags, QStringList({"stone", "grey"}));
    QCOMPARE(rock.categories, QStringList({"Nature", "Props"}));
    QCOMPARE(rock.readOnly, true);
    // Stored values win even when they are empty or "All".
    const ResourceInfo &tree = *stored.value("Tree");
    QCOMPARE(tree.path, QStringLiteral("/new/Tree"));
    QCOMPARE(tree.description, QStringLiteral("scanned"));
    QCOMPARE(tree.tags, QStringList());
    QCOMPARE(tree.categories, QStringList({"All"}));
    QCOMPARE(tree.readOnly, false);
}

void TestDatabaseRecords::alphaRescanKeepsUserEdits()
{
    auto first = resourceRecord<AlphaInfo>("Skin", "/old/Skin.psd", "d1");
    first->width = 512;
    first->height = 256;
    first->depth = 8;
    m_db->saveAlphas({first});
    m_db->setResourceDescription("Skin", "pores", DatabaseService::Alpha);
    m_db->setResourceTags("Skin", {"organic"}, DatabaseService::Alpha);
    m_db->setResourceCategories("Skin", {"Detail"}, DatabaseService::Alpha);
    m_db->setAlphaIgnore("Skin", true);
    QCOMPARE(m_db->readAlphas().value("Skin")->ignore, true);

    auto rescan = resourceRecord<AlphaInfo>("Skin", "/new/Skin.psd", "d2", "scan text", {"c"}, {"t"}, true);
    rescan->width = 1024;
    rescan->height = 2048;
    rescan->depth = 16;
    m_db->saveAlphas({rescan});

    const auto stored = m_db->readAlphas().value("Skin");
    const AlphaInfo &a = *stored;
    QCOMPARE(a.path, QStringLiteral("/new/Skin.psd"));
    QCOMPARE(a.scanDate, QStringLiteral("d2"));
    QCOMPARE(a.description, QStringLiteral("pores"));
    QCOMPARE(a.tags, QStringList({"organic"}));
    QCOMPARE(a.categories, QStringList({"Detail"}));
    QCOMPARE(a.readOnly, false);
    QCOMPARE(a.width, 1024);
    QCOMPARE(a.height, 2048);
    QCOMPARE(a.depth, 16);
    // The scan's ignore flag is one of the replaced columns.
    QCOMPARE(a.ignore, false);
}

void TestDatabaseRecords::brushRescanKeepsUserEdits()
{
    auto first = resourceRecord<BrushInfo>("Clay", "/old/Clay.ZBP", "d1", QString(), {}, {}, true);
    first->author = "A";
    first->link = "L";
    first->type = "3";
    first->kivCategory = "Sculpt";
    m_db->saveBrushes({first});
    m_db->setResourceDescription("Clay", "mine", DatabaseService::Brush);
    m_db->setResourceTags("Clay", {"soft"}, DatabaseService::Brush);
    m_db->updateBrushType("Clay", "7");

    BrushInfo rescan = *resourceRecord<BrushInfo>("Clay", "/new/Clay.ZBP", "d2", "file text", {"New"});
    rescan.author = "B";
    rescan.link = "M";
    rescan.type = "1";
    rescan.kivCategory = "Other";
    m_db->saveBrushes({QSharedPointer<BrushInfo>::create(rescan)});
    // The single-record form merges the same way.
    rescan.path = "/newer/Clay.ZBP";
    rescan.type = "2";
    m_db->saveBrush(rescan);

    const auto stored = m_db->readBrushes().value("Clay");
    const BrushInfo &b = *stored;
    QCOMPARE(b.path, QStringLiteral("/newer/Clay.ZBP"));
    QCOMPARE(b.scanDate, QStringLiteral("d2"));
    QCOMPARE(b.author, QStringLiteral("B"));
    QCOMPARE(b.link, QStringLiteral("M"));
    QCOMPARE(b.description, QStringLiteral("mine"));
    QCOMPARE(b.tags, QStringList({"soft"}));
    QCOMPARE(b.type, QStringLiteral("7"));
    QCOMPARE(b.kivCategory, QStringLiteral("Sculpt"));
    QCOMPARE(b.categories, QStringList({"All"}));
    QCOMPARE(b.readOnly, true);
}

void TestDatabaseRecords::newRowsStoreEmptyTextNotNull()
{
    BrushInfo brush;
    brush.name = "Empty";
    m_db->saveBrush(brush);
    m_db->saveResources({resourceRecord("Empty", QString(), QString())}, DatabaseService::Project);
    RawConnection raw(m_path);
    QCOMPARE(raw.rows("SELECT Path, Description, Author, Link, Type, Tags, KIV_Category, ScanDate, Category "
                      "FROM Brushes")
                 .value(0),
             (QVariantList{"", "", "", "", "", "", "", "", "All"}));
    QCOMPARE(raw.value("SELECT COUNT(*) FROM Brushes WHERE typeof(Description) = 'null' OR typeof(Type) = 'null'")
                 .toInt(),
             0);
    QCOMPARE(raw.value("SELECT typeof(Description) || typeof(Tags) FROM Projects").toString(),
             QStringLiteral("texttext"));
    // The stored empty description now wins over a scanned one.
    brush.description = "later";
    m_db->saveBrush(brush);
    QCOMPARE(m_db->readBrushes().value("Empty")->description, QString(""));
}

void TestDatabaseRecords::laterRecordOfOneBatchMergesWithEarlier()
{
    m_db->saveResources({resourceRecord("Twin", "/a/Twin", "d1", "first", {"A"}, {"a"}, true),
                         resourceRecord("Twin", "/b/Twin", "d2", "second", {"B"}, {"b"})},
                        DatabaseService::Material);
    const auto stored = m_db->readResources(DatabaseService::Material).value("Twin");
    const ResourceInfo &twin = *stored;
    QCOMPARE(twin.path, QStringLiteral("/b/Twin"));
    QCOMPARE(twin.description, QStringLiteral("first"));
    QCOMPARE(twin.tags, QStringList({"a"}));
    QCOMPARE(twin.readOnly, true);
}

void TestDatabaseRecords::failingRecordRollsBackBatch()
{
    m_db->saveResources({resourceRecord("Kept", "/k", "d")}, DatabaseService::Grid);
    // A record without a name violates NOT NULL: the whole batch goes, earlier rows stay.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot store"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("rolled back 3 records"));
    QVERIFY(!m_db->saveResources({resourceRecord("One", "/1", "d"),
                                  resourceRecord(QString(), "/x", "d"),
                                  resourceRecord("Two", "/2", "d")},
                                 DatabaseService::Grid));
    QCOMPARE(m_db->readResources(DatabaseService::Grid).keys(), QStringList({"Kept"}));
    // The connection is usable again afterwards.
    QVERIFY(m_db->saveResources({resourceRecord("One", "/1", "d")}, DatabaseService::Grid));
    QCOMPARE(m_db->readResources(DatabaseService::Grid).keys(), QStringList({"Kept", "One"}));
}

void TestDatabaseRecords::tableWithoutNameKeyStillMerges()
{
    {
        RawConnection raw(m_path);
        raw.exec("DROP TABLE Fibers");
        raw.exec("CREATE TABLE Fibers (Name TEXT, Path TEXT, Description TEXT, Tags TEXT, Category TEXT, "
                 "ReadOnly INTEGER, ScanDate TEXT)");
    }
    m_db->saveResources({resourceRecord("Fur", "/a", "d1", "scanned")}, DatabaseService::Fiber);
    m_db->setResourceDescription("Fur", "mine", DatabaseService::Fiber);
    m_db->saveResources({resourceRecord("Fur", "/b", "d2", "rescanned")}, DatabaseService::Fiber);
    const auto fur = m_db->readResources(DatabaseService::Fiber).value("Fur");
    QCOMPARE(fur->path, QStringLiteral("/b"));
    QCOMPARE(fur->description, QStringLiteral("mine"));
}

void TestDatabaseRecords::putBrushOverwrites()
{
    BrushInfo brush = *resourceRecord<BrushInfo>("Move", "/z/Move.ZBP", "d1");
    brush.type = "4";
    m_db->saveBrush(brush);
    m_db->setResourceDescription("Move", "user text", DatabaseService::Brush);
    m_db->setResourceTags("Move", {"mine"}, DatabaseService::Brush);

    BrushInfo given = *resourceRecord<BrushInfo>("Move", "/m/Move.ZBP", "d9", "maker text", {"Basics"}, {}, true);
    given.author = "Maker";
    given.link = "https://example.org/move";
    given.type = "12";
    given.kivCategory = "Deform";
    m_db->putBrush(given);
    // A brush not stored yet is inserted with the columns in their places.
    BrushInfo fresh = given;
    fresh.name = "Pinch";
    fresh.tags = QStringList{"sharp", "edge"};
    fresh.readOnly = false;
    m_db->putBrush(fresh);

    const auto brushes = m_db->readBrushes();
    for (const BrushInfo &expected : {given, fresh}) {
        const BrushInfo &b = *brushes.value(expected.name);
        QCOMPARE(b.path, expected.path);
        QCOMPARE(b.description, expected.description);
        QCOMPARE(b.author, expected.author);
        QCOMPARE(b.link, expected.link);
        QCOMPARE(b.type, expected.type);
        QCOMPARE(b.kivCategory, expected.kivCategory);
        QCOMPARE(b.categories, expected.categories);
        QCOMPARE(b.tags, expected.tags);
        QCOMPARE(b.readOnly, expected.readOnly);
        QCOMPARE(b.scanDate, expected.scanDate);
    }
    RawConnection raw(m_path);
    QCOMPARE(raw.value("SELECT Spare FROM Brushes WHERE Name='Pinch'").toString(), QString(""));
}

void TestDatabaseRecords::categoriesAreSplitPerKind_data()
{
    QTest::addColumn<DatabaseService::ResourceType>("type");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("categories");
    QTest::newRow("brush, empty") << DatabaseService::Brush << "" << QStringList();
    QTest::newRow("brush, gaps") << DatabaseService::Brush << "a,,b," << QStringList({"a", "b"});
    QTest::newRow("alpha, empty") << DatabaseService::Alpha << "" << QStringList({""});
    QTest::newRow("alpha, gaps") << DatabaseService::Alpha << "a,,b" << QStringList({"a", "", "b"});
    QTest::newRow("texture, empty") << DatabaseService::Texture << "" << QStringList({""});
    QTest::newRow("texture, gaps") << DatabaseService::Texture << "a,,b" << QStringList({"a", "", "b"});
}

void TestDatabaseRecords::categoriesAreSplitPerKind()
{
    QFETCH(DatabaseService::ResourceType, type);
    QFETCH(QString, stored);
    QFETCH(QStringList, categories);
    {
        RawConnection raw(m_path);
        QVERIFY(raw.exec(QStringLiteral("INSERT INTO %1 (Name, Category, Tags, ScanDate) VALUES ('R', ?, ?, 'd')")
                             .arg(DatabaseService::resourceTable(type)),
                         {stored, stored}));
    }
    QStringList readCategories;
    QStringList readTags;
    if (type == DatabaseService::Brush) {
        const auto r = m_db->readBrushes().value("R");
        readCategories = r->categories;
        readTags = r->tags;
    } else if (type == DatabaseService::Alpha) {
        const auto r = m_db->readAlphas().value("R");
        readCategories = r->categories;
        readTags = r->tags;
    } else {
        const auto r = m_db->readResources(type).value("R");
        readCategories = r->categories;
        readTags = r->tags;
    }
    QCOMPARE(readCategories, categories);
    // Tags never keep empty pieces.
    QCOMPARE(readTags, stored.split(',', Qt::SkipEmptyParts));
}

void TestDatabaseRecords::emptyCategoryListIsStoredAsAll()
{
    m_db->saveResources({resourceRecord("Lamp", "/l", "d", {}, {"Indoor"})}, DatabaseService::Light);
    m_db->setResourceCategories("Lamp", {}, DatabaseService::Light);
    QCOMPARE(m_db->readResources(DatabaseService::Light).value("Lamp")->categories, QStringList({"All"}));
    m_db->setResourceTags("Lamp", {}, DatabaseService::Light);
    RawConnection raw(m_path);
    QCOMPARE(raw.value("SELECT typeof(Tags) FROM Lights").toString(), QStringLiteral("text"));
}

void TestDatabaseRecords::categoryAndFolderLists()
{
    m_db->insertCategory("Hard", DatabaseService::Brush);
    m_db->insertCategory("Soft", DatabaseService::Brush);
    m_db->insertCategory("Hard", DatabaseService::Brush);
    QCOMPARE(m_db->readCategories(DatabaseService::Brush), QStringList({"Hard", "Soft", "Hard"}));
    m_db->deleteCategory("Hard", DatabaseService::Brush);
    QCOMPARE(m_db->readCategories(DatabaseService::Brush), QStringList({"Soft"}));
    QVERIFY(m_db->readCategories(DatabaseService::Alpha).isEmpty());
    // UI layouts have folders but no category or resource table.
    m_db->insertCategory("Hard", DatabaseService::UILayout);
    QVERIFY(m_db->readCategories(DatabaseService::UILayout).isEmpty());

    m_db->insertFolder("/lib/a", DatabaseService::UILayout);
    m_db->insertFolder("/lib/b", DatabaseService::UILayout);
    m_db->insertFolder("/lib/a", DatabaseService::UILayout);
    QStringList folders = m_db->readFolders(DatabaseService::UILayout);
    folders.sort();
    QCOMPARE(folders, QStringList({"/lib/a", "/lib/b"}));
    m_db->deleteFolder("/lib/a", DatabaseService::UILayout);
    QCOMPARE(m_db->readFolders(DatabaseService::UILayout), QStringList({"/lib/b"}));
    QVERIFY(m_db->readFolders(DatabaseService::MeshArray).isEmpty());
}

void TestDatabaseRecords::makerCategoriesAndIcons()
{
    m_db->insertKivCategory("Clay", "Sculpt");
    m_db->insertKivCategory("Move", "Deform");
    m_db->insertKivCategory("Pinch", "Deform");
    const auto categories = m_db->readKivCategories();
    QCOMPARE(categories.size(), 3);
    QCOMPARE(categories.at(0).first, QStringLiteral("Deform"));
    QCOMPARE(categories.at(2), qMakePair(QStringLiteral("Sculpt"), QStringLiteral("Clay")));

    const QByteArray png("\x89PNG\r\n\x1a\n-bytes", 14);
    {
        RawConnection raw(m_path);
        raw.exec("INSERT INTO Icons VALUES ('Clay', ?)", {png});
    }
    // Thumbnail readers run on connections of their own.
    DatabaseService reader(m_path, QStringLiteral("icon-7"));
    QCOMPARE(reader.readBrushIcon("Clay", QStringLiteral("icon-7")), png);
    QVERIFY(reader.readBrushIcon("Missing", QStringLiteral("icon-7")).isEmpty());
}

QTEST_GUILESS_MAIN(TestDatabaseRecords)
#include "tst_databaserecords.moc"
