#include "scanworld.h"

#include "Model/hostbridge.h"
#include "Model/systemdataservice.h"
#include "appfolders.h"
#include "tests/common/modeltexts.h"
#include "tests/common/testfiles.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QFileInfo>

ScanWorld::ScanWorld()
{
    if (!dir.isValid())
        return;
    prefix = std::make_unique<WinePrefixBuilder>(dir.filePath(QStringLiteral("prefix")));
    qputenv("WINEPREFIX", QFile::encodeName(prefix->root()));
    qunsetenv("PROGRAMFILES");
    // Activation looks for ZBrush's window; there is no display to find it on.
    qunsetenv("DISPLAY");
    dataFolder = prefix->publicDocuments() + QStringLiteral("/ZBrushData2021/");
    storeFolder = dataFolder + QStringLiteral("ZPluginData/KIVData/KIVSource");
    zbrush = dir.filePath(QStringLiteral("ZBrush 2021"));
    userFolder = dir.filePath(QStringLiteral("user"));
    program = dir.filePath(QStringLiteral("program"));
    AppFolders::setProgramFolderForTesting(program);
    databasePath = dir.filePath(QStringLiteral("brushes.db"));
    m_valid = QDir().mkpath(dataFolder) && QDir().mkpath(zbrush + QStringLiteral("/ZStartup"))
        && QDir().mkpath(userFolder) && QDir().mkpath(program + QStringLiteral("/Resources"))
        && QFile::copy(QStringLiteral(KIVARA_TEMPLATE_DB), databasePath);
    if (m_valid)
        start();
}

ScanWorld::~ScanWorld()
{
    system.reset();
    database.reset();
    bridge.reset();
    AppFolders::setProgramFolderForTesting(QString());
    qunsetenv("WINEPREFIX");
}

void ScanWorld::start()
{
    bridge = QSharedPointer<HostBridge>::create();
    m_valid = m_valid && bridge->setHostPath(zbrush);
    database = QSharedPointer<DatabaseService>::create(databasePath, QString(), true);
    system = QSharedPointer<SystemDataService>::create(bridge, database, nullptr);
}

void ScanWorld::restart()
{
    system.reset();
    database.reset();
    bridge.reset();
    start();
}

QString ScanWorld::addFile(const QString &root, const QString &relative, const QDateTime &modified)
{
    const QString path = root + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    // Flushed first: a later flush would set the time anew.
    if (!file.open(QIODevice::WriteOnly) || file.write(relative.toUtf8()) < 0 || !file.flush())
        return QString();
    if (modified.isValid() && !file.setFileTime(modified, QFileDevice::FileModificationTime))
        return QString();
    return path;
}

QByteArray ScanWorld::commandFile() const
{
    return TestFiles::read(dataFolder + QStringLiteral("ZPluginData/KIVData/kiv.zvr"));
}

QStringList ScanWorld::names(const QAbstractItemModel *model)
{
    return modelTexts(model, Qt::UserRole + 1);
}
