#include "rar4writer.h"

#include "rar/rararchive.h"
#include "rar/rararchivefile.h"
#include "rar/unrarcompat.h"
#include "tests/common/testfiles.h"

#include <memory>

#include <QTemporaryDir>
#include <QtTest>

namespace {

// UnRAR result codes the facade passes on.
constexpr int NoMemory = 11;
constexpr int BadData = 12;
constexpr int BadArchive = 13;
constexpr int OpenFailed = 15;
constexpr int MissingPassword = 22;

const QString UnicodeName = QStringLiteral("Кисти/Глина \u00e9\u4e2d.ZBP");

QByteArray memberData(int i)
{
    return QByteArray::number(i).repeated(i % 7 + 1) + '\n';
}

// Exposes the protected write path, which QIODevice::write never reaches on a
// read-only device.
class WritableProbe : public RarArchiveFile
{
public:
    using RarArchiveFile::RarArchiveFile;
    qint64 tryWrite(const QByteArray &data) { return writeData(data.constData(), data.size()); }
};

} // namespace

class TestRarArchive : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void listsMembersInOrder();
    void memberRecords();
    void setCurrentFile_data();
    void setCurrentFile();
    void readsEveryMember_data();
    void readsEveryMember();
    void readsManyMembersThroughOneArchive();
    void readsMembersInAnyOrder_data();
    void readsMembersInAnyOrder();
    void deviceFiguresFollowReads();
    void refusesWriting();
    void refusesChangesWhileOpen();
    void corruptedDataFailsCrc();
    void damagedArchiveFailsToOpen_data();
    void damagedArchiveFailsToOpen();
    void encryptedMemberIsAnError();
    void longArchiveNameIsCut();
    void compactUnicodeNames_data();
    void compactUnicodeNames();
    void hugeMemberReportsLow32Bits();

private:
    QString m_small;
    QString m_large;
    Rar4Writer m_smallWriter;
    QTemporaryDir m_dir;
};

void TestRarArchive::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_smallWriter.setComment("Kivara store product\r\nversion 2");
    m_smallWriter.addDirectory(QStringLiteral("Docs"));
    m_smallWriter.addFile(QStringLiteral("Docs/Readme.txt"), "Read me first.\r\n");
    m_smallWriter.addFile(UnicodeName, QByteArray(70000, 'z') + "end");
    m_smallWriter.addFile(QStringLiteral("empty.txt"), QByteArray());
    m_smallWriter.addFile(QStringLiteral("Case.txt"), "lower case variant");
    m_smallWriter.addFile(QStringLiteral("CASE.TXT"), "upper case variant");
    m_smallWriter.addFile(QStringLiteral("Brushes/Deep/Clay.ZBP"), QByteArray(256, '\x01'));
    m_small = m_dir.filePath(QStringLiteral("small.rar"));
    QVERIFY(m_smallWriter.write(m_small));

    Rar4Writer large;
    for (int i = 0; i < 2000; ++i)
        large.addFile(QStringLiteral("Alphas/Set%1/alpha%2.psd").arg(i / 100).arg(i), memberData(i));
    m_large = m_dir.filePath(QStringLiteral("large.rar"));
    QVERIFY(large.write(m_large));
}

void TestRarArchive::listsMembersInOrder()
{
    RarArchive archive(m_small);
    QVERIFY(archive.open(RarArchive::OpenModeList));
    QCOMPARE(archive.error(), 0);
    QCOMPARE(archive.mode(), RarArchive::OpenModeList);
    const QStringList expected{QStringLiteral("Docs"), QStringLiteral("Docs/Readme.txt"), UnicodeName,
                               QStringLiteral("empty.txt"), QStringLiteral("Case.txt"),
                               QStringLiteral("CASE.TXT"), QStringLiteral("Brushes/Deep/Clay.ZBP")};
    QCOMPARE(archive.fileNameList(), expected);
    QCOMPARE(archive.entriesCount(), expected.size());
    QCOMPARE(archive.comment(), QStringLiteral("Kivara store product\r\nversion 2"));
    QVERIFY(!archive.isFilesEncrypted());
    QVERIFY(!archive.isHeadersEncrypted());

    RarArchive large(m_large);
    QVERIFY(large.open(RarArchive::OpenModeList));
    QCOMPARE(large.entriesCount(), 2000);
    QCOMPARE(large.fileNameList().at(1999), QStringLiteral("Alphas/Set19/alpha1999.psd"));

    large.close();
    QVERIFY(!large.isOpen());
    QCOMPARE(large.entriesCount(), 0);
    QVERIFY(large.currentFileName().isEmpty());
    // The list is read again after a close.
    QVERIFY(large.open(RarArchive::OpenModeExtract));
    QCOMPARE(large.entriesCount(), 2000);
}

