#include "providers/zbrushthumbnaildecoder.h"
#include "tools/writers/zbrushfilewriter.h"

#include <QtTest>

#include <cstring>
#include <string>

namespace {

constexpr int bufferSize = ZBrushThumbnailDecoder::bufferSize;
constexpr char guardByte = char(0xab);

// A thumbnail with both kinds of runs: gradients above (copies), a flat block below (repeats).
QImage patternImage()
{
    QImage image(ZBrushFileWriter::side, ZBrushFileWriter::side, QImage::Format_RGBA8888);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (y < 48)
                image.setPixelColor(x, y, QColor(2 * x, 5 * y, 255 - 2 * x, x < 48 ? 200 : 90));
            else
                image.setPixelColor(x, y, QColor(30, 60, 90, 255));
        }
    }
    return image;
}

QByteArray rgbaBytes(const QImage &image)
{
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    return QByteArray(reinterpret_cast<const char *>(rgba.constBits()), int(rgba.sizeInBytes()));
}

struct Decoded
{
    bool ok = false;
    QByteArray pixels;
    std::string error;
    bool guardIntact = false;
};

// Decodes from an exactly sized copy, into a buffer with guard bytes behind it.
Decoded decode(const QByteArray &file, bool redToAlpha)
{
    const QByteArray input(file.constData(), file.size());
    QByteArray output(bufferSize + 64, guardByte);
    Decoded result;
    result.ok = ZBrushThumbnailDecoder::decode(reinterpret_cast<const unsigned char *>(input.constData()),
                                               std::size_t(input.size()), redToAlpha,
                                               reinterpret_cast<unsigned char *>(output.data()), &result.error);
    result.pixels = output.left(bufferSize);
    result.guardIntact = output.mid(bufferSize) == QByteArray(64, guardByte);
    return result;
}

void putInt32(QByteArray &file, int at, qint32 value)
{
    char bytes[4];
    qToLittleEndian<qint32>(value, bytes);
    file.replace(at, 4, QByteArray(bytes, 4));
}

} // namespace

class TestZBrushThumbnailDecoder : public QObject
{
    Q_OBJECT

private slots:
    void decodesEncodedThumbnails_data();
    void decodesEncodedThumbnails();
    void redToAlpha_data();
    void redToAlpha();
    void failsCleanly_data();
    void failsCleanly();
    void partialPixelsDropped();
    void truncatedAnywhere_data();
    void truncatedAnywhere();
    void versionText_data();
    void versionText();
};

void TestZBrushThumbnailDecoder::decodesEncodedThumbnails_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QVector<int>>("chunkPixels");
    QTest::addColumn<int>("signatureOffset");

    const int all = ZBrushFileWriter::side * ZBrushFileWriter::side;
    QTest::newRow("version 4, four chunks") << 4 << QVector<int> {2304, 2304, 2304, 2304} << 220;
    QTest::newRow("version 4, one chunk") << 4 << QVector<int> {all} << 220;
    QTest::newRow("version 5, one chunk") << 5 << QVector<int> {all} << 220;
    QTest::newRow("version 5, two chunks") << 5 << QVector<int> {1000, all - 1000} << 220;
    QTest::newRow("version 6, one chunk") << 6 << QVector<int> {all} << 220;
    QTest::newRow("version 6, two chunks") << 6 << QVector<int> {4608, 4608} << 220;
    QTest::newRow("version 7 reads like 6") << 7 << QVector<int> {all} << 220;
    QTest::newRow("older material layout") << 5 << QVector<int> {all} << 208;
    QTest::newRow("first search position") << 6 << QVector<int> {all} << 200;
    QTest::newRow("last search position") << 6 << QVector<int> {all} << 239;
}

void TestZBrushThumbnailDecoder::decodesEncodedThumbnails()
{
    QFETCH(int, version);
    QFETCH(QVector<int>, chunkPixels);
    QFETCH(int, signatureOffset);

    const QImage image = patternImage();
    const QByteArray file = ZBrushFileWriter::file(image, version, chunkPixels, "2021", signatureOffset);
    const Decoded decoded = decode(file, false);
    QVERIFY2(decoded.ok, decoded.error.c_str());
    QVERIFY(decoded.guardIntact);
    QCOMPARE(decoded.pixels, rgbaBytes(image));
}

