#include "imgextra/psdheader.h"
#include "tests/common/realdata.h"
#include "tests/common/testfiles.h"
#include "tools/writers/psdwriter.h"

#include <QBuffer>
#include <QImageIOPlugin>
#include <QImageReader>
#include <QPluginLoader>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtConcurrent>
#include <QtEndian>
#include <QtTest>

#include <atomic>
#include <functional>
#include <memory>

namespace {

// Samples differ in every channel, column and row, so swapped channels, flipped
// rows or shifted columns show.
quint16 sample8(int channel, int x, int y)
{
    return quint16((channel * 70 + x * 23 + y * 41 + 7) % 256);
}

// A low byte unlike the high one catches byte-order faults where 16 bits are kept.
quint16 sample16(int channel, int x, int y)
{
    return quint16(sample8(channel, x, y) << 8 | ((x * 7 + y * 3 + channel * 5 + 1) & 0xff));
}

PsdWriter::Document makeDocument(int width, int height, int depth, int mode, int channels, bool packBits = false)
{
    PsdWriter::Document document;
    document.width = width;
    document.height = height;
    document.depth = depth;
    document.mode = mode;
    document.packBits = packBits;
    for (int c = 0; c < channels; ++c) {
        QVector<quint16> plane;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                plane.append(depth == 16 ? sample16(c, x, y) : sample8(c, x, y));
        }
        document.channels.append(plane);
    }
    return document;
}

QRgba64 rgba8(int r, int g, int b, int a = 255)
{
    return QRgba64::fromRgba(quint8(r), quint8(g), quint8(b), quint8(a));
}

QImage expectedImage(int width, int height, const std::function<QRgba64(int x, int y)> &pixel)
{
    QImage image(width, height, QImage::Format_RGBA64);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgba64 *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = pixel(x, y);
    }
    return image;
}

// Empty when both hold the same pixels, else the first difference.
QString difference(const QImage &actual, const QImage &expected)
{
    if (actual.size() != expected.size()) {
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(actual.width()).arg(actual.height()).arg(expected.width()).arg(expected.height());
    }
    const QImage wide = actual.convertToFormat(QImage::Format_RGBA64);
    for (int y = 0; y < expected.height(); ++y) {
        const auto *got = reinterpret_cast<const QRgba64 *>(wide.constScanLine(y));
        const auto *want = reinterpret_cast<const QRgba64 *>(expected.constScanLine(y));
        for (int x = 0; x < expected.width(); ++x) {
            if (quint64(got[x]) != quint64(want[x])) {
                return QStringLiteral("pixel %1,%2 is %3, expected %4")
                    .arg(x).arg(y).arg(quint64(got[x]), 16, 16, QLatin1Char('0'))
                    .arg(quint64(want[x]), 16, 16, QLatin1Char('0'));
            }
        }
    }
    return {};
}

QByteArray palette()
{
    QByteArray table;
    for (int i = 0; i < 256; ++i)
        table.append(char(i));
    for (int i = 0; i < 256; ++i)
        table.append(char(255 - i));
    for (int i = 0; i < 256; ++i)
        table.append(char(i * 7));
    return table;
}

// A document together with what the plug-in must make of it.
struct Case
{
    QByteArray bytes;
    QImage::Format format;
    QImage expected;
};

Case rgb8Case(int width, int height, bool packBits)
{
    return {PsdWriter::write(makeDocument(width, height, 8, PsdWriter::Rgb, 3, packBits)), QImage::Format_RGB888,
            expectedImage(width, height, [](int x, int y) {
                return rgba8(sample8(0, x, y), sample8(1, x, y), sample8(2, x, y));
            })};
}

Case rgba8Case(int width, int height, bool packBits)
{
    return {PsdWriter::write(makeDocument(width, height, 8, PsdWriter::Rgb, 4, packBits)), QImage::Format_RGBA8888,
            expectedImage(width, height, [](int x, int y) {
                return rgba8(sample8(0, x, y), sample8(1, x, y), sample8(2, x, y), sample8(3, x, y));
            })};
}

Case grey16Case(int width, int height)
{
    return {PsdWriter::write(makeDocument(width, height, 16, PsdWriter::Grayscale, 1)), QImage::Format_Grayscale16,
            expectedImage(width, height, [](int x, int y) {
                const quint16 v = sample16(0, x, y);
                return QRgba64::fromRgba64(v, v, v, 0xffff);
            })};
}

