// The usage analytics client against a local server that records each post;
// the client's clock is the test's, so queue times are exact.
#include "analytics/usageanalytics.h"
#include "tests/common/recordingserver.h"

#include <QCoreApplication>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

constexpr qint64 fourHours = 4 * 60 * 60 * 1000;
const QString userIDKey = QStringLiteral("UsageAnalytics-uid");

// The standard items of a hit of the given type from the client made below.
QString standardItems(const QString &type, const QString &userID = QString())
{
    return QStringLiteral("v=1&tid=UA-12345-6&cid=client-7%1&t=%2&ul=en-gb&vp=1280x800&sr=1920x1080")
        .arg(userID.isEmpty() ? QString() : QStringLiteral("&uid=") + userID, type);
}

QStringList bodies(const QList<RecordingServer::Request> &requests)
{
    QStringList result;
    for (const auto &request : requests)
        result << request.body;
    return result;
}

} // namespace

class TestUsageAnalytics : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void hitBodies_data();
    void hitBodies();
    void oneAtATimeInQueueOrder();
    void failedPostIsSentAgain();
    void fourHourLimit_data();
    void fourHourLimit();
    void userIDInSettings();

private:
    // A client on the server's endpoint that checks its queue only once
    // release() shortens the interval.
    std::unique_ptr<UsageAnalytics> client(RecordingServer &server);
    static void release(UsageAnalytics &analytics) { analytics.setSendInterval(10); }

    QDateTime m_now;
    // One server for all rows of hitBodies: starting one costs more than a row.
    std::unique_ptr<RecordingServer> m_bodiesServer;
};

void TestUsageAnalytics::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("KIV"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_usageanalytics"));
}

void TestUsageAnalytics::init()
{
    QSettings().remove(userIDKey);
    m_now = QDateTime(QDate(2024, 5, 6), QTime(9, 0), Qt::UTC);
}

std::unique_ptr<UsageAnalytics> TestUsageAnalytics::client(RecordingServer &server)
{
    auto analytics = std::make_unique<UsageAnalytics>(server.url(QStringLiteral("/collect")),
                                                      QStringLiteral("UA-12345-6"), QStringLiteral("client-7"),
                                                      QStringLiteral("Kivara"), QStringLiteral("3.0.1"),
                                                      QStringLiteral("1920x1080"), 3600000);
    analytics->setClock([this] { return m_now; });
    analytics->setLanguage(QStringLiteral("en-gb"));
    analytics->setViewportSize(QStringLiteral("1280x800"));
    return analytics;
}

void TestUsageAnalytics::hitBodies_data()
{
    QTest::addColumn<QString>("hit");
    QTest::addColumn<QString>("expected"); // after the standard items, before "qt"

    QTest::newRow("screen view") << "screen"
                                 << standardItems("screenview") + "&cd=Brushes%20%26%20Alphas&an=Kivara&av=3.0.1";
    QTest::newRow("app view, custom values last in key order")
        << "app" << standardItems("screenview") + "&cd=Caf%C3%A9&an=Kivara&av=3.0.1&cd1=a%20b&cd2=2";
    QTest::newRow("event") << "event" << standardItems("event") + "&an=Kivara&av=3.0.1&ec=Brush&ea=Activate";
    QTest::newRow("event with label and value")
        << "labelled event"
        << standardItems("event") + "&an=Kivara&av=3.0.1&ec=Brush&ea=Activate&el=C%2B%2B%201%2B1%3D2&ev=7";
    QTest::newRow("event with value 0, no label")
        << "zero event" << standardItems("event") + "&an=Kivara&av=3.0.1&ec=Store&ea=Open&ev=0";
    QTest::newRow("exception") << "exception"
                               << standardItems("exception") + "&an=Kivara&av=3.0.1&exd=Disk%20full&exf=0";
    QTest::newRow("fatal exception with a custom value")
        << "fatal" << standardItems("exception") + "&an=Kivara&av=3.0.1&exd=Crash&exf=1&cd3=x";
    QTest::newRow("session start") << "start"
                                   << standardItems("event") + "&an=Kivara&av=3.0.1&ec=Session&ea=Start&sc=start";
    QTest::newRow("session end") << "end" << standardItems("event") + "&an=Kivara&av=3.0.1&ec=Session&ea=End&sc=end";
}

