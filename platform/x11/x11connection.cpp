#include "x11connection.h"

#include <QHash>

#include <cstring>
#include <memory>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

using PlainHandler = int (*)(_XDisplay *, void *);

int ignoreError(Display *, XErrorEvent *)
{
    return 0;
}

// 32-bit property items as Xlib hands them over: one long each.
QList<unsigned long> longItems(const QByteArray &data)
{
    QList<unsigned long> items;
    for (int offset = 0; offset + int(sizeof(long)) <= data.size(); offset += int(sizeof(long))) {
        unsigned long item = 0;
        memcpy(&item, data.constData() + offset, sizeof item);
        items.append(item);
    }
    return items;
}

} // namespace

X11Connection *X11Connection::instance()
{
    static std::unique_ptr<X11Connection> connection;
    if (!connection) {
        if (Display *display = XOpenDisplay(nullptr))
            connection.reset(new X11Connection(display));
    }
    return connection.get();
}

X11Connection::X11Connection(_XDisplay *display)
    : m_display(display)
    , m_root(DefaultRootWindow(display))
{
}

X11Connection::~X11Connection()
{
    XCloseDisplay(m_display);
}

unsigned long X11Connection::atom(const char *name) const
{
    return XInternAtom(m_display, name, False);
}

QByteArray X11Connection::property(XWindow window, unsigned long property, unsigned long type, int *format) const
{
    Atom actualType = None;
    int actualFormat = 0;
    unsigned long items = 0;
    unsigned long remaining = 0;
    unsigned char *data = nullptr;
    QByteArray result;
    if (XGetWindowProperty(m_display, window, property, 0, 1024, False, type, &actualType, &actualFormat,
                           &items, &remaining, &data) == Success
        && data && actualType != None) {
        // Xlib hands 32-bit items over as longs.
        const int itemSize = actualFormat == 32 ? int(sizeof(long)) : actualFormat / 8;
        result = QByteArray(reinterpret_cast<const char *>(data), int(items) * itemSize);
    }
    if (data)
        XFree(data);
    if (format)
        *format = actualFormat;
    return result;
}

QList<X11Connection::XWindow> X11Connection::children(XWindow window, XWindow *parent) const
{
    QList<XWindow> result;
    Window rootReturn = 0;
    Window parentReturn = 0;
    Window *list = nullptr;
    unsigned int count = 0;
    if (XQueryTree(m_display, window, &rootReturn, &parentReturn, &list, &count)) {
        for (unsigned int i = 0; i < count; ++i)
            result.append(list[i]);
        if (parent)
            *parent = parentReturn;
    }
    if (list)
        XFree(list);
    return result;
}

X11Connection::XWindow X11Connection::topLevelAncestor(XWindow window) const
{
    // Window managers nest clients a few levels deep in their frames.
    for (int depth = 0; depth < 16; ++depth) {
        XWindow parent = 0;
        children(window, &parent);
        if (!parent)
            return 0;
        if (parent == m_root)
            return window;
        window = parent;
    }
    return 0;
}

X11Connection::XWindow X11Connection::findClient(XWindow window) const
{
    // A window manager reparents clients into frames; the client carries WM_STATE.
    const Atom wmStateAtom = atom("WM_STATE");
    QList<XWindow> level{window};
    while (!level.isEmpty()) {
        QList<XWindow> next;
        for (XWindow candidate : qAsConst(level)) {
            if (!property(candidate, wmStateAtom, AnyPropertyType).isEmpty())
                return candidate;
            next.append(children(candidate));
        }
        level = next;
    }
    return window;
}

