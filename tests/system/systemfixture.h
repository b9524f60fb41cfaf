#pragma once

#include "../folders/wineprefixbuilder.h"
#include "Model/databaseservice.h"
#include "Model/hostbridge.h"
#include "Model/systemdataservice.h"
#include "Model/zuicolor.h"

#include <QByteArray>
#include <QSharedPointer>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

// A machine for the system service: a Wine prefix with one ZBrush data folder
// (ZBrushData2021), a ZBrush installation "ZBrush 2021" with its ZStartup folder,
// the program's Resources with the script plug-in and Dirtool, and a library
// database copied from the template. start() builds the services on it the way
// start-up does; restart() drops them and builds them again on the same files.
class SystemFixture
{
public:
    SystemFixture();
    ~SystemFixture();

    bool isValid() const { return m_valid; }

    void start();
    void restart();
    void stop();

    // Writes a setting straight into the database before start().
    void storeSetting(DatabaseService::SettingKey key, const QVariant &value);
    QVariant storedSetting(DatabaseService::SettingKey key) const;

    QString path(const QString &relative) const { return dir.filePath(relative); }
    QString dataFolder() const;
    QString zbrushFolder() const { return path(QStringLiteral("ZBrush 2021")); }
    // The library when LibraryLocation is not stored.
    QString defaultLibrary() const;
    // The kiv.zvr the bridge writes into the data folder.
    QByteArray commandFile() const;
    // The plug-in files as installed into zbrushFolder().
    QString installedScript() const;
    QString installedLibrary() const;
    void installCurrentPlugin();


    QTemporaryDir dir;
    std::unique_ptr<WinePrefixBuilder> prefix;
    QString databasePath;
    QSharedPointer<HostBridge> bridge;
    QSharedPointer<DatabaseService> database;
    QSharedPointer<ZUiColor> colors;
    QSharedPointer<SystemDataService> system;

private:
    bool m_valid = false;
};
