#include "Model/databaseservice.h"

#include "Model/mergestatement.h"
#include "Model/recordreader.h"

#include <QAtomicInt>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

namespace {

const QString driverName = QStringLiteral("QSQLITE");
const QString comma = QStringLiteral(",");

struct KindTables
{
    QString word;
    QString resources;
    QString categories;
    QString folders;
};

const QHash<int, KindTables> &kindTables()
{
    static const QHash<int, KindTables> tables{
        {DatabaseService::Brush, {"brush", "Brushes", "Categories", "BrushFolders"}},
        {DatabaseService::Alpha, {"alpha", "Alphas", "AlphaCategories", "AlphaFolders"}},
        {DatabaseService::UILayout, {"uiLayout", {}, {}, "UILayoutFolders"}},
        {DatabaseService::Project, {"project", "Projects", "ProjectCategories", "ProjectFolders"}},
        {DatabaseService::Material, {"material", "Materials", "MaterialCategories", "MaterialFolders"}},
        {DatabaseService::Tool, {"tool", "Tools", "ToolCategories", "ToolFolders"}},
        {DatabaseService::Fiber, {"fiber", "Fibers", "FiberCategories", "FiberFolders"}},
        {DatabaseService::Texture, {"texture", "Textures", "TextureCategories", "TextureFolders"}},
        {DatabaseService::Light, {"light", "Lights", "LightCategories", "LightFolders"}},
        {DatabaseService::Grid, {"grid", "Grids", "GridCategories", "GridFolders"}},
        {DatabaseService::RenderPreset,
         {"renderpreset", "RenderPresets", "RenderPresetCategories", "RenderPresetFolders"}},
        {DatabaseService::Spotlight, {"spotlight", "Spotlights", "SpotlightCategories", "SpotlightFolders"}},
        {DatabaseService::MeshArray, {"array", "MeshArrays", "MeshArrayCategories", "MeshArrayFolders"}},
        {DatabaseService::Document, {"document", "Documents", "DocumentCategories", "DocumentFolders"}},
    };
    return tables;
}

const QHash<int, QString> &settingNames()
{
    static const QHash<int, QString> names{
        {DatabaseService::ShowAdvancedTooltips, "ShowAdvancedTooltips"},
        {DatabaseService::SingleClick, "SingleClick"},
        {DatabaseService::ShowTutorial, "ShowTutorial"},
        {DatabaseService::AutoUpdate, "AutoUpdate"},
        {DatabaseService::ShowKIVCategory, "ShowKIVCategory"},
        {DatabaseService::Theme, "Theme"},
        {DatabaseService::ZBrushPath, "ZBrushPath"},
        {DatabaseService::DatabaseVersion, "DatabaseVersion"},
        {DatabaseService::TokVal1, "tokVal1"},
        {DatabaseService::TokVal2, "tokVal2"},
        {DatabaseService::LibraryLocation, "LibraryLocation"},
        {DatabaseService::ZbrushColorSync, "ZbrushColorSync"},
        {DatabaseService::ShowNews, "ShowNews"},
        {DatabaseService::HorizontalMiniMode, "HorizontalMiniMode"},
    };
    return names;
}

// The stems of the tables the program adds to the shipped database, in creation order.
const QStringList &programTableStems()
{
    static const QStringList stems{"Project", "Material", "Tool", "Fiber", "Texture", "Light",
                                   "Grid", "MeshArray", "Spotlight", "RenderPreset", "Document"};
    return stems;
}

QVariant columnValue(const QSqlQuery &query, int column)
{
    return column < 0 ? QVariant() : query.value(column);
}

QString text(const QString &value)
{
    return MergeStatement::storedText(value);
}

QString categoryText(const QStringList &categories)
{
    return MergeStatement::storedCategories(categories);
}

// putBrush's values by name.
QVariantMap brushValues(const BrushInfo &b)
{
    return {{":name", b.name},
            {":path", text(b.path)},
            {":description", text(b.description)},
            {":author", text(b.author)},
            {":link", text(b.link)},
            {":type", text(b.type)},
            {":tags", text(b.tags.join(comma))},
            {":category", categoryText(b.categories)},
            {":kiv_category", text(b.kivCategory)},
            {":readOnly", b.readOnly ? 1 : 0},
            {":scanDate", text(b.scanDate)}};
}

struct MigratedFavorite
{
    int order;
    QString setName;
    QString name;
};

// Legacy rows whose (Name, SetName) is already taken fail on the unique index and are skipped.
void insertMigratedFavorites(QSqlDatabase db, const QVector<MigratedFavorite> &entries,
                             const QString &type, const QString &setPrefix)
{
    const bool began = db.transaction();
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT INTO FavoriteResources (Name, Type, SetName, SetOrder) "
                                  "VALUES (:name, :type, :setName, :order)"));
    for (const MigratedFavorite &entry : entries) {
        insert.bindValue(QStringLiteral(":name"), entry.name);
        insert.bindValue(QStringLiteral(":type"), type);
        insert.bindValue(QStringLiteral(":setName"), setPrefix + entry.setName);
        insert.bindValue(QStringLiteral(":order"), entry.order);
        if (!insert.exec())
            qDebug() << "favourite not carried over:" << entry.name << insert.lastError().text();
    }
    if (began)
        db.commit();
}

