#include "scanlibrary.h"
#include "tests/common/zbrushcommand.h"

#include "Model/brush.h"
#include "Model/brushdataservice.h"
#include "Model/brushtypes.h"
#include "Model/categoryitem.h"
#include "Model/resourceroles.h"

#include <QDomDocument>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QtEndian>
#include <QtTest>

#include <memory>

using ResourceRoles::BrushRole;

namespace {

constexpr qint32 creditsBase = 400;

// A brush file as far as the credits reader looks: the version text at 84, the base
// offset at 168 and the given bytes at base + offset (none when offset is negative).
QByteArray brushFile(const QByteArray &version, int offset, const QByteArray &credits)
{
    QByteArray bytes(offset < 0 ? 172 : creditsBase + offset, '\0');
    bytes.replace(84, version.size(), version);
    char base[4];
    qToLittleEndian<qint32>(creditsBase, base);
    bytes.replace(168, 4, base, 4);
    if (offset >= 0)
        bytes.append(credits);
    return bytes;
}

QByteArray credits(const char *author, const char *link)
{
    return QByteArray(author) + '\0' + QByteArray(link) + '\0';
}


using Catalogue = CatalogueUnderTest<BrushDataService>;

QStringList shownNames(const QAbstractItemModel *view)
{
    return shownNames(view, BrushRole::Name);
}

int viewRowOf(const QAbstractItemModel *view, const QString &name)
{
    return viewRowOf(view, BrushRole::Name, name);
}

} // namespace

class TestBrushCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void readCredits_data();
    void readCredits();
    void unreadableBrushFile();
    void creditsReachObjectAndRow();
    void fileOfTheScanSecond_data() { ScanLibrary::sameSecondRows(); }
    void fileOfTheScanSecond();
    void updateFiles_data();
    void updateFiles();
    void updateFileAppliedOnce();
    void brushElements();
    void laterDocumentsFromTheStore();
    void unparsableMetadataIsSkipped();
    void categoryCounts();
    void typesAndFilters();
    void hostCommands();

private:
    static void writeBrushes(const QString &folder, const QStringList &names);
};

void TestBrushCatalogue::writeBrushes(const QString &folder, const QStringList &names)
{
    for (const QString &name : names)
        QVERIFY(TestFiles::write(folder + QLatin1Char('/') + name + QStringLiteral(".ZBP"),
                                       brushFile("2021", 278, credits("", ""))));
}

// Credits ----------------------------------------------------------------------------------

void TestBrushCatalogue::fileOfTheScanSecond()
{
    QFETCH(int, offsetMs);
    QFETCH(bool, changed);
    ScanLibrary library;
    const QString folder = library.folder(QStringLiteral("brushes"));
    const QString path = folder + QStringLiteral("/Rake.ZBP");
    QVERIFY(TestFiles::write(path, brushFile("2021", 278, credits("Ann", "ann.example"))));
    const auto record = ScanLibrary::scannedRecord<BrushInfo>(QStringLiteral("Rake"), path, offsetMs);
    QVERIFY(record);
    library.database->saveBrushes({record});

    // A changed file has its credits read and its record stored again.
    Catalogue catalogue;
    QVERIFY(catalogue.start(library, DatabaseService::Brush, {folder}));
    const auto stored = library.database->readBrushes().value(QStringLiteral("Rake"));
    QCOMPARE(stored->scanDate != record->scanDate, changed);
    QCOMPARE(stored->author, changed ? QStringLiteral("Ann") : QString());
}

