// Folder discovery against a prefix that Wine itself made and wrote (CTest label wine).
#include "appfolders.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestRealWinePrefix : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void registryWrittenByWine();
    void publicDocuments();

private:
    bool wine(const QStringList &arguments, const QString &program = QString());

    QString m_wine;
    QTemporaryDir m_prefix;
};

bool TestRealWinePrefix::wine(const QStringList &arguments, const QString &program)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WINEPREFIX"), m_prefix.path());
    environment.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
    process.setProcessEnvironment(environment);
    process.start(program.isEmpty() ? m_wine : program, arguments);
    return process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

void TestRealWinePrefix::initTestCase()
{
    m_wine = QStandardPaths::findExecutable(QStringLiteral("wine64"), {QStringLiteral("/usr/lib/wine")});
    if (m_wine.isEmpty())
        QSKIP("wine64 is not installed");
    QVERIFY(m_prefix.isValid());
    const QString key = QStringLiteral("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\");
    QVERIFY(wine({QStringLiteral("reg"), QStringLiteral("add"), key + QStringLiteral("ZBTest"), QStringLiteral("/v"),
                  QStringLiteral("DisplayName"), QStringLiteral("/d"), QStringLiteral("ZBrush 2021"), QStringLiteral("/f")}));
    QVERIFY(wine({QStringLiteral("reg"), QStringLiteral("add"), key + QStringLiteral("ZBTest"), QStringLiteral("/v"),
                  QStringLiteral("InstallLocation"), QStringLiteral("/d"),
                  QStringLiteral("C:\\Program Files\\Pixologic\\ZBrush 2021\\"), QStringLiteral("/f")}));
    QVERIFY(wine({QStringLiteral("reg"), QStringLiteral("add"), key + QStringLiteral("Caf\u00e9"), QStringLiteral("/v"),
                  QStringLiteral("DisplayName"), QStringLiteral("/d"), QStringLiteral("ZBrush Caf\u00e9 \"2\""),
                  QStringLiteral("/f")}));
    // The registry reaches system.reg once the server has ended.
    QVERIFY(wine({QStringLiteral("-w")}, QFileInfo(m_wine).path() + QStringLiteral("/wineserver")));
    qputenv("WINEPREFIX", QFile::encodeName(m_prefix.path()));
}

void TestRealWinePrefix::cleanupTestCase()
{
    qunsetenv("WINEPREFIX");
}

void TestRealWinePrefix::registryWrittenByWine()
{
    const QStringList versions = AppFolders::knownZBrushVersions();
    QVERIFY2(versions.contains(QStringLiteral("ZBrush 2021")), qPrintable(versions.join(QLatin1Char(','))));
    QVERIFY(versions.contains(QStringLiteral("ZBrush Caf\u00e9 \"2\"")));
    QCOMPARE(versions.size(), 7);
    const QString expected = QFileInfo(m_prefix.path() + QStringLiteral("/drive_c")).canonicalFilePath()
        + QStringLiteral("/Program Files/Pixologic/ZBrush 2021/");
    QCOMPARE(AppFolders::installLocationFor(QStringLiteral("ZBrush 2021")), expected);
}

void TestRealWinePrefix::publicDocuments()
{
    QVERIFY(QDir().mkpath(m_prefix.path() + QStringLiteral("/drive_c/users/Public/Documents/ZBrushData2021")));
    QCOMPARE(AppFolders::zbrushDataFolders().constLast(),
             m_prefix.path() + QStringLiteral("/drive_c/users/Public/Documents/ZBrushData2021/"));
}

QTEST_GUILESS_MAIN(TestRealWinePrefix)

#include "tst_realwineprefix.moc"
