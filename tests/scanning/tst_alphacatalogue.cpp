#include "scanlibrary.h"

#include "tests/common/realdata.h"
#include "tests/common/zbrushcommand.h"

#include "Model/alpha.h"
#include "Model/alphadataservice.h"
#include "Model/resourceroles.h"

#include <QImage>
#include <QImageReader>
#include <QtTest>

#include <memory>

using ResourceRoles::AlphaRole;

namespace {

bool writeImage(const QString &path, int width, int height, QImage::Format format, const char *fileFormat = nullptr)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(width, height, format);
    if (format == QImage::Format_Indexed8) {
        image.setColorTable({qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0)});
        image.fill(1);
    } else {
        image.fill(Qt::gray);
    }
    return image.save(path, fileFormat);
}

using Catalogue = CatalogueUnderTest<AlphaDataService>;

QStringList shownNames(const QAbstractItemModel *view)
{
    return shownNames(view, AlphaRole::Name);
}

int viewRowOf(const QAbstractItemModel *view, const QString &name)
{
    return viewRowOf(view, AlphaRole::Name, name);
}

QModelIndex shownIndex(const Catalogue &catalogue, const QString &name)
{
    return catalogue.view()->index(viewRowOf(catalogue.view(), name), 0);
}

} // namespace

class TestAlphaCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void imageFacts_data();
    void imageFacts();
    void builtInAndThumbnails();
    void shippedBuiltInAlpha();
    void ignoreRowsOfAFilteredView();
    void storedFactsAndUnchangedFiles();
    void fileOfTheScanSecond_data() { ScanLibrary::sameSecondRows(); }
    void fileOfTheScanSecond();
    void sizeAndDepthFilters();
    void rescanWhileReading();
    void realImages();
    void commands_data();
    void commands();
};

void TestAlphaCatalogue::imageFacts_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("format"); // QImage::Format to write, or -1 for the bytes below
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("depth");

    QTest::newRow("16-bit grey png") << "Grey16.png" << int(QImage::Format_Grayscale16) << QByteArray() << 40 << 30
                                     << 16;
    QTest::newRow("8-bit grey png") << "Grey8.png" << int(QImage::Format_Grayscale8) << QByteArray() << 64 << 32
                                    << 8;
    QTest::newRow("indexed png") << "Palette.png" << int(QImage::Format_Indexed8) << QByteArray() << 16 << 16 << 0;
    QTest::newRow("rgb png") << "Colour.png" << int(QImage::Format_RGB32) << QByteArray() << 20 << 10 << 32;
    QTest::newRow("argb png") << "Clear.png" << int(QImage::Format_ARGB32) << QByteArray() << 12 << 24 << 32;
    QTest::newRow("grey jpeg") << "Grain.jpg" << int(QImage::Format_Grayscale8) << QByteArray() << 33 << 17 << 8;
    QTest::newRow("capital suffix") << "Loud.PNG" << int(QImage::Format_Grayscale8) << QByteArray() << 8 << 9 << 8;
    QTest::newRow("damaged png") << "Damaged.png" << -1 << QByteArray("\x89PNG\r\n\x1a\n garbage", 17) << -1 << -1
                                 << 0;
    QTest::newRow("empty tiff") << "Empty.tif" << -1 << QByteArray() << -1 << -1 << 0;
    QTest::newRow("not a psd") << "Fake.psd" << -1 << QByteArray("8BPS and then nothing") << -1 << -1 << 0;
}

void TestAlphaCatalogue::imageFacts()
{
    QFETCH(QString, file);
    QFETCH(int, format);
    QFETCH(QByteArray, bytes);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, depth);

    ScanLibrary library;
    const QString folder = library.folder(QStringLiteral("alphas"));
    const QString path = folder + QLatin1Char('/') + file;
    if (format < 0)
        QVERIFY(TestFiles::write(path, bytes));
    else
        QVERIFY(writeImage(path, width, height, QImage::Format(format)));

    Catalogue catalogue;
    QVERIFY(catalogue.start(library, DatabaseService::Alpha, {folder}));
    const QString name = QFileInfo(file).completeBaseName();
    const QModelIndex shown = shownIndex(catalogue, name);
    QVERIFY(shown.isValid());
    QCOMPARE(shown.data(AlphaRole::Width).toInt(), width);
    QCOMPARE(shown.data(AlphaRole::Height).toInt(), height);
    QCOMPARE(shown.data(AlphaRole::Depth).toInt(), depth);
    QCOMPARE(shown.data(AlphaRole::Dimensions).toString(), QStringLiteral("%1x%2, %3-bit").arg(width).arg(height).arg(depth));
    QCOMPARE(shown.data(AlphaRole::Path).toString(), path);

    const auto stored = library.database->readAlphas().value(name);
    QVERIFY(stored);
    QCOMPARE(stored->width, width);
    QCOMPARE(stored->height, height);
    QCOMPARE(stored->depth, depth);
}

