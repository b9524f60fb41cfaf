// The bridge's files and plug-in installation; runs with no X display at all.
#include "../folders/wineprefixbuilder.h"
#include "Model/hostbridge.h"
#include "appfolders.h"
#include "tests/common/testfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(HostCommandKind)

namespace {

QByteArray littleEndian(quint32 value)
{
    QByteArray bytes;
    for (int i = 0; i < 4; ++i)
        bytes.append(char((value >> (8 * i)) & 0xff));
    return bytes;
}

// The command file as the script plug-in reads it, from the float's bit pattern.
QByteArray commandBytes(quint32 codeBits, const QByteArray &text, const QByteArray &path)
{
    return QByteArray::fromHex("e903000003000000") + 'F' + littleEndian(codeBits) + 'S' + text + '\0' + 'S' + path
        + '\0';
}

} // namespace

class TestHostBridge : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void brushExample();
    void commandFile_data();
    void commandFile();
    void noCommandFile_data();
    void noCommandFile();
    void launchFile();
    void dataFolders();
    void commandKindForType_data();
    void commandKindForType();
    void setHostPath();
    void pluginInstallation();
    void installWithoutPluginsFolder();
    void buildWithoutScript();
    void failedScriptCopy();
    void newestUiColorsFile();
    void hostLocations();
    void worksWithoutDisplay();

private:
    QString dataFolder(const QString &name) const;
    QString commandFile(const QString &dataFolderName) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<WinePrefixBuilder> m_prefix;
    QString m_resources;
};

void TestHostBridge::initTestCase()
{
    // Kivara must keep working without an X server.
    qunsetenv("DISPLAY");
}

void TestHostBridge::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_prefix = std::make_unique<WinePrefixBuilder>(m_dir->filePath(QStringLiteral("prefix")));
    m_prefix->makeCurrent();
    const QString program = m_dir->filePath(QStringLiteral("program"));
    m_resources = program + QStringLiteral("/Resources/");
    QVERIFY(TestFiles::write(m_resources + QStringLiteral("kiv.zsc"), "shipped script"));
    QVERIFY(TestFiles::write(m_resources + QStringLiteral("Dirtool64.dll"), "shipped library"));
    AppFolders::setProgramFolderForTesting(program);
    QVERIFY(QDir().mkpath(dataFolder(QStringLiteral("ZBrushData2021"))));
}

void TestHostBridge::cleanup()
{
    AppFolders::setProgramFolderForTesting(QString());
    m_prefix.reset();
    m_dir.reset();
}

QString TestHostBridge::dataFolder(const QString &name) const
{
    return m_prefix->publicDocuments() + QLatin1Char('/') + name + QLatin1Char('/');
}

QString TestHostBridge::commandFile(const QString &dataFolderName) const
{
    return dataFolder(dataFolderName) + QStringLiteral("/ZPluginData/KIVData/kiv.zvr");
}

void TestHostBridge::brushExample()
{
    HostBridge bridge;
    bridge.writeCommand(HostCommandKind::Brush, QStringLiteral("Clay"), QStringLiteral("C:/Brushes/Clay.ZBP"));
    const QByteArray expected = QByteArray::fromHex("e9030000" "03000000" "46" "00000000" "53")
        + "Brush:Clay" + QByteArray::fromHex("00" "53") + "C:/Brushes/Clay.ZBP" + QByteArray::fromHex("00");
    QCOMPARE(TestFiles::read(commandFile(QStringLiteral("ZBrushData2021"))), expected);
}

