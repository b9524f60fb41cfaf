#include "winsparkleautoupdater.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>

#include "platform/win32/win32installer.h"

#include <string>

#include <winsparkle.h>

namespace {
const QString publicKeyResource = QStringLiteral(":/Resources/dsa_pub.pem");
}

WinSparkleAutoUpdater::WinSparkleAutoUpdater(const QUrl &appcastUrl, QObject *parent)
    : AutoUpdater(appcastUrl, parent)
    , m_appcastUrl(appcastUrl.toString().toUtf8())
{
    win_sparkle_set_appcast_url(m_appcastUrl.constData());

    const std::wstring version = ownVersion.toStdWString();
    win_sparkle_set_app_details(L"KIV", L"Kivara", version.c_str());

    QFile key(publicKeyResource);
    if (key.open(QIODevice::ReadOnly))
        m_publicKey = key.readAll();
    if (!m_publicKey.isEmpty())
        win_sparkle_set_dsa_pub_pem(m_publicKey.constData());
    else
        qWarning() << "Cannot read the update signature key" << publicKeyResource;

    win_sparkle_set_user_run_installer_callback(&WinSparkleAutoUpdater::runInstaller);
}

WinSparkleAutoUpdater::~WinSparkleAutoUpdater()
{
    win_sparkle_cleanup();
}

void WinSparkleAutoUpdater::initialise()
{
    if (m_initialised)
        return;
    win_sparkle_init();
    m_initialised = true;
}

void WinSparkleAutoUpdater::checkForUpdatesWithUi()
{
    initialise();
    win_sparkle_check_update_with_ui();
}

void WinSparkleAutoUpdater::checkForUpdatesInBackground()
{
    initialise();
    // WinSparkle shows its window only when it finds an update.
    win_sparkle_check_update_without_ui();
}

void WinSparkleAutoUpdater::checkAndInstall()
{
    win_sparkle_check_update_with_ui_and_install();
}

int __cdecl WinSparkleAutoUpdater::runInstaller(const wchar_t *installerPath)
{
    if (!installerPath)
        return 0;
    // The folder as Qt reports it, forward slashes included.
    const std::wstring folder = QCoreApplication::applicationDirPath().toStdWString();
    return Win32Platform::runInstaller(installerPath, folder) ? 1 : 0;
}
