// The eight generic catalogues scanning a ZBrush tree, the store folder and user
// locations, merging with the library database and activating into ZBrush.
#include "../database/rawconnection.h"
#include "scanworld.h"
#include "tests/common/resourcerecord.h"
#include "tests/common/testfiles.h"
#include "tests/common/zbrushcommand.h"

#include "Model/genericdataservice.h"
#include "Model/hostbridge.h"
#include "Model/resource.h"
#include "Model/resourceroles.h"

#include <QAbstractItemModelTester>
#include <QUrl>
#include <QtTest>

using ResourceRoles::GenericRole;

namespace {

const GenericDataService::Kind *kindNamed(const QString &contextName)
{
    for (const GenericDataService::Kind &kind : GenericDataService::kinds()) {
        if (QLatin1String(kind.contextName) == contextName)
            return &kind;
    }
    return nullptr;
}

std::unique_ptr<GenericDataService> catalogue(const ScanWorld &world, const QString &contextName)
{
    const GenericDataService::Kind *kind = kindNamed(contextName);
    if (!kind)
        return nullptr;
    return std::unique_ptr<GenericDataService>(
        GenericDataService::create(*kind, world.bridge, world.database, true, world.system));
}

// Records every row the service's connection writes into a resource table.
void countWrites(RawConnection &raw, const QString &table)
{
    raw.exec(QStringLiteral("CREATE TABLE Writes (Name TEXT)"));
    raw.exec(QStringLiteral("CREATE TRIGGER inserted AFTER INSERT ON %1 BEGIN INSERT INTO Writes VALUES (NEW.Name); END")
                 .arg(table));
    raw.exec(QStringLiteral("CREATE TRIGGER updated AFTER UPDATE ON %1 BEGIN INSERT INTO Writes VALUES (NEW.Name); END")
                 .arg(table));
}

QStringList writes(RawConnection &raw)
{
    QStringList names;
    const auto rows = raw.rows(QStringLiteral("SELECT Name FROM Writes"));
    for (const QVariantList &row : rows)
        names << row.value(0).toString();
    return names;
}

const QDateTime longAgo(QDate(2020, 5, 1), QTime(12, 0));

// Everything a row shows, one text per row. An object made for a new record shows no
// scan date until the next start (withScanDate false leaves the date out).
QStringList rowTexts(const ResourceDataService &service, bool withScanDate = true)
{
    QStringList rows;
    for (int row = 0; row < service.rowCount(); ++row) {
        const QModelIndex index = service.index(row, 0);
        const QSharedPointer<Resource> resource = service.resourceAt(row);
        rows << QStringList{index.data(GenericRole::Name).toString(), index.data(GenericRole::Path).toString(),
                            index.data(GenericRole::Description).toString(),
                            index.data(GenericRole::Categories).toStringList().join('|'),
                            index.data(GenericRole::Tags).toStringList().join('|'),
                            withScanDate ? resource->scanDate().toString(Qt::ISODate) : QString(),
                            resource->lastModified().toString(Qt::ISODateWithMs), QString::number(resource->readOnly())}
                    .join(';');
    }
    return rows;
}

QVector<const Resource *> objects(const ResourceDataService &service)
{
    QVector<const Resource *> list;
    for (int row = 0; row < service.rowCount(); ++row)
        list << service.resourceAt(row).data();
    return list;
}

// Three tools with the user's metadata (a text beyond ASCII among it), scanned once and
// rescanned once, so that the objects show their stored scan dates.
std::unique_ptr<GenericDataService> scannedTools(ScanWorld &world)
{
    world.addFile(world.zbrush, QStringLiteral("ZTools/Anvil.ztl"), longAgo);
    world.addFile(world.zbrush, QStringLiteral("ZTools/Bolt.ztl"), longAgo);
    world.addFile(world.storeFolder, QStringLiteral("Chisel.ztl"), longAgo);
    auto service = catalogue(world, QStringLiteral("toolData"));
    service->setData(service->index(0, 0), QStringLiteral("Grün, schwer"), GenericRole::Description);
    service->addCategoryToResource(1, QStringLiteral("Metal"));
    service->addTagToResource(1, QStringLiteral("small"));
    service->scanAll();
    return service;
}

} // namespace

