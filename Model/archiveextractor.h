#pragma once

#include <QString>

#include <functional>

// Writes the members of a downloaded RAR archive below a destination folder,
// in archive order. A member whose name would land outside the destination (a
// ".." step, an absolute path, a drive letter) is refused and logged; members
// in folders get their folders.
class ArchiveExtractor
{
public:
    struct Result
    {
        bool opened = false;
        int members = 0;
        int written = 0;
        // Refused, unreadable or unwritable members.
        int failed = 0;
    };
    // Called after every member with the members done and their total.
    using Progress = std::function<void(int done, int total)>;

    static Result extract(const QString &archivePath, const QString &destination, const Progress &progress = {});

    // The member's path below the destination with '/' between folders; empty
    // when the name is empty or would leave the destination. Both '/' and '\'
    // separate folders, as archives made on Windows use the latter.
    static QString safeRelativePath(const QString &memberName);
    // A store name as one folder name: separators and characters Windows does
    // not allow in names become '_'; a name of dots alone becomes "_".
    static QString safeFolderName(const QString &name);
};
