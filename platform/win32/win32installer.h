#pragma once

#include <string>

namespace Win32Platform {

// The installer switches for an unattended portable installation into
// applicationFolder: no prompt, silent, no start-menu icons.
std::wstring installerParameters(const std::wstring &applicationFolder);

// Registers Kivara to be restarted by the system, then starts the downloaded
// installer. True when the installer was started.
bool runInstaller(const std::wstring &installerPath, const std::wstring &applicationFolder);

} // namespace Win32Platform
