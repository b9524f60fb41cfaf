#define DIRTOOL_BUILD
#include "dirtool.h"

#include "folderenumeration.h"
#include "memoryblock.h"
#include "resultlist.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>
#include <commdlg.h>
#include <knownfolders.h>
#include <shellapi.h>
#include <shlobj.h>

namespace {

const char *const InitialDialogTitle = "Select Files";
const char *const DialogTitleWithoutText = "Select Files...";
constexpr size_t DialogTitleSize = 256;
constexpr size_t DefaultFolderSize = 512;
constexpr size_t FilterSize = 256;
constexpr int MaxExtensions = 10;
constexpr size_t CopyChunk = 4000;
constexpr size_t MaxEmptyFolderPath = 255;

// Library state: one copy for the process, kept while ZBrush holds the library.
std::string g_dialogTitle = InitialDialogTitle;
std::string g_defaultFolder;
ResultList g_resultList;
FolderEnumeration g_openFolder;

std::string cut(const char *text, size_t size)
{
    return std::string(text, strnlen(text, size - 1));
}

bool isDotEntry(const char *name)
{
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

// "zbr, .ZPR" -> "zbrZPR" minus blanks and dots, keeping the commas.
std::string cleanExtensions(const std::string &text)
{
    std::string cleaned;
    for (const char c : text) {
        if (c != ' ' && c != '.')
            cleaned += c;
    }
    return cleaned;
}

// The dialog's filter: "(*.a;*.b)\0*.a;*.b\0\0". False when it does not fit.
bool buildFilter(const std::string &extensions, std::string *filter)
{
    std::string patterns;
    int used = 0;
    size_t start = 0;
    while (start <= extensions.size() && used < MaxExtensions) {
        size_t comma = extensions.find(',', start);
        if (comma == std::string::npos)
            comma = extensions.size();
        const std::string extension = extensions.substr(start, comma - start);
        if (!extension.empty()) {
            if (!patterns.empty())
                patterns += ';';
            patterns += "*." + extension;
            ++used;
        }
        start = comma + 1;
    }
    // Nothing but commas and blanks left: offer every file rather than none.
    if (patterns.empty())
        patterns = "*.*";
    const std::string description = "(" + patterns + ")";
    if (description.size() + 1 + patterns.size() + 1 + 1 > FilterSize)
        return false;
    *filter = description + '\0' + patterns + '\0' + '\0';
    return true;
}

bool sameFile(const char *first, const std::string &second)
{
    auto identify = [](const char *path, BY_HANDLE_FILE_INFORMATION *info) {
        const HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        const bool known = GetFileInformationByHandle(file, info);
        CloseHandle(file);
        return known;
    };
    BY_HANDLE_FILE_INFORMATION a;
    BY_HANDLE_FILE_INFORMATION b;
    return identify(first, &a) && identify(second.c_str(), &b)
        && a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh
        && a.nFileIndexLow == b.nFileIndexLow;
}

void sendKey(WORD virtualKey, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

} // namespace

float Version(const char *, double, char *, int)
{
    return 4.0f;
}

float GetPublicFolder(const char *, double, char *block, int blockSize)
{
    if (!block)
        return -1.0f;
    PWSTR wide = nullptr;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_PublicDocuments, 0, nullptr, &wide))) {
        CoTaskMemFree(wide);
        return -1.0f;
    }
    const int needed = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string folder(needed > 0 ? static_cast<size_t>(needed) : 0, '\0');
    const bool converted = needed > 0
        && WideCharToMultiByte(CP_ACP, 0, wide, -1, &folder[0], needed, nullptr, nullptr) == needed;
    CoTaskMemFree(wide);
    if (!converted)
        return -1.0f;
    folder.resize(static_cast<size_t>(needed) - 1);
    MemoryBlock::write(block, blockSize, folder);
    return 0.0f;
}

