#pragma once

#include "Model/alphainfo.h"
#include "Model/brushinfo.h"
#include "Model/resourceinfo.h"
#include "Model/sqlitestatement.h"

#include <QList>
#include <QSharedPointer>
#include <QString>
#include <QStringList>

#include <memory>

class QSqlDatabase;

// The merge of a rescan, one statement per record: store the scanned values, except that
// the kept columns (the user's) keep the stored row's value when it is not NULL. Written
// as an upsert on the Name key, which reads the stored row once and updates it in place;
// rows are only ever read by name, so updating in place instead of replacing the row
// shows no difference. A table without a key on Name (an oddly made older file) takes the
// same merge with one sub-select per kept column.
class MergeStatement
{
public:
    // Which columns the table has: those of every resource table, or the brushes' or
    // the alphas' own.
    enum Layout { Resources, Brushes, Alphas };

    MergeStatement(const QSqlDatabase &db, const QString &table, Layout layout);
    ~MergeStatement();

    // Prepared statements stay valid while the schema stays: the statement chosen for a
    // table depends on its keys.
    static int schemaVersion(const QSqlDatabase &db);
    int preparedForSchema() const { return m_schemaVersion; }

    // The record must match the layout. False, with a warning, when it was not stored.
    bool run(const ResourceInfo &record);
    // Records of the Resources layout in order, as run() one after the other would store
    // them; stops at the first that fails.
    bool runAll(const QList<QSharedPointer<ResourceInfo>> &records);
    bool run(const BrushInfo &record);
    bool run(const AlphaInfo &record);

    // Texts are stored as "" rather than NULL: a merged column of a new row never holds
    // NULL, so a later scan cannot replace the user's value.
    static QString storedText(const QString &value);
    // An empty list is stored as "All".
    static QString storedCategories(const QStringList &categories);

private:
    static constexpr int rowsPerStatement = 64;

    void bindCommon(const ResourceInfo &record, int firstParameter);
    static void bindResource(SqliteStatement &statement, int offset, const ResourceInfo &record);
    bool finish(const QString &name);

    QString m_table;
    Layout m_layout;
    sqlite3 *m_db;
    bool m_upsert;
    int m_schemaVersion;
    SqliteStatement m_statement;
    std::unique_ptr<SqliteStatement> m_rows; // rowsPerStatement records at once
};
