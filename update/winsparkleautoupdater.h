#pragma once

#include "autoupdater.h"

#include <QByteArray>

// The Windows updater: WinSparkle checks the feed, asks the user, downloads and
// verifies the installer; Kivara starts the installer itself (runInstaller) so
// that it updates the portable installation in place.
class WinSparkleAutoUpdater : public AutoUpdater
{
public:
    explicit WinSparkleAutoUpdater(const QUrl &appcastUrl, QObject *parent = nullptr);
    ~WinSparkleAutoUpdater() override;

    void checkForUpdatesWithUi() override;
    void checkForUpdatesInBackground() override;
    // Relies on an earlier check having started WinSparkle.
    void checkAndInstall() override;

private:
    void initialise();
    // Called by WinSparkle on its own thread with the downloaded installer.
    static int __cdecl runInstaller(const wchar_t *installerPath);

    // Kept for the whole run: WinSparkle may hold on to what it was given.
    QByteArray m_appcastUrl;
    QByteArray m_publicKey;
};