void TestBrushCatalogue::readCredits_data()
{
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("author");
    QTest::addColumn<QString>("link");

    const QByteArray both = credits("Ann Smith", "https://ann.example/brushes");
    QTest::newRow("2021") << QByteArray("2021") << 278 << both << "Ann Smith" << "https://ann.example/brushes";
    QTest::newRow("2022.0.") << QByteArray("2022.0.") << 278 << both << "Ann Smith" << "https://ann.example/brushes";
    QTest::newRow("2019") << QByteArray("2019") << 258 << both << "Ann Smith" << "https://ann.example/brushes";
    QTest::newRow("2018.1") << QByteArray("2018.1") << 258 << both << "Ann Smith" << "https://ann.example/brushes";
    QTest::newRow("4.8") << QByteArray("4.8") << 254 << both << "Ann Smith" << "https://ann.example/brushes";
    QTest::newRow("4.5") << QByteArray("4.5") << 202 << both << "Ann Smith" << "https://ann.example/brushes";
    // No credits in these, even where a reader might look.
    QTest::newRow("4.3") << QByteArray("4.3") << 202 << both << QString() << QString();
    QTest::newRow("not a number") << QByteArray("ZBrush") << 254 << both << QString() << QString();
    QTest::newRow("3.5R3") << QByteArray("3.5R3 ") << 254 << both << QString() << QString();
    QTest::newRow("no version") << QByteArray() << 254 << both << QString() << QString();
    // Latin-1 bytes, and a file that ends inside the author.
    QTest::newRow("latin-1") << QByteArray("2021") << 278 << credits("J\xf6rg", "") << QString::fromUtf8("Jörg")
                             << QString();
    QTest::newRow("ends before the zero byte") << QByteArray("2021") << 278 << QByteArray("Trunc") << "Trunc"
                                               << QString();
    QTest::newRow("base offset beyond the end") << QByteArray("2021") << -1 << QByteArray() << QString()
                                                << QString();
}

void TestBrushCatalogue::readCredits()
{
    QFETCH(QByteArray, version);
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, author);
    QFETCH(QString, link);

    QTemporaryDir dir;
    BrushInfo record;
    record.path = dir.filePath(QStringLiteral("Brush.ZBP"));
    QVERIFY(TestFiles::write(record.path, brushFile(version, offset, bytes)));
    BrushDataService::readBrushFileCredits(record);
    QCOMPARE(record.author, author);
    QCOMPARE(record.link, link);
}

void TestBrushCatalogue::unreadableBrushFile()
{
    QTemporaryDir dir;
    BrushInfo record;
    record.path = dir.filePath(QStringLiteral("Gone.ZBP"));
    record.author = QStringLiteral("kept");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Gone\\.ZBP")));
    BrushDataService::readBrushFileCredits(record);
    QCOMPARE(record.author, QStringLiteral("kept"));
    QCOMPARE(record.link, QString());
}

void TestBrushCatalogue::creditsReachObjectAndRow()
{
    ScanLibrary library;
    const QString folder = library.folder(QStringLiteral("brushes"));
    QVERIFY(TestFiles::write(folder + QStringLiteral("/Clay Fast.ZBP"),
                                   brushFile("2021", 278, credits("Ann", "https://ann.example"))));
    QVERIFY(TestFiles::write(folder + QStringLiteral("/sub/Old.ZBP"),
                                   brushFile("4.3", 202, credits("Nobody", "nowhere"))));
    QVERIFY(TestFiles::write(folder + QStringLiteral("/Not a brush.ZTL"),
                                   brushFile("2021", 278, credits("Ann", "x"))));

    Catalogue catalogue;
    QVERIFY(catalogue.start(library, DatabaseService::Brush, {folder}));
    QCOMPARE(shownNames(catalogue.view()), (QStringList{QStringLiteral("Clay Fast"), QStringLiteral("Old")}));

    const int row = viewRowOf(catalogue.view(), QStringLiteral("Clay Fast"));
    const auto *brush = qobject_cast<Brush *>(catalogue->resourceAt(row).data());
    QVERIFY(brush);
    QCOMPARE(brush->author(), QStringLiteral("Ann"));
    QCOMPARE(brush->link(), QStringLiteral("https://ann.example"));

    const auto stored = library.database->readBrushes();
    QCOMPARE(stored.size(), 2);
    QCOMPARE(stored.value(QStringLiteral("Clay Fast"))->author, QStringLiteral("Ann"));
    QCOMPARE(stored.value(QStringLiteral("Clay Fast"))->link, QStringLiteral("https://ann.example"));
    QCOMPARE(stored.value(QStringLiteral("Old"))->author, QString());
    QCOMPARE(stored.value(QStringLiteral("Old"))->path, folder + QStringLiteral("/sub/Old.ZBP"));
}

// Metadata --------------------------------------------------------------------------------

namespace {

QByteArray ghostDocument(const char *brush)
{
    return QByteArray("<?xml version=\"1.0\"?>\n<KIV>\n  <KIV_Category name=\"Clay\" group=\"Sculpt\"/>\n"
                      "  <Brush name=\"")
        + brush + "\" category=\"Favs\" kiv_category=\"Clay\" type=\"Clay\"/>\n</KIV>\n";
}

void deleteStoredBrushes()
{
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("DELETE FROM Brushes")));
}

} // namespace