class TestGenericScan : public QObject
{
    Q_OBJECT

private slots:
    void kinds_data();
    void kinds();
    void firstNameWinsWithItsStoredRow();
    void renamedFileGetsNewRow();
    void libraryLocationSetting_data();
    void libraryLocationSetting();
    void emptyZBrushFolder();
    void changedFileRefreshesRecord();
    void unchangedFileWritesNothing();
    void failedFolderIsRolledBack();
    void locations();
    void editsSurviveRestart();
    void modelStaysConsistentDuringScans();
    void unchangedRescanTouchesNothing();
    void changedFileRescannedInPlace();
    void rescanDatesNewObjectsInPlace();
    void rescanAfterChangesMatchesFreshScan_data();
    void rescanAfterChangesMatchesFreshScan();
};

void TestGenericScan::kinds_data()
{
    QTest::addColumn<QString>("contextName");
    QTest::addColumn<QString>("kindWord");
    QTest::addColumn<QStringList>("hostFiles"); // relative to the ZBrush folder, in folder-list order
    QTest::addColumn<float>("code");
    QTest::addColumn<QByteArray>("word");

    QTest::newRow("projects") << "projectData" << "project" << QStringList{"ZProjects/Dog.zpr"} << 12.0f
                              << QByteArray("File:");
    QTest::newRow("materials") << "materialData" << "material"
                               << QStringList{"ZMaterials/Chrome.zmt", "ZData/Materials/deep/Skin.Shader.zmt",
                                              "ZStartup/Materials/Basic.zmt"}
                               << 13.0f << QByteArray("Material:");
    QTest::newRow("tools, suffix in capitals") << "toolData" << "tool" << QStringList{"ZTools/Hammer.ZTL"} << 14.0f
                                               << QByteArray("Tool:");
    QTest::newRow("fibers") << "fiberData" << "fiber" << QStringList{"ZFibersPresets/Fur.zfp"} << 16.0f
                            << QByteArray("Fiber:");
    QTest::newRow("grids") << "gridData" << "grid" << QStringList{"ZGrids/Floor.zgr"} << 21.0f << QByteArray("File:");
    QTest::newRow("arrays") << "arrayData" << "array" << QStringList{"ZArraysPresets/Ring.zam"} << 22.0f
                            << QByteArray("File:");
    QTest::newRow("spotlights") << "spotlightData" << "spotlight" << QStringList{"ZSpotlights/Set.zsl"} << 23.0f
                                << QByteArray("Spotlight:");
    QTest::newRow("render presets") << "renderPresetData" << "renderpreset"
                                    << QStringList{"ZRenderPresets/Best.zrp"} << 24.0f << QByteArray("RenderPreset:");
}

// Each kind finds its files in its ZBrush folders, then the store folder, then the
// user's locations; other kinds' files and hidden files stay out; activation sends
// the kind's command to ZBrush.
void TestGenericScan::kinds()
{
    QFETCH(QString, contextName);
    QFETCH(QString, kindWord);
    QFETCH(QStringList, hostFiles);
    QFETCH(float, code);
    QFETCH(QByteArray, word);

    ScanWorld world;
    QVERIFY(world.isValid());
    const GenericDataService::Kind *kind = kindNamed(contextName);
    QVERIFY(kind);
    const QString extension = QString::fromLatin1(kind->extension);
    QStringList expectedPaths;
    for (const QString &file : qAsConst(hostFiles))
        expectedPaths << world.addFile(world.zbrush, file);
    expectedPaths << world.addFile(world.storeFolder, QStringLiteral("Product/Bought.") + extension);
    expectedPaths << world.addFile(world.userFolder, QStringLiteral("Mine.") + extension);
    world.addFile(world.zbrush, QStringLiteral("ZTools/.Hidden.") + extension);
    world.addFile(world.zbrush, hostFiles.first().section(QLatin1Char('/'), 0, 0) + QStringLiteral("/Other.zbp"));
    world.database->insertFolder(world.userFolder, kind->type);

    auto service = catalogue(world, contextName);
    QCOMPARE(service->kindWord(), kindWord);
    QStringList paths;
    for (int row = 0; row < service->rowCount(); ++row) {
        const QModelIndex index = service->index(row, 0);
        paths << index.data(GenericRole::Path).toString();
        QCOMPARE(index.data(GenericRole::Name).toString(), QFileInfo(paths.last()).completeBaseName());
        QCOMPARE(service->resourceAt(row)->resourceType(), kindWord);
    }
    QCOMPARE(paths, expectedPaths);
    // The view starts in scan order.
    QCOMPARE(ScanWorld::names(service->model()), ScanWorld::names(service.get()));
    QCOMPARE(world.database->readResources(kind->type).size(), expectedPaths.size());

    service->activateResource(QStringLiteral("Mine"), expectedPaths.last());
    QCOMPARE(world.commandFile(), zbrushCommand(code, word + "Mine", expectedPaths.last().toUtf8()));
}

