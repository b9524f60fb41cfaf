// Folder and registry services for a ZBrush under Wine.
#include "platform/platform.h"
#include "platform/x11/wineprefix.h"
#include "platform/x11/wineregistryreader.h"

#include <QtGlobal>

namespace Platform {

QString publicDocumentsFolder()
{
    return WinePrefix().publicDocumentsFolder();
}

QString programFilesFolder()
{
    const WinePrefix prefix;
    const QString fromEnvironment = qEnvironmentVariable("PROGRAMFILES");
    if (fromEnvironment.isEmpty())
        return prefix.programFilesFolder();
    // Someone may have copied a Windows environment over.
    return prefix.toLocalPath(fromEnvironment);
}

QList<UninstallEntry> uninstallEntries()
{
    const WinePrefix prefix;
    const auto keys = WineRegistryReader::subkeys(
        prefix.systemRegistryFile(),
        QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
    QList<UninstallEntry> entries;
    entries.reserve(keys.size());
    for (const auto &key : keys) {
        entries.append({key.name, key.value(QStringLiteral("DisplayName")),
                        prefix.toLocalPath(key.value(QStringLiteral("InstallLocation")))});
    }
    return entries;
}

} // namespace Platform
