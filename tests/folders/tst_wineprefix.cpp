#include "platform/x11/wineprefix.h"
#include "platform/x11/wineregistryreader.h"
#include "wineprefixbuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

class TestWinePrefix : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unescape_data();
    void unescape();
    void keyNamesAndValues();
    void toLocalPath_data();
    void toLocalPath();
};

void TestWinePrefix::unescape_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("end");
    QTest::newRow("plain") << QStringLiteral("ZBrush 2021\"") << QStringLiteral("ZBrush 2021") << 11;
    QTest::newRow("backslash and quote") << QStringLiteral(R"(C:\\a \"b\""x)") << QStringLiteral(R"(C:\a "b")") << 11;
    QTest::newRow("hex, four digits") << QStringLiteral(R"(Caf\x00e9s")") << QStringLiteral("Caf\u00e9s") << 10;
    QTest::newRow("hex, short before non-hex") << QStringLiteral(R"(\xe9t")") << QStringLiteral("\u00e9t") << 5;
    QTest::newRow("surrogate pair") << QStringLiteral(R"(\xd83d\xde00")") << QString::fromUtf8("\xf0\x9f\x98\x80") << 12;
    QTest::newRow("C escapes") << QStringLiteral(R"(a\tb\nc")") << QStringLiteral("a\tb\nc") << 7;
    QTest::newRow("octal") << QStringLiteral(R"(\0\101")") << QString(QChar(0)) + QLatin1Char('A') << 6;
    QTest::newRow("unterminated") << QStringLiteral("abc") << QStringLiteral("abc") << 3;
}

void TestWinePrefix::unescape()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(int, end);
    int stop = -1;
    QCOMPARE(WineRegistryReader::unescape(text, 0, QLatin1Char('"'), &stop), expected);
    QCOMPARE(stop, end);
}

void TestWinePrefix::keyNamesAndValues()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("system.reg"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"REG(WINE REGISTRY Version 2

[Software\\Parent\\Odd \] name] 1700000000
"Name"="one"
@="default value"
"Quoted \"name\""="two"
"Broken"="no end

[software\\parent\\Caf\x00e9] 1700000001
"Name"="caf\x00e9"
"Number"=dword:00000001

[Software\\ParentLonger\\X] 1700000002
"Name"="not a child"
)REG");
    file.close();

    const auto keys = WineRegistryReader::subkeys(path, QStringLiteral("Software\\Parent"));
    QCOMPARE(keys.size(), 2);
    QCOMPARE(keys.at(0).name, QStringLiteral("Odd ] name"));
    QCOMPARE(keys.at(0).values.size(), 2);
    QCOMPARE(keys.at(0).value(QStringLiteral("name")), QStringLiteral("one"));
    QCOMPARE(keys.at(0).value(QStringLiteral("Quoted \"name\"")), QStringLiteral("two"));
    QCOMPARE(keys.at(1).name, QStringLiteral("Caf\u00e9"));
    QCOMPARE(keys.at(1).value(QStringLiteral("Name")), QStringLiteral("caf\u00e9"));
    QCOMPARE(keys.at(1).value(QStringLiteral("Number")), QString());

    QVERIFY(WineRegistryReader::subkeys(dir.filePath(QStringLiteral("absent.reg")), QStringLiteral("Software")).isEmpty());
}

void TestWinePrefix::toLocalPath_data()
{
    QTest::addColumn<QString>("windowsPath");
    QTest::addColumn<QString>("expected"); // "@c" stands for drive_c's real path, "@e" for the unresolved e: link
    QTest::newRow("folder with trailing separator") << QStringLiteral(R"(C:\Program Files\Pixologic\ZBrush 2021\)")
                                                    << QStringLiteral("@c/Program Files/Pixologic/ZBrush 2021/");
    QTest::newRow("lower-case drive, forward slashes") << QStringLiteral("c:/users/Public") << QStringLiteral("@c/users/Public");
    QTest::newRow("drive alone") << QStringLiteral("C:") << QStringLiteral("@c/");
    QTest::newRow("z: is the root") << QStringLiteral(R"(Z:\tmp\x)") << QStringLiteral("/tmp/x");
    QTest::newRow("drive without link") << QStringLiteral(R"(E:\data)") << QStringLiteral("@e/data");
    QTest::newRow("UNC path unchanged") << QStringLiteral(R"(\\server\share\x)") << QStringLiteral(R"(\\server\share\x)");
    QTest::newRow("relative unchanged") << QStringLiteral("C:relative") << QStringLiteral("C:relative");
    QTest::newRow("empty") << QString() << QString();
}

void TestWinePrefix::toLocalPath()
{
    QFETCH(QString, windowsPath);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    WinePrefixBuilder prefix(dir.path());
    QVERIFY(prefix.addDrive(QLatin1Char('z'), QStringLiteral("/")));

    expected.replace(QLatin1String("@c"), QFileInfo(prefix.driveC()).canonicalFilePath());
    expected.replace(QLatin1String("@e"), dir.filePath(QStringLiteral("dosdevices/e:")));
    QCOMPARE(WinePrefix(dir.path()).toLocalPath(windowsPath), expected);
}

QTEST_GUILESS_MAIN(TestWinePrefix)

#include "tst_wineprefix.moc"
