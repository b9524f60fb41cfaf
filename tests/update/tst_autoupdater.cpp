#include "update/browserautoupdater.h"

#include "tests/common/realdata.h"
#include "tests/common/urlcatcher.h"

#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray feed(const QByteArray &items)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<rss version=\"2.0\" xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\">\n"
           "<channel><title>Kivara</title>\n"
           + items + "</channel></rss>\n";
}

QByteArray item(const QByteArray &version, const QByteArray &url)
{
    return "<item><title>Version " + version + "</title><enclosure url=\"" + url
        + "\" sparkle:version=\"" + version + "\" type=\"application/octet-stream\"/></item>\n";
}

} // namespace

// The updater against feeds served over HTTP by a local Python server.
class TestAutoUpdater : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void latestVersion_data();
    void latestVersion();
    void unreadableFeed_data();
    void unreadableFeed();
    void realFeed();
    void installOpensNewestDownload_data();
    void installOpensNewestDownload();
    void appcastAddressFromEnvironment();

private:
    QUrl serve(const QString &name, const QByteArray &content, int status = 200);
    static bool waitForReply(AutoUpdater &updater);

    QTemporaryDir m_root;
    QProcess m_server;
    int m_port = 0;
    UrlCatcher m_browser{{QStringLiteral("http"), QStringLiteral("https")}};
};

void TestAutoUpdater::initTestCase()
{
    QVERIFY(m_root.isValid());
    qRegisterMetaType<QNetworkReply *>();
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        QSKIP("python3 is needed to serve the feeds");
    m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_server.start(python, {QStringLiteral(APPCAST_SERVER), m_root.path()});
    QVERIFY(m_server.waitForStarted());
    QVERIFY(m_server.waitForReadyRead(10000));
    bool ok = false;
    m_port = m_server.readLine().trimmed().toInt(&ok);
    QVERIFY(ok && m_port > 0);
}

void TestAutoUpdater::cleanupTestCase()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    // The server stops when its input closes.
    m_server.closeWriteChannel();
    if (!m_server.waitForFinished(5000)) {
        m_server.kill();
        m_server.waitForFinished(5000);
    }
}

void TestAutoUpdater::init()
{
    m_browser.opened.clear();
}

QUrl TestAutoUpdater::serve(const QString &name, const QByteArray &content, int status)
{
    QFile file(m_root.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return QUrl();
    file.close();
    QFile statusFile(m_root.filePath(name + ".status"));
    if (status != 200 && (!statusFile.open(QIODevice::WriteOnly) || statusFile.write(QByteArray::number(status)) < 0))
        return QUrl();
    return QUrl(QStringLiteral("http://127.0.0.1:%1/%2").arg(m_port).arg(name));
}

// Waits until the updater's own request has been answered and handled.
bool TestAutoUpdater::waitForReply(AutoUpdater &updater)
{
    auto *network = updater.findChild<QNetworkAccessManager *>();
    if (!network)
        return false;
    QSignalSpy finished(network, &QNetworkAccessManager::finished);
    return finished.wait(10000);
}

void TestAutoUpdater::latestVersion_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("download");
    QTest::addColumn<bool>("update");

    QTest::newRow("plain text order, not version order")
        << feed(item("3.9.0", "http://example.org/k-3.9.0.exe") + item("3.10.0", "http://example.org/k-3.10.0.exe"))
        << "3.9.0" << "http://example.org/k-3.9.0.exe" << true;
    QTest::newRow("nested enclosure ignored")
        << feed("<item><enclosure url=\"http://example.org/k-3.1.0.exe\" sparkle:version=\"3.1.0\"/>"
                "<group><enclosure url=\"http://example.org/k-9.exe\" sparkle:version=\"9.9.9\"/></group></item>")
        << "3.1.0" << "http://example.org/k-3.1.0.exe" << true;
    QTest::newRow("enclosures outside items and other names ignored")
        << feed("<enclosure url=\"http://example.org/a.exe\" sparkle:version=\"8.0\"/>"
                "<item><Enclosure url=\"http://example.org/b.exe\" sparkle:version=\"7.0\"/>"
                "<enclosure url=\"http://example.org/c.exe\" version=\"6.0\"/></item>")
        << "3.0.1" << "" << false;
    QTest::newRow("only our own version") << feed(item("3.0.1", "http://example.org/k.exe"))
                                          << "3.0.1" << "http://example.org/k.exe" << false;
    QTest::newRow("an older version is still offered") << feed(item("2.9.9", "http://example.org/old.exe"))
                                                       << "2.9.9" << "http://example.org/old.exe" << true;
    QTest::newRow("feed without items") << feed("") << "3.0.1" << "" << false;
    QTest::newRow("download relative to the feed")
        << feed(item("3.2.0", "downloads/k-3.2.0.exe")) << "3.2.0" << "downloads/k-3.2.0.exe" << true;
}

void TestAutoUpdater::latestVersion()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, version);
    QFETCH(QString, download);
    QFETCH(bool, update);

    const QUrl address = serve(QStringLiteral("appcast.xml"), content);
    QVERIFY(address.isValid());
    BrowserAutoUpdater updater(address);
    QStringList reports;
    updater.attachSystemService(nullptr, [&reports](const QString &latest) { reports << latest; });

    updater.fetchLatestVersion();
    QVERIFY(waitForReply(updater));
    QCOMPARE(reports, QStringList{version});
    QVERIFY(updater.fetched());
    QCOMPARE(updater.latestVersion(), version);
    QCOMPARE(updater.latestDownloadUrl(), download.isEmpty() ? QUrl() : address.resolved(QUrl(download)));
    QCOMPARE(AutoUpdater::isUpdate(updater.latestVersion()), update);
}