Case indexedCase(int width, int height)
{
    PsdWriter::Document document = makeDocument(width, height, 8, PsdWriter::Indexed, 1);
    document.colourModeData = palette();
    return {PsdWriter::write(document), QImage::Format_RGB888, expectedImage(width, height, [](int x, int y) {
                const int i = sample8(0, x, y);
                return rgba8(i, 255 - i, (i * 7) & 0xff);
            })};
}

// 16-bit colour comes down to 8 bits by dropping the low byte.
Case rgb16Case(int width, int height)
{
    return {PsdWriter::write(makeDocument(width, height, 16, PsdWriter::Rgb, 3)), QImage::Format_RGB888,
            expectedImage(width, height, [](int x, int y) {
                return rgba8(sample8(0, x, y), sample8(1, x, y), sample8(2, x, y));
            })};
}

std::atomic<int> seriousMessages{0};
std::atomic<bool> quiet{false};
QtMessageHandler previousHandler = nullptr;

// Bad documents may cost a warning, nothing worse; the many expected warnings stay quiet.
void recordMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        ++seriousMessages;
    if (!quiet || type != QtWarningMsg)
        previousHandler(type, context, message);
}

} // namespace

Q_DECLARE_METATYPE(QImage::Format)

class TestDevilHandler : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void readsPixels_data();
    void readsPixels();
    void readIntoImageSharingDevilBuffer();
    void scaledSize_data();
    void scaledSize();
    void qualityZeroReadsOnlySizeAndFormat_data();
    void qualityZeroReadsOnlySizeAndFormat();
    void capabilities_data();
    void capabilities();
    void badDocumentsFail_data();
    void badDocumentsFail();
    void headerCheck_data();
    void headerCheck();
    void truncatedDocumentsFail_data();
    void truncatedDocumentsFail();
    void concurrentReads();
    void realDocuments_data();
    void realDocuments();

private:
    QString writeFile(const QString &name, const QByteArray &bytes);

    QTemporaryDir m_dir;
    QPluginLoader m_loader;
    QImageIOPlugin *m_plugin = nullptr;
};

void TestDevilHandler::initTestCase()
{
    QVERIFY(m_dir.isValid());
    previousHandler = qInstallMessageHandler(recordMessage);

    // The same folder the program uses; Qt itself must find the plug-in there.
    QVERIFY2(QImageReader::supportedImageFormats().contains("psd"), "imgextra not found on the plug-in path");
    m_loader.setFileName(qEnvironmentVariable("KIVARA_BIN_DIR") + QStringLiteral("/imageformats/imgextra"));
    QVERIFY2(m_loader.load(), qPrintable(m_loader.errorString()));
    m_plugin = qobject_cast<QImageIOPlugin *>(m_loader.instance());
    QVERIFY(m_plugin);
}

void TestDevilHandler::cleanupTestCase()
{
    qInstallMessageHandler(previousHandler);
}

void TestDevilHandler::init()
{
    seriousMessages = 0;
}

void TestDevilHandler::cleanup()
{
    quiet = false;
    QCOMPARE(seriousMessages.load(), 0);
}

QString TestDevilHandler::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(name);
    return TestFiles::write(path, bytes) ? path : QString();
}

