// The set-up screen as a new user meets it: licence, detected or typed ZBrush folder,
// installation, the result popup, and a build that ships no compiled script plug-in.
#include "tests/ui/common/uifixture.h"

#include "Model/resourcedataservice.h"
#include "Model/systemdataservice.h"
#include "appservices.h"

#include "tests/common/testfiles.h"

#include <QDir>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QStringListModel>
#include <QtTest>

namespace {

// Typing into the focused field, one key at a time.
void typeText(QWindow *window, const QString &text)
{
    for (const QChar c : text)
        QTest::keyClick(window, c.toLatin1());
}

} // namespace

class SetupViewTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void installWaitsForLicence();
    void completesSetup_data();
    void completesSetup();
    void nothingChosenFails();
    void chosenFolderUrlBecomesLocalPath();

private:
    bool start(const UiFixture::Options &options);
    QQuickItem *item(const char *name) const { return m_fixture->findItem(QString::fromLatin1(name)); }
    QString detectedZBrush() const
    {
        return m_fixture->path(QStringLiteral("prefix/drive_c/Program Files/Pixologic/ZBrush 2023"));
    }

    std::unique_ptr<UiFixture> m_fixture;
};

void SetupViewTest::init()
{
    m_fixture.reset();
}

void SetupViewTest::cleanup()
{
    if (!m_fixture)
        return;
    const QString warnings = m_fixture->warningText();
    m_fixture.reset();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings));
}

bool SetupViewTest::start(const UiFixture::Options &options)
{
    m_fixture = std::make_unique<UiFixture>(options);
    return m_fixture->isValid() && m_fixture->start() && m_fixture->waitForRendering(m_fixture->mainWindow());
}

void SetupViewTest::installWaitsForLicence()
{
    UiFixture::Options options;
    options.setupOk = false;
    QVERIFY(start(options));
    QVERIFY(item("setupCover")->isVisible());
    QQuickItem *install = item("installButton");
    QVERIFY(install);
    QVERIFY(!install->isEnabled());
    QCOMPARE(install->opacity(), 0.4);
    // A click on the disabled button installs nothing.
    QTest::mouseClick(m_fixture->mainWindow(), Qt::LeftButton, {},
                      install->mapToScene(QPointF(install->width() / 2, install->height() / 2)).toPoint());
    QVERIFY(!m_fixture->findObject(QStringLiteral("installResultPopup"))->property("visible").toBool());
    QVERIFY(m_fixture->click("acceptLicense"));
    QVERIFY(install->isEnabled());
    QVERIFY(m_fixture->click("acceptLicense"));
    QVERIFY(!install->isEnabled());
}

void SetupViewTest::completesSetup_data()
{
    QTest::addColumn<bool>("typed");
    QTest::addColumn<bool>("shipScript");
    QTest::newRow("detected installation") << false << true;
    QTest::newRow("typed path") << true << true;
    QTest::newRow("build without the script") << false << false;
}

void SetupViewTest::completesSetup()
{
    QFETCH(bool, typed);
    QFETCH(bool, shipScript);
    UiFixture::Options options;
    options.setupOk = false;
    options.pluginCurrent = false;
    options.shipScript = shipScript;
    m_fixture = std::make_unique<UiFixture>(options);
    QVERIFY(m_fixture->isValid());
    QVERIFY(QDir().mkpath(detectedZBrush() + QStringLiteral("/ZStartup")));
    QVERIFY(m_fixture->start() && m_fixture->waitForRendering(m_fixture->mainWindow()));
    SystemDataService *system = m_fixture->system();
    QCOMPARE(system->zbrushLocations()->rowCount(), 1);
    QVERIFY(item("detectedList_row0"));

    QString target = detectedZBrush();
    if (typed) {
        target = m_fixture->zbrushFolder();
        QVERIFY(m_fixture->click("manualOption"));
        QVERIFY(item("zbrushPathField")->isEnabled());
        QVERIFY(m_fixture->click("zbrushPathField"));
        typeText(m_fixture->mainWindow(), target);
        QCOMPARE(item("zbrushPathField")->property("text").toString(), target);
    } else {
        QVERIFY(!item("zbrushPathField")->isEnabled());
        QCOMPARE(item("zbrushPathField")->parentItem()->opacity(), 0.75);
    }
    QVERIFY(m_fixture->click("acceptLicense"));
    QVERIFY(m_fixture->click("installButton"));

    QObject *popup = m_fixture->findObject(QStringLiteral("installResultPopup"));
    QTRY_VERIFY(popup->property("visible").toBool());
    QCOMPARE(m_fixture->findItem(QStringLiteral("messageText"), popup)->property("text").toString(),
             QStringLiteral("<font color='white'>Plugin installed. Please restart ZBrush.</white>"));
    QVERIFY(!item("setupPage")->isVisible());
    QCOMPARE(QFileInfo::exists(target + QStringLiteral("/ZStartup/ZPlugs64/kiv.zsc")), shipScript);
    QVERIFY(QFileInfo::exists(target + QStringLiteral("/ZStartup/ZPlugs64/KIVData/Dirtool64.dll")));
    const QStringList log = system->installLog()->stringList();
    QCOMPARE(log, shipScript ? QStringList() : QStringList{SystemDataService::scriptMissingMessage});

    QVERIFY(m_fixture->click(m_fixture->findItem(QStringLiteral("acceptButton"), popup)));
    QTRY_VERIFY(!item("setupCover") || !item("setupCover")->isVisible());
    QVERIFY(system->setupOk());
    for (ResourceDataService *catalogue : m_fixture->services()->catalogues())
        QVERIFY2(catalogue->setupOk(), catalogue->metaObject()->className());
    QVERIFY(m_fixture->mainWindow()->property("settingsLoaded").toBool());
    QCOMPARE(m_fixture->storedSetting(DatabaseService::ZBrushPath).toString(), QDir::toNativeSeparators(target));

    // The next start neither shows set-up nor installs again.
    QVERIFY(m_fixture->restart());
    QVERIFY(m_fixture->system()->setupOk());
    QVERIFY(!m_fixture->system()->pluginInstalled());
    QVERIFY(!m_fixture->system()->pluginInstallError());
}