void TestAutoUpdater::unreadableFeed_data()
{
    QTest::addColumn<QString>("address");

    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 closedPort = closed.serverPort();
    closed.close();
    QTest::newRow("nobody listening") << QStringLiteral("http://127.0.0.1:%1/appcast.xml").arg(closedPort);
    QTest::newRow("no such feed") << QStringLiteral("http://127.0.0.1:%1/missing.xml").arg(m_port);
    QTest::newRow("not XML") << serve(QStringLiteral("broken.xml"), "<rss><channel><item>").toString();
    // A well-formed page that comes with an error status is no feed either.
    QTest::newRow("error status")
        << serve(QStringLiteral("error.xml"), feed(item("9.0.0", "http://example.org/k.exe")), 500).toString();
}

void TestAutoUpdater::unreadableFeed()
{
    QFETCH(QString, address);

    BrowserAutoUpdater updater{QUrl(address)};
    QStringList reports;
    updater.attachSystemService(nullptr, [&reports](const QString &latest) { reports << latest; });

    QTest::ignoreMessage(QtWarningMsg, "Failed to parse XML");
    updater.fetchLatestVersion();
    QVERIFY(waitForReply(updater));
    QCOMPARE(reports, QStringList());
    QVERIFY(!updater.fetched());
    QCOMPARE(updater.latestVersion(), AutoUpdater::ownVersion);
}

void TestAutoUpdater::realFeed()
{
    const QString folder = realDataFolder();
    if (folder.isEmpty())
        QSKIP("real data folder not found");
    QFile real(folder + "/appcast/dact_appcast-win.xml");
    if (!real.open(QIODevice::ReadOnly))
        QSKIP("real appcast not found");

    BrowserAutoUpdater updater(serve(QStringLiteral("real.xml"), real.readAll()));
    QStringList reports;
    updater.attachSystemService(nullptr, [&reports](const QString &latest) { reports << latest; });
    updater.checkForUpdatesInBackground();
    QVERIFY(waitForReply(updater));
    QCOMPARE(reports, QStringList{"1.2.1"});
    QCOMPARE(updater.latestDownloadUrl(),
             QUrl("https://github.com/downloads/rug-compling/dact/Dact-1.2.1-win32.exe"));

    updater.checkAndInstall();
    QCOMPARE(m_browser.opened, QList<QUrl>{updater.latestDownloadUrl()});
}

void TestAutoUpdater::installOpensNewestDownload_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("checkFirst");
    QTest::addColumn<QString>("opened");

    const QByteArray newer = feed(item("3.1.0", "http://example.org/k-3.1.0.exe")
                                  + item("3.0.9", "http://example.org/k-3.0.9.exe"));
    QTest::newRow("after a check") << newer << true << "http://example.org/k-3.1.0.exe";
    QTest::newRow("reads the feed first") << newer << false << "http://example.org/k-3.1.0.exe";
    QTest::newRow("nothing newer") << feed(item("3.0.1", "http://example.org/k.exe")) << false << "";
    QTest::newRow("unreadable feed") << QByteArray("not a feed") << false << "";
}

void TestAutoUpdater::installOpensNewestDownload()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, checkFirst);
    QFETCH(QString, opened);

    BrowserAutoUpdater updater(serve(QStringLiteral("install.xml"), content));
    if (checkFirst) {
        updater.checkForUpdatesWithUi();
        QVERIFY(waitForReply(updater));
        QVERIFY(m_browser.opened.isEmpty());
    }
    const bool unreadable = !content.startsWith("<");
    if (unreadable)
        QTest::ignoreMessage(QtWarningMsg, "Failed to parse XML");
    updater.checkAndInstall();
    if (!checkFirst)
        QVERIFY(waitForReply(updater));
    QCOMPARE(m_browser.opened, opened.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl(opened)});

    // A failed or finished install request does not linger: a later check
    // opens nothing by itself.
    if (unreadable)
        QTest::ignoreMessage(QtWarningMsg, "Failed to parse XML");
    updater.checkForUpdatesInBackground();
    QVERIFY(waitForReply(updater));
    QCOMPARE(m_browser.opened.size(), opened.isEmpty() ? 0 : 1);
}

void TestAutoUpdater::appcastAddressFromEnvironment()
{
    const QByteArray saved = qgetenv("KIVARA_APPCAST_URL");
    qputenv("KIVARA_APPCAST_URL", "http://127.0.0.1:9/feed.xml");
    const QUrl overridden = AutoUpdater::defaultAppcastUrl();
    qunsetenv("KIVARA_APPCAST_URL");
    const QUrl builtIn = AutoUpdater::defaultAppcastUrl();
    if (!saved.isEmpty())
        qputenv("KIVARA_APPCAST_URL", saved);

    QCOMPARE(overridden, QUrl("http://127.0.0.1:9/feed.xml"));
    QCOMPARE(builtIn.scheme(), QStringLiteral("https"));
    QVERIFY(builtIn.path().startsWith(QStringLiteral("/KIV_AU/app_files/")));
}

QTEST_MAIN(TestAutoUpdater)
#include "tst_autoupdater.moc"
