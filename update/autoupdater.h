#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class SystemDataService;

// Keeps Kivara current from an appcast feed.
//
// Besides the platform's own update machinery, every updater can fetch the feed
// itself to learn the newest version, which the system service shows in the
// updates window. Deliberately without a meta-object: the interface is plain
// virtual calls, the system service learns the result through its report callback.
class AutoUpdater : public QObject
{
public:
    // Called with the newest version whenever the feed was read.
    using VersionReport = std::function<void(const QString &latestVersion)>;

    // The version of this program; also the latest version until a feed says otherwise.
    static const QString ownVersion;

    // KIVARA_APPCAST_URL when set, else the feed of the official update host.
    static QUrl defaultAppcastUrl();
    // The updater of this platform.
    static std::unique_ptr<AutoUpdater> create(const QUrl &appcastUrl, QObject *parent = nullptr);
    // Any version other than our own counts, even an older one: the feed decides.
    static bool isUpdate(const QString &version);

    explicit AutoUpdater(const QUrl &appcastUrl, QObject *parent = nullptr);
    ~AutoUpdater() override;

    virtual void checkForUpdatesWithUi() = 0;
    virtual void checkForUpdatesInBackground() = 0;
    // Reads the feed with our own request; the result goes to the system service.
    virtual void fetchLatestVersion();
    virtual void checkAndInstall() = 0;

    void attachSystemService(SystemDataService *service, VersionReport report);
    SystemDataService *systemService() const { return m_systemService; }

    QUrl appcastUrl() const { return m_appcastUrl; }
    QString latestVersion() const { return m_latestVersion; }
    // Where the newest enclosure can be downloaded; empty until a feed named one.
    QUrl latestDownloadUrl() const { return m_latestDownloadUrl; }
    bool fetched() const { return m_fetched; }
    bool isInitialised() const { return m_initialised; }

protected:
    // After each of our own feed reads, ok false when it could not be read.
    virtual void appcastRead(bool ok);

    bool m_initialised = false;

private:
    void parseAppcast(QNetworkReply *reply);

    QUrl m_appcastUrl;
    QString m_latestVersion = ownVersion;
    QUrl m_latestDownloadUrl;
    bool m_fetched = false;
    SystemDataService *m_systemService = nullptr;
    VersionReport m_report;
    QNetworkAccessManager *m_network = nullptr;
};