void TestAlphaCatalogue::builtInAndThumbnails()
{
    ScanLibrary library;
    const QString folder = library.folder(QStringLiteral("alphas"));
    for (const char *file : {"Rock.png", "Rock_ico.png", "Sand_ico.jpg", "deep/Sand.JPEG", "Mud_ICO.png",
                             ".hidden/Secret.png", "Notes.txt"}) {
        QVERIFY(writeImage(folder + QLatin1Char('/') + QLatin1String(file), 4, 4, QImage::Format_Grayscale8,
                           QByteArray(file).endsWith(".txt") ? "PNG" : nullptr));
    }

    Catalogue catalogue;
    QVERIFY(catalogue.start(library, DatabaseService::Alpha, {folder}));
    QCOMPARE(shownNames(catalogue.view()), (QStringList{QStringLiteral("Alpha 01"), QStringLiteral("Mud_ICO"),
                                                        QStringLiteral("Rock"), QStringLiteral("Sand")}));

    // No ZBrush folder is known, yet the built-in alpha is there, and it is never stored.
    const QModelIndex builtIn = shownIndex(catalogue, QStringLiteral("Alpha 01"));
    QCOMPARE(builtIn.data(AlphaRole::Path).toString(), library.programFolder() + QStringLiteral("/Resources/Alpha 01.png"));
    QCOMPARE(builtIn.data(AlphaRole::Dimensions).toString(), QStringLiteral("256x256, 8-bit"));
    QCOMPARE(builtIn.data(AlphaRole::IconPath).toString(), QStringLiteral("image://alphas/"));
    QVERIFY(!library.database->readAlphas().contains(QStringLiteral("Alpha 01")));
    QCOMPARE(catalogue.service->resourceAt(builtIn.row())->resourceType(), QStringLiteral("alpha"));
}

void TestAlphaCatalogue::shippedBuiltInAlpha()
{
    const QString path = qEnvironmentVariable("KIVARA_BIN_DIR") + QStringLiteral("/Resources/Alpha 01.png");
    QImageReader reader(path);
    QCOMPARE(reader.size(), QSize(256, 256));
    QCOMPARE(reader.imageFormat(), QImage::Format_Grayscale8);
    const QImage image = reader.read();
    QVERIFY(!image.isNull());
    // Light in the middle, dark at the corners.
    QVERIFY(qGray(image.pixel(128, 128)) > 200);
    QCOMPARE(qGray(image.pixel(0, 0)), 0);
}

void TestAlphaCatalogue::ignoreRowsOfAFilteredView()
{
    ScanLibrary library;
    const QString folder = library.folder(QStringLiteral("alphas"));
    for (int i = 0; i < 8; ++i)
        QVERIFY(writeImage(folder + QStringLiteral("/grey%1.png").arg(i), 8, 8, QImage::Format_Grayscale8));
    for (int i = 0; i < 3; ++i)
        QVERIFY(writeImage(folder + QStringLiteral("/colour%1.png").arg(i), 8, 8, QImage::Format_RGB32));
    Catalogue catalogue;
    QVERIFY(catalogue.start(library, DatabaseService::Alpha, {folder}));
    QAbstractItemModel *view = catalogue.view();

    catalogue->filterAddDepth(8);
    QCOMPARE(view->rowCount(), 9);
    const QString third = view->index(3, 0).data(AlphaRole::Name).toString();
    const QString fifth = view->index(5, 0).data(AlphaRole::Name).toString();
    catalogue->ignoreAlphas({3, 5}, true);

    QCOMPARE(view->rowCount(), 7);
    QCOMPARE(viewRowOf(view, third), -1);
    QCOMPARE(viewRowOf(view, fifth), -1);
    const auto stored = library.database->readAlphas();
    int ignored = 0;
    for (const auto &record : stored)
        ignored += record->ignore ? 1 : 0;
    QCOMPARE(ignored, 2);
    QVERIFY(stored.value(third)->ignore);
    QVERIFY(stored.value(fifth)->ignore);

    catalogue->filterIgnored(true);
    QVERIFY(catalogue->ignoredFilter());
    QStringList both{third, fifth};
    both.sort();
    QCOMPARE(shownNames(view), both);
    // Rows the view does not have are passed over.
    const QString first = view->index(0, 0).data(AlphaRole::Name).toString();
    catalogue->ignoreAlphas({0, 7, -1}, false);
    QCOMPARE(shownNames(view), QStringList{first == third ? fifth : third});
    QVERIFY(!library.database->readAlphas().value(first)->ignore);
}