void TestDevilHandler::readsPixels_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<QImage>("expected");

    const auto add = [](const char *name, const Case &c) { QTest::newRow(name) << c.bytes << c.format << c.expected; };
    // 5 pixels of 3 bytes: rows that are not on 32-bit boundaries.
    add("rgb8 raw, odd width", rgb8Case(5, 3, false));
    add("rgb8 PackBits, odd width", rgb8Case(7, 4, true));
    add("rgb8 raw, aligned rows", rgb8Case(4, 2, false));
    add("rgba8 PackBits", rgba8Case(5, 3, true));
    // DevIL drops this alpha; the plug-in takes it from the file.
    add("rgba8 raw", rgba8Case(5, 3, false));
    add("rgb16 raw", rgb16Case(5, 3));
    add("grey16 raw", grey16Case(5, 3));
    add("indexed", indexedCase(5, 3));

    QTest::newRow("rgba16 raw")
        << PsdWriter::write(makeDocument(3, 2, 16, PsdWriter::Rgb, 4)) << QImage::Format_RGBA64
        << expectedImage(3, 2, [](int x, int y) {
               return QRgba64::fromRgba64(sample16(0, x, y), sample16(1, x, y), sample16(2, x, y), sample16(3, x, y));
           });
    const auto grey8 = expectedImage(5, 3, [](int x, int y) {
        const int v = sample8(0, x, y);
        return rgba8(v, v, v);
    });
    QTest::newRow("grey8 raw") << PsdWriter::write(makeDocument(5, 3, 8, PsdWriter::Grayscale, 1))
                               << QImage::Format_Grayscale8 << grey8;
    // DevIL delivers grey with alpha as plain grey.
    QTest::newRow("grey+alpha8 PackBits") << PsdWriter::write(makeDocument(5, 3, 8, PsdWriter::Grayscale, 2, true))
                                          << QImage::Format_Grayscale8 << grey8;
    QTest::newRow("grey+alpha16 raw")
        << PsdWriter::write(makeDocument(5, 3, 16, PsdWriter::Grayscale, 2)) << QImage::Format_Grayscale16
        << expectedImage(5, 3, [](int x, int y) {
               const quint16 v = sample16(0, x, y);
               return QRgba64::fromRgba64(v, v, v, 0xffff);
           });

    // A resource block claiming more than its section crashes DevIL; resources do not matter for pixels.
    {
        Case c = rgb8Case(5, 3, false);
        PsdWriter::Document document = makeDocument(5, 3, 8, PsdWriter::Rgb, 3);
        document.imageResources = QByteArray("8BIM\x03\xed\0\0\0\1\0\0", 12) + QByteArray(16, '\0');
        QTest::newRow("damaged image resource") << PsdWriter::write(document) << c.format << c.expected;
    }

    // With layers the fourth channel is a saved selection unless the count is negative.
    for (const int layers : {1, -1}) {
        PsdWriter::Document document = makeDocument(5, 3, 8, PsdWriter::Rgb, 4, true);
        document.layerCount = layers;
        const bool transparent = layers < 0;
        QTest::addRow("rgba8 with %d layer(s)", layers)
            << PsdWriter::write(document) << (transparent ? QImage::Format_RGBA8888 : QImage::Format_RGB888)
            << expectedImage(5, 3, [transparent](int x, int y) {
                   return rgba8(sample8(0, x, y), sample8(1, x, y), sample8(2, x, y),
                                transparent ? sample8(3, x, y) : 255);
               });
    }
}

void TestDevilHandler::readsPixels()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QImage::Format, format);
    QFETCH(QImage, expected);

    QImageReader reader(writeFile(QStringLiteral("doc.psd"), bytes));
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.format(), format);
    QCOMPARE(reader.imageFormat(), format);
    QCOMPARE(reader.size(), expected.size());
    const QString problem = difference(image, expected);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

// The image being replaced releases its DevIL buffer under the same lock the read holds.
void TestDevilHandler::readIntoImageSharingDevilBuffer()
{
    const Case first = rgba8Case(4, 4, true);
    const Case second = rgba8Case(8, 2, false);
    QImage image;
    QImageReader firstReader(writeFile(QStringLiteral("first.psd"), first.bytes));
    QVERIFY(firstReader.read(&image));
    QImageReader secondReader(writeFile(QStringLiteral("second.psd"), second.bytes));
    QVERIFY(secondReader.read(&image));
    const QString problem = difference(image, second.expected);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void TestDevilHandler::scaledSize_data()
{
    QTest::addColumn<QSize>("scaled");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("unset keeps the document's size") << QSize() << QSize(2, 1);
    QTest::newRow("0x0 means 192x192") << QSize(0, 0) << QSize(192, 192);
    QTest::newRow("explicit, unaligned rows") << QSize(7, 2) << QSize(7, 2);
    QTest::newRow("explicit, aligned rows") << QSize(8, 8) << QSize(8, 8);
    QTest::newRow("no area fails") << QSize(0, 4) << QSize();
}

void TestDevilHandler::scaledSize()
{
    QFETCH(QSize, scaled);
    QFETCH(QSize, expected);

    // Left pixel blue-ish, right pixel orange: the corners of any scaled copy keep them.
    PsdWriter::Document document{2, 1, 8, PsdWriter::Rgb, {{10, 250}, {60, 120}, {200, 5}}, false, {}, 0, {}};
    QImageReader reader(writeFile(QStringLiteral("scaled.psd"), PsdWriter::write(document)));
    if (scaled.isValid())
        reader.setScaledSize(scaled);
    quiet = !expected.isValid();
    const QImage image = reader.read();
    if (!expected.isValid()) {
        QVERIFY(image.isNull());
        return;
    }
    QCOMPARE(image.size(), expected);
    QCOMPARE(reader.size(), QSize(2, 1));
    QCOMPARE(image.pixel(0, 0), qRgb(10, 60, 200));
    QCOMPARE(image.pixel(expected.width() - 1, expected.height() - 1), qRgb(250, 120, 5));
}

void TestDevilHandler::qualityZeroReadsOnlySizeAndFormat_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QImage::Format>("format");

    QTest::newRow("rgb8") << rgb8Case(5, 3, false).bytes << QSize(5, 3) << QImage::Format_RGB888;
    QTest::newRow("rgba8") << rgba8Case(6, 2, true).bytes << QSize(6, 2) << QImage::Format_RGBA8888;
    QTest::newRow("grey16") << grey16Case(3, 9).bytes << QSize(3, 9) << QImage::Format_Grayscale16;
}

