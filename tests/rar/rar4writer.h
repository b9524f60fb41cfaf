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
    // A header for a member of the given size whose data archive() leaves out;
    // the caller places the data (or a hole) behind it.
    void addHeaderOnly(const QString &name, quint64 size);
    // A member whose name field is given as stored: the ASCII form, a zero
    // byte and the Unicode encoding, as other archivers compact it.
    void addFileWithNameField(const QByteArray &nameField, const QByteArray &data);

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
        quint64 headerOnlySize = 0;
        QByteArray nameField;
    };
    static QByteArray block(quint8 type, quint16 flags, const QByteArray &fields);
    static QByteArray fileHeader(quint8 type, const Entry &entry);

    QList<Entry> m_entries;
    QByteArray m_comment;
    bool m_headersEncrypted = false;
};
