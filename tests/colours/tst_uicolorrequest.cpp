#include "Model/uicolorrequest.h"
#include "Model/zuicolor.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
const QString colorsFileName = QStringLiteral("kiv_uicolors.zvr");
constexpr int pollInterval = 10;
constexpr int giveUpAfter = 300;
}

// The request cycle against two ZBrush data folders. The bridge's lookup of the
// newest colours file is stood in for by the same rule over the two folders.
class TestUiColorRequest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void givesUpWithoutAnyFile();
    void askingIsOptional();
    void fileWrittenAfterRequestIsLoaded();
    void newerFileOfOtherFolderIsLoaded();
    void newRequestReplacesPoll();

private:
    QString colorsFile(int folder) const;
    bool writeColours(int folder, const QByteArray &text, const QDateTime &modified);
    QString newestColorsFile() const;
    std::unique_ptr<UiColorRequest> makeRequest();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ZUiColor> m_colors;
    int m_asked = 0;
};

void TestUiColorRequest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    for (int folder = 0; folder < 2; ++folder)
        QVERIFY(QDir().mkpath(QFileInfo(colorsFile(folder)).path()));
    m_colors = std::make_unique<ZUiColor>();
    m_asked = 0;
}

void TestUiColorRequest::cleanup()
{
    m_colors.reset();
    m_dir.reset();
}

QString TestUiColorRequest::colorsFile(int folder) const
{
    return m_dir->filePath(QStringLiteral("ZBrush%1/ZPluginData/KIVData/").arg(folder) + colorsFileName);
}

bool TestUiColorRequest::writeColours(int folder, const QByteArray &text, const QDateTime &modified)
{
    QFile file(colorsFile(folder));
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size()
        && file.setFileTime(modified, QFileDevice::FileModificationTime);
}

QString TestUiColorRequest::newestColorsFile() const
{
    QString newest;
    QDateTime newestTime;
    for (int folder = 0; folder < 2; ++folder) {
        const QFileInfo info(colorsFile(folder));
        if (info.exists() && (newest.isEmpty() || info.lastModified() > newestTime)) {
            newest = info.filePath();
            newestTime = info.lastModified();
        }
    }
    return newest;
}

std::unique_ptr<UiColorRequest> TestUiColorRequest::makeRequest()
{
    auto request = std::make_unique<UiColorRequest>(
        m_colors.get(), [this] { return newestColorsFile(); }, [this] { ++m_asked; });
    request->setPollInterval(pollInterval);
    request->setGiveUpAfter(giveUpAfter);
    return request;
}

void TestUiColorRequest::givesUpWithoutAnyFile()
{
    auto request = makeRequest();
    QSignalSpy gaveUp(request.get(), &UiColorRequest::gaveUp);
    QSignalSpy loaded(request.get(), &UiColorRequest::colorsLoaded);

    QElapsedTimer clock;
    clock.start();
    request->request(true);
    QCOMPARE(m_asked, 1);
    QVERIFY(request->isPolling());

    QTRY_COMPARE_WITH_TIMEOUT(gaveUp.count(), 1, 5000);
    QVERIFY2(clock.elapsed() >= giveUpAfter, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!request->isPolling());
    QCOMPARE(loaded.count(), 0);
    QCOMPARE(m_colors->main(), QStringLiteral("#ff242424"));
}

void TestUiColorRequest::askingIsOptional()
{
    auto request = makeRequest();
    request->request(false);
    QCOMPARE(m_asked, 0);
    QVERIFY(request->isPolling());
}

void TestUiColorRequest::fileWrittenAfterRequestIsLoaded()
{
    auto request = makeRequest();
    QSignalSpy loaded(request.get(), &UiColorRequest::colorsLoaded);
    request->request(true);

    // Whatever time the first file carries, nothing was seen before it.
    QVERIFY(writeColours(1, "1,2", QDateTime::currentDateTime().addYears(-5)));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 5000);
    QCOMPARE(loaded.at(0).at(0).toString(), colorsFile(1));
    QCOMPARE(m_colors->main(), QStringLiteral("#ff010000"));
    QCOMPARE(m_colors->main2(), QStringLiteral("#ff020000"));
    QVERIFY(!request->isPolling());
}

void TestUiColorRequest::newerFileOfOtherFolderIsLoaded()
{
    const QDateTime now = QDateTime::currentDateTime();
    QVERIFY(writeColours(0, "1", now.addSecs(-100)));
    QVERIFY(writeColours(1, "2", now.addSecs(-200)));

    auto request = makeRequest();
    QSignalSpy loaded(request.get(), &UiColorRequest::colorsLoaded);
    QSignalSpy gaveUp(request.get(), &UiColorRequest::gaveUp);
    request->request(true);

    // ZBrush has not answered yet: the old files stay unread, and while a colours
    // file exists the poll does not give up.
    QTest::qWait(giveUpAfter * 2);
    QVERIFY(request->isPolling());
    QCOMPARE(loaded.count(), 0);
    QCOMPARE(gaveUp.count(), 0);

    QVERIFY(writeColours(1, "3", now.addSecs(1)));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 5000);
    QCOMPARE(loaded.at(0).at(0).toString(), colorsFile(1));
    QCOMPARE(m_colors->main(), QStringLiteral("#ff030000"));
    QVERIFY(!request->isPolling());
}

void TestUiColorRequest::newRequestReplacesPoll()
{
    auto request = makeRequest();
    QSignalSpy gaveUp(request.get(), &UiColorRequest::gaveUp);

    request->request(true);
    QTest::qWait(giveUpAfter / 2);
    QElapsedTimer clock;
    clock.start();
    request->request(true);
    QCOMPARE(m_asked, 2);

    QTRY_COMPARE_WITH_TIMEOUT(gaveUp.count(), 1, 5000);
    QVERIFY2(clock.elapsed() >= giveUpAfter, qPrintable(QString::number(clock.elapsed())));
    // Had the first poll kept running it would give up a second time.
    QTest::qWait(giveUpAfter);
    QCOMPARE(gaveUp.count(), 1);
}

QTEST_GUILESS_MAIN(TestUiColorRequest)
#include "tst_uicolorrequest.moc"