void TestGenericScan::firstNameWinsWithItsStoredRow()
{
    ScanWorld world;
    QVERIFY(world.isValid());
    const QString tomorrow = QDateTime::currentDateTime().addDays(1).toString(Qt::TextDate);
    world.database->saveResources({resourceRecord(QStringLiteral("Skin"), QStringLiteral("/elsewhere/Skin.zmt"),
                                                  tomorrow, QStringLiteral("soft"), {QStringLiteral("Organic")},
                                                  {QStringLiteral("sss")})},
                                  DatabaseService::Material);
    const QString first = world.addFile(world.zbrush, QStringLiteral("ZMaterials/Skin.zmt"));
    world.addFile(world.userFolder, QStringLiteral("Skin.zmt"));
    world.addFile(world.userFolder, QStringLiteral("a/Twin.zmt"));
    world.addFile(world.userFolder, QStringLiteral("b/Twin.zmt"));
    world.database->insertFolder(world.userFolder, DatabaseService::Material);

    auto service = catalogue(world, QStringLiteral("materialData"));
    QCOMPARE(ScanWorld::names(service.get()), QStringList({"Skin", "Twin"}));
    const QSharedPointer<Resource> skin = service->resourceAt(0);
    QCOMPARE(skin->path(), first);
    QCOMPARE(skin->description(), QStringLiteral("soft"));
    QCOMPARE(skin->categories(), QStringList{"Organic"});
    QCOMPARE(skin->tags(), QStringList{"sss"});
    QCOMPARE(service->tags()->stringList(), QStringList{"sss"});
}

void TestGenericScan::renamedFileGetsNewRow()
{
    ScanWorld world;
    QVERIFY(world.isValid());
    const QString old = world.addFile(world.zbrush, QStringLiteral("ZTools/Old.ztl"));
    auto service = catalogue(world, QStringLiteral("toolData"));
    service->setData(service->index(0, 0), QStringLiteral("my tool"), GenericRole::Description);

    const QString renamed = QFileInfo(old).path() + QStringLiteral("/New.ztl");
    QVERIFY(QFile::rename(old, renamed));
    service->scanAll();
    QCOMPARE(ScanWorld::names(service.get()), QStringList{"New"});
    QVERIFY(service->resourceAt(0)->description().isEmpty());
    const auto stored = world.database->readResources(DatabaseService::Tool);
    QCOMPARE(stored.keys(), QStringList({"New", "Old"}));
    QCOMPARE(stored.value("Old")->description, QStringLiteral("my tool"));
    QCOMPARE(stored.value("New")->path, renamed);
}

void TestGenericScan::libraryLocationSetting_data()
{
    QTest::addColumn<bool>("setLibrary");
    QTest::newRow("empty setting: default store folder") << false;
    QTest::newRow("library folder chosen") << true;
}

