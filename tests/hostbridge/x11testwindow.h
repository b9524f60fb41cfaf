#pragma once

// What the window tests and their helper program set on a window to make it
// look like ZBrush's to Kivara. Plain Xlib: the helper does not use Qt.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>
#include <string>

// WM_STATE, which a window manager keeps and which tells iconic from normal.
inline void setWmState(Display *display, Window window, long state)
{
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    long data[2] = {state, None};
    XChangeProperty(display, window, wmState, wmState, 32, PropModeReplace, reinterpret_cast<unsigned char *>(data), 2);
}

inline void setClassAndTitle(Display *display, Window window, const char *className, const char *title)
{
    XClassHint hint;
    std::string name(className);
    hint.res_name = &name[0];
    hint.res_class = &name[0];
    XSetClassHint(display, window, &hint);
    XStoreName(display, window, title);
}
