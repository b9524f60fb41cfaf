#include "catalogscan.h"

#include "Model/databaseservice.h"
#include "appfolders.h"

#include <QFutureWatcher>
#include <QObject>

namespace CatalogScan {

QString storeFolder(const DatabaseService &database)
{
    const QString library = database.readSetting(DatabaseService::LibraryLocation).toString();
    if (library.isEmpty())
        return AppFolders::defaultLibraryFolder();
    return library + QStringLiteral("/KIVSource");
}

QStringList folders(const QString &hostPath, const QStringList &relativeFolders,
                    const DatabaseService &database, const QStringList &locations)
{
    QStringList result;
    result.reserve(relativeFolders.size() + 1 + locations.size());
    for (const QString &relative : relativeFolders)
        result.append(hostPath + relative);
    result.append(storeFolder(database));
    result.append(locations);
    return result;
}

QString scanStamp()
{
    return QDateTime::currentDateTime().toString(Qt::TextDate);
}

void whenFinished(QObject *context, const QFuture<void> &future, std::function<void()> apply)
{
    auto *watcher = new QFutureWatcher<void>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context, [watcher, apply = std::move(apply)] {
        apply();
        watcher->deleteLater();
    });
    watcher->setFuture(future);
}

} // namespace CatalogScan