void TestGenericScan::libraryLocationSetting()
{
    QFETCH(bool, setLibrary);
    ScanWorld world;
    QVERIFY(world.isValid());
    const QString library = world.dir.filePath(QStringLiteral("library"));
    world.addFile(world.storeFolder, QStringLiteral("Default.zgr"));
    world.addFile(library, QStringLiteral("KIVSource/Chosen.zgr"));
    world.addFile(library, QStringLiteral("Outside.zgr"));
    world.database->writeSetting(DatabaseService::LibraryLocation, setLibrary ? library : QString());

    auto service = catalogue(world, QStringLiteral("gridData"));
    QCOMPARE(ScanWorld::names(service.get()), QStringList{setLibrary ? "Chosen" : "Default"});
}

void TestGenericScan::emptyZBrushFolder()
{
    ScanWorld world;
    QVERIFY(world.isValid());
    world.addFile(world.zbrush, QStringLiteral("ZTools/Hammer.ztl"));
    world.addFile(world.storeFolder, QStringLiteral("Bought.ztl"));
    world.bridge = QSharedPointer<HostBridge>::create(); // no ZBrush folder chosen
    QVERIFY(world.bridge->hostPath().isEmpty());

    auto service = catalogue(world, QStringLiteral("toolData"));
    QCOMPARE(ScanWorld::names(service.get()), QStringList{"Bought"});
}

void TestGenericScan::changedFileRefreshesRecord()
{
    ScanWorld world;
    QVERIFY(world.isValid());
    const QString path = world.addFile(world.zbrush, QStringLiteral("ZProjects/House.zpr"));
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const auto stored = resourceRecord(QStringLiteral("House"), QStringLiteral("/old/House.zpr"),
                                       longAgo.toString(Qt::TextDate), QStringLiteral("mine"),
                                       {QStringLiteral("Buildings")}, {QStringLiteral("wip")}, true);
    world.database->saveResources({stored}, DatabaseService::Project);

    auto service = catalogue(world, QStringLiteral("projectData"));
    const auto row = world.database->readResources(DatabaseService::Project).value("House");
    QCOMPARE(row->path, path);
    QVERIFY(QDateTime::fromString(row->scanDate, Qt::TextDate) >= before);
    QCOMPARE(row->description, QStringLiteral("mine"));
    QCOMPARE(row->categories, QStringList{"Buildings"});
    QCOMPARE(row->tags, QStringList{"wip"});
    QVERIFY(row->readOnly);
    const QSharedPointer<Resource> house = service->resourceAt(0);
    QCOMPARE(house->description(), QStringLiteral("mine"));
    QVERIFY(house->readOnly());
    // The object shows when its record was last stored, before this scan.
    QCOMPARE(house->scanDate(), longAgo);
}

void TestGenericScan::unchangedFileWritesNothing()
{
    ScanWorld world;
    QVERIFY(world.isValid());
    world.addFile(world.zbrush, QStringLiteral("ZFibersPresets/Grass.zfp"), longAgo);
    world.database->saveResources({resourceRecord(QStringLiteral("Grass"), QStringLiteral("/stored/Grass.zfp"),
                                                  longAgo.addDays(1).toString(Qt::TextDate), QStringLiteral("green"))},
                                  DatabaseService::Fiber);
    RawConnection raw(world.databasePath);
    countWrites(raw, DatabaseService::resourceTable(DatabaseService::Fiber));

    auto service = catalogue(world, QStringLiteral("fiberData"));
    QCOMPARE(ScanWorld::names(service.get()), QStringList{"Grass"});
    QCOMPARE(writes(raw), QStringList());
    QCOMPARE(world.database->readResources(DatabaseService::Fiber).value("Grass")->path,
             QStringLiteral("/stored/Grass.zfp"));

    // A file new to the first scan is unchanged for the next, even one written in
    // the same second as that scan's date.
    world.addFile(world.zbrush, QStringLiteral("ZFibersPresets/Moss.zfp"));
    service->scanAll();
    QCOMPARE(writes(raw), QStringList{"Moss"});
    service->scanAll();
    QCOMPARE(writes(raw), QStringList{"Moss"});
}

