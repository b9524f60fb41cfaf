// TIFF alphas and textures as other programs write them (grey of 8 and 16 bits,
// RGB, in strips and in tiles, plain and compressed), read through Qt's TIFF
// image plug-in. The files are written with libtiff, not with Qt, so that a
// reader fault cannot hide behind the matching writer.
#include "scanlibrary.h"

#include "Model/alphadataservice.h"
#include "Model/resourceroles.h"
#include "Model/texturedataservice.h"
#include "providers/alphaiconimageprovider.h"

#include <QAbstractItemModelTester>
#include <QImageReader>
#include <QtTest>

#include <tiffio.h>

#include <vector>

using ResourceRoles::AlphaRole;
using ResourceRoles::GenericRole;

namespace {

constexpr int blue = 64;

// Sample s of pixel (x, y) at full scale of the given bit depth: grey (and red)
// rises from black at the left edge to white at the right, green from the top
// to the bottom, blue stays at a quarter.
uint32_t sample(int s, int x, int y, int width, int height, int bits)
{
    const uint32_t top = (1u << bits) - 1;
    switch (s) {
    case 0:
        return top * uint32_t(x) / uint32_t(width - 1);
    case 1:
        return top * uint32_t(y) / uint32_t(height - 1);
    case 2:
        return top * blue / 255;
    default:
        return top; // opaque
    }
}

// Bytes of the pixels (x0, y) .. (x0 + count - 1, y), samples interleaved in
// machine order; pixels beyond the image (padding of edge tiles) are zero.
void putPixels(std::vector<unsigned char> &out, int x0, int y, int count, int width, int height, int samples,
               int bits)
{
    for (int x = x0; x < x0 + count; ++x) {
        for (int s = 0; s < samples; ++s) {
            const uint32_t value = (x < width && y < height) ? sample(s, x, y, width, height, bits) : 0;
            if (bits == 16) {
                const uint16_t wide = uint16_t(value);
                const auto *bytes = reinterpret_cast<const unsigned char *>(&wide);
                out.insert(out.end(), bytes, bytes + 2);
            } else {
                out.push_back(static_cast<unsigned char>(value));
            }
        }
    }
}

bool writeTiff(const QString &path, QSize size, int samples, int bits, bool tiled, uint16_t compression)
{
    QDir().mkpath(QFileInfo(path).path());
    TIFF *tiff = TIFFOpen(QFile::encodeName(path).constData(), "w");
    if (!tiff)
        return false;
    const int width = size.width();
    const int height = size.height();
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(width));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(height));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, uint16_t(samples));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, uint16_t(bits));
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, samples >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, compression);
    if (samples == 4) {
        const uint16_t extra = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, uint16_t(1), &extra);
    }
    bool written = true;
    if (tiled) {
        // Tiles of 16 x 16, so that the right and bottom ones stick out of the image.
        const int side = 16;
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, uint32_t(side));
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, uint32_t(side));
        for (int ty = 0; ty < height && written; ty += side) {
            for (int tx = 0; tx < width && written; tx += side) {
                std::vector<unsigned char> tile;
                for (int y = ty; y < ty + side; ++y)
                    putPixels(tile, tx, y, side, width, height, samples, bits);
                written = TIFFWriteTile(tiff, tile.data(), uint32_t(tx), uint32_t(ty), 0, 0) >= 0;
            }
        }
    } else {
        // Several strips of eight rows.
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, uint32_t(8));
        for (int y = 0; y < height && written; ++y) {
            std::vector<unsigned char> row;
            putPixels(row, 0, y, width, width, height, samples, bits);
            written = TIFFWriteScanline(tiff, row.data(), uint32_t(y), 0) == 1;
        }
    }
    TIFFClose(tiff);
    return written;
}

// The alpha provider's thumbnail of a file drawn as above: read at 192 x 192,
// dark at the left edge and light at the right, grey or in colour as drawn.
// The gray tile of an unreadable file fails every check.
void checkThumbnail(const QString &path, bool colour)
{
    AlphaIconImageProvider provider;
    QSize natural;
    const QImage image =
        provider.requestPixmap(path, &natural, QSize(96, 96)).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(natural, QSize(96, 96));
    QCOMPARE(image.size(), QSize(192, 192));
    const QRgb left = image.pixel(0, 96);
    const QRgb right = image.pixel(191, 96);
    QVERIFY2(qRed(left) < 24 && qRed(right) > 231,
             qPrintable(QStringLiteral("left %1, right %2").arg(qRed(left)).arg(qRed(right))));
    if (colour) {
        QVERIFY(qGreen(image.pixel(96, 0)) < 24);
        QVERIFY(qGreen(image.pixel(96, 191)) > 231);
        QVERIFY(qAbs(qBlue(left) - blue) <= 8);
    } else {
        QCOMPARE(qGreen(right), qRed(right));
        QCOMPARE(qBlue(right), qRed(right));
    }
}

} // namespace

