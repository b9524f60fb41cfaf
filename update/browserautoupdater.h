#pragma once

#include "autoupdater.h"

// The updater where WinSparkle does not exist: it reads the feed itself and
// leaves downloading and installing the newest release to the user's browser.
class BrowserAutoUpdater : public AutoUpdater
{
public:
    explicit BrowserAutoUpdater(const QUrl &appcastUrl, QObject *parent = nullptr);
    ~BrowserAutoUpdater() override;

    void checkForUpdatesWithUi() override;
    void checkForUpdatesInBackground() override;
    // Opens the newest enclosure's address, reading the feed first when needed.
    void checkAndInstall() override;

protected:
    void appcastRead(bool ok) override;

private:
    void openDownload();

    bool m_installPending = false;
};