float LaunchAppWithFile(const char *text, double, char *block, int blockSize)
{
    if (!text)
        return -1.0f;
    const std::string application = MemoryBlock::read(block, blockSize);
    if (!application.empty())
        ShellExecuteA(nullptr, "open", application.c_str(), text, nullptr, SW_SHOWNORMAL);
    else
        ShellExecuteA(nullptr, "open", text, nullptr, nullptr, SW_SHOWNORMAL);
    return 0.0f;
}

float SetDefaultFolder(const char *text, double, char *, int)
{
    g_defaultFolder = text ? cut(text, DefaultFolderSize) : std::string();
    return 0.0f;
}

float SetDialogTitle(const char *text, double, char *, int)
{
    g_dialogTitle = text ? cut(text, DialogTitleSize) : std::string(InitialDialogTitle);
    return 0.0f;
}

float GetFilesDialog(const char *text, double number, char *block, int blockSize)
{
    g_resultList.clear();
    g_dialogTitle = text ? cut(text, DialogTitleSize) : std::string(DialogTitleWithoutText);

    std::string filter = std::string("*.*") + '\0' + "*.*" + '\0' + '\0';
    if (block) {
        const std::string extensions = cleanExtensions(MemoryBlock::read(block, blockSize));
        MemoryBlock::write(block, blockSize, extensions);
        if (!buildFilter(extensions, &filter))
            return -2.0f;
    }

    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = nullptr;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = g_resultList.data();
    dialog.nMaxFile = ResultList::Size;
    dialog.lpstrInitialDir = g_defaultFolder.empty() ? nullptr : g_defaultFolder.c_str();
    dialog.lpstrTitle = g_dialogTitle.c_str();
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_SHAREAWARE;
    if (number != 1.0)
        dialog.Flags |= OFN_ALLOWMULTISELECT | OFN_EXPLORER;
    if (!GetOpenFileNameA(&dialog)) {
        // A too-small buffer leaves the needed size in the list's first bytes.
        g_resultList.clear();
        return 0.0f;
    }
    return static_cast<float>(g_resultList.entryCount());
}

float GetFilePath(const char *, double number, char *block, int blockSize)
{
    if (!block)
        return -1.0f;
    if (!(number >= 1.0) || number >= static_cast<double>(ResultList::Size))
        return 0.0f;
    std::string path;
    if (!g_resultList.path(static_cast<int>(std::trunc(number)), &path))
        return 0.0f;
    MemoryBlock::write(block, blockSize, path);
    return static_cast<float>(path.size());
}

