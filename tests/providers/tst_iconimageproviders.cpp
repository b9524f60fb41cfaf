#include "providers/alphaiconimageprovider.h"
#include "providers/brushiconimageprovider.h"
#include "providers/iconpixmapcache.h"
#include "tests/common/realdata.h"
#include "tests/common/testfiles.h"
#include "tools/writers/zbrushfilewriter.h"

#include <QtTest>

#include <QBuffer>
#include <QDirIterator>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// Opaque, so premultiplication leaves the colours as stored.
const QRgb embeddedColour = qRgba(180, 120, 60, 255);
const QRgb storedColour = qRgba(20, 200, 40, 255);

QByteArray pngOf(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QImage imageOf(const QPixmap &pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

bool isUniform(const QImage &image, QRgb *colour = nullptr)
{
    const QRgb first = image.pixel(0, 0);
    if (colour)
        *colour = first;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != first)
                return false;
        }
    }
    return true;
}

bool isGrayTile(const QPixmap &pixmap)
{
    QRgb colour = 0;
    return isUniform(imageOf(pixmap), &colour) && colour == QColor(Qt::gray).rgba();
}

} // namespace

class TestIconImageProviders : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void brushThumbnailSources_data();
    void brushThumbnailSources();
    void alphaBySuffix_data();
    void alphaBySuffix();
    void sameFileReadOnce();
    void requestedSizes_data();
    void requestedSizes();
    void alphaProvider();
    void cacheDropsLeastRecentlyUsed();
    void realFiles_data();
    void realFiles();
    void concurrentRequests();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QString m_database;
};

void TestIconImageProviders::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_database = path(QStringLiteral("brushes.db"));
    QVERIFY(QFile::copy(QStringLiteral(KIVARA_TEMPLATE_DB), m_database));
    QFile::setPermissions(m_database, QFile::ReadOwner | QFile::WriteOwner);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("setup"));
        db.setDatabaseName(m_database);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.prepare(QStringLiteral("INSERT INTO Icons (Brush, Image) VALUES (:brush, :image)")));
        query.bindValue(QStringLiteral(":brush"), QStringLiteral("Stored"));
        query.bindValue(QStringLiteral(":image"), pngOf(ZBrushFileWriter::uniformImage(storedColour)));
        QVERIFY(query.exec());
        query.bindValue(QStringLiteral(":brush"), QStringLiteral("Garbled"));
        query.bindValue(QStringLiteral(":image"), QByteArray("not a png"));
        QVERIFY(query.exec());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("setup"));
}

void TestIconImageProviders::brushThumbnailSources_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("expected");

    const QImage image = ZBrushFileWriter::uniformImage(embeddedColour);
    const QByteArray embedded = ZBrushFileWriter::file(image, 6);
    const QByteArray versionFour = ZBrushFileWriter::file(image, 6, {9216}, "4");
    const QByteArray garbage(3000, 'g');

    QTest::newRow("embedded") << "Clay.zbp" << embedded << "embedded";
    QTest::newRow("version text 4.8 decodes") << "Old.zbp" << ZBrushFileWriter::file(image, 5, {9216}, "4.8")
                                              << "embedded";
    QTest::newRow("version text 4, stored icon") << "Stored.zbp" << versionFour << "stored";
    QTest::newRow("base name up to the first dot") << "Stored.v2.ZBP" << versionFour << "stored";
    QTest::newRow("version text 4, nothing stored") << "Plain.zbp" << versionFour << "default";
    QTest::newRow("no thumbnail, nothing stored") << "Broken.zbp" << garbage << "default";
    QTest::newRow("stored icon that is no PNG") << "Garbled.zbp" << versionFour << "gray";
    QTest::newRow("tool without thumbnail") << "Rock.ztl" << garbage << "gray";
    QTest::newRow("tool of version 4") << "Rock4.ztl" << versionFour << "gray";
    QTest::newRow("file that cannot be opened") << "Missing.zbp" << QByteArray() << "gray";
}

