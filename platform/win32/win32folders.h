#pragma once

#include <string>

// Folders Kivara reads on Windows. Plain Win32 so that the Qt side stays a thin
// adapter (QString::fromStdWString) and this code is tested under Wine.
namespace Win32Platform {

// FOLDERID_PublicDocuments; empty when the system does not know it.
std::wstring publicDocumentsFolder();

// The PROGRAMFILES environment variable; empty when it is unset.
std::wstring programFilesFolder();

} // namespace Win32Platform