void TestRarArchive::memberRecords()
{
    RarArchive archive(m_small);
    QVERIFY(archive.open(RarArchive::OpenModeList));
    const QList<RarFileInfo> infos = archive.fileInfoList();

    const RarFileInfo &folder = infos.at(0);
    QCOMPARE(folder.flags & 0x20, 0x20u);
    QCOMPARE(folder.fileAttr, 0x10u);

    const RarFileInfo &unicode = infos.at(2);
    QCOMPARE(unicode.fileName, UnicodeName);
    QCOMPARE(unicode.arcName, m_small);
    QCOMPARE(unicode.unpSize, 70003u);
    QCOMPARE(unicode.packSize, 70003u);
    QCOMPARE(unicode.method, 0x30u);
    QCOMPARE(unicode.unpVer, 29u);
    QCOMPARE(unicode.hostOS, 2u);
    QCOMPARE(unicode.fileAttr, 0x20u);
    QCOMPARE(unicode.flags & 0x24, 0u);
    QCOMPARE(unicode.fileTime, (quint32(2021 - 1980) << 25) | (6 << 21) | (15 << 16) | (13 << 11) | (45 << 5) | 15);
    QCOMPARE(unicode.fileCRC, 0xB422F248u);
    QCOMPARE(unicode.comment, archive.comment());
}

void TestRarArchive::setCurrentFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Qt::CaseSensitivity>("cs");
    QTest::addColumn<QString>("found");

    QTest::newRow("exact") << "Docs/Readme.txt" << Qt::CaseSensitive << "Docs/Readme.txt";
    QTest::newRow("other case, sensitive") << "docs/readme.TXT" << Qt::CaseSensitive << QString();
    QTest::newRow("other case, insensitive") << "docs/readme.TXT" << Qt::CaseInsensitive << "Docs/Readme.txt";
    QTest::newRow("unicode, insensitive") << UnicodeName.toUpper() << Qt::CaseInsensitive << UnicodeName;
    QTest::newRow("case variants, insensitive: later wins") << "case.txt" << Qt::CaseInsensitive << "CASE.TXT";
    QTest::newRow("missing") << "Docs/Other.txt" << Qt::CaseInsensitive << QString();
    QTest::newRow("backslash is not a folder separator here") << "Docs\\Readme.txt" << Qt::CaseSensitive << QString();
}

void TestRarArchive::setCurrentFile()
{
    QFETCH(QString, name);
    QFETCH(Qt::CaseSensitivity, cs);
    QFETCH(QString, found);

    RarArchive archive(m_small);
    QVERIFY(!archive.setCurrentFile(name, cs));
    RarFileInfo info;
    QVERIFY(!archive.currentFileInfo(&info));
    QVERIFY(archive.open(RarArchive::OpenModeExtract));
    QCOMPARE(archive.setCurrentFile(name, cs), !found.isEmpty());
    if (!found.isEmpty()) {
        QCOMPARE(archive.currentFileName(), found);
        QVERIFY(archive.currentFileInfo(&info));
        QCOMPARE(info.fileName, found);
    }

    // The device reads the member that the lookup picked.
    RarArchiveFile file(m_small, name, cs);
    QCOMPARE(file.open(QIODevice::ReadOnly), !found.isEmpty());
    if (!found.isEmpty()) {
        QCOMPARE(file.actualFileName(), found);
        QCOMPARE(file.usize(), quint32(file.size()));
    }
}

