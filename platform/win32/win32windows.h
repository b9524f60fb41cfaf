#pragma once

#include <string>

#include <windows.h>

// ZBrush's main window as Kivara reaches it on Windows.
namespace Win32Platform {

// A top-level window with both this class name and this title, or null.
HWND findWindow(const std::wstring &className, const std::wstring &title);

// A top-level window with this title, of any class, or null.
HWND findWindowByTitle(const std::wstring &title);

// The id of the process that created the window; 0 for no window.
DWORD windowProcess(HWND window);

// The first visible top-level window of the process in the system's window
// order, or null.
HWND firstVisibleWindowOfProcess(DWORD processId);

// Restores the window when it is minimised, then makes it the foreground window.
void restoreAndForeground(HWND window);

// Sends the window the chord Shift+Ctrl+Alt+9 as eight keyboard messages, each
// sent (not posted) so that it arrives while the window is in the background.
// Does nothing for a null window.
void sendActivationKeys(HWND window);

// Brings the visible top-level window of the process that owns the window with
// this title to the front; nothing when no window has the title.
void raiseWindow(const std::wstring &title);

} // namespace Win32Platform
