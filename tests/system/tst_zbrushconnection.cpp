// The connection check under an X server (CTest label x11): a helper process plays
// ZBrush's main window.
#include "systemfixture.h"
#include "tests/common/zbrushcommand.h"

#include "Model/uicolorrequest.h"

#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

class TestZBrushConnection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void followsZBrushWindow_data();
    void followsZBrushWindow();
    void noCheckBeforeSetup();

private:
    bool startZBrush();

    std::unique_ptr<SystemFixture> m_fixture;
    QProcess m_zbrush;
};

void TestZBrushConnection::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X display (ctest gives x11 tests one of their own)");
}

void TestZBrushConnection::init()
{
    m_fixture = std::make_unique<SystemFixture>();
    QVERIFY(m_fixture->isValid());
}

void TestZBrushConnection::cleanup()
{
    if (m_zbrush.state() != QProcess::NotRunning) {
        m_zbrush.kill();
        m_zbrush.waitForFinished(5000);
    }
    m_fixture.reset();
}

bool TestZBrushConnection::startZBrush()
{
    m_zbrush.start(QCoreApplication::applicationDirPath() + QStringLiteral("/x11windowhelper"),
                   {QStringLiteral("ZBrush"), QStringLiteral("ZBrush")});
    // The helper says "ready ..." once its window is shown.
    while (m_zbrush.waitForReadyRead(5000)) {
        while (m_zbrush.canReadLine()) {
            if (m_zbrush.readLine().startsWith("ready"))
                return true;
        }
    }
    return false;
}

void TestZBrushConnection::followsZBrushWindow_data()
{
    QTest::addColumn<bool>("sync");
    QTest::newRow("colour sync on") << true;
    QTest::newRow("colour sync off") << false;
}

void TestZBrushConnection::followsZBrushWindow()
{
    QFETCH(bool, sync);
    m_fixture->storeSetting(DatabaseService::ZBrushPath, m_fixture->zbrushFolder());
    m_fixture->storeSetting(DatabaseService::ZbrushColorSync, sync);
    m_fixture->installCurrentPlugin();
    m_fixture->start();
    SystemDataService &system = *m_fixture->system;
    QVERIFY(system.setupFinished());
    QVERIFY(!system.connectedToZbrush());
    system.setConnectionCheckInterval(50);
    system.colorRequest()->setGiveUpAfter(100);

    QSignalSpy connection(&system, &SystemDataService::zbrushConnectionChanged);
    QVERIFY(startZBrush());
    QVERIFY(connection.wait(5000));
    QVERIFY(system.connectedToZbrush());
    // A ZBrush that has just come up is asked for its colours.
    QCOMPARE(m_fixture->commandFile(), sync ? zbrushCommand(26.0f, "File:") : QByteArray());
    QCOMPARE(system.colorRequest()->isPolling(), sync);

    // Further checks while it runs change nothing.
    QTest::qWait(200);
    QCOMPARE(connection.count(), 1);

    m_zbrush.write("quit\n");
    QVERIFY(m_zbrush.waitForFinished(5000));
    QVERIFY(connection.wait(5000));
    QVERIFY(!system.connectedToZbrush());
    QCOMPARE(connection.count(), 2);
}

void TestZBrushConnection::noCheckBeforeSetup()
{
    m_fixture->start();
    SystemDataService &system = *m_fixture->system;
    QVERIFY(!system.setupOk());
    system.setConnectionCheckInterval(50);
    QVERIFY(startZBrush());
    QSignalSpy connection(&system, &SystemDataService::zbrushConnectionChanged);
    QVERIFY(!connection.wait(500));
    QVERIFY(!system.connectedToZbrush());

    // Set-up starts the check.
    system.setSetupOk(true);
    QVERIFY(connection.wait(5000));
    QVERIFY(system.connectedToZbrush());
}

QTEST_MAIN(TestZBrushConnection)
#include "tst_zbrushconnection.moc"