void TestRarArchive::readsEveryMember_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("in a folder") << "Docs/Readme.txt" << QByteArray("Read me first.\r\n");
    QTest::newRow("unicode name, larger than a chunk") << UnicodeName << (QByteArray(70000, 'z') + "end");
    QTest::newRow("empty") << "empty.txt" << QByteArray();
    QTest::newRow("lower case variant") << "Case.txt" << QByteArray("lower case variant");
    QTest::newRow("upper case variant") << "CASE.TXT" << QByteArray("upper case variant");
    QTest::newRow("deep, last member") << "Brushes/Deep/Clay.ZBP" << QByteArray(256, '\x01');
    QTest::newRow("folder") << "Docs" << QByteArray();
}

void TestRarArchive::readsEveryMember()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    RarArchiveFile file(m_small, name);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.error(), 0);
    QVERIFY(file.isSequential());
    QCOMPARE(file.size(), qint64(data.size()));
    QCOMPARE(file.readAll(), data);
    QVERIFY(file.atEnd());
    QCOMPARE(file.usize(), quint32(data.size()));
    QCOMPARE(file.csize(), quint32(data.size()));
    RarFileInfo info;
    QVERIFY(file.fileInfo(&info));
    QCOMPARE(info.fileName, name);
    file.close();
    QVERIFY(!file.isOpen());
    QVERIFY(!file.rar()->isOpen());
}

// The download queue's way: one archive, every member in order, each read on
// from where the last one ended.
void TestRarArchive::readsManyMembersThroughOneArchive()
{
    RarArchive archive(m_large);
    QVERIFY(archive.open(RarArchive::OpenModeList));
    const QStringList names = archive.fileNameList();
    QCOMPARE(names.size(), 2000);
    archive.close();

    RarArchiveFile file(&archive);
    for (int i = 0; i < names.size(); ++i) {
        file.setFileName(names.at(i));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(names.at(i)));
        QCOMPARE(file.readAll(), memberData(i));
        file.close();
        // Not owned: closing the device leaves the archive open.
        QVERIFY(archive.isOpen());
    }
    QCOMPARE(file.arcName(), m_large);
    QCOMPARE(file.rar(), &archive);
}

// Members out of order, twice, or after someone else moved the library's
// handle: each read still yields its own member.
void TestRarArchive::readsMembersInAnyOrder_data()
{
    QTest::addColumn<QList<int>>("order");
    // -1: another user of the handle reads and skips one header.
    QTest::newRow("forward with gaps") << QList<int>{0, 10, 11, 1500};
    QTest::newRow("backwards") << QList<int>{5, 4, 3};
    QTest::newRow("same member twice") << QList<int>{3, 3};
    QTest::newRow("handle moved by another") << QList<int>{2, -1, 3};
    QTest::newRow("handle moved past the next") << QList<int>{2, -1, -1, -1, 4};
}

void TestRarArchive::readsMembersInAnyOrder()
{
    QFETCH(QList<int>, order);
    RarArchive archive(m_large);
    QVERIFY(archive.open(RarArchive::OpenModeExtract));
    const QStringList names = archive.fileNameList();
    RarArchiveFile file(&archive);
    for (const int index : order) {
        if (index < 0) {
            auto header = std::make_unique<RARHeaderDataEx>();
            HANDLE handle = archive.unrarArcHandle();
            QCOMPARE(RARReadHeaderEx(handle, header.get()), 0);
            QCOMPARE(RARProcessFile(handle, RAR_SKIP, nullptr, nullptr), 0);
            continue;
        }
        file.setFileName(names.at(index));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(names.at(index)));
        QCOMPARE(file.readAll(), memberData(index));
        file.close();
    }
    // The archive's own selection walks from wherever the handle stands too.
    QVERIFY(archive.setCurrentFile(names.at(1)));
    QCOMPARE(archive.currentFileName(), names.at(1));
    file.setFileName(names.at(2));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), memberData(2));
}

