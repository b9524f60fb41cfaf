#pragma once

#include "../folders/wineprefixbuilder.h"
#include "Model/databaseservice.h"

#include <QByteArray>
#include <QDateTime>
#include <QSharedPointer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class HostBridge;
class ResourceDataService;
class SystemDataService;

// A Wine prefix with one ZBrush data folder (holding the default store folder), a
// ZBrush installation, a folder for user locations and a library database, all in
// one temporary folder; the services on them as start-up makes them.
class ScanWorld
{
public:
    ScanWorld();
    ~ScanWorld();

    bool isValid() const { return m_valid; }
    // Creates a file below root (folders as needed); a valid time becomes its
    // last-modified time.
    QString addFile(const QString &root, const QString &relative, const QDateTime &modified = QDateTime());
    // Drops the services and opens the same database again (a program restart).
    void restart();
    // The command file the bridge writes for ZBrush, or empty when none was written.
    QByteArray commandFile() const;

    // Names of a model's rows in row order.
    static QStringList names(const class QAbstractItemModel *model);

    QTemporaryDir dir;
    std::unique_ptr<WinePrefixBuilder> prefix;
    QString zbrush;       // the ZBrush installation
    QString dataFolder;   // its data folder in the public documents, ending in "/"
    QString storeFolder;  // the default store folder
    QString userFolder;   // a place for resource locations
    QString program;      // the program folder, with Resources/
    QString databasePath;
    QSharedPointer<HostBridge> bridge;
    QSharedPointer<DatabaseService> database;
    QSharedPointer<SystemDataService> system;

private:
    void start();
    bool m_valid = false;
};
