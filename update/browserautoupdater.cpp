#include "browserautoupdater.h"

#include <QDebug>
#include <QDesktopServices>

BrowserAutoUpdater::BrowserAutoUpdater(const QUrl &appcastUrl, QObject *parent)
    : AutoUpdater(appcastUrl, parent)
{
}

BrowserAutoUpdater::~BrowserAutoUpdater() = default;

// Kivara's own updates window is the interface here, so both checks just read
// the feed and let the system service show what was found.
void BrowserAutoUpdater::checkForUpdatesWithUi()
{
    m_initialised = true;
    fetchLatestVersion();
}

void BrowserAutoUpdater::checkForUpdatesInBackground()
{
    m_initialised = true;
    fetchLatestVersion();
}

void BrowserAutoUpdater::checkAndInstall()
{
    if (fetched()) {
        openDownload();
        return;
    }
    m_installPending = true;
    fetchLatestVersion();
}

void BrowserAutoUpdater::appcastRead(bool ok)
{
    if (!m_installPending)
        return;
    // A feed that could not be read ends the request; a later background check
    // must not open the browser out of the blue.
    m_installPending = false;
    if (ok)
        openDownload();
}

void BrowserAutoUpdater::openDownload()
{
    if (!isUpdate(latestVersion()) || latestDownloadUrl().isEmpty()) {
        qInfo() << "No update to install; latest version" << latestVersion();
        return;
    }
    if (!QDesktopServices::openUrl(latestDownloadUrl()))
        qWarning() << "Cannot open the update download" << latestDownloadUrl().toString();
}
