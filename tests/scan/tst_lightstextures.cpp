// Lights and LightCaps, and textures: the scanning catalogues with several file
// patterns, their own rules and their own host commands.
#include "scanworld.h"
#include "tests/common/zbrushcommand.h"

#include "Model/hostbridge.h"
#include "Model/lightdataservice.h"
#include "Model/resource.h"
#include "Model/resourceroles.h"
#include "Model/texturedataservice.h"
#include "appfolders.h"
#include "sorters/lightsorter.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

using ResourceRoles::GenericRole;

class TestLightsTextures : public QObject
{
    Q_OBJECT

private slots:
    void lightFolders();
    void lightToggles_data();
    void lightToggles();
    void resetKeepsToggleProperties();
    void lightCommands_data();
    void lightCommands();
    void textureFiles();
    void textureFoldersAndCommand();
};

namespace {

std::unique_ptr<LightDataService> lights(const ScanWorld &world)
{
    return std::make_unique<LightDataService>(world.bridge, world.database, true, world.system);
}

std::unique_ptr<TextureDataService> textures(const ScanWorld &world)
{
    return std::make_unique<TextureDataService>(world.bridge, world.database, true, world.system);
}

// Four lighting files: two setups (one with its suffix in capitals) and two LightCaps.
void addLightFiles(ScanWorld &world)
{
    world.addFile(world.zbrush, QStringLiteral("ZLightCaps/Studio.zli"));
    world.addFile(world.zbrush, QStringLiteral("ZLightCaps/caps/Rim.zld"));
    world.addFile(world.storeFolder, QStringLiteral("Sunset.ZLI"));
    world.addFile(world.userFolder, QStringLiteral("Glow.ZLD"));
    world.addFile(world.userFolder, QStringLiteral("Studio.zld")); // the setup of that name came first
    world.database->insertFolder(world.userFolder, DatabaseService::Light);
}

} // namespace

void TestLightsTextures::lightFolders()
{
    ScanWorld world;
    QVERIFY(world.isValid());
    addLightFiles(world);
    world.addFile(world.zbrush, QStringLiteral("ZLights/Elsewhere.zli"));
    auto service = lights(world);
    QAbstractItemModelTester tester(service->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(ScanWorld::names(service.get()), QStringList({"Studio", "Rim", "Sunset", "Glow"}));
    QCOMPARE(service->resourceAt(0)->resourceType(), QStringLiteral("light"));
    QCOMPARE(world.database->readResources(DatabaseService::Light).size(), 4);
    service->scanAll();
    QCOMPARE(service->rowCount(), 4);
}

void TestLightsTextures::lightToggles_data()
{
    QTest::addColumn<bool>("lightsOnly");
    QTest::addColumn<bool>("capsOnly");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("no toggle") << false << false << QStringList{"Studio", "Rim", "Sunset", "Glow"};
    QTest::newRow("light setups, .ZLI too") << true << false << QStringList{"Studio", "Sunset"};
    QTest::newRow("LightCaps, .ZLD too") << false << true << QStringList{"Rim", "Glow"};
    QTest::newRow("both toggles") << true << true << QStringList{"Studio", "Rim", "Sunset", "Glow"};
}

void TestLightsTextures::lightToggles()
{
    QFETCH(bool, lightsOnly);
    QFETCH(bool, capsOnly);
    QFETCH(QStringList, shown);
    ScanWorld world;
    QVERIFY(world.isValid());
    addLightFiles(world);
    auto service = lights(world);
    QSignalSpy lightSpy(service.get(), &LightDataService::lightFilterChanged);
    service->filterLights(lightsOnly);
    service->filterLightcap(capsOnly);
    QCOMPARE(ScanWorld::names(service->model()), shown);
    QCOMPARE(service->lightFilter(), lightsOnly);
    QCOMPARE(service->lightcapFilter(), capsOnly);
    QCOMPARE(lightSpy.count(), lightsOnly ? 1 : 0);
    // The other stages still apply after the type stage.
    service->filterResourcesByName(QStringLiteral("^S"));
    QStringList named;
    for (const QString &name : qAsConst(shown)) {
        if (name.startsWith(QLatin1Char('S')))
            named << name;
    }
    QCOMPARE(ScanWorld::names(service->model()), named);
}

void TestLightsTextures::resetKeepsToggleProperties()
{
    ScanWorld world;
    QVERIFY(world.isValid());
    addLightFiles(world);
    auto service = lights(world);
    // Restoring a toggle's state through its property does not filter.
    service->setLightcapFilter(true);
    QCOMPARE(service->model()->rowCount(), 4);
    service->filterLights(true);
    QCOMPARE(service->model()->rowCount(), 2);
    service->resetAllFilters();
    QCOMPARE(service->model()->rowCount(), 4);
    auto *sorter = qobject_cast<LightSorter *>(service->model());
    QVERIFY(sorter);
    QVERIFY(!sorter->lightsOnly());
    QVERIFY(service->lightFilter());
    QVERIFY(service->lightcapFilter());
}

void TestLightsTextures::lightCommands_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("file"); // in the program's Resources folder; empty for the scanned one
    QTest::addColumn<float>("code");
    QTest::newRow("light setup") << "activate" << QByteArray("Sunset") << QString() << 17.0f;
    QTest::newRow("LightCap") << "activate" << QByteArray("Glow") << QString() << 20.0f;
    QTest::newRow("reset lights") << "resetLights" << QByteArray("Default_Lights")
                                  << "Default_Lights.ZLI" << 17.0f;
    QTest::newRow("reset LightCap") << "resetLightCaps" << QByteArray("Default_LightCap")
                                    << "Default_LightCap.zld" << 20.0f;
    QTest::newRow("lights off") << "turnOffLights" << QByteArray("Default_Lights") << "Default_LightsOff.zli"
                                << 17.0f;
}

