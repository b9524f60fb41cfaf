/* Stands in for ZBrush under Wine: a top-level window of class and title "ZBrush"
 * in a program named ZBrush.exe. It reports on stdout what its window receives:
 *   ready                                        once the window is shown
 *   keydown|keyup|syskeydown|syskeyup <vk> <lParam> <shift><ctrl><alt>
 *                                                key messages, modifiers as GetKeyState sees them
 *   activated | minimized | size                 activation and size changes
 *   state <iconic> <foreground> <visible>        on the command "state"
 * Commands on stdin, one a line: "minimize", "state", "quit". */
#include <windows.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#define WM_COMMAND_LINE (WM_APP + 1)

static HWND window;

static void say(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    putchar('\n');
    fflush(stdout);
}

static const char *messageName(UINT message)
{
    switch (message) {
    case WM_KEYDOWN: return "keydown";
    case WM_KEYUP: return "keyup";
    case WM_SYSKEYDOWN: return "syskeydown";
    default: return "syskeyup";
    }
}

static int down(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_KEYDOWN: case WM_KEYUP: case WM_SYSKEYDOWN: case WM_SYSKEYUP:
        say("%s 0x%02x 0x%08lx %d%d%d", messageName(message), (unsigned)wp, (unsigned long)lp,
            down(VK_SHIFT), down(VK_CONTROL), down(VK_MENU));
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE)
            say("activated");
        break;
    case WM_SIZE:
        say(wp == SIZE_MINIMIZED ? "minimized" : "size");
        break;
    case WM_COMMAND_LINE:
        if (wp == 1)
            ShowWindow(hwnd, SW_MINIMIZE);
        else if (wp == 2)
            DestroyWindow(hwnd);
        else if (wp == 3)
            say("state %d %d %d", IsIconic(hwnd) ? 1 : 0, GetForegroundWindow() == hwnd ? 1 : 0, IsWindowVisible(hwnd) ? 1 : 0);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wp, lp);
}

static DWORD WINAPI readCommands(void *unused)
{
    char line[64];
    (void)unused;
    while (fgets(line, sizeof line, stdin)) {
        if (strncmp(line, "minimize", 8) == 0)
            PostMessageA(window, WM_COMMAND_LINE, 1, 0);
        else if (strncmp(line, "state", 5) == 0)
            PostMessageA(window, WM_COMMAND_LINE, 3, 0);
        else if (strncmp(line, "quit", 4) == 0)
            break;
    }
    PostMessageA(window, WM_COMMAND_LINE, 2, 0);
    return 0;
}

int main(void)
{
    WNDCLASSA windowClass;
    MSG message;
    memset(&windowClass, 0, sizeof windowClass);
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "ZBrush";
    RegisterClassA(&windowClass);
    window = CreateWindowA("ZBrush", "ZBrush", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, NULL, NULL, windowClass.hInstance, NULL);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    CreateThread(NULL, 0, readCommands, NULL, 0, NULL);
    say("ready");
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