std::filesystem::path fsPath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// Replaces to with from in one step, also when to exists.
bool replaceFile(const QString &from, const QString &to, QString *error)
{
    std::error_code code;
    std::filesystem::rename(fsPath(from), fsPath(to), code);
    if (code && error)
        *error = QString::fromStdString(code.message());
    return !code;
}

bool copyInto(const QString &source, QIODevice &target, QString *error)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = in.errorString();
        return false;
    }
    QByteArray chunk;
    while (!(chunk = in.read(1 << 20)).isEmpty()) {
        if (target.write(chunk) != chunk.size()) {
            *error = target.errorString();
            return false;
        }
    }
    if (in.error() != QFileDevice::NoError) {
        *error = in.errorString();
        return false;
    }
    return true;
}

bool copyFile(const QString &source, const QString &target, QString *error)
{
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        *error = out.errorString();
        return false;
    }
    if (!copyInto(source, out, error)) {
        out.cancelWriting();
        return false;
    }
    if (!out.commit()) {
        *error = out.errorString();
        return false;
    }
    return true;
}

// True when file is an SQLite database that passes SQLite's own structure check.
bool isSqliteDatabase(const QString &file, QString *error)
{
    {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly) || f.read(16) != QByteArray("SQLite format 3\0", 16)) {
            *error = QStringLiteral("not an SQLite database");
            return false;
        }
    }
    static QAtomicInt counter;
    const QString connection = QStringLiteral("kivara-import-check-%1").arg(counter.fetchAndAddRelaxed(1));
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driverName, connection);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery check(db);
            const bool ran = check.exec(QStringLiteral("PRAGMA quick_check")) && check.next();
            ok = ran && check.value(0).toString() == QLatin1String("ok");
            if (!ok)
                *error = QStringLiteral("damaged SQLite database: ") +
                         (ran ? check.value(0).toString() : check.lastError().text());
        } else {
            *error = db.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

} // namespace

DatabaseService::DatabaseService(const QString &path, const QString &connectionName, bool schemaWork,
                                 QObject *parent)
    : QObject(parent)
    , m_path(path)
    , m_connectionName(connectionName)
{
    open(schemaWork);
}

DatabaseService::~DatabaseService()
{
    // Removing the connection too: the thumbnail readers open one per request.
    close();
}

QSqlDatabase DatabaseService::database() const
{
    return QSqlDatabase::database(
        m_connectionName.isEmpty() ? QString::fromLatin1(QSqlDatabase::defaultConnection) : m_connectionName,
        false);
}

bool DatabaseService::isOpen() const
{
    return database().isOpen();
}

void DatabaseService::open(bool schemaWork)
{
    if (!QSqlDatabase::isDriverAvailable(driverName))
        return;
    QSqlDatabase db = m_connectionName.isEmpty() ? QSqlDatabase::addDatabase(driverName)
                                                 : QSqlDatabase::addDatabase(driverName, m_connectionName);
    db.setDatabaseName(m_path);
    if (!db.open()) {
        qWarning().noquote() << "ERROR: " + db.lastError().text();
        return;
    }
    if (!schemaWork)
        return;
    readVersion();
    createTables();
    migrateFavorites();
}

void DatabaseService::close()
{
    m_merges.clear();
    const QString name =
        m_connectionName.isEmpty() ? QString::fromLatin1(QSqlDatabase::defaultConnection) : m_connectionName;
    if (!QSqlDatabase::contains(name))
        return;
    QSqlDatabase::database(name, false).close();
    QSqlDatabase::removeDatabase(name);
}

bool DatabaseService::run(const QString &statement, const QVariantMap &values) const
{
    QSqlQuery query(database());
    if (!query.prepare(statement)) {
        qWarning() << "cannot prepare" << statement << query.lastError().text();
        return false;
    }
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        query.bindValue(it.key(), it.value());
    if (!query.exec()) {
        qWarning() << "failed:" << statement << query.lastError().text();
        return false;
    }
    return true;
}

