#include "scanlibrary.h"

#include "appfolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

ScanLibrary::ScanLibrary()
{
    path = dir.filePath(QStringLiteral("brushes.db"));
    if (!QFile::copy(QStringLiteral(KIVARA_TEMPLATE_DB), path))
        qFatal("cannot copy the template database %s", KIVARA_TEMPLATE_DB);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    AppFolders::setProgramFolderForTesting(programFolder());
    database = QSharedPointer<DatabaseService>::create(path, QString(), true);
    database->writeSetting(DatabaseService::LibraryLocation, folder(QStringLiteral("library")));
}

ScanLibrary::~ScanLibrary()
{
    database.reset();
    AppFolders::setProgramFolderForTesting(QString());
}

void ScanLibrary::reopen()
{
    database.reset();
    database = QSharedPointer<DatabaseService>::create(path, QString(), true);
}

QString ScanLibrary::folder(const QString &relative) const
{
    const QString result = dir.filePath(relative);
    QDir().mkpath(result);
    return result;
}

QString ScanLibrary::locationUrl(const QString &folder)
{
    return QUrl::fromLocalFile(folder).toString();
}

bool ScanLibrary::writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