void TestGenericScan::failedFolderIsRolledBack()
{
    ScanWorld world;
    QVERIFY(world.isValid());
    world.addFile(world.zbrush, QStringLiteral("ZSpotlights/A.zsl"));
    world.addFile(world.zbrush, QStringLiteral("ZSpotlights/Broken.zsl"));
    world.addFile(world.zbrush, QStringLiteral("ZSpotlights/C.zsl"));
    world.addFile(world.storeFolder, QStringLiteral("Store.zsl"));
    {
        RawConnection raw(world.databasePath);
        QVERIFY(raw.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON %1 WHEN NEW.Name = 'Broken' "
                                        "BEGIN SELECT RAISE(ABORT, 'disk trouble'); END")
                             .arg(DatabaseService::resourceTable(DatabaseService::Spotlight))));
    }
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot store.*disk trouble"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("rolled back 3 records"));
    auto service = catalogue(world, QStringLiteral("spotlightData"));
    // The resources are there; of their folder nothing is stored, the next folder is.
    QCOMPARE(service->rowCount(), 4);
    QCOMPARE(world.database->readResources(DatabaseService::Spotlight).keys(), QStringList{"Store"});

    {
        RawConnection raw(world.databasePath);
        QVERIFY(raw.exec(QStringLiteral("DROP TRIGGER refuse")));
    }
    service->scanAll();
    QCOMPARE(world.database->readResources(DatabaseService::Spotlight).keys(),
             QStringList({"A", "Broken", "C", "Store"}));
}

// Adding a location takes its files in; removing it rescans: they leave the model,
// their rows stay.
void TestGenericScan::locations()
{
    ScanWorld world;
    QVERIFY(world.isValid());
    world.addFile(world.zbrush, QStringLiteral("ZArraysPresets/Ring.zam"));
    world.addFile(world.userFolder, QStringLiteral("Ring.zam"));
    world.addFile(world.userFolder, QStringLiteral("sub/Chain.zam"));
    auto service = catalogue(world, QStringLiteral("arrayData"));
    QCOMPARE(ScanWorld::names(service.get()), QStringList{"Ring"});

    service->addResourceLocation(QUrl::fromLocalFile(world.userFolder).toString());
    QCOMPARE(ScanWorld::names(service.get()), QStringList({"Ring", "Chain"}));
    QVERIFY(service->containsName(QStringLiteral("Chain")));
    service->removeResourceLocation(0);
    QCOMPARE(ScanWorld::names(service.get()), QStringList{"Ring"});
    QVERIFY(!service->containsName(QStringLiteral("Chain")));
    QVERIFY(world.database->readResources(DatabaseService::MeshArray).contains("Chain"));
    QVERIFY(world.database->readFolders(DatabaseService::MeshArray).isEmpty());

    // The store hands an installed product's folder over the same way.
    service->folderAction()(world.userFolder);
    QCOMPARE(ScanWorld::names(service.get()), QStringList({"Ring", "Chain"}));
}

void TestGenericScan::editsSurviveRestart()
{
    ScanWorld world;
    QVERIFY(world.isValid());
    world.addFile(world.zbrush, QStringLiteral("ZRenderPresets/Best.zrp"));
    {
        auto service = catalogue(world, QStringLiteral("renderPresetData"));
        const QModelIndex best = service->index(0, 0);
        QVERIFY(service->setData(best, QStringLiteral("for stills"), GenericRole::Description));
        service->addCategory(QStringLiteral("Final"));
        service->addCategoryToResource(0, QStringLiteral("Final"));
        service->addTagToResource(0, QStringLiteral("slow"));
        // Name and path only change the object.
        QVERIFY(service->setData(best, QStringLiteral("Renamed"), GenericRole::Name));
        QVERIFY(!service->setData(best, QStringLiteral("x"), GenericRole::IconPath));
        QVERIFY(!service->setData(service->index(1, 0), QStringLiteral("x"), GenericRole::Description));
    }
    world.restart();
    auto service = catalogue(world, QStringLiteral("renderPresetData"));
    const QSharedPointer<Resource> best = service->resourceAt(0);
    QCOMPARE(best->name(), QStringLiteral("Best"));
    QCOMPARE(best->description(), QStringLiteral("for stills"));
    QCOMPARE(best->categories(), QStringList{"Final"});
    QCOMPARE(best->tags(), QStringList{"slow"});
    QCOMPARE(service->categories()->stringList(), QStringList({"All", "Unassigned", "Final"}));
    QVERIFY(!world.database->readResources(DatabaseService::RenderPreset).contains("Renamed"));
}

