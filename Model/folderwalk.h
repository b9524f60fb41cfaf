#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <limits>

// The walk every catalogue runs over its folders: all sub-folders at any depth,
// regular files only, no hidden entries, links to folders not followed, name
// filters matched without regard to case on every system. Files come in the file
// system's listing order; a folder that does not exist yields nothing.
//
// Catalogue folders hold tens of thousands of files, so on Unix the walk reads the
// directories itself: only files whose names match are looked at further, and their
// times stay numbers (a local-time conversion per file would cost more than the walk).
namespace FolderWalk {

// A file the walk found.
class File
{
public:
    // An invalid time (noTime) for a file whose time could not be read.
    static constexpr qint64 noTime = std::numeric_limits<qint64>::min();

    File() = default;
    File(QString path, int nameStart, qint64 modifiedMs)
        : m_path(std::move(path))
        , m_nameStart(nameStart)
        , m_modifiedMs(modifiedMs)
    {
    }

    // The folder given to the walk, a separator and the path below it.
    const QString &filePath() const { return m_path; }
    QString fileName() const { return m_path.mid(m_nameStart); }
    // The name without its last suffix: "Skin.Shader.zmt" gives "Skin.Shader".
    QString completeBaseName() const;
    // Whether completeBaseName() is name, compared in place.
    bool hasCompleteBaseName(const QString &name) const;
    // Milliseconds since the epoch, or noTime.
    qint64 modifiedMs() const { return m_modifiedMs; }
    // The same as a date-time in UTC (invalid for noTime); no local-time conversion.
    QDateTime lastModified() const;

private:
    QString m_path;
    int m_nameStart = 0;
    qint64 m_modifiedMs = noTime;
};

using Visit = std::function<void(const File &)>;

// Calls visit for every matching file.
void forEachFile(const QString &folder, const QStringList &nameFilters, const Visit &visit);
QList<File> files(const QString &folder, const QStringList &nameFilters);

// The walk through Qt's directory iterator: what systems without the fast walk use.
// Public so that the tests hold the two to the same rules.
void forEachFilePortable(const QString &folder, const QStringList &nameFilters, const Visit &visit);

} // namespace FolderWalk