void TestZBrushThumbnailDecoder::redToAlpha_data()
{
    QTest::addColumn<QRgb>("upper");
    QTest::addColumn<QRgb>("lower");
    QTest::addColumn<bool>("rule");
    QTest::addColumn<int>("upperAlpha");
    QTest::addColumn<int>("lowerAlpha");

    QTest::newRow("black keeps its alpha") << qRgba(0, 9, 9, 77) << qRgba(200, 0, 0, 10) << true << 77 << 255;
    QTest::newRow("faint reds fade in") << qRgba(3, 0, 0, 77) << qRgba(15, 0, 0, 77) << true << 4 << 112;
    QTest::newRow("red 16 is opaque") << qRgba(16, 0, 0, 0) << qRgba(1, 0, 0, 50) << true << 255 << 0;
    QTest::newRow("rule off keeps alpha") << qRgba(3, 0, 0, 77) << qRgba(200, 0, 0, 0) << false << 77 << 0;
    QTest::newRow("empty alpha plane, rule off") << qRgba(50, 60, 70, 0) << qRgba(0, 0, 0, 0) << false << 255 << 255;
    QTest::newRow("nothing but black, rule on") << qRgba(0, 0, 0, 0) << qRgba(0, 8, 8, 0) << true << 255 << 255;
    QTest::newRow("red 1 rounds to 0") << qRgba(1, 0, 0, 0) << qRgba(1, 1, 1, 0) << true << 255 << 255;
}

// The top half of the thumbnail is one colour, the bottom half another.
void TestZBrushThumbnailDecoder::redToAlpha()
{
    QFETCH(QRgb, upper);
    QFETCH(QRgb, lower);
    QFETCH(bool, rule);
    QFETCH(int, upperAlpha);
    QFETCH(int, lowerAlpha);

    QImage image = ZBrushFileWriter::uniformImage(upper);
    for (int y = ZBrushFileWriter::side / 2; y < ZBrushFileWriter::side; ++y) {
        for (int x = 0; x < ZBrushFileWriter::side; ++x)
            image.setPixelColor(x, y, QColor::fromRgba(lower));
    }
    const Decoded decoded = decode(ZBrushFileWriter::file(image, 6), rule);
    QVERIFY2(decoded.ok, decoded.error.c_str());
    const auto byteAt = [&decoded](int pixel, int byte) { return int(uchar(decoded.pixels[4 * pixel + byte])); };
    const int first = 0;
    const int last = ZBrushFileWriter::side * ZBrushFileWriter::side - 1;
    QCOMPARE(byteAt(first, 3), upperAlpha);
    QCOMPARE(byteAt(last, 3), lowerAlpha);
    // Colours come out red first whatever happens to alpha.
    QCOMPARE(byteAt(first, 0), qRed(upper));
    QCOMPARE(byteAt(first, 1), qGreen(upper));
    QCOMPARE(byteAt(first, 2), qBlue(upper));
    QCOMPARE(byteAt(last, 0), qRed(lower));
    QCOMPARE(byteAt(last, 2), qBlue(lower));
}

void TestZBrushThumbnailDecoder::failsCleanly_data()
{
    QTest::addColumn<QByteArray>("file");

    const QImage image = patternImage();
    const QByteArray v6 = ZBrushFileWriter::file(image, 6);
    const int v6Data = ZBrushFileWriter::dataStart(6);
    const int v6Size = 220 + 20;
    // Cuts at every length are truncatedAnywhere's.

    QByteArray noSignature = v6;
    noSignature[221] = char(0x91);
    QTest::newRow("no signature") << noSignature;
    QTest::newRow("signature before the window") << ZBrushFileWriter::file(image, 6, {9216}, "2021", 199);
    QTest::newRow("signature after the window") << ZBrushFileWriter::file(image, 6, {9216}, "2021", 240);

    for (const int version : {3, 0, -1, -128}) {
        QByteArray old = v6;
        old[220 - 6] = char(version);
        QTest::newRow(qPrintable(QStringLiteral("version %1").arg(version))) << old;
    }


    QByteArray pastEnd = v6.left(v6Data + 400);
    putInt32(pastEnd, v6Size, 401);
    QTest::newRow("chunk size past the end") << pastEnd;
    QByteArray hugeSize = v6;
    putInt32(hugeSize, v6Size, 0x7fffffff);
    QTest::newRow("chunk size near 2^31") << hugeSize;
    QByteArray negativeV6 = v6;
    putInt32(negativeV6, v6Size, -4);
    QTest::newRow("negative chunk size, version 6") << negativeV6;
    QByteArray secondPastEnd = ZBrushFileWriter::file(image, 5, {4608, 4608});
    putInt32(secondPastEnd, v6Size + 4, secondPastEnd.size());
    QTest::newRow("second chunk past the end") << secondPastEnd;

    QByteArray negativeV4 = ZBrushFileWriter::file(image, 4, {2304, 2304, 2304, 2304});
    negativeV4[220 + 10] = char(0xfe);
    negativeV4[220 + 11] = char(0xff);
    QTest::newRow("negative chunk size, version 4") << negativeV4;

    QByteArray shortChunk = v6;
    putInt32(shortChunk, v6Size, 3);
    QTest::newRow("chunk shorter than its header") << shortChunk;

    QTest::newRow("runs beyond 96 x 96, one chunk")
        << ZBrushFileWriter::fileWithChunks({ZBrushFileWriter::encodeRuns(QByteArray(bufferSize + 4, 'x'))}, 6);
    const QByteArray half = ZBrushFileWriter::encodeRuns(QByteArray(bufferSize / 2 + 4, 'x'));
    QTest::newRow("runs beyond 96 x 96, two chunks") << ZBrushFileWriter::fileWithChunks({half, half}, 5);
    // The chunk sizes below leave out the spare bytes that follow the runs.
    QByteArray repeatCut = ZBrushFileWriter::fileWithChunks({QByteArray("\x10", 1)}, 5);
    putInt32(repeatCut, v6Size, 1);
    QTest::newRow("repeat without its byte") << repeatCut;
    QByteArray copyCut = ZBrushFileWriter::fileWithChunks({QByteArray("\xfa" "abc", 4)}, 6);
    putInt32(copyCut, v6Size, 8);
    QTest::newRow("copy past the chunk") << copyCut;
    QTest::newRow("no pixels") << ZBrushFileWriter::fileWithChunks({}, 6);
    QTest::newRow("empty input") << QByteArray();
}

