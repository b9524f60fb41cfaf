#include "resourcedataservice.h"

#include "Model/favoriteset.h"
#include "Model/hostbridge.h"
#include "Model/recordreader.h"
#include "Model/resource.h"
#include "Model/resourceroles.h"
#include "Model/systemdataservice.h"
#include "sorters/categoryfilter.h"
#include "sorters/resourcesorter.h"
#include "appfolders.h"

#include <QDateTime>
#include <QDir>
#include <QFutureWatcher>
#include <QHash>
#include <QPointer>
#include <QRegularExpression>
#include <QUrl>

using ResourceRoles::GenericRole;

namespace {

// A stored scan date, in UTC, and the first moment after its second in milliseconds
// since the epoch.
struct ScanDate
{
    QDateTime date;
    qint64 endMs = 0;
};

// The records of a scan share a few date texts, and reading one goes through the local
// time zone, which costs more than the rest of a file's merge: each text is read once.
const ScanDate &parseScanDate(const QString &text)
{
    static thread_local QHash<QString, ScanDate> known;
    auto found = known.constFind(text);
    if (found != known.constEnd())
        return *found;
    if (known.size() >= 4096)
        known.clear();
    ScanDate parsed;
    parsed.date = QDateTime::fromString(text, Qt::TextDate).toUTC();
    if (parsed.date.isValid())
        parsed.endMs = parsed.date.toMSecsSinceEpoch() + 1000;
    return *known.insert(text, parsed);
}

// The list an object made from a stored list shows (as applyStoredRecord adds them):
// each text once, and for categories without "All", which stands for none. Rows mostly
// share their lists, so the last one is kept.
class ShownList
{
public:
    explicit ShownList(bool categories)
        : m_categories(categories)
    {
    }

    const QStringList &of(const QStringList &stored)
    {
        if (!m_known || !stored.isSharedWith(m_stored)) {
            m_stored = stored;
            m_shown.clear();
            for (const QString &text : stored) {
                if ((m_categories && text == QLatin1String(ResourceDataService::allCategory)) || m_shown.contains(text))
                    continue;
                m_shown.append(text);
            }
            m_known = true;
        }
        return m_shown;
    }

private:
    bool m_categories;
    bool m_known = false;
    QStringList m_stored;
    QStringList m_shown;
};

bool sameTime(const QDateTime &a, const QDateTime &b)
{
    return a.isValid() == b.isValid() && (!a.isValid() || a == b);
}

} // namespace

ResourceDataService::ResourceDataService(QSharedPointer<HostBridge> hostBridge,
                                         QSharedPointer<DatabaseService> database,
                                         DatabaseService::ResourceType kind, int nameRole,
                                         QSharedPointer<SystemDataService> systemService, QObject *parent)
    : QAbstractListModel(parent)
    , hostBridge(std::move(hostBridge))
    , database(std::move(database))
    , systemService(std::move(systemService))
    , m_kind(kind)
    , m_nameRole(nameRole)
    , m_resourceLocations(new QStringListModel(this))
    , m_categories(new QStringListModel(this))
    , m_filteredCategories(new CategoryFilter(m_categories, this))
    , m_tags(new QStringListModel(this))
{
    m_proxy = QSharedPointer<ResourceSorter>::create(this);
}

// The proxy goes before the rows it maps.
ResourceDataService::~ResourceDataService()
{
    m_proxy.reset();
}

int ResourceDataService::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : items.size();
}

QVariant ResourceDataService::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= items.size())
        return {};
    const Resource &resource = *items.at(index.row());
    switch (role) {
    case GenericRole::Name:
        return resource.name();
    case GenericRole::Path:
        return resource.path();
    case GenericRole::Favorite:
        return resource.favorite();
    case GenericRole::Categories:
        return resource.categories();
    case GenericRole::Description:
        return resource.description();
    case GenericRole::Tags:
        return resource.tags();
    case GenericRole::IconPath:
        return resource.iconPath();
    case GenericRole::LastModified:
        return resource.lastModified();
    case GenericRole::LastModifiedDisplay:
        return ResourceRoles::lastModifiedDisplay(resource.lastModified());
    default:
        return {};
    }
}

