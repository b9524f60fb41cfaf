#pragma once

#include "rar/rarexport.h"
#include "rar/rarfileinfo.h"

#include <QList>
#include <QScopedPointer>
#include <QString>
#include <QStringList>

class RarArchivePrivate;

// A RAR archive opened through the UnRAR archive API: lists the members and
// positions the library just before one of them, so that RarArchiveFile can
// read it. Not thread-safe.
class KIVARA_RAR_EXPORT RarArchive
{
public:
    static const int MAX_ARC_NAME_SIZE = 2048;
    static const int MAX_COMMENT_SIZE = 65536;

    enum OpenMode { OpenModeNotOpen = 0, OpenModeList = 1, OpenModeExtract = 2 };

    RarArchive();
    explicit RarArchive(const QString &archiveName);
    ~RarArchive();

    bool open(OpenMode mode, const QString &password = QString());
    void close();

    bool isOpen() const;
    OpenMode mode() const;
    QString archiveName() const;
    void setArchiveName(const QString &name);
    QString comment() const;
    // The result code of the last open (ERAR codes, 0 = success).
    int error() const;

    int entriesCount() const;
    QStringList fileNameList() const;
    QList<RarFileInfo> fileInfoList() const;
    bool isFilesEncrypted() const;
    bool isHeadersEncrypted() const;
    void *unrarArcHandle() const;

    bool setCurrentFile(const QString &fileName, Qt::CaseSensitivity cs = Qt::CaseSensitive);
    QString currentFileName() const;
    bool currentFileInfo(RarFileInfo *info) const;

private:
    Q_DISABLE_COPY(RarArchive)
    // Reads members through the handle and keeps the archive's position current.
    friend class RarArchiveFile;
    QScopedPointer<RarArchivePrivate> d;
};
