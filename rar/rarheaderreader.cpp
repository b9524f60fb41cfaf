#include "rar/rarheaderreader.h"

#include "rar/unrarcompat.h"

#include <QDateTime>
#include <QTextCodec>

#include <zlib.h>

namespace {

const char Rar4Signature[] = {'R', 'a', 'r', '!', '\x1a', '\x07', '\x00'};
const char Rar5Signature[] = {'R', 'a', 'r', '!', '\x1a', '\x07', '\x01', '\x00'};
const char AnyRarSignature[] = {'R', 'a', 'r', '!', '\x1a', '\x07'};

// RAR 5 caps a header at 2 MiB; anything larger is damage, not a header.
constexpr qint64 MaxRar5HeaderSize = 2 * 1024 * 1024;
// Larger archive comments are left unread rather than held in memory.
constexpr quint64 MaxCommentSize = 1024 * 1024;
constexpr qint64 ReadWindowSize = 16 * 1024;
// Seconds between 1601-01-01 (FILETIME) and 1970-01-01.
constexpr qint64 FileTimeEpochOffset = 11644473600LL;

enum class BlockKind { File, Service, Main, Encryption, End, Other };

} // namespace

struct RarHeaderReader::Block
{
    BlockKind kind = BlockKind::Other;
    RarHeaderReader::Member member;
    quint32 archiveFlags = 0;
    qint64 dataPos = 0;
};

namespace {

// Bounds-checked little-endian reading; a read past the end sets a flag
// instead of touching memory it must not.
class Cursor
{
public:
    Cursor(const QByteArray &data, int pos, int end)
        : m_data(reinterpret_cast<const uchar *>(data.constData()))
        , m_pos(pos)
        , m_end(qMin(end, data.size()))
    {
        if (m_pos > m_end)
            m_ok = false;
    }

    bool ok() const { return m_ok; }
    int pos() const { return m_pos; }
    bool atEnd() const { return m_pos >= m_end; }

    quint64 number(int bytes)
    {
        if (!take(bytes))
            return 0;
        quint64 value = 0;
        for (int i = bytes - 1; i >= 0; --i)
            value = (value << 8) | m_data[m_pos - bytes + i];
        return value;
    }
    quint8 u8() { return quint8(number(1)); }
    quint16 u16() { return quint16(number(2)); }
    quint32 u32() { return quint32(number(4)); }
    quint64 u64() { return number(8); }

    // RAR 5 variable-length integer: seven bits a byte, low bits first.
    quint64 vint()
    {
        quint64 value = 0;
        for (int shift = 0; shift < 70; shift += 7) {
            if (!take(1))
                return 0;
            const uchar byte = m_data[m_pos - 1];
            if (shift == 63 && (byte & 0x7e)) {
                m_ok = false;
                return 0;
            }
            value |= quint64(byte & 0x7f) << shift;
            if (!(byte & 0x80))
                return value;
        }
        m_ok = false;
        return 0;
    }

    QByteArray bytes(quint64 size)
    {
        if (size > quint64(m_end - m_pos) || !take(int(size)))
            return QByteArray();
        return QByteArray(reinterpret_cast<const char *>(m_data + m_pos - size), int(size));
    }

    void seek(int pos)
    {
        if (pos < m_pos || pos > m_end)
            m_ok = false;
        else
            m_pos = pos;
    }

private:
    bool take(int count)
    {
        if (!m_ok || count < 0 || count > m_end - m_pos) {
            m_ok = false;
            return false;
        }
        m_pos += count;
        return true;
    }

