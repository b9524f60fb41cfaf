#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

// Top-level windows, one function per Win32 call that Platform:: stands for.
// Every function takes a null or vanished window and then answers "none".
namespace Win32Platform {

// FindWindowW: the first top-level window in Z order whose class and title
// match; an empty class or title matches any. Null when there is none.
HWND findWindow(const std::wstring &className, const std::wstring &title);

// GetWindowThreadProcessId; 0 for no window.
DWORD windowProcess(HWND window);

// EnumWindows: every top-level window, topmost first.
std::vector<HWND> topLevelWindows();

// IsWindowVisible: shown, minimised windows included.
bool isWindowVisible(HWND window);

// IsIconic.
bool isWindowMinimized(HWND window);

// ShowWindow(SW_RESTORE).
void restoreWindow(HWND window);

// SetForegroundWindow.
void setForegroundWindow(HWND window);

enum class KeyMessageType { KeyDown, KeyUp, SystemKeyUp }; // WM_KEYDOWN, WM_KEYUP, WM_SYSKEYUP

struct KeyMessage
{
    KeyMessageType type;
    std::uint8_t virtualKey; // VK_ code
    std::uint32_t keyData;   // the message's lParam
};

// SendMessageW of each message in order: sent, not posted and not through the
// input queue, so the window gets them while it is in the background.
void sendKeyMessages(HWND window, const std::vector<KeyMessage> &messages);

} // namespace Win32Platform
