// The Win32 platform layer under Wine.

#include "wintest.h"

#include "platform/win32/win32folders.h"
#include "platform/win32/win32installer.h"
#include "platform/win32/win32registry.h"
#include "platform/win32/win32windows.h"

#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

using WinTest::narrow;
namespace P = Win32Platform;

namespace {

std::wstring environment(const wchar_t *name)
{
    wchar_t value[2048];
    const DWORD length = GetEnvironmentVariableW(name, value, 2048);
    return length > 0 && length < 2048 ? std::wstring(value, length) : std::wstring();
}

void testFolders()
{
    WinTest::section("folders");
    const std::wstring documents = P::publicDocumentsFolder();
    CHECK_EQ(narrow(documents), narrow(environment(L"PUBLIC") + L"\\Documents"));
    const DWORD attributes = GetFileAttributesW(documents.c_str());
    CHECK(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));

    const std::wstring original = environment(L"PROGRAMFILES");
    const std::wstring values[] = {L"D:\\Apps\\Program Files", std::wstring(700, L'p')};
    for (const std::wstring &value : values) {
        SetEnvironmentVariableW(L"PROGRAMFILES", value.c_str());
        CHECK_EQ(narrow(P::programFilesFolder()), narrow(value));
    }
    SetEnvironmentVariableW(L"PROGRAMFILES", nullptr);
    CHECK(P::programFilesFolder().empty());
    SetEnvironmentVariableW(L"PROGRAMFILES", original.c_str());
}

const P::UninstallEntry *entry(const std::vector<P::UninstallEntry> &entries, const std::wstring &subkey)
{
    for (const P::UninstallEntry &e : entries) {
        if (e.subkey == subkey)
            return &e;
    }
    return nullptr;
}

const wchar_t *const UninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

struct WrittenEntry
{
    const wchar_t *subkey;
    REGSAM view;
    const wchar_t *displayName;
    const wchar_t *installLocation; // null: none; empty: a number instead of text
    bool terminated;                // text stored with its terminator, as installers do
};

void writeUninstallEntry(const WrittenEntry &written)
{
    HKEY key = nullptr;
    if (!CHECK(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (UninstallKey + std::wstring(written.subkey)).c_str(), 0, nullptr,
                               0, KEY_WRITE | written.view, nullptr, &key, nullptr) == ERROR_SUCCESS))
        return;
    const auto setText = [&](const wchar_t *value, const wchar_t *text) {
        RegSetValueExW(key, value, 0, REG_SZ, reinterpret_cast<const BYTE *>(text),
                       DWORD((std::wcslen(text) + (written.terminated ? 1 : 0)) * sizeof(wchar_t)));
    };
    setText(L"DisplayName", written.displayName);
    if (written.installLocation && *written.installLocation) {
        setText(L"InstallLocation", written.installLocation);
    } else if (written.installLocation) {
        const DWORD number = 7;
        RegSetValueExW(key, L"InstallLocation", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&number), sizeof number);
    }
    RegCloseKey(key);
}

