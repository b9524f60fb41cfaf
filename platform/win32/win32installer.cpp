#include "win32installer.h"

#include <windows.h>
#include <shellapi.h>

namespace Win32Platform {

// Inno Setup: no first prompt, silent, no start-menu icons, the portable type,
// into the folder Kivara runs from.
std::wstring installerParameters(const std::wstring &applicationFolder)
{
    return L"/SP- /silent /noicons /TYPE=portable \"/dir=" + applicationFolder + L"\"";
}

bool runInstaller(const std::wstring &installerPath, const std::wstring &applicationFolder)
{
    // The installer closes Kivara; Windows brings it back afterwards.
    RegisterApplicationRestart(nullptr, 0);
    const std::wstring parameters = installerParameters(applicationFolder);
    SHELLEXECUTEINFOW info = {};
    static_assert(sizeof(void *) != 8 || sizeof info == 112, "unexpected SHELLEXECUTEINFOW layout");
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpFile = installerPath.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOWDEFAULT;
    return ShellExecuteExW(&info);
}

} // namespace Win32Platform
