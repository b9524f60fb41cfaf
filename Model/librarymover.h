#pragma once

#include <QString>

// Moves the library folder. Within one file system that is a single rename. A
// folder on another file system (another drive, a memory card, a network share)
// cannot be renamed there: it is copied, the copy checked against the original
// byte for byte, and only then the original removed. A failed copy leaves no trace
// at the target and the library where it was.
namespace LibraryMover {

enum class RenameResult {
    Renamed,
    // The target is on another file system; copyAcross() can still move it.
    OtherFileSystem,
    Failed,
};

RenameResult rename(const QString &source, const QString &target, QString *error = nullptr);

// Slow for a large library: call it off the GUI thread.
bool copyAcross(const QString &source, const QString &target, QString *error = nullptr);

} // namespace LibraryMover
