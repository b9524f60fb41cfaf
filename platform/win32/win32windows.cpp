#include "win32windows.h"

namespace Win32Platform {

namespace {

const wchar_t *orAny(const std::wstring &text)
{
    return text.empty() ? nullptr : text.c_str();
}

UINT messageFor(KeyMessageType type)
{
    switch (type) {
    case KeyMessageType::KeyDown:
        return WM_KEYDOWN;
    case KeyMessageType::KeyUp:
        return WM_KEYUP;
    case KeyMessageType::SystemKeyUp:
        return WM_SYSKEYUP;
    }
    return WM_NULL;
}

BOOL CALLBACK collect(HWND window, LPARAM windows)
{
    reinterpret_cast<std::vector<HWND> *>(windows)->push_back(window);
    return TRUE;
}

} // namespace

HWND findWindow(const std::wstring &className, const std::wstring &title)
{
    return FindWindowW(orAny(className), orAny(title));
}

DWORD windowProcess(HWND window)
{
    DWORD processId = 0;
    if (window && !GetWindowThreadProcessId(window, &processId))
        processId = 0;
    return processId;
}

std::vector<HWND> topLevelWindows()
{
    std::vector<HWND> windows;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

bool isWindowVisible(HWND window)
{
    return window && IsWindowVisible(window);
}

bool isWindowMinimized(HWND window)
{
    return window && IsIconic(window);
}

void restoreWindow(HWND window)
{
    if (window)
        ShowWindow(window, SW_RESTORE);
}

void setForegroundWindow(HWND window)
{
    if (window)
        SetForegroundWindow(window);
}

void sendKeyMessages(HWND window, const std::vector<KeyMessage> &messages)
{
    if (!window)
        return;
    for (const KeyMessage &key : messages) {
        // lParam carries the 32 key-data bits unchanged, not sign-extended.
        SendMessageW(window, messageFor(key.type), key.virtualKey, static_cast<LPARAM>(key.keyData));
    }
}

} // namespace Win32Platform