void TestHostBridge::commandFile_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("bprOnly");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<quint32>("codeBits"); // the action code as an IEEE single

    const QString path = QStringLiteral("/lib/item");
    QTest::newRow("reset brushes") << 1 << QString() << QString() << false << QByteArray("Brush:") << 0x41100000u;
    QTest::newRow("alpha") << 2 << "A" << path << false << QByteArray("Alpha:A") << 0x41200000u;
    QTest::newRow("UI layout") << 3 << "A" << path << false << QByteArray("Layout:A") << 0x41300000u;
    QTest::newRow("project") << 4 << "A" << path << false << QByteArray("File:A") << 0x41400000u;
    QTest::newRow("material") << 5 << "A" << path << false << QByteArray("Material:A") << 0x41500000u;
    QTest::newRow("tool") << 6 << "A" << path << false << QByteArray("Tool:A") << 0x41600000u;
    QTest::newRow("fiber: 16") << 7 << "A" << path << false << QByteArray("Fiber:A") << 0x41800000u;
    QTest::newRow("texture: 15") << 8 << "A" << path << false << QByteArray("Texture:A") << 0x41700000u;
    QTest::newRow("light .ZLI: 17") << 9 << "A" << "/l/Sun.ZLI" << false << QByteArray("Light:A") << 0x41880000u;
    QTest::newRow("light .zli: 17") << 9 << "A" << "/l/sun.zli" << false << QByteArray("Light:A") << 0x41880000u;
    QTest::newRow("LightCap: 20") << 9 << "A" << "/l/Sun.lightcap" << false << QByteArray("Light:A") << 0x41a00000u;
    QTest::newRow("macro") << 10 << "A" << path << false << QByteArray("Macro:Macros:A") << 0x41900000u;
    QTest::newRow("UI colour") << 11 << "A" << path << false << QByteArray("File:A") << 0x41980000u;
    QTest::newRow("grid: 21") << 12 << "A" << path << false << QByteArray("File:A") << 0x41a80000u;
    QTest::newRow("render preset: 24") << 14 << "A" << path << false << QByteArray("RenderPreset:A") << 0x41c00000u;
    QTest::newRow("render preset, BPR only: 25") << 14 << "A" << path << true << QByteArray("RenderPreset:A") << 0x41c80000u;
    QTest::newRow("spotlight: 23") << 15 << "A" << path << false << QByteArray("Spotlight:A") << 0x41b80000u;
    QTest::newRow("mesh array: 22") << 16 << "A" << path << false << QByteArray("File:A") << 0x41b00000u;
    QTest::newRow("export UI colours") << 17 << QString() << QString() << false << QByteArray("File:") << 0x41d00000u;
    QTest::newRow("document") << 18 << "A" << path << false << QByteArray("Document:A") << 0x41d80000u;
    // The start-up document: "Document:" and a path that is only its terminator.
    QTest::newRow("startup document") << 19 << QString() << QString() << false << QByteArray("Document:") << 0x41e00000u;
    QTest::newRow("UTF-8 name and path")
        << 0 << QStringLiteral("Pinsel \u00c4 \u65e5\u672c") << QStringLiteral("/B\u00fcrsten/\u65e5.ZBP") << false
        << QByteArray("Brush:Pinsel \xc3\x84 \xe6\x97\xa5\xe6\x9c\xac") << 0u;
}

void TestHostBridge::commandFile()
{
    QFETCH(int, kind);
    QFETCH(QString, name);
    QFETCH(QString, path);
    QFETCH(bool, bprOnly);
    QFETCH(QByteArray, text);
    QFETCH(quint32, codeBits);
    HostBridge bridge;
    bridge.setBprOnly(bprOnly);
    bridge.writeCommand(static_cast<HostCommandKind>(kind), name, path);
    QCOMPARE(TestFiles::read(commandFile(QStringLiteral("ZBrushData2021"))), commandBytes(codeBits, text, path.toUtf8()));
}

void TestHostBridge::noCommandFile_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("13") << 13;
    QTest::newRow("20") << 20;
    QTest::newRow("-1") << -1;
}

void TestHostBridge::noCommandFile()
{
    QFETCH(int, kind);
    HostBridge bridge;
    bridge.writeCommand(static_cast<HostCommandKind>(kind), QStringLiteral("A"), QStringLiteral("/a"));
    QVERIFY(!QFileInfo::exists(commandFile(QStringLiteral("ZBrushData2021"))));
}