MergeStatement &DatabaseService::merge(const QString &table, int layout)
{
    const QString key = table + QLatin1Char('/') + QString::number(layout);
    const int schema = MergeStatement::schemaVersion(database());
    QSharedPointer<MergeStatement> &statement = m_merges[key];
    if (!statement || statement->preparedForSchema() != schema)
        statement = QSharedPointer<MergeStatement>::create(database(), table, MergeStatement::Layout(layout));
    return *statement;
}

bool DatabaseService::beginBatch()
{
    return database().transaction();
}

bool DatabaseService::endBatch(bool began, bool ok)
{
    if (!began)
        return ok;
    QSqlDatabase db = database();
    if (ok && db.commit())
        return true;
    if (ok)
        qWarning() << "commit failed:" << db.lastError().text();
    if (!db.rollback())
        qWarning() << "rollback failed:" << db.lastError().text();
    return false;
}

// ---- lookups

QString DatabaseService::kindWord(ResourceType type)
{
    return kindTables().value(type).word;
}

DatabaseService::ResourceType DatabaseService::resourceTypeFromKindWord(const QString &word)
{
    const auto &tables = kindTables();
    for (auto it = tables.cbegin(); it != tables.cend(); ++it) {
        if (it.value().word == word)
            return static_cast<ResourceType>(it.key());
    }
    return Brush;
}

QString DatabaseService::resourceTable(ResourceType type)
{
    return kindTables().value(type).resources;
}

QString DatabaseService::categoryTable(ResourceType type)
{
    return kindTables().value(type).categories;
}

QString DatabaseService::folderTable(ResourceType type)
{
    return kindTables().value(type).folders;
}

QString DatabaseService::settingName(SettingKey key)
{
    return settingNames().value(key);
}

bool DatabaseService::settingToBool(const QVariant &value, bool defaultValue)
{
    if (value.isNull())
        return defaultValue;
    const QString t = value.toString();
    return !(t.isEmpty() || t == QLatin1String("false") || t == QLatin1String("0"));
}

// ---- schema

void DatabaseService::readVersion()
{
    m_version.clear();
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT * FROM Settings WHERE Name = 'DatabaseVersion'")))
        return;
    while (query.next())
        m_version = query.value(1).toString();
}

void DatabaseService::createTables()
{
    QStringList statements;
    for (const QString &stem : programTableStems()) {
        statements << QStringLiteral("CREATE TABLE IF NOT EXISTS '%1Categories' ('Name' TEXT NOT NULL)").arg(stem)
                   << QStringLiteral("CREATE TABLE IF NOT EXISTS '%1s' ('Name' TEXT NOT NULL UNIQUE  , 'Path' TEXT, "
                                     "'Description' TEXT, 'Tags' TEXT, 'Category' TEXT NOT NULL DEFAULT 'All', "
                                     "'ReadOnly' INTEGER NOT NULL DEFAULT 0, 'ScanDate' TEXT NOT NULL, "
                                     "PRIMARY KEY('Name'))")
                          .arg(stem)
                   << QStringLiteral("CREATE TABLE IF NOT EXISTS '%1Folders' ('Path' TEXT UNIQUE)").arg(stem);
    }
    statements << QStringLiteral("CREATE TABLE IF NOT EXISTS 'FavoriteResources' ('Name' TEXT NOT NULL, "
                                 "'Type' TEXT NOT NULL, 'SetName' TEXT NOT NULL, "
                                 "'SetOrder' INTEGER NOT NULL DEFAULT 0)")
               << QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS 'ResourceFavorite' ON 'FavoriteResources' "
                                 "('Name', 'SetName')")
               << QStringLiteral("CREATE TABLE IF NOT EXISTS 'UILayoutFolders' ('Path' TEXT UNIQUE)")
               << QStringLiteral("CREATE TABLE IF NOT EXISTS 'StoreSetInfo' ('Name' TEXT NOT NULL UNIQUE, "
                                 "'HasInfo' INTEGER NOT NULL DEFAULT 0, PRIMARY KEY('Name'))");
    const bool began = beginBatch();
    for (const QString &statement : qAsConst(statements))
        run(statement);
    endBatch(began);
}

bool DatabaseService::tableExists(const QString &name) const
{
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name=:name"));
    query.bindValue(QStringLiteral(":name"), name);
    return query.exec() && query.next();
}

void DatabaseService::migrateFavorites()
{
    // One running order across the three steps; only the order within a set matters.
    int order = migrateBrushFavorites(0);
    order = migrateAlphaSets(order);
    migrateAlphaFavorites(order);
}