void TestIconImageProviders::brushThumbnailSources()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, contents);
    QFETCH(QString, expected);

    const QString file = path(fileName);
    if (!contents.isEmpty())
        QVERIFY(TestFiles::write(file, contents));
    const QStringList connections = QSqlDatabase::connectionNames();

    BrushIconImageProvider provider(m_database);
    QSize size;
    const QPixmap pixmap = provider.requestPixmap(file, &size, QSize(96, 96));
    QCOMPARE(size, QSize(96, 96));
    QCOMPARE(pixmap.size(), QSize(96, 96));
    const QImage image = imageOf(pixmap);

    if (expected == QLatin1String("embedded")) {
        QCOMPARE(image.pixel(10, 10), embeddedColour);
        QVERIFY(isUniform(image));
    } else if (expected == QLatin1String("stored")) {
        QCOMPARE(image.pixel(50, 50), storedColour);
    } else if (expected == QLatin1String("default")) {
        const QImage defaultIcon = imageOf(QPixmap(QStringLiteral(":/Images/DefaultBrushIcon.png")));
        QVERIFY(!defaultIcon.isNull());
        QCOMPARE(image, defaultIcon);
    } else {
        QVERIFY(isGrayTile(pixmap));
    }
    // Each database read had a connection of its own, and it is gone again.
    QCOMPARE(QSqlDatabase::connectionNames(), connections);
}

void TestIconImageProviders::alphaBySuffix_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("alpha");

    QTest::newRow("material keeps its alpha") << "Skin.zmt" << 100;
    QTest::newRow("upper-case light") << "Rim.ZLI" << 100;
    QTest::newRow("LightCap") << "Studio.zld" << 100;
    QTest::newRow("brush takes red") << "Skin.zbp" << 255;
    QTest::newRow("tool takes red") << "Skin.ztl" << 255;
}

void TestIconImageProviders::alphaBySuffix()
{
    QFETCH(QString, fileName);
    QFETCH(int, alpha);

    // Premultiplied-valid: no colour byte above the stored alpha.
    const QByteArray file = ZBrushFileWriter::file(ZBrushFileWriter::uniformImage(qRgba(40, 20, 10, 100)), 6);
    QVERIFY(TestFiles::write(path(fileName), file));
    BrushIconImageProvider provider(m_database);
    const QImage image = provider.requestPixmap(path(fileName), nullptr, QSize(96, 96))
                             .toImage()
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(qAlpha(image.pixel(30, 30)), alpha);
    QCOMPARE(qRed(image.pixel(30, 30)), 40);
}

void TestIconImageProviders::sameFileReadOnce()
{
    const QString brush = path(QStringLiteral("Once.zbp"));
    QVERIFY(TestFiles::write(brush, ZBrushFileWriter::file(ZBrushFileWriter::uniformImage(embeddedColour), 6)));
    BrushIconImageProvider provider(m_database);
    const QImage first = imageOf(provider.requestPixmap(brush, nullptr, QSize(96, 96)));
    QCOMPARE(first.pixel(0, 0), embeddedColour);

    // A second read of the file would now find no thumbnail.
    QVERIFY(TestFiles::write(brush, QByteArray(3000, 'g')));
    QCOMPARE(imageOf(provider.requestPixmap(brush, nullptr, QSize(96, 96))), first);
    QCOMPARE(imageOf(provider.requestPixmap(brush, nullptr, QSize(40, 40))).pixel(5, 5), embeddedColour);
    QVERIFY(imageOf(BrushIconImageProvider(m_database).requestPixmap(brush, nullptr, QSize(96, 96))) != first);

    // Fallback tiles are not kept: a file that appears later is read then.
    const QString late = path(QStringLiteral("Late.ztl"));
    QVERIFY(isGrayTile(provider.requestPixmap(late, nullptr, QSize(96, 96))));
    QVERIFY(TestFiles::write(late, ZBrushFileWriter::file(ZBrushFileWriter::uniformImage(embeddedColour), 6)));
    QCOMPARE(imageOf(provider.requestPixmap(late, nullptr, QSize(96, 96))).pixel(0, 0), embeddedColour);
}

void TestIconImageProviders::requestedSizes_data()
{
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("list row") << QSize(40, 40) << QSize(40, 40);
    QTest::newRow("details panel") << QSize(96, 96) << QSize(96, 96);
    QTest::newRow("wide request keeps the square") << QSize(100, 50) << QSize(50, 50);
    QTest::newRow("width only") << QSize(48, 0) << QSize(48, 48);
    QTest::newRow("height only") << QSize(-1, 20) << QSize(20, 20);
    QTest::newRow("no size") << QSize() << QSize(96, 96);
}