bool ResourceDataService::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.row() < 0 || index.row() >= items.size())
        return false;
    Resource &resource = *items.at(index.row());
    switch (role) {
    case GenericRole::Name:
        resource.setName(value.toString());
        break;
    case GenericRole::Path:
        resource.setPath(value.toString());
        break;
    case GenericRole::Favorite:
        resource.setFavorite(value.toBool());
        break;
    case GenericRole::Description:
        resource.setDescription(value.toString());
        database->setResourceDescription(resource.name(), resource.description(), m_kind);
        break;
    default:
        return false;
    }
    emitRowChanged(index.row());
    return true;
}

QHash<int, QByteArray> ResourceDataService::roleNames() const
{
    return {
        {GenericRole::Name, "name"},
        {GenericRole::Path, "path"},
        {GenericRole::Favorite, "favorite"},
        {GenericRole::Categories, "categories"},
        {GenericRole::Description, "description"},
        {GenericRole::Tags, "tags"},
        {GenericRole::IconPath, "iconPath"},
        {GenericRole::LastModified, "lastModified"},
        {GenericRole::LastModifiedDisplay, "lastModifiedDisplay"},
    };
}

void ResourceDataService::activateResource(const QString &name, const QString &path)
{
    Q_UNUSED(name)
    Q_UNUSED(path)
}

void ResourceDataService::scanLocation(const QString &folder)
{
    Q_UNUSED(folder)
}

void ResourceDataService::scanAll()
{
}

void ResourceDataService::setup()
{
    loadCategories();
    loadResourceLocations();
}

QAbstractItemModel *ResourceDataService::model() const
{
    return m_proxy.data();
}

QObject *ResourceDataService::selectedItem() const
{
    return m_selectedItem.data();
}

QAbstractItemModel *ResourceDataService::filteredCategories() const
{
    return m_filteredCategories;
}

void ResourceDataService::setSetupOk(bool setupOk)
{
    m_setupOk = setupOk;
    if (setupOk && !m_loaded)
        setup();
    emit setupOkChanged();
}

void ResourceDataService::setProxy(QSharedPointer<ResourceSorter> proxy)
{
    m_proxy = std::move(proxy);
    if (m_proxy && m_proxy->sourceModel() != this)
        m_proxy->setSourceModel(this);
    emit modelChanged();
}

int ResourceDataService::sourceRow(int index) const
{
    if (!m_proxy || index < 0)
        return -1;
    const QModelIndex proxyIndex = m_proxy->index(index, 0);
    if (!proxyIndex.isValid())
        return -1;
    const int row = m_proxy->mapToSource(proxyIndex).row();
    return row >= 0 && row < items.size() ? row : -1;
}

int ResourceDataService::rowOf(const QObject *resource) const
{
    if (!resource)
        return -1;
    for (int row = 0; row < items.size(); ++row) {
        if (items.at(row).data() == resource)
            return row;
    }
    return -1;
}

void ResourceDataService::emitRowChanged(int row)
{
    // Rows of a full scan in progress are not announced yet.
    if (m_fullScan || row < 0 || row >= items.size())
        return;
    const QModelIndex changed = index(row, 0);
    emit dataChanged(changed, changed);
}

void ResourceDataService::refreshAllRows()
{
    if (m_fullScan || items.isEmpty())
        return;
    emit dataChanged(index(0, 0), index(items.size() - 1, 0));
}

void ResourceDataService::beginFullScan()
{
    beginResetModel();
    m_fullScan = true;
    // A rescan mostly finds what the last one found: room for as many from the start.
    const int expected = items.size();
    nameIndex.clear();
    nameIndex.reserve(expected);
    items.clear();
    items.reserve(expected);
}

void ResourceDataService::endFullScan()
{
    m_fullScan = false;
    endResetModel();
}

void ResourceDataService::clearItems()
{
    beginFullScan();
    endFullScan();
}

QSharedPointer<Resource> ResourceDataService::resourceAt(int index) const
{
    const int row = sourceRow(index);
    return row < 0 ? QSharedPointer<Resource>() : items.at(row);
}

std::function<bool(const QString &)> ResourceDataService::namePredicate()
{
    QPointer<ResourceDataService> self(this);
    return [self](const QString &name) { return self && self->containsName(name); };
}

std::function<void(const QString &)> ResourceDataService::folderAction()
{
    QPointer<ResourceDataService> self(this);
    return [self](const QString &folder) {
        if (self)
            self->scanLocation(folder);
    };
}

int ResourceDataService::rowOfText(const QStringListModel *model, const QString &text)
{
    return model->stringList().indexOf(text);
}