void TestUsageAnalytics::hitBodies()
{
    QFETCH(QString, hit);
    QFETCH(QString, expected);

    if (!m_bodiesServer) {
        m_bodiesServer = std::make_unique<RecordingServer>();
        QVERIFY(m_bodiesServer->start());
    }
    RecordingServer &server = *m_bodiesServer;
    const int before = server.requests().size();
    auto analytics = client(server);
    if (hit == QLatin1String("screen"))
        analytics->sendScreenView(QStringLiteral("Brushes & Alphas"));
    else if (hit == QLatin1String("app"))
        analytics->sendAppView(QStringLiteral("Caf\u00e9"), {{QStringLiteral("cd2"), 2}, {QStringLiteral("cd1"), QStringLiteral("a b")}});
    else if (hit == QLatin1String("event"))
        analytics->sendEvent(QStringLiteral("Brush"), QStringLiteral("Activate"));
    else if (hit == QLatin1String("labelled event"))
        analytics->sendEvent(QStringLiteral("Brush"), QStringLiteral("Activate"), QStringLiteral("C++ 1+1=2"), 7);
    else if (hit == QLatin1String("zero event"))
        analytics->sendEvent(QStringLiteral("Store"), QStringLiteral("Open"), QString(), 0);
    else if (hit == QLatin1String("exception"))
        analytics->sendException(QStringLiteral("Disk full"));
    else if (hit == QLatin1String("fatal"))
        analytics->sendException(QStringLiteral("Crash"), true, {{QStringLiteral("cd3"), QStringLiteral("x")}});
    else if (hit == QLatin1String("start"))
        analytics->startSession();
    else
        analytics->endSession();

    // Sent 1.5 s after it was queued.
    m_now = m_now.addMSecs(1500);
    release(*analytics);
    QTRY_COMPARE(server.requests().size(), before + 1);
    const RecordingServer::Request &request = server.requests().constLast();
    QCOMPARE(request.method, QStringLiteral("POST"));
    QCOMPARE(request.path, QStringLiteral("/collect"));
    QCOMPARE(request.body, expected + QStringLiteral("&qt=1500"));
    QCOMPARE(request.headers.value(QStringLiteral("content-length")).toString().toInt(), request.body.size());
    QCOMPARE(request.headers.value(QStringLiteral("connection")).toString(), QStringLiteral("close"));
}

void TestUsageAnalytics::oneAtATimeInQueueOrder()
{
    RecordingServer server;
    // Slow answers: a client that posted without waiting would have several under way.
    QVERIFY(server.start({200}, 0.1));
    auto analytics = client(server);
    QSignalSpy sending(analytics.get(), &UsageAnalytics::isSendingChanged);
    analytics->sendScreenView(QStringLiteral("A"));
    analytics->sendEvent(QStringLiteral("B"), QStringLiteral("b"));
    m_now = m_now.addMSecs(250);
    analytics->sendException(QStringLiteral("C"));
    analytics->sendScreenView(QStringLiteral("D"));
    m_now = m_now.addMSecs(250);
    release(*analytics);

    QTRY_COMPARE(server.requests().size(), 4);
    QTRY_COMPARE(sending.size(), 2);
    const QStringList sent = bodies(server.requests());
    QVERIFY(sent.at(0).contains(QLatin1String("&cd=A&")) && sent.at(0).endsWith(QLatin1String("&qt=500")));
    QVERIFY(sent.at(1).contains(QLatin1String("&ec=B&")) && sent.at(1).endsWith(QLatin1String("&qt=500")));
    QVERIFY(sent.at(2).contains(QLatin1String("&exd=C&")) && sent.at(2).endsWith(QLatin1String("&qt=250")));
    QVERIFY(sent.at(3).contains(QLatin1String("&cd=D&")) && sent.at(3).endsWith(QLatin1String("&qt=250")));
    QStringList connection;
    for (const auto &request : server.requests()) {
        QCOMPARE(request.concurrent, 1);
        connection << request.headers.value(QStringLiteral("connection")).toString();
    }
    QCOMPARE(connection, QStringList({"keep-alive", "keep-alive", "keep-alive", "close"}));
    QCOMPARE(sending.at(0).at(0).toBool(), true);
    QCOMPARE(sending.at(1).at(0).toBool(), false);
    QVERIFY(!analytics->isSending());
}

