#include "appfolders.h"
#include "wineprefixbuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

const QStringList fiveKnownNames{QStringLiteral("ZBrush 4R7"), QStringLiteral("ZBrush 4R8"),
                                 QStringLiteral("ZBrush 2018"), QStringLiteral("ZBrush 2019"),
                                 QStringLiteral("ZBrush 2020")};

// Two ZBrush entries and one other program, among keys that must be ignored.
const char *uninstallSections = R"REG([Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall] 1700000000
#time=1d9f0e6a1b2c3d4

[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{3F2504E0-4F89-11D3-9A0C-0305E82C3301}] 1700000001
#time=1d9f0e6a1b2c3d5
"DisplayIcon"="C:\\Program Files\\Pixologic\\ZBrush 2021\\ZBrush.exe"
"displayname"="ZBrush 2021"
"EstimatedSize"=dword:00123456
"InstallLocation"="C:\\Program Files\\Pixologic\\ZBrush 2021\\"
"NoModify"=hex:01,00,00,00,\
  00,00

[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{3F2504E0-4F89-11D3-9A0C-0305E82C3301}\\Deeper] 1700000002
"DisplayName"="ZBrush Deeper"
"InstallLocation"="C:\\Deeper"

[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Blender] 1700000003
"DisplayName"="Blender"
"InstallLocation"="C:\\Program Files\\Blender Foundation\\"

[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZBrushCore] 1700000004
"DisplayName"="zbrushCore 2021"
"InstallLocation"=str(2):"D:\\Sculpt\\ZBrushCore"

[Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZB32] 1700000005
"DisplayName"="ZBrush 32-bit"
"InstallLocation"="C:\\ZB32"

[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZBrush2019] 1700000006
"DisplayName"="ZBrush 2019"
)REG";

} // namespace

class TestAppFolders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void knownZBrushVersions_data();
    void knownZBrushVersions();
    void installLocationFor_data();
    void installLocationFor();
    void pixologicFolders_data();
    void pixologicFolders();
    void zbrushDataFolders_data();
    void zbrushDataFolders();
    void programFiles();
    void databasePath_data();
    void databasePath();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_otherDrive;
    std::unique_ptr<WinePrefixBuilder> m_prefix;
};

void TestAppFolders::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_prefix = std::make_unique<WinePrefixBuilder>(m_dir->path() + QStringLiteral("/prefix"));
    m_otherDrive = m_dir->path() + QStringLiteral("/otherdrive");
    QVERIFY(QDir().mkpath(m_otherDrive));
    QVERIFY(m_prefix->addDrive(QLatin1Char('d'), m_otherDrive));
    m_prefix->makeCurrent();
}

void TestAppFolders::cleanup()
{
    AppFolders::setProgramFolderForTesting(QString());
    m_prefix.reset();
    m_dir.reset();
}

void TestAppFolders::knownZBrushVersions_data()
{
    QTest::addColumn<bool>("withRegistry");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("no registry") << false << fiveKnownNames;
    // ZBrush 2019 is a known name and is not repeated; the other program, the deeper
    // key and the 32-bit view stay out; "zbrushCore" matches the prefix in any case.
    QTest::newRow("two ZBrush entries")
        << true << fiveKnownNames + QStringList{QStringLiteral("ZBrush 2021"), QStringLiteral("zbrushCore 2021")};
}

void TestAppFolders::knownZBrushVersions()
{
    QFETCH(bool, withRegistry);
    QFETCH(QStringList, expected);
    if (withRegistry)
        QVERIFY(m_prefix->writeSystemRegistry(QString::fromUtf8(uninstallSections)));
    QCOMPARE(AppFolders::knownZBrushVersions(), expected);
}