void ResourceDataService::appendText(QStringListModel *model, const QString &text)
{
    const int row = model->rowCount();
    model->insertRows(row, 1);
    model->setData(model->index(row, 0), text);
}

// Set-up -------------------------------------------------------------------------------

// The list models keep their identity across set-ups so that views bound to them
// stay valid; their contents are replaced and announced.
void ResourceDataService::loadCategories()
{
    m_categories->setStringList({});
    addCategory(QString::fromLatin1(allCategory), false);
    addCategory(QString::fromLatin1(unassignedCategory), false);
    const QStringList stored = database->readCategories(m_kind);
    for (const QString &name : stored)
        addCategory(name, false);
    emit categoriesModelChanged();
}

void ResourceDataService::loadResourceLocations()
{
    m_resourceLocations->setStringList(database->readFolders(m_kind));
    emit resourceLocationsChanged();
}

void ResourceDataService::applyStoredRecord(Resource &resource, const ResourceInfo &record)
{
    resource.setDescription(record.description);
    for (const QString &category : record.categories) {
        // An empty list is stored as "All": that is no category, not one named "All".
        if (category != QLatin1String(allCategory))
            resource.addCategory(category);
    }
    resource.setReadOnly(record.readOnly);
    resource.setScanDate(parseScanDate(record.scanDate).date);
    for (const QString &tag : record.tags)
        resource.addTag(tag);
}

// Scans -------------------------------------------------------------------------------

QString ResourceDataService::scanStamp()
{
    return QDateTime::currentDateTime().toString(Qt::TextDate);
}

QString ResourceDataService::storeFolder() const
{
    const QString library = database->readSetting(DatabaseService::LibraryLocation).toString();
    return library.isEmpty() ? AppFolders::defaultLibraryFolder() : library + QStringLiteral("/KIVSource");
}

QStringList ResourceDataService::scanFolders(const QStringList &hostSubFolders) const
{
    // Plain concatenation: without a ZBrush folder these become "/ZTools" and the like,
    // which normally do not exist.
    const QString host = hostBridge ? hostBridge->hostPath() : QString();
    QStringList folders;
    for (const QString &sub : hostSubFolders)
        folders << host + sub;
    folders << storeFolder();
    folders << m_resourceLocations->stringList();
    return folders;
}

bool ResourceDataService::mergeScannedRecord(Resource &resource, ResourceInfo &record, const QString &scanDate)
{
    if (!record.valid) {
        record.valid = true;
        record.name = resource.name();
        record.path = resource.path();
        record.scanDate = scanDate;
        return true;
    }
    applyStoredRecord(resource, record);
    // The stored date has whole seconds; a file written in the second of its scan is
    // not newer than that scan. A resource without a file time (the built-in alpha)
    // never counts as changed.
    const ScanDate &scanned = parseScanDate(record.scanDate);
    const QDateTime &modified = resource.lastModified();
    if (scanned.date.isValid() && (!modified.isValid() || modified.toMSecsSinceEpoch() < scanned.endMs))
        return false;
    record.path = resource.path();
    record.scanDate = scanDate;
    return true;
}

bool ResourceDataService::compareStoredRows(QVector<StoredState> &states,
                                            QVector<QPair<int, QDateTime>> &dates) const
{
    const std::unique_ptr<RecordReader> rows = database->readResourceRows(m_kind);
    if (!rows)
        return false;
    ShownList categories(true);
    ShownList tags(false);
    // Rows are stored in the order scans first found their files, which is mostly the
    // order of the objects: the next object is tried before the names are looked up.
    QHash<QString, int> rowOfName;
    int next = 0;
    int seen = 0;
    QString lastDateText;
    ScanDate scanned;
    bool haveDate = false;
    while (rows->nextRow()) {
        int row = -1;
        if (next < items.size() && rows->nameIs(items.at(next)->name())) {
            row = next++;
        } else {
            if (rowOfName.isEmpty()) {
                rowOfName.reserve(items.size());
                for (int i = 0; i < items.size(); ++i)
                    rowOfName.insert(items.at(i)->name(), i);
            }
            row = rowOfName.value(rows->name(), -1);
            if (row < 0)
                continue; // a row whose file is gone
            next = row + 1;
        }
        const Resource &resource = *items.at(row);
        if (!rows->descriptionIs(resource.description()) || rows->readOnly() != resource.readOnly()
            || categories.of(rows->categories()) != resource.categories()
            || tags.of(rows->tags()) != resource.tags())
            return false;
        // Rows of one scan share their date text.
        const QString &dateText = rows->scanDate();
        if (!haveDate || !dateText.isSharedWith(lastDateText)) {
            lastDateText = dateText;
            scanned = parseScanDate(dateText);
            haveDate = true;
        }
        if (!sameTime(scanned.date, resource.scanDate()))
            dates.append({row, scanned.date});
        StoredState &state = states[row];
        seen += state.seen ? 0 : 1;
        state.seen = true;
        state.dated = scanned.date.isValid();
        state.endMs = scanned.endMs;
    }
    return seen == items.size();
}

