// What reading a Photoshop document costs, and what the row copy adds when a
// width leaves DevIL's packed rows off Qt's 32-bit boundaries.
#include "tools/writers/psdwriter.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImageReader>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

QByteArray document(int width, int height, int channels, int mode)
{
    PsdWriter::Document d;
    d.width = width;
    d.height = height;
    d.mode = mode;
    for (int c = 0; c < channels; ++c) {
        QVector<quint16> plane(width * height);
        for (int i = 0; i < plane.size(); ++i)
            plane[i] = quint16((i * (c + 3)) & 0xff);
        d.channels.append(plane);
    }
    return PsdWriter::write(d);
}

// Median milliseconds of a full read through QImageReader.
double readMs(const QByteArray &bytes, const QSize &scaled = QSize())
{
    QVector<double> times;
    for (int run = 0; run < 9; ++run) {
        QBuffer buffer;
        buffer.setData(bytes);
        QImageReader reader(&buffer, "psd");
        if (scaled.isValid())
            reader.setScaledSize(scaled);
        QElapsedTimer timer;
        timer.start();
        const QImage image = reader.read();
        times.append(timer.nsecsElapsed() / 1e6);
        if (image.isNull())
            return -1;
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

// The copy alone, as the handler makes it for unaligned rows.
double copyMs(int width, int height, int bytesPerPixel, QImage::Format format)
{
    const int rowBytes = width * bytesPerPixel;
    const QByteArray packed(rowBytes * height, '\x5a');
    QVector<double> times;
    for (int run = 0; run < 9; ++run) {
        QElapsedTimer timer;
        timer.start();
        QImage copy(width, height, format);
        for (int y = 0; y < height; ++y)
            std::memcpy(copy.scanLine(y), packed.constData() + y * rowBytes, size_t(rowBytes));
        times.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::addLibraryPath(QStringLiteral(KIVARA_BIN_DIR));

    struct Case
    {
        const char *name;
        int width;
        int height;
        int channels;
        int mode;
    };
    const Case cases[] = {
        {"RGB 4000x3000 (rows aligned, buffer shared)", 4000, 3000, 3, PsdWriter::Rgb},
        {"RGB 3999x3000 (rows copied)", 3999, 3000, 3, PsdWriter::Rgb},
        {"grey 4000x3000 (rows aligned, buffer shared)", 4000, 3000, 1, PsdWriter::Grayscale},
        {"grey 3999x3000 (rows copied)", 3999, 3000, 1, PsdWriter::Grayscale},
    };
    std::printf("median of 9 reads from memory, uncompressed 8-bit documents\n");
    for (const Case &c : cases) {
        const QByteArray bytes = document(c.width, c.height, c.channels, c.mode);
        std::printf("%-46s full size %8.2f ms   192x192 %8.2f ms\n", c.name, readMs(bytes),
                    readMs(bytes, QSize(0, 0)));
    }
    std::printf("row copy alone: RGB 3999x3000 %.2f ms, grey 3999x3000 %.2f ms\n",
                copyMs(3999, 3000, 3, QImage::Format_RGB888), copyMs(3999, 3000, 1, QImage::Format_Grayscale8));
    return 0;
}
