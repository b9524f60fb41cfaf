#pragma once

#include "Model/databaseservice.h"

#include <QAbstractListModel>
#include <QDateTime>
#include <QFuture>
#include <QList>
#include <QMap>
#include <QPair>
#include <QPointer>
#include <QSet>
#include <QSharedPointer>
#include <QString>
#include <QStringList>
#include <QStringListModel>
#include <QVector>

#include <functional>

class CategoryFilter;
class FavoriteSet;
class HostBridge;
class Resource;
class ResourceSorter;
class SystemDataService;

// The common base of every catalogue: one list model per kind of resource with its
// filtered, sorted view, the kind's categories, tags and extra folders, the selected
// item and the bridge to the favourites sets. Subclasses scan their files and send
// the host command that activates a resource. GUI thread only.
//
// Operations that take an index take a row of the view (`model`); a row the view does
// not show touches nothing.
class ResourceDataService : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(QAbstractItemModel *model READ model NOTIFY modelChanged)
    Q_PROPERTY(QStringListModel *resourceLocations READ resourceLocations NOTIFY resourceLocationsChanged)
    Q_PROPERTY(QObject *selectedItem READ selectedItem NOTIFY selectedItemChanged)
    Q_PROPERTY(QStringListModel *categories READ categories NOTIFY categoriesModelChanged)
    Q_PROPERTY(QAbstractItemModel *filteredCategories READ filteredCategories NOTIFY categoriesModelChanged)
    Q_PROPERTY(QStringListModel *tags READ tags NOTIFY tagsChanged)
    Q_PROPERTY(bool setupOk READ setupOk WRITE setSetupOk NOTIFY setupOkChanged)
    Q_PROPERTY(int catFilter READ catFilter WRITE setCatFilter)

public:
    static constexpr const char *allCategory = "All";
    static constexpr const char *unassignedCategory = "Unassigned";

    ResourceDataService(QSharedPointer<HostBridge> hostBridge, QSharedPointer<DatabaseService> database,
                        DatabaseService::ResourceType kind, int nameRole,
                        QSharedPointer<SystemDataService> systemService, QObject *parent = nullptr);
    ~ResourceDataService() override;

    // The generic role table; the brush and alpha catalogues bring their own.
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QHash<int, QByteArray> roleNames() const override;

    Q_INVOKABLE virtual void activateResource(const QString &name, const QString &path);
    // Takes the resources of one folder into the catalogue.
    virtual void scanLocation(const QString &folder);
    // Drops every row and scans all folders of the kind.
    virtual void scanAll();
    virtual void setup();

    DatabaseService::ResourceType kind() const { return m_kind; }
    QAbstractItemModel *model() const;
    ResourceSorter *proxy() const { return m_proxy.data(); }
    QStringListModel *resourceLocations() const { return m_resourceLocations; }
    QObject *selectedItem() const;
    QStringListModel *categories() const { return m_categories; }
    QAbstractItemModel *filteredCategories() const;
    QStringListModel *tags() const { return m_tags; }
    bool setupOk() const { return m_setupOk; }
    void setSetupOk(bool setupOk);
    bool loaded() const { return m_loaded; }
    int catFilter() const { return m_catFilter; }
    void setCatFilter(int catFilter) { m_catFilter = catFilter; }
    QStringList tagFilters() const { return m_tagFilters; }

    // The resource shown at a row of the view, or null.
    QSharedPointer<Resource> resourceAt(int index) const;
    // Whether a resource of exactly this name is in the catalogue.
    bool containsName(const QString &name) const { return nameIndex.contains(name); }
    // Callables for the store; they outlive no catalogue (a destroyed one answers false / does nothing).
    std::function<bool(const QString &)> namePredicate();
    std::function<void(const QString &)> folderAction();

    Q_INVOKABLE int getIndexForItem(QObject *item) const;
    Q_INVOKABLE void setSelectedItem(int index);
    Q_INVOKABLE void resetAllFilters();
    Q_INVOKABLE void filterResourcesByName(const QString &filter);
    Q_INVOKABLE void addItemToFavorites(int row, QObject *set);
    Q_INVOKABLE void removeItemFromFavorites(int row, QObject *set);
    Q_INVOKABLE void removeFavorite(QObject *resource, QObject *set);
    Q_INVOKABLE void addCategory(const QString &category, bool updateDb = true);
    Q_INVOKABLE void removeCategory(int index, bool updateDb = true);
    Q_INVOKABLE void addCategoryToResource(int index, const QString &category, bool updateDb = true);
    Q_INVOKABLE void removeCategoryFromResource(int index, const QString &category);
    Q_INVOKABLE void filterByCategory(const QString &category);
    Q_INVOKABLE bool resourceHasCategory(int index, const QString &category) const;
    Q_INVOKABLE void renameCategory(const QString &currentName, const QString &newName);
    Q_INVOKABLE void addTag(const QString &tag);
    Q_INVOKABLE void removeTag(int index);
    Q_INVOKABLE void addTagToResource(int index, const QString &tag, bool updateDb = true);
    Q_INVOKABLE void removeTagFromResource(int index, const QString &tag);
    Q_INVOKABLE void addTagFilter(const QString &tag);
    Q_INVOKABLE void removeTagFilter(const QString &tag);
    Q_INVOKABLE bool resourceHasTag(int index, const QString &tag) const;
    Q_INVOKABLE void renameTag(const QString &currentName, const QString &newName);
    Q_INVOKABLE void addResourceLocation(const QString &path);
    Q_INVOKABLE void removeResourceLocation(int index);
    Q_INVOKABLE bool hasTagFilter(const QString &tag) const;