float GetDirFileList(const char *text, double number, char *, int)
{
    if (!text || !*text)
        return 0.0f;
    g_resultList.clear();
    const bool wantFolders = number != 0.0;

    std::string pattern = text;
    if (pattern.back() != '\\')
        pattern += '\\';
    pattern += '*';
    // A longer path cannot be searched; cutting it would list another folder.
    if (pattern.size() >= MAX_PATH)
        return 0.0f;
    const std::string folder = pattern.substr(0, pattern.size() - 2);

    WIN32_FIND_DATAA entry;
    const HANDLE find = FindFirstFileA(pattern.c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return 0.0f;
    int taken = 0;
    std::string held;
    do {
        const bool isFolder = entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        if (isFolder != wantFolders
            || (entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
            continue;
        if (taken == 0) {
            held = entry.cFileName;
            taken = 1;
            continue;
        }
        if (taken == 1 && !(g_resultList.append(folder) && g_resultList.append(held)))
            break;
        if (!g_resultList.append(entry.cFileName))
            break;
        ++taken;
    } while (FindNextFileA(find, &entry));
    FindClose(find);

    if (taken == 1) {
        g_resultList.clear();
        g_resultList.append(folder + '\\' + held);
    }
    return static_cast<float>(taken);
}

float GetFileNumber(const char *text, double, char *, int)
{
    if (!text)
        return -5.0f;
    std::string pattern = text;
    if (pattern.empty())
        return -1.0f;
    if (pattern.back() != '\\')
        pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAA entry;
    const HANDLE find = FindFirstFileA(pattern.c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return -1.0f;
    // "." and ".." are left out by name: a drive's root folder has neither.
    int count = 0;
    do {
        if (!isDotEntry(entry.cFileName))
            ++count;
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return static_cast<float>(count);
}

float OpenFolder(const char *text, double, char *, int)
{
    return g_openFolder.open(text) ? 0.0f : -1.0f;
}

float GetFile(const char *, double, char *block, int blockSize)
{
    std::string name;
    const FolderEnumeration::NextResult result = g_openFolder.next(&name);
    if (result == FolderEnumeration::Entry)
        MemoryBlock::write(block, blockSize, name);
    return static_cast<float>(result);
}

float CloseFolder(const char *, double, char *, int)
{
    return g_openFolder.close() ? 0.0f : -1.0f;
}

float FolderExists(const char *text, double, char *, int)
{
    g_openFolder.close();
    return FolderEnumeration::probe(text) ? 1.0f : 0.0f;
}

float MakeFolder(const char *text, double, char *, int)
{
    return text && CreateDirectoryA(text, nullptr) ? 0.0f : -1.0f;
}

float DeleteFolder(const char *text, double, char *, int)
{
    return text && RemoveDirectoryA(text) ? 0.0f : -1.0f;
}

float EmptyFolder(const char *text, double, char *, int)
{
    // An empty text would name the root of the current drive.
    if (!text || !*text)
        return -1.0f;
    std::string folder = text;
    if (folder.back() != '\\')
        folder += '\\';
    WIN32_FIND_DATAA entry;
    const HANDLE find = FindFirstFileA((folder + '*').c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return -1.0f;
    do {
        if (isDotEntry(entry.cFileName))
            continue;
        const std::string path = folder + entry.cFileName;
        // Names without a dot are taken for sub-folders and kept.
        if (path.size() <= MaxEmptyFolderPath && std::strchr(entry.cFileName, '.'))
            DeleteFileA(path.c_str());
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return 0.0f;
}

float FileCopyTo(const char *text, double, char *block, int blockSize)
{
    if (!text || !block)
        return -1.0f;
    const std::string destination = MemoryBlock::read(block, blockSize);
    // Deleting the destination first would otherwise delete the source.
    if (sameFile(text, destination))
        return -1.0f;
    DeleteFileA(destination.c_str());

    FILE *source = std::fopen(text, "rb");
    if (!source)
        return -1.0f;
    FILE *target = std::fopen(destination.c_str(), "wb");
    if (!target) {
        std::fclose(source);
        return -1.0f;
    }
    std::vector<char> chunk(CopyChunk);
    bool ok = true;
    for (;;) {
        const size_t read = std::fread(chunk.data(), 1, chunk.size(), source);
        if (read > 0 && std::fwrite(chunk.data(), 1, read, target) != read) {
            ok = false;
            break;
        }
        if (read < chunk.size()) {
            ok = !std::ferror(source);
            break;
        }
    }
    std::fclose(source);
    if (std::fclose(target) != 0)
        ok = false;
    return ok ? 0.0f : -1.0f;
}

float FileRename(const char *text, double, char *block, int blockSize)
{
    if (!text || !block)
        return -1.0f;
    const std::string newPath = MemoryBlock::read(block, blockSize);
    if (newPath == text)
        return -1.0f;
    return MoveFileA(text, newPath.c_str()) ? 0.0f : -1.0f;
}

float FileDelete(const char *text, double, char *, int)
{
    return text && DeleteFileA(text) ? 0.0f : -1.0f;
}

float PasteText(const char *text, double, char *, int)
{
    if (!text)
        return 0.0f;
    for (const unsigned char *c = reinterpret_cast<const unsigned char *>(text); *c; ++c) {
        const bool upper = *c >= 'A' && *c <= 'Z';
        const WORD key = (*c >= 'a' && *c <= 'z') ? WORD(*c - 'a' + 'A') : WORD(*c);
        if (upper)
            sendKey(VK_SHIFT, false);
        sendKey(key, false);
        sendKey(key, true);
        if (upper)
            sendKey(VK_SHIFT, true);
    }
    sendKey(VK_RETURN, false);
    sendKey(VK_RETURN, true);
    return 0.0f;
}
