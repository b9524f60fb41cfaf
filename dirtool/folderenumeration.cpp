#include "folderenumeration.h"

namespace {

std::string narrowName(const WIN32_FIND_DATAW &data)
{
    for (const wchar_t *name : {data.cFileName, data.cAlternateFileName}) {
        if (!name[0])
            continue;
        BOOL lossy = FALSE;
        char buffer[MAX_PATH * 2];
        const int written = WideCharToMultiByte(CP_ACP, 0, name, -1, buffer, sizeof buffer,
                                                nullptr, &lossy);
        if (written > 0 && !lossy)
            return buffer;
    }
    return "?";
}

} // namespace

FolderEnumeration::~FolderEnumeration()
{
    close();
}

bool FolderEnumeration::searchPattern(const char *folder, std::wstring *pattern)
{
    if (!folder)
        return false;
    wchar_t wide[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, folder, -1, wide, MAX_PATH) == 0)
        return false;
    const DWORD needed = GetFullPathNameW(wide, 0, nullptr, nullptr);
    if (needed == 0)
        return false;
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(wide, needed, &full[0], nullptr);
    if (length == 0 || length >= needed)
        return false;
    full.resize(length);
    const wchar_t last = full.empty() ? L'\0' : full.back();
    full += (last == L'\\' || last == L'/' || last == L':') ? L"*" : L"\\*";
    *pattern = full;
    return true;
}

bool FolderEnumeration::open(const char *folder)
{
    close();
    std::wstring pattern;
    if (!searchPattern(folder, &pattern))
        return false;
    m_find = FindFirstFileW(pattern.c_str(), &m_first);
    if (m_find == INVALID_HANDLE_VALUE)
        return false;
    m_firstPending = true;
    return true;
}

bool FolderEnumeration::close()
{
    if (m_find == INVALID_HANDLE_VALUE)
        return false;
    FindClose(m_find);
    m_find = INVALID_HANDLE_VALUE;
    m_firstPending = false;
    return true;
}

FolderEnumeration::NextResult FolderEnumeration::next(std::string *name)
{
    if (m_find == INVALID_HANDLE_VALUE)
        return NotOpen;
    bool skipped = false;
    for (;;) {
        WIN32_FIND_DATAW data;
        if (m_firstPending) {
            data = m_first;
            m_firstPending = false;
        } else if (!FindNextFileW(m_find, &data)) {
            return skipped ? OnlyDotEntriesLeft : NoMoreEntries;
        }
        if (data.cFileName[0] == L'.') {
            skipped = true;
            continue;
        }
        *name = narrowName(data);
        return Entry;
    }
}

bool FolderEnumeration::probe(const char *folder)
{
    std::wstring pattern;
    if (!searchPattern(folder, &pattern))
        return false;
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    FindClose(find);
    return true;
}
