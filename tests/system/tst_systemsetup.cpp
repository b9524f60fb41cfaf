// Set-up of the system service: the stored ZBrush folder, the detected installations
// of a Wine prefix, the plug-in check, finish set-up, favourites and rescans with
// registered catalogues.
#include "systemfixture.h"
#include "tests/common/testfiles.h"
#include "tests/common/favoritenames.h"

#include "../catalogue/testcatalogue.h"
#include "Model/favoriteset.h"
#include "Model/resource.h"
#include "appfolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QStringListModel>
#include <QtTest>

class TestSystemSetup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void validStoredPath();
    void notSetUp_data();
    void notSetUp();
    void pluginCheckAtStart_data();
    void pluginCheckAtStart();
    void failedPluginCheckIsReported();
    void installPlugin_data();
    void installPlugin();
    void setupOkLoadsFavouritesAfterEveryCatalogue();
    void rescanAllResources();
    void stepwiseRescan();

private:
    void writeRegistry();
    QStringList memberNames(const QString &setName) const;

    std::unique_ptr<SystemFixture> m_fixture;
    QString m_registryLocation;
    QString m_programFilesLocation;
};

void TestSystemSetup::init()
{
    m_fixture = std::make_unique<SystemFixture>();
    QVERIFY(m_fixture->isValid());
}

void TestSystemSetup::cleanup()
{
    m_fixture.reset();
}

// ZBrush 2021 known to the registry, ZBrush 2022 only as a folder in Program Files.
void TestSystemSetup::writeRegistry()
{
    const QString pixologic = m_fixture->prefix->programFiles() + QStringLiteral("/Pixologic/");
    QVERIFY(QDir().mkpath(pixologic + QStringLiteral("ZBrush 2021/ZStartup")));
    QVERIFY(QDir().mkpath(pixologic + QStringLiteral("ZBrush 2022/ZStartup")));
    QVERIFY(m_fixture->prefix->writeSystemRegistry(QStringLiteral(
        "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\ZB21] 1\n"
        "\"DisplayName\"=\"ZBrush 2021\"\n"
        "\"InstallLocation\"=\"C:\\\\Program Files\\\\Pixologic\\\\ZBrush 2021\\\\\"\n")));
    m_registryLocation = QFileInfo(m_fixture->prefix->driveC()).canonicalFilePath()
        + QStringLiteral("/Program Files/Pixologic/ZBrush 2021/");
    m_programFilesLocation = pixologic + QStringLiteral("ZBrush 2022");
}

QStringList TestSystemSetup::memberNames(const QString &setName) const
{
    return ::memberNames(setNamed(*m_fixture->system, setName));
}

void TestSystemSetup::validStoredPath()
{
    writeRegistry();
    m_fixture->storeSetting(DatabaseService::ZBrushPath, m_fixture->zbrushFolder());
    m_fixture->installCurrentPlugin();
    m_fixture->start();
    SystemDataService &system = *m_fixture->system;

    QVERIFY(system.setupOk());
    QVERIFY(system.setupFinished());
    QCOMPARE(system.zbrushPath(), m_fixture->zbrushFolder());
    QCOMPARE(m_fixture->bridge->hostPath(), m_fixture->zbrushFolder());
    // Installations are offered only while set-up is missing.
    QCOMPARE(system.zbrushLocations()->rowCount(), 0);
    // Finish set-up made the default library folder in the newest data folder.
    QCOMPARE(system.libraryPath(), m_fixture->defaultLibrary());
    QVERIFY(QFileInfo(m_fixture->defaultLibrary()).isDir());
    QVERIFY(!system.pluginInstalled());
    QVERIFY(!system.pluginInstallError());

    // Set-up has finished: writing the flag again does not run it a second time.
    QSignalSpy library(&system, &SystemDataService::libraryPathChanged);
    QSignalSpy macros(&system, &SystemDataService::macrosChanged);
    QSignalSpy favourites(&system, &SystemDataService::favoriteSetActivated);
    QSignalSpy flag(&system, &SystemDataService::setupOkChanged);
    system.setSetupOk(true);
    QCOMPARE(flag.count(), 1);
    QCOMPARE(library.count(), 0);
    QCOMPARE(macros.count(), 0);
    QCOMPARE(favourites.count(), 0);

    // A stored library location wins over the default at the next start.
    const QString chosen = m_fixture->path(QStringLiteral("Library"));
    QVERIFY(QDir().mkpath(chosen));
    m_fixture->storeSetting(DatabaseService::LibraryLocation, chosen);
    m_fixture->restart();
    QCOMPARE(m_fixture->system->libraryPath(), chosen + QStringLiteral("/KIVSource"));
    QVERIFY(QFileInfo(chosen + QStringLiteral("/KIVSource")).isDir());
}

