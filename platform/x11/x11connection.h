#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

struct _XDisplay;

// Kivara's own Xlib connection for reaching other programs' windows (ZBrush under
// Wine, a first Kivara instance). Separate from Qt's connection and usable with
// any Qt platform plug-in, offscreen included.
class X11Connection
{
public:
    using XWindow = unsigned long;

    // The shared connection, opened on first use from $DISPLAY; null while no
    // display can be opened.
    static X11Connection *instance();

    ~X11Connection();
    X11Connection(const X11Connection &) = delete;
    X11Connection &operator=(const X11Connection &) = delete;

    _XDisplay *display() const { return m_display; }
    XWindow root() const { return m_root; }
    unsigned long atom(const char *name) const;

    // The application windows (those with WM_CLASS) at the top level, topmost
    // first: the children of the root, or the window inside a window manager's frame.
    QList<XWindow> clientWindows() const;
    // _NET_WM_NAME, else WM_NAME.
    QString title(XWindow window) const;
    // WM_CLASS: instance and class names.
    QStringList classNames(XWindow window) const;
    // _NET_WM_PID; 0 when absent.
    qint64 processId(XWindow window) const;
    // The first item of a CARDINAL property; -1 when absent.
    qint64 cardinal(XWindow window, const char *propertyName) const;
    // ICCCM WM_STATE: 0 withdrawn, 1 normal, 3 iconic; -1 when absent.
    long wmState(XWindow window) const;
    bool hasNetWmState(XWindow window, const char *stateName) const;
    bool isViewable(XWindow window) const;
    // An EWMH window manager runs and announces the atom in _NET_SUPPORTED.
    // Call it under an X11ErrorTrap: the check window may be gone.
    bool windowManagerSupports(const char *atomName) const;

    // The property's raw items (32-bit formats come as longs, as Xlib gives them).
    QByteArray property(XWindow window, unsigned long property, unsigned long type, int *format = nullptr) const;

private:
    explicit X11Connection(_XDisplay *display);
    // XQueryTree: the children bottom to top, and the parent when asked for.
    QList<XWindow> children(XWindow window, XWindow *parent = nullptr) const;
    // The root's child that holds the window (a frame, or the window itself); 0 when gone.
    XWindow topLevelAncestor(XWindow window) const;
    // The client inside a frame, found by its WM_STATE; the window itself when none has it.
    XWindow findClient(XWindow window) const;

    _XDisplay *m_display;
    XWindow m_root;
};

// Keeps X protocol errors (a window closed meanwhile) from ending the process
// while it lives; the previous handler comes back afterwards.
class X11ErrorTrap
{
public:
    explicit X11ErrorTrap(_XDisplay *display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap &) = delete;
    X11ErrorTrap &operator=(const X11ErrorTrap &) = delete;

private:
    _XDisplay *m_display;
    int (*m_previous)(_XDisplay *, void *);
};
