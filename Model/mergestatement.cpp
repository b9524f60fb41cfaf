#include "mergestatement.h"

#include <QDebug>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

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

QString statementText(const QSqlDatabase &db, const QString &table, MergeStatement::Layout layout)
{
    const QStringList &columns = columnsOf(layout);
    const QStringList &kept = keptOf(layout);
    QStringList quoted;
    QStringList parameters;
    QStringList updates;
    QStringList mergedValues;
    for (int i = 0; i < columns.size(); ++i) {
        const QString column = QStringLiteral("\"%1\"").arg(columns.at(i));
        const bool keeps = kept.contains(columns.at(i));
        parameters << QStringLiteral("?%1").arg(i + 1);
        quoted << column;
        if (i > 0)
            updates << (keeps ? QStringLiteral("%1 = COALESCE(%1, excluded.%1)").arg(column)
                              : QStringLiteral("%1 = excluded.%1").arg(column));
        mergedValues << (keeps ? QStringLiteral("COALESCE((SELECT %1 FROM \"%2\" WHERE Name = ?1), %3)")
                                     .arg(column, table, parameters.last())
                               : parameters.last());
    }
    if (hasNameKey(db, table))
        return QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3) ON CONFLICT (\"Name\") DO UPDATE SET %4")
            .arg(table, quoted.join(comma), parameters.join(comma), updates.join(comma));
    return QStringLiteral("INSERT OR REPLACE INTO \"%1\" (%2) VALUES (%3)")
        .arg(table, quoted.join(comma), mergedValues.join(comma));
}

} // namespace

MergeStatement::MergeStatement(const QSqlDatabase &db, const QString &table, Layout layout)
    : m_table(table)
    , m_statement(SqliteStatement::handleOf(db), statementText(db, table, layout))
{
    if (!m_statement.isValid())
        qWarning() << "cannot store into" << table << m_statement.errorText();
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

bool MergeStatement::run(const ResourceInfo &record)
{
    if (!m_statement.isValid())
        return false;
    m_statement.bind(1, record.name);
    m_statement.bind(2, storedText(record.path));
    m_statement.bind(3, storedText(record.description));
    bindCommon(record, 4);
    m_statement.bind(6, record.readOnly ? 1 : 0);
    m_statement.bind(7, storedText(record.scanDate));
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