void TestSystemSetup::notSetUp_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("keepsPath");
    QTest::addColumn<QStringList>("log");

    QTest::newRow("nothing stored") << QString() << false << QStringList();
    QTest::newRow("folder gone") << QStringLiteral("gone") << false << QStringList();
    // The folder exists but is no ZBrush: the installation is tried and fails.
    QTest::newRow("no ZStartup") << QStringLiteral("NotZBrush") << true
                                 << QStringList{"Invalid ZBrush application path."};
}

void TestSystemSetup::notSetUp()
{
    QFETCH(QString, stored);
    QFETCH(bool, keepsPath);
    QFETCH(QStringList, log);
    writeRegistry();
    const QString storedPath = stored.isEmpty() ? QString() : m_fixture->path(stored);
    if (keepsPath)
        QVERIFY(QDir().mkpath(storedPath));
    if (!storedPath.isEmpty())
        m_fixture->storeSetting(DatabaseService::ZBrushPath, storedPath);
    if (!log.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, qPrintable(log.first()));
    m_fixture->start();
    SystemDataService &system = *m_fixture->system;

    QVERIFY(!system.setupOk());
    QVERIFY(!system.setupFinished());
    QCOMPARE(system.libraryPath(), QString());
    QCOMPARE(system.zbrushPath(), keepsPath ? storedPath : QString());
    QCOMPARE(system.pluginInstallError(), keepsPath);
    QVERIFY(!system.pluginInstalled());
    QCOMPARE(system.installLog()->stringList(), log);

    const QString registryRow = QStringLiteral("ZBrush 2021: ") + m_registryLocation;
    const QString folderRow = QStringLiteral("ZBrush 2022: ") + m_programFilesLocation;
    QCOMPARE(system.zbrushLocations()->stringList(), (QStringList{registryRow, folderRow}));
    QCOMPARE(system.getAppPathFromDisplay(registryRow), m_registryLocation);
    QCOMPARE(system.getAppPathFromDisplay(folderRow), m_programFilesLocation);
    QCOMPARE(system.getAppPathFromDisplay(QStringLiteral("ZBrush 2023: /nowhere")), QString());
}

void TestSystemSetup::pluginCheckAtStart_data()
{
    QTest::addColumn<QByteArray>("installed"); // empty: no script installed
    QTest::addColumn<bool>("libraryInstalled");
    QTest::addColumn<int>("age");               // seconds the installed script is older than the shipped one
    QTest::addColumn<bool>("shippedScript");
    QTest::addColumn<bool>("pluginInstalled");
    QTest::addColumn<bool>("error");
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QStringList>("log");

    const QStringList noScriptLog{QString::fromLatin1(SystemDataService::scriptMissingMessage)};
    QTest::newRow("current") << QByteArray("shipped script") << true << -60 << true << false << false
                             << QByteArray("shipped script") << QStringList();
    QTest::newRow("same time counts as current") << QByteArray("installed script") << true << 0 << true << false
                                                 << false << QByteArray("installed script") << QStringList();
    QTest::newRow("none installed") << QByteArray() << false << 0 << true << true << false
                                    << QByteArray("shipped script") << QStringList();
    QTest::newRow("older than the shipped one") << QByteArray("old script") << true << 3600 << true << true
                                                << false << QByteArray("shipped script") << QStringList();
    // A build without the compiled script installs Dirtool once and then leaves it be.
    QTest::newRow("no shipped script, nothing installed") << QByteArray() << false << 0 << false << true << false
                                                          << QByteArray() << noScriptLog;
    QTest::newRow("no shipped script, Dirtool installed") << QByteArray() << true << 0 << false << false << false
                                                          << QByteArray() << QStringList();
    QTest::newRow("no shipped script keeps an installed one") << QByteArray("installed script") << false << 0
                                                              << false << true << false
                                                              << QByteArray("installed script") << noScriptLog;
}

