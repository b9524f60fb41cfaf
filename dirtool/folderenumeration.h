#pragma once

#include <string>

#include <windows.h>

// The one open folder of OpenFolder, GetFile and CloseFolder. Names are read in
// wide characters so that any name on disk can be enumerated.
class FolderEnumeration
{
public:
    enum NextResult { Entry = 0, NotOpen = -1, NoMoreEntries = -3, OnlyDotEntriesLeft = -4 };

    FolderEnumeration() = default;
    ~FolderEnumeration();
    FolderEnumeration(const FolderEnumeration &) = delete;
    FolderEnumeration &operator=(const FolderEnumeration &) = delete;

    // Replaces the open folder; false when the folder cannot be enumerated.
    bool open(const char *folder);
    // False when no folder was open.
    bool close();

    // The next entry whose name does not start with ".", in the system code page.
    NextResult next(std::string *name);

    // Whether an enumeration of the folder can be started.
    static bool probe(const char *folder);

private:
    static bool searchPattern(const char *folder, std::wstring *pattern);

    HANDLE m_find = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW m_first = {};
    bool m_firstPending = false;
};
