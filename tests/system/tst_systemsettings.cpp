// The system service's settings, stored flags and small services, through restarts
// on the same library database.
#include "systemfixture.h"
#include "tests/common/testfiles.h"
#include "tests/common/favoritenames.h"
#include "tests/common/urlcatcher.h"
#include "tests/common/zbrushcommand.h"

#include "Model/favoriteset.h"
#include "update/autoupdater.h"

#include <QGuiApplication>
#include <QMetaProperty>
#include <QScreen>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QtTest>

#include <algorithm>

namespace {

// Counts what the system service forwards to the updater.
class FakeUpdater : public AutoUpdater
{
public:
    FakeUpdater()
        : AutoUpdater(QUrl(QStringLiteral("http://127.0.0.1:9/feed.xml")))
    {
    }
    void checkForUpdatesWithUi() override {}
    void checkForUpdatesInBackground() override {}
    void fetchLatestVersion() override { ++fetches; }
    void checkAndInstall() override { ++installs; }

    int fetches = 0;
    int installs = 0;
};

QSignalSpy *notifySpy(QObject *object, const char *property)
{
    const QMetaObject *meta = object->metaObject();
    const QMetaProperty metaProperty = meta->property(meta->indexOfProperty(property));
    const QMetaMethod notify = metaProperty.notifySignal();
    return new QSignalSpy(object, QByteArray("2" + notify.methodSignature()).constData());
}

} // namespace

class TestSystemSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void defaultsWithoutStoredSettings();
    void storedFlagTexts_data();
    void storedFlagTexts();
    void settingSurvivesRestart_data();
    void settingSurvivesRestart();
    void unstoredProperties();
    void zbrushPathFromUrl_data();
    void zbrushPathFromUrl();
    void updateReport_data();
    void updateReport();
    void updaterCalls();
    void windowStart_data();
    void windowStart();
    void commands();
    void openResourceFolder();
    void importReloadsFavoriteSets();

private:
    std::unique_ptr<SystemFixture> m_fixture;
};

void TestSystemSettings::init()
{
    m_fixture = std::make_unique<SystemFixture>();
    QVERIFY(m_fixture->isValid());
}

void TestSystemSettings::cleanup()
{
    m_fixture.reset();
}

void TestSystemSettings::defaultsWithoutStoredSettings()
{
    m_fixture->start();
    const SystemDataService &system = *m_fixture->system;
    // Every stored setting absent: the flags that are on unless switched off.
    QVERIFY(system.doubleClickActivate());
    QVERIFY(system.showAdvancedTooltips());
    QVERIFY(system.showKIVCategory());
    QVERIFY(system.autoUpdateKivara());
    QVERIFY(system.zbrushUiColorSync());
    QVERIFY(system.showNews());
    QVERIFY(system.showTutorial());
    QVERIFY(!system.miniHorizontalMode());
    QCOMPARE(system.theme(), QStringLiteral("Default"));
    QCOMPARE(system.zbrushPath(), QString());
    // Reading changes nothing in the database.
    QVERIFY(m_fixture->storedSetting(DatabaseService::ShowNews).isNull());
}

void TestSystemSettings::storedFlagTexts_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("showNews");
    QTest::addColumn<bool>("doubleClick");

    // Which texts count as off is the database's rule; here one text each way,
    // with SingleClick read the other way round.
    QTest::newRow("false") << "false" << false << true;
    QTest::newRow("any other text") << "yes" << true << false;
}

void TestSystemSettings::storedFlagTexts()
{
    QFETCH(QString, stored);
    QFETCH(bool, showNews);
    QFETCH(bool, doubleClick);
    m_fixture->storeSetting(DatabaseService::ShowNews, stored);
    m_fixture->storeSetting(DatabaseService::SingleClick, stored);
    m_fixture->start();
    QCOMPARE(m_fixture->system->showNews(), showNews);
    QCOMPARE(m_fixture->system->doubleClickActivate(), doubleClick);
}

