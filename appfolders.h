#pragma once

#include <QString>
#include <QStringList>

// Where things are: the program's own files, the ZBrush installations the system
// knows of, ZBrush's per-version data folders and the default library folder.
// Nothing is cached; every call looks again.
namespace AppFolders {

// The folder holding the program (the test binary's folder in tests, unless overridden).
QString programFolder();
// Tests point the program folder elsewhere; an empty text restores the default.
void setProgramFolderForTesting(const QString &folder);

// programFolder() + "/Resources/".
QString resourcesFolder();
// The shipped library database template, resourcesFolder() + "brushes.db".
QString databaseTemplatePath();
// "Resources/brushes.db" beside the program while that folder is writable (portable
// installation, build tree); otherwise "brushes.db" in the per-user data folder.
QString databasePath();
// True when databasePath() is elsewhere than the template and holds no file yet,
// so start-up has to copy the template there. An existing database is never replaced.
bool databaseNeedsTemplate();
// The host-side script plug-in that Kivara installs into ZBrush.
QString scriptPluginSource();

// The five known ZBrush display names, then every other "ZBrush..." display name
// of the uninstall registry in registry order.
QStringList knownZBrushVersions();
// The InstallLocation of the first uninstall entry whose DisplayName equals the
// name exactly; empty when there is none.
QString installLocationFor(const QString &displayName);
// Entries of <program files>/Pixologic whose names contain "ZBrush" (any case).
QStringList pixologicFolders();
// The public documents folder's ZBrush data folders, each ending in "/": the four
// known names whether or not they exist, then other "ZBrushData..." entries.
QStringList zbrushDataFolders();
// "ZPluginData/KIVData/KIVSource" in the last data folder.
QString defaultLibraryFolder();

// Brings the program owning the window of that title to the front: its first
// visible top-level window is restored when minimised and made the foreground
// window. Does nothing when no window has the title.
void raiseWindow(const QString &title);

} // namespace AppFolders