void TestZBrushThumbnailDecoder::failsCleanly()
{
    QFETCH(QByteArray, file);

    for (const bool rule : {false, true}) {
        const Decoded decoded = decode(file, rule);
        QVERIFY(!decoded.ok);
        QVERIFY(!decoded.error.empty());
        QVERIFY(decoded.guardIntact);
    }
}

// A chunk whose runs are no multiple of 4 fills only its whole pixels; the next chunk
// carries on at the pixel after them.
void TestZBrushThumbnailDecoder::partialPixelsDropped()
{
    const QByteArray sixBytes("\x06\x40\0", 3);
    const QByteArray onePixel("\xfc\x01\x02\x03\x04\0", 6);
    const Decoded decoded = decode(ZBrushFileWriter::fileWithChunks({sixBytes, onePixel}, 5), false);
    QVERIFY2(decoded.ok, decoded.error.c_str());
    QVERIFY(decoded.guardIntact);
    QCOMPARE(decoded.pixels.left(12), QByteArray::fromHex("40404040" "03020104" "00000000"));
    QCOMPARE(decoded.pixels.count('\0'), bufferSize - 8);
}

void TestZBrushThumbnailDecoder::truncatedAnywhere_data()
{
    QTest::addColumn<int>("version");
    QTest::newRow("version 4") << 4;
    QTest::newRow("version 5") << 5;
    QTest::newRow("version 6") << 6;
}

// Every prefix that cuts into the thumbnail fails; the first one that holds it all decodes.
void TestZBrushThumbnailDecoder::truncatedAnywhere()
{
    QFETCH(int, version);

    const QImage image = patternImage();
    const QVector<int> chunks = version == 4 ? QVector<int> {4608, 4608} : QVector<int> {9216};
    const QByteArray file = ZBrushFileWriter::file(image, version, chunks);
    // The 2000 filler bytes after the chunks are not part of the thumbnail.
    const int thumbnailEnd = file.size() - 2000;
    for (int length = 0; length <= thumbnailEnd; ++length) {
        const Decoded decoded = decode(file.left(length), false);
        QVERIFY(decoded.guardIntact);
        if (decoded.ok != (length == thumbnailEnd))
            QFAIL(qPrintable(QStringLiteral("length %1 of %2: %3").arg(length).arg(thumbnailEnd).arg(decoded.ok)));
    }
    QCOMPARE(decode(file.left(thumbnailEnd), false).pixels, rgbaBytes(image));
}

void TestZBrushThumbnailDecoder::versionText_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray lead(84, 'x');
    QTest::newRow("seven bytes") << lead + QByteArray("2022.0.4") << QByteArray("2022.0.");
    QTest::newRow("ends at zero") << lead + QByteArray("4.8\0" "4.8", 7) << QByteArray("4.8");
    QTest::newRow("exactly 4") << lead + QByteArray("4\0\0\0\0\0\0", 7) << QByteArray("4");
    QTest::newRow("zeros") << lead + QByteArray(7, '\0') << QByteArray();
    QTest::newRow("short file") << lead + QByteArray("20") << QByteArray("20");
    QTest::newRow("shorter than the offset") << lead.left(50) << QByteArray();
}

void TestZBrushThumbnailDecoder::versionText()
{
    QFETCH(QByteArray, header);
    QFETCH(QByteArray, expected);

    const QByteArray input(header.constData(), header.size());
    const std::string text = ZBrushThumbnailDecoder::versionText(
        reinterpret_cast<const unsigned char *>(input.constData()), std::size_t(input.size()));
    QCOMPARE(QByteArray::fromStdString(text), expected);
}

QTEST_APPLESS_MAIN(TestZBrushThumbnailDecoder)
#include "tst_zbrushthumbnaildecoder.moc"
