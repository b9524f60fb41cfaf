// Platform:: on Windows: converts between Qt's types and the plain Win32 layer,
// which the Wine tests exercise on their own.
#include "platform/platform.h"
#include "platform/win32/win32folders.h"
#include "platform/win32/win32registry.h"
#include "platform/win32/win32windows.h"

#include <vector>

namespace Platform {

namespace {

HWND toHandle(WindowId window)
{
    return reinterpret_cast<HWND>(window);
}

WindowId toId(HWND window)
{
    return reinterpret_cast<WindowId>(window);
}

Win32Platform::KeyMessageType toWin32(KeyMessageType type)
{
    switch (type) {
    case KeyMessageType::KeyDown:
        return Win32Platform::KeyMessageType::KeyDown;
    case KeyMessageType::KeyUp:
        return Win32Platform::KeyMessageType::KeyUp;
    case KeyMessageType::SystemKeyUp:
        return Win32Platform::KeyMessageType::SystemKeyUp;
    }
    return Win32Platform::KeyMessageType::KeyUp;
}

} // namespace

QString publicDocumentsFolder()
{
    return QString::fromStdWString(Win32Platform::publicDocumentsFolder());
}

QString programFilesFolder()
{
    return QString::fromStdWString(Win32Platform::programFilesFolder());
}

QList<UninstallEntry> uninstallEntries()
{
    QList<UninstallEntry> entries;
    const auto found = Win32Platform::uninstallEntries();
    entries.reserve(static_cast<int>(found.size()));
    for (const auto &entry : found) {
        entries.append({QString::fromStdWString(entry.subkey), QString::fromStdWString(entry.displayName),
                        QString::fromStdWString(entry.installLocation)});
    }
    return entries;
}

WindowId findWindow(const QString &className, const QString &title)
{
    return toId(Win32Platform::findWindow(className.toStdWString(), title.toStdWString()));
}

qint64 windowProcess(WindowId window)
{
    return Win32Platform::windowProcess(toHandle(window));
}

QList<WindowId> topLevelWindows()
{
    QList<WindowId> windows;
    const auto found = Win32Platform::topLevelWindows();
    windows.reserve(static_cast<int>(found.size()));
    for (const HWND window : found)
        windows.append(toId(window));
    return windows;
}

bool isWindowVisible(WindowId window)
{
    return Win32Platform::isWindowVisible(toHandle(window));
}

bool isWindowMinimized(WindowId window)
{
    return Win32Platform::isWindowMinimized(toHandle(window));
}

void restoreWindow(WindowId window)
{
    Win32Platform::restoreWindow(toHandle(window));
}

void setForegroundWindow(WindowId window)
{
    Win32Platform::setForegroundWindow(toHandle(window));
}

void sendKeyMessages(WindowId window, const QList<KeyMessage> &messages)
{
    std::vector<Win32Platform::KeyMessage> keys;
    keys.reserve(static_cast<size_t>(messages.size()));
    for (const KeyMessage &message : messages)
        keys.push_back({toWin32(message.type), message.virtualKey, message.keyData});
    Win32Platform::sendKeyMessages(toHandle(window), keys);
}

} // namespace Platform
