#pragma once

#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <functional>

// The walk every catalogue runs over its folders: all sub-folders at any depth,
// regular files only, no hidden entries, links to folders not followed, name
// filters matched without regard to case on every system. Files come in the file
// system's listing order; a folder that does not exist yields nothing.
namespace FolderWalk {

// Calls `visit` for every matching file, with its cached file information.
void forEachFile(const QString &folder, const QStringList &nameFilters,
                 const std::function<void(const QFileInfo &)> &visit);

QList<QFileInfo> files(const QString &folder, const QStringList &nameFilters);

} // namespace FolderWalk
