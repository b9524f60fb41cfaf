#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_value;
class QSqlDatabase;

// One prepared statement run straight on the SQLite handle beneath a Qt connection.
// Scans read and write tens of thousands of rows, and Qt's SQL layer makes a QVariant
// of every value and has SQLite convert every text to UTF-16; here texts stay UTF-8
// inside SQLite and values are read in place. Values read the way Qt's driver and
// QVariant read them, so that both roads give the same records.
//
// Lives only as long as a call: a connection that still holds statements cannot close.
class SqliteStatement
{
public:
    // The handle of an open QSQLITE connection, or null.
    static sqlite3 *handleOf(const QSqlDatabase &db);

    SqliteStatement(sqlite3 *db, const QString &statement);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    bool isValid() const { return m_statement != nullptr; }
    // SQLite's message for the last failure.
    QString errorText() const;

    // Reading ------------------------------------------------------------------------
    // Position of a result column by name, without regard to case (as QSqlRecord finds
    // it), or -1.
    int column(const char *name) const;
    // Steps to the next row; false at the end or on an error.
    bool next();
    // A value as QVariant::toString() gives it from Qt's driver: a null text for NULL
    // and for a column of -1.
    QString text(int column) const;
    // A value as QVariant::toInt() gives it from Qt's driver; 0 for NULL and for -1.
    int integer(int column) const;
    // Whether the value's UTF-8 bytes are exactly these (false for NULL): lets a reader
    // reuse what it made from an equal value of an earlier row.
    bool textEquals(int column, const QByteArray &utf8) const;
    // The UTF-8 bytes of a text value; null for every other value.
    QByteArray utf8(int column) const;
    // Whether text(column) would equal text (a null value equals an empty text, as
    // QString compares them), compared in place for ASCII.
    bool textEquals(int column, const QString &text) const;

    // Writing ------------------------------------------------------------------------
    // Parameters count from 1, as in SQLite. A null text binds NULL, as Qt does.
    void bind(int parameter, const QString &value);
    void bind(int parameter, int value);
    // Runs the bound statement to its end, then makes it ready to run again.
    bool run();

private:
    sqlite3_value *cell(int column) const;

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_statement = nullptr;
    QString m_error;
    // What the bound texts point into, per parameter.
    QVector<QByteArray> m_bytes;
    QVector<QString> m_texts;
};
