// Runs under an X server (CTest label x11): a helper process plays ZBrush's window.
#include "Model/hostbridge.h"
#include "appfolders.h"
#include "platform/platform.h"
#include "windowmanager.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "x11testwindow.h"

#include <X11/Xatom.h>

namespace {

// The helper's stdout, line by line.
class WindowHelper
{
public:
    bool start(const QString &className, const QString &title, bool hiddenTwin = false)
    {
        QStringList arguments{className, title};
        if (hiddenTwin)
            arguments << QStringLiteral("--hidden-twin");
        m_process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/x11windowhelper"), arguments);
        const QStringList ready = waitFor(QStringLiteral("ready"), 10000).split(QLatin1Char(' '));
        if (ready.size() != 4) {
            qWarning() << "the window helper did not start:" << m_process.state() << seen << m_process.readAllStandardError();
            return false;
        }
        window = ready.at(1).toULong();
        twin = ready.at(2).toULong();
        return true;
    }

    // Waits for the next line starting with the word; lines before it are kept in `seen`.
    QString waitFor(const QString &word, int timeout = 5000)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeout) {
            while (m_process.canReadLine()) {
                const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
                if (line.startsWith(word))
                    return line;
                seen.append(line);
            }
            if (m_process.state() == QProcess::NotRunning)
                return QString();
            m_process.waitForReadyRead(100);
        }
        return QString();
    }

    void send(const char *command)
    {
        m_process.write(command);
        m_process.write("\n");
        m_process.waitForBytesWritten(1000);
    }

    // Minimised as its user would, by the window manager when one runs.
    bool iconify()
    {
        send("iconify");
        return !waitFor(QStringLiteral("iconic")).isEmpty();
    }

    bool quit()
    {
        send("quit");
        return m_process.waitForFinished(5000);
    }

    ~WindowHelper()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(2000);
        }
    }

    unsigned long window = 0;
    unsigned long twin = 0;
    QStringList seen;

private:
    QProcess m_process;
};

} // namespace

class TestHostWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void chord_data();
    void chord();
    void hostRunningFollowsWindow_data();
    void hostRunningFollowsWindow();
    void findsClientInsideFrame();
    void bringsIconifiedHostToFront();
    void bringsHostFromOtherDesktop();
    void activationWithoutFocusLeavesHostIconic();
    void raisesFirstVisibleWindowOfProcess();
    void focusesAfterWindowManagerEnded();
    void noDataFolderStillSendsChord();
    void secondKivaraRaisesFirst();

private:
    QStringList allKeyEvents(WindowHelper &helper);
    Window inputFocus() const;
    bool waitForFocus(unsigned long window) const;
    bool focusElsewhere(WindowHelper &other);
    void iconify(Window window);

    std::unique_ptr<QTemporaryDir> m_prefix;
    Display *m_display = nullptr;
    std::unique_ptr<WindowManager> m_windowManager;
};

void TestHostWindows::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X display (ctest gives x11 tests one of their own)");
    m_display = XOpenDisplay(nullptr);
    QVERIFY(m_display);
    // Desktops reparent, iconify and focus through a window manager; bare X
    // servers leave all of it to the clients. The same cases run both ways.
    m_windowManager = std::make_unique<WindowManager>();
    const QString manager = qEnvironmentVariable("KIVARA_WINDOW_MANAGER");
    if (!manager.isEmpty() && !m_windowManager->start(manager))
        QSKIP("the window manager is not installed or does not start");
}

void TestHostWindows::cleanupTestCase()
{
    m_windowManager.reset();
    if (m_display)
        XCloseDisplay(m_display);
}

Window TestHostWindows::inputFocus() const
{
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(m_display, &focus, &revert);
    return focus;
}

bool TestHostWindows::waitForFocus(unsigned long window) const
{
    QElapsedTimer timer;
    timer.start();
    while (inputFocus() != window) {
        if (timer.elapsed() > 5000)
            return false;
        QTest::qWait(20);
    }
    return true;
}

// Gives the keyboard focus to another program's window, so that a raise has work to do.
bool TestHostWindows::focusElsewhere(WindowHelper &other)
{
    if (!other.start(QStringLiteral("Other"), QStringLiteral("Other")))
        return false;
    XSetInputFocus(m_display, other.window, RevertToParent, CurrentTime);
    XSync(m_display, False);
    return waitForFocus(other.window);
}

