#pragma once

#include <QList>
#include <QString>

// The few operating-system services Kivara needs, kept one-to-one with the Win32
// calls they stand for so that each implementation stays a thin wrapper.
// Linux (platform/x11/): a ZBrush running under Wine, reached through the Wine
// prefix's files. Windows (platform/win32/): the Win32 API.
namespace Platform {

// One subkey of HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall
// (64-bit view). Values that are missing are empty.
struct UninstallEntry
{
    QString subkey;
    QString displayName;
    // A folder path usable by this process (on Linux mapped out of the Wine prefix).
    QString installLocation;
};

// FOLDERID_PublicDocuments; under Wine, drive_c/users/Public/Documents of the prefix.
QString publicDocumentsFolder();

// The PROGRAMFILES environment variable; under Wine, when it is unset, the
// prefix's drive_c/Program Files. Empty on Windows when unset.
QString programFilesFolder();

// The uninstall subkeys in registry order.
QList<UninstallEntry> uninstallEntries();

} // namespace Platform
