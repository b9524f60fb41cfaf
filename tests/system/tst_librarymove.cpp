// Moving the library folder: one rename on the same file system, a checked copy
// across file systems, and the cases that leave the library where it is.
#include "systemfixture.h"
#include "tests/common/testfiles.h"

#include "Model/librarymover.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QtTest>

namespace {

const QMap<QString, QByteArray> libraryFiles{
    {QStringLiteral("Brushes/Clay.ZBP"), QByteArray("clay brush")},
    {QStringLiteral("Brushes/Deep/Pinch.ZBP"), QByteArray(300000, 'p')},
    {QStringLiteral(".hidden"), QByteArray("kept as well")},
    {QStringLiteral("empty.txt"), QByteArray()},
};

// Relative path -> content of every file below folder.
QMap<QString, QByteArray> contents(const QString &folder)
{
    QMap<QString, QByteArray> found;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        found.insert(QDir(folder).relativeFilePath(it.filePath()), TestFiles::read(it.filePath()));
    }
    return found;
}

QString url(const QString &path)
{
    return QUrl::fromLocalFile(path).toString();
}

} // namespace

class TestLibraryMove : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void moveWithinFileSystem_data();
    void moveWithinFileSystem();
    void sameOrNoFolderChangesNothing_data();
    void sameOrNoFolderChangesNothing();
    void secondMoveTakesTheLibrary();
    void folderAlreadyHoldingTheLibrary();
    void acrossFileSystems();
    void failedCopyLeavesLibrary();
    void copyIntoItselfRefused();

private:
    QString otherFileSystemFolder() const;

    std::unique_ptr<SystemFixture> m_fixture;
    QString m_library;
    QDateTime m_clayTime;
};

void TestLibraryMove::init()
{
    m_fixture = std::make_unique<SystemFixture>();
    QVERIFY(m_fixture->isValid());
    m_fixture->storeSetting(DatabaseService::ZBrushPath, m_fixture->zbrushFolder());
    m_fixture->installCurrentPlugin();
    m_library = m_fixture->defaultLibrary();
    for (auto it = libraryFiles.cbegin(); it != libraryFiles.cend(); ++it)
        QVERIFY(TestFiles::write(m_library + QLatin1Char('/') + it.key(), it.value()));
    QFile clay(m_library + QStringLiteral("/Brushes/Clay.ZBP"));
    QVERIFY(clay.open(QIODevice::ReadWrite));
    m_clayTime = QDateTime::fromSecsSinceEpoch(1500000000);
    QVERIFY(clay.setFileTime(m_clayTime, QFileDevice::FileModificationTime));
    clay.close();
    m_fixture->start();
    QCOMPARE(m_fixture->system->libraryPath(), m_library);
}

void TestLibraryMove::cleanup()
{
    m_fixture.reset();
}

void TestLibraryMove::moveWithinFileSystem_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("prepare"); // "folder", "file", "read-only", "taken" or nothing
    QTest::addColumn<bool>("moved");

    QTest::newRow("writable folder") << "New Place" << "folder" << true;
    QTest::newRow("missing folder") << "Nowhere" << "" << false;
    QTest::newRow("a file, not a folder") << "notes.txt" << "file" << false;
    QTest::newRow("read-only folder") << "Locked" << "read-only" << false;
    // The target already holds a library of that name: the rename fails.
    QTest::newRow("KIVSource already there") << "Taken" << "taken" << false;
}

