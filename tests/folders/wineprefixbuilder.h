#pragma once

#include <QString>
#include <QStringList>

// Builds a small Wine prefix in a folder: drives in dosdevices/, a system.reg,
// the public documents folder and program files.
class WinePrefixBuilder
{
public:
    explicit WinePrefixBuilder(const QString &root);
    ~WinePrefixBuilder();
    WinePrefixBuilder(const WinePrefixBuilder &) = delete;
    WinePrefixBuilder &operator=(const WinePrefixBuilder &) = delete;

    // Makes this the prefix the process's Wine lookups use, with PROGRAMFILES
    // unset, until the builder goes away.
    void makeCurrent();

    QString root() const { return m_root; }
    QString driveC() const { return m_root + QStringLiteral("/drive_c"); }
    QString publicDocuments() const { return driveC() + QStringLiteral("/users/Public/Documents"); }
    QString programFiles() const { return driveC() + QStringLiteral("/Program Files"); }

    // dosdevices/<letter>: pointing at target.
    bool addDrive(QChar letter, const QString &target);
    bool makeFolder(const QString &path);
    // Writes system.reg: `sections` is the text after the file's header lines.
    bool writeSystemRegistry(const QString &sections);

private:
    QString m_root;
    bool m_current = false;
};