void TestRarArchive::deviceFiguresFollowReads()
{
    RarArchiveFile file(m_small, UnicodeName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray collected;
    while (!file.atEnd()) {
        QCOMPARE(file.pos(), qint64(collected.size()));
        QCOMPARE(file.bytesAvailable(), file.size() - collected.size());
        const QByteArray chunk = file.read(1000);
        QVERIFY(!chunk.isEmpty());
        collected += chunk;
    }
    QCOMPARE(collected, QByteArray(70000, 'z') + "end");
    QCOMPARE(file.bytesAvailable(), 0);
}

void TestRarArchive::refusesWriting()
{
    WritableProbe file(m_small, QStringLiteral("Docs/Readme.txt"));
    QTest::ignoreMessage(QtWarningMsg, "RarArchiveFile::open: only support ReadOnly OpenMode");
    QVERIFY(!file.open(QIODevice::WriteOnly));
    QTest::ignoreMessage(QtWarningMsg, "RarArchiveFile::open: only support ReadOnly OpenMode");
    QVERIFY(!file.open(QIODevice::ReadWrite));
    QVERIFY(!file.isOpen());

    QVERIFY(file.open(QIODevice::ReadOnly));
    QTest::ignoreMessage(QtWarningMsg, "RarArchiveFile::writeData: modify archive is not supported");
    QCOMPARE(file.tryWrite("x"), qint64(-1));
    QTest::ignoreMessage(QtWarningMsg, "RarArchiveFile::open: already opened");
    QVERIFY(!file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("Read me first.\r\n"));

    RarArchiveFile noArchive;
    QTest::ignoreMessage(QtWarningMsg, "RarArchiveFile::open: archive is null");
    QVERIFY(!noArchive.open(QIODevice::ReadOnly));
    QVERIFY(noArchive.arcName().isEmpty());
    RarFileInfo info;
    QVERIFY(!noArchive.fileInfo(&info));
}

void TestRarArchive::refusesChangesWhileOpen()
{
    RarArchive archive(m_small);
    QVERIFY(archive.open(RarArchive::OpenModeList));
    QTest::ignoreMessage(QtWarningMsg, "RarArchive::setArchiveName: Archive is open now! Close it first.");
    archive.setArchiveName(m_large);
    QCOMPARE(archive.archiveName(), m_small);
    archive.close();
    archive.setArchiveName(m_large);
    QCOMPARE(archive.archiveName(), m_large);

    RarArchiveFile file(m_small, QStringLiteral("empty.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    RarArchive *owned = file.rar();
    QTest::ignoreMessage(QtWarningMsg, "RarArchiveFile::setArchive: fail because current archive is opened");
    file.setArchive(&archive);
    QTest::ignoreMessage(QtWarningMsg, "RarArchiveFile::setArchiveName: fail because current archive is opened");
    file.setArchiveName(m_large);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^RarArchiveFile::setFileName: ")));
    file.setFileName(QStringLiteral("Case.txt"));
    QCOMPARE(file.rar(), owned);
    QCOMPARE(file.fileName(), QStringLiteral("empty.txt"));
    file.close();

    file.setArchiveName(m_large);
    QCOMPARE(file.arcName(), m_large);
    file.setFileName(QStringLiteral("alphas/set0/ALPHA7.psd"), Qt::CaseInsensitive);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), memberData(7));
}

void TestRarArchive::corruptedDataFailsCrc()
{
    QByteArray bytes = m_smallWriter.archive();
    const int offset = m_smallWriter.dataOffset(1) + 5; // inside "Read me first."
    bytes[offset] = char(bytes.at(offset) ^ 0x20);
    const QString path = m_dir.filePath(QStringLiteral("corrupt.rar"));
    QVERIFY(TestFiles::write(path, bytes));

    // Headers are intact: the list is complete.
    RarArchive archive(path);
    QVERIFY(archive.open(RarArchive::OpenModeList));
    QCOMPARE(archive.entriesCount(), 7);

    RarArchiveFile damaged(path, QStringLiteral("Docs/Readme.txt"));
    QVERIFY(!damaged.open(QIODevice::ReadOnly));
    QCOMPARE(damaged.error(), BadData);
    QVERIFY(!damaged.isOpen());
    QCOMPARE(damaged.size(), 0);

    RarArchiveFile next(path, QStringLiteral("Case.txt"));
    QVERIFY(next.open(QIODevice::ReadOnly));
    QCOMPARE(next.readAll(), QByteArray("lower case variant"));
}

void TestRarArchive::damagedArchiveFailsToOpen_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("duringListing");

    const QByteArray whole = m_smallWriter.archive();
    const int readmeData = m_smallWriter.dataOffset(1);
    QTest::newRow("inside the signature") << whole.left(5) << BadArchive << false;
    QTest::newRow("inside the main header") << whole.left(12) << BadData << false;
    QTest::newRow("inside a member header") << whole.left(readmeData - 4) << BadData << true;
    QTest::newRow("inside member data") << whole.left(readmeData + 3) << BadData << true;
    QTest::newRow("inside the last member") << whole.left(whole.size() - 20) << BadData << true;
    QByteArray header = whole;
    header[readmeData - 3] = char(header.at(readmeData - 3) ^ 0x01); // a name byte
    QTest::newRow("member header check value") << header << BadData << true;
    QTest::newRow("not an archive") << QByteArray("PK\x03\x04 not a RAR archive at all") << BadArchive << false;
    QTest::newRow("empty file") << QByteArray() << BadArchive << false;
}