    const uchar *m_data;
    int m_pos;
    int m_end;
    bool m_ok = true;
};

quint32 crc32Of(const QByteArray &data, int from)
{
    return quint32(crc32(0L, reinterpret_cast<const Bytef *>(data.constData()) + from, uInt(data.size() - from)));
}

// Names and comments without an encoding flag: UTF-8 when they are valid UTF-8
// (as written on Unix), else byte for byte.
QString decodeNarrow(const QByteArray &bytes)
{
    QTextCodec::ConverterState state;
    const QString text = QTextCodec::codecForMib(106)->toUnicode(bytes.constData(), bytes.size(), &state);
    if (state.invalidChars == 0 && state.remainingChars == 0)
        return text;
    return QString::fromLatin1(bytes);
}

// RAR 4 stores a Unicode name as an ASCII form, a zero byte and a compact
// encoding that refers back to the ASCII form.
QString decodeRar4UnicodeName(const QByteArray &field)
{
    const int zero = field.indexOf('\0');
    if (zero < 0)
        return decodeNarrow(field);
    const QByteArray ascii = field.left(zero);
    const auto *enc = reinterpret_cast<const uchar *>(field.constData()) + zero + 1;
    const int encSize = field.size() - zero - 1;
    if (encSize <= 0)
        return decodeNarrow(ascii);

    QString out;
    int encPos = 0;
    const uint high = enc[encPos++];
    uint flags = 0;
    int flagBits = 0;
    while (encPos < encSize) {
        if (flagBits == 0) {
            flags = enc[encPos++];
            flagBits = 8;
        }
        switch (flags >> 6) {
        case 0:
            if (encPos >= encSize)
                return out;
            out += QChar(ushort(enc[encPos++]));
            break;
        case 1:
            if (encPos >= encSize)
                return out;
            out += QChar(ushort(enc[encPos++] + (high << 8)));
            break;
        case 2:
            if (encPos + 1 >= encSize)
                return out;
            out += QChar(ushort(enc[encPos] | (enc[encPos + 1] << 8)));
            encPos += 2;
            break;
        default: {
            if (encPos >= encSize)
                return out;
            int length = enc[encPos++];
            if (length & 0x80) {
                if (encPos >= encSize)
                    return out;
                const uint correction = enc[encPos++];
                for (length = (length & 0x7f) + 2; length > 0 && out.size() < ascii.size(); --length) {
                    const uint c = (uchar(ascii.at(out.size())) + correction) & 0xff;
                    out += QChar(ushort(c + (high << 8)));
                }
            } else {
                for (length += 2; length > 0 && out.size() < ascii.size(); --length)
                    out += QChar(ushort(uchar(ascii.at(out.size()))));
            }
            break;
        }
        }
        flags = (flags << 2) & 0xff;
        flagBits -= 2;
    }
    return out;
}

quint32 dosTimeFromUnixTime(qint64 seconds)
{
    const QDateTime dateTime = QDateTime::fromSecsSinceEpoch(seconds, Qt::LocalTime);
    const QDate date = dateTime.date();
    if (date.year() < 1980)
        return (1u << 21) | (1u << 16);
    if (date.year() > 2107)
        return (127u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) | 29u;
    const QTime time = dateTime.time();
    return (quint32(date.year() - 1980) << 25) | (quint32(date.month()) << 21) | (quint32(date.day()) << 16)
        | (quint32(time.hour()) << 11) | (quint32(time.minute()) << 5) | quint32(time.second() / 2);
}

} // namespace

// Headers of small members sit close together: read a window at a time.
QByteArray RarHeaderReader::readAt(qint64 pos, qint64 size)
{
    if (pos < 0 || pos >= m_fileSize || size <= 0)
        return QByteArray();
    size = qMin(size, m_fileSize - pos);
    if (pos < m_windowPos || pos + size > m_windowPos + m_window.size()) {
        if (!m_file.seek(pos))
            return QByteArray();
        m_window = m_file.read(qMax(size, ReadWindowSize));
        m_windowPos = pos;
        if (m_window.size() < size)
            return m_window;
    }
    return m_window.mid(int(pos - m_windowPos), int(size));
}

