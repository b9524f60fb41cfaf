#include "Model/folderprefetch.h"
#include "Model/folderwalk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using FolderWalk::File;

namespace {

using Walker = void (*)(const QString &, const QStringList &, const FolderWalk::Visit &);

QList<File> walkWith(Walker walker, const QString &folder, const QStringList &filters)
{
    QList<File> found;
    walker(folder, filters, [&found](const File &file) { found.append(file); });
    return found;
}

} // namespace

class TestFolderWalk : public QObject
{
    Q_OBJECT

private:
    static void touch(const QString &path)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    static QStringList relativeNames(Walker walker, const QString &root, const QStringList &filters)
    {
        QStringList names;
        const QDir base(root);
        for (const File &file : walkWith(walker, root, filters))
            names.append(base.relativeFilePath(file.filePath()));
        names.sort();
        return names;
    }

    // A tree that holds every case the rules decide.
    static void makeTree(const QTemporaryDir &dir)
    {
        const QString root = dir.path() + "/lib";
        touch(root + "/a.ztl");
        touch(root + "/B.ZTL");
        touch(root + "/deep/er/c.Ztl");
        touch(root + "/d.zmt");
        touch(root + "/Skin.Shader.zmt");
        touch(root + "/.hidden.ztl");
        touch(root + "/.hiddendir/e.ztl");
        touch(root + "/notafile.ztl/f.ztl");
        touch(root + "/Ünïcode.ZTL");
        touch(root + "/meta.KIV.xml");
        touch(root + "/noext");
        touch(dir.path() + "/outside/g.ztl");
        touch(dir.path() + "/outside/target.zmt");
        QVERIFY(QFile::link(dir.path() + "/outside", root + "/linked"));
        QVERIFY(QFile::link(dir.path() + "/outside/target.zmt", root + "/filelink.zmt"));
        QVERIFY(QFile::link(dir.path() + "/gone.ztl", root + "/dangling.ztl"));
        QVERIFY(::mkfifo(QFile::encodeName(root + "/pipe.ztl").constData(), 0600) == 0);
    }

private slots:
    void walk_data()
    {
        QTest::addColumn<bool>("portable");
        QTest::addColumn<QStringList>("filters");
        QTest::addColumn<QStringList>("expected");
        // The folder named like a file is entered, never reported; the fifo and the
        // dangling link are no regular files; a link to a file counts as that file.
        const QStringList tools{"B.ZTL", "a.ztl", "deep/er/c.Ztl", "notafile.ztl/f.ztl", "Ünïcode.ZTL"};
        const QStringList materials{"Skin.Shader.zmt", "d.zmt", "filelink.zmt"};
        for (const bool portable : {false, true}) {
            const char *walker = portable ? "Qt iterator: " : "fast: ";
            auto row = [&](const char *name) { return &QTest::newRow(QByteArray(walker + QByteArray(name))); };
            *row("one ending") << portable << QStringList{"*.ztl"} << tools;
            *row("two endings") << portable << QStringList{"*.zmt", "*.ZTL"} << tools + materials;
            *row("ending with two dots") << portable << QStringList{"*.kiv.xml"} << QStringList{"meta.KIV.xml"};
            *row("not an ending") << portable << QStringList{"?.ztl"} << QStringList{"B.ZTL", "a.ztl", "deep/er/c.Ztl",
                                                                                       "notafile.ztl/f.ztl"};
            *row("wildcard after the star") << portable << QStringList{"*.z??"} << tools + materials;
            *row("non-ASCII ending") << portable << QStringList{"*ÏCODE.ztl"} << QStringList{"Ünïcode.ZTL"};
            *row("everything") << portable << QStringList{"*"}
                               << tools + materials + QStringList{"meta.KIV.xml", "noext"};
        }
    }

    void walk()
    {
        QFETCH(bool, portable);
        QFETCH(QStringList, filters);
        QFETCH(QStringList, expected);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        makeTree(dir);
        const Walker walker = portable ? &FolderWalk::forEachFilePortable : &FolderWalk::forEachFile;
        expected.sort();
        QCOMPARE(relativeNames(walker, dir.path() + "/lib", filters), expected);
        QVERIFY(walkWith(walker, dir.path() + "/missing", {"*.ztl"}).isEmpty());
        QVERIFY(walkWith(walker, QString(), {"*.ztl"}).isEmpty());
    }