void ResourceDataService::emitRowsChanged(const QVector<int> &rows, const QVector<int> &roles)
{
    for (int i = 0; i < rows.size();) {
        int last = i;
        while (last + 1 < rows.size() && rows.at(last + 1) == rows.at(last) + 1)
            ++last;
        emit dataChanged(index(rows.at(i), 0), index(rows.at(last), 0), roles);
        i = last + 1;
    }
}

bool ResourceDataService::claimName(const QString &name)
{
    if (nameIndex.contains(name))
        return false;
    nameIndex.insert(name);
    return true;
}

void ResourceDataService::appendScanned(const QVector<QSharedPointer<Resource>> &resources)
{
    if (resources.isEmpty())
        return;
    if (m_fullScan) {
        items += resources;
        return;
    }
    beginInsertRows(QModelIndex(), items.size(), items.size() + resources.size() - 1);
    items.append(resources);
    endInsertRows();
}

void ResourceDataService::whenFinished(const QFuture<void> &future, std::function<void()> apply)
{
    auto *watcher = new QFutureWatcher<void>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [watcher, apply = std::move(apply)] {
        apply();
        watcher->deleteLater();
    });
    watcher->setFuture(future);
}

void ResourceDataService::loadTags()
{
    m_tags->setStringList({});
    for (const QSharedPointer<Resource> &resource : qAsConst(items)) {
        const QStringList tags = resource->tags();
        for (const QString &tag : tags)
            addTag(tag);
    }
    emit tagsChanged();
}

// Selection and filters ----------------------------------------------------------------

int ResourceDataService::getIndexForItem(QObject *item) const
{
    const int row = rowOf(item);
    if (row < 0 || !m_proxy)
        return -1;
    return m_proxy->mapFromSource(index(row, 0)).row();
}

void ResourceDataService::setSelectedItem(int index)
{
    if (index < 0) {
        m_selectedItem.reset();
    } else {
        QSharedPointer<Resource> resource = resourceAt(index);
        if (!resource)
            return;
        m_selectedItem = std::move(resource);
    }
    emit selectedItemChanged();
}

void ResourceDataService::resetAllFilters()
{
    if (m_proxy)
        m_proxy->resetFilters();
}

void ResourceDataService::filterResourcesByName(const QString &filter)
{
    if (!m_proxy)
        return;
    m_proxy->setFilterRole(m_nameRole);
    const QRegularExpression expression(filter, QRegularExpression::CaseInsensitiveOption);
    if (expression.isValid())
        m_proxy->setFilterRegularExpression(expression);
}

void ResourceDataService::filterByCategory(const QString &category)
{
    if (!m_proxy)
        return;
    if (category == QLatin1String(allCategory))
        m_proxy->setCategoryFilter(category, true, false);
    else if (category == QLatin1String(unassignedCategory))
        m_proxy->setCategoryFilter(category, false, true);
    else
        m_proxy->setCategoryFilter(category, false, false);
}

void ResourceDataService::addTagFilter(const QString &tag)
{
    if (tag.isEmpty() || !m_proxy)
        return;
    m_proxy->addTagFilter(tag);
    m_tagFilters.append(tag);
}

void ResourceDataService::removeTagFilter(const QString &tag)
{
    if (m_proxy)
        m_proxy->removeTagFilter(tag);
    m_tagFilters.removeAll(tag);
}

bool ResourceDataService::hasTagFilter(const QString &tag) const
{
    return m_tagFilters.contains(tag);
}

// Favourites ---------------------------------------------------------------------------

void ResourceDataService::onLoadFavorite(FavoriteSet *set, const DatabaseService::Favorite &info)
{
    if (!set || std::get<1>(info) != m_kind)
        return;
    const QString &name = std::get<0>(info);
    for (const QSharedPointer<Resource> &resource : qAsConst(items)) {
        if (resource->name() == name) {
            set->addFavorite(resource.data(), -1);
            return;
        }
    }
}