int DatabaseService::migrateBrushFavorites(int order)
{
    if (!tableExists(QStringLiteral("FavoriteBrushes")))
        return order;
    QVector<MigratedFavorite> entries;
    QSqlQuery read(database());
    read.setForwardOnly(true);
    // A table that cannot be read is kept rather than dropped with its rows.
    if (!read.exec(QStringLiteral("SELECT * FROM FavoriteBrushes ORDER BY FavoriteSetName ASC, SetOrder ASC")))
        return order;
    const QSqlRecord record = read.record();
    const int setColumn = record.indexOf(QStringLiteral("FavoriteSetName"));
    const int nameColumn = record.indexOf(QStringLiteral("BrushName"));
    while (read.next())
        entries.append({order++, columnValue(read, setColumn).toString(), columnValue(read, nameColumn).toString()});
    read.finish();
    insertMigratedFavorites(database(), entries, QStringLiteral("brush"), QString());
    run(QStringLiteral("drop table if exists FavoriteBrushes"));
    return order;
}

int DatabaseService::migrateAlphaSets(int order)
{
    if (!tableExists(QStringLiteral("FavoriteAlphaSets")))
        return order;
    // After every existing set; an empty FavoriteSets yields NULL, read as 0.
    int base = 0;
    {
        QSqlQuery max(database());
        if (max.exec(QStringLiteral("SELECT MAX(SetOrder) FROM FavoriteSets")) && max.next())
            base = max.value(0).toInt() + 1;
    }
    struct Set
    {
        int readOnly;
        QString color;
        QString name;
        int order;
    };
    QVector<Set> sets{{0, QStringLiteral("transparent"), QStringLiteral("Default"), base}};
    order = base + 1;
    QSqlQuery read(database());
    read.setForwardOnly(true);
    if (!read.exec(QStringLiteral("SELECT * FROM FavoriteAlphaSets ORDER BY Name ASC, SetOrder ASC")))
        return order;
    const QSqlRecord record = read.record();
    const int readOnlyColumn = record.indexOf(QStringLiteral("ReadOnly"));
    const int colorColumn = record.indexOf(QStringLiteral("Color"));
    const int nameColumn = record.indexOf(QStringLiteral("Name"));
    const int orderColumn = record.indexOf(QStringLiteral("SetOrder"));
    while (read.next()) {
        sets.append({columnValue(read, readOnlyColumn).toInt(), columnValue(read, colorColumn).toString(),
                     columnValue(read, nameColumn).toString(), order + columnValue(read, orderColumn).toInt()});
        ++order;
    }
    read.finish();

    const bool began = beginBatch();
    QSqlQuery insert(database());
    insert.prepare(QStringLiteral("INSERT INTO FavoriteSets (SetOrder, Name, Color, ReadOnly) "
                                  "VALUES (:setOrder, :name, :color, :readOnly)"));
    for (const Set &set : qAsConst(sets)) {
        insert.bindValue(QStringLiteral(":setOrder"), set.order);
        insert.bindValue(QStringLiteral(":name"), QStringLiteral("Alpha_") + set.name);
        insert.bindValue(QStringLiteral(":color"), set.color);
        insert.bindValue(QStringLiteral(":readOnly"), set.readOnly);
        if (!insert.exec())
            qDebug() << "favourites set not carried over:" << set.name << insert.lastError().text();
    }
    endBatch(began);
    run(QStringLiteral("drop table if exists FavoriteAlphaSets"));
    return order;
}

int DatabaseService::migrateAlphaFavorites(int order)
{
    if (!tableExists(QStringLiteral("FavoriteAlphas")))
        return order;
    QVector<MigratedFavorite> entries;
    QSqlQuery read(database());
    read.setForwardOnly(true);
    if (!read.exec(QStringLiteral("SELECT * FROM FavoriteAlphas ORDER BY FavoriteSetName ASC, SetOrder ASC")))
        return order;
    const QSqlRecord record = read.record();
    const int setColumn = record.indexOf(QStringLiteral("FavoriteSetName"));
    const int nameColumn = record.indexOf(QStringLiteral("AlphaName"));
    while (read.next())
        entries.append({order++, columnValue(read, setColumn).toString(), columnValue(read, nameColumn).toString()});
    read.finish();
    insertMigratedFavorites(database(), entries, QStringLiteral("alpha"), QStringLiteral("Alpha_"));
    run(QStringLiteral("drop table if exists FavoriteAlphas"));
    return order;
}

// ---- resource records

