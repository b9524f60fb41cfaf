#include "folderwalk.h"

#include <QDirIterator>

#ifdef Q_OS_UNIX
#include <QFile>
#include <QRegularExpression>
#include <QVector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#endif

namespace FolderWalk {

QString File::completeBaseName() const
{
    const int dot = m_path.lastIndexOf(QLatin1Char('.'));
    if (dot < m_nameStart)
        return fileName();
    return m_path.mid(m_nameStart, dot - m_nameStart);
}

bool File::hasCompleteBaseName(const QString &name) const
{
    const int dot = m_path.lastIndexOf(QLatin1Char('.'));
    const int end = dot < m_nameStart ? m_path.size() : dot;
    return QStringView(m_path).mid(m_nameStart, end - m_nameStart) == QStringView(name);
}

QDateTime File::lastModified() const
{
    return m_modifiedMs == noTime ? QDateTime() : QDateTime::fromMSecsSinceEpoch(m_modifiedMs, Qt::UTC);
}

#ifdef Q_OS_UNIX
namespace {

bool isAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Name filters without regard to case. Nearly every filter is "*" and a plain ending
// ("*.ZBP", "*.kiv.xml"): those are compared on the raw bytes of a directory entry,
// so that the names of other files are never decoded.
class NameMatcher
{
public:
    explicit NameMatcher(const QStringList &filters)
    {
        m_all = filters.isEmpty();
        for (const QString &filter : filters) {
            const QString ending = filter.mid(1);
            // A regular expression here would be compiled anew for every walk.
            const bool plainEnding = filter.startsWith(QLatin1Char('*'))
                && std::none_of(ending.cbegin(), ending.cend(), isWildcard);
            if (plainEnding && isAscii(ending))
                m_asciiEndings.append(ending.toLatin1().toLower());
            else if (plainEnding)
                m_endings.append(ending);
            else
                m_patterns.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(filter),
                                                     QRegularExpression::CaseInsensitiveOption));
        }
    }

    bool matches(const char *name, int length) const
    {
        if (m_all)
            return true;
        bool ascii = true;
        for (const QByteArray &ending : m_asciiEndings) {
            if (length >= ending.size() && endsWithAscii(name + length - ending.size(), ending))
                return true;
        }
        for (int i = 0; i < length && ascii; ++i)
            ascii = static_cast<unsigned char>(name[i]) < 0x80;
        // Beyond ASCII, case folding can meet an ASCII ending (the Kelvin sign folds to k).
        if (ascii && m_endings.isEmpty() && m_patterns.isEmpty())
            return false;
        return matches(QFile::decodeName(QByteArray::fromRawData(name, length)), !ascii);
    }

    bool matches(const QString &name, bool withAsciiEndings = true) const
    {
        if (m_all)
            return true;
        if (withAsciiEndings) {
            for (const QByteArray &ending : m_asciiEndings) {
                if (name.endsWith(QLatin1String(ending), Qt::CaseInsensitive))
                    return true;
            }
        }
        for (const QString &ending : m_endings) {
            if (name.endsWith(ending, Qt::CaseInsensitive))
                return true;
        }
        for (const QRegularExpression &pattern : m_patterns) {
            if (pattern.match(name).hasMatch())
                return true;
        }
        return false;
    }

private:
    static bool isWildcard(QChar c)
    {
        return c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('[') || c == QLatin1Char(']')
            || c == QLatin1Char('\\');
    }

    static bool endsWithAscii(const char *tail, const QByteArray &lowerEnding)
    {
        for (int i = 0; i < lowerEnding.size(); ++i) {
            if (asciiLower(tail[i]) != lowerEnding.at(i))
                return false;
        }
        return true;
    }

    bool m_all = false;
    QVector<QByteArray> m_asciiEndings;
    QVector<QString> m_endings;
    QVector<QRegularExpression> m_patterns;
};

