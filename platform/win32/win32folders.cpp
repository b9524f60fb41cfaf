#include "win32folders.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

namespace Win32Platform {

std::wstring publicDocumentsFolder()
{
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_PublicDocuments, 0, nullptr, &path)))
        folder = path;
    CoTaskMemFree(path);
    return folder;
}

std::wstring programFilesFolder()
{
    const DWORD needed = GetEnvironmentVariableW(L"PROGRAMFILES", nullptr, 0);
    if (needed == 0)
        return std::wstring();
    std::wstring value(needed, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"PROGRAMFILES", &value[0], needed);
    if (length == 0 || length >= needed)
        return std::wstring();
    value.resize(length);
    return value;
}

} // namespace Win32Platform
