// Storing a scan of generic resources: saveResources into an empty table and again into
// the filled table (the merge path), beside plain prepared inserts on the SQLite C API
// in one transaction as the floor.
//
//   bench_database [records] [rounds]

#include "Model/databaseservice.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

#include <algorithm>
#include <functional>

namespace {

using Records = QList<QSharedPointer<ResourceInfo>>;

Records makeRecords(int count, const QString &folder, const QString &scanDate)
{
    Records records;
    records.reserve(count);
    for (int i = 0; i < count; ++i) {
        auto r = QSharedPointer<ResourceInfo>::create();
        r->valid = true;
        r->name = QStringLiteral("Resource%1").arg(i, 6, 10, QLatin1Char('0'));
        r->path = folder + r->name + QStringLiteral(".zpr");
        r->scanDate = scanDate;
        records << r;
    }
    return records;
}

const char *createProjects =
    "CREATE TABLE IF NOT EXISTS 'Projects' ('Name' TEXT NOT NULL UNIQUE  , 'Path' TEXT, 'Description' TEXT, "
    "'Tags' TEXT, 'Category' TEXT NOT NULL DEFAULT 'All', 'ReadOnly' INTEGER NOT NULL DEFAULT 0, "
    "'ScanDate' TEXT NOT NULL, PRIMARY KEY('Name'))";

// The floor: one prepared statement, one transaction, texts bound without conversion.
void plainInserts(sqlite3 *db, const char *verb, const Records &records)
{
    const QByteArray sql = QByteArray(verb) +
                           " INTO Projects (Name, Path, Description, Tags, Category, ReadOnly, ScanDate) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?)";
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    static const char16_t empty[] = u"";
    static const char16_t all[] = u"All";
    for (const auto &r : records) {
        sqlite3_bind_text16(stmt, 1, r->name.utf16(), r->name.size() * 2, SQLITE_STATIC);
        sqlite3_bind_text16(stmt, 2, r->path.utf16(), r->path.size() * 2, SQLITE_STATIC);
        sqlite3_bind_text16(stmt, 3, empty, 0, SQLITE_STATIC);
        sqlite3_bind_text16(stmt, 4, empty, 0, SQLITE_STATIC);
        sqlite3_bind_text16(stmt, 5, all, 6, SQLITE_STATIC);
        sqlite3_bind_int(stmt, 6, r->readOnly ? 1 : 0);
        sqlite3_bind_text16(stmt, 7, r->scanDate.utf16(), r->scanDate.size() * 2, SQLITE_STATIC);
        if (sqlite3_step(stmt) != SQLITE_DONE)
            qWarning() << "insert failed" << sqlite3_errmsg(db);
        sqlite3_reset(stmt);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_finalize(stmt);
}

// The merge written with one sub-select per kept column, run through Qt like the service.
void subselectMerge(const Records &records)
{
    QSqlDatabase db = QSqlDatabase::database();
    db.transaction();
    QSqlQuery q(db);
    q.prepare(QStringLiteral(
        "INSERT OR REPLACE INTO Projects (Name, Path, Description, Tags, Category, ReadOnly, ScanDate) VALUES "
        "(:name, :path, COALESCE((SELECT Description FROM Projects WHERE Name=:name), :description), "
        "COALESCE((SELECT Tags FROM Projects WHERE Name=:name), :tags), "
        "COALESCE((SELECT Category FROM Projects WHERE Name=:name), :category), "
        "COALESCE((SELECT ReadOnly FROM Projects WHERE Name=:name), :readOnly), :scanDate)"));
    for (const auto &r : records) {
        q.bindValue(QStringLiteral(":name"), r->name);
        q.bindValue(QStringLiteral(":path"), r->path);
        q.bindValue(QStringLiteral(":description"), QStringLiteral(""));
        q.bindValue(QStringLiteral(":tags"), QStringLiteral(""));
        q.bindValue(QStringLiteral(":category"), QStringLiteral("All"));
        q.bindValue(QStringLiteral(":readOnly"), 0);
        q.bindValue(QStringLiteral(":scanDate"), r->scanDate);
        q.exec();
    }
    db.commit();
}

double seconds(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e9;
}

struct Figures
{
    QString label;
    QVector<double> times;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int count = args.size() > 1 ? args.at(1).toInt() : 50000;
    const int rounds = args.size() > 2 ? args.at(2).toInt() : 3;

    const Records first = makeRecords(count, QStringLiteral("/library/first/"),
                                      QDateTime(QDate(2025, 1, 1), QTime(10, 0)).toString(Qt::TextDate));
    const Records second = makeRecords(count, QStringLiteral("/library/second/"),
                                       QDateTime(QDate(2025, 2, 1), QTime(10, 0)).toString(Qt::TextDate));

    Figures serviceEmpty{QStringLiteral("saveResources, empty table"), {}};
    Figures serviceFilled{QStringLiteral("saveResources, filled table (merge)"), {}};
    Figures subselectEmpty{QStringLiteral("one sub-select per kept column, empty table"), {}};
    Figures subselectFilled{QStringLiteral("one sub-select per kept column, filled table"), {}};
    Figures floorEmpty{QStringLiteral("floor: C API INSERT, empty table"), {}};
    Figures floorFilled{QStringLiteral("floor: C API INSERT OR REPLACE, filled table"), {}};

    for (int round = 0; round < rounds; ++round) {
        QTemporaryDir dir;
        {
            DatabaseService service(dir.filePath(QStringLiteral("service.db")), QString(), true);
            serviceEmpty.times << seconds([&] { service.saveResources(first, DatabaseService::Project); });
            serviceFilled.times << seconds([&] { service.saveResources(second, DatabaseService::Project); });
            if (service.readResources(DatabaseService::Project).size() != count)
                qWarning() << "the service stored a different number of rows";
        }
        {
            DatabaseService service(dir.filePath(QStringLiteral("subselect.db")), QString(), true);
            subselectEmpty.times << seconds([&] { subselectMerge(first); });
            subselectFilled.times << seconds([&] { subselectMerge(second); });
        }
        sqlite3 *db = nullptr;
        sqlite3_open(QFile::encodeName(dir.filePath(QStringLiteral("floor.db"))).constData(), &db);
        sqlite3_exec(db, createProjects, nullptr, nullptr, nullptr);
        floorEmpty.times << seconds([&] { plainInserts(db, "INSERT", first); });
        floorFilled.times << seconds([&] { plainInserts(db, "INSERT OR REPLACE", second); });
        sqlite3_close(db);
    }

    QTextStream out(stdout);
    out << "SQLite " << sqlite3_libversion() << ", " << count << " generic records, " << rounds
        << " rounds (fresh files each round); records/s as median (best)\n";
    for (Figures *f : {&serviceEmpty, &serviceFilled, &subselectEmpty, &subselectFilled, &floorEmpty, &floorFilled}) {
        std::sort(f->times.begin(), f->times.end());
        const double median = f->times.at(f->times.size() / 2);
        out << QStringLiteral("%1 %2 (%3)\n")
                   .arg(f->label, -48)
                   .arg(count / median, 10, 'f', 0)
                   .arg(count / f->times.first(), 0, 'f', 0);
    }
    return 0;
}
