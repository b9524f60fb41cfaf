#include "windowmanager.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTest>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

WindowManager::WindowManager()
    : m_display(XOpenDisplay(nullptr))
{
}

WindowManager::~WindowManager()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
    }
    if (m_display)
        XCloseDisplay(m_display);
}

bool WindowManager::start(const QString &program)
{
    if (!m_display)
        return false;
    if (isRunning())
        return true;
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return false;
    m_process.start(path, QStringList());
    if (!m_process.waitForStarted())
        return false;
    QElapsedTimer timer;
    timer.start();
    while (!isRunning()) {
        if (timer.elapsed() > 10000 || m_process.state() == QProcess::NotRunning)
            return false;
        QTest::qWait(20);
    }
    return showsWindows();
}

bool WindowManager::isRunning() const
{
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long remaining = 0;
    unsigned char *data = nullptr;
    XGetWindowProperty(m_display, DefaultRootWindow(m_display), XInternAtom(m_display, "_NET_SUPPORTING_WM_CHECK", False),
                       0, 1, False, XA_WINDOW, &type, &format, &items, &remaining, &data);
    if (data)
        XFree(data);
    return items > 0;
}

bool WindowManager::showsWindows() const
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000) {
        const Window probe = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 10, 10, 0, 0, 0);
        XMapWindow(m_display, probe);
        XSync(m_display, False);
        XWindowAttributes attributes{};
        bool shown = false;
        for (int i = 0; i < 50 && !shown; ++i) {
            QTest::qWait(20);
            shown = XGetWindowAttributes(m_display, probe, &attributes) && attributes.map_state == IsViewable;
        }
        XDestroyWindow(m_display, probe);
        XSync(m_display, False);
        if (shown)
            return true;
    }
    return false;
}
