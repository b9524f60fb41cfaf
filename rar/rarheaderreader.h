#pragma once

#include <QFile>
#include <QString>
#include <QtGlobal>

// Walks the block headers of a RAR 4 or RAR 5 archive file.
//
// libarchive reads member data but does not hand out the header fields the
// UnRAR API reports (CRC, host system, method, version, raw attributes), so the
// compatibility layer takes them from here. Every length read from the file is
// checked against the header and the file; results are ERAR codes.
class RarHeaderReader
{
public:
    enum class Format { Unknown, Rar4, Rar5 };

    struct Member
    {
        QString name;            // '/' separates folders
        quint32 flags = 0;       // RHDF_* values
        quint64 packSize = 0;
        quint64 unpSize = 0;
        bool unpSizeKnown = true;
        quint32 hostOS = 0;      // UnRAR's numbering: 2 Windows, 3 Unix
        bool hasCrc = false;
        quint32 crc = 0;
        quint32 dosTime = 0;
        quint64 fileTime = 0;    // Windows FILETIME; RAR 5 only, 0 when unknown
        quint32 unpVer = 0;
        quint32 method = 0;      // 0x30 stored .. 0x35 best
        quint32 attributes = 0;
        quint32 dictSizeKb = 0;
        bool blake2 = false;
    };

    // Opens the file and reads the signature and the main header; stored
    // archive comments are picked up on the way.
    int open(const QString &path);

    Format format() const { return m_format; }
    // ROADF_* values.
    quint32 archiveFlags() const { return m_archiveFlags; }
    bool headersEncrypted() const { return m_headersEncrypted; }
    bool hasComment() const { return m_hasComment; }
    QString comment() const { return m_comment; }

    // The next file or folder header, service blocks skipped. ERAR_END_ARCHIVE
    // at the end; after any error the same error is returned again.
    int next(Member *member);

private:
    QByteArray readAt(qint64 pos, qint64 size);
    struct Block;
    int readRar4Block(Block *block);
    int readRar5Block(Block *block);
    int finishBlock(Block *block, qint64 dataPos, quint64 dataSize);
    int readMainHeader();
    void readComment();

    QFile m_file;
    qint64 m_fileSize = 0;
    qint64 m_pos = 0;
    QByteArray m_window;
    qint64 m_windowPos = 0;
    Format m_format = Format::Unknown;
    quint32 m_archiveFlags = 0;
    bool m_headersEncrypted = false;
    bool m_hasComment = false;
    QString m_comment;
    int m_sticky = 0;
};