void TestIconImageProviders::requestedSizes()
{
    QFETCH(QSize, requested);
    QFETCH(QSize, expected);

    const QString brush = path(QStringLiteral("Sized.zbp"));
    QVERIFY(TestFiles::write(brush, ZBrushFileWriter::file(ZBrushFileWriter::uniformImage(embeddedColour), 6)));
    BrushIconImageProvider provider(m_database);
    QSize size;
    const QPixmap pixmap = provider.requestPixmap(brush, &size, requested);
    QCOMPARE(size, QSize(96, 96));
    QCOMPARE(pixmap.size(), expected);
    QCOMPARE(imageOf(pixmap).pixel(expected.width() / 2, expected.height() / 2), embeddedColour);
}

void TestIconImageProviders::alphaProvider()
{
    // Red left half, blue right half: squeezing keeps both, cropping would not.
    QImage wide(512, 256, QImage::Format_RGB32);
    wide.fill(Qt::blue);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x)
            wide.setPixel(x, y, qRgb(255, 0, 0));
    }
    const QString file = path(QStringLiteral("wide.png"));
    QVERIFY(wide.save(file));

    AlphaIconImageProvider provider;
    QSize size;
    const QImage full = imageOf(provider.requestPixmap(file, &size, QSize(96, 96)));
    QCOMPARE(size, QSize(96, 96));
    QCOMPARE(full.size(), QSize(192, 192));
    QCOMPARE(full.pixel(20, 96), qRgb(255, 0, 0));
    QCOMPARE(full.pixel(172, 96), qRgb(0, 0, 255));

    // Read once: the replaced file does not show.
    QImage green(64, 64, QImage::Format_RGB32);
    green.fill(Qt::green);
    QVERIFY(green.save(file));
    const QImage row = imageOf(provider.requestPixmap(file, &size, QSize(40, 40)));
    QCOMPARE(row.size(), QSize(40, 40));
    QCOMPARE(row.pixel(5, 20), qRgb(255, 0, 0));

    const QString broken = path(QStringLiteral("broken.png"));
    QVERIFY(TestFiles::write(broken, QByteArray("\x89PNG not really")));
    const QPixmap tile = provider.requestPixmap(broken, &size, QSize(96, 96));
    QCOMPARE(tile.size(), QSize(192, 192));
    QVERIFY(isGrayTile(tile));
    QVERIFY(isGrayTile(provider.requestPixmap(path(QStringLiteral("absent.png")), &size, QSize(96, 96))));
}

void TestIconImageProviders::cacheDropsLeastRecentlyUsed()
{
    IconPixmapCache cache(3);
    QPixmap pixmap(4, 4);
    pixmap.fill(Qt::red);
    for (const char *key : {"a", "b", "c"})
        cache.insert(QLatin1String(key), pixmap);
    QPixmap found;
    QVERIFY(cache.find(QStringLiteral("a"), &found));
    QCOMPARE(found.size(), QSize(4, 4));
    cache.insert(QStringLiteral("d"), pixmap);
    QCOMPARE(cache.count(), 3);
    QVERIFY(!cache.find(QStringLiteral("b"), &found));
    for (const char *key : {"a", "c", "d"})
        QVERIFY2(cache.find(QLatin1String(key), &found), key);
    // Inserting a present key replaces it without pushing anything out.
    cache.insert(QStringLiteral("a"), QPixmap(8, 8));
    QCOMPARE(cache.count(), 3);
    QVERIFY(cache.find(QStringLiteral("a"), &found));
    QCOMPARE(found.size(), QSize(8, 8));
}

void TestIconImageProviders::realFiles_data()
{
    QTest::addColumn<QString>("file");

    const QString folder = realDataFolder();
    if (folder.isEmpty())
        QSKIP("no real data folder");
    QDirIterator it(folder + QStringLiteral("/zbrush"),
                    {QStringLiteral("*.ztl"), QStringLiteral("*.zbr"), QStringLiteral("*.zmt"), QStringLiteral("*.zli"),
                     QStringLiteral("*.zld"), QStringLiteral("*.zsc"), QStringLiteral("*.zbp"), QStringLiteral("*.zpr")},
                    QDir::Files, QDirIterator::Subdirectories);
    int count = 0;
    while (it.hasNext()) {
        const QString file = it.next();
        QTest::newRow(qPrintable(QFileInfo(file).fileName())) << file;
        ++count;
    }
    if (count == 0)
        QSKIP("no ZBrush files among the real data");
}