void TestHostBridge::launchFile()
{
    HostBridge bridge;
    const QByteArray expected = QByteArray::fromHex("e903000002000000") + 'S'
        + QCoreApplication::applicationDirPath().toUtf8() + '\0' + 'S'
        + QCoreApplication::applicationFilePath().toUtf8() + '\0';
    // Qt already reports both paths with forward slashes, as the script plug-in wants them.
    QCOMPARE(TestFiles::read(dataFolder(QStringLiteral("ZBrushData2021")) + "/ZPluginData/KIVData/kivLaunch.zvr"), expected);
}

void TestHostBridge::dataFolders()
{
    QVERIFY(QDir().mkpath(dataFolder(QStringLiteral("ZBrushData"))));
    // A data folder whose KIVData is a file cannot be written.
    QVERIFY(TestFiles::write(dataFolder(QStringLiteral("ZBrushData2020")) + QStringLiteral("ZPluginData/KIVData"), "in the way"));
    // A file with a data folder's name is no data folder.
    QVERIFY(TestFiles::write(m_prefix->publicDocuments() + QStringLiteral("/ZBrushData2019"), "not a folder"));

    HostBridge bridge;
    QCOMPARE(bridge.hostDataFolders(),
             (QStringList{dataFolder(QStringLiteral("ZBrushData")), dataFolder(QStringLiteral("ZBrushData2020")),
                          dataFolder(QStringLiteral("ZBrushData2021"))}));
    const QString launchFile = QStringLiteral("/ZPluginData/KIVData/kivLaunch.zvr");
    const QByteArray launch = TestFiles::read(dataFolder(QStringLiteral("ZBrushData")) + launchFile);
    QVERIFY(!launch.isEmpty());
    QCOMPARE(TestFiles::read(dataFolder(QStringLiteral("ZBrushData2021")) + launchFile), launch);

    bridge.writeCommand(HostCommandKind::Tool, QStringLiteral("Dog"), QStringLiteral("/t/Dog.ZTL"));
    const QByteArray first = TestFiles::read(commandFile(QStringLiteral("ZBrushData")));
    QCOMPARE(first, commandBytes(0x41600000u, "Tool:Dog", "/t/Dog.ZTL"));
    QCOMPARE(TestFiles::read(commandFile(QStringLiteral("ZBrushData2021"))), first);
    QVERIFY(!QFileInfo::exists(commandFile(QStringLiteral("ZBrushData2020"))));

    // A second activation replaces the first everywhere.
    bridge.writeCommand(HostCommandKind::Alpha, QStringLiteral("Dots"), QStringLiteral("/a/Dots.psd"));
    QCOMPARE(TestFiles::read(commandFile(QStringLiteral("ZBrushData"))), commandBytes(0x41200000u, "Alpha:Dots", "/a/Dots.psd"));
    QCOMPARE(TestFiles::read(commandFile(QStringLiteral("ZBrushData2021"))), commandBytes(0x41200000u, "Alpha:Dots", "/a/Dots.psd"));
}

void TestHostBridge::commandKindForType_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<HostCommandKind>("kind");
    const QList<QPair<const char *, HostCommandKind>> rows{
        {"brush", HostCommandKind::Brush},         {"alpha", HostCommandKind::Alpha},
        {"uiLayout", HostCommandKind::UILayout},   {"project", HostCommandKind::Project},
        {"material", HostCommandKind::Material},   {"tool", HostCommandKind::Tool},
        {"fiber", HostCommandKind::Fiber},         {"texture", HostCommandKind::Texture},
        {"light", HostCommandKind::Light},         {"grid", HostCommandKind::Grid},
        {"renderpreset", HostCommandKind::RenderPreset}, {"spotlight", HostCommandKind::Spotlight},
        {"array", HostCommandKind::MeshArray},     {"document", HostCommandKind::Document},
        {"Alpha", HostCommandKind::Brush},         {"macro", HostCommandKind::Brush},
        {"", HostCommandKind::Brush},
    };
    for (const auto &row : rows)
        QTest::newRow(*row.first ? row.first : "empty") << QString::fromLatin1(row.first) << row.second;
}

