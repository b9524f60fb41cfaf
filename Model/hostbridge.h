#pragma once

#include "Model/hostcommandkind.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>

// The one road to ZBrush. A request becomes the command file "kiv.zvr" in every
// ZBrush data folder's "ZPluginData/KIVData/", then the key chord
// Shift+Ctrl+Alt+9 sent to ZBrush's window; the script plug-in kiv.zsc inside
// ZBrush owns the chord, reads the file and does the work. The bridge also
// installs that plug-in and the Dirtool library into a ZBrush folder.
// One instance per process, created at start-up; GUI thread only.
class HostBridge : public QObject
{
    Q_OBJECT

public:
    static const QString dataSubFolder;   // "/ZPluginData/KIVData/"
    static const QString commandFileName; // "kiv.zvr"
    static const QString launchFileName;  // "kivLaunch.zvr"
    static const QString colorsFileName;  // "kiv_uicolors.zvr", written by the plug-in

    // Takes the ZBrush data folders that exist now, creates their KIVData
    // folders and writes the launch file naming this executable into each.
    explicit HostBridge(QObject *parent = nullptr);
    ~HostBridge() override;

    bool bprOnly() const { return m_bprOnly; }
    void setBprOnly(bool bprOnly) { m_bprOnly = bprOnly; }
    QString hostPath() const { return m_hostPath; }
    QStringList hostDataFolders() const { return m_hostDataFolders; }

    // The command file, then the chord, then ZBrush to the front when focusHost.
    void activate(const QString &name, const QString &path, HostCommandKind kind, bool focusHost);
    // Writes kiv.zvr into every data folder; kind 13 and unknown kinds write nothing.
    void writeCommand(HostCommandKind kind, const QString &name, const QString &path);
    void sendActivationKeys();
    void bringHostToFront();
    // A top-level window of class and title "ZBrush" exists.
    bool isHostRunning() const;
    // Favourites' type words; an unknown word counts as a brush.
    static HostCommandKind commandKindForType(const QString &typeWord);

    // Accepts a folder holding ZStartup; otherwise hostPath stays as it was.
    bool setHostPath(const QString &folder);
    bool isPluginInstalled() const;
    // The installed script is not older than the one Kivara ships.
    bool isPluginCurrent() const;
    // Only ZBrush compiles kiv.zsc, so a build may come without it. Such a build
    // installs Dirtool alone and counts as installed once Dirtool is in place.
    static bool shipsScriptPlugin();
    // Everything this build ships is installed and current: nothing to install.
    bool isInstallationComplete() const;
    // Replaces kiv.zsc and Dirtool64.dll in the folder's ZStartup/ZPlugs64. Without a
    // shipped script, only Dirtool; a script installed earlier is left in place.
    bool installPluginFiles(const QString &folder);
    // The most recently written kiv_uicolors.zvr of the data folders, or empty.
    QString newestUiColorsFile() const;
    // (path, display name) of every ZBrush installation found: registry entries
    // first, then Program Files folders that are not the same directory as one of them.
    QList<QPair<QString, QString>> hostLocations() const;

private:
    QString bridgeFile(const QString &dataFolder, const QString &fileName) const;
    void writeLaunchFiles() const;

    bool m_bprOnly = false;
    QString m_hostPath;
    QStringList m_hostDataFolders;
};
