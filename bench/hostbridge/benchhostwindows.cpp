// What the connection check and an activation cost on a busy display: the
// system service asks isHostRunning every five seconds. Run under an X server
// (xvfb-run -a bench/bench_hostwindows [windows]); prints figures, asserts nothing.
#include "Model/hostbridge.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

Window createWindow(Display *display, const char *className, const char *title)
{
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 50, 50, 0, 0, 0);
    XClassHint hint;
    QByteArray name(className);
    hint.res_name = name.data();
    hint.res_class = name.data();
    XSetClassHint(display, window, &hint);
    XStoreName(display, window, title);
    XSelectInput(display, window, KeyPressMask | KeyReleaseMask);
    XMapWindow(display, window);
    return window;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        out << "needs an X display (xvfb-run -a)\n";
        return 0;
    }
    QTemporaryDir prefix;
    qputenv("WINEPREFIX", QFile::encodeName(prefix.path()));
    const int windows = argc > 1 ? QByteArray(argv[1]).toInt() : 200;

    // ZBrush at the bottom of the stacking order: every window is looked at first.
    createWindow(display, "ZBrush.exe", "ZBrush");
    for (int i = 0; i < windows; ++i)
        createWindow(display, "other", QByteArray("Window ").append(QByteArray::number(i)).constData());
    XSync(display, False);
    // A window manager frames the new windows in its own time.
    QThread::sleep(3);

    HostBridge bridge;
    const int rounds = 20;
    QElapsedTimer timer;
    timer.start();
    bool running = true;
    for (int i = 0; i < rounds; ++i)
        running = bridge.isHostRunning() && running;
    const double check = double(timer.nsecsElapsed()) / rounds / 1e6;

    timer.restart();
    for (int i = 0; i < rounds; ++i)
        bridge.sendActivationKeys();
    const double chord = double(timer.nsecsElapsed()) / rounds / 1e6;

    out << "top-level windows: " << windows + 1 << (running ? "" : " (ZBrush not found!)") << '\n'
        << "isHostRunning: " << QString::number(check, 'f', 2) << " ms\n"
        << "sendActivationKeys (find + 8 events): " << QString::number(chord, 'f', 2) << " ms\n";
    XCloseDisplay(display);
    return 0;
}