void TestHostBridge::commandKindForType()
{
    QFETCH(QString, word);
    QFETCH(HostCommandKind, kind);
    QCOMPARE(HostBridge::commandKindForType(word), kind);
}

void TestHostBridge::setHostPath()
{
    const QString valid = m_dir->filePath(QStringLiteral("ZBrush 2021"));
    const QString noStartup = m_dir->filePath(QStringLiteral("NotZBrush"));
    QVERIFY(QDir().mkpath(valid + QStringLiteral("/ZStartup")));
    QVERIFY(QDir().mkpath(noStartup));
    HostBridge bridge;
    QVERIFY(!bridge.setHostPath(noStartup));
    QVERIFY(bridge.hostPath().isEmpty());
    QVERIFY(bridge.setHostPath(valid));
    QCOMPARE(bridge.hostPath(), valid);
    for (const QString &invalid : {noStartup, m_dir->filePath(QStringLiteral("missing")), QString()}) {
        QVERIFY(!bridge.setHostPath(invalid));
        QCOMPARE(bridge.hostPath(), valid);
    }
}

void TestHostBridge::pluginInstallation()
{
    const QString zbrush = m_dir->filePath(QStringLiteral("ZBrush 2021"));
    QVERIFY(QDir().mkpath(zbrush + QStringLiteral("/ZStartup/ZPlugs64")));
    const QString script = zbrush + QStringLiteral("/ZStartup/ZPlugs64/kiv.zsc");
    const QString library = zbrush + QStringLiteral("/ZStartup/ZPlugs64/KIVData/Dirtool64.dll");
    QVERIFY(TestFiles::write(script, "old script"));

    HostBridge bridge;
    QVERIFY(!bridge.isPluginInstalled()); // no host path yet
    QVERIFY(bridge.setHostPath(zbrush));
    QVERIFY(!bridge.isPluginInstalled()); // the library is missing
    QVERIFY(!bridge.installPluginFiles(m_dir->filePath(QStringLiteral("missing"))));

    // Old copies are replaced, not kept.
    QVERIFY(TestFiles::write(library, "old library"));
    QVERIFY(bridge.isPluginInstalled());
    QVERIFY(bridge.installPluginFiles(zbrush));
    QCOMPARE(TestFiles::read(script), QByteArray("shipped script"));
    QCOMPARE(TestFiles::read(library), QByteArray("shipped library"));
    QVERIFY(bridge.isPluginInstalled());
    QVERIFY(bridge.isPluginCurrent());

    // Equal times count as current; a newer shipped script does not.
    QFile shipped(m_resources + QStringLiteral("kiv.zsc"));
    QVERIFY(shipped.open(QIODevice::ReadWrite));
    const QDateTime installedTime = QFileInfo(script).lastModified();
    QVERIFY(shipped.setFileTime(installedTime, QFileDevice::FileModificationTime));
    QVERIFY(bridge.isPluginCurrent());
    QVERIFY(shipped.setFileTime(installedTime.addSecs(60), QFileDevice::FileModificationTime));
    shipped.close();
    QVERIFY(!bridge.isPluginCurrent());
    QVERIFY(bridge.isPluginInstalled());

    // With no shipped script there is nothing newer: a reinstall would only
    // delete the working plug-in.
    QVERIFY(QFile::remove(m_resources + QStringLiteral("kiv.zsc")));
    QVERIFY(bridge.isPluginCurrent());
}

