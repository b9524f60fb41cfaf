// Loads Dirtool64.dll the way ZBrush's script plug-in does and calls its exports.
// Usage: dirtool_test <path of Dirtool64.dll>

#include "wintest.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <windows.h>
#include <dlgs.h>
#include <tlhelp32.h>

namespace {

using Export = float (*)(const char *, double, char *, int);

struct Dirtool
{
    Export Version, GetPublicFolder, LaunchAppWithFile, SetDefaultFolder, SetDialogTitle,
        GetFilesDialog, GetFilePath, GetDirFileList, GetFileNumber, OpenFolder, GetFile,
        CloseFolder, FolderExists, MakeFolder, DeleteFolder, EmptyFolder, FileCopyTo, FileRename,
        FileDelete, PasteText;
};

Dirtool dt;
std::string g_root;

bool load(const char *path)
{
    const HMODULE module = LoadLibraryA(path);
    if (!CHECK(module != nullptr))
        return false;
    struct Named { const char *name; Export *slot; };
    const Named exports[] = {
        {"Version", &dt.Version}, {"GetPublicFolder", &dt.GetPublicFolder},
        {"LaunchAppWithFile", &dt.LaunchAppWithFile}, {"SetDefaultFolder", &dt.SetDefaultFolder},
        {"SetDialogTitle", &dt.SetDialogTitle}, {"GetFilesDialog", &dt.GetFilesDialog},
        {"GetFilePath", &dt.GetFilePath}, {"GetDirFileList", &dt.GetDirFileList},
        {"GetFileNumber", &dt.GetFileNumber}, {"OpenFolder", &dt.OpenFolder},
        {"GetFile", &dt.GetFile}, {"CloseFolder", &dt.CloseFolder},
        {"FolderExists", &dt.FolderExists}, {"MakeFolder", &dt.MakeFolder},
        {"DeleteFolder", &dt.DeleteFolder}, {"EmptyFolder", &dt.EmptyFolder},
        {"FileCopyTo", &dt.FileCopyTo}, {"FileRename", &dt.FileRename},
        {"FileDelete", &dt.FileDelete}, {"PasteText", &dt.PasteText},
    };
    bool all = true;
    for (const Named &e : exports) {
        *e.slot = reinterpret_cast<Export>(reinterpret_cast<void *>(GetProcAddress(module, e.name)));
        if (!*e.slot) {
            std::printf("missing export %s\n", e.name);
            all = false;
        }
    }
    return CHECK(all);
}

std::string in(const std::string &relative)
{
    return g_root + "\\" + relative;
}

void writeFile(const std::string &path, const std::string &content)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!CHECK(file != nullptr))
        return;
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
}

std::string readFile(const std::string &path)
{
    return WinTest::readAndClose(std::fopen(path.c_str(), "rb"));
}

bool exists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void makeFolder(const std::string &path)
{
    CHECK(CreateDirectoryA(path.c_str(), nullptr));
}

void removeTree(const std::string &path)
{
    WIN32_FIND_DATAA entry;
    const HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}

// The path GetFilePath gives for an index, and its answer.
std::string filePath(double index, float *result = nullptr)
{
    char block[1024];
    std::memset(block, 'Z', sizeof block);
    const float answer = dt.GetFilePath(nullptr, index, block, sizeof block);
    if (result)
        *result = answer;
    return answer > 0.0f || (answer == 0.0f && block[0] != 'Z') ? std::string(block) : "<none>";
}

// GetFilePath answers 0 for an index outside the list.
bool outsideList(double index)
{
    float length = -1;
    filePath(index, &length);
    return length == 0.0f;
}

std::set<std::string> listedPaths(int count)
{
    std::set<std::string> paths;
    for (int i = 1; i <= count; ++i)
        paths.insert(filePath(i));
    return paths;
}

void testVersion()
{
    WinTest::section("Version");
    CHECK_EQ(dt.Version(nullptr, 0.0, nullptr, 0), 4.0f);
    CHECK_EQ(dt.Version("x", 7.0, nullptr, -1), 4.0f);
}

