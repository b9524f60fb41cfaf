#pragma once

#include "Model/databaseservice.h"
#include "Model/resource.h"
#include "Model/resourcedataservice.h"
#include "Model/systemdataservice.h"

#include <QSharedPointer>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A catalogue whose "files" are a list of names: it merges them with the stored
// records like a scanning catalogue does, without touching the disk.
class TestCatalogue : public ResourceDataService
{
    Q_OBJECT

public:
    TestCatalogue(QSharedPointer<DatabaseService> database, DatabaseService::ResourceType kind,
                  QSharedPointer<SystemDataService> system, const QStringList &files);

    void setup() override;
    void scanAll() override;
    void scanLocation(const QString &folder) override;

    // The kind word of the resources it makes.
    QString kindWord() const;
    void addFile(const QString &name);
    void removeFile(const QString &name);
    Resource *resource(const QString &name) const;
    int rowOfName(const QString &name) const;
    // Source rows changed since the last call, in signal order.
    QList<int> takeChangedRows();

    QStringList files;
    QStringList scannedLocations;
    int fullScans = 0;

private:
    QList<int> m_changedRows;
};

// A library database file and the services on it; restart() drops them all and
// opens the same file again.
struct Library
{
    explicit Library(const QStringList &files = {},
                     DatabaseService::ResourceType kind = DatabaseService::Material);
    ~Library();

    void start();
    void restart();

    QTemporaryDir dir;
    QString path;
    QStringList files;
    DatabaseService::ResourceType kind;
    QSharedPointer<DatabaseService> database;
    QSharedPointer<SystemDataService> system;
    std::unique_ptr<TestCatalogue> catalogue;
};
