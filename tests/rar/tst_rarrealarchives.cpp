#include "rar/rararchive.h"
#include "rar/rararchivefile.h"
#include "tests/common/realdata.h"

#include <QCryptographicHash>
#include <QtTest>

namespace {

constexpr int MissingPassword = 22;

QMap<QString, QByteArray> readAllMembers(const QString &path, bool *ok)
{
    *ok = true;
    QMap<QString, QByteArray> contents;
    RarArchive archive(path);
    if (!archive.open(RarArchive::OpenModeList)) {
        *ok = false;
        return contents;
    }
    const QStringList names = archive.fileNameList();
    archive.close();
    RarArchiveFile file(&archive);
    for (const QString &name : names) {
        file.setFileName(name);
        if (!file.open(QIODevice::ReadOnly)) {
            *ok = false;
            continue;
        }
        contents.insert(name, file.readAll());
        file.close();
    }
    return contents;
}

} // namespace

class TestRarRealArchives : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void listsAndReads_data();
    void listsAndReads();
    void encryptedMembersFailOthersRead();

private:
    QString m_dir;
};

void TestRarRealArchives::initTestCase()
{
    // Archives made by the RAR program itself.
    m_dir = realDataFolder() + QStringLiteral("/rar");
    if (!QFileInfo(m_dir).isDir())
        QSKIP("The real RAR archives are not here.");
}

void TestRarRealArchives::listsAndReads_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("member");
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("head");

    QTest::newRow("RAR 4, stored")
        << "rar4/test_read_format_rar.rar"
        << QStringList{"test.txt", "testlink", "testdir/test.txt", "testdir", "testemptydir"}
        << "testdir/test.txt" << 20 << QByteArray("test text document\r\n");
    QTest::newRow("RAR 4, compressed")
        << "rar4/test_read_format_rar_compress_normal.rar"
        << QStringList{"LibarchiveAddingTest.html", "testlink", "testdir/test.txt",
                       "testdir/LibarchiveAddingTest.html", "testdir", "testemptydir"}
        << "testdir/LibarchiveAddingTest.html" << 20111 << QByteArray("<");
    QTest::newRow("RAR 5, stored")
        << "rar5/test_read_format_rar5_stored.rar" << QStringList{"helloworld.txt"}
        << "helloworld.txt" << 29 << QByteArray("hello libarchive test suite!\n");
    QTest::newRow("RAR 5, compressed")
        << "rar5/test_read_format_rar5_compressed.rar" << QStringList{"test.bin"}
        << "test.bin" << 1200 << QByteArray();
}

void TestRarRealArchives::listsAndReads()
{
    QFETCH(QString, file);
    QFETCH(QStringList, names);
    QFETCH(QString, member);
    QFETCH(int, size);
    QFETCH(QByteArray, head);

    const QString path = m_dir + QLatin1Char('/') + file;
    RarArchive archive(path);
    QVERIFY(archive.open(RarArchive::OpenModeList));
    QCOMPARE(archive.fileNameList(), names);
    QVERIFY(!archive.isFilesEncrypted());
    const QList<RarFileInfo> infos = archive.fileInfoList();
    archive.close();

    bool ok = false;
    const QMap<QString, QByteArray> contents = readAllMembers(path, &ok);
    QVERIFY(ok);
    QCOMPARE(contents.keys().size(), names.size());
    for (const RarFileInfo &info : infos)
        QCOMPARE(quint32(contents.value(info.fileName).size()), info.unpSize);
    QCOMPARE(contents.value(member).size(), size);
    QVERIFY(contents.value(member).startsWith(head));

    // The folder copy of a file is the same file.
    if (contents.contains(QStringLiteral("LibarchiveAddingTest.html")))
        QCOMPARE(contents.value(QStringLiteral("LibarchiveAddingTest.html")), contents.value(member));
    if (names.contains(QStringLiteral("testlink")))
        QVERIFY(names.contains(QString::fromUtf8(contents.value(QStringLiteral("testlink")))));
}

void TestRarRealArchives::encryptedMembersFailOthersRead()
{
    const QString path = m_dir + QStringLiteral("/rar4/test_read_format_rar4_encrypted.rar");
    RarArchive archive(path);
    QVERIFY(archive.open(RarArchive::OpenModeList));
    QCOMPARE(archive.fileNameList(), (QStringList{"a.txt", "b.txt", "c.txt", "d.txt"}));
    QVERIFY(archive.isFilesEncrypted());
    QVERIFY(!archive.isHeadersEncrypted());
    const QList<RarFileInfo> infos = archive.fileInfoList();
    QCOMPARE(infos.at(0).flags & 0x04, 0u);
    QCOMPARE(infos.at(1).flags & 0x04, 0x04u);
    QCOMPARE(infos.at(3).flags & 0x04, 0x04u);
    archive.close();

    RarArchiveFile file(&archive);
    for (const QString &name : {QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt"),
                                QStringLiteral("d.txt")}) {
        file.setFileName(name);
        const bool encrypted = name == QLatin1String("b.txt") || name == QLatin1String("d.txt");
        QCOMPARE(file.open(QIODevice::ReadOnly), !encrypted);
        if (encrypted) {
            QCOMPARE(file.error(), MissingPassword);
            QCOMPARE(file.size(), 0);
        } else {
            QCOMPARE(file.readAll(), QByteArray("This is from ") + name.toLatin1());
            file.close();
        }
    }

    // This build cannot decrypt; a password must still not yield garbage.
    RarArchiveFile withPassword(path, QStringLiteral("b.txt"));
    QVERIFY(!withPassword.open(QIODevice::ReadOnly, QStringLiteral("password")));
    QVERIFY(withPassword.error() != 0);
    QCOMPARE(withPassword.size(), 0);
}

QTEST_GUILESS_MAIN(TestRarRealArchives)
#include "tst_rarrealarchives.moc"
