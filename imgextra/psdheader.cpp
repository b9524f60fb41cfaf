#include "psdheader.h"

#include <QtEndian>

namespace {

constexpr qint64 FileHeaderSize = 26;
constexpr int MaxChannels = 56;
constexpr int MaxDimension = 30000;
constexpr qint64 PaletteSize = 768;

quint16 be16(const QByteArray &bytes, qint64 offset)
{
    return qFromBigEndian<quint16>(bytes.constData() + offset);
}

quint32 be32(const QByteArray &bytes, qint64 offset)
{
    return qFromBigEndian<quint32>(bytes.constData() + offset);
}

} // namespace

bool PsdHeader::parse(const QByteArray &document, QString *error)
{
    const qint64 size = document.size();
    if (size < FileHeaderSize || !document.startsWith("8BPS")) {
        *error = QStringLiteral("no Photoshop signature");
        return false;
    }
    if (be16(document, 4) != 1) {
        *error = QStringLiteral("unsupported version %1").arg(be16(document, 4));
        return false;
    }
    m_channels = be16(document, 12);
    const quint32 height = be32(document, 14);
    const quint32 width = be32(document, 18);
    m_depth = be16(document, 22);
    m_mode = be16(document, 24);
    if (m_channels < 1 || m_channels > MaxChannels || width < 1 || width > MaxDimension
        || height < 1 || height > MaxDimension
        || (m_depth != 1 && m_depth != 8 && m_depth != 16 && m_depth != 32)) {
        *error = QStringLiteral("impossible header (%1 channels, %2 x %3, %4 bits)")
                     .arg(m_channels).arg(width).arg(height).arg(m_depth);
        return false;
    }
    // DevIL fails these itself, but leaks on every one.
    const int colours = m_mode == Rgb ? 3 : m_mode == Cmyk ? 4 : 1;
    if (m_channels < colours) {
        *error = QStringLiteral("colour mode %1 needs %2 channels, has %3").arg(m_mode).arg(colours).arg(m_channels);
        return false;
    }
    if (m_depth == 1 && m_mode != Bitmap) {
        *error = QStringLiteral("colour mode %1 with 1 bit per channel").arg(m_mode);
        return false;
    }
    m_width = int(width);
    m_height = int(height);

    // Colour mode data, image resources, layers and masks: each a length and its bytes.
    qint64 offset = FileHeaderSize;
    for (int section = 0; section < 3; ++section) {
        if (offset + 4 > size) {
            *error = QStringLiteral("document ends inside its sections");
            return false;
        }
        if (section == 2)
            readLayerCount(document, offset);
        offset += 4 + qint64(be32(document, offset));
    }
    if (offset + 2 > size) {
        *error = QStringLiteral("document ends before its image data");
        return false;
    }
    if (m_mode == Indexed && be32(document, FileHeaderSize) < PaletteSize) {
        *error = QStringLiteral("indexed colours without a palette");
        return false;
    }
    m_imageDataOffset = offset;
    m_compression = be16(document, offset);
    offset += 2;

    const qint64 rows = qint64(m_channels) * m_height;
    if (m_compression == Raw) {
        m_pixelOffset = offset;
        if (size - offset < rows * rowBytes()) {
            *error = QStringLiteral("image data cut short");
            return false;
        }
        return true;
    }
    if (m_compression == PackBits) {
        m_pixelOffset = offset + rows * 2;
        return checkPackBits(document, error);
    }
    *error = QStringLiteral("unsupported compression %1").arg(m_compression);
    return false;
}

QByteArray PsdHeader::mergedImageDocument(const QByteArray &document) const
{
    QByteArray out = document.left(int(FileHeaderSize));
    const auto appendLength = [&out](quint32 length) {
        char bytes[4];
        qToBigEndian(length, bytes);
        out.append(bytes, 4);
    };
    appendLength(quint32(paletteSize()));
    out.append(document.constData() + FileHeaderSize + 4, int(paletteSize()));
    appendLength(0); // image resources
    appendLength(0); // layers and masks
    out.append(document.constData() + m_imageDataOffset, int(document.size() - m_imageDataOffset));
    return out;
}

qint64 PsdHeader::mergedPixelOffset() const
{
    return FileHeaderSize + 12 + paletteSize() + (m_pixelOffset - m_imageDataOffset);
}

qint64 PsdHeader::paletteSize() const
{
    return m_mode == Indexed ? PaletteSize : 0;
}

void PsdHeader::readLayerCount(const QByteArray &document, qint64 sectionOffset)
{
    const qint64 end = qMin<qint64>(document.size(), sectionOffset + 4 + be32(document, sectionOffset));
    qint64 offset = sectionOffset + 4;
    if (offset + 4 > end)
        return;
    const qint64 layerInfo = be32(document, offset);
    qint64 count = 0;
    if (layerInfo >= 2 && offset + 6 <= end) {
        count = qint16(be16(document, offset + 4));
    } else {
        // Deeper documents keep their layers in an "Lr16" or "Lr32" block after the
        // global mask; its data starts with the same count.
        offset += 4 + layerInfo;
        if (offset + 4 > end)
            return;
        offset += 4 + qint64(be32(document, offset));
        while (offset + 12 <= end && count == 0) {
            const QByteArray key = document.mid(int(offset + 4), 4);
            const qint64 length = be32(document, offset + 8);
            if ((key == "Lr16" || key == "Lr32") && length >= 2 && offset + 14 <= end)
                count = qint16(be16(document, offset + 12));
            offset += 12 + length;
        }
    }
    m_mergedTransparency = count <= 0;
}

qint64 PsdHeader::rowBytes() const
{
    return m_depth == 1 ? (qint64(m_width) + 7) / 8 : qint64(m_width) * (m_depth / 8);
}

bool PsdHeader::checkPackBits(const QByteArray &document, QString *error) const
{
    const qint64 tableOffset = m_imageDataOffset + 2;
    const qint64 size = document.size();
    const qint64 rows = qint64(m_channels) * m_height;
    if (m_pixelOffset > size) {
        *error = QStringLiteral("row table cut short");
        return false;
    }
    const auto *bytes = reinterpret_cast<const uchar *>(document.constData());
    const qint64 wanted = rowBytes();
    qint64 in = m_pixelOffset;
    for (qint64 row = 0; row < rows; ++row) {
        const qint64 end = in + be16(document, tableOffset + row * 2);
        if (end > size) {
            *error = QStringLiteral("image data cut short");
            return false;
        }
        // Walk the runs without decoding: every row must unpack to exactly one row.
        qint64 out = 0;
        while (in < end) {
            const int n = static_cast<signed char>(bytes[in++]);
            if (n >= 0) {
                out += n + 1;
                in += n + 1;
            } else if (n != -128) {
                out += 1 - n;
                in += 1;
            }
        }
        if (in != end || out != wanted) {
            *error = QStringLiteral("malformed PackBits row %1").arg(row);
            return false;
        }
    }
    return true;
}