void TestUsageAnalytics::failedPostIsSentAgain()
{
    RecordingServer server;
    QVERIFY(server.start({500, 200}));
    auto analytics = client(server);
    QSignalSpy sending(analytics.get(), &UsageAnalytics::isSendingChanged);
    analytics->sendScreenView(QStringLiteral("A"));
    analytics->sendScreenView(QStringLiteral("B"));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^\\[Analytics\\] Error posting message: .*Internal Server Error")));
    release(*analytics);

    QTRY_COMPARE(server.requests().size(), 3);
    QTRY_COMPARE(sending.size(), 4);
    const QStringList sent = bodies(server.requests());
    // The refused hit comes again, unchanged, before the next one.
    QCOMPARE(sent.at(1), sent.at(0));
    QVERIFY(sent.at(0).contains(QLatin1String("&cd=A&")));
    QVERIFY(sent.at(2).contains(QLatin1String("&cd=B&")));
    QCOMPARE(server.requests().at(0).status, 500);
    QList<bool> states;
    for (const auto &arguments : qAsConst(sending))
        states << arguments.at(0).toBool();
    QCOMPARE(states, (QList<bool>{true, false, true, false}));
    // Nothing more goes out once the queue is empty.
    QTest::qWait(100);
    QCOMPARE(server.requests().size(), 3);
}

void TestUsageAnalytics::fourHourLimit_data()
{
    QTest::addColumn<qint64>("waited");
    QTest::addColumn<bool>("sent");
    QTest::newRow("four hours") << fourHours << true;
    QTest::newRow("a millisecond more") << fourHours + 1 << false;
}

void TestUsageAnalytics::fourHourLimit()
{
    QFETCH(qint64, waited);
    QFETCH(bool, sent);

    RecordingServer server;
    QVERIFY(server.start());
    auto analytics = client(server);
    analytics->sendScreenView(QStringLiteral("Old"));
    m_now = m_now.addMSecs(waited);
    analytics->sendScreenView(QStringLiteral("New"));
    release(*analytics);

    QTRY_VERIFY(!server.requests().isEmpty() && server.requests().constLast().body.contains(QLatin1String("&cd=New&")));
    const QStringList bodiesSent = bodies(server.requests());
    QCOMPARE(bodiesSent.size(), sent ? 2 : 1);
    if (sent)
        QVERIFY(bodiesSent.constFirst().endsWith(QStringLiteral("&cd=Old&an=Kivara&av=3.0.1&qt=%1").arg(fourHours)));
    QVERIFY(bodiesSent.constLast().endsWith(QLatin1String("&qt=0")));
}

void TestUsageAnalytics::userIDInSettings()
{
    RecordingServer server;
    QVERIFY(server.start());
    {
        auto first = client(server);
        QCOMPARE(first->userID(), QString());
        QSignalSpy changed(first.get(), &UsageAnalytics::userIDChanged);
        first->setUserID(QStringLiteral("artist 9"));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(QSettings().value(userIDKey).toString(), QStringLiteral("artist 9"));
        first->sendEvent(QStringLiteral("E"), QStringLiteral("e"));
        release(*first);
        QTRY_COMPARE(server.requests().size(), 1);
    }
    // A client made later finds the stored id and sends it.
    auto second = client(server);
    QCOMPARE(second->userID(), QStringLiteral("artist 9"));
    second->sendScreenView(QStringLiteral("S"));
    release(*second);
    QTRY_COMPARE(server.requests().size(), 2);
    for (const auto &request : server.requests())
        QVERIFY2(request.body.startsWith(standardItems(request.body.contains(QLatin1String("t=event")) ? "event" : "screenview",
                                                       QStringLiteral("artist%209"))),
                 qPrintable(request.body));
    // The property reads the setting itself.
    QSettings().setValue(userIDKey, QStringLiteral("other"));
    QCOMPARE(second->userID(), QStringLiteral("other"));
}

QTEST_GUILESS_MAIN(TestUsageAnalytics)
#include "tst_usageanalytics.moc"