// The shipped lighting files are not there; their names and paths are sent all the same.
void TestLightsTextures::lightCommands()
{
    QFETCH(QString, action);
    QFETCH(QByteArray, name);
    QFETCH(QString, file);
    QFETCH(float, code);
    ScanWorld world;
    QVERIFY(world.isValid());
    addLightFiles(world);
    auto service = lights(world);
    QString path;
    if (action == QLatin1String("activate")) {
        const QSharedPointer<Resource> resource = service->resourceAt(ScanWorld::names(service.get()).indexOf(name));
        QVERIFY(resource);
        path = resource->path();
        service->activateResource(resource->name(), path);
    } else {
        path = world.program + QStringLiteral("/Resources/") + file;
        QVERIFY(QMetaObject::invokeMethod(service.get(), action.toLatin1().constData()));
    }
    QCOMPARE(world.commandFile(), zbrushCommand(code, "Light:" + name, path.toUtf8()));
}

void TestLightsTextures::textureFiles()
{
    ScanWorld world;
    QVERIFY(world.isValid());
    const QString folder = world.zbrush + QStringLiteral("/ZTextures");
    const QString rock = world.addFile(folder, QStringLiteral("Rock.png"));
    world.addFile(folder, QStringLiteral("Rock_alpha.png"));
    world.addFile(folder, QStringLiteral("Rock_ico.png"));
    world.addFile(folder, QStringLiteral("Sand_ico.psd"));
    world.addFile(folder, QStringLiteral("rock_ALPHA.png"));
    world.addFile(folder, QStringLiteral("trip/photo.JPG"));
    world.addFile(folder, QStringLiteral("notes.txt"));
    world.addFile(folder, QStringLiteral("Bark.TIFF"));
    auto service = textures(world);
    QAbstractItemModelTester tester(service.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QStringList names = ScanWorld::names(service.get());
    names.sort();
    QCOMPARE(names, QStringList({"Bark", "Rock", "photo", "rock_ALPHA"}));
    const int row = ScanWorld::names(service.get()).indexOf(QStringLiteral("Rock"));
    QCOMPARE(service->index(row, 0).data(GenericRole::Path).toString(), rock);
    QCOMPARE(service->index(row, 0).data(GenericRole::IconPath).toString(), QStringLiteral("image://alphas/"));
    QCOMPARE(service->resourceAt(row)->resourceType(), QStringLiteral("texture"));
}

void TestLightsTextures::textureFoldersAndCommand()
{
    ScanWorld world;
    QVERIFY(world.isValid());
    const QString first = world.addFile(world.zbrush, QStringLiteral("ZTextures/Rock.psd"));
    world.addFile(world.storeFolder, QStringLiteral("Rock.png"));
    world.addFile(world.zbrush, QStringLiteral("ZData/Textures/Wood.bmp"));
    world.addFile(world.zbrush, QStringLiteral("ZStartup/Textures/Noise.gif"));
    world.addFile(world.storeFolder, QStringLiteral("pack/Marble.jpeg"));
    world.addFile(world.userFolder, QStringLiteral("Clouds.tif"));
    world.database->insertFolder(world.userFolder, DatabaseService::Texture);
    auto service = textures(world);
    QCOMPARE(ScanWorld::names(service.get()), QStringList({"Rock", "Wood", "Noise", "Marble", "Clouds"}));
    QCOMPARE(service->resourceAt(0)->path(), first);

    service->activateResource(QStringLiteral("Rock"), first);
    QCOMPARE(world.commandFile(), zbrushCommand(15.0f, "Texture:Rock", first.toUtf8()));
}

QTEST_GUILESS_MAIN(TestLightsTextures)
#include "tst_lightstextures.moc"
