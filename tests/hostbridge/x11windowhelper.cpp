// Stands in for ZBrush's window in the window tests: a top-level window with the
// class and title given, reporting on stdout what reaches it:
//   ready <window> <twin or 0> <pid>   once the window is shown (and, under a
//                                      window manager, managed: WM_STATE set)
//   press|release <keysym> <state>     key events, state in hex
//   focus-in | mapped | iconic | active-request
// Reads commands from stdin: "iconify" and "quit". Under a window manager the
// manager iconifies and keeps WM_STATE; without one the helper does its part
// (unmap, WM_STATE iconic or normal). Usage: x11windowhelper <class> <title> [--hidden-twin]
#include "x11testwindow.h"

#include <X11/Xatom.h>

#include <poll.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

Window createWindow(Display *display, const char *className, const char *title)
{
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 10, 10, 200, 100, 0, 0, 0);
    setClassAndTitle(display, window, className, title);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(title), int(strlen(title)));
    long pid = long(getpid());
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<unsigned char *>(&pid), 1);
    return window;
}

void say(const char *format, ...) __attribute__((format(printf, 1, 2)));
void say(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    putchar('\n');
    fflush(stdout);
}

// The items of a 32-bit property (longs, as Xlib hands them out); empty when absent.
std::vector<unsigned long> longProperty(Display *display, Window window, Atom property, Atom type)
{
    Atom actualType = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long remaining = 0;
    unsigned char *data = nullptr;
    XGetWindowProperty(display, window, property, 0, 2, False, type, &actualType, &format, &items, &remaining,
                       &data);
    std::vector<unsigned long> values;
    if (data && format == 32) {
        const auto *longs = reinterpret_cast<const unsigned long *>(data);
        values.assign(longs, longs + items);
    }
    if (data)
        XFree(data);
    return values;
}

bool windowExists(Display *display, Window window)
{
    static bool failed = false;
    failed = false;
    const auto previous = XSetErrorHandler([](Display *, XErrorEvent *) {
        failed = true;
        return 0;
    });
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    XSync(display, False);
    XSetErrorHandler(previous);
    return !failed;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3)
        return 2;
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return 3;
    const Window root = DefaultRootWindow(display);
    const Atom activeWindow = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    const bool managed = [&] {
        const auto check = longProperty(display, root, XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False),
                                        XA_WINDOW);
        // A manager that ended abnormally leaves its announcement behind.
        return !check.empty() && windowExists(display, Window(check.front()));
    }();

    const Window window = createWindow(display, argv[1], argv[2]);
    XSelectInput(display, window,
                 KeyPressMask | KeyReleaseMask | FocusChangeMask | StructureNotifyMask | PropertyChangeMask);
    // Requests to the window manager arrive at the root.
    XSelectInput(display, root, SubstructureNotifyMask);
    XMapWindow(display, window);
    Window twin = 0;
    if (argc > 3 && strcmp(argv[3], "--hidden-twin") == 0) {
        // Never shown, same title, above the real window in the stacking order.
        twin = createWindow(display, argv[1], argv[2]);
        XSync(display, False);
    }

    bool ready = false;
    bool shown = false;
    // A manager sets WM_STATE after it has framed the window; until then the
    // window is not yet among the manager's clients.
    const Atom wmStateAtom = XInternAtom(display, "WM_STATE", False);
    const auto hasWmState = [&] { return !longProperty(display, window, wmStateAtom, AnyPropertyType).empty(); };
    const auto sayReadyOnce = [&] {
        if (!ready && shown && hasWmState()) {
            ready = true;
            say("ready %lu %lu %ld", window, twin, long(getpid()));
        }
    };
    bool iconifying = false;
    pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    std::string input;
    for (;;) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            switch (event.type) {
            case KeyPress:
            case KeyRelease: {
                const KeySym sym = XLookupKeysym(&event.xkey, 0);
                const char *name = XKeysymToString(sym);
                say("%s %s 0x%x", event.type == KeyPress ? "press" : "release", name ? name : "?",
                    event.xkey.state);
                break;
            }
            case FocusIn:
                if (event.xfocus.window == window)
                    say("focus-in");
                break;
            case MapNotify:
                if (event.xmap.window != window || event.xmap.event != window)
                    break;
                if (!managed) {
                    setWmState(display, window, NormalState);
                    XSync(display, False);
                }
                if (shown)
                    say("mapped");
                shown = true;
                sayReadyOnce();
                break;
            case PropertyNotify:
                if (event.xproperty.window == window && event.xproperty.atom == wmStateAtom)
                    sayReadyOnce();
                break;
            case UnmapNotify:
                if (event.xunmap.window == window && event.xunmap.event == window && iconifying) {
                    iconifying = false;
                    say("iconic");
                }
                break;
            case ClientMessage:
                if (event.xclient.message_type == activeWindow && event.xclient.window == window)
                    say("active-request");
                break;
            default:
                break;
            }
        }
        if (poll(fds, 2, 1000) < 0)
            return 4;
        if (fds[1].revents & (POLLIN | POLLHUP)) {
            char buffer[256];
            const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
            if (n <= 0)
                break;
            input.append(buffer, size_t(n));
            size_t end;
            while ((end = input.find('\n')) != std::string::npos) {
                const std::string command = input.substr(0, end);
                input.erase(0, end + 1);
                if (command == "quit") {
                    XCloseDisplay(display);
                    return 0;
                }
                if (command == "iconify") {
                    iconifying = true;
                    if (managed) {
                        XIconifyWindow(display, window, DefaultScreen(display));
                    } else {
                        setWmState(display, window, IconicState);
                        XUnmapWindow(display, window);
                    }
                    XFlush(display);
                }
            }
        }
    }
    XCloseDisplay(display);
    return 0;
}