void TestGenericScan::modelStaysConsistentDuringScans()
{
    ScanWorld world;
    QVERIFY(world.isValid());
    for (int i = 0; i < 30; ++i)
        world.addFile(world.zbrush, QStringLiteral("ZMaterials/set%1/M%2.zmt").arg(i % 4).arg(i));
    world.addFile(world.userFolder, QStringLiteral("Extra.zmt"));
    auto service = std::unique_ptr<GenericDataService>(GenericDataService::create(
        *kindNamed(QStringLiteral("materialData")), world.bridge, world.database, false, world.system));
    QAbstractItemModelTester sourceTester(service.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester viewTester(service->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    service->filterResourcesByName(QStringLiteral("1"));
    service->model()->sort(2, Qt::DescendingOrder);

    service->setSetupOk(true);
    QCOMPARE(service->rowCount(), 30);
    service->scanAll();
    QCOMPARE(service->rowCount(), 30);
    service->scanLocation(world.userFolder);
    QCOMPARE(service->rowCount(), 31);
    QCOMPARE(service->model()->rowCount(), 12); // M1, M10 … M19, M21
    QCOMPARE(service->model()->index(0, 0).data(GenericRole::Name).toString(), QStringLiteral("M21"));
}

// A rescan that finds every file as it was keeps its objects, writes nothing to the
// library file and tells the views nothing.
void TestGenericScan::unchangedRescanTouchesNothing()
{
    ScanWorld world;
    QVERIFY(world.isValid());
    auto service = scannedTools(world);
    QAbstractItemModelTester tester(service.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    const QStringList rows = rowTexts(*service);
    const QVector<const Resource *> before = objects(*service);
    QCOMPARE(before.size(), 3);
    const QByteArray file = TestFiles::read(world.databasePath);
    QVERIFY(!file.isEmpty());
    QSignalSpy changed(service.get(), &QAbstractItemModel::dataChanged);
    QSignalSpy reset(service.get(), &QAbstractItemModel::modelReset);
    QSignalSpy removed(service.get(), &QAbstractItemModel::rowsRemoved);

    service->scanAll();
    QCOMPARE(objects(*service), before);
    QCOMPARE(rowTexts(*service), rows);
    QCOMPARE(changed.count() + reset.count() + removed.count(), 0);
    QCOMPARE(TestFiles::read(world.databasePath), file);
}

// One file written since its scan: its record alone is stored, its row alone announced.
void TestGenericScan::changedFileRescannedInPlace()
{
    ScanWorld world;
    QVERIFY(world.isValid());
    auto service = scannedTools(world);
    QAbstractItemModelTester tester(service.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    const QVector<const Resource *> before = objects(*service);
    const QDateTime storedDate = service->resourceAt(1)->scanDate();
    RawConnection raw(world.databasePath);
    countWrites(raw, DatabaseService::resourceTable(DatabaseService::Tool));
    const QDateTime written = QDateTime::currentDateTimeUtc().addSecs(3600);
    const QString bolt = world.addFile(world.zbrush, QStringLiteral("ZTools/Bolt.ztl"), written);
    QSignalSpy changed(service.get(), &QAbstractItemModel::dataChanged);
    QSignalSpy reset(service.get(), &QAbstractItemModel::modelReset);

    service->scanAll();
    QCOMPARE(objects(*service), before);
    QCOMPARE(reset.count(), 0);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toModelIndex().row(), 1);
    QCOMPARE(changed.at(0).at(1).toModelIndex().row(), 1);
    QCOMPARE(service->resourceAt(1)->lastModified().toMSecsSinceEpoch(), written.toMSecsSinceEpoch());
    // As a full scan shows it: the scan date of the record it was made from.
    QCOMPARE(service->resourceAt(1)->scanDate(), storedDate);
    QCOMPARE(writes(raw), QStringList{"Bolt"});
    const auto row = world.database->readResources(DatabaseService::Tool).value("Bolt");
    QCOMPARE(row->path, bolt);
    QVERIFY(QDateTime::fromString(row->scanDate, Qt::TextDate) >= storedDate);
    QCOMPARE(row->categories, QStringList{"Metal"});
    QCOMPARE(row->tags, QStringList{"small"});
}

// Objects made for new records show no scan date; the next rescan gives them the stored
// one on the same objects, which no role shows: the rows are not announced.
void TestGenericScan::rescanDatesNewObjectsInPlace()
{
    ScanWorld world;
    QVERIFY(world.isValid());
    world.addFile(world.zbrush, QStringLiteral("ZGrids/Floor.zgr"), longAgo);
    auto service = catalogue(world, QStringLiteral("gridData"));
    const QSharedPointer<Resource> floor = service->resourceAt(0);
    QVERIFY(floor);
    QVERIFY(!floor->scanDate().isValid());
    QSignalSpy dated(floor.data(), &Resource::scanDateChanged);
    QSignalSpy changed(service.get(), &QAbstractItemModel::dataChanged);

    service->scanAll();
    QCOMPARE(service->resourceAt(0), floor);
    QCOMPARE(dated.count(), 1);
    QCOMPARE(changed.count(), 0);
    const QString stored = world.database->readResources(DatabaseService::Grid).value("Floor")->scanDate;
    QCOMPARE(floor->scanDate(), QDateTime::fromString(stored, Qt::TextDate));
}

// Whatever changed, a rescan ends with the rows a catalogue made afresh shows.
void TestGenericScan::rescanAfterChangesMatchesFreshScan_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("keepsObjects");
    QTest::newRow("nothing") << "nothing" << true;
    QTest::newRow("file added before the others") << "added" << false;
    QTest::newRow("file removed") << "removed" << false;
    QTest::newRow("same name found first elsewhere") << "shadowed" << false;
    QTest::newRow("description changed in the file") << "description" << false;
    QTest::newRow("row deleted from the file") << "deleted" << false;
    QTest::newRow("name changed in the model only") << "renamed" << false;
}

void TestGenericScan::rescanAfterChangesMatchesFreshScan()
{
    QFETCH(QString, change);
    QFETCH(bool, keepsObjects);
    ScanWorld world;
    QVERIFY(world.isValid());
    auto service = scannedTools(world);
    QAbstractItemModelTester tester(service.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    const QVector<const Resource *> before = objects(*service);
    const QString table = DatabaseService::resourceTable(DatabaseService::Tool);
    if (change == "added") {
        world.addFile(world.zbrush, QStringLiteral("ZTools/Awl.ztl"), longAgo);
    } else if (change == "removed") {
        QVERIFY(QFile::remove(world.zbrush + QStringLiteral("/ZTools/Bolt.ztl")));
    } else if (change == "shadowed") {
        world.addFile(world.zbrush, QStringLiteral("ZTools/deeper/Chisel.ztl"), longAgo);
    } else if (change == "description") {
        RawConnection raw(world.databasePath);
        QVERIFY(raw.exec(QStringLiteral("UPDATE %1 SET Description = 'Grün, leicht' WHERE Name = 'Anvil'").arg(table)));
    } else if (change == "deleted") {
        RawConnection raw(world.databasePath);
        QVERIFY(raw.exec(QStringLiteral("DELETE FROM %1 WHERE Name = 'Chisel'").arg(table)));
    } else if (change == "renamed") {
        QVERIFY(service->setData(service->index(2, 0), QStringLiteral("Gouge"), GenericRole::Name));
    }

    service->scanAll();
    auto fresh = catalogue(world, QStringLiteral("toolData"));
    QCOMPARE(rowTexts(*service, false), rowTexts(*fresh, false));
    QCOMPARE(objects(*service) == before, keepsObjects);
}

QTEST_GUILESS_MAIN(TestGenericScan)
#include "tst_genericscan.moc"
