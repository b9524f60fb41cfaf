#pragma once

#include "Model/alphainfo.h"
#include "Model/brushinfo.h"
#include "Model/resourceinfo.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QMetaType>
#include <QObject>
#include <QPair>
#include <QSharedPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <QVector>

#include <tuple>

class MergeStatement;
class RecordReader;
class QSqlDatabase;
class QSqlQuery;

// The library database: one SQLite file holding the catalogue, the user's folders,
// favourites, settings and store bookkeeping. Every statement the program runs on it
// lives here. Statements that fail change nothing and are only logged.
//
// One instance per connection and thread: an instance built with an empty connection
// name uses Qt's default connection; other threads must use a name of their own.
class DatabaseService : public QObject
{
    Q_OBJECT

public:
    // Values travel in signals and select table names; 9, 10, 11 and 13 are unassigned.
    enum ResourceType {
        Brush = 0,
        Alpha = 1,
        UILayout = 2,
        Project = 3,
        Material = 4,
        Tool = 5,
        Fiber = 6,
        Texture = 7,
        Light = 8,
        Grid = 12,
        RenderPreset = 14,
        Spotlight = 15,
        MeshArray = 16,
        Document = 17,
    };
    Q_ENUM(ResourceType)

    // Keys of the Settings table; numbers not listed are unassigned.
    enum SettingKey {
        ShowAdvancedTooltips = 0,
        SingleClick = 1,
        ShowTutorial = 2,
        AutoUpdate = 3,
        ShowKIVCategory = 4,
        Theme = 5,
        ZBrushPath = 6,
        DatabaseVersion = 7,
        TokVal1 = 9,
        TokVal2 = 10,
        LibraryLocation = 11,
        ZbrushColorSync = 14,
        ShowNews = 15,
        HorizontalMiniMode = 16,
    };
    Q_ENUM(SettingKey)

    // A favourites member: (resource name, kind, set name).
    using Favorite = std::tuple<QString, ResourceType, QString>;

    // A stored favourites set as the system service needs it.
    struct FavoriteSetRow
    {
        QString color;
        QString name;
    };

    // The maker's brush category: (group, name).
    using KivCategory = QPair<QString, QString>;

    // Opens the database at path. With schemaWork the program's tables are created
    // and legacy favourites migrated; the thumbnail readers pass false.
    explicit DatabaseService(const QString &path, const QString &connectionName = QString(),
                             bool schemaWork = false, QObject *parent = nullptr);
    ~DatabaseService() override;

    bool isOpen() const;
    QString path() const { return m_path; }
    QString connectionName() const { return m_connectionName; }
    // The DatabaseVersion setting as read at the last schema-work open; compared as text.
    QString databaseVersion() const { return m_version; }

    // Lookups; a kind without the table yields the empty string.
    static QString kindWord(ResourceType type);
    // Exact comparison; an unknown word counts as Brush.
    static ResourceType resourceTypeFromKindWord(const QString &word);
    static QString resourceTable(ResourceType type);
    static QString categoryTable(ResourceType type);
    static QString folderTable(ResourceType type);
    static QString settingName(SettingKey key);
    // A stored setting as a flag: "false", "0" and "" are false; null gives the default.
    static bool settingToBool(const QVariant &value, bool defaultValue);

    // Scans: one transaction per call. Stored user edits survive a rescan; path,
    // scan date and the scanned file facts are always replaced. saveResources stores
    // all records or, when one fails, none (rolled back and logged) and answers false.
    bool saveResources(const QList<QSharedPointer<ResourceInfo>> &records, ResourceType type);
    void saveBrushes(const QList<QSharedPointer<BrushInfo>> &records);
    void saveAlphas(const QList<QSharedPointer<AlphaInfo>> &records);
    // The merge of saveBrushes for one record, outside a transaction.
    void saveBrush(const BrushInfo &record);
    // Stores the brush with exactly these values, overwriting user edits.
    void putBrush(const BrushInfo &record);

    QMap<QString, QSharedPointer<ResourceInfo>> readResources(ResourceType type) const;
    // The same records for a scan, which looks up the name of every file it finds: a
    // hash finds a name without walking a tree of thousands of names.
    QHash<QString, QSharedPointer<ResourceInfo>> readResourceIndex(ResourceType type) const;
    // The stored rows of a kind one at a time, for a rescan that compares them with the
    // objects it holds; null for a kind without a table. Lives only within a call.
    std::unique_ptr<RecordReader> readResourceRows(ResourceType type) const;
    QMap<QString, QSharedPointer<BrushInfo>> readBrushes() const;
    QMap<QString, QSharedPointer<AlphaInfo>> readAlphas() const;