    // Both walks report the same paths, names and times, whatever the folder text.
    void sameFilesBothWays_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("plain") << "/lib";
        QTest::newRow("trailing separator") << "/lib/";
        QTest::newRow("sub-folder") << "/lib/deep";
    }

    void sameFilesBothWays()
    {
        QFETCH(QString, folder);
        QTemporaryDir dir;
        makeTree(dir);
        const QDateTime old(QDate(2019, 6, 1), QTime(8, 30, 15, 250));
        QFile file(dir.path() + "/lib/a.ztl");
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
        file.close();

        auto facts = [&](Walker walker) {
            QStringList lines;
            for (const File &found : walkWith(walker, dir.path() + folder, {"*.ztl", "*.zmt"})) {
                lines << QStringLiteral("%1|%2|%3|%4")
                             .arg(found.filePath(), found.fileName(), found.completeBaseName())
                             .arg(found.modifiedMs());
            }
            lines.sort();
            return lines;
        };
        const QStringList fast = facts(&FolderWalk::forEachFile);
        QVERIFY(!fast.isEmpty());
        QCOMPARE(fast, facts(&FolderWalk::forEachFilePortable));
        if (folder == QLatin1String("/lib")) {
            QVERIFY(fast.contains(QStringLiteral("%1/lib/a.ztl|a.ztl|a|%2")
                                      .arg(dir.path())
                                      .arg(old.toMSecsSinceEpoch())));
            QCOMPARE(fast.filter(QStringLiteral("/lib/Skin.Shader.zmt|Skin.Shader.zmt|Skin.Shader|")).size(), 1);
        }
    }

    // File times stay in UTC: no local-time conversion per file, the same moment.
    void fileTimes()
    {
        QTemporaryDir dir;
        touch(dir.path() + "/x.zpr");
        const QList<File> found = FolderWalk::files(dir.path(), {"*.zpr"});
        QCOMPARE(found.size(), 1);
        const QDateTime modified = found.first().lastModified();
        QCOMPARE(modified.timeSpec(), Qt::UTC);
        QCOMPARE(modified, QFileInfo(dir.path() + "/x.zpr").lastModified());
        QCOMPARE(modified.toMSecsSinceEpoch(), found.first().modifiedMs());
        QVERIFY(!File().lastModified().isValid());
    }

    // Folders walked ahead on another thread come back as the walk on this one finds
    // them, each under its own index, whatever order they are taken in.
    void prefetchMatchesTheWalk()
    {
        QTemporaryDir dir;
        for (int i = 0; i < 40; ++i)
            touch(QStringLiteral("%1/a/set%2/A%3.zpr").arg(dir.path()).arg(i % 3).arg(i));
        touch(dir.path() + "/c/C.zpr");
        touch(dir.path() + "/c/other.txt");
        const QStringList folders{dir.path() + "/a", dir.path() + "/missing", dir.path() + "/c", dir.path() + "/a"};
        const auto paths = [](const QVector<File> &files) {
            QStringList list;
            for (const File &file : files)
                list << file.filePath() + QLatin1Char('|') + QString::number(file.modifiedMs());
            return list;
        };
        FolderPrefetch prefetch(folders, {"*.zpr"});
        QCOMPARE(prefetch.count(), 4);
        for (int i : {2, 0, 3, 1}) {
            const QStringList taken = paths(prefetch.take(i));
            QCOMPARE(taken, paths(FolderPrefetch::walk(folders.at(i), {"*.zpr"})));
            QCOMPARE(taken.size(), QVector<int>({40, 0, 1, 40}).at(i));
        }
        // Dropped before anything is taken: ends without waiting for the caller.
        FolderPrefetch({dir.path() + "/a", dir.path() + "/c"}, {"*.zpr"});
    }
};

QTEST_GUILESS_MAIN(TestFolderWalk)
#include "tst_folderwalk.moc"
