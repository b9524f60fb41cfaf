#include "folderwalk.h"

#include <QDirIterator>

namespace FolderWalk {

void forEachFile(const QString &folder, const QStringList &nameFilters,
                 const std::function<void(const QFileInfo &)> &visit)
{
    if (folder.isEmpty())
        return;
    // Without QDir::CaseSensitive the filters ignore case; without QDir::Hidden hidden
    // folders are not entered; without FollowSymlinks linked folders are not entered.
    QDirIterator it(folder, nameFilters, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        visit(it.fileInfo());
    }
}

QList<QFileInfo> files(const QString &folder, const QStringList &nameFilters)
{
    QList<QFileInfo> result;
    forEachFile(folder, nameFilters, [&result](const QFileInfo &info) { result.append(info); });
    return result;
}

} // namespace FolderWalk
