#include "Model/archiveextractor.h"

#include "rar/rararchive.h"
#include "rar/rararchivefile.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QFile>
#include <QtDebug>

namespace {

// The archive API's folder flag.
constexpr quint32 DirectoryFlag = 0x20;

bool onlyDotsAndSpaces(const QString &part)
{
    for (const QChar c : part) {
        if (c != QLatin1Char('.') && c != QLatin1Char(' '))
            return false;
    }
    return true;
}

// Makes folders below root and answers whether the folder really is below it
// once links are resolved. Each folder is checked once.
class FolderGuard
{
public:
    explicit FolderGuard(const QString &root)
        : m_root(QFileInfo(root).canonicalFilePath())
    {
    }

    bool ensure(const QString &folder)
    {
        const auto known = m_checked.constFind(folder);
        if (known != m_checked.constEnd())
            return known.value();
        bool ok = !m_root.isEmpty() && QDir().mkpath(folder);
        if (ok) {
            const QString canonical = QFileInfo(folder).canonicalFilePath();
            ok = canonical == m_root || canonical.startsWith(m_root + QLatin1Char('/'));
        }
        m_checked.insert(folder, ok);
        return ok;
    }

private:
    QString m_root;
    QHash<QString, bool> m_checked;
};

// A pack writes thousands of small files: a save file's flush to disk per file
// would cost more than all the rest. A file that cannot be written in full is
// removed rather than left cut short.
bool writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size() && file.flush()) {
        file.close();
        if (file.error() == QFileDevice::NoError)
            return true;
    }
    qWarning().noquote() << "Cannot write" << path << ":" << file.errorString();
    if (file.isOpen())
        file.close();
    if (QFileInfo(path).isFile())
        QFile::remove(path);
    return false;
}

} // namespace

QString ArchiveExtractor::safeRelativePath(const QString &memberName)
{
    if (memberName.isEmpty() || memberName.startsWith(QLatin1Char('/')) || memberName.startsWith(QLatin1Char('\\')))
        return QString();
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    if (drive.match(memberName).hasMatch())
        return QString();
    static const QRegularExpression separators(QStringLiteral("[/\\\\]"));
    QStringList kept;
    for (const QString &part : memberName.split(separators, Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        // Windows drops trailing dots and spaces, so ". ." is ".." there; a colon
        // names a drive or a data stream.
        if (onlyDotsAndSpaces(part) || part.contains(QLatin1Char(':')) || part.contains(QChar(0)))
            return QString();
        kept.append(part);
    }
    return kept.join(QLatin1Char('/'));
}

QString ArchiveExtractor::safeFolderName(const QString &name)
{
    QString folder = name;
    for (QChar &c : folder) {
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    }
    folder = folder.trimmed();
    if (!folder.isEmpty() && onlyDotsAndSpaces(folder))
        folder = QStringLiteral("_");
    return folder;
}

ArchiveExtractor::Result ArchiveExtractor::extract(const QString &archivePath, const QString &destination,
                                                   const Progress &progress)
{
    Result result;
    RarArchive archive(archivePath);
    if (!archive.open(RarArchive::OpenModeExtract)) {
        qWarning().noquote() << "Cannot open the downloaded archive" << archivePath << "error" << archive.error();
        return result;
    }
    result.opened = true;
    const QList<RarFileInfo> members = archive.fileInfoList();
    result.members = members.size();

    FolderGuard guard(destination);
    // One device for all members: it reads on from where the last one ended.
    RarArchiveFile device(&archive);
    int done = 0;
    for (const RarFileInfo &member : members) {
        const QString relative = safeRelativePath(member.fileName);
        const QString target = destination + QLatin1Char('/') + relative;
        const bool directory = member.flags & DirectoryFlag;
        if (relative.isEmpty()) {
            qWarning().noquote() << "Refusing archive member" << member.fileName << "of" << archivePath
                                 << ": it would be written outside" << destination;
            ++result.failed;
        } else if (directory) {
            if (!guard.ensure(target)) {
                qWarning().noquote() << "Cannot create the folder" << target;
                ++result.failed;
            }
        } else if (!guard.ensure(QFileInfo(target).absolutePath())) {
            qWarning().noquote() << "Cannot create the folder for" << target;
            ++result.failed;
        } else {
            device.setFileName(member.fileName, Qt::CaseSensitive);
            if (!device.open(QIODevice::ReadOnly)) {
                qWarning().noquote() << "Cannot read archive member" << member.fileName << "error" << device.error();
                ++result.failed;
            } else {
                const QByteArray data = device.readAll();
                device.close();
                if (writeFile(target, data)) {
                    ++result.written;
                } else {
                    ++result.failed;
                }
            }
        }
        ++done;
        if (progress)
            progress(done, result.members);
    }
    return result;
}