void TestBrushCatalogue::updateFiles_data()
{
    QTest::addColumn<QVariant>("storedVersion");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("applied");
    QTest::addColumn<QString>("version");

    QTest::newRow("older stored") << QVariant(QStringLiteral("3.0.1")) << QStringList{QStringLiteral("3_0_2")}
                                  << QStringList{QStringLiteral("3_0_2")} << "3.0.2";
    QTest::newRow("same stored") << QVariant(QStringLiteral("3.0.2")) << QStringList{QStringLiteral("3_0_2")}
                                 << QStringList() << "3.0.2";
    QTest::newRow("nothing stored") << QVariant() << QStringList{QStringLiteral("3_0_2")}
                                    << QStringList{QStringLiteral("3_0_2")} << "3.0.2";
    // Whatever order the folder lists them in, the newest version is the one kept.
    QTest::newRow("two newer") << QVariant(QStringLiteral("3.0.1"))
                               << QStringList{QStringLiteral("3_0_3"), QStringLiteral("3_0_2")}
                               << QStringList{QStringLiteral("3_0_2"), QStringLiteral("3_0_3")} << "3.0.3";
    QTest::newRow("one of two") << QVariant(QStringLiteral("3.0.2"))
                                << QStringList{QStringLiteral("3_0_3"), QStringLiteral("3_0_2")}
                                << QStringList{QStringLiteral("3_0_3")} << "3.0.3";
    // A file that does not parse leaves the version for the next start to try again.
    QTest::newRow("broken newest") << QVariant(QStringLiteral("3.0.1"))
                                   << QStringList{QStringLiteral("3_0_2"), QStringLiteral("3_0_9!")}
                                   << QStringList{QStringLiteral("3_0_2")} << "3.0.2";
}

void TestBrushCatalogue::updateFiles()
{
    QFETCH(QVariant, storedVersion);
    QFETCH(QStringList, files);
    QFETCH(QStringList, applied);
    QFETCH(QString, version);

    ScanLibrary library;
    if (storedVersion.isValid())
        library.database->writeDatabaseVersion(storedVersion.toString());
    else
        QVERIFY(QSqlQuery().exec(QStringLiteral("DELETE FROM Settings WHERE Name = 'DatabaseVersion'")));
    // Each file brings a brush named after it; a name ending in "!" stands for a file that does not parse.
    for (const QString &file : files) {
        const bool broken = file.endsWith(QLatin1Char('!'));
        const QString name = broken ? file.chopped(1) : file;
        QVERIFY(TestFiles::write(library.programFolder() + QStringLiteral("/Resources/updates/") + name
                                           + QStringLiteral(".kiv.xml"),
                                       broken ? QByteArray("<KIV><Brush") : ghostDocument(name.toUtf8().constData())));
        if (broken)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(name)));
    }

    Catalogue catalogue;
    QVERIFY(catalogue.start(library, DatabaseService::Brush));
    QStringList stored = library.database->readBrushes().keys();
    stored.sort();
    QCOMPARE(stored, applied);
    QCOMPARE(library.database->readSetting(DatabaseService::DatabaseVersion).toString(), version);
    for (const QString &name : qAsConst(applied)) {
        const auto record = library.database->readBrushes().value(name);
        QCOMPARE(record->kivCategory, QStringLiteral("Clay"));
        QCOMPARE(record->type, QStringLiteral("Clay"));
        QCOMPARE(record->categories, QStringList{QStringLiteral("Favs")});
    }
}

void TestBrushCatalogue::updateFileAppliedOnce()
{
    ScanLibrary library;
    library.database->writeDatabaseVersion(QStringLiteral("3.0.1"));
    QVERIFY(TestFiles::write(library.programFolder() + QStringLiteral("/Resources/updates/3_0_2.kiv.xml"),
                                   ghostDocument("Ghost")));
    Catalogue catalogue;
    QVERIFY(catalogue.start(library, DatabaseService::Brush));
    QVERIFY(library.database->readBrushes().contains(QStringLiteral("Ghost")));

    // The next start finds 3.0.2 stored and leaves the file alone.
    deleteStoredBrushes();
    catalogue.stop();
    library.reopen();
    QVERIFY(catalogue.start(library, DatabaseService::Brush));
    QVERIFY(library.database->readBrushes().isEmpty());
}