bool DatabaseService::saveResources(const QList<QSharedPointer<ResourceInfo>> &records, ResourceType type)
{
    const QString table = resourceTable(type);
    if (table.isEmpty())
        return false;
    if (records.isEmpty())
        return true;
    const bool began = beginBatch();
    // A scan stores a folder whole or not at all: the next scan then finds its files new
    // again instead of a half-written folder.
    const bool ok = merge(table, MergeStatement::Resources).runAll(records);
    if (endBatch(began, ok))
        return true;
    if (began)
        qWarning() << "rolled back" << records.size() << "records of" << table;
    else
        qWarning() << "not every record stored into" << table << "(no transaction)";
    return false;
}

void DatabaseService::saveBrushes(const QList<QSharedPointer<BrushInfo>> &records)
{
    if (records.isEmpty())
        return;
    const bool began = beginBatch();
    {
        MergeStatement &brushes = merge(QStringLiteral("Brushes"), MergeStatement::Brushes);
        for (const QSharedPointer<BrushInfo> &record : records)
            brushes.run(*record);
    }
    endBatch(began);
}

void DatabaseService::saveAlphas(const QList<QSharedPointer<AlphaInfo>> &records)
{
    if (records.isEmpty())
        return;
    const bool began = beginBatch();
    {
        MergeStatement &alphas = merge(QStringLiteral("Alphas"), MergeStatement::Alphas);
        for (const QSharedPointer<AlphaInfo> &record : records)
            alphas.run(*record);
    }
    endBatch(began);
}

void DatabaseService::saveBrush(const BrushInfo &record)
{
    merge(QStringLiteral("Brushes"), MergeStatement::Brushes).run(record);
}

void DatabaseService::putBrush(const BrushInfo &record)
{
    const QVariantMap values = brushValues(record);
    // By position: the tenth column is never read and receives the empty string.
    run(QStringLiteral("INSERT OR IGNORE INTO 'Brushes' VALUES (:name, :path, :description, :author, :link, "
                       ":tags, :category, :kiv_category, :readOnly, '', :type, :scanDate)"),
        values);
    run(QStringLiteral("UPDATE Brushes SET Name = :name, Path = :path, Description = :description, "
                       "Author = :author, Link = :link, Type = :type, Tags = :tags, Category = :category, "
                       "KIV_Category = :kiv_category, ReadOnly = :readOnly, ScanDate = :scanDate "
                       "WHERE Name = :name"),
        values);
}

QMap<QString, QSharedPointer<ResourceInfo>> DatabaseService::readResources(ResourceType type) const
{
    const QString table = resourceTable(type);
    if (table.isEmpty())
        return {};
    return RecordReader(database(), table).resources();
}

QHash<QString, QSharedPointer<ResourceInfo>> DatabaseService::readResourceIndex(ResourceType type) const
{
    const QString table = resourceTable(type);
    if (table.isEmpty())
        return {};
    return RecordReader(database(), table).resourceIndex();
}

std::unique_ptr<RecordReader> DatabaseService::readResourceRows(ResourceType type) const
{
    const QString table = resourceTable(type);
    if (table.isEmpty())
        return nullptr;
    return std::make_unique<RecordReader>(database(), table);
}

QMap<QString, QSharedPointer<BrushInfo>> DatabaseService::readBrushes() const
{
    return RecordReader(database(), QStringLiteral("Brushes")).brushes();
}

QMap<QString, QSharedPointer<AlphaInfo>> DatabaseService::readAlphas() const
{
    return RecordReader(database(), QStringLiteral("Alphas")).alphas();
}

void DatabaseService::setResourceCategories(const QString &name, const QStringList &categories,
                                            ResourceType type)
{
    const QString table = resourceTable(type);
    if (!table.isEmpty())
        run(QStringLiteral("UPDATE %1 SET Category = :category WHERE Name = :name").arg(table),
            {{":category", categoryText(categories)}, {":name", name}});
}

void DatabaseService::setResourceDescription(const QString &name, const QString &description, ResourceType type)
{
    const QString table = resourceTable(type);
    if (!table.isEmpty())
        run(QStringLiteral("UPDATE %1 SET Description = :description WHERE Name = :name").arg(table),
            {{":description", text(description)}, {":name", name}});
}

void DatabaseService::setResourceTags(const QString &name, const QStringList &tags, ResourceType type)
{
    const QString table = resourceTable(type);
    if (!table.isEmpty())
        run(QStringLiteral("UPDATE %1 SET Tags = :tag WHERE Name = :name").arg(table),
            {{":tag", text(tags.join(comma))}, {":name", name}});
}

