#include "win32windows.h"

namespace Win32Platform {

namespace {

struct KeyMessage
{
    UINT message;
    WPARAM key;
    LPARAM keyData;
};

// Repeat count 1 with the scan codes, extended, context and transition bits
// that ZBrush's script plug-in expects for this chord.
const KeyMessage ActivationKeys[] = {
    {WM_KEYDOWN, VK_SHIFT, 0x202A0001},
    {WM_KEYDOWN, VK_CONTROL, 0x001D0001},
    {WM_KEYDOWN, VK_MENU, 0x20380001},
    {WM_KEYDOWN, '9', 0x200A0001},
    {WM_KEYUP, '9', static_cast<LPARAM>(0xE00A0001)},
    {WM_KEYUP, VK_SHIFT, static_cast<LPARAM>(0xC02A0001)},
    {WM_SYSKEYUP, VK_CONTROL, static_cast<LPARAM>(0xE01D0001)},
    {WM_KEYUP, VK_MENU, static_cast<LPARAM>(0xC0380001)},
};

struct ProcessWindowSearch
{
    DWORD processId;
    HWND found;
};

BOOL CALLBACK takeFirstVisible(HWND window, LPARAM parameter)
{
    auto *search = reinterpret_cast<ProcessWindowSearch *>(parameter);
    if (windowProcess(window) != search->processId || !IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

HWND findWindow(const std::wstring &className, const std::wstring &title)
{
    return FindWindowW(className.c_str(), title.c_str());
}

HWND findWindowByTitle(const std::wstring &title)
{
    return FindWindowW(nullptr, title.c_str());
}

DWORD windowProcess(HWND window)
{
    DWORD processId = 0;
    if (window)
        GetWindowThreadProcessId(window, &processId);
    return processId;
}

HWND firstVisibleWindowOfProcess(DWORD processId)
{
    ProcessWindowSearch search = {processId, nullptr};
    if (processId != 0)
        EnumWindows(takeFirstVisible, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void restoreAndForeground(HWND window)
{
    if (!window)
        return;
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
}

void sendActivationKeys(HWND window)
{
    if (!window)
        return;
    for (const KeyMessage &key : ActivationKeys)
        SendMessageW(window, key.message, key.key, key.keyData);
}

void raiseWindow(const std::wstring &title)
{
    const HWND titled = findWindowByTitle(title);
    if (!titled)
        return;
    restoreAndForeground(firstVisibleWindowOfProcess(windowProcess(titled)));
}

} // namespace Win32Platform
