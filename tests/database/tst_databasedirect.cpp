#include "Model/databaseservice.h"
#include "rawconnection.h"
#include "tests/common/resourcerecord.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

// The stored records are read and written on SQLite directly; Qt's SQL layer is the
// reference they must agree with, value for value.
class TestDatabaseDirect : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readersAgreeWithQtSql_data();
    void readersAgreeWithQtSql();
    void missingTableReadsEmpty();
    void textsRoundTrip_data();
    void textsRoundTrip();
    void largeBatchMergesLikeSingleRecords_data();
    void largeBatchMergesLikeSingleRecords();
    void failureInLargeBatchRollsBackAll();

private:
    QTemporaryDir *m_dir = nullptr;
    QString m_path;
    DatabaseService *m_db = nullptr;
};

namespace {

QVariant cell(const QSqlQuery &query, const QSqlRecord &record, const char *column)
{
    const int index = record.indexOf(QLatin1String(column));
    return index < 0 ? QVariant() : query.value(index);
}

// How the records were read through Qt SQL: QVariant conversions of every value.
template<class Info>
QMap<QString, QSharedPointer<Info>> readThroughQt(const QString &connection, const QString &table,
                                                  Qt::SplitBehavior emptyCategories)
{
    QMap<QString, QSharedPointer<Info>> result;
    QSqlQuery query(QSqlDatabase::database(connection, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT * FROM %1").arg(table)))
        return result;
    const QSqlRecord r = query.record();
    while (query.next()) {
        auto info = QSharedPointer<Info>::create();
        info->valid = true;
        info->name = cell(query, r, "Name").toString();
        info->path = cell(query, r, "Path").toString();
        info->description = cell(query, r, "Description").toString();
        info->tags = cell(query, r, "Tags").toString().split(',', Qt::SkipEmptyParts);
        info->categories = cell(query, r, "Category").toString().split(',', emptyCategories);
        info->readOnly = cell(query, r, "ReadOnly").toInt() == 1;
        info->scanDate = cell(query, r, "ScanDate").toString();
        if constexpr (std::is_same_v<Info, AlphaInfo>) {
            info->ignore = cell(query, r, "Ignore").toInt() == 1;
            info->width = cell(query, r, "Width").toInt();
            info->height = cell(query, r, "Height").toInt();
            info->depth = cell(query, r, "Depth").toInt();
        } else if constexpr (std::is_same_v<Info, BrushInfo>) {
            info->author = cell(query, r, "Author").toString();
            info->link = cell(query, r, "Link").toString();
            info->type = cell(query, r, "Type").toString();
            info->kivCategory = cell(query, r, "KIV_Category").toString();
        }
        result.insert(info->name, info);
    }
    return result;
}

// Equal, and null exactly where the other is null.
bool same(const QString &a, const QString &b)
{
    return a == b && a.isNull() == b.isNull();
}

QString describe(const QString &text)
{
    return text.isNull() ? QStringLiteral("<null>") : QLatin1Char('"') + text + QLatin1Char('"');
}

template<class Info>
void compareRecords(const QMap<QString, QSharedPointer<Info>> &direct,
                    const QMap<QString, QSharedPointer<Info>> &reference)
{
    QCOMPARE(direct.keys(), reference.keys());
    for (auto it = reference.cbegin(); it != reference.cend(); ++it) {
        const Info &want = *it.value();
        const Info &got = *direct.value(it.key());
        const QByteArray row = describe(it.key()).toUtf8();
        QVERIFY2(got.valid, row);
        const QVector<QPair<QString, QString>> texts{{got.name, want.name},
                                                     {got.path, want.path},
                                                     {got.description, want.description},
                                                     {got.scanDate, want.scanDate}};
        for (const auto &pair : texts)
            QVERIFY2(same(pair.first, pair.second), row + ": " + describe(pair.first).toUtf8() + " instead of "
                                                        + describe(pair.second).toUtf8());
        QCOMPARE(got.tags, want.tags);
        QCOMPARE(got.categories, want.categories);
        QCOMPARE(got.readOnly, want.readOnly);
        if constexpr (std::is_same_v<Info, AlphaInfo>) {
            QCOMPARE(got.ignore, want.ignore);
            QCOMPARE(got.width, want.width);
            QCOMPARE(got.height, want.height);
            QCOMPARE(got.depth, want.depth);
        } else if constexpr (std::is_same_v<Info, BrushInfo>) {
            QVERIFY2(same(got.author, want.author), row);
            QVERIFY2(same(got.link, want.link), row);
            QVERIFY2(same(got.type, want.type), row);
            QVERIFY2(same(got.kivCategory, want.kivCategory), row);
        }
    }
}

// Cells of every storage class, and texts that split, convert or decode in odd ways.
// A prime count of them, so that every column meets every value.
const QVariantList &palette()
{
    static const QVariantList values{
        QVariant(),
        QString(""),
        QStringLiteral("plain"),
        QStringLiteral("Ünïcödé 名前 🎨"),
        QStringLiteral("a,,b,"),
        QStringLiteral(",All"),
        QStringLiteral("Thu Mar 7 10:15:02 2024"),
        QStringLiteral("1"),
        QStringLiteral(" 1 "),
        QStringLiteral("1x"),
        QStringLiteral("007"),
        QStringLiteral("with\nline"),
        QStringLiteral("All"),
        QStringLiteral(" "),
        1,
        0,
        -7,
        qlonglong(4294967297LL),
        1.0,
        2.5,
        -0.5,
        QByteArray("1"),
        QByteArray("\xff\x00z", 3),
    };
    return values;
}

} // namespace

void TestDatabaseDirect::init()
{
    m_dir = new QTemporaryDir;
    m_path = copyTemplate(*m_dir);
    m_db = new DatabaseService(m_path, QString(), true);
    QVERIFY(m_db->isOpen());
}

void TestDatabaseDirect::cleanup()
{
    delete m_db;
    m_db = nullptr;
    delete m_dir;
    m_dir = nullptr;
}

void TestDatabaseDirect::readersAgreeWithQtSql_data()
{
    QTest::addColumn<DatabaseService::ResourceType>("type");
    QTest::addColumn<QStringList>("columns");
    QTest::newRow("generic") << DatabaseService::Project
                             << QStringList{"name", "PATH", "Description", "Tags", "Category", "ReadOnly", "ScanDate"};
    // No Description column: it reads as a null text.
    QTest::newRow("generic, a column missing")
        << DatabaseService::Tool << QStringList{"Name", "Path", "Tags", "Category", "ReadOnly", "ScanDate"};
    QTest::newRow("alphas") << DatabaseService::Alpha
                            << QStringList{"Name",     "Path",   "Description", "Tags",  "Category", "ReadOnly",
                                           "ScanDate", "Ignore", "Width",       "Height", "Depth"};
    QTest::newRow("brushes") << DatabaseService::Brush
                             << QStringList{"Name", "Path",     "Description",  "Author",   "Link",    "Type",
                                            "Tags", "Category", "KIV_Category", "ReadOnly", "ScanDate"};
}

void TestDatabaseDirect::readersAgreeWithQtSql()
{
    QFETCH(DatabaseService::ResourceType, type);
    QFETCH(QStringList, columns);
    const QString table = DatabaseService::resourceTable(type);
    RawConnection raw(m_path);
    // Columns without a declared type keep every value as it was given.
    QVERIFY(raw.exec(QStringLiteral("DROP TABLE %1").arg(table)));
    QVERIFY(raw.exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(table, columns.join(','))));
    const QVariantList &values = palette();
    const QString insert = QStringLiteral("INSERT INTO %1 VALUES (%2)")
                               .arg(table, QString(QStringLiteral("?,")).repeated(columns.size()).chopped(1));
    QCOMPARE(values.size(), 23);
    // Every column meets every value; names repeat, so later rows must win alike.
    for (int row = 0; row < values.size() * 3; ++row) {
        QVariantList cells;
        for (int column = 0; column < columns.size(); ++column)
            cells << values.at((row * (column + 1) + column) % values.size());
        QVERIFY(raw.exec(insert, cells));
    }
    QVERIFY(raw.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (CAST(x'41c3' AS TEXT))").arg(table, columns.first())));
    for (const QString &column : qAsConst(columns))
        QCOMPARE(raw.value(QStringLiteral("SELECT COUNT(DISTINCT typeof(%1)) FROM %2").arg(column, table)).toInt(), 5);

    if (type == DatabaseService::Alpha)
        compareRecords(m_db->readAlphas(), readThroughQt<AlphaInfo>(raw.name(), table, Qt::KeepEmptyParts));
    else if (type == DatabaseService::Brush)
        compareRecords(m_db->readBrushes(), readThroughQt<BrushInfo>(raw.name(), table, Qt::SkipEmptyParts));
    else
        compareRecords(m_db->readResources(type), readThroughQt<ResourceInfo>(raw.name(), table, Qt::KeepEmptyParts));
}

void TestDatabaseDirect::missingTableReadsEmpty()
{
    {
        RawConnection raw(m_path);
        QVERIFY(raw.exec(QStringLiteral("DROP TABLE Alphas")));
        QVERIFY(raw.exec(QStringLiteral("DROP TABLE Grids")));
    }
    QVERIFY(m_db->readAlphas().isEmpty());
    QVERIFY(m_db->readResources(DatabaseService::Grid).isEmpty());
    // A kind without a resource table.
    QVERIFY(m_db->readResources(DatabaseService::UILayout).isEmpty());
}

void TestDatabaseDirect::textsRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QStringLiteral("Skin Shader");
    QTest::newRow("empty") << QString("");
    QTest::newRow("latin") << QStringLiteral("Größe Ærø");
    QTest::newRow("cjk") << QStringLiteral("粘土ブラシ");
    QTest::newRow("beyond the basic plane") << QStringLiteral("Clay 🎨 𝄞");
    QTest::newRow("quotes and separators") << QStringLiteral("it's \"a\", b;\t\\");
}

// What the scans store reads back exactly, through either road.
void TestDatabaseDirect::textsRoundTrip()
{
    QFETCH(QString, text);
    const QString name = QStringLiteral("N") + text;
    auto generic = resourceRecord(name, QStringLiteral("/p/") + text, text, text, {text, QStringLiteral("c")},
                                  {QStringLiteral("t"), text});
    QVERIFY(m_db->saveResources({generic}, DatabaseService::Material));
    auto alpha = resourceRecord<AlphaInfo>(name, QStringLiteral("/a/") + text, text, text);
    alpha->width = 640;
    m_db->saveAlphas({alpha});
    auto brush = resourceRecord<BrushInfo>(name, QStringLiteral("/b/") + text, text, text);
    brush->author = text;
    brush->kivCategory = text;
    m_db->saveBrushes({brush});

    RawConnection raw(m_path);
    QCOMPARE(raw.rows(QStringLiteral("SELECT Name, Path, Description, Tags, Category, ScanDate FROM Materials")),
             (QVector<QVariantList>{{name, "/p/" + text, text, "t," + text, text + ",c", text}}));
    QCOMPARE(raw.rows(QStringLiteral("SELECT Name, Path, Description, Width FROM Alphas WHERE Name = ?"), {name}),
             (QVector<QVariantList>{{name, "/a/" + text, text, 640}}));
    QCOMPARE(raw.rows(QStringLiteral("SELECT Path, Author, KIV_Category FROM Brushes WHERE Name = ?"), {name}),
             (QVector<QVariantList>{{"/b/" + text, text, text}}));

    const auto read = m_db->readResources(DatabaseService::Material).value(name);
    QVERIFY(read);
    QCOMPARE(read->path, generic->path);
    QCOMPARE(read->description, text);
    QCOMPARE(read->scanDate, text);
    QCOMPARE(m_db->readAlphas().value(name)->path, alpha->path);
    QCOMPARE(m_db->readBrushes().value(name)->author, text);
}

void TestDatabaseDirect::largeBatchMergesLikeSingleRecords_data()
{
    QTest::addColumn<int>("count");
    // Around the number of records one statement takes at once.
    for (int count : {63, 64, 65, 130})
        QTest::newRow(qPrintable(QString::number(count))) << count;
}

// A batch is stored several records to a statement; one record at a time is the reference.
void TestDatabaseDirect::largeBatchMergesLikeSingleRecords()
{
    QFETCH(int, count);
    const auto batch = [count](const QString &pass) {
        QList<QSharedPointer<ResourceInfo>> records;
        for (int i = 0; i < count; ++i) {
            // Every seventh name repeats an earlier one of the batch: the later record merges
            // with the earlier, inside one statement or across two.
            const int name = i % 7 == 6 ? i - 5 : i;
            records << resourceRecord(QStringLiteral("R%1").arg(name), QStringLiteral("/%1/%2").arg(pass).arg(i),
                                      pass, QStringLiteral("d%1").arg(i), i % 3 ? QStringList{"c"} : QStringList{},
                                      {QStringLiteral("t%1").arg(i % 4)}, i % 5 == 0);
        }
        return records;
    };
    const QVector<DatabaseService::ResourceType> kinds{DatabaseService::Material, DatabaseService::Tool};
    for (DatabaseService::ResourceType kind : kinds) {
        QVERIFY(m_db->saveResources(batch("first").mid(0, count / 2), kind));
        m_db->setResourceDescription(QStringLiteral("R1"), QStringLiteral("mine"), kind);
        m_db->setResourceTags(QStringLiteral("R2"), {}, kind);
    }
    const auto second = batch("second");
    QVERIFY(m_db->saveResources(second, DatabaseService::Material));
    for (const QSharedPointer<ResourceInfo> &record : second)
        QVERIFY(m_db->saveResources({record}, DatabaseService::Tool));

    RawConnection raw(m_path);
    const QString select = QStringLiteral("SELECT Name, Path, Description, Tags, Category, ReadOnly, ScanDate, "
                                          "typeof(Tags) FROM %1 ORDER BY Name");
    const auto batched = raw.rows(select.arg("Materials"));
    QCOMPARE(batched.size(), count - count / 7);
    QCOMPARE(batched, raw.rows(select.arg("Tools")));
    QCOMPARE(m_db->readResources(DatabaseService::Material).value("R1")->description, QStringLiteral("mine"));
}

void TestDatabaseDirect::failureInLargeBatchRollsBackAll()
{
    QVERIFY(m_db->saveResources({resourceRecord("Kept", "/k", "d")}, DatabaseService::Grid));
    QList<QSharedPointer<ResourceInfo>> records;
    for (int i = 0; i < 150; ++i)
        records << resourceRecord(i == 100 ? QString() : QStringLiteral("G%1").arg(i), "/g", "d");
    // The nameless record is reported; nothing of the batch stays.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot store"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("rolled back 150 records"));
    QVERIFY(!m_db->saveResources(records, DatabaseService::Grid));
    QCOMPARE(m_db->readResources(DatabaseService::Grid).keys(), QStringList({"Kept"}));
    records.removeAt(100);
    QVERIFY(m_db->saveResources(records, DatabaseService::Grid));
    QCOMPARE(m_db->readResources(DatabaseService::Grid).size(), 150);
}

QTEST_GUILESS_MAIN(TestDatabaseDirect)
#include "tst_databasedirect.moc"