// The alpha catalogue reads this way for the size and depth of every document.
void TestDevilHandler::qualityZeroReadsOnlySizeAndFormat()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, size);
    QFETCH(QImage::Format, format);

    QImageReader reader(writeFile(QStringLiteral("quality.psd"), bytes));
    reader.setQuality(0);
    QImage image(2, 2, QImage::Format_ARGB32);
    image.fill(Qt::red);
    const qint64 key = image.cacheKey();
    QVERIFY(reader.read(&image));
    QCOMPARE(image.cacheKey(), key);
    QCOMPARE(image.size(), QSize(2, 2));
    QCOMPARE(reader.size(), size);
    QCOMPARE(reader.imageFormat(), format);
}

void TestDevilHandler::capabilities_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QString>("device");
    QTest::addColumn<bool>("readable");

    QTest::newRow("psd, open device") << QByteArray("psd") << "open" << true;
    QTest::newRow("psd, no device") << QByteArray("psd") << "none" << true;
    QTest::newRow("psd, closed device") << QByteArray("psd") << "closed" << false;
    QTest::newRow("upper case") << QByteArray("PSD") << "open" << false;
    QTest::newRow("no format") << QByteArray() << "open" << false;
    QTest::newRow("other format") << QByteArray("png") << "open" << false;
}

void TestDevilHandler::capabilities()
{
    QFETCH(QByteArray, format);
    QFETCH(QString, device);
    QFETCH(bool, readable);

    QBuffer buffer;
    buffer.setData(rgb8Case(5, 3, false).bytes);
    if (device == QLatin1String("open"))
        QVERIFY(buffer.open(QIODevice::ReadOnly));
    QIODevice *io = device == QLatin1String("none") ? nullptr : &buffer;
    QCOMPARE(m_plugin->capabilities(io, format),
             readable ? QImageIOPlugin::Capabilities(QImageIOPlugin::CanRead) : QImageIOPlugin::Capabilities());

    // A handler made for another key reads nothing either.
    if (device == QLatin1String("open")) {
        std::unique_ptr<QImageIOHandler> handler(m_plugin->create(&buffer, format));
        QImage image;
        QCOMPARE(handler->read(&image), readable);
        QCOMPARE(image.isNull(), !readable);
    }
}

void TestDevilHandler::badDocumentsFail_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::green);
        QVERIFY(image.save(&buffer, "PNG"));
    }
    const QByteArray rgb = rgb8Case(5, 3, false).bytes;
    const auto patched = [](QByteArray bytes, int offset, QByteArray with) {
        return bytes.replace(offset, with.size(), with);
    };
    // Header, three empty sections and the compression word.
    const int pixels = 26 + 12 + 2;

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("text") << QByteArray("8BPS is not enough to be a document");
    QTest::newRow("PNG named .psd") << png;
    QTest::newRow("large document format") << patched(rgb, 4, QByteArray("\0\2", 2));
    QTest::newRow("no width") << patched(rgb, 18, QByteArray(4, '\0'));
    QTest::newRow("99 channels") << patched(rgb, 12, QByteArray("\0\x63", 2));
    QTest::newRow("ZIP compression") << patched(rgb, pixels - 2, QByteArray("\0\2", 2));
    QTest::newRow("section longer than the file") << patched(rgb, 34, QByteArray("\0\1\0\0", 4));

    // Rows of 5 distinct bytes pack as one literal run; claim a sixth byte.
    const QByteArray packed = rgb8Case(5, 3, true).bytes;
    QTest::newRow("PackBits row overruns") << patched(packed, pixels + 9 * 2, QByteArray("\5", 1));
    QTest::newRow("PackBits row table too long") << patched(packed, pixels, QByteArray("\x7f\xff", 2));

    // Well-formed, but nothing DevIL decodes.
    QTest::newRow("bitmap mode")
        << PsdWriter::write({8, 2, 1, PsdWriter::Bitmap, {{0xaa, 0x55}}, false, {}, 0, {}});
    QTest::newRow("Lab mode") << PsdWriter::write(makeDocument(5, 3, 8, PsdWriter::Lab, 3));
    QTest::newRow("uncompressed CMYK with alpha") << PsdWriter::write(makeDocument(5, 3, 8, PsdWriter::Cmyk, 5));
    QTest::newRow("16-bit PackBits") << PsdWriter::write(makeDocument(5, 3, 16, PsdWriter::Rgb, 3, true));
    QTest::newRow("32-bit") << PsdWriter::write({2, 2, 32, PsdWriter::Rgb, {{}, {}, {}}, false, {}, 0, {}})
                                   .append(QByteArray(2 * 2 * 4 * 3, '\0'));
}

