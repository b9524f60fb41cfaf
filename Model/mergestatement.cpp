#include "mergestatement.h"

#include <QDebug>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

#include <memory>

namespace {

const QString comma = QStringLiteral(",");

// Columns in binding order, and the ones whose stored value wins.
const QStringList &columnsOf(MergeStatement::Layout layout)
{
    static const QStringList resources{"Name", "Path", "Description", "Tags", "Category", "ReadOnly", "ScanDate"};
    static const QStringList brushes{"Name", "Path",     "Description",  "Author",   "Link",    "Type",
                                     "Tags", "Category", "KIV_Category", "ReadOnly", "ScanDate"};
    static const QStringList alphas{"Name",     "Path",   "Description", "Tags",  "Category", "ReadOnly",
                                    "ScanDate", "Ignore", "Width",       "Height", "Depth"};
    return layout == MergeStatement::Brushes ? brushes : layout == MergeStatement::Alphas ? alphas : resources;
}

const QStringList &keptOf(MergeStatement::Layout layout)
{
    static const QStringList resources{"Description", "Tags", "Category", "ReadOnly"};
    static const QStringList brushes{"Description", "Type", "Tags", "Category", "KIV_Category", "ReadOnly"};
    return layout == MergeStatement::Brushes ? brushes : resources;
}

// Whether a unique index on exactly the Name column exists, as an upsert needs.
bool hasNameKey(const QSqlDatabase &db, const QString &table)
{
    QSqlQuery indexes(db);
    if (!indexes.exec(QStringLiteral("PRAGMA index_list(\"%1\")").arg(table)))
        return false;
    const QSqlRecord record = indexes.record();
    const int nameColumn = record.indexOf(QStringLiteral("name"));
    const int uniqueColumn = record.indexOf(QStringLiteral("unique"));
    while (indexes.next()) {
        if (indexes.value(uniqueColumn).toInt() != 1)
            continue;
        QSqlQuery columns(db);
        if (!columns.exec(QStringLiteral("PRAGMA index_info(\"%1\")").arg(indexes.value(nameColumn).toString())))
            continue;
        QStringList names;
        while (columns.next())
            names << columns.value(2).toString();
        if (names.size() == 1 && names.first().compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The statement for rows records at once (several only for the upsert: the older form
// reads the table it writes, and several rows of it would all read it before the first
// is written).
QString statementText(const QString &table, MergeStatement::Layout layout, bool upsert, int rows = 1)
{
    const QStringList &columns = columnsOf(layout);
    const QStringList &kept = keptOf(layout);
    QStringList quoted;
    QStringList updates;
    QStringList mergedValues;
    for (int i = 0; i < columns.size(); ++i) {
        const QString column = QStringLiteral("\"%1\"").arg(columns.at(i));
        const bool keeps = kept.contains(columns.at(i));
        const QString parameter = QStringLiteral("?%1").arg(i + 1);
        quoted << column;
        if (i > 0)
            updates << (keeps ? QStringLiteral("%1 = COALESCE(%1, excluded.%1)").arg(column)
                              : QStringLiteral("%1 = excluded.%1").arg(column));
        mergedValues << (keeps ? QStringLiteral("COALESCE((SELECT %1 FROM \"%2\" WHERE Name = ?1), %3)")
                                     .arg(column, table, parameter)
                               : parameter);
    }
    if (!upsert)
        return QStringLiteral("INSERT OR REPLACE INTO \"%1\" (%2) VALUES (%3)")
            .arg(table, quoted.join(comma), mergedValues.join(comma));
    QStringList values;
    for (int row = 0; row < rows; ++row) {
        QStringList parameters;
        for (int i = 0; i < columns.size(); ++i)
            parameters << QStringLiteral("?%1").arg(row * columns.size() + i + 1);
        values << QLatin1Char('(') + parameters.join(comma) + QLatin1Char(')');
    }
    return QStringLiteral("INSERT INTO \"%1\" (%2) VALUES %3 ON CONFLICT (\"Name\") DO UPDATE SET %4")
        .arg(table, quoted.join(comma), values.join(comma), updates.join(comma));
}

} // namespace

MergeStatement::MergeStatement(const QSqlDatabase &db, const QString &table, Layout layout)
    : m_table(table)
    , m_layout(layout)
    , m_db(SqliteStatement::handleOf(db))
    , m_upsert(hasNameKey(db, table))
    , m_schemaVersion(schemaVersion(db))
    , m_statement(m_db, statementText(table, layout, m_upsert))
{
    if (!m_statement.isValid())
        qWarning() << "cannot store into" << table << m_statement.errorText();
}

MergeStatement::~MergeStatement() = default;

int MergeStatement::schemaVersion(const QSqlDatabase &db)
{
    SqliteStatement pragma(SqliteStatement::handleOf(db), QStringLiteral("PRAGMA schema_version"));
    return pragma.next() ? pragma.integer(0) : -1;
}

bool MergeStatement::runAll(const QList<QSharedPointer<ResourceInfo>> &records)
{
    if (!m_statement.isValid())
        return false;
    // SQLite runs a statement of many rows for little more than one of a single row.
    int done = 0;
    if (m_upsert && m_layout == Resources && records.size() >= rowsPerStatement) {
        if (!m_rows)
            m_rows = std::make_unique<SqliteStatement>(m_db, statementText(m_table, m_layout, true, rowsPerStatement));
        const int columns = columnsOf(m_layout).size();
        for (; m_rows->isValid() && done + rowsPerStatement <= records.size(); done += rowsPerStatement) {
            for (int row = 0; row < rowsPerStatement; ++row)
                bindResource(*m_rows, row * columns, *records.at(done + row));
            // A failing row leaves the statement's rows unwritten: one by one they show which.
            if (!m_rows->run())
                break;
        }
    }
    for (; done < records.size(); ++done) {
        if (!run(*records.at(done)))
            return false;
    }
    return true;
}

QString MergeStatement::storedText(const QString &value)
{
    return value.isNull() ? QString(QLatin1String("")) : value;
}

QString MergeStatement::storedCategories(const QStringList &categories)
{
    return categories.isEmpty() ? QStringLiteral("All") : storedText(categories.join(comma));
}

// Tags and Category, which come later in the brushes' table than in the others.
void MergeStatement::bindCommon(const ResourceInfo &record, int firstParameter)
{
    m_statement.bind(firstParameter, storedText(record.tags.join(comma)));
    m_statement.bind(firstParameter + 1, storedCategories(record.categories));
}

void MergeStatement::bindResource(SqliteStatement &statement, int offset, const ResourceInfo &record)
{
    statement.bind(offset + 1, record.name);
    statement.bind(offset + 2, storedText(record.path));
    statement.bind(offset + 3, storedText(record.description));
    statement.bind(offset + 4, storedText(record.tags.join(comma)));
    statement.bind(offset + 5, storedCategories(record.categories));
    statement.bind(offset + 6, record.readOnly ? 1 : 0);
    statement.bind(offset + 7, storedText(record.scanDate));
}

bool MergeStatement::run(const ResourceInfo &record)
{
    if (!m_statement.isValid())
        return false;
    bindResource(m_statement, 0, record);
    return finish(record.name);
}

bool MergeStatement::run(const AlphaInfo &record)
{
    if (!m_statement.isValid())
        return false;
    m_statement.bind(8, record.ignore ? 1 : 0);
    m_statement.bind(9, record.width);
    m_statement.bind(10, record.height);
    m_statement.bind(11, record.depth);
    return run(static_cast<const ResourceInfo &>(record));
}

bool MergeStatement::run(const BrushInfo &record)
{
    if (!m_statement.isValid())
        return false;
    m_statement.bind(1, record.name);
    m_statement.bind(2, storedText(record.path));
    m_statement.bind(3, storedText(record.description));
    m_statement.bind(4, storedText(record.author));
    m_statement.bind(5, storedText(record.link));
    m_statement.bind(6, storedText(record.type));
    bindCommon(record, 7);
    m_statement.bind(9, storedText(record.kivCategory));
    m_statement.bind(10, record.readOnly ? 1 : 0);
    m_statement.bind(11, storedText(record.scanDate));
    return finish(record.name);
}

bool MergeStatement::finish(const QString &name)
{
    if (m_statement.run())
        return true;
    qWarning() << "cannot store" << name << m_statement.errorText();
    return false;
}
