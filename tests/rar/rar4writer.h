#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Writes RAR 4 archives with stored (uncompressed) members, the way the
// Windows archiver lays them out: '\' between folders, Unicode names in the
// format's own compact encoding.
class Rar4Writer
{
public:
    void setComment(const QByteArray &comment) { m_comment = comment; }
    void setHeadersEncrypted(bool on) { m_headersEncrypted = on; }
    void addFile(const QString &name, const QByteArray &data, bool encrypted = false);
    void addDirectory(const QString &name);

    QByteArray archive() const;
    // Offset of member i's data in archive().
    int dataOffset(int member) const;
    bool write(const QString &path) const;

private:
    struct Entry
    {
        QString name;
        QByteArray data;
        bool directory = false;
        bool encrypted = false;
    };
    static QByteArray block(quint8 type, quint16 flags, const QByteArray &fields);
    static QByteArray fileHeader(quint8 type, const Entry &entry);

    QList<Entry> m_entries;
    QByteArray m_comment;
    bool m_headersEncrypted = false;
};