void TestDevilHandler::badDocumentsFail()
{
    QFETCH(QByteArray, bytes);

    QImageReader reader(writeFile(QStringLiteral("bad.psd"), bytes));
    quiet = true;
    QImage image(1, 1, QImage::Format_RGB32);
    QVERIFY(!reader.read(&image));
    QCOMPARE(reader.error(), QImageReader::InvalidDataError);
    QCOMPARE(image.size(), QSize(1, 1));
}

// What DevIL must never see. It fails documents with fewer channels than their colour
// mode has colours, or of one bit outside the bitmap mode, but leaks on every one of them.
void TestDevilHandler::headerCheck_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem");

    QTest::newRow("RGB") << rgb8Case(5, 3, false).bytes << QString();
    QTest::newRow("grey of one channel") << PsdWriter::write(makeDocument(5, 3, 8, PsdWriter::Grayscale, 1))
                                         << QString();
    QTest::newRow("RGB of one channel") << PsdWriter::write(makeDocument(5, 3, 8, PsdWriter::Rgb, 1))
                                        << QStringLiteral("colour mode 3 needs 3 channels, has 1");
    QTest::newRow("RGB of two channels, PackBits")
        << PsdWriter::write(makeDocument(5, 3, 8, PsdWriter::Rgb, 2, true))
        << QStringLiteral("colour mode 3 needs 3 channels, has 2");
    QTest::newRow("CMYK of three channels") << PsdWriter::write(makeDocument(5, 3, 8, PsdWriter::Cmyk, 3))
                                            << QStringLiteral("colour mode 4 needs 4 channels, has 3");
    // One bit per channel outside the bitmap mode: DevIL leaks on these too.
    const auto oneBit = [](QByteArray document) {
        document[22] = 0;
        document[23] = 1;
        return document;
    };
    QTest::newRow("grey of one bit") << oneBit(PsdWriter::write(makeDocument(5, 3, 8, PsdWriter::Grayscale, 1)))
                                     << QStringLiteral("colour mode 1 with 1 bit per channel");
    QTest::newRow("RGB of one bit") << oneBit(rgb8Case(5, 3, false).bytes)
                                    << QStringLiteral("colour mode 3 with 1 bit per channel");
}

void TestDevilHandler::headerCheck()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);

    PsdHeader header;
    QString error;
    QCOMPARE(header.parse(bytes, &error), problem.isEmpty());
    QCOMPARE(error, problem);
    if (!problem.isEmpty()) {
        QBuffer buffer(&bytes);
        quiet = true;
        QVERIFY(QImageReader(&buffer, "psd").read().isNull());
    }
}

void TestDevilHandler::truncatedDocumentsFail_data()
{
    QTest::addColumn<QByteArray>("bytes");

    // DevIL itself crashes on a PackBits document cut inside its row table.
    QTest::newRow("rgba8 PackBits") << rgba8Case(5, 3, true).bytes;
    QTest::newRow("rgb16 raw") << rgb16Case(5, 3).bytes;
    QTest::newRow("indexed") << indexedCase(3, 2).bytes;
}

void TestDevilHandler::truncatedDocumentsFail()
{
    QFETCH(QByteArray, bytes);

    quiet = true;
    for (int length = 0; length < bytes.size(); ++length) {
        QBuffer buffer;
        buffer.setData(bytes.left(length));
        QImageReader reader(&buffer, "psd");
        QVERIFY2(reader.read().isNull(), qPrintable(QStringLiteral("%1 of %2 bytes read").arg(length).arg(bytes.size())));
    }
    QBuffer whole;
    whole.setData(bytes);
    QVERIFY(!QImageReader(&whole, "psd").read().isNull());
}