void TestBrushCatalogue::brushElements()
{
    ScanLibrary library;
    const QString folder = library.folder(QStringLiteral("brushes"));
    writeBrushes(folder, {QStringLiteral("Owned"), QStringLiteral("Same"), QStringLiteral("Bare"),
                          QStringLiteral("Typo"), QStringLiteral("Plain")});
    const QString yesterday = QDateTime::currentDateTime().addDays(-1).toString(Qt::TextDate);
    const auto record = [&yesterday](const char *name, const QStringList &categories, const char *kiv,
                                     const char *type) {
        auto info = resourceRecord<BrushInfo>(QString::fromLatin1(name), QString(), yesterday, QString(), categories);
        info->kivCategory = QString::fromLatin1(kiv);
        info->type = QString::fromLatin1(type);
        return info;
    };
    library.database->saveBrushes({record("Owned", {QStringLiteral("Mine")}, "Old", "Standard"),
                                   record("Same", {}, "Clay", "Clay"), record("Bare", {}, "", "")});
    QVERIFY(TestFiles::write(
        folder + QStringLiteral("/meta.kiv.xml"),
        "<KIV>\n"
        "  <Brush name=\"Owned\" category=\"Sculpt\" kiv_category=\"Clay\" type=\"Clay\"/>\n"
        "  <!-- a comment between the elements -->\n"
        "  <Brush name=\"Same\" category=\"Other\" kiv_category=\"Clay\" type=\"Clay\"/>\n"
        "  <Something name=\"Plain\" category=\"Ignored\"/>\n"
        "  <Brush name=\"Bare\" category=\"Hard\" kiv_category=\"Clay\" type=\"Planar, Trim &amp; Polish\"/>\n"
        "  <Brush name=\"Typo\" category=\"\" kiv_category=\"Clay\" type=\"Clayy\"/>\n"
        "</KIV>\n"));

    Catalogue catalogue;
    QVERIFY(catalogue.start(library, DatabaseService::Brush, {folder}));
    struct Expected
    {
        const char *name;
        QStringList categories;
        const char *kivCategory;
        int type;
    };
    const QList<Expected> expected{
        {"Owned", {QStringLiteral("Mine")}, "Clay", Brushes::TYPE_CLAY},
        {"Same", {}, "Clay", Brushes::TYPE_CLAY},
        {"Bare", {QStringLiteral("Hard")}, "Clay", Brushes::TYPE_POLISH},
        {"Typo", {}, "Clay", 0},
        {"Plain", {}, "", 0},
    };
    const auto stored = library.database->readBrushes();
    for (const Expected &brush : expected) {
        const QString name = QString::fromLatin1(brush.name);
        const int row = viewRowOf(catalogue.view(), name);
        QVERIFY2(row >= 0, brush.name);
        const QModelIndex index = catalogue.view()->index(row, 0);
        QCOMPARE(index.data(BrushRole::Categories).toStringList(), brush.categories);
        QCOMPARE(index.data(BrushRole::KivCategory).toString(), QString::fromLatin1(brush.kivCategory));
        QCOMPARE(index.data(BrushRole::BrushType).toInt(), brush.type);
        QCOMPARE(index.data(BrushRole::BrushTypeName).toString(), Brushes::brushTypeName(brush.type));
        // No categories are stored as "All".
        QCOMPARE(stored.value(name)->categories,
                 brush.categories.isEmpty() ? QStringList{QStringLiteral("All")} : brush.categories);
        QCOMPARE(stored.value(name)->kivCategory, QString::fromLatin1(brush.kivCategory));
    }
    QCOMPARE(stored.value(QStringLiteral("Owned"))->type, QStringLiteral("Clay"));
    QCOMPARE(stored.value(QStringLiteral("Typo"))->type, QStringLiteral("Clayy"));
    QCOMPARE(catalogue.view()->index(viewRowOf(catalogue.view(), QStringLiteral("Typo")), 0)
                 .data(BrushRole::BrushTypeName)
                 .toString(),
             QString());
}

