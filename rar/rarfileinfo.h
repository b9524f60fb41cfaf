#pragma once

#include "rar/rarexport.h"

#include <QString>
#include <QtGlobal>

// One member of a RAR archive, as its header describes it.
struct KIVARA_RAR_EXPORT RarFileInfo
{
    QString fileName;   // as stored, folders separated by '/'
    QString arcName;
    quint32 flags = 0;  // 0x04: encrypted
    quint32 packSize = 0; // low 32 bits
    quint32 unpSize = 0;  // low 32 bits
    quint32 hostOS = 0;
    quint32 fileCRC = 0;
    quint32 fileTime = 0; // DOS date and time
    quint32 unpVer = 0;
    quint32 method = 0;
    quint32 fileAttr = 0;
    QString comment;    // the archive's comment
};