void TestRarArchive::damagedArchiveFailsToOpen()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, error);
    QFETCH(bool, duringListing);
    const QString path = m_dir.filePath(QStringLiteral("damaged.rar"));
    QVERIFY(TestFiles::write(path, bytes));

    // A partial list must not pass for the whole archive.
    RarArchive archive(path);
    if (duringListing)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^RarArchive::open: fail to read the member list")));
    QVERIFY(!archive.open(RarArchive::OpenModeList));
    QCOMPARE(archive.error(), error);
    QVERIFY(!archive.isOpen());
    QCOMPARE(archive.entriesCount(), 0);

    RarArchiveFile file(path, QStringLiteral("Docs/Readme.txt"));
    QVERIFY(!file.open(QIODevice::ReadOnly));
    QCOMPARE(file.error(), error);

    RarArchive missing(m_dir.filePath(QStringLiteral("no such archive.rar")));
    QVERIFY(!missing.open(RarArchive::OpenModeList));
    QCOMPARE(missing.error(), OpenFailed);
}

void TestRarArchive::encryptedMemberIsAnError()
{
    Rar4Writer writer;
    writer.addFile(QStringLiteral("plain.txt"), "plain");
    writer.addFile(QStringLiteral("secret.txt"), "looks like data but is flagged encrypted", true);
    const QString path = m_dir.filePath(QStringLiteral("encrypted.rar"));
    QVERIFY(writer.write(path));

    RarArchive archive(path);
    QVERIFY(archive.open(RarArchive::OpenModeList));
    QVERIFY(archive.isFilesEncrypted());
    QCOMPARE(archive.fileInfoList().at(1).flags & 0x04, 0x04u);

    RarArchiveFile secret(path, QStringLiteral("secret.txt"));
    QVERIFY(!secret.open(QIODevice::ReadOnly));
    QCOMPARE(secret.error(), MissingPassword);
    QCOMPARE(secret.size(), 0);

    writer.setHeadersEncrypted(true);
    QVERIFY(writer.write(path));
    RarArchive headers(path);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^RarArchive::open: ")));
    QVERIFY(!headers.open(RarArchive::OpenModeList));
    QCOMPARE(headers.error(), MissingPassword);
    QVERIFY(headers.isHeadersEncrypted());
}

void TestRarArchive::longArchiveNameIsCut()
{
    // A real archive whose path is exactly 2047 characters long ...
    QString folder = m_dir.path();
    const QString fileName = QStringLiteral("long.rar");
    while (folder.size() + 1 + fileName.size() < 2047) {
        const int room = 2047 - (folder.size() + 1 + fileName.size()) - 1;
        if (room <= 0)
            break;
        folder += QLatin1Char('/') + QString(qMin(200, room), QLatin1Char('d'));
    }
    QString path = folder + QLatin1Char('/') + fileName;
    QVERIFY(QDir().mkpath(folder));
    // ... padding the file name makes up any odd remainder.
    path = folder + QLatin1Char('/') + QString(2047 - path.size(), QLatin1Char('x')) + fileName;
    QCOMPARE(path.size(), 2047);
    QVERIFY(m_smallWriter.write(path));

    // ... is what an archive name of 3000 characters opens.
    RarArchive archive(path + QString(953, QLatin1Char('y')));
    QVERIFY(archive.open(RarArchive::OpenModeList));
    QCOMPARE(archive.entriesCount(), 7);
}