void TestAppFolders::installLocationFor_data()
{
    QTest::addColumn<bool>("withRegistry");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected"); // relative to the prefix's drive_c, "D:" for the other drive

    QTest::newRow("no registry") << false << QStringLiteral("ZBrush 2021") << QString();
    QTest::newRow("C: path through dosdevices")
        << true << QStringLiteral("ZBrush 2021") << QStringLiteral("/Program Files/Pixologic/ZBrush 2021/");
    QTest::newRow("expandable text on drive D:")
        << true << QStringLiteral("zbrushCore 2021") << QStringLiteral("D:/Sculpt/ZBrushCore");
    QTest::newRow("other program") << true << QStringLiteral("Blender")
                                   << QStringLiteral("/Program Files/Blender Foundation/");
    QTest::newRow("no InstallLocation value") << true << QStringLiteral("ZBrush 2019") << QString();
    QTest::newRow("case differs") << true << QStringLiteral("zbrush 2021") << QString();
    QTest::newRow("deeper key") << true << QStringLiteral("ZBrush Deeper") << QString();
    QTest::newRow("32-bit view") << true << QStringLiteral("ZBrush 32-bit") << QString();
    QTest::newRow("not installed") << true << QStringLiteral("ZBrush 4R8") << QString();
}

void TestAppFolders::installLocationFor()
{
    QFETCH(bool, withRegistry);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    if (withRegistry)
        QVERIFY(m_prefix->writeSystemRegistry(QString::fromUtf8(uninstallSections)));
    if (expected.startsWith(QLatin1String("D:")))
        expected = QFileInfo(m_otherDrive).canonicalFilePath() + expected.mid(2);
    else if (!expected.isEmpty())
        expected = QFileInfo(m_prefix->driveC()).canonicalFilePath() + expected;
    QCOMPARE(AppFolders::installLocationFor(name), expected);
}

void TestAppFolders::pixologicFolders_data()
{
    QTest::addColumn<bool>("programFilesSet");
    QTest::newRow("PROGRAMFILES unset: the prefix's Program Files") << false;
    QTest::newRow("PROGRAMFILES set") << true;
}

void TestAppFolders::pixologicFolders()
{
    QFETCH(bool, programFilesSet);
    QString programFiles = m_prefix->programFiles();
    if (programFilesSet) {
        programFiles = m_dir->path() + QStringLiteral("/elsewhere");
        qputenv("PROGRAMFILES", QFile::encodeName(programFiles));
        // The prefix's own folder must then be ignored.
        QVERIFY(m_prefix->makeFolder(m_prefix->programFiles() + QStringLiteral("/Pixologic/ZBrush 2018")));
    }
    const QString pixologic = programFiles + QStringLiteral("/Pixologic/");
    for (const char *name : {"ZBrush 2022", "Other", "zbrushcore", "ZBrush 2021", "Sculptris"})
        QVERIFY(m_prefix->makeFolder(pixologic + QLatin1String(name)));

    const QStringList expected{pixologic + QStringLiteral("ZBrush 2021"), pixologic + QStringLiteral("ZBrush 2022"),
                               pixologic + QStringLiteral("zbrushcore")};
    QCOMPARE(AppFolders::pixologicFolders(), expected);
}

void TestAppFolders::zbrushDataFolders_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("expectedTail"); // after the four known names
    QTest::newRow("nothing present") << QStringList() << QStringList();
    QTest::newRow("ZBrushData2021") << QStringList{QStringLiteral("ZBrushData2021"), QStringLiteral("ZBrushData2019"),
                                                   QStringLiteral("Letters")}
                                    << QStringList{QStringLiteral("ZBrushData2021")};
    QTest::newRow("two newer, listing order")
        << QStringList{QStringLiteral("ZBrushData2022"), QStringLiteral("zbrushdata2021")}
        << QStringList{QStringLiteral("zbrushdata2021"), QStringLiteral("ZBrushData2022")};
}

