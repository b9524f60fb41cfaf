// Window services for a ZBrush under Wine (and any other X11 program).
#include "platform/platform.h"
#include "platform/x11/x11connection.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace {

// Wine names WM_CLASS after the executable ("ZBrush.exe", sometimes lower case).
QString bareClassName(QString name)
{
    name = name.toLower();
    if (name.endsWith(QLatin1String(".exe")))
        name.chop(4);
    return name;
}

bool classMatches(const QStringList &names, const QString &wanted)
{
    const QString bare = bareClassName(wanted);
    for (const QString &name : names) {
        if (bareClassName(name) == bare)
            return true;
    }
    return false;
}

KeySym keySymFor(quint8 virtualKey)
{
    switch (virtualKey) {
    case 0x10:
        return XK_Shift_L;
    case 0x11:
        return XK_Control_L;
    case 0x12:
        return XK_Alt_L;
    default:
        break;
    }
    if (virtualKey >= 0x30 && virtualKey <= 0x39)
        return XK_0 + (virtualKey - 0x30);
    if (virtualKey >= 0x41 && virtualKey <= 0x5a)
        return XK_a + (virtualKey - 0x41);
    return NoSymbol;
}

// The modifier bit a key sets while held (ShiftMask, ControlMask, the Alt's ModN), or 0.
unsigned int modifierMask(Display *display, KeyCode code)
{
    unsigned int mask = 0;
    XModifierKeymap *map = XGetModifierMapping(display);
    if (!map)
        return 0;
    for (int modifier = 0; modifier < 8 && !mask; ++modifier) {
        for (int k = 0; k < map->max_keypermod; ++k) {
            if (code && map->modifiermap[modifier * map->max_keypermod + k] == code) {
                mask = 1U << modifier;
                break;
            }
        }
    }
    XFreeModifiermap(map);
    return mask;
}

// _NET_WM_DESKTOP of a window shown on every desktop.
constexpr qint64 allDesktops = 0xFFFFFFFF;

// An EWMH request: a client message about the window, sent to the root.
void sendToWindowManager(X11Connection *x, X11Connection::XWindow window, const char *type, long data)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = x->atom(type);
    event.xclient.format = 32;
    event.xclient.data.l[0] = data;
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(x->display(), x->root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

} // namespace

namespace Platform {

WindowId findWindow(const QString &className, const QString &title)
{
    X11Connection *x = X11Connection::instance();
    if (!x)
        return 0;
    X11ErrorTrap trap(x->display());
    const auto windows = x->clientWindows();
    for (const auto window : windows) {
        // The class first: one request that rules out nearly every window.
        if (!className.isEmpty() && !classMatches(x->classNames(window), className))
            continue;
        if (!title.isEmpty() && x->title(window) != title)
            continue;
        return window;
    }
    return 0;
}

qint64 windowProcess(WindowId window)
{
    X11Connection *x = X11Connection::instance();
    if (!x || !window)
        return 0;
    X11ErrorTrap trap(x->display());
    return x->processId(window);
}

QList<WindowId> topLevelWindows()
{
    QList<WindowId> result;
    X11Connection *x = X11Connection::instance();
    if (!x)
        return result;
    X11ErrorTrap trap(x->display());
    const auto windows = x->clientWindows();
    for (const auto window : windows)
        result.append(window);
    return result;
}

bool isWindowVisible(WindowId window)
{
    X11Connection *x = X11Connection::instance();
    if (!x || !window)
        return false;
    X11ErrorTrap trap(x->display());
    // A minimised window is unmapped on X11 but still counts as shown.
    return x->isViewable(window) || x->wmState(window) == IconicState;
}

bool isWindowMinimized(WindowId window)
{
    X11Connection *x = X11Connection::instance();
    if (!x || !window)
        return false;
    X11ErrorTrap trap(x->display());
    return x->wmState(window) == IconicState || x->hasNetWmState(window, "_NET_WM_STATE_HIDDEN");
}

void restoreWindow(WindowId window)
{
    X11Connection *x = X11Connection::instance();
    if (!x || !window)
        return;
    X11ErrorTrap trap(x->display());
    // Mapping an iconic window asks for the normal state (ICCCM 4.1.4).
    XMapWindow(x->display(), window);
}

void setForegroundWindow(WindowId window)
{
    X11Connection *x = X11Connection::instance();
    if (!x || !window)
        return;
    X11ErrorTrap trap(x->display());
    Display *display = x->display();

    // Like SetForegroundWindow across virtual desktops: show the window's desktop
    // first, since managers such as openbox do not switch for an activation.
    const qint64 desktop = x->cardinal(window, "_NET_WM_DESKTOP");
    const qint64 current = x->cardinal(x->root(), "_NET_CURRENT_DESKTOP");
    if (desktop >= 0 && current >= 0 && desktop != current && desktop != allDesktops
        && x->windowManagerSupports("_NET_CURRENT_DESKTOP"))
        sendToWindowManager(x, x->root(), "_NET_CURRENT_DESKTOP", long(desktop));
    sendToWindowManager(x, window, "_NET_ACTIVE_WINDOW", 2); // a pager's request: honoured without user input
    XRaiseWindow(display, window);
    // Without a window manager nobody acts on the request: focus the window ourselves.
    if (!x->windowManagerSupports("_NET_ACTIVE_WINDOW")) {
        XSync(display, False);
        if (x->isViewable(window))
            XSetInputFocus(display, window, RevertToParent, CurrentTime);
    }
}

void sendKeyMessages(WindowId window, const QList<KeyMessage> &messages)
{
    X11Connection *x = X11Connection::instance();
    if (!x || !window)
        return;
    X11ErrorTrap trap(x->display());
    Display *display = x->display();

    unsigned int state = 0;
    for (const KeyMessage &message : messages) {
        const KeySym sym = keySymFor(message.virtualKey);
        const KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(display, sym);
        if (!code)
            continue;
        const bool press = message.type == KeyMessageType::KeyDown;
        XEvent event{};
        event.xkey.type = press ? KeyPress : KeyRelease;
        event.xkey.display = display;
        event.xkey.window = window;
        event.xkey.root = x->root();
        event.xkey.subwindow = None;
        event.xkey.time = CurrentTime;
        event.xkey.x = event.xkey.y = event.xkey.x_root = event.xkey.y_root = 1;
        // The state before the event, as a real keyboard would report it.
        event.xkey.state = state;
        event.xkey.keycode = code;
        event.xkey.same_screen = True;
        XSendEvent(display, window, False, press ? KeyPressMask : KeyReleaseMask, &event);

        const unsigned int mask = modifierMask(display, code);
        state = press ? (state | mask) : (state & ~mask);
    }
    XSync(display, False);
}

} // namespace Platform
