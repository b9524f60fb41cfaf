#pragma once

#include "Model/databaseservice.h"
#include "tests/common/resourcerecord.h"
#include "tests/common/testfiles.h"

class HostBridge;

#include <QAbstractItemModelTester>
#include <QByteArray>
#include <QDateTime>
#include <QSharedPointer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

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
    static bool setModified(const QString &path, const QDateTime &time);
    // The offsets from a stored scan date that a file's time is set to, and whether the
    // next scan then takes the file as changed: stored dates have whole seconds, so any
    // time within the second of the date is not newer than it.
    static void sameSecondRows();
    // A valid record of the file at path as scanned at a fixed date, the file's time set
    // offsetMs after that date; null when the time cannot be set.
    template<class Info>
    static QSharedPointer<Info> scannedRecord(const QString &name, const QString &path, int offsetMs)
    {
        const QDateTime scanned(QDate(2024, 3, 5), QTime(10, 20, 30));
        if (!setModified(path, scanned.addMSecs(offsetMs)))
            return {};
        return resourceRecord<Info>(name, path, scanned.toString(Qt::TextDate));
    }
    // A host bridge on one ZBrush data folder in a Wine prefix under the temporary
    // folder, and no X server to send keys to. Commands land in the returned file.
    QSharedPointer<HostBridge> hostBridge(QString *commandFile);

    QTemporaryDir dir;
    QString path;
    QSharedPointer<DatabaseService> database;
};

// A brush or alpha catalogue on a library, watched by model testers.
template<class Service>
struct CatalogueUnderTest
{
    std::unique_ptr<Service> service;
    std::unique_ptr<QAbstractItemModelTester> sourceTester;
    std::unique_ptr<QAbstractItemModelTester> viewTester;

    Service *operator->() const { return service.get(); }
    QAbstractItemModel *view() const { return service->model(); }

    // Stores the locations, sets the catalogue up; true once its files are read.
    bool start(ScanLibrary &library, DatabaseService::ResourceType kind, const QStringList &locations = {})
    {
        for (const QString &location : locations)
            library.database->insertFolder(location, kind);
        viewTester.reset();
        sourceTester.reset();
        service = std::make_unique<Service>(nullptr, library.database, true, nullptr);
        sourceTester = std::make_unique<QAbstractItemModelTester>(service.get());
        viewTester = std::make_unique<QAbstractItemModelTester>(service->model());
        return settle();
    }
    bool settle() const
    {
        const Service *watched = service.get();
        return QTest::qWaitFor([watched] { return watched->pendingReads() == 0; }, 20000);
    }
    void stop()
    {
        viewTester.reset();
        sourceTester.reset();
        service.reset();
    }
};

// The names a view shows, sorted.
QStringList shownNames(const QAbstractItemModel *view, int nameRole);
// The view row showing that name, or -1.
int viewRowOf(const QAbstractItemModel *view, int nameRole, const QString &name);