void TestBrushCatalogue::laterDocumentsFromTheStore()
{
    ScanLibrary library;
    const QString folder = library.folder(QStringLiteral("brushes"));
    writeBrushes(folder, {QStringLiteral("Bare"), QStringLiteral("Other")});
    Catalogue catalogue;
    QVERIFY(catalogue.start(library, DatabaseService::Brush, {folder}));

    QDomDocument document;
    QVERIFY(document.setContent(QByteArrayLiteral(
        "<KIV><KIV_Category name=\"Hair\" group=\"Fibers\"/>"
        "<Brush name=\"Bare\" category=\"Hard\" kiv_category=\"Hair\" type=\"Move\"/></KIV>")));
    QSignalSpy categoriesChanged(catalogue.service.get(), &BrushDataService::kivCategoriesChanged);
    QSignalSpy rowsChanged(catalogue.service.get(), &QAbstractItemModel::dataChanged);
    const auto apply = catalogue->metadataAction();
    apply(document);

    const QModelIndex bare = catalogue.view()->index(viewRowOf(catalogue.view(), QStringLiteral("Bare")), 0);
    QCOMPARE(bare.data(BrushRole::KivCategory).toString(), QStringLiteral("Hair"));
    QCOMPARE(bare.data(BrushRole::BrushType).toInt(), int(Brushes::TYPE_MOVE));
    QCOMPARE(bare.data(BrushRole::Categories).toStringList(), QStringList{QStringLiteral("Hard")});
    QCOMPARE(library.database->readBrushes().value(QStringLiteral("Bare"))->type, QStringLiteral("Move"));
    QCOMPARE(categoriesChanged.count(), 1);
    QVERIFY(!rowsChanged.isEmpty());
    QCOMPARE(library.database->readKivCategories(),
             (QVector<DatabaseService::KivCategory>{{QStringLiteral("Fibers"), QStringLiteral("Hair")}}));

    // A callable kept by the store outlives the catalogue harmlessly.
    catalogue.stop();
    apply(document);
}