void DatabaseService::updateBrushType(const QString &name, const QString &type)
{
    run(QStringLiteral("UPDATE Brushes SET Type=:type WHERE Name = :name"), {{":type", text(type)}, {":name", name}});
}

void DatabaseService::setAlphaIgnore(const QString &name, bool ignore)
{
    run(QStringLiteral("UPDATE Alphas SET Ignore=:ignore WHERE Name = :name"),
        {{":ignore", ignore ? 1 : 0}, {":name", name}});
}

// ---- categories, folders

void DatabaseService::insertCategory(const QString &name, ResourceType type)
{
    const QString table = categoryTable(type);
    if (!table.isEmpty())
        run(QStringLiteral("INSERT INTO %1 (Name) VALUES (:name)").arg(table), {{":name", name}});
}

void DatabaseService::deleteCategory(const QString &name, ResourceType type)
{
    const QString table = categoryTable(type);
    if (!table.isEmpty())
        run(QStringLiteral("DELETE FROM %1 WHERE Name=:category").arg(table), {{":category", name}});
}

QStringList DatabaseService::readCategories(ResourceType type) const
{
    QStringList result;
    const QString table = categoryTable(type);
    if (table.isEmpty())
        return result;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (query.exec(QStringLiteral("SELECT * FROM %1").arg(table))) {
        const int name = query.record().indexOf(QStringLiteral("Name"));
        while (query.next())
            result << columnValue(query, name).toString();
    }
    return result;
}

void DatabaseService::insertFolder(const QString &path, ResourceType type)
{
    const QString table = folderTable(type);
    if (!table.isEmpty())
        run(QStringLiteral("INSERT OR REPLACE INTO %1 (Path) VALUES (:value)").arg(table), {{":value", path}});
}

void DatabaseService::deleteFolder(const QString &path, ResourceType type)
{
    const QString table = folderTable(type);
    if (!table.isEmpty())
        run(QStringLiteral("DELETE FROM %1 WHERE Path=:folder").arg(table), {{":folder", path}});
}

QStringList DatabaseService::readFolders(ResourceType type) const
{
    QStringList result;
    const QString table = folderTable(type);
    if (table.isEmpty())
        return result;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (query.exec(QStringLiteral("SELECT * FROM %1").arg(table))) {
        const int path = query.record().indexOf(QStringLiteral("Path"));
        while (query.next())
            result << columnValue(query, path).toString();
    }
    return result;
}

void DatabaseService::insertKivCategory(const QString &name, const QString &group)
{
    QSqlQuery query(database());
    query.prepare(QStringLiteral("INSERT INTO KIV_Categories (Name, \"Group\") VALUES (:name, :group)"));
    query.bindValue(QStringLiteral(":name"), name);
    query.bindValue(QStringLiteral(":group"), group);
    if (!query.exec())
        qWarning() << "cannot store the maker's category" << name << query.lastError().text();
}

QVector<DatabaseService::KivCategory> DatabaseService::readKivCategories() const
{
    QVector<KivCategory> result;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (query.exec(QStringLiteral("SELECT * FROM KIV_Categories ORDER BY 2"))) {
        const QSqlRecord record = query.record();
        const int name = record.indexOf(QStringLiteral("Name"));
        const int group = record.indexOf(QStringLiteral("Group"));
        while (query.next())
            result.append({columnValue(query, group).toString(), columnValue(query, name).toString()});
    }
    return result;
}

QByteArray DatabaseService::readBrushIcon(const QString &brushName, const QString &connectionName) const
{
    QSqlQuery query(QSqlDatabase::database(
        connectionName.isEmpty() ? QString::fromLatin1(QSqlDatabase::defaultConnection) : connectionName, false));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("Select Image FROM Icons WHERE Brush = :name LIMIT 1"));
    query.bindValue(QStringLiteral(":name"), brushName);
    if (query.exec() && query.next())
        return query.value(0).toByteArray();
    return {};
}

// ---- settings