// Minimises another program's window the way its user would.
void TestHostWindows::iconify(Window window)
{
    if (m_windowManager->isRunning()) {
        XIconifyWindow(m_display, window, DefaultScreen(m_display));
    } else {
        setWmState(m_display, window, IconicState);
        XUnmapWindow(m_display, window);
    }
    XSync(m_display, False);
}

void TestHostWindows::init()
{
    // A prefix without any ZBrush data folder unless a test adds one.
    m_prefix = std::make_unique<QTemporaryDir>();
    QVERIFY(m_prefix->isValid());
    qputenv("WINEPREFIX", QFile::encodeName(m_prefix->path()));
}

QStringList TestHostWindows::allKeyEvents(WindowHelper &helper)
{
    QStringList events;
    QElapsedTimer timer;
    timer.start();
    while (events.size() < 8 && timer.elapsed() < 5000) {
        const QString line = helper.waitFor(QString(), 5000 - int(timer.elapsed()));
        if (line.isEmpty())
            break;
        if (line.startsWith(QLatin1String("press")) || line.startsWith(QLatin1String("release")))
            events.append(line);
    }
    return events;
}

void TestHostWindows::chord_data()
{
    QTest::addColumn<QString>("className");
    QTest::newRow("native class") << QStringLiteral("ZBrush");
    QTest::newRow("Wine's class") << QStringLiteral("ZBrush.exe");
}

void TestHostWindows::chord()
{
    QFETCH(QString, className);
    WindowHelper helper;
    QVERIFY(helper.start(className, QStringLiteral("ZBrush")));

    HostBridge bridge;
    bridge.sendActivationKeys();
    // Shift = 0x1, Control = 0x4, Alt = Mod1 = 0x8: each event carries the state before it.
    const QStringList expected{
        QStringLiteral("press Shift_L 0x0"),    QStringLiteral("press Control_L 0x1"),
        QStringLiteral("press Alt_L 0x5"),      QStringLiteral("press 9 0xd"),
        QStringLiteral("release 9 0xd"),        QStringLiteral("release Shift_L 0xd"),
        QStringLiteral("release Control_L 0xc"), QStringLiteral("release Alt_L 0x8"),
    };
    QCOMPARE(allKeyEvents(helper), expected);
    QVERIFY(helper.quit());
}

void TestHostWindows::hostRunningFollowsWindow_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("running");
    QTest::newRow("ZBrush") << QStringLiteral("ZBrush") << QStringLiteral("ZBrush") << true;
    QTest::newRow("Wine, lower case") << QStringLiteral("zbrush.exe") << QStringLiteral("ZBrush") << true;
    QTest::newRow("other class") << QStringLiteral("Notepad.exe") << QStringLiteral("ZBrush") << false;
    QTest::newRow("other title") << QStringLiteral("ZBrush.exe") << QStringLiteral("ZBrush - Tool") << false;
}

void TestHostWindows::hostRunningFollowsWindow()
{
    QFETCH(QString, className);
    QFETCH(QString, title);
    QFETCH(bool, running);
    HostBridge bridge;
    QVERIFY(!bridge.isHostRunning());
    {
        WindowHelper helper;
        QVERIFY(helper.start(className, title));
        QCOMPARE(bridge.isHostRunning(), running);
        QVERIFY(helper.quit());
    }
    QTRY_VERIFY(!bridge.isHostRunning());
}

void TestHostWindows::findsClientInsideFrame()
{
    // ZBrush's window sits in a frame that carries neither class nor title, made
    // by a window manager without a client list, or not listed yet by one that
    // has one (and lists another window already).
    WindowHelper listed;
    QVERIFY(listed.start(QStringLiteral("Other"), QStringLiteral("Other")));
    const Window root = DefaultRootWindow(m_display);
    XSetWindowAttributes unmanaged{};
    unmanaged.override_redirect = True;
    const Window frame = XCreateWindow(m_display, root, 0, 0, 60, 60, 0, CopyFromParent, InputOutput, CopyFromParent,
                                       CWOverrideRedirect, &unmanaged);
    const Window decoration = XCreateSimpleWindow(m_display, frame, 0, 0, 60, 10, 0, 0, 0);
    const Window client = XCreateSimpleWindow(m_display, frame, 0, 10, 60, 50, 0, 0, 0);
    const auto destroyFrame = qScopeGuard([&] {
        XDestroyWindow(m_display, frame);
        XSync(m_display, False);
    });
    setClassAndTitle(m_display, client, "ZBrush.exe", "ZBrush");
    setWmState(m_display, client, NormalState);
    XMapSubwindows(m_display, frame);
    XMapWindow(m_display, frame);
    XSync(m_display, False);
    Q_UNUSED(decoration)

    QCOMPARE(Platform::findWindow(QStringLiteral("ZBrush"), QStringLiteral("ZBrush")), Platform::WindowId(client));
    QVERIFY(HostBridge().isHostRunning());
}

