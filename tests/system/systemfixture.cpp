#include "systemfixture.h"
#include "tests/common/testfiles.h"

#include "appfolders.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

SystemFixture::SystemFixture()
{
    if (!dir.isValid())
        return;
    prefix = std::make_unique<WinePrefixBuilder>(path(QStringLiteral("prefix")));
    qputenv("WINEPREFIX", QFile::encodeName(prefix->root()));
    qunsetenv("PROGRAMFILES");
    const QString program = path(QStringLiteral("program"));
    AppFolders::setProgramFolderForTesting(program);
    databasePath = path(QStringLiteral("brushes.db"));
    m_valid = QDir().mkpath(dataFolder()) && QDir().mkpath(zbrushFolder() + QStringLiteral("/ZStartup"))
        && TestFiles::write(program + QStringLiteral("/Resources/kiv.zsc"), "shipped script")
        && TestFiles::write(program + QStringLiteral("/Resources/Dirtool64.dll"), "shipped library")
        && QFile::copy(QStringLiteral(KIVARA_TEMPLATE_DB), databasePath)
        && QFile::setPermissions(databasePath, QFile::ReadOwner | QFile::WriteOwner);
}

SystemFixture::~SystemFixture()
{
    stop();
    AppFolders::setProgramFolderForTesting(QString());
    qunsetenv("WINEPREFIX");
}

void SystemFixture::start()
{
    bridge = QSharedPointer<HostBridge>::create();
    database = QSharedPointer<DatabaseService>::create(databasePath, QString(), true);
    colors = QSharedPointer<ZUiColor>::create(bridge->newestUiColorsFile());
    system = QSharedPointer<SystemDataService>::create(bridge, database, colors);
}

void SystemFixture::restart()
{
    stop();
    start();
}

void SystemFixture::stop()
{
    system.reset();
    colors.reset();
    database.reset();
    bridge.reset();
}

void SystemFixture::storeSetting(DatabaseService::SettingKey key, const QVariant &value)
{
    DatabaseService(databasePath, QStringLiteral("fixture")).writeSetting(key, value);
}

QVariant SystemFixture::storedSetting(DatabaseService::SettingKey key) const
{
    return DatabaseService(databasePath, QStringLiteral("fixture")).readSetting(key);
}

QString SystemFixture::dataFolder() const
{
    return prefix->publicDocuments() + QStringLiteral("/ZBrushData2021/");
}

QString SystemFixture::defaultLibrary() const
{
    return dataFolder() + QStringLiteral("ZPluginData/KIVData/KIVSource");
}

QByteArray SystemFixture::commandFile() const
{
    return TestFiles::read(dataFolder() + QStringLiteral("/ZPluginData/KIVData/kiv.zvr"));
}

QString SystemFixture::installedScript() const
{
    return zbrushFolder() + QStringLiteral("/ZStartup/ZPlugs64/kiv.zsc");
}

QString SystemFixture::installedLibrary() const
{
    return zbrushFolder() + QStringLiteral("/ZStartup/ZPlugs64/KIVData/Dirtool64.dll");
}

void SystemFixture::installCurrentPlugin()
{
    TestFiles::write(installedScript(), "shipped script");
    TestFiles::write(installedLibrary(), "shipped library");
    // Installed after the shipped copy was made: current.
    QFile script(installedScript());
    if (script.open(QIODevice::ReadWrite))
        script.setFileTime(QFileInfo(AppFolders::scriptPluginSource()).lastModified().addSecs(60),
                           QFileDevice::FileModificationTime);
}
