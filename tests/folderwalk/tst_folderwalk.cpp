#include "Model/folderwalk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

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

    static QStringList relativeNames(const QString &root, const QStringList &filters)
    {
        QStringList names;
        const QDir base(root);
        for (const QFileInfo &info : FolderWalk::files(root, filters))
            names.append(base.relativeFilePath(info.filePath()));
        names.sort();
        return names;
    }

private slots:
    void walk()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString root = dir.path() + "/lib";
        touch(root + "/a.ztl");
        touch(root + "/B.ZTL");
        touch(root + "/deep/er/c.Ztl");
        touch(root + "/d.zmt");
        touch(root + "/.hidden.ztl");
        touch(root + "/.hiddendir/e.ztl");
        touch(root + "/notafile.ztl/f.ztl");
        touch(dir.path() + "/outside/g.ztl");
        QVERIFY(QFile::link(dir.path() + "/outside", root + "/linked"));
        QVERIFY(::mkfifo(QFile::encodeName(root + "/pipe.ztl").constData(), 0600) == 0);

        // The folder named like a file is entered, never reported; the fifo is no regular file.
        QCOMPARE(relativeNames(root, {"*.ztl"}),
                 QStringList({"B.ZTL", "a.ztl", "deep/er/c.Ztl", "notafile.ztl/f.ztl"}));
        QCOMPARE(relativeNames(root, {"*.zmt", "*.ztl"}).size(), 5);
        QVERIFY(FolderWalk::files(dir.path() + "/missing", {"*.ztl"}).isEmpty());
        QVERIFY(FolderWalk::files(QString(), {"*.ztl"}).isEmpty());
    }

    void fileInformationIsCached()
    {
        QTemporaryDir dir;
        touch(dir.path() + "/x.zpr");
        const QList<QFileInfo> found = FolderWalk::files(dir.path(), {"*.zpr"});
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.first().completeBaseName(), QStringLiteral("x"));
        QVERIFY(found.first().lastModified().isValid());
    }
};

QTEST_GUILESS_MAIN(TestFolderWalk)
#include "tst_folderwalk.moc"
