#include "win32registry.h"

#include <windows.h>

namespace Win32Platform {

namespace {

const wchar_t *const UninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::wstring stringValue(HKEY key, const wchar_t *name)
{
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS
        || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::wstring();
    // Stored strings need not carry their terminator; leave room for one.
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE *>(&value[0]), &bytes)
        != ERROR_SUCCESS)
        return std::wstring();
    value.resize(wcsnlen(value.c_str(), value.size()));
    return value;
}

} // namespace

std::vector<UninstallEntry> uninstallEntries()
{
    std::vector<UninstallEntry> entries;
    HKEY uninstall = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, UninstallKey, 0, KEY_READ | KEY_WOW64_64KEY, &uninstall)
        != ERROR_SUCCESS)
        return entries;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256]; // the longest key name the registry allows, and its terminator
        DWORD length = 256;
        const LONG status = RegEnumKeyExW(uninstall, index, name, &length, nullptr, nullptr,
                                          nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS)
            continue;
        UninstallEntry entry;
        entry.subkey.assign(name, length);
        HKEY subkey = nullptr;
        if (RegOpenKeyExW(uninstall, name, 0, KEY_READ | KEY_WOW64_64KEY, &subkey) == ERROR_SUCCESS) {
            entry.displayName = stringValue(subkey, L"DisplayName");
            entry.installLocation = stringValue(subkey, L"InstallLocation");
            RegCloseKey(subkey);
        }
        entries.push_back(entry);
    }
    RegCloseKey(uninstall);
    return entries;
}

} // namespace Win32Platform
