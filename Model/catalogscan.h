#pragma once

#include "Model/resource.h"

#include <QDateTime>
#include <QFuture>
#include <QPointer>
#include <QSharedPointer>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class DatabaseService;
class QObject;

// Pieces of a folder scan that the catalogues with extra file facts (brushes,
// alphas) share: their folder list, the merge of a found file with its stored
// record, and handing worker results back to the GUI thread.
namespace CatalogScan {

// Where store products are installed: the LibraryLocation setting followed by
// "/KIVSource", or the default library folder when the setting is empty.
QString storeFolder(const DatabaseService &database);

// The folders a kind scans, in order: the host folder followed directly by each
// relative folder, the store folder, then the user's locations.
QStringList folders(const QString &hostPath, const QStringList &relativeFolders,
                    const DatabaseService &database, const QStringList &locations);

// The current time as scans store it.
QString scanStamp();

// Merges a file with its stored record. Returns the record to store: a new one for
// a file seen for the first time, the stored one with the new path and scan date
// when the file changed since it was scanned; null when nothing is to be written.
template<class Info>
QSharedPointer<Info> recordToStore(const QSharedPointer<Info> &stored, const QString &name,
                                   const QString &path, const QDateTime &lastModified)
{
    if (stored && stored->valid) {
        // An unreadable stored date is older than any file.
        if (!(QDateTime::fromString(stored->scanDate, Qt::TextDate) < lastModified))
            return {};
        stored->path = path;
        stored->scanDate = scanStamp();
        return stored;
    }
    auto fresh = QSharedPointer<Info>::create();
    fresh->valid = true;
    fresh->name = name;
    fresh->path = path;
    fresh->scanDate = scanStamp();
    return fresh;
}

// The objects made from the records, watched while their files are read: a rescan may
// replace and free them meanwhile, and a freed address may come back as another object.
template<class Info>
QVector<QPointer<Resource>> watchObjects(const QList<QSharedPointer<Info>> &records)
{
    QVector<QPointer<Resource>> objects;
    objects.reserve(records.size());
    for (const QSharedPointer<Info> &record : records)
        objects.append(record->resource);
    return objects;
}

// Calls apply on context's thread once future has finished. When context goes
// first, apply is dropped; the work itself runs to its end regardless.
void whenFinished(QObject *context, const QFuture<void> &future, std::function<void()> apply);

} // namespace CatalogScan
