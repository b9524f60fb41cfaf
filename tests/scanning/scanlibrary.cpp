#include "scanlibrary.h"

#include "Model/hostbridge.h"
#include "appfolders.h"
#include "tests/common/modeltexts.h"

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

bool ScanLibrary::setModified(const QString &path, const QDateTime &time)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime);
}

void ScanLibrary::sameSecondRows()
{
    QTest::addColumn<int>("offsetMs");
    QTest::addColumn<bool>("changed");
    QTest::newRow("second before") << -1000 << false;
    QTest::newRow("start of the second") << 0 << false;
    QTest::newRow("within the second") << 450 << false;
    QTest::newRow("end of the second") << 999 << false;
    QTest::newRow("next second") << 1000 << true;
}

QSharedPointer<HostBridge> ScanLibrary::hostBridge(QString *commandFile)
{
    const QString prefix = folder(QStringLiteral("prefix"));
    const QString dataFolder = folder(QStringLiteral("prefix/drive_c/users/Public/Documents/ZBrushData2021"));
    *commandFile = dataFolder + QStringLiteral("/ZPluginData/KIVData/kiv.zvr");
    const bool hadPrefix = qEnvironmentVariableIsSet("WINEPREFIX");
    const QByteArray previousPrefix = qgetenv("WINEPREFIX");
    qputenv("WINEPREFIX", QFile::encodeName(prefix));
    // The bridge takes its data folders now and sends its keys nowhere.
    qunsetenv("DISPLAY");
    auto bridge = QSharedPointer<HostBridge>::create();
    if (hadPrefix)
        qputenv("WINEPREFIX", previousPrefix);
    else
        qunsetenv("WINEPREFIX");
    return bridge;
}

QStringList shownNames(const QAbstractItemModel *view, int nameRole)
{
    QStringList names = modelTexts(view, nameRole);
    names.sort();
    return names;
}

int viewRowOf(const QAbstractItemModel *view, int nameRole, const QString &name)
{
    for (int row = 0; row < view->rowCount(); ++row) {
        if (view->index(row, 0).data(nameRole).toString() == name)
            return row;
    }
    return -1;
}
