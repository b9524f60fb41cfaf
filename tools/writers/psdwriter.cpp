#include "psdwriter.h"

#include <QDataStream>
#include <QIODevice>

QByteArray PsdWriter::write(const Document &document)
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly); // big-endian, as the format wants
    stream.writeRawData("8BPS", 4);
    stream << quint16(1) << quint16(0) << quint32(0) << quint16(document.channels.size())
           << quint32(document.height) << quint32(document.width) << quint16(document.depth)
           << quint16(document.mode);
    stream << quint32(document.colourModeData.size());
    stream.writeRawData(document.colourModeData.constData(), document.colourModeData.size());
    stream << quint32(document.imageResources.size());
    stream.writeRawData(document.imageResources.constData(), document.imageResources.size());
    if (document.layerCount != 0)
        stream << quint32(10) << quint32(2) << qint16(document.layerCount) << quint32(0);
    else
        stream << quint32(0);

    // Samples per row: whole bytes of eight pixels in bitmap mode.
    const int samples = document.depth == 1 ? (document.width + 7) / 8 : document.width;
    QVector<QByteArray> rows;
    for (const QVector<quint16> &plane : document.channels) {
        for (int y = 0; y < document.height; ++y) {
            QByteArray row;
            for (int i = 0; i < samples; ++i) {
                const quint16 value = plane.value(y * samples + i, 0);
                if (document.depth == 16)
                    row.append(char(value >> 8));
                row.append(char(value & 0xff));
            }
            rows.append(document.packBits ? packBits(row) : row);
        }
    }
    stream << quint16(document.packBits ? 1 : 0);
    if (document.packBits) {
        for (const QByteArray &row : qAsConst(rows))
            stream << quint16(row.size());
    }
    for (const QByteArray &row : qAsConst(rows))
        stream.writeRawData(row.constData(), row.size());
    return out;
}

QByteArray PsdWriter::packBits(const QByteArray &row)
{
    QByteArray out;
    int i = 0;
    while (i < row.size()) {
        int run = 1;
        while (i + run < row.size() && run < 128 && row.at(i + run) == row.at(i))
            ++run;
        if (run >= 2) {
            out.append(char(1 - run));
            out.append(row.at(i));
            i += run;
            continue;
        }
        int literal = 1;
        while (i + literal < row.size() && literal < 128
               && !(i + literal + 1 < row.size() && row.at(i + literal + 1) == row.at(i + literal)))
            ++literal;
        out.append(char(literal - 1));
        out.append(row.mid(i, literal));
        i += literal;
    }
    return out;
}