int RarHeaderReader::open(const QString &path)
{
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return ERAR_EOPEN;
    m_fileSize = m_file.size();

    const QByteArray signature = readAt(0, sizeof(Rar5Signature));
    if (signature.startsWith(QByteArray::fromRawData(Rar5Signature, sizeof(Rar5Signature)))) {
        m_format = Format::Rar5;
        m_pos = sizeof(Rar5Signature);
    } else if (signature.startsWith(QByteArray::fromRawData(Rar4Signature, sizeof(Rar4Signature)))) {
        m_format = Format::Rar4;
        m_pos = sizeof(Rar4Signature);
    } else if (signature.startsWith(QByteArray::fromRawData(AnyRarSignature, sizeof(AnyRarSignature)))) {
        return ERAR_UNKNOWN_FORMAT;
    } else {
        return ERAR_BAD_ARCHIVE;
    }
    return readMainHeader();
}

int RarHeaderReader::readMainHeader()
{
    Block block;
    const int result = m_format == Format::Rar4 ? readRar4Block(&block) : readRar5Block(&block);
    if (result != ERAR_SUCCESS)
        return ERAR_BAD_DATA;
    if (block.kind == BlockKind::Encryption) {
        m_headersEncrypted = true;
        m_archiveFlags = ROADF_ENCHEADERS;
        return ERAR_SUCCESS;
    }
    if (block.kind != BlockKind::Main)
        return ERAR_BAD_DATA;
    m_archiveFlags = block.archiveFlags;
    m_headersEncrypted = m_archiveFlags & ROADF_ENCHEADERS;
    if (!m_headersEncrypted)
        readComment();
    return ERAR_SUCCESS;
}

// The archive comment is a service block named "CMT" right after the main header.
void RarHeaderReader::readComment()
{
    const qint64 pos = m_pos;
    Block block;
    const int result = m_format == Format::Rar4 ? readRar4Block(&block) : readRar5Block(&block);
    m_pos = pos;
    const Member &cmt = block.member;
    if (result != ERAR_SUCCESS || block.kind != BlockKind::Service || cmt.name != QLatin1String("CMT")
        || cmt.method != 0x30 || (cmt.flags & RHDF_ENCRYPTED) || cmt.packSize != cmt.unpSize
        || cmt.packSize > MaxCommentSize)
        return;
    QByteArray text = readAt(block.dataPos, qint64(cmt.packSize));
    if (quint64(text.size()) != cmt.packSize || (cmt.hasCrc && crc32Of(text, 0) != cmt.crc))
        return;
    while (text.endsWith('\0'))
        text.chop(1);
    m_comment = decodeNarrow(text);
    m_hasComment = true;
    m_archiveFlags |= ROADF_COMMENT;
}

int RarHeaderReader::next(Member *member)
{
    if (m_sticky != ERAR_SUCCESS)
        return m_sticky;
    if (m_headersEncrypted)
        return ERAR_MISSING_PASSWORD;
    for (;;) {
        Block block;
        const int result = m_format == Format::Rar4 ? readRar4Block(&block) : readRar5Block(&block);
        if (result != ERAR_SUCCESS) {
            m_sticky = result;
            return result;
        }
        if (block.kind == BlockKind::File) {
            *member = block.member;
            return ERAR_SUCCESS;
        }
        if (block.kind == BlockKind::End) {
            m_sticky = ERAR_END_ARCHIVE;
            return m_sticky;
        }
    }
}

