#pragma once

#include <QByteArray>
#include <QImage>
#include <QVector>
#include <QtEndian>

// ZBrush-like files around an embedded thumbnail, laid out as ZBrush writes them:
// the version text at 84, the thumbnail version 6 bytes before the signature, chunk
// sizes after it and run-length coded planes (blue, green, red, alpha) per chunk.
namespace ZBrushTestFile {

constexpr int side = 96;
constexpr int headerOffset = 84;

// Runs of three or more equal bytes as repeats, the rest as copies; closed by 0.
inline QByteArray encodeRuns(const QByteArray &bytes)
{
    QByteArray out;
    const int n = bytes.size();
    int i = 0;
    while (i < n) {
        int run = 1;
        while (i + run < n && run < 127 && bytes[i + run] == bytes[i])
            ++run;
        if (run >= 3) {
            out += char(run);
            out += bytes[i];
            i += run;
            continue;
        }
        const int start = i;
        while (i < n && i - start < 128 && !(i + 2 < n && bytes[i] == bytes[i + 1] && bytes[i] == bytes[i + 2]))
            ++i;
        out += char(-(i - start));
        out += bytes.mid(start, i - start);
    }
    out += char(0);
    return out;
}

// The planes of count pixels from first on of an RGBA8888 image.
inline QByteArray planes(const QImage &rgba, int first, int count)
{
    const QImage image = rgba.convertToFormat(QImage::Format_RGBA8888);
    QByteArray out(4 * count, '\0');
    const uchar *pixels = image.constBits();
    for (int i = 0; i < count; ++i) {
        const uchar *pixel = pixels + 4 * (first + i);
        out[i] = char(pixel[2]);
        out[count + i] = char(pixel[1]);
        out[2 * count + i] = char(pixel[0]);
        out[3 * count + i] = char(pixel[3]);
    }
    return out;
}

// A file with the given chunk bodies (run data) in thumbnail format version.
// Version 4 takes up to four chunks, later versions up to two.
inline QByteArray fileWithChunks(const QVector<QByteArray> &runData, int version,
                                 const QByteArray &versionText = "2021", int signatureOffset = 220)
{
    QByteArray file(signatureOffset, char(0xf6));
    file.replace(headerOffset, 7, versionText.leftJustified(7, '\0', true));
    file[signatureOffset - 6] = char(version);
    file += QByteArray::fromHex("0090000004008001");

    QVector<QByteArray> chunks;
    for (const QByteArray &runs : runData) {
        // ZBrush 6 opens each chunk with 4 bytes and leaves 3 spare ones after the runs.
        chunks += (version >= 6 ? QByteArray::fromHex("01000000") : QByteArray()) + runs + QByteArray(3, '\0');
    }
    if (version == 4) {
        for (int i = 0; i < 4; ++i) {
            char size[2];
            qToLittleEndian<qint16>(qint16(i < chunks.size() ? chunks[i].size() : 0), size);
            file += QByteArray(size, 2);
        }
    } else {
        file += QByteArray::fromHex("010000000000020002000000");
        for (int i = 0; i < 2; ++i) {
            char size[4];
            qToLittleEndian<qint32>(i < chunks.size() ? chunks[i].size() : 0, size);
            file += QByteArray(size, 4);
        }
    }
    for (const QByteArray &chunk : chunks)
        file += chunk;
    // The rest of a ZBrush file follows.
    file += QByteArray(2000, char(0x55));
    return file;
}

// A file with the 96 x 96 image's thumbnail split into chunks of the given pixel counts.
inline QByteArray file(const QImage &image, int version, const QVector<int> &chunkPixels = {side * side},
                       const QByteArray &versionText = "2021", int signatureOffset = 220)
{
    QVector<QByteArray> runData;
    int first = 0;
    for (const int count : chunkPixels) {
        runData += encodeRuns(planes(image, first, count));
        first += count;
    }
    return fileWithChunks(runData, version, versionText, signatureOffset);
}

// Where the chunk data of a file made above begins.
inline int dataStart(int version, int signatureOffset = 220)
{
    return signatureOffset + (version == 4 ? 16 : 28);
}

// One colour all over, for tests that only care about a pixel's value.
inline QImage uniformImage(QRgb rgba)
{
    QImage image(side, side, QImage::Format_RGBA8888);
    image.fill(QColor::fromRgba(rgba));
    return image;
}

} // namespace ZBrushTestFile