void testUninstallEntries()
{
    WinTest::section("uninstall entries");
    const WrittenEntry written[] = {
        {L"KivaraTest ZBrush 2021", KEY_WOW64_64KEY, L"ZBrush 2021", L"C:\\Program Files\\Pixologic\\ZBrush 2021", true},
        {L"KivaraTest NoLocation", KEY_WOW64_64KEY, L"ZBrush 2022", nullptr, true},
        {L"KivaraTest Unterminated", KEY_WOW64_64KEY, L"ZBrush 2023", L"", false},
        {L"KivaraTest Wow32", KEY_WOW64_32KEY, L"ZBrush 32-bit view", nullptr, true},
    };
    for (const WrittenEntry &w : written)
        writeUninstallEntry(w);

    const std::vector<P::UninstallEntry> entries = P::uninstallEntries();
    const P::UninstallEntry *zbrush = entry(entries, L"KivaraTest ZBrush 2021");
    if (CHECK(zbrush != nullptr)) {
        CHECK_EQ(narrow(zbrush->displayName), std::string("ZBrush 2021"));
        CHECK_EQ(narrow(zbrush->installLocation), std::string("C:\\Program Files\\Pixologic\\ZBrush 2021"));
    }
    const P::UninstallEntry *noLocation = entry(entries, L"KivaraTest NoLocation");
    if (CHECK(noLocation != nullptr)) {
        CHECK_EQ(narrow(noLocation->displayName), std::string("ZBrush 2022"));
        CHECK(noLocation->installLocation.empty());
    }
    const P::UninstallEntry *unterminated = entry(entries, L"KivaraTest Unterminated");
    if (CHECK(unterminated != nullptr)) {
        CHECK_EQ(narrow(unterminated->displayName), std::string("ZBrush 2023"));
        CHECK(unterminated->installLocation.empty());
    }
    // Written to the 32-bit view only.
    CHECK(entry(entries, L"KivaraTest Wow32") == nullptr);
    for (const WrittenEntry &key : written)
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, (UninstallKey + std::wstring(key.subkey)).c_str(), key.view, 0);
}

struct KeyMessage
{
    UINT message;
    WPARAM key;
    LPARAM keyData;
    bool sent;
    bool operator==(const KeyMessage &other) const
    {
        return message == other.message && key == other.key && keyData == other.keyData && sent == other.sent;
    }
};

std::vector<KeyMessage> g_zbrushKeys;
std::vector<KeyMessage> g_decoyKeys;