void ResourceDataService::onFavoriteSetActivated(FavoriteSet *oldSet, FavoriteSet *currentSet)
{
    if (!oldSet || !currentSet)
        return;
    QHash<const QObject *, int> rows;
    rows.reserve(items.size());
    for (int row = 0; row < items.size(); ++row)
        rows.insert(items.at(row).data(), row);
    const auto mark = [&](FavoriteSet *set, bool favorite) {
        const QList<Resource *> members = set->members();
        for (Resource *member : members) {
            const int row = rows.value(member, -1);
            if (row < 0)
                continue;
            member->setFavorite(favorite);
            emitRowChanged(row);
        }
    };
    mark(oldSet, false);
    mark(currentSet, true);
}

void ResourceDataService::addItemToFavorites(int row, QObject *set)
{
    auto *favoriteSet = qobject_cast<FavoriteSet *>(set);
    const int source = sourceRow(row);
    if (!favoriteSet || source < 0)
        return;
    Resource *resource = items.at(source).data();
    if (systemService)
        systemService->addItemToFavorites(resource, favoriteSet);
    resource->setFavorite(true);
    emitRowChanged(source);
}

void ResourceDataService::removeItemFromFavorites(int row, QObject *set)
{
    auto *favoriteSet = qobject_cast<FavoriteSet *>(set);
    const int source = sourceRow(row);
    if (!favoriteSet || source < 0)
        return;
    Resource *resource = items.at(source).data();
    if (systemService)
        systemService->removeItemFromFavorites(resource, favoriteSet);
    resource->setFavorite(false);
    emitRowChanged(source);
}

void ResourceDataService::removeFavorite(QObject *resource, QObject *set)
{
    auto *member = qobject_cast<Resource *>(resource);
    auto *favoriteSet = qobject_cast<FavoriteSet *>(set);
    if (!member || !favoriteSet)
        return;
    favoriteSet->removeFavorite(member);
    database->deleteFavoriteResource(member->name(), member->resourceType(), favoriteSet->name());
    member->setFavorite(false);
    emitRowChanged(rowOf(member));
}

// Categories and tags -----------------------------------------------------------------

// A resource's categories and its tags are edited and stored alike.
struct ResourceDataService::Facet
{
    void (Resource::*add)(const QString &);
    void (Resource::*remove)(const QString &);
    bool (Resource::*has)(const QString &) const;
    QStringList (Resource::*list)() const;
    void (DatabaseService::*store)(const QString &, const QStringList &, DatabaseService::ResourceType);
};

const ResourceDataService::Facet ResourceDataService::categoryFacet{
    &Resource::addCategory, &Resource::removeCategory, &Resource::hasCategory, &Resource::categories,
    &DatabaseService::setResourceCategories};
const ResourceDataService::Facet ResourceDataService::tagFacet{
    &Resource::addTag, &Resource::removeTag, &Resource::hasTag, &Resource::tags, &DatabaseService::setResourceTags};

void ResourceDataService::store(const Facet &facet, const Resource &resource)
{
    (database.data()->*facet.store)(resource.name(), (resource.*facet.list)(), m_kind);
}

void ResourceDataService::editResourceAt(const Facet &facet, int index, const QString &text, bool add,
                                         bool updateDb)
{
    const int row = sourceRow(index);
    if (row < 0)
        return;
    Resource &resource = *items.at(row);
    (resource.*(add ? facet.add : facet.remove))(text);
    if (updateDb)
        store(facet, resource);
    emitRowChanged(row);
}

bool ResourceDataService::resourceAtHas(const Facet &facet, int index, const QString &text) const
{
    const int row = sourceRow(index);
    return row >= 0 && ((*items.at(row)).*facet.has)(text);
}

void ResourceDataService::removeFromEveryResource(const Facet &facet, const QString &text)
{
    // Every resource is written, whether it had the text or not.
    for (const QSharedPointer<Resource> &resource : qAsConst(items)) {
        ((*resource).*facet.remove)(text);
        store(facet, *resource);
    }
    refreshAllRows();
}

void ResourceDataService::renameInResources(const Facet &facet, const QString &currentName,
                                            const QString &newName)
{
    for (int row = 0; row < items.size(); ++row) {
        Resource &resource = *items.at(row);
        if (!(resource.*facet.has)(currentName))
            continue;
        (resource.*facet.remove)(currentName);
        (resource.*facet.add)(newName);
        store(facet, resource);
        emitRowChanged(row);
    }
}

