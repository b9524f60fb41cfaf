// The whole road to a real Win32 window under Wine (CTest labels x11 and wine): a
// small Windows program named ZBrush.exe records the window messages it receives.
#include "Model/hostbridge.h"
#include "windowmanager.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestHostWine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void chordArrivesAsKeyMessages();
    void bringsMinimizedHostToFront();

private:
    QString nextLine(int timeout);
    QString state();

    QString m_wine;
    QTemporaryDir m_prefix;
    std::unique_ptr<WindowManager> m_windowManager;
    QProcess m_zbrush;
};

QString TestHostWine::nextLine(int timeout)
{
    QElapsedTimer timer;
    timer.start();
    while (!m_zbrush.canReadLine()) {
        if (timer.elapsed() > timeout || m_zbrush.state() == QProcess::NotRunning)
            return QString();
        m_zbrush.waitForReadyRead(100);
    }
    return QString::fromUtf8(m_zbrush.readLine()).trimmed();
}

// "state <iconic> <foreground> <visible>", each 0 or 1.
QString TestHostWine::state()
{
    m_zbrush.write("state\n");
    for (QString line = nextLine(5000); !line.isEmpty(); line = nextLine(5000)) {
        if (line.startsWith(QLatin1String("state")))
            return line;
    }
    return QString();
}

void TestHostWine::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X display (ctest gives x11 tests one of their own)");
    m_wine = QStandardPaths::findExecutable(QStringLiteral("wine64"), {QStringLiteral("/usr/lib/wine")});
    if (m_wine.isEmpty())
        QSKIP("wine64 is not installed");
    const QString standIn = qEnvironmentVariable("KIVARA_ZBRUSH_STANDIN");
    if (!QFileInfo::exists(standIn))
        QSKIP("the ZBrush stand-in was not built (no mingw-w64)");
    // Without a window manager Wine minimises a window by destroying its X window,
    // so nobody outside can restore it; every desktop has one.
    m_windowManager = std::make_unique<WindowManager>();
    if (!m_windowManager->start(QStringLiteral("openbox")))
        QSKIP("needs a window manager (openbox)");

    QVERIFY(m_prefix.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WINEPREFIX"), m_prefix.path());
    environment.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
    environment.insert(QStringLiteral("WINEDLLOVERRIDES"), QStringLiteral("mscoree,mshtml="));
    m_zbrush.setProcessEnvironment(environment);
    m_zbrush.start(m_wine, {standIn});
    QVERIFY(m_zbrush.waitForStarted());
    // The first start also creates the prefix.
    QString line;
    do
        line = nextLine(180000);
    while (!line.isEmpty() && line != QLatin1String("ready"));
    QVERIFY2(line == QLatin1String("ready"), m_zbrush.readAllStandardError().constData());
    // Wine names the X window's class after the executable, in lower case.
    QTRY_VERIFY_WITH_TIMEOUT(HostBridge().isHostRunning(), 20000);
}

void TestHostWine::cleanupTestCase()
{
    if (m_zbrush.state() != QProcess::NotRunning) {
        m_zbrush.write("quit\n");
        if (!m_zbrush.waitForFinished(10000))
            m_zbrush.kill();
    }
    if (!m_wine.isEmpty() && m_prefix.isValid()) {
        QProcess server;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("WINEPREFIX"), m_prefix.path());
        server.setProcessEnvironment(environment);
        server.start(QFileInfo(m_wine).path() + QStringLiteral("/wineserver"), {QStringLiteral("-k")});
        server.waitForFinished(20000);
    }
    m_windowManager.reset();
}

void TestHostWine::chordArrivesAsKeyMessages()
{
    while (m_zbrush.canReadLine())
        m_zbrush.readLine();
    HostBridge bridge;
    bridge.sendActivationKeys();
    // Message, virtual key, then Shift, Control and Alt as GetKeyState sees them
    // while the message is handled: the Windows messages of the chord, in order.
    const QStringList expected{
        QStringLiteral("keydown 0x10 100"), QStringLiteral("keydown 0x11 110"),   QStringLiteral("keydown 0x12 111"),
        QStringLiteral("keydown 0x39 111"), QStringLiteral("keyup 0x39 111"),     QStringLiteral("keyup 0x10 011"),
        QStringLiteral("syskeyup 0x11 001"), QStringLiteral("keyup 0x12 000"),
    };
    QStringList received;
    while (received.size() < expected.size()) {
        const QStringList line = nextLine(5000).split(QLatin1Char(' '));
        if (line.size() == 1)
            break;
        if (line.size() == 4 && line.at(0).contains(QLatin1String("key")))
            received.append(QStringList{line.at(0), line.at(1), line.at(3)}.join(QLatin1Char(' ')));
    }
    QCOMPARE(received, expected);
}

void TestHostWine::bringsMinimizedHostToFront()
{
    m_zbrush.write("minimize\n");
    QTRY_COMPARE_WITH_TIMEOUT(state().section(QLatin1Char(' '), 1, 1), QStringLiteral("1"), 10000);

    HostBridge bridge;
    bridge.bringHostToFront();
    // Restored, the foreground window, shown.
    QTRY_COMPARE_WITH_TIMEOUT(state(), QStringLiteral("state 0 1 1"), 10000);
}

QTEST_MAIN(TestHostWine)

#include "tst_hostwine.moc"