LRESULT CALLBACK recordKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP
        || message == WM_CHAR || message == WM_SYSCHAR) {
        char className[32];
        GetClassNameA(window, className, sizeof className);
        auto &keys = std::strcmp(className, "ZBrush") == 0 ? g_zbrushKeys : g_decoyKeys;
        keys.push_back({message, wParam, lParam, InSendMessage() != FALSE});
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void registerClass(const wchar_t *name)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = recordKeys;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

HWND createWindow(const wchar_t *className, const wchar_t *title, bool visible)
{
    return CreateWindowExW(0, className, title, WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 10, 10, 300,
                           200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

struct HostThread
{
    HANDLE ready;
    HWND decoy;
    HWND zbrush;
};

// Stands in for ZBrush: its windows live on their own thread with its own
// message loop, as they would in another program.
DWORD WINAPI runHost(void *parameter)
{
    auto *host = static_cast<HostThread *>(parameter);
    host->decoy = createWindow(L"ZBrushDecoy", L"ZBrush", false);
    host->zbrush = createWindow(L"ZBrush", L"ZBrush", false);
    SetEvent(host->ready);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    DestroyWindow(host->zbrush);
    DestroyWindow(host->decoy);
    return 0;
}

// The chord HostBridge sends to ZBrush, as the script plug-in expects it.
const std::vector<P::KeyMessage> ActivationChord = {
    {P::KeyMessageType::KeyDown, 0x10, 0x202A0001},   {P::KeyMessageType::KeyDown, 0x11, 0x001D0001},
    {P::KeyMessageType::KeyDown, 0x12, 0x20380001},   {P::KeyMessageType::KeyDown, 0x39, 0x200A0001},
    {P::KeyMessageType::KeyUp, 0x39, 0xE00A0001},     {P::KeyMessageType::KeyUp, 0x10, 0xC02A0001},
    {P::KeyMessageType::SystemKeyUp, 0x11, 0xE01D0001}, {P::KeyMessageType::KeyUp, 0x12, 0xC0380001},
};

void testActivationKeys()
{
    WinTest::section("ZBrush window and the activation keys");
    registerClass(L"ZBrush");
    registerClass(L"ZBrushDecoy");
    HostThread host = {CreateEventW(nullptr, TRUE, FALSE, nullptr), nullptr, nullptr};
    DWORD threadId = 0;
    const HANDLE thread = CreateThread(nullptr, 0, runHost, &host, 0, &threadId);
    WaitForSingleObject(host.ready, 10000);
    if (!CHECK(host.zbrush && host.decoy))
        return;

    CHECK(P::findWindow(L"ZBrush", L"ZBrush") == host.zbrush);
    CHECK(P::findWindow(L"ZBrush", L"ZBrush 2021") == nullptr);
    CHECK(P::findWindow(L"Kivara", L"ZBrush") == nullptr);
    CHECK(P::findWindow(L"ZBrushDecoy", L"") == host.decoy);
    // Any class: the later window lies above the earlier one.
    CHECK(P::findWindow(L"", L"ZBrush") == host.zbrush);
    CHECK(P::findWindow(L"", L"No window has this title") == nullptr);
    CHECK_EQ(P::windowProcess(host.zbrush), GetCurrentProcessId());
    CHECK_EQ(P::windowProcess(nullptr), DWORD(0));

    P::sendKeyMessages(host.zbrush, ActivationChord);
    const std::vector<KeyMessage> expected = {
        {WM_KEYDOWN, 0x10, 0x202A0001, true},
        {WM_KEYDOWN, 0x11, 0x001D0001, true},
        {WM_KEYDOWN, 0x12, 0x20380001, true},
        {WM_KEYDOWN, 0x39, 0x200A0001, true},
        {WM_KEYUP, 0x39, LPARAM(0xE00A0001), true},
        {WM_KEYUP, 0x10, LPARAM(0xC02A0001), true},
        {WM_SYSKEYUP, 0x11, LPARAM(0xE01D0001), true},
        {WM_KEYUP, 0x12, LPARAM(0xC0380001), true},
    };
    // Sent messages are handled before SendMessage returns: nothing to wait for.
    if (!CHECK(g_zbrushKeys == expected)) {
        for (const KeyMessage &k : g_zbrushKeys)
            std::printf("   0x%04x key 0x%02x data 0x%08llx%s\n", k.message, unsigned(k.key),
                        static_cast<unsigned long long>(k.keyData) & 0xFFFFFFFFull, k.sent ? " sent" : "");
    }
    CHECK(g_decoyKeys.empty());
    g_zbrushKeys.clear();
    P::sendKeyMessages(nullptr, ActivationChord);
    CHECK(g_zbrushKeys.empty() && g_decoyKeys.empty());

    PostThreadMessageW(threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    CloseHandle(host.ready);
    CHECK(P::findWindow(L"ZBrush", L"ZBrush") == nullptr);
    // A window that went away answers like none.
    CHECK_EQ(P::windowProcess(host.zbrush), DWORD(0));
    CHECK(!P::isWindowVisible(host.zbrush));
}

// Where the window stands in topLevelWindows; -1 when it is missing.
int zOrderOf(HWND window)
{
    const std::vector<HWND> windows = P::topLevelWindows();
    for (size_t i = 0; i < windows.size(); ++i) {
        if (windows[i] == window)
            return int(i);
    }
    return -1;
}

void testWindowStates()
{
    WinTest::section("window order, visibility, restore and foreground");
    registerClass(L"KivaraProbe");
    const HWND lower = createWindow(L"KivaraProbe", L"Kivara lower", true);
    const HWND upper = createWindow(L"KivaraProbe", L"Kivara upper", true);
    const HWND hidden = createWindow(L"KivaraProbe", L"Kivara hidden", false);
    SetWindowPos(upper, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    CHECK(zOrderOf(upper) >= 0 && zOrderOf(lower) > zOrderOf(upper));
    SetWindowPos(lower, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    CHECK(zOrderOf(upper) > zOrderOf(lower) && zOrderOf(lower) >= 0);
    CHECK(zOrderOf(hidden) >= 0);

    CHECK(P::isWindowVisible(lower));
    CHECK(!P::isWindowVisible(hidden));
    CHECK(!P::isWindowVisible(nullptr));
    CHECK(!P::isWindowMinimized(lower));
    CHECK(!P::isWindowMinimized(nullptr));

    // A minimised window still counts as visible; restoring brings it back.
    ShowWindow(lower, SW_MINIMIZE);
    CHECK(P::isWindowMinimized(lower));
    CHECK(P::isWindowVisible(lower));
    P::restoreWindow(lower);
    CHECK(!P::isWindowMinimized(lower));
    CHECK(!IsIconic(lower) && IsWindowVisible(lower));
    P::restoreWindow(nullptr);

    P::setForegroundWindow(upper);
    CHECK(GetForegroundWindow() == upper);
    P::setForegroundWindow(lower);
    CHECK(GetForegroundWindow() == lower);
    P::setForegroundWindow(nullptr);
    CHECK(GetForegroundWindow() == lower);

    DestroyWindow(hidden);
    DestroyWindow(upper);
    DestroyWindow(lower);
    CHECK_EQ(zOrderOf(lower), -1);
}

std::wstring ownPath()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

std::string waitAndRead(const std::wstring &path)
{
    // The started program renames its finished file into place; while Wine's
    // rename still holds the file, opening it fails, so retry the open itself.
    for (int i = 0; i < 600; ++i) {
        if (FILE *file = _wfopen(path.c_str(), L"rb"))
            return WinTest::readAndClose(file);
        Sleep(50);
    }
    return "<missing>";
}

void testRunInstaller()
{
    WinTest::section("runInstaller");
    // The "installer" is this program again: it records its command line.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring log = std::wstring(temp) + L"kivara-installer-" + std::to_wstring(GetCurrentProcessId());
    DeleteFileW(log.c_str());
    SetEnvironmentVariableW(L"KIVARA_TEST_INSTALLER_LOG", log.c_str());
    CHECK(P::runInstaller(ownPath(), L"C:/Kivara Test/bin"));
    const std::string commandLine = waitAndRead(log);
    const std::string parameters = " /SP- /silent /noicons /TYPE=portable \"/dir=C:/Kivara Test/bin\"";
    CHECK(commandLine.size() > parameters.size()
          && commandLine.compare(commandLine.size() - parameters.size(), parameters.size(), parameters) == 0);
    std::printf("   installer command line: %s\n", commandLine.c_str());
    // Registered for restart without a command line or flags. Wine keeps no
    // restart settings (E_NOTIMPL); Windows does.
    wchar_t restartCommandLine[64] = L"unset";
    DWORD size = 64;
    DWORD flags = 99;
    const HRESULT restart = GetApplicationRestartSettings(GetCurrentProcess(), restartCommandLine, &size, &flags);
    if (restart != E_NOTIMPL)
        CHECK(restart == S_OK && flags == 0 && restartCommandLine[0] == L'\0');
    else
        std::printf("   restart registration not observable under Wine\n");
    SetEnvironmentVariableW(L"KIVARA_TEST_INSTALLER_LOG", nullptr);
    DeleteFileW(log.c_str());

    CHECK(!P::runInstaller(std::wstring(temp) + L"no-such-installer.exe", L"C:/Kivara"));
}

// Started by runInstaller: write the command line, complete, then end.
int recordCommandLine(const std::wstring &log)
{
    const std::wstring partial = log + L".part";
    FILE *file = _wfopen(partial.c_str(), L"wb");
    if (!file)
        return 1;
    const std::string commandLine = narrow(GetCommandLineW());
    std::fwrite(commandLine.data(), 1, commandLine.size(), file);
    std::fclose(file);
    return MoveFileW(partial.c_str(), log.c_str()) ? 0 : 1;
}

} // namespace

int main()
{
    const std::wstring installerLog = environment(L"KIVARA_TEST_INSTALLER_LOG");
    if (!installerLog.empty())
        return recordCommandLine(installerLog);

    testFolders();
    testUninstallEntries();
    testActivationKeys();
    testWindowStates();
    testRunInstaller();
    return WinTest::finish("win32platform_test");
}