// The alpha catalogue reads its documents on the global thread pool.
void TestDevilHandler::concurrentReads()
{
    const QVector<Case> cases{rgb8Case(61, 47, false), rgba8Case(64, 33, true), grey16Case(29, 31),
                              indexedCase(17, 9), rgb16Case(13, 11), rgb8Case(50, 50, true)};
    QStringList paths;
    for (int i = 0; i < cases.size(); ++i)
        paths.append(writeFile(QStringLiteral("thread%1.psd").arg(i), cases.at(i).bytes));

    QVector<int> jobs(600);
    std::iota(jobs.begin(), jobs.end(), 0);
    QThreadPool::globalInstance()->setMaxThreadCount(8);
    struct Result
    {
        QString problem;
        QImage image;
    };
    const std::function<Result(int)> readOne = [&](int job) -> Result {
        const Case &c = cases.at(job % cases.size());
        QImageReader reader(paths.at(job % cases.size()));
        if (job % 5 == 0) {
            reader.setScaledSize(QSize(0, 0));
            const QImage image = reader.read();
            return {image.size() == QSize(192, 192) ? QString() : QStringLiteral("not scaled"), {}};
        }
        const QImage image = reader.read();
        const QString problem = difference(image, c.expected);
        // Half the images die here, half on the test's thread, both while others load.
        return {problem, job % 2 ? image : QImage()};
    };
    const QVector<Result> results = QtConcurrent::blockingMapped<QVector<Result>>(jobs, readOne);
    QThreadPool::globalInstance()->setMaxThreadCount(QThread::idealThreadCount());
    for (int job = 0; job < results.size(); ++job)
        QVERIFY2(results.at(job).problem.isEmpty(), qPrintable(QStringLiteral("job %1: %2").arg(job).arg(results.at(job).problem)));
}

void TestDevilHandler::realDocuments_data()
{
    QTest::addColumn<QString>("path");

    const QString folder = realDataFolder();
    const QDir dir(folder + QStringLiteral("/psd"));
    const QStringList names = folder.isEmpty() ? QStringList() : dir.entryList({QStringLiteral("*.psd")}, QDir::Files, QDir::Name);
    if (names.isEmpty())
        QSKIP("no real Photoshop documents here");
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << dir.filePath(name);
}

void TestDevilHandler::realDocuments()
{
    QFETCH(QString, path);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.size() > 26);
    const auto at16 = [&](qint64 offset) { return int(qFromBigEndian<quint16>(bytes.constData() + offset)); };
    const auto at32 = [&](qint64 offset) { return qint64(qFromBigEndian<quint32>(bytes.constData() + offset)); };
    const int channels = at16(12);
    const QSize size(int(at32(18)), int(at32(14)));
    const int depth = at16(22);
    const int mode = at16(24);

    QImageReader reader(path);
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), size);
    QCOMPARE(reader.size(), size);
    qInfo("%s: %d channels of %d bits, mode %d, delivered as QImage format %d", qPrintable(QFileInfo(path).fileName()),
          channels, depth, mode, int(image.format()));

    // Uncompressed colour planes end the file: compare them with what was delivered.
    qint64 offset = 26;
    for (int section = 0; section < 3; ++section)
        offset += 4 + at32(offset);
    if (at16(offset) != 0 || (depth != 8 && depth != 16))
        return;
    const int colours = mode == PsdWriter::Rgb ? 3 : 1;
    const qint64 plane = qint64(size.width()) * size.height() * (depth / 8);
    const qint64 start = bytes.size() - plane * channels;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const int delivered[3] = {qRed(pixel), qGreen(pixel), qBlue(pixel)};
            for (int c = 0; c < colours; ++c) {
                const qint64 at = start + c * plane + (qint64(y) * size.width() + x) * (depth / 8);
                QCOMPARE(delivered[c], int(quint8(bytes.at(int(at)))));
            }
        }
    }

    // Cut off its last byte, the same document is refused.
    QBuffer cut;
    cut.setData(bytes.left(bytes.size() - 1));
    quiet = true;
    QVERIFY(QImageReader(&cut, "psd").read().isNull());
}

QTEST_MAIN(TestDevilHandler)
#include "tst_devilhandler.moc"
