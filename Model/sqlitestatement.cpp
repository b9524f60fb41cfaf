#include "sqlitestatement.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

#include <climits>
#include <cstring>

namespace {

// ASCII reads the same through every road; only other texts need SQLite's own
// conversion to agree with what Qt's driver gives. Eight bytes at a time: paths are long.
bool isAscii(const unsigned char *bytes, int size)
{
    quint64 seen = 0;
    int i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, bytes + i, 8);
        seen |= word;
    }
    for (; i < size; ++i)
        seen |= bytes[i];
    return (seen & 0x8080808080808080ULL) == 0;
}

} // namespace

sqlite3 *SqliteStatement::handleOf(const QSqlDatabase &db)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

SqliteStatement::SqliteStatement(sqlite3 *db, const QString &statement)
    : m_db(db)
{
    if (!m_db) {
        m_error = QStringLiteral("no open SQLite connection");
        return;
    }
    const QByteArray text = statement.toUtf8();
    if (sqlite3_prepare_v2(m_db, text.constData(), text.size(), &m_statement, nullptr) != SQLITE_OK) {
        m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
    }
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

QString SqliteStatement::errorText() const
{
    return m_error;
}

int SqliteStatement::column(const char *name) const
{
    if (!m_statement)
        return -1;
    const int count = sqlite3_column_count(m_statement);
    for (int i = 0; i < count; ++i) {
        if (qstricmp(sqlite3_column_name(m_statement, i), name) == 0)
            return i;
    }
    return -1;
}

bool SqliteStatement::next()
{
    if (!m_statement)
        return false;
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW)
        return true;
    if (result != SQLITE_DONE)
        m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
    return false;
}

namespace {

// The value as Qt's driver hands it over, for the rare cells that are not plain text
// or small integers.
QVariant driverValue(sqlite3_stmt *statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(statement, column);
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char *>(sqlite3_column_blob(statement, column)),
                          sqlite3_column_bytes(statement, column));
    case SQLITE_NULL:
        return QVariant(QVariant::String);
    default: {
        const void *units = sqlite3_column_text16(statement, column);
        return QString(static_cast<const QChar *>(units), sqlite3_column_bytes16(statement, column) / 2);
    }
    }
}

} // namespace

// Cells are read through sqlite3_column_value(): each sqlite3_column_*() call takes the
// connection's lock, and a row has many cells. The value is only used on this thread,
// which is the one thread that uses the connection.
sqlite3_value *SqliteStatement::cell(int column) const
{
    return m_statement && column >= 0 ? sqlite3_column_value(m_statement, column) : nullptr;
}

QString SqliteStatement::text(int column) const
{
    sqlite3_value *value = cell(column);
    if (!value)
        return QString();
    switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
        return QString();
    case SQLITE_TEXT: {
        const unsigned char *bytes = sqlite3_value_text(value);
        const int size = sqlite3_value_bytes(value);
        if (!bytes)
            return QString(QLatin1String(""));
        if (isAscii(bytes, size))
            return QString::fromLatin1(reinterpret_cast<const char *>(bytes), size);
        return driverValue(m_statement, column).toString();
    }
    default:
        return driverValue(m_statement, column).toString();
    }
}

int SqliteStatement::integer(int column) const
{
    sqlite3_value *value = cell(column);
    if (!value)
        return 0;
    switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
        return 0;
    case SQLITE_INTEGER: {
        const sqlite3_int64 number = sqlite3_value_int64(value);
        if (number >= INT_MIN && number <= INT_MAX)
            return int(number);
        return driverValue(m_statement, column).toInt();
    }
    case SQLITE_TEXT:
        return QVariant(text(column)).toInt();
    default:
        return driverValue(m_statement, column).toInt();
    }
}

bool SqliteStatement::textEquals(int column, const QByteArray &utf8) const
{
    sqlite3_value *value = cell(column);
    if (!value || sqlite3_value_type(value) != SQLITE_TEXT)
        return false;
    const void *bytes = sqlite3_value_text(value);
    const int size = sqlite3_value_bytes(value);
    return bytes && size == utf8.size() && std::memcmp(bytes, utf8.constData(), size_t(size)) == 0;
}

bool SqliteStatement::textEquals(int column, const QString &text) const
{
    sqlite3_value *value = cell(column);
    if (!value || sqlite3_value_type(value) == SQLITE_NULL)
        return text.isEmpty();
    if (sqlite3_value_type(value) != SQLITE_TEXT)
        return this->text(column) == text;
    const unsigned char *bytes = sqlite3_value_text(value);
    const int size = sqlite3_value_bytes(value);
    if (!bytes || !isAscii(bytes, size))
        return this->text(column) == text;
    if (size != text.size())
        return false;
    const QChar *units = text.constData();
    for (int i = 0; i < size; ++i) {
        if (units[i].unicode() != bytes[i])
            return false;
    }
    return true;
}

QByteArray SqliteStatement::utf8(int column) const
{
    sqlite3_value *value = cell(column);
    if (!value || sqlite3_value_type(value) != SQLITE_TEXT)
        return QByteArray();
    const char *bytes = reinterpret_cast<const char *>(sqlite3_value_text(value));
    return QByteArray(bytes, sqlite3_value_bytes(value));
}

void SqliteStatement::bind(int parameter, const QString &value)
{
    if (!m_statement || parameter < 1)
        return;
    if (value.isNull()) {
        sqlite3_bind_null(m_statement, parameter);
        return;
    }
    // The bytes stay in this statement's buffers until the parameter is bound again, so
    // SQLite need not copy them, and a buffer keeps its room from one row to the next.
    if (m_bytes.size() < parameter) {
        const int first = m_bytes.size();
        m_bytes.resize(parameter);
        m_texts.resize(parameter);
        // Reserved room survives texts of length 0 (never a null pointer: that binds NULL).
        for (int i = first; i < parameter; ++i)
            m_bytes[i].reserve(64);
    }
    QByteArray &bytes = m_bytes[parameter - 1];
    const int size = value.size();
    bytes.resize(size);
    const ushort *units = value.utf16();
    char *out = bytes.data();
    ushort seen = 0;
    for (int i = 0; i < size; ++i) {
        seen |= units[i];
        out[i] = char(units[i]);
    }
    if (seen < 0x80) {
        sqlite3_bind_text(m_statement, parameter, out, size, SQLITE_STATIC);
    } else {
        // Beyond ASCII SQLite converts the UTF-16 itself, as it does for Qt's driver.
        m_texts[parameter - 1] = value;
        sqlite3_bind_text16(m_statement, parameter, m_texts.at(parameter - 1).utf16(), size * 2, SQLITE_STATIC);
    }
}

void SqliteStatement::bind(int parameter, int value)
{
    if (m_statement)
        sqlite3_bind_int(m_statement, parameter, value);
}

bool SqliteStatement::run()
{
    if (!m_statement)
        return false;
    int result;
    do {
        result = sqlite3_step(m_statement);
    } while (result == SQLITE_ROW);
    const bool done = result == SQLITE_DONE;
    if (!done)
        m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
    sqlite3_reset(m_statement);
    return done;
}