int RarHeaderReader::readRar4Block(Block *block)
{
    // Archives of old versions simply stop after the last member.
    if (m_pos == m_fileSize)
        return ERAR_END_ARCHIVE;
    QByteArray head = readAt(m_pos, 7);
    if (head.size() < 7)
        return ERAR_BAD_DATA;
    Cursor common(head, 0, 7);
    const quint16 headCrc = common.u16();
    const quint8 type = common.u8();
    const quint16 flags = common.u16();
    const quint16 headSize = common.u16();
    if (headSize < 7)
        return ERAR_BAD_DATA;
    head = readAt(m_pos, headSize);
    if (head.size() < headSize)
        return ERAR_BAD_DATA;

    quint64 dataSize = 0;
    Cursor c(head, 7, headSize);
    if (type == 0x74 || type == 0x7a) {
        const quint32 packLow = c.u32();
        const quint32 unpLow = c.u32();
        Member &m = block->member;
        m.hostOS = c.u8();
        m.crc = c.u32();
        m.hasCrc = true;
        m.dosTime = c.u32();
        m.unpVer = c.u8();
        m.method = c.u8();
        const quint16 nameSize = c.u16();
        m.attributes = c.u32();
        quint64 packHigh = 0;
        quint64 unpHigh = 0;
        if (flags & 0x100) {
            packHigh = c.u32();
            unpHigh = c.u32();
        }
        const QByteArray name = c.bytes(nameSize);
        if (!c.ok() || (headCrc != (crc32Of(head, 2) & 0xffff)))
            return ERAR_BAD_DATA;
        m.name = (flags & 0x200) ? decodeRar4UnicodeName(name) : decodeNarrow(name);
        m.name.replace(QLatin1Char('\\'), QLatin1Char('/'));
        m.packSize = (packHigh << 32) | packLow;
        m.unpSize = (unpHigh << 32) | unpLow;
        const bool directory = (flags & 0xe0) == 0xe0;
        m.flags = (flags & (RHDF_SPLITBEFORE | RHDF_SPLITAFTER | RHDF_ENCRYPTED | RHDF_SOLID))
            | (directory ? RHDF_DIRECTORY : 0);
        m.dictSizeKb = directory ? 0 : 64u << ((flags >> 5) & 7);
        block->kind = type == 0x74 ? BlockKind::File : BlockKind::Service;
        dataSize = m.packSize;
    } else if (type == 0x73) {
        // Version 2 archives kept an old-style comment inside the main header,
        // outside what its check value covers.
        if (!(flags & 0x02) && headCrc != (crc32Of(head, 2) & 0xffff))
            return ERAR_BAD_DATA;
        block->kind = BlockKind::Main;
        block->archiveFlags = flags & 0x1ff;
    } else if (type == 0x7b) {
        block->kind = BlockKind::End;
    } else {
        if (flags & 0x8000) {
            dataSize = c.u32();
            if (!c.ok())
                return ERAR_BAD_DATA;
        }
    }

    return finishBlock(block, m_pos + headSize, dataSize);
}

