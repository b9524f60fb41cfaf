#include "rawconnection.h"

#include <QAtomicInt>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

RawConnection::RawConnection(const QString &path)
{
    static QAtomicInt counter;
    m_name = QStringLiteral("raw-%1").arg(counter.fetchAndAddRelaxed(1));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(path);
    if (!db.open())
        qWarning() << "raw connection failed" << db.lastError().text();
}

RawConnection::~RawConnection()
{
    QSqlDatabase::database(m_name, false).close();
    QSqlDatabase::removeDatabase(m_name);
}

QVector<QVariantList> RawConnection::rows(const QString &statement, const QVariantList &values)
{
    QVector<QVariantList> result;
    QSqlQuery query(QSqlDatabase::database(m_name, false));
    query.prepare(statement);
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec()) {
        qWarning() << "raw statement failed" << statement << query.lastError().text();
        return result;
    }
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < query.record().count(); ++i)
            row << query.value(i);
        result << row;
    }
    return result;
}

bool RawConnection::exec(const QString &statement, const QVariantList &values)
{
    QSqlQuery query(QSqlDatabase::database(m_name, false));
    query.prepare(statement);
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec()) {
        qWarning() << "raw statement failed" << statement << query.lastError().text();
        return false;
    }
    return true;
}

QVariant RawConnection::value(const QString &statement, const QVariantList &values)
{
    const QVector<QVariantList> result = rows(statement, values);
    return result.isEmpty() || result.first().isEmpty() ? QVariant() : result.first().first();
}

QStringList RawConnection::tables()
{
    QStringList names;
    const auto result =
        rows(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name"));
    for (const QVariantList &row : result)
        names << row.first().toString();
    return names;
}

QStringList RawConnection::dump()
{
    QStringList lines;
    const auto schema = rows(QStringLiteral("SELECT type, name, sql FROM sqlite_master ORDER BY name"));
    for (const QVariantList &row : schema)
        lines << row.at(0).toString() + QLatin1Char(' ') + row.at(1).toString() + QLatin1Char(' ') +
                     row.at(2).toString();
    for (const QString &table : tables()) {
        const auto content = rows(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table));
        for (const QVariantList &row : content) {
            QStringList cells;
            for (const QVariant &cell : row)
                cells << (cell.isNull() ? QStringLiteral("NULL") : cell.toString());
            lines << table + QLatin1String(": ") + cells.join(QLatin1Char('|'));
        }
    }
    return lines;
}

QString copyTemplate(const QTemporaryDir &dir, const QString &fileName)
{
    const QString path = dir.filePath(fileName);
    if (!QFile::copy(QStringLiteral(KIVARA_TEMPLATE_DB), path))
        qWarning() << "cannot copy the template" << KIVARA_TEMPLATE_DB;
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}
