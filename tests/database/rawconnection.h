#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVector>

class QTemporaryDir;

// A connection of its own on a database file, to set up and inspect what the
// service under test wrote, independent of the service's connection.
class RawConnection
{
public:
    explicit RawConnection(const QString &path);
    ~RawConnection();
    RawConnection(const RawConnection &) = delete;
    RawConnection &operator=(const RawConnection &) = delete;

    bool exec(const QString &statement, const QVariantList &values = {});
    QVector<QVariantList> rows(const QString &statement, const QVariantList &values = {});
    // First column of the first row, or an invalid value.
    QVariant value(const QString &statement, const QVariantList &values = {});
    QStringList tables();
    // The whole content: schema text and every row of every table, for comparisons.
    QStringList dump();
    // The Qt connection name, for queries of a test's own.
    QString name() const { return m_name; }

private:
    QString m_name;
};

// A copy of the empty library template in dir; fails the test when it is missing.
QString copyTemplate(const QTemporaryDir &dir, const QString &fileName = QStringLiteral("brushes.db"));