void TestAlphaCatalogue::storedFactsAndUnchangedFiles()
{
    ScanLibrary library;
    const QString folder = library.folder(QStringLiteral("alphas"));
    const QString stone = folder + QStringLiteral("/Stone.png");
    QVERIFY(writeImage(stone, 100, 50, QImage::Format_Grayscale8));
    QVERIFY(ScanLibrary::setModified(stone, QDateTime::currentDateTime().addSecs(-7200)));

    Catalogue catalogue;
    QVERIFY(catalogue.start(library, DatabaseService::Alpha, {folder}));
    QVERIFY(catalogue.view()->setData(shownIndex(catalogue, QStringLiteral("Stone")), QStringLiteral("rough"),
                                      AlphaRole::Description));
    auto stored = library.database->readAlphas().value(QStringLiteral("Stone"));
    QCOMPARE(QSize(stored->width, stored->height), QSize(100, 50));
    QCOMPARE(stored->depth, 8);
    QCOMPARE(stored->description, QStringLiteral("rough"));

    // Another image behind an old time counts as unchanged: nothing is read, the stored facts show.
    QVERIFY(writeImage(stone, 300, 200, QImage::Format_RGB32));
    QVERIFY(ScanLibrary::setModified(stone, QDateTime::currentDateTime().addSecs(-3600)));
    catalogue.stop();
    library.reopen();
    QVERIFY(catalogue.start(library, DatabaseService::Alpha));
    QCOMPARE(catalogue->pendingReads(), 0);
    QCOMPARE(shownIndex(catalogue, QStringLiteral("Stone")).data(AlphaRole::Dimensions).toString(),
             QStringLiteral("100x50, 8-bit"));
    QCOMPARE(shownIndex(catalogue, QStringLiteral("Stone")).data(AlphaRole::Description).toString(), QStringLiteral("rough"));

    // A newer file is read again; the description stays.
    QVERIFY(ScanLibrary::setModified(stone, QDateTime::currentDateTime().addSecs(3600)));
    catalogue->scanAll();
    QVERIFY(catalogue->pendingReads() > 0);
    QVERIFY(catalogue.settle());
    QCOMPARE(shownIndex(catalogue, QStringLiteral("Stone")).data(AlphaRole::Dimensions).toString(),
             QStringLiteral("300x200, 32-bit"));
    stored = library.database->readAlphas().value(QStringLiteral("Stone"));
    QCOMPARE(QSize(stored->width, stored->height), QSize(300, 200));
    QCOMPARE(stored->depth, 32);
    QCOMPARE(stored->description, QStringLiteral("rough"));
}

void TestAlphaCatalogue::fileOfTheScanSecond()
{
    QFETCH(int, offsetMs);
    QFETCH(bool, changed);
    ScanLibrary library;
    const QString folder = library.folder(QStringLiteral("alphas"));
    const QString path = folder + QStringLiteral("/Sand.png");
    QVERIFY(writeImage(path, 64, 32, QImage::Format_Grayscale8));
    const auto record = ScanLibrary::scannedRecord<AlphaInfo>(QStringLiteral("Sand"), path, offsetMs);
    QVERIFY(record);
    record->width = 7;
    record->height = 7;
    record->depth = 16;
    library.database->saveAlphas({record});

    Catalogue catalogue;
    QVERIFY(catalogue.start(library, DatabaseService::Alpha, {folder}));
    const auto stored = library.database->readAlphas().value(QStringLiteral("Sand"));
    QCOMPARE(stored->scanDate != record->scanDate, changed);
    QCOMPARE(QSize(stored->width, stored->height), changed ? QSize(64, 32) : QSize(7, 7));
    QCOMPARE(shownIndex(catalogue, QStringLiteral("Sand")).data(AlphaRole::Dimensions).toString(),
             changed ? QStringLiteral("64x32, 8-bit") : QStringLiteral("7x7, 16-bit"));
}

void TestAlphaCatalogue::sizeAndDepthFilters()
{
    ScanLibrary library;
    const QString folder = library.folder(QStringLiteral("alphas"));
    QVERIFY(writeImage(folder + QStringLiteral("/Wide.png"), 300, 200, QImage::Format_Grayscale16));
    Catalogue catalogue;
    QVERIFY(catalogue.start(library, DatabaseService::Alpha, {folder}));

    // The service keeps every choice, the view each size once.
    catalogue->filterAddSize(512);
    catalogue->filterAddSize(128);
    catalogue->filterAddSize(128);
    QCOMPARE(catalogue->sizeFilters(), (QList<int>{512, 128, 128}));
    QCOMPARE(shownNames(catalogue.view()), QStringList{QStringLiteral("Wide")});
    catalogue->filterRemoveSize(128);
    QVERIFY(!catalogue->hasSizeFilter(128));
    catalogue->filterRemoveSize(512);
    catalogue->filterAddDepth(16);
    QVERIFY(catalogue->hasDepthFilter(16));
    QCOMPARE(shownNames(catalogue.view()), QStringList{QStringLiteral("Wide")});
    catalogue->filterRemoveDepth(16);
    QCOMPARE(catalogue.view()->rowCount(), 2);
}

