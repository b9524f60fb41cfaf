#include "rar4writer.h"

#include <QSaveFile>
#include <QtEndian>

#include <zlib.h>

namespace {

void appendLe(QByteArray &out, quint64 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xff));
}

quint32 crcOf(const QByteArray &data)
{
    return quint32(crc32(0L, reinterpret_cast<const Bytef *>(data.constData()), uInt(data.size())));
}

bool isAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

// ASCII form, a zero byte, then every UTF-16 unit as a two-byte literal.
QByteArray encodeUnicodeName(const QString &name)
{
    QByteArray out;
    for (const QChar c : name)
        out.append(c.unicode() < 0x80 ? char(c.unicode()) : '_');
    out.append('\0');
    out.append('\0'); // high byte, unused by two-byte literals
    for (int i = 0; i < name.size(); i += 4) {
        const int group = qMin(4, name.size() - i);
        uchar flags = 0;
        for (int j = 0; j < group; ++j)
            flags |= uchar(2 << (6 - 2 * j));
        out.append(char(flags));
        for (int j = 0; j < group; ++j)
            appendLe(out, name.at(i + j).unicode(), 2);
    }
    return out;
}

} // namespace

void Rar4Writer::addFile(const QString &name, const QByteArray &data, bool encrypted)
{
    Entry entry;
    entry.name = name;
    entry.data = data;
    entry.encrypted = encrypted;
    m_entries.append(entry);
}

void Rar4Writer::addDirectory(const QString &name)
{
    Entry entry;
    entry.name = name;
    entry.directory = true;
    m_entries.append(entry);
}

void Rar4Writer::addHeaderOnly(const QString &name, quint64 size)
{
    Entry entry;
    entry.name = name;
    entry.headerOnlySize = size;
    m_entries.append(entry);
}

void Rar4Writer::addFileWithNameField(const QByteArray &nameField, const QByteArray &data)
{
    Entry entry;
    entry.data = data;
    entry.nameField = nameField;
    m_entries.append(entry);
}

QByteArray Rar4Writer::block(quint8 type, quint16 flags, const QByteArray &fields)
{
    QByteArray head;
    head.append(char(type));
    appendLe(head, flags, 2);
    appendLe(head, quint64(7 + fields.size()), 2);
    head.append(fields);
    QByteArray out;
    appendLe(out, crcOf(head) & 0xffff, 2);
    out.append(head);
    return out;
}

QByteArray Rar4Writer::fileHeader(quint8 type, const Entry &entry)
{
    QString stored = entry.name;
    stored.replace(QLatin1Char('/'), QLatin1Char('\\'));
    const bool unicode = !entry.nameField.isEmpty() || !isAscii(stored);
    const QByteArray name = !entry.nameField.isEmpty() ? entry.nameField
        : unicode                                     ? encodeUnicodeName(stored)
                                                      : stored.toLatin1();

    quint16 flags = 0x8000;
    if (unicode)
        flags |= 0x200;
    if (entry.directory)
        flags |= 0xe0;
    if (entry.encrypted)
        flags |= 0x04;
    const quint64 size = entry.headerOnlySize ? entry.headerOnlySize : quint64(entry.data.size());
    if (size > 0xffffffffULL)
        flags |= 0x100;

    QByteArray fields;
    appendLe(fields, size & 0xffffffffULL, 4); // packed
    appendLe(fields, size & 0xffffffffULL, 4); // unpacked
    fields.append(char(2));                           // Windows
    appendLe(fields, crcOf(entry.data), 4);
    appendLe(fields, (quint64(2021 - 1980) << 25) | (6 << 21) | (15 << 16) | (13 << 11) | (45 << 5) | 15, 4);
    fields.append(char(29));   // version needed
    fields.append(char(0x30)); // stored
    appendLe(fields, quint64(name.size()), 2);
    appendLe(fields, entry.directory ? 0x10 : 0x20, 4);
    if (flags & 0x100) {
        appendLe(fields, size >> 32, 4);
        appendLe(fields, size >> 32, 4);
    }
    fields.append(name);
    return block(type, flags, fields) + entry.data;
}

QByteArray Rar4Writer::archive() const
{
    QByteArray out("Rar!\x1a\x07\x00", 7);
    out.append(block(0x73, m_headersEncrypted ? 0x80 : 0, QByteArray(6, '\0')));
    if (!m_comment.isEmpty()) {
        Entry comment;
        comment.name = QStringLiteral("CMT");
        comment.data = m_comment;
        out.append(fileHeader(0x7a, comment));
    }
    for (const Entry &entry : m_entries)
        out.append(fileHeader(0x74, entry));
    out.append(block(0x7b, 0x4000, QByteArray()));
    return out;
}

int Rar4Writer::dataOffset(int member) const
{
    Rar4Writer upTo = *this;
    upTo.m_entries = m_entries.mid(0, member + 1);
    const QByteArray bytes = upTo.archive();
    return bytes.size() - 7 - m_entries.at(member).data.size();
}

bool Rar4Writer::write(const QString &path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(archive());
    return file.commit();
}
