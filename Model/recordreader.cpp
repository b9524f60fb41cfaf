#include "recordreader.h"

#include <QSqlDatabase>

namespace {

const QString comma = QStringLiteral(",");

} // namespace

RecordReader::RecordReader(const QSqlDatabase &db, const QString &table)
    : m_statement(SqliteStatement::handleOf(db), QStringLiteral("SELECT * FROM %1").arg(table))
{
}

bool RecordReader::first()
{
    // Columns are known for certain only once a row is read: SQLite prepares the statement
    // again when another connection changed the table since this one last looked.
    if (!m_statement.next())
        return false;
    m_name = m_statement.column("Name");
    m_path = m_statement.column("Path");
    m_description = m_statement.column("Description");
    m_tags = m_statement.column("Tags");
    m_category = m_statement.column("Category");
    m_readOnly = m_statement.column("ReadOnly");
    m_scanDate = m_statement.column("ScanDate");
    return true;
}

template<class T, class Make>
const T &RecordReader::repeated(int column, Repeated<T> &last, Make make)
{
    if (!last.bytes.isNull() && m_statement.textEquals(column, last.bytes))
        return last.value;
    // Before the value is read: reading may convert it.
    last.bytes = m_statement.utf8(column);
    last.value = make(m_statement.text(column));
    return last.value;
}

void RecordReader::readCommon(ResourceInfo &info, Qt::SplitBehavior emptyCategories)
{
    const auto same = [](const QString &text) { return text; };
    info.valid = true;
    info.name = m_statement.text(m_name);
    info.path = m_statement.text(m_path);
    info.description = m_statement.text(m_description);
    info.tags = repeated(m_tags, m_lastTags, [](const QString &text) { return text.split(comma, Qt::SkipEmptyParts); });
    info.categories = repeated(m_category, m_lastCategories,
                               [emptyCategories](const QString &text) { return text.split(comma, emptyCategories); });
    info.readOnly = m_statement.integer(m_readOnly) == 1;
    info.scanDate = repeated(m_scanDate, m_lastScanDate, same);
}

bool RecordReader::nextRow()
{
    if (m_started)
        return m_statement.next();
    m_started = true;
    return first();
}

const QStringList &RecordReader::tags()
{
    return repeated(m_tags, m_lastTags, [](const QString &text) { return text.split(comma, Qt::SkipEmptyParts); });
}

const QStringList &RecordReader::categories()
{
    return repeated(m_category, m_lastCategories,
                    [](const QString &text) { return text.split(comma, Qt::KeepEmptyParts); });
}

const QString &RecordReader::scanDate()
{
    return repeated(m_scanDate, m_lastScanDate, [](const QString &text) { return text; });
}

template<class Map>
Map RecordReader::readResources()
{
    Map result;
    if (!first())
        return result;
    do {
        auto info = QSharedPointer<ResourceInfo>::create();
        readCommon(*info, Qt::KeepEmptyParts);
        result.insert(info->name, info);
    } while (m_statement.next());
    return result;
}

QMap<QString, QSharedPointer<ResourceInfo>> RecordReader::resources()
{
    return readResources<QMap<QString, QSharedPointer<ResourceInfo>>>();
}

QHash<QString, QSharedPointer<ResourceInfo>> RecordReader::resourceIndex()
{
    return readResources<QHash<QString, QSharedPointer<ResourceInfo>>>();
}

QMap<QString, QSharedPointer<AlphaInfo>> RecordReader::alphas()
{
    QMap<QString, QSharedPointer<AlphaInfo>> result;
    if (!first())
        return result;
    const int ignore = m_statement.column("Ignore");
    const int width = m_statement.column("Width");
    const int height = m_statement.column("Height");
    const int depth = m_statement.column("Depth");
    do {
        auto info = QSharedPointer<AlphaInfo>::create();
        readCommon(*info, Qt::KeepEmptyParts);
        info->ignore = m_statement.integer(ignore) == 1;
        info->width = m_statement.integer(width);
        info->height = m_statement.integer(height);
        info->depth = m_statement.integer(depth);
        result.insert(info->name, info);
    } while (m_statement.next());
    return result;
}

QMap<QString, QSharedPointer<BrushInfo>> RecordReader::brushes()
{
    QMap<QString, QSharedPointer<BrushInfo>> result;
    if (!first())
        return result;
    const int author = m_statement.column("Author");
    const int link = m_statement.column("Link");
    const int type = m_statement.column("Type");
    const int kivCategory = m_statement.column("KIV_Category");
    do {
        auto info = QSharedPointer<BrushInfo>::create();
        readCommon(*info, Qt::SkipEmptyParts);
        info->author = m_statement.text(author);
        info->link = m_statement.text(link);
        info->type = m_statement.text(type);
        info->kivCategory = m_statement.text(kivCategory);
        result.insert(info->name, info);
    } while (m_statement.next());
    return result;
}