void TestBrushCatalogue::unparsableMetadataIsSkipped()
{
    ScanLibrary library;
    const QString folder = library.folder(QStringLiteral("brushes"));
    writeBrushes(folder, {QStringLiteral("A"), QStringLiteral("B")});
    QVERIFY(TestFiles::write(folder + QStringLiteral("/a.kiv.xml"), "<KIV><Brush name=\"A\" "));
    QVERIFY(TestFiles::write(folder + QStringLiteral("/m.kiv.xml"), "not xml at all"));
    // Deep enough to have overflowed the stack of the XML reader.
    QVERIFY(TestFiles::write(folder + QStringLiteral("/d.kiv.xml"), "<KIV>" + QByteArray("<g>").repeated(60000)));
    QVERIFY(TestFiles::write(folder + QStringLiteral("/z.kiv.xml"),
                                   "<KIV><Brush name=\"B\" category=\"\" kiv_category=\"K\" type=\"Clay\"/></KIV>"));

    // Each broken document is logged with its path and passed over.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("/a\\.kiv\\.xml")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("/m\\.kiv\\.xml")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("/d\\.kiv\\.xml.*nested deeper")));
    Catalogue catalogue;
    QVERIFY(catalogue.start(library, DatabaseService::Brush, {folder}));
    QCOMPARE(shownNames(catalogue.view()), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    const auto stored = library.database->readBrushes();
    QCOMPARE(stored.value(QStringLiteral("B"))->kivCategory, QStringLiteral("K"));
    QCOMPARE(stored.value(QStringLiteral("A"))->kivCategory, QString());
}

// The maker's categories ------------------------------------------------------------------

namespace {

QList<QPair<QString, int>> categoryRows(const BrushDataService &service)
{
    QList<QPair<QString, int>> rows;
    const QList<CategoryItem *> categories = service.kivCategories();
    for (const CategoryItem *item : categories)
        rows.append({item->name(), item->brushCount()});
    return rows;
}

int countOf(const BrushDataService &service, const QString &name)
{
    const QList<CategoryItem *> categories = service.kivCategories();
    for (const CategoryItem *item : categories) {
        if (item->name() == name)
            return item->brushCount();
    }
    return -1;
}

} // namespace

void TestBrushCatalogue::categoryCounts()
{
    ScanLibrary library;
    const QString first = library.folder(QStringLiteral("first"));
    writeBrushes(first, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"),
                         QStringLiteral("E"), QStringLiteral("F0"), QStringLiteral("G")});
    QVERIFY(TestFiles::write(first + QStringLiteral("/meta.kiv.xml"),
                                   "<KIV>"
                                   "<KIV_Category name=\"Polish\" group=\"Sculpt\"/>"
                                   "<KIV_Category name=\"Clay\" group=\"Sculpt\"/>"
                                   "<KIV_Category name=\"Hair\" group=\"Fibers\"/>"
                                   "<Brush name=\"A\" category=\"\" kiv_category=\"Clay\" type=\"Clay\"/>"
                                   "<Brush name=\"B\" category=\"\" kiv_category=\"Clay\" type=\"Clay\"/>"
                                   "<Brush name=\"C\" category=\"\" kiv_category=\"Polish\" type=\"\"/>"
                                   "<Brush name=\"D\" category=\"\" kiv_category=\"Hair\" type=\"Groom\"/>"
                                   "<Brush name=\"Z\" category=\"\" kiv_category=\"Hair\" type=\"Groom\"/>"
                                   // Filed under a group's own name, and under a pinned row.
                                   "<Brush name=\"E\" category=\"\" kiv_category=\"Sculpt\" type=\"\"/>"
                                   "<Brush name=\"G\" category=\"\" kiv_category=\"All\" type=\"\"/>"
                                   "</KIV>"));
    const QString second = library.folder(QStringLiteral("second"));
    writeBrushes(second, {QStringLiteral("F")});
    QVERIFY(TestFiles::write(second + QStringLiteral("/more/meta.kiv.xml"),
                                   "<KIV><Brush name=\"F\" category=\"\" kiv_category=\"Hair\" type=\"Groom\"/></KIV>"));

    Catalogue catalogue;
    QVERIFY(catalogue.start(library, DatabaseService::Brush, {first}));
    // New rows join the end of the list until the next start sorts it; Z has no file.
    const QList<QPair<QString, int>> afterScan{
        {QStringLiteral("Default"), 1}, {QStringLiteral("All"), 1}, {QStringLiteral("Sculpt"), 4},
        {QStringLiteral("Polish"), 1},  {QStringLiteral("Clay"), 2}, {QStringLiteral("Fibers"), 1},
        {QStringLiteral("Hair"), 1}};
    QCOMPARE(categoryRows(*catalogue.service), afterScan);

    // A full rescan counts afresh; the pinned rows keep their 1.
    QSignalSpy changed(catalogue.service.get(), &BrushDataService::kivCategoriesChanged);
    catalogue->scanAll();
    QVERIFY(catalogue.settle());
    QCOMPARE(categoryRows(*catalogue.service), afterScan);
    QVERIFY(!changed.isEmpty());

    catalogue->addResourceLocation(ScanLibrary::locationUrl(second));
    QVERIFY(catalogue.settle());
    QCOMPARE(countOf(*catalogue.service, QStringLiteral("Hair")), 2);
    QCOMPARE(countOf(*catalogue.service, QStringLiteral("Fibers")), 2);
    QCOMPARE(countOf(*catalogue.service, QStringLiteral("Sculpt")), 4);

    // The next start reads the stored categories back in order.
    catalogue.stop();
    QVERIFY(catalogue.start(library, DatabaseService::Brush));
    const QList<QPair<QString, int>> restarted{
        {QStringLiteral("Default"), 1}, {QStringLiteral("All"), 1},    {QStringLiteral("Fibers"), 2},
        {QStringLiteral("Hair"), 2},    {QStringLiteral("Sculpt"), 4}, {QStringLiteral("Clay"), 2},
        {QStringLiteral("Polish"), 1}};
    QCOMPARE(categoryRows(*catalogue.service), restarted);
    QCOMPARE(catalogue->kivCategoriesModel().size(), restarted.size());
}

