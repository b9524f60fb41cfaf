#pragma once

// Dirtool64.dll: file, folder, dialog and shell services for ZBrush's script
// language. Every export takes the script's four library-call arguments: a text
// (may be null), a number, a memory block (may be null) and the block's size
// in bytes, and answers a float; negative answers are failures.

#ifdef DIRTOOL_BUILD
#define DIRTOOL_EXPORT extern "C" __declspec(dllexport)
#else
#define DIRTOOL_EXPORT extern "C" __declspec(dllimport)
#endif

DIRTOOL_EXPORT float Version(const char *text, double number, char *block, int blockSize);
DIRTOOL_EXPORT float GetPublicFolder(const char *text, double number, char *block, int blockSize);
DIRTOOL_EXPORT float LaunchAppWithFile(const char *text, double number, char *block, int blockSize);
DIRTOOL_EXPORT float SetDefaultFolder(const char *text, double number, char *block, int blockSize);
DIRTOOL_EXPORT float SetDialogTitle(const char *text, double number, char *block, int blockSize);
DIRTOOL_EXPORT float GetFilesDialog(const char *text, double number, char *block, int blockSize);
DIRTOOL_EXPORT float GetFilePath(const char *text, double number, char *block, int blockSize);
DIRTOOL_EXPORT float GetDirFileList(const char *text, double number, char *block, int blockSize);
DIRTOOL_EXPORT float GetFileNumber(const char *text, double number, char *block, int blockSize);
DIRTOOL_EXPORT float OpenFolder(const char *text, double number, char *block, int blockSize);
DIRTOOL_EXPORT float GetFile(const char *text, double number, char *block, int blockSize);
DIRTOOL_EXPORT float CloseFolder(const char *text, double number, char *block, int blockSize);
DIRTOOL_EXPORT float FolderExists(const char *text, double number, char *block, int blockSize);
DIRTOOL_EXPORT float MakeFolder(const char *text, double number, char *block, int blockSize);
DIRTOOL_EXPORT float DeleteFolder(const char *text, double number, char *block, int blockSize);
DIRTOOL_EXPORT float EmptyFolder(const char *text, double number, char *block, int blockSize);
DIRTOOL_EXPORT float FileCopyTo(const char *text, double number, char *block, int blockSize);
DIRTOOL_EXPORT float FileRename(const char *text, double number, char *block, int blockSize);
DIRTOOL_EXPORT float FileDelete(const char *text, double number, char *block, int blockSize);
DIRTOOL_EXPORT float PasteText(const char *text, double number, char *block, int blockSize);