class TestTiffImages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void alphas_data();
    void alphas();
    void texture();
};

void TestTiffImages::initTestCase()
{
    // Without the reader every check below would fail one by one; say why once.
    QVERIFY2(QImageReader::supportedImageFormats().contains("tiff"),
             "Qt has no TIFF image reader: scripts/install-deps installs qt5-image-formats-plugins");
}

void TestTiffImages::alphas_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("samples");
    QTest::addColumn<int>("bits");
    QTest::addColumn<bool>("tiled");
    QTest::addColumn<int>("compression");
    QTest::addColumn<int>("depth");

    QTest::newRow("8-bit grey, strips") << "Grey8.tif" << QSize(64, 40) << 1 << 8 << false << COMPRESSION_NONE << 8;
    QTest::newRow("8-bit grey, tiles, LZW") << "Grey8Tiles.tiff" << QSize(72, 36) << 1 << 8 << true
                                            << COMPRESSION_LZW << 8;
    QTest::newRow("16-bit grey, strips, deflate")
        << "Grey16.tif" << QSize(80, 48) << 1 << 16 << false << COMPRESSION_ADOBE_DEFLATE << 16;
    QTest::newRow("16-bit grey, tiles") << "Grey16Tiles.TIF" << QSize(100, 30) << 1 << 16 << true
                                        << COMPRESSION_NONE << 16;
    QTest::newRow("RGB, strips, LZW") << "Colour.tif" << QSize(96, 50) << 3 << 8 << false << COMPRESSION_LZW << 32;
    QTest::newRow("RGB, tiles") << "ColourTiles.tiff" << QSize(66, 66) << 3 << 8 << true << COMPRESSION_NONE << 32;
    QTest::newRow("RGBA, strips") << "Clear.tif" << QSize(70, 20) << 4 << 8 << false << COMPRESSION_NONE << 32;
}

void TestTiffImages::alphas()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);
    QFETCH(int, samples);
    QFETCH(int, bits);
    QFETCH(bool, tiled);
    QFETCH(int, compression);
    QFETCH(int, depth);

    ScanLibrary library;
    const QString path = library.folder(QStringLiteral("alphas")) + QLatin1Char('/') + file;
    QVERIFY(writeTiff(path, size, samples, bits, tiled, uint16_t(compression)));

    CatalogueUnderTest<AlphaDataService> catalogue;
    QVERIFY(catalogue.start(library, DatabaseService::Alpha, {QFileInfo(path).path()}));
    const QString name = QFileInfo(file).completeBaseName();
    const QModelIndex shown = catalogue.view()->index(viewRowOf(catalogue.view(), AlphaRole::Name, name), 0);
    QVERIFY(shown.isValid());
    QCOMPARE(shown.data(AlphaRole::Dimensions).toString(),
             QStringLiteral("%1x%2, %3-bit").arg(size.width()).arg(size.height()).arg(depth));
    const auto stored = library.database->readAlphas().value(name);
    QVERIFY(stored);
    QCOMPARE(QSize(stored->width, stored->height), size);
    QCOMPARE(stored->depth, depth);

    checkThumbnail(path, samples >= 3);
}

void TestTiffImages::texture()
{
    ScanLibrary library;
    const QString folder = library.folder(QStringLiteral("textures"));
    const QString path = folder + QStringLiteral("/Bark.TIF");
    QVERIFY(writeTiff(path, QSize(120, 80), 3, 8, false, COMPRESSION_LZW));
    library.database->insertFolder(folder, DatabaseService::Texture);

    TextureDataService textures(nullptr, library.database, true, nullptr);
    QAbstractItemModelTester tester(&textures, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(textures.rowCount(), 1);
    const QModelIndex listed = textures.index(0, 0);
    QCOMPARE(listed.data(GenericRole::Name).toString(), QStringLiteral("Bark"));
    QCOMPARE(listed.data(GenericRole::Path).toString(), path);
    // The view asks the provider named by the icon path for the file itself.
    QCOMPARE(listed.data(GenericRole::IconPath).toString(), QStringLiteral("image://alphas/"));
    checkThumbnail(path, true);
}

QTEST_MAIN(TestTiffImages)
#include "tst_tiffimages.moc"
