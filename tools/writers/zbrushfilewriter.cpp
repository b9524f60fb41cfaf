#include "zbrushfilewriter.h"

#include <QColor>
#include <QtEndian>

namespace ZBrushFileWriter {

QByteArray encodeRuns(const QByteArray &bytes)
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

QByteArray planes(const QImage &rgba, int first, int count)
{
    // A premultiplied image is stored as it is: the decoder reads premultiplied pixels.
    const QImage image = rgba.format() == QImage::Format_RGBA8888_Premultiplied
        ? rgba
        : rgba.convertToFormat(QImage::Format_RGBA8888);
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

QByteArray fileWithChunks(const QVector<QByteArray> &runData, int version, const QByteArray &versionText,
                          int signatureOffset)
{
    QByteArray file(signatureOffset, char(0xf6));
    // ZBrush opens every file with this text; the padding after it is 0xf6.
    const QByteArray banner("ZBrush File.Copyright 1977-2022.PIXOLOGIC INC\0", 46);
    file.replace(0, qMin(banner.size(), headerOffset), banner.left(headerOffset));
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

QByteArray file(const QImage &image, int version, const QVector<int> &chunkPixels, const QByteArray &versionText,
                int signatureOffset)
{
    QVector<QByteArray> runData;
    int first = 0;
    for (const int count : chunkPixels) {
        runData += encodeRuns(planes(image, first, count));
        first += count;
    }
    return fileWithChunks(runData, version, versionText, signatureOffset);
}

int dataStart(int version, int signatureOffset)
{
    return signatureOffset + (version == 4 ? 16 : 28);
}

int creditsOffset(const QByteArray &versionText)
{
    bool isNumber = false;
    const double major = versionText.left(3).toDouble(&isNumber);
    if (!isNumber)
        return -1;
    if (major > 4.0 && major <= 4.6)
        return versionText.contains("4.3") || versionText.contains("4.2") ? -1 : 202;
    if (major < 4.7)
        return -1;
    const double year = versionText.left(4).toDouble();
    if (year >= 2021)
        return 278;
    return year >= 2018 ? 258 : 254;
}

QByteArray withCredits(QByteArray file, const QByteArray &author, const QByteArray &link)
{
    const int offset = creditsOffset(file.mid(headerOffset, 7).split('\0').constFirst());
    if (offset < 0 || file.size() < creditsBaseOffset + 4)
        return file;
    // The credits follow everything written so far.
    char base[4];
    qToLittleEndian<qint32>(file.size() - offset, base);
    file.replace(creditsBaseOffset, 4, base, 4);
    file += author + '\0' + link + '\0';
    return file;
}

QImage uniformImage(QRgb rgba)
{
    QImage image(side, side, QImage::Format_RGBA8888);
    image.fill(QColor::fromRgba(rgba));
    return image;
}

} // namespace ZBrushFileWriter