void SetupViewTest::nothingChosenFails()
{
    UiFixture::Options options;
    options.setupOk = false;
    QVERIFY(start(options));
    QCOMPARE(m_fixture->system()->zbrushLocations()->rowCount(), 0);
    QVERIFY(m_fixture->click("acceptLicense"));
    QVERIFY(m_fixture->click("installButton"));
    QObject *popup = m_fixture->findObject(QStringLiteral("installResultPopup"));
    QTRY_VERIFY(popup->property("visible").toBool());
    QCOMPARE(m_fixture->findItem(QStringLiteral("messageText"), popup)->property("text").toString(),
             QStringLiteral("<font color='white'>Plugin installation failed. Plese check the install log.</white>"));
    QVERIFY(m_fixture->click(m_fixture->findItem(QStringLiteral("acceptButton"), popup)));
    QTRY_VERIFY(!popup->property("visible").toBool());
    QVERIFY(item("setupCover")->isVisible());
    QVERIFY(item("setupPage")->isVisible());
    QVERIFY(!m_fixture->system()->setupOk());
    QVERIFY(!m_fixture->mainWindow()->property("settingsLoaded").toBool());

    // A folder that is no ZBrush says so in the install log.
    QVERIFY(m_fixture->click("manualOption"));
    QVERIFY(m_fixture->click("zbrushPathField"));
    const QString notZBrush = m_fixture->path(QStringLiteral("Not ZBrush"));
    QVERIFY(QDir().mkpath(notZBrush));
    typeText(m_fixture->mainWindow(), notZBrush);
    QCOMPARE(item("zbrushPathField")->property("text").toString(), notZBrush);
    QTest::ignoreMessage(QtWarningMsg, "Invalid ZBrush application path.");
    QVERIFY(m_fixture->click("installButton"));
    QTRY_VERIFY(popup->property("visible").toBool());
    QTRY_VERIFY(item("installLogList_row0"));
    QCOMPARE(item("installLogList_row0")->property("text").toString(), QStringLiteral("Invalid ZBrush application path."));
    QVERIFY(m_fixture->click(m_fixture->findItem(QStringLiteral("acceptButton"), popup)));
    QVERIFY(item("setupCover")->isVisible());
}

void SetupViewTest::chosenFolderUrlBecomesLocalPath()
{
    UiFixture::Options options;
    options.setupOk = false;
    QVERIFY(start(options));
    QObject *view = m_fixture->findObject(QStringLiteral("setupLoader"))->property("item").value<QObject *>();
    QVERIFY(view);
    const QString folder = m_fixture->path(QStringLiteral("Zbrush 100% ü"));
    QVERIFY(QMetaObject::invokeMethod(view, "chooseZBrushFolder",
                                      Q_ARG(QVariant, QUrl::fromLocalFile(folder))));
    QCOMPARE(item("zbrushPathField")->property("text").toString(), folder);
    QVERIFY(item("manualOption")->property("checked").toBool());
    QCOMPARE(view->property("chosenPath").toString(), folder);
}

QTEST_MAIN(SetupViewTest)
#include "tst_setupview.moc"
