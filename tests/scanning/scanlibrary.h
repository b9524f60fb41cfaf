#pragma once

#include "Model/databaseservice.h"

#include <QByteArray>
#include <QSharedPointer>
#include <QString>
#include <QTemporaryDir>

// A library database copied from the pristine template, a program folder and room
// for resource folders, all in one temporary folder. The store folder points into
// it too, so that no scan leaves it.
struct ScanLibrary
{
    ScanLibrary();
    ~ScanLibrary();

    // Drops the database service and opens the same file again, as a restart does.
    void reopen();
    // A folder under the temporary folder, created with its parents.
    QString folder(const QString &relative) const;
    QString programFolder() const { return dir.filePath(QStringLiteral("program")); }
    // The URL text that the interface hands to addResourceLocation.
    static QString locationUrl(const QString &folder);
    static bool writeFile(const QString &path, const QByteArray &bytes);

    QTemporaryDir dir;
    QString path;
    QSharedPointer<DatabaseService> database;
};