QVariant DatabaseService::readSetting(SettingKey key) const
{
    const QString name = settingName(key);
    if (name.isEmpty())
        return {};
    QSqlQuery query(database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT * FROM Settings WHERE Name = :name"));
    query.bindValue(QStringLiteral(":name"), name);
    QVariant value;
    if (query.exec()) {
        while (query.next())
            value = query.value(1);
    }
    return value;
}

void DatabaseService::writeSetting(SettingKey key, const QVariant &value)
{
    const QString name = settingName(key);
    if (name.isEmpty())
        return;
    run(QStringLiteral("INSERT OR REPLACE INTO Settings (Name, Value) VALUES (:name, :value)"),
        {{":name", name}, {":value", text(value.toString())}});
}

void DatabaseService::writeDatabaseVersion(const QString &version)
{
    run(QStringLiteral("INSERT OR REPLACE INTO 'Settings' VALUES ('DatabaseVersion', :value)"),
        {{":value", text(version)}});
}

// ---- favourites

QVector<DatabaseService::FavoriteSetRow> DatabaseService::readFavoriteSets()
{
    QVector<FavoriteSetRow> result;
    QSet<QString> stale;
    QSet<QString> live;
    {
        QSqlQuery query(database());
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("SELECT * FROM FavoriteSets ORDER BY SetOrder ASC")))
            return result;
        const QSqlRecord record = query.record();
        const int order = record.indexOf(QStringLiteral("SetOrder"));
        const int name = record.indexOf(QStringLiteral("Name"));
        const int color = record.indexOf(QStringLiteral("Color"));
        while (query.next()) {
            const QString setName = columnValue(query, name).toString();
            result.append({columnValue(query, color).toString(), setName});
            (columnValue(query, order).toInt() == -1 ? stale : live).insert(setName);
        }
    }
    for (const QString &name : qAsConst(stale)) {
        if (live.contains(name))
            run(QStringLiteral("DELETE FROM FavoriteSets WHERE Name=:name AND SetOrder=:order"),
                {{":name", name}, {":order", -1}});
    }
    return result;
}

void DatabaseService::insertFavoriteSet(const QString &name, const QString &color, int order)
{
    run(QStringLiteral("INSERT OR REPLACE INTO FavoriteSets (SetOrder, Name, Color) VALUES (:order, :name, :color)"),
        {{":order", order}, {":name", name}, {":color", text(color)}});
}

void DatabaseService::updateFavoriteSet(const QString &name, const QString &newName, const QString &color,
                                        int order, int previousOrder)
{
    run(QStringLiteral("UPDATE FavoriteSets SET SetOrder=:order, Name=:name, Color=:color "
                       "WHERE SetOrder=:prevSetOrder AND Name=:setName"),
        {{":order", order}, {":name", newName}, {":color", text(color)}, {":prevSetOrder", previousOrder},
         {":setName", name}});
}

void DatabaseService::deleteFavoriteSet(const QString &name)
{
    run(QStringLiteral("DELETE FROM FavoriteSets WHERE Name=:name"), {{":name", name}});
}

QVector<DatabaseService::Favorite> DatabaseService::readFavoriteResources() const
{
    QVector<Favorite> result;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (query.exec(QStringLiteral("SELECT * FROM FavoriteResources ORDER BY SetName ASC, SetOrder ASC"))) {
        const QSqlRecord record = query.record();
        const int name = record.indexOf(QStringLiteral("Name"));
        const int type = record.indexOf(QStringLiteral("Type"));
        const int setName = record.indexOf(QStringLiteral("SetName"));
        while (query.next())
            result.append(Favorite{columnValue(query, name).toString(),
                                   resourceTypeFromKindWord(columnValue(query, type).toString()),
                                   columnValue(query, setName).toString()});
    }
    return result;
}

void DatabaseService::saveFavoriteResource(const QString &name, const QString &type, const QString &setName,
                                           int order)
{
    const QVariantMap values{{":name", name}, {":type", type}, {":setName", setName}, {":order", order}};
    bool empty = true;
    {
        QSqlQuery query(database());
        query.setForwardOnly(true);
        empty = !(query.exec(QStringLiteral("SELECT 1 FROM FavoriteResources LIMIT 1")) && query.next());
    }
    if (empty)
        run(QStringLiteral("INSERT INTO FavoriteResources (Name, Type, SetName, SetOrder) "
                           "VALUES (:name, :type, :setName, :order)"),
            values);
    else
        run(QStringLiteral("UPDATE FavoriteResources SET Name=:name, Type=:type, SetName=:setName, "
                           "SetOrder=:order WHERE SetName=:setName AND Name=:name AND Type=:type"),
            values);
    run(QStringLiteral("INSERT OR REPLACE INTO FavoriteResources (Name, Type, SetName, SetOrder) "
                       "VALUES (:name, :type, :setName, :order)"),
        values);
}

void DatabaseService::deleteFavoriteResource(const QString &name, const QString &type, const QString &setName)
{
    run(QStringLiteral("DELETE FROM FavoriteResources WHERE Name=:name AND Type=:type AND SetName=:setName"),
        {{":name", name}, {":type", type}, {":setName", setName}});
}

// ---- store info

