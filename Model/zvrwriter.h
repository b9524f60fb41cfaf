#pragma once

#include <QByteArray>
#include <QString>

// ZBrush's host variable file (.zvr): the signature 1001, a count, then values
// tagged 'F' (32-bit float) or 'S' (UTF-8 text ended by a zero byte), all little-endian.
class ZvrWriter
{
public:
    void addFloat(float value);
    void addText(const QString &text);

    int count() const { return m_count; }
    QByteArray data() const;
    // Replaces the file at once, so the plug-in never reads half a file.
    bool writeTo(const QString &path) const;

private:
    int m_count = 0;
    QByteArray m_values;
};
