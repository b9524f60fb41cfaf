#pragma once

#include <QString>

// The Wine prefix a Linux ZBrush lives in: $WINEPREFIX, or ~/.wine when unset.
// Knows where Windows folders sit inside it and turns Windows paths into local ones.
class WinePrefix
{
public:
    // The prefix named by the environment.
    WinePrefix();
    explicit WinePrefix(const QString &root);

    QString root() const;
    QString publicDocumentsFolder() const;
    QString programFilesFolder() const;
    // The machine half of the registry (HKEY_LOCAL_MACHINE).
    QString systemRegistryFile() const;

    // "C:\Program Files\X\" becomes "<prefix>/drive_c/Program Files/X/", following
    // the drive's link in dosdevices/. Anything that is not a drive path comes back unchanged.
    QString toLocalPath(const QString &windowsPath) const;

    static bool isDrivePath(const QString &path);

private:
    QString m_root;
};