// prefix followed by an entry's name, in one allocation: names are nearly always ASCII,
// which every locale's encoding reads alike.
QString joined(const QString &prefix, const char *name, int length)
{
    for (int i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(name[i]) >= 0x80)
            return prefix + QFile::decodeName(QByteArray::fromRawData(name, length));
    }
    QString path(prefix.size() + length, Qt::Uninitialized);
    QChar *out = path.data();
    std::memcpy(out, prefix.constData(), size_t(prefix.size()) * sizeof(QChar));
    out += prefix.size();
    for (int i = 0; i < length; ++i)
        out[i] = QLatin1Char(name[i]);
    return path;
}

QString withSeparator(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

qint64 modifiedMs(const struct stat &status)
{
#ifdef Q_OS_DARWIN
    const timespec &time = status.st_mtimespec;
#else
    const timespec &time = status.st_mtim;
#endif
    return qint64(time.tv_sec) * 1000 + time.tv_nsec / 1000000;
}

// Walks the open directory fd (and closes it), depth first in listing order, as Qt's
// iterator does. The entry type comes from readdir; only matching files are stat'ed.
void walkDirectory(int fd, const QString &prefix, const NameMatcher &matcher, const Visit &visit)
{
    DIR *dir = fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return;
    }
    const int dirFd = dirfd(dir);
    while (const dirent *entry = readdir(dir)) {
        const char *name = entry->d_name;
        // Hidden entries, "." and "..".
        if (name[0] == '.')
            continue;
        const int length = int(std::strlen(name));
        unsigned char type = entry->d_type;
        struct stat status;
        bool haveStatus = false;
        if (type == DT_UNKNOWN) {
            if (fstatat(dirFd, name, &status, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            haveStatus = true;
            type = S_ISDIR(status.st_mode) ? DT_DIR
                : S_ISREG(status.st_mode)  ? DT_REG
                : S_ISLNK(status.st_mode)  ? DT_LNK
                                           : DT_UNKNOWN;
        }
        if (type == DT_DIR) {
            // O_NOFOLLOW: a folder replaced by a link meanwhile is not entered either.
            const int child = openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (child >= 0)
                walkDirectory(child, joined(prefix, name, length) + QLatin1Char('/'), matcher, visit);
            continue;
        }
        if (type != DT_REG && type != DT_LNK)
            continue;
        if (!matcher.matches(name, length))
            continue;
        // A link counts as the file it points to; one to a folder or to nothing is no file.
        if (type == DT_LNK || !haveStatus) {
            if (fstatat(dirFd, name, &status, type == DT_LNK ? 0 : AT_SYMLINK_NOFOLLOW) != 0)
                continue;
        }
        if (!S_ISREG(status.st_mode))
            continue;
        visit(File(joined(prefix, name, length), prefix.size(), modifiedMs(status)));
    }
    closedir(dir);
}

} // namespace
#endif

void forEachFilePortable(const QString &folder, const QStringList &nameFilters, const Visit &visit)
{
    if (folder.isEmpty())
        return;
    // Without QDir::CaseSensitive the filters ignore case; without QDir::Hidden hidden
    // folders are not entered; without FollowSymlinks linked folders are not entered.
    QDirIterator it(folder, nameFilters, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        const QDateTime modified = info.lastModified();
        visit(File(path, path.size() - info.fileName().size(),
                   modified.isValid() ? modified.toMSecsSinceEpoch() : File::noTime));
    }
}

void forEachFile(const QString &folder, const QStringList &nameFilters, const Visit &visit)
{
#ifdef Q_OS_UNIX
    if (folder.isEmpty())
        return;
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    walkDirectory(fd, withSeparator(folder), NameMatcher(nameFilters), visit);
#else
    forEachFilePortable(folder, nameFilters, visit);
#endif
}

QList<File> files(const QString &folder, const QStringList &nameFilters)
{
    QList<File> result;
    forEachFile(folder, nameFilters, [&result](const File &file) { result.append(file); });
    return result;
}

} // namespace FolderWalk