void TestSystemSetup::pluginCheckAtStart()
{
    QFETCH(QByteArray, installed);
    QFETCH(bool, libraryInstalled);
    QFETCH(int, age);
    QFETCH(bool, shippedScript);
    QFETCH(bool, pluginInstalled);
    QFETCH(bool, error);
    QFETCH(QByteArray, script);
    QFETCH(QStringList, log);

    const QString shipped = AppFolders::scriptPluginSource();
    if (!installed.isEmpty()) {
        QVERIFY(TestFiles::write(m_fixture->installedScript(), installed));
        QFile file(m_fixture->installedScript());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QFileInfo(shipped).lastModified().addSecs(-age), QFileDevice::FileModificationTime));
    }
    if (libraryInstalled)
        QVERIFY(TestFiles::write(m_fixture->installedLibrary(), "old library"));
    if (!shippedScript)
        QVERIFY(QFile::remove(shipped));
    m_fixture->storeSetting(DatabaseService::ZBrushPath, m_fixture->zbrushFolder());
    m_fixture->start();

    QVERIFY(m_fixture->system->setupOk());
    QCOMPARE(m_fixture->system->pluginInstalled(), pluginInstalled);
    QCOMPARE(m_fixture->system->pluginInstallError(), error);
    QCOMPARE(TestFiles::read(m_fixture->installedScript()), script);
    QCOMPARE(TestFiles::read(m_fixture->installedLibrary()),
             QByteArray(pluginInstalled ? "shipped library" : "old library"));
    QCOMPARE(m_fixture->system->installLog()->stringList(), log);

    // The next start finds everything in place and installs nothing.
    m_fixture->restart();
    QVERIFY(!m_fixture->system->pluginInstalled());
    QVERIFY(!m_fixture->system->pluginInstallError());
    QCOMPARE(m_fixture->system->installLog()->rowCount(), 0);
}

void TestSystemSetup::failedPluginCheckIsReported()
{
    QVERIFY(QFile::remove(AppFolders::resourcesFolder() + QStringLiteral("Dirtool64.dll")));
    m_fixture->storeSetting(DatabaseService::ZBrushPath, m_fixture->zbrushFolder());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Cannot copy")));
    QTest::ignoreMessage(QtWarningMsg, "Failed to copy plugin to ZBrush plugins folder.");
    m_fixture->start();
    QVERIFY(!m_fixture->system->pluginInstalled());
    QVERIFY(m_fixture->system->pluginInstallError());
    QCOMPARE(m_fixture->system->installLog()->stringList(),
             QStringList{"Failed to copy plugin to ZBrush plugins folder."});
}

void TestSystemSetup::installPlugin_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<bool>("shippedScript");

    QTest::newRow("empty path") << QString() << false << QStringList() << true;
    QTest::newRow("missing folder") << QStringLiteral("missing") << false << QStringList() << true;
    QTest::newRow("no ZStartup") << QStringLiteral("NotZBrush") << false
                                 << QStringList{"Invalid ZBrush application path."} << true;
    QTest::newRow("ZBrush folder") << QStringLiteral("ZBrush 2021") << true << QStringList() << true;
    // Set-up completes without the compiled script, and the log says what that means.
    QTest::newRow("build without the script") << QStringLiteral("ZBrush 2021") << true
                                              << QStringList{SystemDataService::scriptMissingMessage} << false;
}