void TestLibraryMove::moveWithinFileSystem()
{
    QFETCH(QString, target);
    QFETCH(QString, prepare);
    QFETCH(bool, moved);
    const QString chosen = m_fixture->path(target);
    if (prepare == QLatin1String("folder") || prepare == QLatin1String("read-only"))
        QVERIFY(QDir().mkpath(chosen));
    if (prepare == QLatin1String("file"))
        QVERIFY(TestFiles::write(chosen, "text"));
    if (prepare == QLatin1String("taken"))
        QVERIFY(TestFiles::write(chosen + QStringLiteral("/KIVSource/other.txt"), "another library"));
    if (prepare == QLatin1String("read-only")) {
        QVERIFY(QFile::setPermissions(chosen, QFile::ReadOwner | QFile::ExeOwner));
        if (QFileInfo(chosen).isWritable())
            QSKIP("this user can write into read-only folders");
    }

    SystemDataService &system = *m_fixture->system;
    QSignalSpy changed(&system, &SystemDataService::libraryPathChanged);
    QSignalSpy finished(&system, &SystemDataService::libraryMoveFinished);
    if (!moved)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Move library failed\\.")));
    system.setLibraryPath(url(chosen));
    QFile::setPermissions(chosen, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // The location is recorded in every one of these cases.
    QCOMPARE(changed.count(), 1);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().toBool(), moved);
    QCOMPARE(system.libraryPath(), chosen);
    QCOMPARE(m_fixture->storedSetting(DatabaseService::LibraryLocation).toString(), chosen);
    const QString now = moved ? chosen + QStringLiteral("/KIVSource") : m_library;
    QCOMPARE(system.libraryFolder(), now);
    QCOMPARE(contents(now), libraryFiles);
    if (moved) {
        QVERIFY(!QFileInfo::exists(m_library));
        QCOMPARE(QFileInfo(now + QStringLiteral("/Brushes/Clay.ZBP")).lastModified(), m_clayTime);
        // The next start finds the library at the chosen folder.
        m_fixture->restart();
        QCOMPARE(m_fixture->system->libraryPath(), now);
        QCOMPARE(contents(now), libraryFiles);
    }
}

void TestLibraryMove::sameOrNoFolderChangesNothing_data()
{
    QTest::addColumn<QString>("text"); // with current: relative to the current value
    QTest::addColumn<bool>("current");
    QTest::addColumn<bool>("refused"); // reported as a failed move

    QTest::newRow("current value as URL") << QString() << true << false;
    QTest::newRow("empty") << QString() << false << false;
    QTest::newRow("not a local file") << QStringLiteral("https://example.org/library") << false << false;
    QTest::newRow("into the library itself") << QStringLiteral("/Brushes") << true << true;
}

void TestLibraryMove::sameOrNoFolderChangesNothing()
{
    QFETCH(QString, text);
    QFETCH(bool, current);
    QFETCH(bool, refused);
    SystemDataService &system = *m_fixture->system;
    if (current)
        text = url(system.libraryPath() + text);
    QSignalSpy finished(&system, &SystemDataService::libraryMoveFinished);
    if (refused)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Move library failed\\..*inside")));
    QSignalSpy changed(&system, &SystemDataService::libraryPathChanged);
    system.setLibraryPath(text);
    // The current value as plain text, as the property hands it out.
    system.setLibraryPath(system.libraryPath());
    QCOMPARE(changed.count(), 0);
    QCOMPARE(finished.count(), refused ? 1 : 0);
    QCOMPARE(system.libraryPath(), m_library);
    QVERIFY(m_fixture->storedSetting(DatabaseService::LibraryLocation).isNull());
    QCOMPARE(contents(m_library), libraryFiles);
}

void TestLibraryMove::secondMoveTakesTheLibrary()
{
    SystemDataService &system = *m_fixture->system;
    const QString first = m_fixture->path(QStringLiteral("First"));
    const QString second = m_fixture->path(QStringLiteral("Second"));
    QVERIFY(QDir().mkpath(first));
    QVERIFY(QDir().mkpath(second));
    QVERIFY(TestFiles::write(first + QStringLiteral("/mine.txt"), "the user's own file"));

    system.setLibraryPath(url(first));
    QCOMPARE(system.libraryPath(), first);
    system.setLibraryPath(url(second));
    QCOMPARE(system.libraryPath(), second);
    QCOMPARE(contents(second + QStringLiteral("/KIVSource")), libraryFiles);
    // The folder chosen first stays where it is, with its own files.
    QCOMPARE(contents(first), (QMap<QString, QByteArray>{{"mine.txt", "the user's own file"}}));
}

void TestLibraryMove::folderAlreadyHoldingTheLibrary()
{
    SystemDataService &system = *m_fixture->system;
    const QString parent = QFileInfo(m_library).absolutePath();
    QSignalSpy finished(&system, &SystemDataService::libraryMoveFinished);
    system.setLibraryPath(url(parent));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().toBool(), true);
    QCOMPARE(system.libraryPath(), parent);
    QCOMPARE(system.libraryFolder(), m_library);
    QCOMPARE(m_fixture->storedSetting(DatabaseService::LibraryLocation).toString(), parent);
    QCOMPARE(contents(m_library), libraryFiles);
}