void TestHostBridge::installWithoutPluginsFolder()
{
    // A ZBrush folder whose ZStartup has no ZPlugs64 yet still gets both files.
    const QString zbrush = m_dir->filePath(QStringLiteral("ZBrush 2022"));
    QVERIFY(QDir().mkpath(zbrush + QStringLiteral("/ZStartup")));
    HostBridge bridge;
    QVERIFY(bridge.setHostPath(zbrush));
    QVERIFY(bridge.installPluginFiles(zbrush));
    QCOMPARE(TestFiles::read(zbrush + QStringLiteral("/ZStartup/ZPlugs64/kiv.zsc")), QByteArray("shipped script"));
    QCOMPARE(TestFiles::read(zbrush + QStringLiteral("/ZStartup/ZPlugs64/KIVData/Dirtool64.dll")), QByteArray("shipped library"));
    QVERIFY(bridge.isPluginInstalled());
}

void TestHostBridge::failedScriptCopy()
{
    const QString zbrush = m_dir->filePath(QStringLiteral("ZBrush 2021"));
    const QString script = zbrush + QStringLiteral("/ZStartup/ZPlugs64/kiv.zsc");
    const QString library = zbrush + QStringLiteral("/ZStartup/ZPlugs64/KIVData/Dirtool64.dll");
    QVERIFY(TestFiles::write(library, "old library"));
    // A folder in the script's place can be neither removed nor overwritten.
    QVERIFY(QDir().mkpath(script + QStringLiteral("/in the way")));

    HostBridge bridge;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Cannot copy")));
    QVERIFY(!bridge.installPluginFiles(zbrush));
    // The old library is gone and the shipped one was not copied in.
    QVERIFY(!QFileInfo::exists(library));
    QVERIFY(QFileInfo(zbrush + QStringLiteral("/ZStartup/ZPlugs64/KIVData")).isDir());
}

void TestHostBridge::buildWithoutScript()
{
    // Only ZBrush compiles the script: a build without it installs Dirtool alone,
    // keeps a script installed before, and is complete once Dirtool is there.
    const QString zbrush = m_dir->filePath(QStringLiteral("ZBrush 2021"));
    const QString script = zbrush + QStringLiteral("/ZStartup/ZPlugs64/kiv.zsc");
    const QString library = zbrush + QStringLiteral("/ZStartup/ZPlugs64/KIVData/Dirtool64.dll");
    QVERIFY(QDir().mkpath(zbrush + QStringLiteral("/ZStartup")));
    QVERIFY(QFile::remove(m_resources + QStringLiteral("kiv.zsc")));
    QVERIFY(!HostBridge::shipsScriptPlugin());

    HostBridge bridge;
    QVERIFY(!bridge.isInstallationComplete()); // no host path yet
    QVERIFY(bridge.setHostPath(zbrush));
    QVERIFY(!bridge.isInstallationComplete());
    QVERIFY(bridge.installPluginFiles(zbrush));
    QCOMPARE(TestFiles::read(library), QByteArray("shipped library"));
    QVERIFY(!QFileInfo::exists(script));
    QVERIFY(bridge.isInstallationComplete());
    QVERIFY(!bridge.isPluginInstalled());

    QVERIFY(TestFiles::write(script, "compiled by ZBrush"));
    QVERIFY(bridge.installPluginFiles(zbrush));
    QCOMPARE(TestFiles::read(script), QByteArray("compiled by ZBrush"));

    // With the script shipped, completeness asks for both files and a current script.
    QVERIFY(TestFiles::write(m_resources + QStringLiteral("kiv.zsc"), "shipped script"));
    QVERIFY(HostBridge::shipsScriptPlugin());
    QFile installed(script);
    QVERIFY(installed.open(QIODevice::ReadWrite));
    QVERIFY(installed.setFileTime(QFileInfo(m_resources + QStringLiteral("kiv.zsc")).lastModified().addSecs(-60),
                                  QFileDevice::FileModificationTime));
    QVERIFY(!bridge.isInstallationComplete());
    QVERIFY(bridge.installPluginFiles(zbrush));
    QCOMPARE(TestFiles::read(script), QByteArray("shipped script"));
    QVERIFY(bridge.isInstallationComplete());
    QVERIFY(QFile::remove(library));
    QVERIFY(!bridge.isInstallationComplete());
}

