#include "librarymover.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryDir>

namespace {

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

constexpr QDir::Filters everything = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

bool sameContent(const QString &a, const QString &b)
{
    QFile first(a);
    QFile second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly) || first.size() != second.size())
        return false;
    constexpr qint64 chunk = 1 << 20;
    while (!first.atEnd()) {
        const QByteArray left = first.read(chunk);
        if (left.isEmpty() || left != second.read(chunk))
            return false;
    }
    return true;
}

bool copyTree(const QString &source, const QString &target, QString *error)
{
    QDirIterator it(source, everything, QDirIterator::Subdirectories);
    const QDir root(source);
    while (it.hasNext()) {
        it.next();
        const QFileInfo entry = it.fileInfo();
        const QString to = target + QLatin1Char('/') + root.relativeFilePath(entry.filePath());
        // Qt cannot read a link's own text, so a link could not be copied faithfully.
        if (entry.isSymLink())
            return fail(error, QStringLiteral("%1 is a link").arg(entry.filePath()));
        if (entry.isDir()) {
            if (!QDir().mkpath(to))
                return fail(error, QStringLiteral("cannot create %1").arg(to));
        } else {
            QFile from(entry.filePath());
            if (!from.copy(to))
                return fail(error, QStringLiteral("cannot copy %1: %2").arg(entry.filePath(), from.errorString()));
            // Keep the file times: a moved library holds the same files as before.
            QFile copied(to);
            if (copied.open(QIODevice::ReadWrite))
                copied.setFileTime(entry.lastModified(), QFileDevice::FileModificationTime);
        }
    }
    return true;
}

// Every entry of the original is in the copy, of the same kind and content.
bool checkTree(const QString &source, const QString &target, QString *error)
{
    QDirIterator it(source, everything, QDirIterator::Subdirectories);
    const QDir root(source);
    while (it.hasNext()) {
        it.next();
        const QFileInfo entry = it.fileInfo();
        const QFileInfo copy(target + QLatin1Char('/') + root.relativeFilePath(entry.filePath()));
        bool same = false;
        if (entry.isDir())
            same = copy.isDir() && !copy.isSymLink();
        else
            same = copy.isFile() && !copy.isSymLink() && sameContent(entry.filePath(), copy.filePath());
        if (!same)
            return fail(error, QStringLiteral("the copy of %1 differs").arg(entry.filePath()));
    }
    return true;
}

} // namespace

namespace LibraryMover {

RenameResult rename(const QString &source, const QString &target, QString *error)
{
    const QFileInfo from(source);
    if (!from.isDir()) {
        fail(error, QStringLiteral("%1 is not a folder").arg(source));
        return RenameResult::Failed;
    }
    if (QFileInfo::exists(target)) {
        fail(error, QStringLiteral("%1 exists already").arg(target));
        return RenameResult::Failed;
    }
    if (QDir().rename(source, target))
        return RenameResult::Renamed;
    // Renaming works only within one mount; Windows likewise refuses across drives.
    const QStorageInfo sourceVolume(source);
    const QStorageInfo targetVolume(QFileInfo(target).absolutePath());
    if (sourceVolume.isValid() && targetVolume.isValid() && sourceVolume.rootPath() != targetVolume.rootPath())
        return RenameResult::OtherFileSystem;
    fail(error, QStringLiteral("cannot rename %1 to %2").arg(source, target));
    return RenameResult::Failed;
}

bool copyAcross(const QString &source, const QString &target, QString *error)
{
    const QString sourcePath = QFileInfo(source).canonicalFilePath();
    if (sourcePath.isEmpty() || !QFileInfo(source).isDir())
        return fail(error, QStringLiteral("%1 is not a folder").arg(source));
    if (QFileInfo::exists(target))
        return fail(error, QStringLiteral("%1 exists already").arg(target));
    const QString targetParent = QFileInfo(target).absolutePath();
    const QString parentPath = QFileInfo(targetParent).canonicalFilePath();
    // A copy into the library itself would never end.
    if (parentPath == sourcePath || parentPath.startsWith(sourcePath + QLatin1Char('/')))
        return fail(error, QStringLiteral("%1 lies inside the library").arg(target));

    // The copy grows in a hidden folder beside the target; only a complete, checked
    // copy takes the target's name. The staging folder goes with every failure.
    QTemporaryDir staging(targetParent + QStringLiteral("/.") + QFileInfo(target).fileName()
                          + QStringLiteral("-moving-XXXXXX"));
    if (!staging.isValid())
        return fail(error, staging.errorString());
    if (!copyTree(source, staging.path(), error) || !checkTree(source, staging.path(), error))
        return false;
    if (!QDir().rename(staging.path(), target))
        return fail(error, QStringLiteral("cannot rename %1 to %2").arg(staging.path(), target));
    staging.setAutoRemove(false);

    // The library is whole at the target now; leftovers at the old place are only untidy.
    if (!QDir(source).removeRecursively())
        qWarning().noquote() << "The library was copied to" << target << "but" << source << "could not be removed completely";
    return true;
}

} // namespace LibraryMover