void TestIconImageProviders::realFiles()
{
    QFETCH(QString, file);

    BrushIconImageProvider provider(m_database);
    const QPixmap pixmap = provider.requestPixmap(file, nullptr, QSize(96, 96));
    QCOMPARE(pixmap.size(), QSize(96, 96));
    const QImage image = imageOf(pixmap);
    QVERIFY(!isUniform(image));

    int opaque = 0;
    for (int y = 0; y < 96; ++y) {
        for (int x = 0; x < 96; ++x)
            opaque += qAlpha(image.pixel(x, y)) == 255;
    }
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == QLatin1String("zmt") || suffix == QLatin1String("zli") || suffix == QLatin1String("zld"))
        QCOMPARE(opaque, 96 * 96);
    else
        QVERIFY2(opaque > 96 * 96 / 10, qPrintable(QString::number(opaque)));
}

// The QML engine calls from its loader threads: brush and alpha requests, cache hits,
// misses beyond the cache's 200 entries and database reads, all at once.
void TestIconImageProviders::concurrentRequests()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    struct Item
    {
        QString path;
        bool alpha;
        QRgb colour;
    };
    std::vector<Item> items;
    const QByteArray stored = ZBrushFileWriter::file(ZBrushFileWriter::uniformImage(embeddedColour), 6, {9216}, "4");
    for (int i = 0; i < 260; ++i) {
        const QRgb colour = qRgba(16 + i % 200, i % 256, 255 - i % 256, 255);
        const QString file = dir.filePath(QStringLiteral("Brush%1.ztl").arg(i));
        QVERIFY(TestFiles::write(file, ZBrushFileWriter::file(ZBrushFileWriter::uniformImage(colour), 6)));
        items.push_back({file, false, colour});
    }
    for (int i = 0; i < 30; ++i) {
        const QString file = dir.filePath(QStringLiteral("Stored.%1.zbp").arg(i));
        QVERIFY(TestFiles::write(file, stored));
        items.push_back({file, false, storedColour});
    }
    for (int i = 0; i < 40; ++i) {
        const QRgb colour = qRgb(i * 5, 100, 200 - i * 4);
        QImage image(300, 200, QImage::Format_RGB32);
        image.fill(colour);
        const QString file = dir.filePath(QStringLiteral("alpha%1.png").arg(i));
        QVERIFY(image.save(file));
        items.push_back({file, true, colour});
    }

    BrushIconImageProvider brushes(m_database);
    AlphaIconImageProvider alphas;
    const QStringList connections = QSqlDatabase::connectionNames();
    constexpr int threadCount = 8;
    std::atomic<int> ready {0};
    std::vector<int> wrong(threadCount, 0);
    std::vector<QString> firstWrong(threadCount);
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([&, t] {
            ++ready;
            while (ready.load() < threadCount)
                std::this_thread::yield();
            const int n = int(items.size());
            for (int pass = 0; pass < 2; ++pass) {
                for (int k = 0; k < n; ++k) {
                    const Item &item = items[std::size_t((k * (t + 1) + t * 37) % n)];
                    const QSize requested = k % 3 == 0 ? QSize(40, 40) : QSize(96, 96);
                    const QPixmap pixmap = item.alpha ? alphas.requestPixmap(item.path, nullptr, requested)
                                                      : brushes.requestPixmap(item.path, nullptr, requested);
                    const QImage image = imageOf(pixmap);
                    if (image.isNull() || image.pixel(image.width() / 2, image.height() / 2) != item.colour) {
                        if (wrong[std::size_t(t)]++ == 0)
                            firstWrong[std::size_t(t)] = item.path;
                    }
                }
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    for (int t = 0; t < threadCount; ++t)
        QVERIFY2(wrong[std::size_t(t)] == 0, qPrintable(QStringLiteral("%1 wrong, first %2")
                                                             .arg(wrong[std::size_t(t)])
                                                             .arg(firstWrong[std::size_t(t)])));
    QCOMPARE(QSqlDatabase::connectionNames(), connections);
}

QTEST_MAIN(TestIconImageProviders)
#include "tst_iconimageproviders.moc"