QString TestLibraryMove::otherFileSystemFolder() const
{
    const QString here = QStorageInfo(m_fixture->dir.path()).rootPath();
    for (const QString &candidate : {QStringLiteral("/dev/shm"), QStringLiteral("/run/shm"), QStringLiteral("/tmp"),
                                     QStringLiteral("/var/tmp")}) {
        const QFileInfo info(candidate);
        if (info.isDir() && info.isWritable() && QStorageInfo(candidate).rootPath() != here)
            return candidate;
    }
    return QString();
}

void TestLibraryMove::acrossFileSystems()
{
    const QString other = otherFileSystemFolder();
    if (other.isEmpty())
        QSKIP("no writable folder on another file system");
    QTemporaryDir targetDir(other + QStringLiteral("/kivara-move-XXXXXX"));
    QVERIFY(targetDir.isValid());
    const QString chosen = targetDir.path();

    SystemDataService &system = *m_fixture->system;
    QSignalSpy finished(&system, &SystemDataService::libraryMoveFinished);
    QSignalSpy changed(&system, &SystemDataService::libraryPathChanged);
    system.setLibraryPath(url(chosen));
    QVERIFY(system.isMovingLibrary());
    // Until the copy is complete the library is where it was.
    QCOMPARE(system.libraryPath(), m_library);
    QVERIFY(finished.wait(30000));
    QCOMPARE(finished.first().first().toBool(), true);
    QCOMPARE(changed.count(), 1);
    QVERIFY(!system.isMovingLibrary());

    const QString library = chosen + QStringLiteral("/KIVSource");
    QCOMPARE(system.libraryPath(), chosen);
    QCOMPARE(system.libraryFolder(), library);
    QCOMPARE(m_fixture->storedSetting(DatabaseService::LibraryLocation).toString(), chosen);
    QCOMPARE(contents(library), libraryFiles);
    QCOMPARE(QFileInfo(library + QStringLiteral("/Brushes/Clay.ZBP")).lastModified(), m_clayTime);
    QVERIFY(!QFileInfo::exists(m_library));
    // Nothing of the copy is left beside the library.
    QCOMPARE(QDir(chosen).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"KIVSource"});

    m_fixture->restart();
    QCOMPARE(m_fixture->system->libraryPath(), library);
    QCOMPARE(contents(library), libraryFiles);
}

void TestLibraryMove::failedCopyLeavesLibrary()
{
    const QString other = otherFileSystemFolder();
    if (other.isEmpty())
        QSKIP("no writable folder on another file system");
    QTemporaryDir targetDir(other + QStringLiteral("/kivara-move-XXXXXX"));
    QVERIFY(targetDir.isValid());
    // A link cannot be copied faithfully, so the copy gives up half-way.
    QVERIFY(QFile::link(m_library + QStringLiteral("/empty.txt"), m_library + QStringLiteral("/Brushes/zz-link")));

    SystemDataService &system = *m_fixture->system;
    QSignalSpy finished(&system, &SystemDataService::libraryMoveFinished);
    QSignalSpy changed(&system, &SystemDataService::libraryPathChanged);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Move library failed\\..*is a link")));
    system.setLibraryPath(url(targetDir.path()));
    QVERIFY(finished.wait(30000));
    QCOMPARE(finished.first().first().toBool(), false);

    QCOMPARE(changed.count(), 0);
    QCOMPARE(system.libraryPath(), m_library);
    QCOMPARE(system.libraryFolder(), m_library);
    QVERIFY(m_fixture->storedSetting(DatabaseService::LibraryLocation).isNull());
    QVERIFY(QFileInfo(m_library + QStringLiteral("/Brushes/zz-link")).isSymLink());
    QCOMPARE(QDir(targetDir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    QMap<QString, QByteArray> expected = libraryFiles;
    expected.insert(QStringLiteral("Brushes/zz-link"), QByteArray());
    QCOMPARE(contents(m_library), expected);
}

void TestLibraryMove::copyIntoItselfRefused()
{
    QString why;
    QVERIFY(!LibraryMover::copyAcross(m_library, m_library + QStringLiteral("/Brushes/KIVSource"), &why));
    QVERIFY(why.contains(QStringLiteral("inside the library")));
    QVERIFY(!LibraryMover::copyAcross(m_library, m_fixture->path(QStringLiteral("missing/KIVSource")), &why));
    QCOMPARE(contents(m_library), libraryFiles);
    QCOMPARE(LibraryMover::rename(m_fixture->path(QStringLiteral("none")), m_fixture->path(QStringLiteral("x"))),
             LibraryMover::RenameResult::Failed);
}

QTEST_MAIN(TestLibraryMove)
#include "tst_librarymove.moc"