void TestHostWindows::bringsIconifiedHostToFront()
{
    WindowHelper helper;
    QVERIFY(helper.start(QStringLiteral("ZBrush.exe"), QStringLiteral("ZBrush")));
    QVERIFY(helper.iconify());
    QTRY_VERIFY(Platform::isWindowMinimized(helper.window));
    QVERIFY(Platform::isWindowVisible(helper.window));

    HostBridge bridge;
    bridge.bringHostToFront();
    // A window manager maps the window after it has seen the request to activate it.
    QVERIFY(!helper.waitFor(QStringLiteral("mapped")).isEmpty());
    QVERIFY(helper.seen.contains(QStringLiteral("active-request"))
            || !helper.waitFor(QStringLiteral("active-request")).isEmpty());
    QVERIFY(waitForFocus(helper.window));
    QTRY_VERIFY(!Platform::isWindowMinimized(helper.window));
    QVERIFY(helper.quit());
}

void TestHostWindows::bringsHostFromOtherDesktop()
{
    if (!m_windowManager->isRunning())
        QSKIP("needs a window manager with desktops");
    WindowHelper helper;
    QVERIFY(helper.start(QStringLiteral("ZBrush.exe"), QStringLiteral("ZBrush")));
    // The user switches to another desktop: the manager hides ZBrush's frame.
    const Window root = DefaultRootWindow(m_display);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = root;
    event.xclient.message_type = XInternAtom(m_display, "_NET_CURRENT_DESKTOP", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 1;
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XSync(m_display, False);
    XWindowAttributes attributes{};
    QTRY_VERIFY(XGetWindowAttributes(m_display, Window(helper.window), &attributes)
                && attributes.map_state != IsViewable);
    // Hidden, yet still a shown window of its program.
    QVERIFY(Platform::isWindowVisible(helper.window));

    HostBridge bridge;
    bridge.bringHostToFront();
    QVERIFY(waitForFocus(helper.window));
    QTRY_VERIFY(XGetWindowAttributes(m_display, Window(helper.window), &attributes)
                && attributes.map_state == IsViewable);
    QVERIFY(helper.quit());
}

void TestHostWindows::activationWithoutFocusLeavesHostIconic()
{
    // UI colour loads and colour exports reach ZBrush without bringing it forward.
    WindowHelper helper;
    QVERIFY(helper.start(QStringLiteral("ZBrush.exe"), QStringLiteral("ZBrush")));
    QVERIFY(helper.iconify());
    QTRY_VERIFY(Platform::isWindowMinimized(helper.window));

    HostBridge bridge;
    bridge.activate(QString(), QString(), HostCommandKind::ExportUIColors, false);
    QCOMPARE(allKeyEvents(helper).size(), 8);
    QVERIFY(helper.waitFor(QStringLiteral("mapped"), 1000).isEmpty());
    QVERIFY(!helper.seen.contains(QStringLiteral("active-request")));
    QVERIFY(Platform::isWindowMinimized(helper.window));
    QVERIFY(helper.quit());
}

void TestHostWindows::raisesFirstVisibleWindowOfProcess()
{
    // The window found by title is a hidden one; its process's shown window is raised.
    WindowHelper helper;
    QVERIFY(helper.start(QStringLiteral("ZBrush.exe"), QStringLiteral("ZBrush"), true));
    QVERIFY(helper.twin != 0);
    QCOMPARE(Platform::findWindow(QString(), QStringLiteral("ZBrush")), Platform::WindowId(helper.twin));
    QVERIFY(!Platform::isWindowVisible(helper.twin));
    WindowHelper other;
    QVERIFY(focusElsewhere(other));

    AppFolders::raiseWindow(QStringLiteral("ZBrush"));
    QVERIFY(!helper.waitFor(QStringLiteral("active-request")).isEmpty());
    QVERIFY(waitForFocus(helper.window));
    QVERIFY(helper.quit());
}

void TestHostWindows::focusesAfterWindowManagerEnded()
{
    if (m_windowManager->isRunning())
        QSKIP("needs a display without a window manager");
    // A window manager that ended abnormally leaves its announcement on the root;
    // nobody acts on activation requests any more.
    const Window root = DefaultRootWindow(m_display);
    const Atom check = XInternAtom(m_display, "_NET_SUPPORTING_WM_CHECK", False);
    const Atom supported = XInternAtom(m_display, "_NET_SUPPORTED", False);
    const Window gone = XCreateSimpleWindow(m_display, root, 0, 0, 1, 1, 0, 0, 0);
    XDestroyWindow(m_display, gone);
    long goneId = long(gone);
    long atoms[] = {long(XInternAtom(m_display, "_NET_ACTIVE_WINDOW", False))};
    XChangeProperty(m_display, root, check, XA_WINDOW, 32, PropModeReplace, reinterpret_cast<unsigned char *>(&goneId), 1);
    XChangeProperty(m_display, root, supported, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char *>(atoms), 1);
    XSync(m_display, False);
    const auto restoreRoot = qScopeGuard([&] {
        XDeleteProperty(m_display, root, check);
        XDeleteProperty(m_display, root, supported);
        XSync(m_display, False);
    });

    WindowHelper helper;
    QVERIFY(helper.start(QStringLiteral("ZBrush.exe"), QStringLiteral("ZBrush")));
    WindowHelper other;
    QVERIFY(focusElsewhere(other));
    HostBridge bridge;
    bridge.bringHostToFront();
    QVERIFY(waitForFocus(helper.window));
    QVERIFY(helper.quit());
}

void TestHostWindows::noDataFolderStillSendsChord()
{
    WindowHelper helper;
    QVERIFY(helper.start(QStringLiteral("ZBrush"), QStringLiteral("ZBrush")));
    WindowHelper other;
    QVERIFY(focusElsewhere(other));
    HostBridge bridge;
    QVERIFY(bridge.hostDataFolders().isEmpty());
    bridge.activate(QStringLiteral("Clay"), QStringLiteral("/brushes/Clay.ZBP"), HostCommandKind::Brush, true);
    QCOMPARE(allKeyEvents(helper).size(), 8);
    QVERIFY(waitForFocus(helper.window));
    QDirIterator files(m_prefix->path(), QDir::Files, QDirIterator::Subdirectories);
    QVERIFY2(!files.hasNext(), qPrintable(files.hasNext() ? files.next() : QString()));
    QVERIFY(helper.quit());
}

void TestHostWindows::secondKivaraRaisesFirst()
{
    const QString program = qEnvironmentVariable("KIVARA_BIN_DIR") + QStringLiteral("/kivara");
    if (!QFileInfo(program).isExecutable())
        QSKIP("the kivara program is not built");
    QTemporaryDir work;
    QVERIFY(work.isValid());
    // A private temporary folder keeps the single-instance key away from other tests.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), work.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcess first;
    first.setProcessEnvironment(environment);
    first.setWorkingDirectory(work.path());
    first.start(program, QStringList());
    QVERIFY(first.waitForStarted());

    // Its main window; the hidden mini-mode window carries the same title.
    const auto shownWindow = [&first]() -> Platform::WindowId {
        const auto windows = Platform::topLevelWindows();
        for (const auto candidate : windows) {
            if (Platform::windowProcess(candidate) == first.processId() && Platform::isWindowVisible(candidate))
                return candidate;
        }
        return 0;
    };
    Platform::WindowId window = 0;
    QTRY_VERIFY_WITH_TIMEOUT((window = shownWindow()) != 0, 20000);
    QVERIFY(Platform::findWindow(QString(), QStringLiteral("Kivara")) != 0);

    Display *display = m_display;
    // Close it politely on every way out, so that its single-instance segment goes away.
    const auto closeFirst = qScopeGuard([&] {
        XEvent close{};
        close.xclient.type = ClientMessage;
        close.xclient.window = window;
        close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        close.xclient.format = 32;
        close.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
        close.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, window, False, NoEventMask, &close);
        XFlush(display);
        first.waitForFinished(10000);
    });

    iconify(window);
    QTRY_VERIFY(Platform::isWindowMinimized(window));
    QTRY_VERIFY(inputFocus() != window);

    QProcess second;
    second.setProcessEnvironment(environment);
    second.setWorkingDirectory(work.path());
    second.start(program, QStringList());
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);

    XWindowAttributes attributes{};
    QTRY_VERIFY(XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable);
    QVERIFY(waitForFocus(window));
}

QTEST_MAIN(TestHostWindows)

#include "tst_hostwindows.moc"
