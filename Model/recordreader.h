#pragma once

#include "Model/alphainfo.h"
#include "Model/brushinfo.h"
#include "Model/resourceinfo.h"
#include "Model/sqlitestatement.h"

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QSharedPointer>
#include <QString>
#include <QStringList>

class QSqlDatabase;

// Reads the stored records of a resource table in one pass over one prepared statement,
// the values taken from SQLite in place. Columns are found by name. Rows of one scan
// share their scan date and most rows share their categories and tags: a text equal to
// the previous row's is not read again but shares what that row made of it.
//
// A missing table reads as no records. When two rows share a name the later one wins.
class RecordReader
{
public:
    RecordReader(const QSqlDatabase &db, const QString &table);

    // Categories keep empty pieces.
    QMap<QString, QSharedPointer<ResourceInfo>> resources();
    QHash<QString, QSharedPointer<ResourceInfo>> resourceIndex();
    QMap<QString, QSharedPointer<AlphaInfo>> alphas();
    // Categories drop empty pieces.
    QMap<QString, QSharedPointer<BrushInfo>> brushes();

    // Row by row, for comparing the stored rows with objects already made from them
    // without making records: values are compared in place, lists split as resources()
    // splits them. The first call finds the columns.
    bool nextRow();
    bool nameIs(const QString &name) const { return m_statement.textEquals(m_name, name); }
    QString name() const { return m_statement.text(m_name); }
    bool descriptionIs(const QString &description) const
    {
        return m_statement.textEquals(m_description, description);
    }
    const QStringList &tags();
    const QStringList &categories();
    bool readOnly() const { return m_statement.integer(m_readOnly) == 1; }
    const QString &scanDate();

private:
    // The last text read from a column and what it became.
    template<class T>
    struct Repeated
    {
        QByteArray bytes; // null when the value was not a text
        T value;
    };
    template<class T, class Make>
    const T &repeated(int column, Repeated<T> &last, Make make);
    template<class Map>
    Map readResources();

    // Steps to the first row and finds the columns; false when there is none.
    bool first();
    void readCommon(ResourceInfo &info, Qt::SplitBehavior emptyCategories);

    SqliteStatement m_statement;
    int m_name = -1;
    int m_path = -1;
    int m_description = -1;
    int m_tags = -1;
    int m_category = -1;
    int m_readOnly = -1;
    int m_scanDate = -1;
    bool m_started = false;
    Repeated<QString> m_lastScanDate;
    Repeated<QStringList> m_lastTags;
    Repeated<QStringList> m_lastCategories;
};