void TestSystemSettings::settingSurvivesRestart_data()
{
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("stored");

    QTest::newRow("double click off is SingleClick true")
        << QByteArray("doubleClickActivate") << QVariant(false) << int(DatabaseService::SingleClick) << "true";
    QTest::newRow("double click on is SingleClick false")
        << QByteArray("doubleClickActivate") << QVariant(true) << int(DatabaseService::SingleClick) << "false";
    QTest::newRow("advanced tooltips") << QByteArray("showAdvancedTooltips") << QVariant(false)
                                       << int(DatabaseService::ShowAdvancedTooltips) << "false";
    QTest::newRow("maker's categories") << QByteArray("showKIVCategory") << QVariant(false)
                                        << int(DatabaseService::ShowKIVCategory) << "false";
    QTest::newRow("automatic updates") << QByteArray("autoUpdateKivara") << QVariant(false)
                                       << int(DatabaseService::AutoUpdate) << "false";
    QTest::newRow("theme") << QByteArray("theme") << QVariant(QStringLiteral("Dark Blue"))
                           << int(DatabaseService::Theme) << "Dark Blue";
    QTest::newRow("horizontal mini mode") << QByteArray("miniHorizontalMode") << QVariant(true)
                                          << int(DatabaseService::HorizontalMiniMode) << "true";
    QTest::newRow("colour sync") << QByteArray("zbrushUiColorSync") << QVariant(false)
                                 << int(DatabaseService::ZbrushColorSync) << "false";
    QTest::newRow("news") << QByteArray("showNews") << QVariant(false) << int(DatabaseService::ShowNews)
                          << "false";
}

void TestSystemSettings::settingSurvivesRestart()
{
    QFETCH(QByteArray, property);
    QFETCH(QVariant, value);
    QFETCH(int, key);
    QFETCH(QString, stored);

    m_fixture->start();
    std::unique_ptr<QSignalSpy> changed(notifySpy(m_fixture->system.data(), property.constData()));
    QVERIFY(changed->isValid());
    QVERIFY(m_fixture->system->setProperty(property.constData(), value));
    QCOMPARE(changed->count(), 1);
    QCOMPARE(m_fixture->system->property(property.constData()), value);
    QCOMPARE(m_fixture->storedSetting(DatabaseService::SettingKey(key)).toString(), stored);

    m_fixture->restart();
    QCOMPARE(m_fixture->system->property(property.constData()), value);
}

void TestSystemSettings::unstoredProperties()
{
    m_fixture->start();
    SystemDataService &system = *m_fixture->system;
    QSignalSpy miniMode(&system, &SystemDataService::miniModeChanged);
    QSignalSpy bprOnly(&system, &SystemDataService::bprOnlyChanged);
    system.setMiniMode(true);
    system.setBprOnly(true);
    system.setFavOnSource(QStringLiteral("qrc:/star-on.png"));
    system.setSelectedFavoriteIndex(2);
    QCOMPARE(miniMode.count(), 1);
    QCOMPARE(bprOnly.count(), 1);
    // Render presets are sent by the bridge, which needs the flag itself.
    QVERIFY(m_fixture->bridge->bprOnly());
    system.setBprOnly(false);
    QVERIFY(!m_fixture->bridge->bprOnly());
    system.setBprOnly(true);

    m_fixture->restart();
    QVERIFY(!m_fixture->system->miniMode());
    QVERIFY(!m_fixture->system->bprOnly());
    QVERIFY(!m_fixture->bridge->bprOnly());
    QCOMPARE(m_fixture->system->favOnSource(), QString());
    QCOMPARE(m_fixture->system->selectedFavoriteIndex(), -1);
}

void TestSystemSettings::zbrushPathFromUrl_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("path");

    QTest::newRow("local folder URL") << "file:///opt/ZBrush 2022" << "/opt/ZBrush 2022";
    QTest::newRow("percent-encoded") << "file:///opt/ZBrush%202022" << "/opt/ZBrush 2022";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("not a local file") << "https://example.org/ZBrush" << "";
    QTest::newRow("a plain path is no URL") << "/opt/ZBrush" << "";
}