    void setResourceCategories(const QString &name, const QStringList &categories, ResourceType type);
    void setResourceDescription(const QString &name, const QString &description, ResourceType type);
    void setResourceTags(const QString &name, const QStringList &tags, ResourceType type);
    void updateBrushType(const QString &name, const QString &type);
    void setAlphaIgnore(const QString &name, bool ignore);

    void insertCategory(const QString &name, ResourceType type);
    void deleteCategory(const QString &name, ResourceType type);
    QStringList readCategories(ResourceType type) const;

    void insertFolder(const QString &path, ResourceType type);
    void deleteFolder(const QString &path, ResourceType type);
    QStringList readFolders(ResourceType type) const;

    void insertKivCategory(const QString &name, const QString &group);
    QVector<KivCategory> readKivCategories() const;

    // PNG bytes of the brush's thumbnail read on the named connection; empty when none.
    QByteArray readBrushIcon(const QString &brushName, const QString &connectionName) const;

    // Null when the key has no row; callers apply their default.
    QVariant readSetting(SettingKey key) const;
    void writeSetting(SettingKey key, const QVariant &value);
    // Stores the version; databaseVersion() keeps the value read at opening.
    void writeDatabaseVersion(const QString &version);

    // In SetOrder order. Rows left behind with SetOrder -1 beside a live row of the
    // same name are deleted afterwards (they are still in the returned list).
    QVector<FavoriteSetRow> readFavoriteSets();
    void insertFavoriteSet(const QString &name, const QString &color, int order);
    void updateFavoriteSet(const QString &name, const QString &newName, const QString &color,
                           int order, int previousOrder);
    // The set's members stay; the caller removes them.
    void deleteFavoriteSet(const QString &name);

    QVector<Favorite> readFavoriteResources() const;
    // Leaves exactly one row for (name, setName) with this kind word and order.
    void saveFavoriteResource(const QString &name, const QString &type, const QString &setName,
                              int order);
    void deleteFavoriteResource(const QString &name, const QString &type, const QString &setName);

    bool hasStoreSetInfo(const QString &name) const;
    void writeStoreSetInfo(const QString &name, bool hasInfo);

    // Writes a consistent snapshot of the database to target, replacing an existing
    // file only once the snapshot is complete.
    bool exportDatabaseFile(const QString &target, QString *error = nullptr);
    // Replaces the database with a copy of source once the copy proved to be an SQLite
    // database; the previous file is kept beside it with ".bak" appended. On failure the
    // current database stays open and untouched. Emits onImportDb() on success.
    bool importDatabaseFile(const QString &source, QString *error = nullptr);
    // The two halves of an import. The first copies source beside the database at
    // databasePath and checks the copy on a connection of its own, so it may run on
    // any thread; the second, on this service's thread, swaps the checked copy in
    // (and removes it when it cannot).
    static bool stageImport(const QString &source, const QString &databasePath, QString *stagedFile,
                            QString *error = nullptr);
    bool replaceWithStaged(const QString &stagedFile, const QString &source, QString *error = nullptr);

signals:
    void onImportDb();

private:
    void open(bool schemaWork);
    void close();
    QSqlDatabase database() const;
    void readVersion();
    void createTables();
    void migrateFavorites();
    int migrateBrushFavorites(int order);
    int migrateAlphaSets(int order);
    int migrateAlphaFavorites(int order);
    bool tableExists(const QString &name) const;
    bool beginBatch();
    // Commits when ok, else rolls back; false when the batch was not stored.
    bool endBatch(bool began, bool ok = true);
    // Prepares statement on this service's connection and runs it with the named values.
    bool run(const QString &statement, const QVariantMap &values = {}) const;
    // The merge of the batch saves into table, prepared once per table and schema.
    MergeStatement &merge(const QString &table, int layout);

    QString m_path;
    QString m_connectionName;
    QString m_version = QStringLiteral("0.0.0.0");
    // Closed with the connection, which cannot close while statements are open.
    QHash<QString, QSharedPointer<MergeStatement>> m_merges;
};

Q_DECLARE_METATYPE(DatabaseService::Favorite)