int RarHeaderReader::readRar5Block(Block *block)
{
    // A RAR 5 archive always ends with its end-of-archive header.
    QByteArray head = readAt(m_pos, 4 + 3);
    if (head.size() < 5)
        return ERAR_BAD_DATA;
    Cursor sizeCursor(head, 4, head.size());
    const quint64 headSize = sizeCursor.vint();
    if (!sizeCursor.ok() || headSize == 0 || headSize > quint64(MaxRar5HeaderSize))
        return ERAR_BAD_DATA;
    const int total = sizeCursor.pos() + int(headSize);
    head = readAt(m_pos, total);
    if (head.size() < total)
        return ERAR_BAD_DATA;
    Cursor c(head, 0, total);
    const quint32 headCrc = c.u32();
    if (headCrc != crc32Of(head, 4))
        return ERAR_BAD_DATA;
    c.seek(sizeCursor.pos());
    const quint64 type = c.vint();
    const quint64 headFlags = c.vint();
    const quint64 extraSize = (headFlags & 0x01) ? c.vint() : 0;
    const quint64 dataSize = (headFlags & 0x02) ? c.vint() : 0;
    if (!c.ok() || extraSize > quint64(total - c.pos()))
        return ERAR_BAD_DATA;
    const int extraStart = total - int(extraSize);

    if (type == 2 || type == 3) {
        Cursor f(head, c.pos(), extraStart);
        Member &m = block->member;
        const quint64 fileFlags = f.vint();
        m.unpSize = f.vint();
        m.unpSizeKnown = !(fileFlags & 0x08);
        m.attributes = quint32(f.vint());
        qint64 unixTime = -1;
        if (fileFlags & 0x02)
            unixTime = f.u32();
        if (fileFlags & 0x04) {
            m.crc = f.u32();
            m.hasCrc = true;
        }
        const quint64 compression = f.vint();
        const quint64 host = f.vint();
        const quint64 nameSize = f.vint();
        const QByteArray name = f.bytes(nameSize);
        if (!f.ok())
            return ERAR_BAD_DATA;
        m.name = QString::fromUtf8(name);
        const bool directory = fileFlags & 0x01;

        Cursor e(head, extraStart, total);
        while (!e.atEnd()) {
            const quint64 recordSize = e.vint();
            const int recordStart = e.pos();
            if (!e.ok() || recordSize == 0 || recordSize > quint64(total - recordStart))
                return ERAR_BAD_DATA;
            const int recordEnd = recordStart + int(recordSize);
            Cursor r(head, recordStart, recordEnd);
            const quint64 recordType = r.vint();
            if (recordType == 0x01) {
                m.flags |= RHDF_ENCRYPTED;
            } else if (recordType == 0x02) {
                m.blake2 = r.vint() == 0;
            } else if (recordType == 0x03) {
                const quint64 timeFlags = r.vint();
                if (timeFlags & 0x02) {
                    if (timeFlags & 0x01) {
                        unixTime = r.u32();
                    } else {
                        const quint64 fileTime = r.u64();
                        if (r.ok())
                            unixTime = qint64(fileTime / 10000000ULL) - FileTimeEpochOffset;
                    }
                }
            }
            if (!r.ok())
                return ERAR_BAD_DATA;
            e.seek(recordEnd);
        }

        m.packSize = dataSize;
        m.flags |= ((headFlags & 0x08) ? RHDF_SPLITBEFORE : 0) | ((headFlags & 0x10) ? RHDF_SPLITAFTER : 0)
            | ((compression & 0x40) ? RHDF_SOLID : 0) | (directory ? RHDF_DIRECTORY : 0);
        m.unpVer = (compression & 0x3f) == 0 ? 50 : 70;
        m.method = 0x30 + quint32((compression >> 7) & 7);
        m.dictSizeKb = directory ? 0 : 128u << ((compression >> 10) & 15);
        m.hostOS = host == 0 ? 2 : 3;
        if (unixTime >= 0) {
            m.dosTime = dosTimeFromUnixTime(unixTime);
            m.fileTime = quint64(unixTime + FileTimeEpochOffset) * 10000000ULL;
        }
        block->kind = type == 2 ? BlockKind::File : BlockKind::Service;
    } else if (type == 1) {
        Cursor a(head, c.pos(), extraStart);
        const quint64 archiveFlags = a.vint();
        const quint64 volumeNumber = (archiveFlags & 0x02) ? a.vint() : 0;
        if (!a.ok())
            return ERAR_BAD_DATA;
        quint32 flags = 0;
        if (archiveFlags & 0x01)
            flags |= ROADF_VOLUME | ROADF_NEWNUMBERING | (volumeNumber == 0 ? ROADF_FIRSTVOLUME : 0);
        if (archiveFlags & 0x04)
            flags |= ROADF_SOLID;
        if (archiveFlags & 0x08)
            flags |= ROADF_RECOVERY;
        if (archiveFlags & 0x10)
            flags |= ROADF_LOCK;
        block->kind = BlockKind::Main;
        block->archiveFlags = flags;
    } else if (type == 4) {
        block->kind = BlockKind::Encryption;
    } else if (type == 5) {
        block->kind = BlockKind::End;
    }

    return finishBlock(block, m_pos + total, dataSize);
}

// A block's data must lie within the file; the next block follows it.
int RarHeaderReader::finishBlock(Block *block, qint64 dataPos, quint64 dataSize)
{
    if (dataPos > m_fileSize || dataSize > quint64(m_fileSize - dataPos))
        return ERAR_BAD_DATA;
    block->dataPos = dataPos;
    m_pos = dataPos + qint64(dataSize);
    return ERAR_SUCCESS;
}
