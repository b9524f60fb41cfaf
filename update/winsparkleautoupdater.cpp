#include "winsparkleautoupdater.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>

#include <string>

#include <windows.h>
#include <shellapi.h>
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
    // The installer closes Kivara; Windows brings it back afterwards.
    RegisterApplicationRestart(nullptr, 0);

    // Inno Setup: no first prompt, silent, no start-menu icons, the portable
    // type, into the folder Kivara runs from.
    const std::wstring parameters =
        (QStringLiteral("/SP- /silent /noicons /TYPE=portable \"/dir=")
         + QCoreApplication::applicationDirPath() + QLatin1Char('"'))
            .toStdWString();

    SHELLEXECUTEINFOW info{};
    static_assert(sizeof(void *) != 8 || sizeof(info) == 112, "unexpected SHELLEXECUTEINFOW layout");
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpFile = installerPath;
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOWDEFAULT;
    return ShellExecuteExW(&info) ? 1 : 0;
}
