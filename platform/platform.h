#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

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

// Top-level windows: an HWND on Windows, the client X window on Linux; 0 is none.
// Every call tolerates windows that vanished meanwhile and answers "none" or
// does nothing when there is no display.
using WindowId = quintptr;

// FindWindowW: the first top-level window in Z order, topmost first, whose class
// and title match. An empty class or title matches any. Under Wine WM_CLASS holds
// the executable's name, so "ZBrush" also matches "ZBrush.exe" (case ignored).
WindowId findWindow(const QString &className, const QString &title);
// GetWindowThreadProcessId; 0 when unknown.
qint64 windowProcess(WindowId window);
// EnumWindows: every top-level window, topmost first.
QList<WindowId> topLevelWindows();
// IsWindowVisible: shown, minimised windows included.
bool isWindowVisible(WindowId window);
// IsIconic.
bool isWindowMinimized(WindowId window);
// ShowWindow(SW_RESTORE).
void restoreWindow(WindowId window);
// SetForegroundWindow.
void setForegroundWindow(WindowId window);

enum class KeyMessageType { KeyDown, KeyUp, SystemKeyUp }; // WM_KEYDOWN, WM_KEYUP, WM_SYSKEYUP

struct KeyMessage
{
    KeyMessageType type;
    quint8 virtualKey;  // VK_ code
    quint32 keyData;    // the message's lParam
};

// SendMessageW of each message in order, straight to the window (not through
// the input queue). On X11 each key event carries the modifier state that the
// messages before it in the list built up.
void sendKeyMessages(WindowId window, const QList<KeyMessage> &messages);

} // namespace Platform