void testDirFileList()
{
    WinTest::section("GetDirFileList and GetFilePath");
    makeFolder(in("one"));
    writeFile(in("one\\only.txt"), "x");
    const std::string only = in("one\\only.txt");
    for (const std::string &folder : {in("one"), in("one\\")}) {
        CHECK_EQ(dt.GetDirFileList(folder.c_str(), 0.0, nullptr, 0), 1.0f);
        float length = 0;
        CHECK_EQ(filePath(1, &length), only);
        CHECK_EQ(length, float(only.size()));
        CHECK_EQ(filePath(1.9), only);
        CHECK(outsideList(2) && outsideList(0) && outsideList(-1));
    }
    char block[8];
    CHECK_EQ(dt.GetFilePath(nullptr, 1.0, nullptr, 8), -1.0f);
    CHECK_EQ(dt.GetFilePath(nullptr, 1.0, block, sizeof block), float(only.size()));

    makeFolder(in("several"));
    makeFolder(in("several\\sub"));
    for (const char *name : {"a.txt", "b.txt", "c.txt", "h.txt"})
        writeFile(in("several\\") + name, name);
    SetFileAttributesA(in("several\\h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    CHECK_EQ(dt.GetDirFileList(in("several").c_str(), 0.0, nullptr, 0), 3.0f);
    const std::set<std::string> files = {in("several\\a.txt"), in("several\\b.txt"),
                                         in("several\\c.txt")};
    CHECK(listedPaths(3) == files);
    CHECK(outsideList(4));

    // Folders, with the two dot entries taken like any other folder.
    CHECK_EQ(dt.GetDirFileList(in("several").c_str(), 1.0, nullptr, 0), 3.0f);
    const std::set<std::string> folders = {in("several\\."), in("several\\.."),
                                           in("several\\sub")};
    CHECK(listedPaths(3) == folders);
    CHECK_EQ(dt.GetDirFileList(in("several\\sub").c_str(), 0.0, nullptr, 0), 0.0f);
    // An empty list reads as one entry with an empty path.
    CHECK_EQ(filePath(1), std::string());
    CHECK(outsideList(1));

    CHECK_EQ(dt.GetDirFileList(in("missing").c_str(), 0.0, nullptr, 0), 0.0f);
    CHECK_EQ(dt.GetDirFileList("", 0.0, nullptr, 0), 0.0f);
    CHECK_EQ(dt.GetDirFileList(nullptr, 0.0, nullptr, 0), 0.0f);

    // More names than the 4096-byte list holds: the listing stops at the first
    // that does not fit and what was taken stays readable.
    makeFolder(in("many"));
    for (int i = 0; i < 30; ++i)
        writeFile(in("many\\") + std::string(180, char('a' + i % 26)) + std::to_string(i) + ".txt", "");
    const float taken = dt.GetDirFileList(in("many").c_str(), 0.0, nullptr, 0);
    CHECK(taken > 1.0f && taken < 30.0f);
    const std::string last = filePath(taken);
    CHECK(last.rfind(in("many\\"), 0) == 0 && exists(last));
    CHECK(outsideList(taken + 1));
}

void testFileNumber()
{
    WinTest::section("GetFileNumber");
    makeFolder(in("empty"));
    CHECK_EQ(dt.GetFileNumber(in("empty").c_str(), 0.0, nullptr, 0), 0.0f);
    CHECK_EQ(dt.GetFileNumber((in("empty") + "\\").c_str(), 0.0, nullptr, 0), 0.0f);
    // Hidden entries count too: a.txt b.txt c.txt h.txt sub.
    CHECK_EQ(dt.GetFileNumber(in("several").c_str(), 0.0, nullptr, 0), 5.0f);
    CHECK_EQ(dt.GetFileNumber(nullptr, 0.0, nullptr, 0), -5.0f);
    CHECK_EQ(dt.GetFileNumber(in("missing").c_str(), 0.0, nullptr, 0), -1.0f);
    CHECK_EQ(dt.GetFileNumber("", 0.0, nullptr, 0), -1.0f);
}

std::string nextFile(float *result)
{
    char block[MAX_PATH];
    std::memset(block, 'Z', sizeof block);
    *result = dt.GetFile(nullptr, 0.0, block, sizeof block);
    return *result == 0.0f ? std::string(block) : std::string("<none>");
}

void testEnumeration()
{
    WinTest::section("OpenFolder, GetFile, CloseFolder, FolderExists");
    makeFolder(in("enum"));
    writeFile(in("enum\\a.txt"), "");
    makeFolder(in("dots"));
    writeFile(in("dots\\.x"), "");
    float result = 0;

    CHECK_EQ(dt.OpenFolder(in("enum").c_str(), 0.0, nullptr, 0), 0.0f);
    CHECK_EQ(nextFile(&result), std::string("a.txt"));
    CHECK_EQ(result, 0.0f);
    nextFile(&result);
    CHECK_EQ(result, -3.0f);
    nextFile(&result);
    CHECK_EQ(result, -3.0f);
    CHECK_EQ(dt.CloseFolder(nullptr, 0.0, nullptr, 0), 0.0f);
    nextFile(&result);
    CHECK_EQ(result, -1.0f);
    CHECK_EQ(dt.CloseFolder(nullptr, 0.0, nullptr, 0), -1.0f);

    // ".", ".." and ".x" are skipped: only dot entries were left.
    CHECK_EQ(dt.OpenFolder(in("dots").c_str(), 0.0, nullptr, 0), 0.0f);
    nextFile(&result);
    CHECK_EQ(result, -4.0f);
    nextFile(&result);
    CHECK_EQ(result, -3.0f);

    // A new OpenFolder replaces the open one; a relative folder is made absolute.
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(g_root.c_str());
    CHECK_EQ(dt.OpenFolder("enum", 0.0, nullptr, 0), 0.0f);
    SetCurrentDirectoryA(previous);
    CHECK_EQ(nextFile(&result), std::string("a.txt"));

    CHECK_EQ(dt.OpenFolder(in("enum").c_str(), 0.0, nullptr, 0), 0.0f);
    CHECK_EQ(dt.FolderExists(g_root.c_str(), 0.0, nullptr, 0), 1.0f);
    nextFile(&result);
    CHECK_EQ(result, -1.0f);

    CHECK_EQ(dt.OpenFolder(in("enum").c_str(), 0.0, nullptr, 0), 0.0f);
    CHECK_EQ(dt.OpenFolder(in("missing").c_str(), 0.0, nullptr, 0), -1.0f);
    nextFile(&result);
    CHECK_EQ(result, -1.0f);
    CHECK_EQ(dt.OpenFolder(nullptr, 0.0, nullptr, 0), -1.0f);

    const struct { std::string folder; float exists; } probes[] = {
        {in("enum"), 1.0f}, {in("enum\\"), 1.0f}, {in("enum/"), 1.0f}, {"C:\\", 1.0f},
        {"C:", 1.0f}, {in("missing"), 0.0f}, {in("enum\\a.txt"), 0.0f}, {"", 0.0f},
    };
    for (const auto &probe : probes)
        CHECK_EQ(dt.FolderExists(probe.folder.c_str(), 0.0, nullptr, 0), probe.exists);
    CHECK_EQ(dt.FolderExists(nullptr, 0.0, nullptr, 0), 0.0f);
}

void testFolders()
{
    WinTest::section("MakeFolder, DeleteFolder, EmptyFolder");
    const std::string made = in("made");
    CHECK_EQ(dt.MakeFolder(made.c_str(), 0.0, nullptr, 0), 0.0f);
    CHECK(exists(made));
    CHECK_EQ(dt.MakeFolder(made.c_str(), 0.0, nullptr, 0), -1.0f);
    CHECK_EQ(dt.MakeFolder(in("nothere\\child").c_str(), 0.0, nullptr, 0), -1.0f);
    CHECK_EQ(dt.MakeFolder(nullptr, 0.0, nullptr, 0), -1.0f);
    writeFile(made + "\\f.txt", "");
    CHECK_EQ(dt.DeleteFolder(made.c_str(), 0.0, nullptr, 0), -1.0f);
    DeleteFileA((made + "\\f.txt").c_str());
    CHECK_EQ(dt.DeleteFolder(made.c_str(), 0.0, nullptr, 0), 0.0f);
    CHECK(!exists(made));
    CHECK_EQ(dt.DeleteFolder(made.c_str(), 0.0, nullptr, 0), -1.0f);
    CHECK_EQ(dt.DeleteFolder(nullptr, 0.0, nullptr, 0), -1.0f);

    const std::string full = in("full");
    makeFolder(full);
    makeFolder(full + "\\sub");
    makeFolder(full + "\\sub.d");
    for (const char *name : {"a.txt", "b.tar.gz", "noext", "sub\\inner.txt"})
        writeFile(full + "\\" + name, "");
    CHECK_EQ(dt.EmptyFolder(full.c_str(), 0.0, nullptr, 0), 0.0f);
    CHECK(!exists(full + "\\a.txt"));
    CHECK(!exists(full + "\\b.tar.gz"));
    CHECK(exists(full + "\\noext"));
    CHECK(exists(full + "\\sub"));
    CHECK(exists(full + "\\sub\\inner.txt"));
    CHECK(exists(full + "\\sub.d"));
    CHECK_EQ(dt.EmptyFolder(in("missing").c_str(), 0.0, nullptr, 0), -1.0f);
    CHECK_EQ(dt.EmptyFolder(nullptr, 0.0, nullptr, 0), -1.0f);
    // An empty text must not empty the root of the current drive.
    CHECK_EQ(dt.EmptyFolder("", 0.0, nullptr, 0), -1.0f);
}

// A block holding text, of exactly the given size (not necessarily terminated).
std::vector<char> blockWith(const std::string &text, size_t size)
{
    std::vector<char> block(size, '\0');
    std::memcpy(block.data(), text.data(), std::min(text.size(), size));
    return block;
}

void testFiles()
{
    WinTest::section("FileCopyTo, FileRename, FileDelete");
    std::string content;
    for (int i = 0; i < 10001; ++i)
        content += char(i * 7 % 256);
    const std::string source = in("source.bin");
    const std::string target = in("target.bin");
    writeFile(source, content);
    writeFile(target, std::string(20000, 'o'));
    std::vector<char> block = blockWith(target, MAX_PATH);
    CHECK_EQ(dt.FileCopyTo(source.c_str(), 0.0, block.data(), int(block.size())), 0.0f);
    CHECK(readFile(target) == content);

    // The destination goes even when the source cannot be read.
    CHECK_EQ(dt.FileCopyTo(in("nosource.bin").c_str(), 0.0, block.data(), int(block.size())), -1.0f);
    CHECK(!exists(target));

    // The destination is read no further than the block's size.
    std::vector<char> unterminated = blockWith(target + "GARBAGE", target.size());
    CHECK_EQ(dt.FileCopyTo(source.c_str(), 0.0, unterminated.data(), int(unterminated.size())), 0.0f);
    CHECK(readFile(target) == content);

    // Copying a file onto itself keeps it.
    block = blockWith(source, MAX_PATH);
    CHECK_EQ(dt.FileCopyTo(source.c_str(), 0.0, block.data(), int(block.size())), -1.0f);
    CHECK(readFile(source) == content);
    CHECK_EQ(dt.FileCopyTo(nullptr, 0.0, block.data(), int(block.size())), -1.0f);
    CHECK_EQ(dt.FileCopyTo(source.c_str(), 0.0, nullptr, 0), -1.0f);
    block = blockWith(in("nothere\\target.bin"), MAX_PATH);
    CHECK_EQ(dt.FileCopyTo(source.c_str(), 0.0, block.data(), int(block.size())), -1.0f);

    block = blockWith(source, MAX_PATH);
    CHECK_EQ(dt.FileRename(source.c_str(), 0.0, block.data(), int(block.size())), -1.0f);
    CHECK(readFile(source) == content);
    const std::string renamed = in("renamed.bin");
    block = blockWith(renamed, MAX_PATH);
    CHECK_EQ(dt.FileRename(source.c_str(), 0.0, block.data(), int(block.size())), 0.0f);
    CHECK(!exists(source));
    CHECK(readFile(renamed) == content);
    CHECK_EQ(dt.FileRename(source.c_str(), 0.0, block.data(), int(block.size())), -1.0f);
    CHECK_EQ(dt.FileRename(nullptr, 0.0, block.data(), int(block.size())), -1.0f);
    CHECK_EQ(dt.FileRename(renamed.c_str(), 0.0, nullptr, 0), -1.0f);

    CHECK_EQ(dt.FileDelete(renamed.c_str(), 0.0, nullptr, 0), 0.0f);
    CHECK(!exists(renamed));
    CHECK_EQ(dt.FileDelete(renamed.c_str(), 0.0, nullptr, 0), -1.0f);
    CHECK_EQ(dt.FileDelete(nullptr, 0.0, nullptr, 0), -1.0f);
}

std::string publicDocuments()
{
    char value[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("PUBLIC", value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(value) + "\\Documents" : "<no PUBLIC>";
}

void testMemoryBlocks()
{
    WinTest::section("memory block sizes");
    CHECK_EQ(dt.GetDirFileList(in("one").c_str(), 0.0, nullptr, 0), 1.0f);
    const std::string only = in("one\\only.txt");

    // Sizes 0 and below leave the block as it was; others cut the text.
    const struct { int size; std::string expected; } sizes[] = {
        {-1, ""}, {0, ""}, {1, ""}, {6, only.substr(0, 5)}, {int(only.size()), only.substr(0, only.size() - 1)},
        {int(only.size()) + 1, only},
    };
    for (const auto &row : sizes) {
        char block[512];
        std::memset(block, 'Z', sizeof block);
        CHECK_EQ(dt.GetFilePath(nullptr, 1.0, block, row.size), float(only.size()));
        if (row.size <= 0) {
            CHECK(block[0] == 'Z');
        } else {
            CHECK_EQ(std::string(block), row.expected);
            CHECK(block[row.size] == 'Z');
        }
    }

    for (int size : {-1, 0, 3}) {
        char block[64];
        std::memset(block, 'Z', sizeof block);
        CHECK_EQ(dt.OpenFolder(in("enum").c_str(), 0.0, nullptr, 0), 0.0f);
        CHECK_EQ(dt.GetFile(nullptr, 0.0, block, size), 0.0f);
        CHECK(size <= 0 ? block[0] == 'Z' : std::string(block) == "a." && block[3] == 'Z');
        std::memset(block, 'Z', sizeof block);
        CHECK_EQ(dt.GetPublicFolder(nullptr, 0.0, block, size), 0.0f);
        CHECK(size <= 0 ? block[0] == 'Z' : std::string(block) == publicDocuments().substr(0, 2)
                                                 && block[3] == 'Z');
    }
    dt.CloseFolder(nullptr, 0.0, nullptr, 0);
}

void testPublicFolder()
{
    WinTest::section("GetPublicFolder");
    char block[MAX_PATH];
    CHECK_EQ(dt.GetPublicFolder(nullptr, 0.0, block, sizeof block), 0.0f);
    CHECK_EQ(std::string(block), publicDocuments());
    CHECK_EQ(dt.GetPublicFolder(nullptr, 0.0, nullptr, 0), -1.0f);
}

// Plays the user in front of the open-file dialog from a second thread: finds
// the dialog by its title, reads the first filter entry, then either types a
// file name and presses Open or cancels.
struct DialogUser
{
    std::string title;
    std::string typed; // empty: cancel
    bool found = false;
    std::string firstFilter;
    DWORD dialogThread = 0;
};

BOOL CALLBACK takeDialog(HWND window, LPARAM found)
{
    char className[16];
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") != 0)
        return TRUE;
    *reinterpret_cast<HWND *>(found) = window;
    return FALSE;
}

DWORD WINAPI useDialog(void *parameter)
{
    auto *user = static_cast<DialogUser *>(parameter);
    HWND dialog = nullptr;
    for (int i = 0; i < 300 && !(dialog && IsWindowVisible(dialog)); ++i) {
        dialog = FindWindowA("#32770", user->title.c_str());
        Sleep(50);
    }
    user->found = dialog && IsWindowVisible(dialog);
    if (!user->found) {
        // Never leave the test waiting on a dialog with another title.
        EnumThreadWindows(user->dialogThread, takeDialog, reinterpret_cast<LPARAM>(&dialog));
        if (dialog)
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    Sleep(200);
    char text[512] = {};
    SendMessageA(GetDlgItem(dialog, cmb1), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
    user->firstFilter = text;
    if (user->typed.empty()) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    HWND name = GetDlgItem(dialog, cmb13);
    if (!name)
        name = GetDlgItem(dialog, edt1);
    SetWindowTextA(name, user->typed.c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return 0;
}

float runDialog(DialogUser *user, const char *text, double number, char *block, int blockSize)
{
    user->dialogThread = GetCurrentThreadId();
    const HANDLE thread = CreateThread(nullptr, 0, useDialog, user, 0, nullptr);
    const float result = dt.GetFilesDialog(text, number, block, blockSize);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return result;
}

void testFilesDialog()
{
    WinTest::section("GetFilesDialog");
    {
        // Blanks and dots go, and the cleaned text comes back in the block.
        DialogUser user;
        user.title = "Dirtool filter";
        char block[16];
        std::memset(block, 'Z', sizeof block);
        std::memcpy(block, "ZTL, .ZPR", 10);
        CHECK_EQ(runDialog(&user, "Dirtool filter", 1.0, block, 10), 0.0f);
        CHECK(user.found);
        CHECK_EQ(std::string(block), std::string("ZTL,ZPR"));
        CHECK(block[10] == 'Z');
        CHECK_EQ(user.firstFilter, std::string("(*.ZTL;*.ZPR)"));
        CHECK_EQ(filePath(1), std::string());
    }
    {
        // A block of size 0 is neither read nor written back.
        DialogUser user;
        user.title = "Dirtool empty block";
        char block[16] = "ZTL, .ZPR";
        CHECK_EQ(runDialog(&user, "Dirtool empty block", 1.0, block, 0), 0.0f);
        CHECK(user.found);
        CHECK_EQ(std::string(block), std::string("ZTL, .ZPR"));
        CHECK_EQ(user.firstFilter, std::string("(*.*)"));
    }
    {
        // Only the first ten extensions are offered, so this still fits.
        std::string twelve;
        std::string offered;
        for (int i = 1; i <= 12; ++i) {
            const std::string extension = "EXTNUM" + std::string(i < 10 ? "0" : "") + std::to_string(i);
            twelve += (i > 1 ? "," : "") + extension;
            if (i <= 10)
                offered += (i > 1 ? ";*." : "*.") + extension;
        }
        DialogUser user;
        user.title = "Dirtool ten";
        std::vector<char> block = blockWith(twelve, 256);
        CHECK_EQ(runDialog(&user, "Dirtool ten", 1.0, block.data(), int(block.size())), 0.0f);
        CHECK_EQ(user.firstFilter, "(" + offered + ")");
    }
    {
        // Too long for the 256-byte filter: no dialog at all.
        std::string extensions;
        for (int i = 0; i < 10; ++i)
            extensions += (i ? "," : "") + std::string(12, char('A' + i));
        std::vector<char> block = blockWith(extensions, 256);
        CHECK_EQ(dt.GetFilesDialog("Dirtool too long", 1.0, block.data(), int(block.size())), -2.0f);
        CHECK(FindWindowA("#32770", "Dirtool too long") == nullptr);
    }
    {
        // Nothing left but commas: every file is offered instead of none.
        DialogUser user;
        user.title = "Dirtool commas";
        char block[8] = ", .,";
        CHECK_EQ(runDialog(&user, "Dirtool commas", 1.0, block, sizeof block), 0.0f);
        CHECK_EQ(std::string(block), std::string(",,"));
        CHECK_EQ(user.firstFilter, std::string("(*.*)"));
    }
    {
        // Without a title the dialog says "Select Files...".
        DialogUser user;
        user.title = "Select Files...";
        CHECK_EQ(runDialog(&user, nullptr, 1.0, nullptr, 0), 0.0f);
        CHECK(user.found);
        CHECK_EQ(user.firstFilter, std::string("*.*"));
    }

    // A choice of one file and of two files in the default folder.
    CHECK_EQ(dt.SetDefaultFolder(in("several").c_str(), 0.0, nullptr, 0), 0.0f);
    {
        DialogUser user;
        user.title = "Dirtool single";
        user.typed = "b.txt";
        CHECK_EQ(runDialog(&user, "Dirtool single", 1.0, nullptr, 0), 1.0f);
        float length = 0;
        CHECK_EQ(filePath(1, &length), in("several\\b.txt"));
        CHECK_EQ(length, float(in("several\\b.txt").size()));
        CHECK(outsideList(2));
    }
    {
        DialogUser user;
        user.title = "Dirtool multiple";
        user.typed = "\"a.txt\" \"c.txt\"";
        CHECK_EQ(runDialog(&user, "Dirtool multiple", 0.0, nullptr, 0), 2.0f);
        CHECK_EQ(filePath(1), in("several\\a.txt"));
        CHECK_EQ(filePath(2), in("several\\c.txt"));
        CHECK(outsideList(3));
    }
    CHECK_EQ(dt.SetDefaultFolder(nullptr, 0.0, nullptr, 0), 0.0f);
    CHECK_EQ(dt.SetDialogTitle(nullptr, 0.0, nullptr, 0), 0.0f);
}

bool waitForFile(const std::string &path)
{
    for (int i = 0; i < 600 && !exists(path); ++i)
        Sleep(50);
    return exists(path);
}

std::string ownPath()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// Waits up to 20 s until no other process runs this program.
bool waitForOtherCopiesToEnd()
{
    const std::string own = ownPath();
    const char *ownName = std::strrchr(own.c_str(), '\\');
    ownName = ownName ? ownName + 1 : own.c_str();
    const DWORD start = GetTickCount();
    for (;;) {
        bool others = false;
        const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot != INVALID_HANDLE_VALUE) {
            PROCESSENTRY32 entry = {};
            entry.dwSize = sizeof entry;
            for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
                if (entry.th32ProcessID != GetCurrentProcessId() && _stricmp(entry.szExeFile, ownName) == 0)
                    others = true;
            }
            CloseHandle(snapshot);
        }
        if (!others)
            return true;
        if (GetTickCount() - start > 20000)
            return false;
        Sleep(20);
    }
}

void testLaunch()
{
    WinTest::section("LaunchAppWithFile");
    // The test program itself is launched; it leaves a marker file and ends.
    const std::string opened = in("opened.marker");
    SetEnvironmentVariableA("DIRTOOL_TEST_TOUCH", opened.c_str());
    CHECK_EQ(dt.LaunchAppWithFile(ownPath().c_str(), 0.0, nullptr, 0), 0.0f);
    CHECK(waitForFile(opened));
    SetEnvironmentVariableA("DIRTOOL_TEST_TOUCH", nullptr);

    const std::string withFile = in("with file.marker");
    std::vector<char> application = blockWith(ownPath(), MAX_PATH);
    const std::string arguments = "--touch \"" + withFile + "\"";
    CHECK_EQ(dt.LaunchAppWithFile(arguments.c_str(), 0.0, application.data(), int(application.size())), 0.0f);
    CHECK(waitForFile(withFile));
    CHECK_EQ(dt.LaunchAppWithFile(nullptr, 0.0, application.data(), int(application.size())), -1.0f);
    // The launched copies write their marker before they end; let them end before
    // anything else in this prefix relies on who holds the foreground.
    CHECK(waitForOtherCopiesToEnd());
}

std::vector<std::pair<UINT, WPARAM>> g_keys;
std::string g_typed;

LRESULT CALLBACK recordKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP)
        g_keys.emplace_back(message, wParam);
    else if (message == WM_CHAR)
        g_typed += char(wParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

// Handles the thread's messages until done() holds or five seconds have passed.
template<class Done>
bool pumpUntil(Done done)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done())
            return true;
        if (GetTickCount() - start >= 5000)
            return false;
        Sleep(10);
    }
}

void testPasteText()
{
    WinTest::section("PasteText");
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = recordKeys;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "DirtoolPasteProbe";
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowA("DirtoolPasteProbe", "Paste probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                      0, 0, 200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!CHECK(window != nullptr))
        return;
    const std::vector<std::pair<UINT, WPARAM>> expected = {
        {WM_KEYDOWN, VK_SHIFT}, {WM_KEYDOWN, 'A'}, {WM_KEYUP, 'A'}, {WM_KEYUP, VK_SHIFT},
        {WM_KEYDOWN, 'B'}, {WM_KEYUP, 'B'},
        {WM_KEYDOWN, VK_SPACE}, {WM_KEYUP, VK_SPACE},
        {WM_KEYDOWN, '1'}, {WM_KEYUP, '1'},
        {WM_KEYDOWN, VK_RETURN}, {WM_KEYUP, VK_RETURN},
    };
    // Synthesised keys go to whichever window holds the foreground when they are
    // sent. On a loaded machine Wine can be slow to hand the probe the foreground,
    // or take it away for a moment; such a try says nothing about PasteText and is
    // made again.
    bool keptForeground = false;
    for (int attempt = 1; attempt <= 3 && !keptForeground; ++attempt) {
        SetForegroundWindow(window);
        SetFocus(window);
        if (!pumpUntil([window] { return GetForegroundWindow() == window && GetFocus() == window; })) {
            std::printf("   try %d: the probe did not get the foreground\n", attempt);
            continue;
        }
        g_keys.clear();
        g_typed.clear();
        CHECK_EQ(dt.PasteText("Ab 1", 0.0, nullptr, 0), 0.0f);
        pumpUntil([&expected] { return g_keys.size() >= expected.size(); });
        keptForeground = GetForegroundWindow() == window;
        if (!keptForeground)
            std::printf("   try %d: the probe lost the foreground while the keys were typed\n", attempt);
    }
    CHECK(keptForeground);
    CHECK(g_keys == expected);
    // Shift makes the capital; the rest type as themselves.
    CHECK_EQ(g_typed, std::string("Ab 1\r"));
    if (g_keys != expected) {
        std::printf("   foreground %p, focus %p, window %p\n", static_cast<void *>(GetForegroundWindow()),
                    static_cast<void *>(GetFocus()), static_cast<void *>(window));
        for (const auto &key : g_keys)
            std::printf("   got message 0x%x key 0x%x\n", key.first, unsigned(key.second));
    }
    CHECK_EQ(dt.PasteText(nullptr, 0.0, nullptr, 0), 0.0f);
    DestroyWindow(window);
}

} // namespace

int main(int argc, char **argv)
{
    // Started by the LaunchAppWithFile checks: leave the marker and end.
    char marker[MAX_PATH];
    if (GetEnvironmentVariableA("DIRTOOL_TEST_TOUCH", marker, MAX_PATH) > 0) {
        std::fclose(std::fopen(marker, "wb"));
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--touch") == 0) {
        std::fclose(std::fopen(argv[2], "wb"));
        return 0;
    }
    if (argc != 2) {
        std::printf("usage: dirtool_test <Dirtool64.dll>\n");
        return 2;
    }

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    g_root = std::string(temp) + "dirtool-test-" + std::to_string(GetCurrentProcessId());
    removeTree(g_root);
    makeFolder(g_root);

    if (load(argv[1])) {
        testVersion();
        testDirFileList();
        testFileNumber();
        testEnumeration();
        testFolders();
        testFiles();
        testMemoryBlocks();
        testPublicFolder();
        testFilesDialog();
        testLaunch();
        testPasteText();
    }
    removeTree(g_root);
    return WinTest::finish("dirtool_test");
}