QList<X11Connection::XWindow> X11Connection::clientWindows() const
{
    // An EWMH window manager lists the clients it frames: one request instead of
    // searching every frame's decorations, which the connection check would do
    // every few seconds.
    QHash<XWindow, XWindow> clientOfFrame;
    const auto managed = longItems(property(m_root, atom("_NET_CLIENT_LIST"), XA_WINDOW));
    for (const unsigned long client : managed) {
        if (const XWindow frame = topLevelAncestor(client))
            clientOfFrame.insert(frame, client);
    }
    // XQueryTree lists bottom to top. Windows without WM_CLASS are toolkit
    // helpers (client leaders, selection owners) or the manager's own, not
    // application windows.
    const Atom classAtom = atom("WM_CLASS");
    const auto hasClass = [&](XWindow window) { return !property(window, classAtom, XA_STRING).isEmpty(); };
    const QList<XWindow> topLevels = children(m_root);
    QList<XWindow> windows;
    for (auto it = topLevels.crbegin(); it != topLevels.crend(); ++it) {
        XWindow client = clientOfFrame.value(*it);
        if (!client) {
            // Unmanaged: withdrawn or hidden windows, or no window manager at all.
            if (hasClass(*it)) {
                windows.append(*it);
                continue;
            }
            // A manager without a client list, or one that has not listed a new
            // client yet: look for the client inside the frame.
            client = findClient(*it);
        }
        if (hasClass(client))
            windows.append(client);
    }
    return windows;
}

QString X11Connection::title(XWindow window) const
{
    const QByteArray netName = property(window, atom("_NET_WM_NAME"), atom("UTF8_STRING"));
    if (!netName.isEmpty())
        return QString::fromUtf8(netName);
    XTextProperty text{};
    QString result;
    if (XGetWMName(m_display, window, &text) && text.value) {
        char **list = nullptr;
        int count = 0;
        if (Xutf8TextPropertyToTextList(m_display, &text, &list, &count) >= Success && list && count > 0)
            result = QString::fromUtf8(list[0]);
        if (list)
            XFreeStringList(list);
        XFree(text.value);
    }
    return result;
}

QStringList X11Connection::classNames(XWindow window) const
{
    XClassHint hint{};
    QStringList names;
    if (XGetClassHint(m_display, window, &hint)) {
        names << QString::fromLocal8Bit(hint.res_name) << QString::fromLocal8Bit(hint.res_class);
        XFree(hint.res_name);
        XFree(hint.res_class);
    }
    return names;
}

qint64 X11Connection::processId(XWindow window) const
{
    return qMax<qint64>(0, cardinal(window, "_NET_WM_PID"));
}

qint64 X11Connection::cardinal(XWindow window, const char *propertyName) const
{
    const auto items = longItems(property(window, atom(propertyName), XA_CARDINAL));
    return items.isEmpty() ? -1 : qint64(items.first() & 0xffffffffUL);
}

long X11Connection::wmState(XWindow window) const
{
    const Atom wmStateAtom = atom("WM_STATE");
    const auto items = longItems(property(window, wmStateAtom, wmStateAtom));
    return items.isEmpty() ? -1 : long(items.first());
}

bool X11Connection::hasNetWmState(XWindow window, const char *stateName) const
{
    return longItems(property(window, atom("_NET_WM_STATE"), XA_ATOM)).contains(atom(stateName));
}

bool X11Connection::isViewable(XWindow window) const
{
    XWindowAttributes attributes{};
    return XGetWindowAttributes(m_display, window, &attributes) && attributes.map_state == IsViewable;
}

bool X11Connection::windowManagerSupports(const char *atomName) const
{
    // A window manager that ended leaves the root's property behind; the check
    // window that names itself is gone with it.
    const Atom check = atom("_NET_SUPPORTING_WM_CHECK");
    const auto checkWindow = longItems(property(m_root, check, XA_WINDOW));
    if (checkWindow.isEmpty() || longItems(property(checkWindow.first(), check, XA_WINDOW)) != checkWindow)
        return false;
    return longItems(property(m_root, atom("_NET_SUPPORTED"), XA_ATOM)).contains(atom(atomName));
}

X11ErrorTrap::X11ErrorTrap(_XDisplay *display)
    : m_display(display)
    , m_previous(reinterpret_cast<PlainHandler>(XSetErrorHandler(&ignoreError)))
{
}

X11ErrorTrap::~X11ErrorTrap()
{
    // Errors of requests still in flight are caught before the old handler returns.
    XSync(m_display, False);
    XSetErrorHandler(reinterpret_cast<XErrorHandler>(m_previous));
}