// The compact name encoding of other archivers: each two-bit code takes a byte
// (0), a byte in the high byte's page (1), a full UTF-16 unit (2) or a run of
// the ASCII form, optionally shifted into the high byte's page (3).
void TestRarArchive::compactUnicodeNames_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("name");

    QTest::newRow("Latin-1 bytes, then a run of the ASCII form")
        << QByteArray("__.txt\0\x00\x0c\xc4\xd6\x02", 12) << QStringLiteral("\u00c4\u00d6.txt");
    QTest::newRow("bytes in the high byte's page, then a run")
        << QByteArray("__.ZBP\0\x04\x5c\x1a\x34\x02", 12) << QStringLiteral("\u041a\u0434.ZBP");
    QTest::newRow("a run shifted into the high byte's page")
        << QByteArray("abc\0\x04\xc0\x81\xb5", 8) << QStringLiteral("\u0416\u0417\u0418");
    QTest::newRow("full units, and a byte that is a folder separator")
        << QByteArray("d\\_\0\x00\x88\x64\x00\x5c\x2d\x4e", 11) << QStringLiteral("d/\u4e2d");
    QTest::newRow("encoding cut short keeps what it decoded")
        << QByteArray("ab\0\x00\x00\x41", 6) << QStringLiteral("A");
}

void TestRarArchive::compactUnicodeNames()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, name);
    Rar4Writer writer;
    writer.addFileWithNameField(field, "named");
    const QString path = m_dir.filePath(QStringLiteral("names.rar"));
    QVERIFY(writer.write(path));

    RarArchive archive(path);
    QVERIFY(archive.open(RarArchive::OpenModeList));
    QCOMPARE(archive.fileNameList(), QStringList{name});
    RarArchiveFile file(path, name);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("named"));
}

void TestRarArchive::hugeMemberReportsLow32Bits()
{
    const quint64 size = (Q_UINT64_C(1) << 32) + 1234;
    Rar4Writer writer;
    writer.addFile(QStringLiteral("small.txt"), "small");
    writer.addHeaderOnly(QStringLiteral("huge.bin"), size);
    const QByteArray bytes = writer.archive();
    const QByteArray endBlock = bytes.right(7);

    // The member's data is a hole in a sparse file.
    const QString path = m_dir.filePath(QStringLiteral("huge.rar"));
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(bytes.left(bytes.size() - endBlock.size()));
    QVERIFY(out.seek(out.pos() + qint64(size)));
    out.write(endBlock);
    out.close();

    RarArchive archive(path);
    QVERIFY(archive.open(RarArchive::OpenModeList));
    QCOMPARE(archive.fileNameList(), (QStringList{"small.txt", "huge.bin"}));
    QCOMPARE(archive.fileInfoList().at(1).unpSize, 1234u);
    QCOMPARE(archive.fileInfoList().at(1).packSize, 1234u);

    // The end block is found behind the full 64-bit size.
    RarArchiveFile small(path, QStringLiteral("small.txt"));
    QVERIFY(small.open(QIODevice::ReadOnly));
    QCOMPARE(small.readAll(), QByteArray("small"));

    // More than memory holds for a device: refused before any data is read.
    RarArchiveFile huge(path, QStringLiteral("huge.bin"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^RarArchiveFile::open: member too large")));
    QVERIFY(!huge.open(QIODevice::ReadOnly));
    QCOMPARE(huge.error(), NoMemory);
    QVERIFY(!huge.isOpen());
    QCOMPARE(huge.usize(), 1234u);
}

QTEST_GUILESS_MAIN(TestRarArchive)
#include "tst_rararchive.moc"
