#include "Model/zuicolor.h"

#include "tests/common/realdata.h"
#include "tests/common/testfiles.h"

#include <QDir>
#include <QFile>
#include <QMetaProperty>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

// The order in which ZBrush's script writes the colours.
const QStringList colorNames{
    "main", "main2", "bt1", "bt2", "bt3", "bt4", "sw1", "sw2", "sw3", "sw4",
    "icn1", "icn2", "icn3", "icn4", "sl1", "sl2", "sl3", "sl4", "k1", "k2",
    "text1", "text2", "numbers", "hnumbers", "submenu", "submenu2", "menu1", "menu2",
    "title1", "title2", "palette1", "palette2", "paletteframe1", "paletteframe2",
    "paletteshadow1", "paletteshadow2", "subpalette1", "subpalette2", "subframe1",
    "subframe2", "subshadow1", "subshadow2", "iconfill", "iconframe", "iconshadow",
    "hilite", "border", "border2", "buttonframe1", "buttonframe2", "sliderslit",
    "curve", "ttext1", "ttext2", "dragdrop"};

// Colour i (from 0) has red i + 1, so every colour differs from the built-in ones.
QByteArray countingFile()
{
    QByteArrayList values;
    for (int i = 1; i <= colorNames.size(); ++i)
        values << QByteArray::number(i);
    return values.join(',');
}

QString countingColor(int index)
{
    return QStringLiteral("#ff%1").arg(index + 1, 2, 16, QLatin1Char('0')) + QStringLiteral("0000");
}

bool isColorText(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^#ff[0-9a-f]{6}$"));
    return pattern.match(text).hasMatch();
}

} // namespace

class TestZUiColor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void publishedColours();
    void readFile_data();
    void readFile();
    void everyChangeSignalOnLoad();
    void unreadableFileChangesNothing();
    void emptyPathReloadsLastFile();
    void realColourSchemes_data();
    void realColourSchemes();

private:
    QString writeFile(const QString &name, const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestZUiColor::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString TestZUiColor::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir->filePath(name);
    return TestFiles::write(path, bytes) ? path : QString();
}

void TestZUiColor::publishedColours()
{
    ZUiColor colors;
    const QMetaObject *meta = colors.metaObject();
    QCOMPARE(meta->propertyCount() - meta->propertyOffset(), colorNames.size());
    for (const QString &name : colorNames) {
        const QMetaProperty property = meta->property(meta->indexOfProperty(name.toLatin1()));
        QVERIFY2(property.isValid(), qPrintable(name));
        QVERIFY2(!property.isWritable(), qPrintable(name));
        QCOMPARE(property.notifySignal().name(), (name + "Changed").toLatin1());
        QVERIFY2(isColorText(property.read(&colors).toString()), qPrintable(name));
    }
}

void TestZUiColor::readFile_data()
{
    QTest::addColumn<QByteArray>("content");
    // The colours the file sets, from the first on; the others keep their values.
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("two values") << QByteArray("36.14117431640625,40.1568603515625")
                                << QStringList{"#ff242424", "#ff282828"};
    QTest::newRow("red only") << QByteArray("1") << QStringList{"#ff010000"};
    QTest::newRow("half is green 128") << QByteArray("0.5") << QStringList{"#ff008000"};
    QTest::newRow("green and blue steps") << QByteArray("0.00390625,0.0000152587890625")
                                          << QStringList{"#ff000100", "#ff000001"};
    QTest::newRow("above 255 wraps") << QByteArray("257.5") << QStringList{"#ff018000"};
    QTest::newRow("header of zero bytes") << QByteArray(16, '\0') << QStringList{"#ff000000"};
    QTest::newRow("text ends at the first zero")
        << QByteArray("1.5,2\0\0\0,3,4", 12) << QStringList{"#ff018000", "#ff020000"};
    QTest::newRow("empty file") << QByteArray() << QStringList{"#ff000000"};
    QTest::newRow("white space around values")
        << QByteArray("  1 ,\r\n 2\t,\n3  \r\n") << QStringList{"#ff010000", "#ff020000", "#ff030000"};
    QTest::newRow("words and empty tokens are black")
        << QByteArray("red,,7") << QStringList{"#ff000000", "#ff000000", "#ff070000"};
    QTest::newRow("beyond the integer range is black")
        << QByteArray("1e20,-1e20,inf,nan,9") << QStringList{"#ff000000", "#ff000000", "#ff000000",
                                                             "#ff000000", "#ff090000"};
    QStringList all;
    QByteArrayList values;
    for (int i = 0; i < colorNames.size() + 2; ++i) {
        values << "200";
        if (i < colorNames.size())
            all << "#ffc80000";
    }
    QTest::newRow("surplus values ignored") << values.join(',') << all;
}