void TestSystemSetup::installPlugin()
{
    QFETCH(QString, folder);
    QFETCH(bool, result);
    QFETCH(QStringList, log);
    QFETCH(bool, shippedScript);
    QVERIFY(QDir().mkpath(m_fixture->path(QStringLiteral("NotZBrush"))));
    if (!shippedScript)
        QVERIFY(QFile::remove(AppFolders::scriptPluginSource()));
    m_fixture->start();
    SystemDataService &system = *m_fixture->system;
    QSignalSpy pathChanged(&system, &SystemDataService::zbrushPathChanged);
    const QString path = folder.isEmpty() ? QString() : m_fixture->path(folder);

    if (!log.isEmpty())
        QTest::ignoreMessage(result ? QtInfoMsg : QtWarningMsg, qPrintable(log.first()));
    QCOMPARE(system.installPlugin(path), result);
    QCOMPARE(system.installLog()->stringList(), log);
    QCOMPARE(pathChanged.count(), result ? 1 : 0);
    QCOMPARE(system.zbrushPath(), result ? path : QString());
    QCOMPARE(m_fixture->storedSetting(DatabaseService::ZBrushPath).toString(), result ? path : QString());
    QCOMPARE(m_fixture->bridge->hostPath(), result ? path : QString());
    QCOMPARE(QFileInfo::exists(m_fixture->installedLibrary()), result);
    QCOMPARE(QFileInfo::exists(m_fixture->installedScript()), result && shippedScript);
    if (!result)
        return;

    // Installed and current: a second call succeeds without copying anything.
    QVERIFY(TestFiles::write(m_fixture->installedScript(), "edited script"));
    QVERIFY(system.installPlugin(path));
    QCOMPARE(TestFiles::read(m_fixture->installedScript()), QByteArray("edited script"));
    QCOMPARE(pathChanged.count(), 1);
}

void TestSystemSetup::setupOkLoadsFavouritesAfterEveryCatalogue()
{
    {
        DatabaseService database(m_fixture->databasePath, QStringLiteral("stored"), true);
        database.insertFavoriteSet(QStringLiteral("Mine"), QStringLiteral("#ff0000ff"), 1);
        database.saveFavoriteResource(QStringLiteral("Gold"), QStringLiteral("material"), QStringLiteral("Mine"), 0);
        database.saveFavoriteResource(QStringLiteral("Dog"), QStringLiteral("tool"), QStringLiteral("Mine"), 1);
        // A member of a set that no longer exists is left alone.
        database.saveFavoriteResource(QStringLiteral("Chrome"), QStringLiteral("material"), QStringLiteral("Gone"), 0);
    }
    m_fixture->start();
    SystemDataService &system = *m_fixture->system;
    QVERIFY(!system.setupOk());
    TestCatalogue materials(m_fixture->database, DatabaseService::Material, m_fixture->system, {"Chrome", "Gold"});
    TestCatalogue tools(m_fixture->database, DatabaseService::Tool, m_fixture->system, {"Dog"});
    system.registerCatalogue(&materials);
    system.registerCatalogue(&tools);
    system.registerCatalogue(&tools);
    QCOMPARE(system.catalogues().size(), 2);

    // The set-up view writes the catalogues first; the tools catalogue it "missed".
    materials.setSetupOk(true);
    QSignalSpy activated(&system, &SystemDataService::favoriteSetActivated);
    system.setSetupOk(true);

    QVERIFY(tools.setupOk());
    QCOMPARE(tools.fullScans, 1);
    QCOMPARE(materials.fullScans, 1);
    QVERIFY(system.setupFinished());
    QCOMPARE(system.libraryPath(), m_fixture->defaultLibrary());
    QCOMPARE(memberNames(QStringLiteral("Mine")), (QStringList{"Gold", "Dog"}));
    QVERIFY(materials.resource(QStringLiteral("Gold")));
    QCOMPARE(activated.count(), 1);
    QCOMPARE(system.currentFavoriteSet(), system.favoriteSets().first());

    // Favourites are loaded once.
    system.setSetupOk(true);
    QCOMPARE(activated.count(), 1);
    system.loadFavorites();
    QCOMPARE(activated.count(), 1);
}