void TestSystemSettings::zbrushPathFromUrl()
{
    QFETCH(QString, url);
    QFETCH(QString, path);
    m_fixture->start();
    QSignalSpy changed(m_fixture->system.data(), &SystemDataService::zbrushPathChanged);
    m_fixture->system->setZbrushPath(url);
    QCOMPARE(changed.count(), path.isEmpty() ? 0 : 1);
    QCOMPARE(m_fixture->system->zbrushPath(), path);
    QCOMPARE(m_fixture->storedSetting(DatabaseService::ZBrushPath).toString(), path);
    // The bridge follows at the next start or installation.
    QCOMPARE(m_fixture->bridge->hostPath(), QString());
}

void TestSystemSettings::updateReport_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("available");

    QTest::newRow("our own version") << "3.0.1" << false;
    QTest::newRow("newer") << "3.10.0" << true;
    // Only inequality counts: the feed decides what is offered.
    QTest::newRow("older") << "2.9.9" << true;
}

void TestSystemSettings::updateReport()
{
    QFETCH(QString, version);
    QFETCH(bool, available);
    m_fixture->start();
    SystemDataService &system = *m_fixture->system;
    QSignalSpy checked(&system, &SystemDataService::checkedForUpdatesChanged);
    QSignalSpy latest(&system, &SystemDataService::latestVersionChanged);
    QSignalSpy update(&system, &SystemDataService::updateAvailableChanged);
    system.reportLatestVersion(version);
    QVERIFY(system.checkedForUpdates());
    QCOMPARE(system.latestVersion(), version);
    QCOMPARE(system.updateAvailable(), available);
    QCOMPARE(checked.count() + latest.count() + update.count(), 3);
}

void TestSystemSettings::updaterCalls()
{
    m_fixture->start();
    SystemDataService &system = *m_fixture->system;
    // Without an updater both calls are harmless.
    system.checkForUpdates();
    system.installUpdate();

    auto updater = std::make_unique<FakeUpdater>();
    system.setAutoUpdater(updater.get());
    system.checkForUpdates();
    system.installUpdate();
    system.installUpdate();
    QCOMPARE(updater->fetches, 1);
    QCOMPARE(updater->installs, 2);

    // An updater that goes away is not called any more.
    updater.reset();
    QCOMPARE(system.autoUpdater(), nullptr);
    system.checkForUpdates();
}

void TestSystemSettings::windowStart_data()
{
    QTest::addColumn<int>("dx");
    QTest::addColumn<bool>("kept");

    QTest::newRow("left edge") << 0 << true;
    QTest::newRow("inside") << 50 << true;
    QTest::newRow("left of every screen") << -5000 << false;
    QTest::newRow("right of every screen") << 50000 << false;
}

void TestSystemSettings::windowStart()
{
    QFETCH(int, dx);
    QFETCH(bool, kept);
    m_fixture->start();
    const QScreen *screen = QGuiApplication::primaryScreen();
    QVERIFY(screen);
    const QRect desktop = screen->virtualGeometry();
    QCOMPARE(m_fixture->system->getWindowStartX(desktop.left() + dx), kept ? desktop.left() + dx : desktop.left() + 10);
    QCOMPARE(m_fixture->system->getWindowStartY(desktop.top() + dx), kept ? desktop.top() + dx : desktop.top() + 10);
}

void TestSystemSettings::commands()
{
    m_fixture->start();
    SystemDataService &system = *m_fixture->system;
    // An unknown type word is sent as a brush.
    system.activateResource(QStringLiteral("Clay"), QStringLiteral("/b/Clay.ZBP"), QStringLiteral("sculpt"));
    QCOMPARE(m_fixture->commandFile(), zbrushCommand(0.0f, "Brush:Clay", "/b/Clay.ZBP"));
    system.activateResource(QStringLiteral("Dog"), QStringLiteral("/p/Dog.ZPR"), QStringLiteral("project"));
    QCOMPARE(m_fixture->commandFile(), zbrushCommand(12.0f, "File:Dog", "/p/Dog.ZPR"));
    // The start-up document: code 28 and two texts of only their terminators.
    system.setStartupDocument();
    QCOMPARE(m_fixture->commandFile(), zbrushCommand(28.0f, "Document:"));
}

void TestSystemSettings::openResourceFolder()
{
    m_fixture->start();
    UrlCatcher browser({QStringLiteral("file")});
    m_fixture->system->openResourceFolder(QStringLiteral("/library/Brushes/Clay.ZBP"));
    // The folder that holds the file, not the file.
    QCOMPARE(browser.opened, QList<QUrl>{QUrl(QStringLiteral("file:///library/Brushes"))});
}