void TestZUiColor::readFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);

    ZUiColor colors(writeFile("counting.zvr", countingFile()));
    colors.load(writeFile("kiv_uicolors.zvr", content));

    for (int i = 0; i < colorNames.size(); ++i) {
        const QString want = i < expected.size() ? expected.at(i) : countingColor(i);
        QCOMPARE(colors.property(colorNames.at(i).toLatin1()).toString(), want);
    }
}

void TestZUiColor::everyChangeSignalOnLoad()
{
    ZUiColor colors;
    const QMetaObject *meta = colors.metaObject();
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QByteArray signal = "2" + meta->property(i).notifySignal().methodSignature();
        spies.push_back(std::make_unique<QSignalSpy>(&colors, signal.constData()));
        QVERIFY(spies.back()->isValid());
    }

    // Only the first colour is in the file; all are announced nonetheless.
    colors.load(writeFile("kiv_uicolors.zvr", "2"));
    for (const auto &spy : spies)
        QCOMPARE(spy->count(), 1);
}

void TestZUiColor::unreadableFileChangesNothing()
{
    const QString counting = writeFile("counting.zvr", countingFile());
    ZUiColor colors(counting);
    QSignalSpy changed(&colors, &ZUiColor::mainChanged);

    const QString missing = m_dir->filePath("missing/kiv_uicolors.zvr");
    colors.load(missing);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(colors.main(), countingColor(0));
    // The path is remembered even so, for the next reload.
    QCOMPARE(colors.colorsFilePath(), missing);

    const QString folder = m_dir->filePath("folder.zvr");
    QVERIFY(QDir().mkpath(folder));
    colors.load(folder);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(colors.main(), countingColor(0));
}

void TestZUiColor::emptyPathReloadsLastFile()
{
    ZUiColor nothing;
    QSignalSpy unchanged(&nothing, &ZUiColor::mainChanged);
    nothing.load(QString());
    QCOMPARE(unchanged.count(), 0);

    const QString path = writeFile("kiv_uicolors.zvr", "1");
    ZUiColor colors(path);
    QCOMPARE(colors.main(), QStringLiteral("#ff010000"));
    QVERIFY(!writeFile("kiv_uicolors.zvr", "3").isEmpty());
    colors.load(QString());
    QCOMPARE(colors.main(), QStringLiteral("#ff030000"));
    QCOMPARE(colors.colorsFilePath(), path);
}

void TestZUiColor::realColourSchemes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("withoutZeros");

    const QString folder = realDataFolder();
    if (folder.isEmpty())
        QSKIP("real data folder not found");
    const QStringList files = QDir(folder + "/zbrush/cfg").entryList({"*.cfg"}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        QSKIP("no ZBrush colour schemes in the real data");
    for (const QString &name : files) {
        const QString path = folder + "/zbrush/cfg/" + name;
        QTest::newRow(qPrintable(name)) << path << false;
        QTest::newRow(qPrintable(name + " without zero bytes")) << path << true;
    }
}

// ZBrush's own colour schemes are binary and no colours files; someone pointing
// Kivara at one must get harmless colours, not a crash.
void TestZUiColor::realColourSchemes()
{
    QFETCH(QString, path);
    QFETCH(bool, withoutZeros);

    QFile source(path);
    QVERIFY(source.open(QIODevice::ReadOnly));
    QByteArray bytes = source.readAll();
    QVERIFY(bytes.size() > 0);
    if (withoutZeros) {
        bytes.replace('\0', QByteArray());
        path = writeFile("stripped.cfg", bytes);
    }

    ZUiColor colors(writeFile("counting.zvr", countingFile()));
    colors.load(path);
    for (const QString &name : colorNames)
        QVERIFY2(isColorText(colors.property(name.toLatin1()).toString()), qPrintable(name));

    if (!withoutZeros) {
        // Before their first zero byte these files hold a short binary header
        // without a comma: a single token that is no number.
        const QByteArray head = bytes.left(bytes.indexOf('\0'));
        QVERIFY(!head.contains(','));
        QCOMPARE(colors.main(), QStringLiteral("#ff000000"));
        for (int i = 1; i < colorNames.size(); ++i)
            QCOMPARE(colors.property(colorNames.at(i).toLatin1()).toString(), countingColor(i));
    }
}

QTEST_GUILESS_MAIN(TestZUiColor)
#include "tst_zuicolor.moc"