void TestAppFolders::zbrushDataFolders()
{
    QFETCH(QStringList, present);
    QFETCH(QStringList, expectedTail);
    const QString documents = m_prefix->publicDocuments();
    for (const QString &name : qAsConst(present))
        QVERIFY(m_prefix->makeFolder(documents + QLatin1Char('/') + name));

    QStringList expected;
    for (const QString &name : QStringList{QStringLiteral("ZBrushData"), QStringLiteral("ZBrushData2018"),
                                           QStringLiteral("ZBrushData2019"), QStringLiteral("ZBrushData2020")}
             + expectedTail)
        expected.append(documents + QLatin1Char('/') + name + QLatin1Char('/'));
    QCOMPARE(AppFolders::zbrushDataFolders(), expected);
    // The default library goes into the newest data folder, existing or not.
    QCOMPARE(AppFolders::defaultLibraryFolder(), expected.constLast() + QStringLiteral("ZPluginData/KIVData/KIVSource"));
}

void TestAppFolders::programFiles()
{
    // A Windows-style PROGRAMFILES is read through the prefix's drives.
    qputenv("PROGRAMFILES", "D:\\Programs");
    QVERIFY(m_prefix->makeFolder(m_otherDrive + QStringLiteral("/Programs/Pixologic/ZBrush 2020")));
    QCOMPARE(AppFolders::pixologicFolders(),
             QStringList{QFileInfo(m_otherDrive).canonicalFilePath() + QStringLiteral("/Programs/Pixologic/ZBrush 2020")});
}

void TestAppFolders::databasePath_data()
{
    QTest::addColumn<QString>("resources"); // "folder", "missing", "file" or "read-only"
    QTest::addColumn<bool>("existingUserDatabase");
    QTest::addColumn<bool>("besideProgram");
    QTest::addColumn<bool>("needsTemplate");
    QTest::newRow("writable Resources") << QStringLiteral("folder") << false << true << false;
    QTest::newRow("no Resources folder") << QStringLiteral("missing") << false << false << true;
    QTest::newRow("Resources is a file") << QStringLiteral("file") << false << false << true;
    QTest::newRow("read-only Resources") << QStringLiteral("read-only") << false << false << true;
    QTest::newRow("per-user database exists") << QStringLiteral("missing") << true << false << false;
}

void TestAppFolders::databasePath()
{
    QFETCH(QString, resources);
    QFETCH(bool, existingUserDatabase);
    QFETCH(bool, besideProgram);
    QFETCH(bool, needsTemplate);

    if (resources == QLatin1String("read-only") && geteuid() == 0)
        QSKIP("root writes into read-only folders");
    const QString program = m_dir->path() + QStringLiteral("/program");
    QVERIFY(QDir().mkpath(program));
    AppFolders::setProgramFolderForTesting(program);
    const QString resourcesPath = program + QStringLiteral("/Resources");
    if (resources == QLatin1String("file")) {
        QFile file(resourcesPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (resources != QLatin1String("missing")) {
        QVERIFY(QDir().mkpath(resourcesPath));
        if (resources == QLatin1String("read-only"))
            QVERIFY(QFile::setPermissions(resourcesPath, QFile::ReadOwner | QFile::ExeOwner));
    }

    QCoreApplication::setOrganizationName(QStringLiteral("KIV"));
    QCoreApplication::setApplicationName(QStringLiteral("Kivara"));
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QVERIFY(!userFolder.isEmpty());
    const QString userDatabase = userFolder + QStringLiteral("/brushes.db");
    QFile::remove(userDatabase);
    if (existingUserDatabase) {
        QVERIFY(QDir().mkpath(userFolder));
        QFile file(userDatabase);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    QCOMPARE(AppFolders::databaseTemplatePath(), resourcesPath + QStringLiteral("/brushes.db"));
    QCOMPARE(AppFolders::databasePath(), besideProgram ? AppFolders::databaseTemplatePath() : userDatabase);
    QCOMPARE(AppFolders::databaseNeedsTemplate(), needsTemplate);
    QFile::remove(userDatabase);
    QFile::setPermissions(resourcesPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QTEST_GUILESS_MAIN(TestAppFolders)

#include "tst_appfolders.moc"
