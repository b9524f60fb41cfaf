#include "win32installer.h"

#include <windows.h>
#include <shellapi.h>

namespace Win32Platform {

std::wstring installerParameters(const std::wstring &applicationFolder)
{
    return L"/SP- /silent /noicons /TYPE=portable \"/dir=" + applicationFolder + L"\"";
}

bool runInstaller(const std::wstring &installerPath, const std::wstring &applicationFolder)
{
    RegisterApplicationRestart(nullptr, 0);
    const std::wstring parameters = installerParameters(applicationFolder);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpFile = installerPath.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOWDEFAULT;
    return ShellExecuteExW(&info);
}

} // namespace Win32Platform