public slots:
    void onLoadFavorite(FavoriteSet *set, const DatabaseService::Favorite &info);
    void onFavoriteSetActivated(FavoriteSet *oldSet, FavoriteSet *currentSet);
    // After a global rescan: every row may have changed.
    void refreshAllRows();

signals:
    void modelChanged();
    void resourceLocationsChanged();
    void selectedItemChanged();
    void categoriesModelChanged();
    void tagsChanged();
    void setupOkChanged();

protected:
    // Subclasses with their own roles install a proxy of their kind.
    void setProxy(QSharedPointer<ResourceSorter> proxy);
    // Source row of a view row, or -1.
    int sourceRow(int index) const;
    // Source row of a resource object, or -1.
    int rowOf(const QObject *resource) const;
    void emitRowChanged(int row);
    // A full scan replaces every row: the old rows go and the new ones arrive in one
    // model reset, which the view takes in one step instead of row by row. Between the
    // two calls the rows a scan makes are collected without signals.
    void beginFullScan();
    void endFullScan();
    // Removes every row at once.
    void clearItems();
    void loadCategories();
    void loadResourceLocations();
    // Rebuilds the tag list from the resources, in row order.
    void loadTags();
    void setLoaded(bool loaded) { m_loaded = loaded; }
    // Gives a freshly made resource the user's stored description, categories, tags,
    // read-only flag and scan date.
    static void applyStoredRecord(Resource &resource, const ResourceInfo &record);

    // Scans -----------------------------------------------------------------------------
    using RecordMap = QMap<QString, QSharedPointer<ResourceInfo>>;
    using RecordIndex = QHash<QString, QSharedPointer<ResourceInfo>>;

    // The current time as scans store it (Qt's text date format).
    static QString scanStamp();
    // Where store products are installed: the LibraryLocation setting + "/KIVSource",
    // or the default library folder when the setting is empty.
    QString storeFolder() const;
    // A kind's folders in scan order: each ZBrush sub-folder appended to the ZBrush
    // folder, the store folder, then the resource locations.
    QStringList scanFolders(const QStringList &hostSubFolders) const;
    // Merges a file a scan found (resource, with its path and last-modified time set)
    // with record: a valid record gives the resource the user's metadata; an invalid
    // one becomes a new record of the file. True when the record has to be stored:
    // new, or the file changed since the record's scan date (its path and scan date,
    // scanDate in Qt's text format, are then refreshed). Works on the kinds' own
    // records through their ResourceInfo part.
    static bool mergeScannedRecord(Resource &resource, ResourceInfo &record, const QString &scanDate);
    // Takes the name of a file a scan found; false when an earlier file has it (the
    // first file of a name wins, across all folders of the kind).
    bool claimName(const QString &name);
    // A rescan in place, when the files and the stored rows are what made the objects:
    // what each object's stored row says of its file.
    struct StoredState
    {
        qint64 endMs = 0;   // the first moment after the stored scan date's second
        bool dated = false; // the stored scan date could be read
        bool seen = false;  // the object has a row
    };
    // Compares every stored row of the kind with the object of its name, in place.
    // False when an object would take another description, categories, tags or
    // read-only flag from its row, or has no row: only a full scan gives the right
    // rows then. Scan dates that differ (an object a scan made for a new file shows
    // none) come back in dates, for the objects to take. states has one entry per row.
    bool compareStoredRows(QVector<StoredState> &states, QVector<QPair<int, QDateTime>> &dates) const;
    // Announces changes of these roles in these rows (ascending), a range of neighbours
    // at a time.
    void emitRowsChanged(const QVector<int> &rows, const QVector<int> &roles);
    // Appends resources a scan made, their names claimed, as rows at the end: Qt's
    // proxy rebuilds its whole mapping on every insertion, so row by row a large
    // folder would cost quadratic time.
    void appendScanned(const QVector<QSharedPointer<Resource>> &resources);

    // Worker results back on the GUI thread: calls apply here once future has finished.
    // When this catalogue goes first, apply is dropped; the work runs to its end regardless.
    void whenFinished(const QFuture<void> &future, std::function<void()> apply);
    // The objects made from records, watched while their files are read elsewhere: a
    // rescan may replace and free them meanwhile, and a freed address may come back as
    // another object.
    template<class Info>
    static QVector<QPointer<Resource>> watchObjects(const QList<QSharedPointer<Info>> &records)
    {
        QVector<QPointer<Resource>> objects;
        objects.reserve(records.size());
        for (const QSharedPointer<Info> &record : records)
            objects.append(record->resource);
        return objects;
    }

    QSharedPointer<HostBridge> hostBridge;
    QSharedPointer<DatabaseService> database;
    QSharedPointer<SystemDataService> systemService;
    // The rows in scan order, and the names among them.
    QVector<QSharedPointer<Resource>> items;
    QSet<QString> nameIndex;

private:
    struct Facet;
    static const Facet categoryFacet;
    static const Facet tagFacet;
    void store(const Facet &facet, const Resource &resource);
    void editResourceAt(const Facet &facet, int index, const QString &text, bool add, bool updateDb);
    bool resourceAtHas(const Facet &facet, int index, const QString &text) const;
    void removeFromEveryResource(const Facet &facet, const QString &text);
    void renameInResources(const Facet &facet, const QString &currentName, const QString &newName);
    static int rowOfText(const QStringListModel *model, const QString &text);
    static void appendText(QStringListModel *model, const QString &text);

    DatabaseService::ResourceType m_kind;
    int m_nameRole;
    QSharedPointer<ResourceSorter> m_proxy;
    QSharedPointer<Resource> m_selectedItem;
    QStringListModel *m_resourceLocations;
    QStringListModel *m_categories;
    CategoryFilter *m_filteredCategories;
    QStringListModel *m_tags;
    bool m_loaded = false;
    bool m_fullScan = false;
    bool m_setupOk = false;
    int m_catFilter = 0;
    QStringList m_tagFilters;
};
