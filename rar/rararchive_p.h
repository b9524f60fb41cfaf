#pragma once

// The state behind RarArchive, shared with RarArchiveFile, which reads members
// through the archive's handle and keeps its position up to date.

#include "rar/rararchive.h"
#include "rar/unrarcompat.h"

#include <QHash>
#include <QList>
#include <QString>

class RarArchivePrivate
{
public:
    static constexpr int UnknownPosition = -1;

    int openHandle();
    void closeHandle();
    bool reopenHandle();
    int readMemberList();

    QString archiveName;
    HANDLE handle = nullptr;
    RarArchive::OpenMode mode = RarArchive::OpenModeNotOpen;
    RarArchive::OpenMode handleMode = RarArchive::OpenModeNotOpen;
    int error = 0;
    QString comment;
    bool headersEncrypted = false;
    bool filesEncrypted = false;
    QString password;
    QList<RarFileInfo> infos;
    QHash<QString, int> indexByName;
    QHash<QString, int> indexByLowerName;
    int currentIndex = 0;
    bool listed = false;
    // Index of the member whose header the handle reads next, or UnknownPosition.
    int nextHeader = UnknownPosition;
};
