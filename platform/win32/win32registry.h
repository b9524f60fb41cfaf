#pragma once

#include <string>
#include <vector>

namespace Win32Platform {

// One subkey of HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall.
// Values that are missing are empty.
struct UninstallEntry
{
    std::wstring subkey;
    std::wstring displayName;
    std::wstring installLocation;
};

// The uninstall subkeys in registry order, read in the 64-bit view.
std::vector<UninstallEntry> uninstallEntries();

} // namespace Win32Platform
