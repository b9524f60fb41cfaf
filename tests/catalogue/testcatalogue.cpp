#include "testcatalogue.h"

#include "Model/favoriteset.h"

#include <QDateTime>
#include <QFile>
#include <QTest>

TestCatalogue::TestCatalogue(QSharedPointer<DatabaseService> database, DatabaseService::ResourceType kind,
                             QSharedPointer<SystemDataService> system, const QStringList &files)
    : ResourceDataService({}, std::move(database), kind, Qt::UserRole + 1, std::move(system))
    , files(files)
{
    connect(this, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &from, const QModelIndex &to) {
                for (int row = from.row(); row <= to.row(); ++row)
                    m_changedRows.append(row);
            });
}

void TestCatalogue::setup()
{
    ResourceDataService::setup();
    scanAll();
    loadTags();
    setLoaded(true);
}

void TestCatalogue::scanAll()
{
    ++fullScans;
    clearItems();
    const QStringList names = files;
    for (const QString &name : names)
        addFile(name);
}

void TestCatalogue::scanLocation(const QString &folder)
{
    scannedLocations.append(folder);
}

QString TestCatalogue::kindWord() const
{
    return DatabaseService::kindWord(kind());
}

void TestCatalogue::addFile(const QString &name)
{
    if (nameIndex.contains(name))
        return;
    const auto records = database->readResources(kind());
    auto resource = QSharedPointer<Resource>::create(name, QStringLiteral("/library/%1.zmt").arg(name), kindWord());
    if (const auto record = records.value(name)) {
        applyStoredRecord(*resource, *record);
    } else {
        auto fresh = QSharedPointer<ResourceInfo>::create();
        fresh->valid = true;
        fresh->name = name;
        fresh->path = resource->path();
        fresh->scanDate = QDateTime::currentDateTime().toString(Qt::TextDate);
        database->saveResources({fresh}, kind());
    }
    beginInsertRows(QModelIndex(), items.size(), items.size());
    nameIndex.insert(name);
    items.append(resource);
    endInsertRows();
}

void TestCatalogue::removeFile(const QString &name)
{
    const int row = rowOfName(name);
    if (row < 0)
        return;
    beginRemoveRows(QModelIndex(), row, row);
    nameIndex.remove(name);
    items.removeAt(row);
    endRemoveRows();
}

Resource *TestCatalogue::resource(const QString &name) const
{
    const int row = rowOfName(name);
    return row < 0 ? nullptr : items.at(row).data();
}

int TestCatalogue::rowOfName(const QString &name) const
{
    for (int row = 0; row < items.size(); ++row) {
        if (items.at(row)->name() == name)
            return row;
    }
    return -1;
}

QList<int> TestCatalogue::takeChangedRows()
{
    return std::exchange(m_changedRows, {});
}

Library::Library(const QStringList &files, DatabaseService::ResourceType kind)
    : files(files)
    , kind(kind)
{
    path = dir.filePath(QStringLiteral("brushes.db"));
    if (!QFile::copy(QStringLiteral(KIVARA_TEMPLATE_DB), path))
        qFatal("cannot copy the template database %s", KIVARA_TEMPLATE_DB);
    start();
}

Library::~Library()
{
    catalogue.reset();
    system.reset();
    database.reset();
}

void Library::start()
{
    database = QSharedPointer<DatabaseService>::create(path, QString(), true);
    system = QSharedPointer<SystemDataService>::create(nullptr, database, nullptr);
    catalogue = std::make_unique<TestCatalogue>(database, kind, system, files);
    // As start-up wires every catalogue to the system service.
    QObject::connect(system.data(), &SystemDataService::favoriteResourceAdded, catalogue.get(),
                     &ResourceDataService::onLoadFavorite);
    QObject::connect(system.data(), &SystemDataService::favoriteSetActivated, catalogue.get(),
                     &ResourceDataService::onFavoriteSetActivated);
    catalogue->setSetupOk(true);
    system->loadFavorites();
}

void Library::restart()
{
    catalogue.reset();
    system.reset();
    database.reset();
    start();
}