void TestBrushCatalogue::typesAndFilters()
{
    ScanLibrary library;
    const QString folder = library.folder(QStringLiteral("brushes"));
    writeBrushes(folder, {QStringLiteral("Clay A"), QStringLiteral("Clay B"), QStringLiteral("Move"),
                          QStringLiteral("Untyped")});
    QVERIFY(TestFiles::write(folder + QStringLiteral("/meta.kiv.xml"),
                                   "<KIV>"
                                   "<Brush name=\"Clay A\" category=\"\" kiv_category=\"Sculpt\" type=\"Clay\"/>"
                                   "<Brush name=\"Clay B\" category=\"\" kiv_category=\"\" type=\"Clay\"/>"
                                   "<Brush name=\"Move\" category=\"\" kiv_category=\"Sculpt\" type=\"Move\"/>"
                                   "</KIV>"));
    Catalogue catalogue;
    QVERIFY(catalogue.start(library, DatabaseService::Brush, {folder}));
    QAbstractItemModel *view = catalogue.view();

    catalogue->setTypeFilter(QStringLiteral("-1"), true);
    QCOMPARE(shownNames(view), QStringList{QStringLiteral("Untyped")});
    catalogue->setTypeFilter(QString::number(Brushes::TYPE_CLAY), true);
    QCOMPARE(shownNames(view),
             (QStringList{QStringLiteral("Clay A"), QStringLiteral("Clay B"), QStringLiteral("Untyped")}));
    QVERIFY(catalogue->hasTypeFilter(QStringLiteral("14")));
    catalogue->setTypeFilter(QStringLiteral("-1"), false);
    QCOMPARE(shownNames(view), (QStringList{QStringLiteral("Clay A"), QStringLiteral("Clay B")}));
    QVERIFY(!catalogue->hasTypeFilter(QStringLiteral("-1")));

    catalogue->filterByKIVCategory(QStringLiteral("Sculpt"));
    QCOMPARE(shownNames(view), QStringList{QStringLiteral("Clay A")});
    catalogue->filterByKIVCategory(QStringLiteral("All"));
    catalogue->setTypeFilter(QStringLiteral("14"), false);
    QCOMPARE(view->rowCount(), 4);

    // Setting a type goes through the model and is stored by display name.
    const int untyped = viewRowOf(view, QStringLiteral("Untyped"));
    catalogue->setBrushType(untyped, QStringLiteral("Snake Hook"));
    QCOMPARE(catalogue->getBrushType(viewRowOf(view, QStringLiteral("Untyped"))), int(Brushes::TYPE_SNAKEHOOK));
    QCOMPARE(library.database->readBrushes().value(QStringLiteral("Untyped"))->type, QStringLiteral("Snake Hook"));
    catalogue->setBrushType(viewRowOf(view, QStringLiteral("Untyped")), QStringLiteral("snake hook"));
    QCOMPARE(catalogue->getBrushType(viewRowOf(view, QStringLiteral("Untyped"))), 0);
    QCOMPARE(library.database->readBrushes().value(QStringLiteral("Untyped"))->type, QString());
    QCOMPARE(catalogue->getBrushType(view->rowCount()), 0);

    // Descriptions are stored; the brush role reads true; other roles are refused.
    const QModelIndex move = view->index(viewRowOf(view, QStringLiteral("Move")), 0);
    QVERIFY(view->setData(move, QStringLiteral("pulls"), BrushRole::Description));
    QCOMPARE(library.database->readBrushes().value(QStringLiteral("Move"))->description, QStringLiteral("pulls"));
    QCOMPARE(move.data(BrushRole::Brush), QVariant(true));
    QVERIFY(!view->setData(move, QStringLiteral("x"), BrushRole::KivCategory));

    QSignalSpy changed(catalogue.service.get(), &QAbstractItemModel::dataChanged);
    catalogue->rescanBrush(move.row());
    QCOMPARE(changed.count(), 1);
}

void TestBrushCatalogue::hostCommands()
{
    ScanLibrary library;
    QString commandFile;
    BrushDataService service(library.hostBridge(&commandFile), library.database, false, nullptr);

    service.activateResource(QStringLiteral("Clay"), QStringLiteral("/b/Clay.ZBP"));
    QCOMPARE(TestFiles::read(commandFile), zbrushCommand(0.0f, "Brush:Clay", "/b/Clay.ZBP"));
    // The reset is a brush command with action code 9 and neither name nor path.
    service.resetAllBrushes();
    QCOMPARE(TestFiles::read(commandFile), zbrushCommand(9.0f, "Brush:"));
}

QTEST_MAIN(TestBrushCatalogue)
#include "tst_brushcatalogue.moc"