void TestSystemSettings::importReloadsFavoriteSets()
{
    m_fixture->start();
    SystemDataService &system = *m_fixture->system;
    system.addFavoriteSet(QStringLiteral("Mine"));
    const QString exported = m_fixture->path(QStringLiteral("export/library.db"));
    QVERIFY(QDir().mkpath(QFileInfo(exported).path()));
    QSignalSpy exportedSignal(&system, &SystemDataService::databaseExported);
    QSignalSpy transferring(&system, &SystemDataService::transferringDatabaseChanged);
    QVERIFY(system.exportDatabase(QUrl::fromLocalFile(exported).toString()));
    QVERIFY(system.isTransferringDatabase());
    // One at a time: a second one is refused at once and says so.
    QVERIFY(!system.importDatabase(QUrl::fromLocalFile(exported).toString()));
    QVERIFY(exportedSignal.wait(10000));
    QCOMPARE(exportedSignal.takeFirst(), (QVariantList{true, QString()}));
    QVERIFY(!system.isTransferringDatabase());
    QCOMPARE(transferring.count(), 2);
    QVERIFY(QFileInfo(exported).isFile());
    // The snapshot's own connection went with its thread.
    const QStringList connections = QSqlDatabase::connectionNames();
    QVERIFY(std::none_of(connections.cbegin(), connections.cend(),
                         [](const QString &name) { return name.startsWith(QLatin1String("kivara-export")); }));
    // A URL that is no local file exports nothing, and says so.
    QVERIFY(!system.exportDatabase(QStringLiteral("https://example.org/library.db")));
    QCOMPARE(exportedSignal.count(), 1);
    QCOMPARE(exportedSignal.at(0).at(0).toBool(), false);
    QVERIFY(!exportedSignal.at(0).at(1).toString().isEmpty());

    system.addFavoriteSet(QStringLiteral("Later"));
    QCOMPARE(setNames(system), (QStringList{"Default", "Mine", "Later"}));
    QSignalSpy model(&system, &SystemDataService::favoritesModelChanged);
    QSignalSpy imported(&system, &SystemDataService::databaseImported);
    QVERIFY(system.importDatabase(QUrl::fromLocalFile(exported).toString()));
    // Nothing changes before the checked copy is swapped in here.
    QCOMPARE(setNames(system), (QStringList{"Default", "Mine", "Later"}));
    QVERIFY(imported.wait(10000));
    QVERIFY(model.count() > 0);
    QCOMPARE(imported.takeFirst(), (QVariantList{true, QString()}));
    QCOMPARE(setNames(system), (QStringList{"Default", "Mine"}));
    QCOMPARE(system.currentFavoriteSet(), system.favoriteSets().first());
    // No staged copy is left beside the database.
    const QDir databaseFolder = QFileInfo(m_fixture->databasePath).dir();
    const QString staged = QFileInfo(m_fixture->databasePath).fileName() + QStringLiteral(".import-*");
    QCOMPARE(databaseFolder.entryList({staged}, QDir::Files | QDir::Hidden), QStringList());
    QVERIFY(QFileInfo::exists(m_fixture->databasePath + QStringLiteral(".bak")));

    // A file that is no database imports nothing, leaves the sets and tells why.
    system.addFavoriteSet(QStringLiteral("Again"));
    const QString notes = m_fixture->path(QStringLiteral("notes.db"));
    QVERIFY(TestFiles::write(notes, "plain text"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Cannot import the library")));
    model.clear();
    QVERIFY(system.importDatabase(QUrl::fromLocalFile(notes).toString()));
    QVERIFY(imported.wait(10000));
    QCOMPARE(imported.takeFirst(), (QVariantList{false, QStringLiteral("not an SQLite database")}));
    QCOMPARE(setNames(system), (QStringList{"Default", "Mine", "Again"}));
    QCOMPARE(model.count(), 0);
    QCOMPARE(databaseFolder.entryList({staged}, QDir::Files | QDir::Hidden), QStringList());
}

QTEST_MAIN(TestSystemSettings)
#include "tst_systemsettings.moc"
