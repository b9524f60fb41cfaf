#include "zvrwriter.h"

#include <QSaveFile>
#include <QtEndian>

#include <cstring>

namespace {

void appendUInt32(QByteArray *bytes, quint32 value)
{
    char raw[4];
    qToLittleEndian(value, raw);
    bytes->append(raw, 4);
}

} // namespace

void ZvrWriter::addFloat(float value)
{
    quint32 bits = 0;
    static_assert(sizeof bits == sizeof value, "IEEE single precision expected");
    memcpy(&bits, &value, sizeof bits);
    m_values.append('F');
    appendUInt32(&m_values, bits);
    ++m_count;
}

void ZvrWriter::addText(const QString &text)
{
    m_values.append('S');
    m_values.append(text.toUtf8());
    m_values.append('\0');
    ++m_count;
}

QByteArray ZvrWriter::data() const
{
    QByteArray bytes;
    bytes.reserve(8 + m_values.size());
    appendUInt32(&bytes, 1001);
    appendUInt32(&bytes, quint32(m_count));
    bytes.append(m_values);
    return bytes;
}

bool ZvrWriter::writeTo(const QString &path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = data();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