bool DatabaseService::hasStoreSetInfo(const QString &name) const
{
    QSqlQuery query(database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT * FROM StoreSetInfo WHERE Name = :name"));
    query.bindValue(QStringLiteral(":name"), name);
    if (!query.exec())
        return false;
    const int hasInfo = query.record().indexOf(QStringLiteral("HasInfo"));
    while (query.next()) {
        if (columnValue(query, hasInfo).toInt() == 1)
            return true;
    }
    return false;
}

void DatabaseService::writeStoreSetInfo(const QString &name, bool hasInfo)
{
    run(QStringLiteral("INSERT OR REPLACE INTO StoreSetInfo (Name, HasInfo) VALUES (:name, :hasInfo)"),
        {{":name", name}, {":hasInfo", hasInfo ? 1 : 0}});
}

// ---- whole database

bool DatabaseService::exportDatabaseFile(const QString &target, QString *error)
{
    QString message;
    const auto fail = [&](const QString &why) {
        qWarning().noquote() << "Cannot export the library to" << target + ":" << why;
        if (error)
            *error = why;
        return false;
    };
    if (target.isEmpty())
        return fail(QStringLiteral("no target file"));
    if (!isOpen())
        return fail(QStringLiteral("the library database is not open"));
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() && targetInfo.canonicalFilePath() == QFileInfo(m_path).canonicalFilePath())
        return fail(QStringLiteral("the target is the library database itself"));

    // SQLite writes the snapshot from one read transaction into an empty file beside
    // the target; only a complete snapshot replaces the target.
    QTemporaryFile snapshot(targetInfo.absoluteFilePath() + QStringLiteral(".export-XXXXXX"));
    if (!snapshot.open())
        return fail(snapshot.errorString());
    snapshot.close();
    QSqlQuery vacuum(database());
    vacuum.prepare(QStringLiteral("VACUUM INTO ?"));
    vacuum.bindValue(0, snapshot.fileName());
    if (!vacuum.exec())
        return fail(vacuum.lastError().text());
    vacuum.finish();
    if (!replaceFile(snapshot.fileName(), targetInfo.absoluteFilePath(), &message))
        return fail(message);
    snapshot.setAutoRemove(false);
    return true;
}

bool DatabaseService::importDatabaseFile(const QString &source, QString *error)
{
    QString staged;
    return stageImport(source, m_path, &staged, error) && replaceWithStaged(staged, source, error);
}

namespace {

bool importFailed(const QString &source, const QString &why, QString *error)
{
    qWarning().noquote() << "Cannot import the library from" << source + ":" << why;
    if (error)
        *error = why;
    return false;
}

} // namespace

bool DatabaseService::stageImport(const QString &source, const QString &databasePath, QString *stagedFile,
                                  QString *error)
{
    QString message;
    if (source.isEmpty() || !QFileInfo(source).isFile())
        return importFailed(source, QStringLiteral("no such file"), error);

    // The copy goes beside the database so that the final step is one rename on one
    // file system; until then the current database stays open and untouched.
    QTemporaryFile copy(QFileInfo(databasePath).absoluteFilePath() + QStringLiteral(".import-XXXXXX"));
    if (!copy.open())
        return importFailed(source, copy.errorString(), error);
    if (!copyInto(source, copy, &message) || !copy.flush())
        return importFailed(source, message.isEmpty() ? copy.errorString() : message, error);
    copy.close();
    if (!isSqliteDatabase(copy.fileName(), &message))
        return importFailed(source, message, error);
    copy.setAutoRemove(false);
    *stagedFile = copy.fileName();
    return true;
}

bool DatabaseService::replaceWithStaged(const QString &stagedFile, const QString &source, QString *error)
{
    QString message;
    const auto fail = [&](const QString &why) {
        QFile::remove(stagedFile);
        return importFailed(source, why, error);
    };
    const QFileInfo dbInfo(m_path);
    close();
    // A journal beside the file means another connection is writing: a file swapped in
    // now would have that journal played back into it.
    for (const char *suffix : {"-journal", "-wal"}) {
        if (QFileInfo::exists(m_path + QLatin1String(suffix))) {
            open(false);
            return fail(QStringLiteral("the library database is being written"));
        }
    }
    if (dbInfo.exists() && !copyFile(m_path, m_path + QStringLiteral(".bak"), &message)) {
        open(false);
        return fail(QStringLiteral("cannot keep the previous database: ") + message);
    }
    if (!replaceFile(stagedFile, dbInfo.absoluteFilePath(), &message)) {
        open(false);
        return fail(message);
    }
    // An imported older database is brought up to date like one found at start-up.
    open(true);
    emit onImportDb();
    return true;
}