void ResourceDataService::addCategory(const QString &category, bool updateDb)
{
    if (category.isEmpty() || rowOfText(m_categories, category) >= 0)
        return;
    appendText(m_categories, category);
    if (updateDb)
        database->insertCategory(category, m_kind);
    emit categoriesModelChanged();
}

void ResourceDataService::removeCategory(int index, bool updateDb)
{
    // The interface shows the list without "All" and "Unassigned": index is a row of that view.
    const QModelIndex shown = m_filteredCategories->index(index, 0);
    if (!shown.isValid())
        return;
    const int row = m_filteredCategories->mapToSource(shown).row();
    if (row < 0)
        return;
    const QString name = m_categories->index(row, 0).data().toString();
    removeFromEveryResource(categoryFacet, name);
    m_categories->removeRows(row, 1);
    if (updateDb)
        database->deleteCategory(name, m_kind);
    emit categoriesModelChanged();
}

void ResourceDataService::addCategoryToResource(int index, const QString &category, bool updateDb)
{
    editResourceAt(categoryFacet, index, category, true, updateDb);
}

void ResourceDataService::removeCategoryFromResource(int index, const QString &category)
{
    editResourceAt(categoryFacet, index, category, false, true);
}

bool ResourceDataService::resourceHasCategory(int index, const QString &category) const
{
    return resourceAtHas(categoryFacet, index, category);
}

void ResourceDataService::renameCategory(const QString &currentName, const QString &newName)
{
    // An empty new name would leave the resources with an empty category and the list without it.
    if (newName.isEmpty() || rowOfText(m_categories, newName) >= 0)
        return;
    renameInResources(categoryFacet, currentName, newName);
    const int row = rowOfText(m_categories, currentName);
    if (row >= 0) {
        database->deleteCategory(currentName, m_kind);
        m_categories->removeRows(row, 1);
    }
    addCategory(newName, true);
}

void ResourceDataService::addTag(const QString &tag)
{
    if (tag.isEmpty() || rowOfText(m_tags, tag) >= 0)
        return;
    appendText(m_tags, tag);
    emit tagsChanged();
}

void ResourceDataService::removeTag(int index)
{
    if (index < 0 || index >= m_tags->rowCount())
        return;
    removeFromEveryResource(tagFacet, m_tags->index(index, 0).data().toString());
    m_tags->removeRows(index, 1);
    emit tagsChanged();
}

void ResourceDataService::addTagToResource(int index, const QString &tag, bool updateDb)
{
    editResourceAt(tagFacet, index, tag, true, updateDb);
}

void ResourceDataService::removeTagFromResource(int index, const QString &tag)
{
    editResourceAt(tagFacet, index, tag, false, true);
}

bool ResourceDataService::resourceHasTag(int index, const QString &tag) const
{
    return resourceAtHas(tagFacet, index, tag);
}

void ResourceDataService::renameTag(const QString &currentName, const QString &newName)
{
    if (newName.isEmpty() || rowOfText(m_tags, newName) >= 0)
        return;
    renameInResources(tagFacet, currentName, newName);
    const int row = rowOfText(m_tags, currentName);
    if (row >= 0)
        m_tags->removeRows(row, 1);
    addTag(newName);
}

// Resource locations -------------------------------------------------------------------

void ResourceDataService::addResourceLocation(const QString &path)
{
    const QUrl url(path, QUrl::TolerantMode);
    if (path.isEmpty() || !url.isLocalFile())
        return;
    const QString folder = QDir::toNativeSeparators(url.toLocalFile());
    if (folder.isEmpty() || rowOfText(m_resourceLocations, folder) >= 0)
        return;
    appendText(m_resourceLocations, folder);
    if (QDir(folder).exists())
        scanLocation(folder);
    database->insertFolder(folder, m_kind);
    emit resourceLocationsChanged();
}

void ResourceDataService::removeResourceLocation(int index)
{
    if (index < 0 || index >= m_resourceLocations->rowCount())
        return;
    const QString folder = m_resourceLocations->index(index, 0).data().toString();
    m_resourceLocations->removeRows(index, 1);
    // Its resources leave with a full rescan; their stored rows stay.
    scanAll();
    database->deleteFolder(folder, m_kind);
    emit resourceLocationsChanged();
}