void TestHostBridge::newestUiColorsFile()
{
    QVERIFY(QDir().mkpath(dataFolder(QStringLiteral("ZBrushData2018"))));
    QVERIFY(QDir().mkpath(dataFolder(QStringLiteral("ZBrushData2020"))));
    HostBridge bridge;
    QCOMPARE(bridge.newestUiColorsFile(), QString());

    const QString older = dataFolder(QStringLiteral("ZBrushData2018")) + QStringLiteral("/ZPluginData/KIVData/kiv_uicolors.zvr");
    const QString newer = dataFolder(QStringLiteral("ZBrushData2020")) + QStringLiteral("/ZPluginData/KIVData/kiv_uicolors.zvr");
    const QString same = dataFolder(QStringLiteral("ZBrushData2021")) + QStringLiteral("/ZPluginData/KIVData/kiv_uicolors.zvr");
    const QDateTime base = QDateTime::currentDateTime().addSecs(-3600);
    const QList<QPair<QString, QDateTime>> files{{older, base}, {newer, base.addSecs(10)}, {same, base.addSecs(10)}};
    for (const auto &file : files) {
        QVERIFY(TestFiles::write(file.first, "colours"));
        QFile f(file.first);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(file.second, QFileDevice::FileModificationTime));
    }
    // The 2021 file is as new as the 2020 one: the first found keeps the tie.
    QCOMPARE(bridge.newestUiColorsFile(), newer);
}

void TestHostBridge::hostLocations()
{
    // Program Files reached through another name: same directory, different text.
    const QString pixologic = m_prefix->programFiles() + QStringLiteral("/Pixologic/");
    QVERIFY(QDir().mkpath(pixologic + QStringLiteral("ZBrush 2021")));
    QVERIFY(QDir().mkpath(pixologic + QStringLiteral("ZBrush 2022")));
    const QString alias = m_dir->filePath(QStringLiteral("ProgramFilesAlias"));
    QVERIFY(QFile::link(m_prefix->programFiles(), alias));
    qputenv("PROGRAMFILES", QFile::encodeName(alias));
    QVERIFY(m_prefix->writeSystemRegistry(QStringLiteral(
        "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\ZB21] 1\n"
        "\"DisplayName\"=\"ZBrush 2021\"\n"
        "\"InstallLocation\"=\"C:\\\\Program Files\\\\Pixologic\\\\ZBrush 2021\\\\\"\n"
        "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\ZB4R8] 1\n"
        "\"DisplayName\"=\"ZBrush 4R8\"\n"
        "\"InstallLocation\"=\"C:\\\\Program Files\\\\Pixologic\\\\ZBrush 4R8\\\\\"\n")));

    HostBridge bridge;
    const QString driveC = QFileInfo(m_prefix->driveC()).canonicalFilePath();
    const QList<QPair<QString, QString>> expected{
        {driveC + QStringLiteral("/Program Files/Pixologic/ZBrush 4R8/"), QStringLiteral("ZBrush 4R8")},
        {driveC + QStringLiteral("/Program Files/Pixologic/ZBrush 2021/"), QStringLiteral("ZBrush 2021")},
        {alias + QStringLiteral("/Pixologic/ZBrush 2022"), QStringLiteral("ZBrush 2022")},
    };
    QCOMPARE(bridge.hostLocations(), expected);
}

void TestHostBridge::worksWithoutDisplay()
{
    HostBridge bridge;
    QVERIFY(!bridge.isHostRunning());
    bridge.activate(QStringLiteral("Clay"), QStringLiteral("/b/Clay.ZBP"), HostCommandKind::Brush, true);
    QCOMPARE(TestFiles::read(commandFile(QStringLiteral("ZBrushData2021"))), commandBytes(0, "Brush:Clay", "/b/Clay.ZBP"));
}

QTEST_GUILESS_MAIN(TestHostBridge)

#include "tst_hostbridge.moc"
