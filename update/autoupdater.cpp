#include "autoupdater.h"

#include "appcastfeed.h"

#ifdef Q_OS_WIN
#include "winsparkleautoupdater.h"
#else
#include "browserautoupdater.h"
#endif

#include <QDebug>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <utility>

const QString AutoUpdater::ownVersion = QStringLiteral("3.0.1");

QUrl AutoUpdater::defaultAppcastUrl()
{
    const QByteArray overridden = qgetenv("KIVARA_APPCAST_URL");
    if (!overridden.isEmpty())
        return QUrl(QString::fromUtf8(overridden));
#ifdef Q_OS_WIN
    return QUrl(QStringLiteral("https://kivara.app/KIV_AU/app_files/kivara_appcast_win_v3.xml"));
#else
    return QUrl(QStringLiteral("https://kivara.app/KIV_AU/app_files/kivara_appcast_linux_v3.xml"));
#endif
}

std::unique_ptr<AutoUpdater> AutoUpdater::create(const QUrl &appcastUrl, QObject *parent)
{
#ifdef Q_OS_WIN
    return std::make_unique<WinSparkleAutoUpdater>(appcastUrl, parent);
#else
    return std::make_unique<BrowserAutoUpdater>(appcastUrl, parent);
#endif
}

bool AutoUpdater::isUpdate(const QString &version)
{
    return version != ownVersion;
}

AutoUpdater::AutoUpdater(const QUrl &appcastUrl, QObject *parent)
    : QObject(parent)
    , m_appcastUrl(appcastUrl)
{
}

AutoUpdater::~AutoUpdater() = default;

void AutoUpdater::attachSystemService(SystemDataService *service, VersionReport report)
{
    m_systemService = service;
    m_report = std::move(report);
}

void AutoUpdater::fetchLatestVersion()
{
    if (!m_network) {
        m_network = new QNetworkAccessManager(this);
        // An update host moving the feed (http to https, a new path) must not
        // look like an empty feed.
        m_network->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
        connect(m_network, &QNetworkAccessManager::finished, this, &AutoUpdater::parseAppcast);
    }
    m_network->get(QNetworkRequest(m_appcastUrl));
}

void AutoUpdater::appcastRead(bool ok)
{
    Q_UNUSED(ok)
}

void AutoUpdater::parseAppcast(QNetworkReply *reply)
{
    reply->deleteLater();

    // A failed request is no feed, whatever error page came with it; otherwise a
    // well-formed error page would pass for a feed without updates.
    QByteArray body;
    if (reply->error() == QNetworkReply::NoError)
        body = reply->readAll();
    else
        qInfo() << "Update feed not available:" << reply->url().toString() << reply->errorString();

    const AppcastFeed feed = AppcastFeed::parse(body, m_appcastUrl);
    if (!feed.isValid()) {
        qWarning("Failed to parse XML");
        appcastRead(false);
        return;
    }
    if (!feed.newestVersion().isEmpty()) {
        m_latestVersion = feed.newestVersion();
        m_latestDownloadUrl = feed.newestDownloadUrl();
    }
    m_fetched = true;
    if (m_report)
        m_report(m_latestVersion);
    appcastRead(true);
}