void TestSystemSetup::rescanAllResources()
{
    m_fixture->storeSetting(DatabaseService::ZBrushPath, m_fixture->zbrushFolder());
    m_fixture->installCurrentPlugin();
    {
        DatabaseService database(m_fixture->databasePath, QStringLiteral("stored"), true);
        database.insertFavoriteSet(QStringLiteral("Mine"), QStringLiteral("#ff0000ff"), 1);
        database.saveFavoriteResource(QStringLiteral("Gold"), QStringLiteral("material"), QStringLiteral("Mine"), 0);
        database.saveFavoriteResource(QStringLiteral("Silver"), QStringLiteral("material"), QStringLiteral("Mine"), 1);
        database.saveFavoriteResource(QStringLiteral("Dog"), QStringLiteral("tool"), QStringLiteral("Mine"), 2);
    }
    m_fixture->start();
    SystemDataService &system = *m_fixture->system;
    QVERIFY(system.setupOk());
    // As start-up: catalogues built already set up, registered, then the favourites.
    TestCatalogue materials(m_fixture->database, DatabaseService::Material, m_fixture->system, {"Gold"});
    auto tools = std::make_unique<TestCatalogue>(m_fixture->database, DatabaseService::Tool, m_fixture->system,
                                                 QStringList{"Dog"});
    materials.setSetupOk(true);
    tools->setSetupOk(true);
    system.registerCatalogue(&materials);
    system.registerCatalogue(tools.get());
    system.loadFavorites();
    QCOMPARE(memberNames(QStringLiteral("Mine")), (QStringList{"Gold", "Dog"}));

    // Silver appears on disk; the rescan finds it and it joins its set in stored order.
    materials.files << QStringLiteral("Silver");
    materials.takeChangedRows();
    QSignalSpy complete(&system, &SystemDataService::rescanComplete);
    system.rescanAllResources();
    QCOMPARE(materials.fullScans, 2);
    QCOMPARE(tools->fullScans, 2);
    QCOMPARE(memberNames(QStringLiteral("Mine")), (QStringList{"Gold", "Silver", "Dog"}));
    QCOMPARE(complete.count(), 1);
    QCOMPARE(materials.takeChangedRows(), (QList<int>{0, 1}));

    // A catalogue that has gone is left out of the next rescan.
    tools.reset();
    QCOMPARE(system.catalogues().size(), 1);
    system.rescanAllResources();
    QCOMPARE(materials.fullScans, 3);
    QCOMPARE(memberNames(QStringLiteral("Mine")), (QStringList{"Gold", "Silver"}));
}

void TestSystemSetup::stepwiseRescan()
{
    m_fixture->storeSetting(DatabaseService::ZBrushPath, m_fixture->zbrushFolder());
    m_fixture->installCurrentPlugin();
    {
        DatabaseService database(m_fixture->databasePath, QStringLiteral("stored"), true);
        database.insertFavoriteSet(QStringLiteral("Mine"), QStringLiteral("#ff0000ff"), 1);
        database.saveFavoriteResource(QStringLiteral("Gold"), QStringLiteral("material"), QStringLiteral("Mine"), 0);
        database.saveFavoriteResource(QStringLiteral("Dog"), QStringLiteral("tool"), QStringLiteral("Mine"), 1);
    }
    m_fixture->start();
    SystemDataService &system = *m_fixture->system;
    TestCatalogue materials(m_fixture->database, DatabaseService::Material, m_fixture->system, {"Gold"});
    auto tools = std::make_unique<TestCatalogue>(m_fixture->database, DatabaseService::Tool, m_fixture->system,
                                                 QStringList{"Dog"});
    materials.setSetupOk(true);
    tools->setSetupOk(true);
    system.registerCatalogue(&materials);
    system.registerCatalogue(tools.get());
    system.loadFavorites();

    QSignalSpy progress(&system, &SystemDataService::rescanProgressChanged);
    QSignalSpy finished(&system, &SystemDataService::rescanFinished);
    QSignalSpy complete(&system, &SystemDataService::rescanComplete);
    QVERIFY(system.startRescan());
    QVERIFY(system.isRescanning());
    QVERIFY(!system.startRescan());
    // Nothing is scanned before the event loop runs, so the view can show it first.
    QCOMPARE(materials.fullScans, 1);
    // A catalogue that goes during the rescan is skipped.
    tools.reset();
    QVERIFY(finished.wait(5000));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(complete.count(), 1);
    QVERIFY(!system.isRescanning());
    QCOMPARE(materials.fullScans, 2);
    QCOMPARE(system.rescanProgress(), 100);
    QVERIFY(progress.count() >= 2);
    QCOMPARE(memberNames(QStringLiteral("Mine")), (QStringList{"Gold"}));
    // The next one can start.
    QVERIFY(system.startRescan());
    QVERIFY(finished.wait(5000));
    QCOMPARE(materials.fullScans, 3);
}

QTEST_MAIN(TestSystemSetup)
#include "tst_systemsetup.moc"
