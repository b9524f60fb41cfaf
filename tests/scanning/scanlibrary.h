#pragma once

#include "Model/databaseservice.h"

class HostBridge;

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
    // A host bridge on one ZBrush data folder in a Wine prefix under the temporary
    // folder, and no X server to send keys to. Commands land in the returned file.
    QSharedPointer<HostBridge> hostBridge(QString *commandFile);
    // What a command file holds after the command word: the name, then the path.
    static QByteArray commandText(const QByteArray &word, const QByteArray &name, const QByteArray &path);

    QTemporaryDir dir;
    QString path;
    QSharedPointer<DatabaseService> database;
};