void TestAlphaCatalogue::rescanWhileReading()
{
    ScanLibrary library;
    const QString folder = library.folder(QStringLiteral("alphas"));
    for (int i = 1; i <= 40; ++i)
        QVERIFY(writeImage(folder + QStringLiteral("/a%1.png").arg(i), i, 2 * i, QImage::Format_Grayscale8));
    library.database->insertFolder(folder, DatabaseService::Alpha);

    // The first walk's results arrive after its objects were replaced; they land only in the database.
    Catalogue catalogue;
    catalogue.service = std::make_unique<AlphaDataService>(nullptr, library.database, true, nullptr);
    QVERIFY(catalogue->pendingReads() > 0);
    catalogue->scanAll();
    QVERIFY(catalogue.settle());
    QCOMPARE(catalogue->rowCount(), 41);
    const auto stored = library.database->readAlphas();
    for (int i = 1; i <= 40; ++i) {
        const QString name = QStringLiteral("a%1").arg(i);
        QCOMPARE(shownIndex(catalogue, name).data(AlphaRole::Dimensions).toString(),
                 QStringLiteral("%1x%2, 8-bit").arg(i).arg(2 * i));
        QCOMPARE(stored.value(name)->height, 2 * i);
    }
}

void TestAlphaCatalogue::realImages()
{
    const QString realData = realDataFolder();
    if (realData.isEmpty())
        QSKIP("the folder of real files is absent");
    ScanLibrary library;
    Catalogue catalogue;
    QVERIFY(catalogue.start(library, DatabaseService::Alpha, {realData + QStringLiteral("/images"), realData + QStringLiteral("/psd")}));

    const QList<std::tuple<const char *, int, int, int>> expected{
        {"basn0g16", 32, 32, 16},
        {"basn3p08", 32, 32, 0},
        {"alpha_gif_a", 256, 256, 0},
        {"rgb24", 127, 64, 32},
    };
    for (const auto &image : expected) {
        const QModelIndex shown = shownIndex(catalogue, QString::fromLatin1(std::get<0>(image)));
        QVERIFY2(shown.isValid(), std::get<0>(image));
        QCOMPARE(shown.data(AlphaRole::Width).toInt(), std::get<1>(image));
        QCOMPARE(shown.data(AlphaRole::Height).toInt(), std::get<2>(image));
        QCOMPARE(shown.data(AlphaRole::Depth).toInt(), std::get<3>(image));
    }

    // Photoshop documents get their size through the image-format plug-in.
    if (!QImageReader::supportedImageFormats().contains("psd"))
        QSKIP("the Photoshop image-format plug-in is not built");
    for (const char *name : {"4x4_8bit_rgb", "4x4_8bit_rgba", "4x4_16bit_rgb", "4x4_8bit_grayscale"}) {
        const QModelIndex shown = shownIndex(catalogue, QString::fromLatin1(name));
        QVERIFY2(shown.isValid(), name);
        QCOMPARE(shown.data(AlphaRole::Width).toInt(), 4);
        QCOMPARE(shown.data(AlphaRole::Height).toInt(), 4);
    }
    QCOMPARE(shownIndex(catalogue, QStringLiteral("4x4_8bit_grayscale")).data(AlphaRole::Depth).toInt(), 8);
}

void TestAlphaCatalogue::commands_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QByteArray>("name");

    QTest::newRow("clearAlpha") << QByteArray("clearAlpha") << QByteArray("Alpha Off");
    QTest::newRow("brushAlpha") << QByteArray("brushAlpha") << QByteArray("~BrushAlpha");
    QTest::newRow("flipHorizontal") << QByteArray("flipHorizontal") << QByteArray("Flh");
    QTest::newRow("flipVertical") << QByteArray("flipVertical") << QByteArray("Flv");
    QTest::newRow("rotate") << QByteArray("rotate") << QByteArray("Rot");
    QTest::newRow("inverse") << QByteArray("inverse") << QByteArray("Invr");
}

void TestAlphaCatalogue::commands()
{
    QFETCH(QByteArray, method);
    QFETCH(QByteArray, name);

    ScanLibrary library;
    QString commandFile;
    AlphaDataService service(library.hostBridge(&commandFile), library.database, false, nullptr);
    QVERIFY(QMetaObject::invokeMethod(&service, method.constData()));
    QCOMPARE(TestFiles::read(commandFile), zbrushCommand(10.0f, "Alpha:" + name));
}

QTEST_MAIN(TestAlphaCatalogue)
#include "tst_alphacatalogue.moc"
