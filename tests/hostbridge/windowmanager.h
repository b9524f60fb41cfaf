#pragma once

#include <QProcess>
#include <QString>

struct _XDisplay;

// Starts a window manager on the test's display when none runs, and ends it
// again. Desktops reparent, iconify and decide focus through one; bare X
// servers such as Xvfb leave all of that to the clients.
class WindowManager
{
public:
    WindowManager();
    ~WindowManager();
    WindowManager(const WindowManager &) = delete;
    WindowManager &operator=(const WindowManager &) = delete;

    // True when a manager runs, whether started here or found running. False
    // when the program is not installed or did not come up.
    bool start(const QString &program);
    bool isRunning() const;

private:
    // Openbox drops map requests that arrive while it starts up.
    bool showsWindows() const;

    _XDisplay *m_display;
    QProcess m_process;
};
