#include "logger.h"

#include <QTemporaryDir>
#include <QThread>
#include <QtConcurrent>
#include <QtTest>

class LoggerTest : public QObject
{
    Q_OBJECT

private slots:
    void levelPadding_data();
    void levelPadding();
    void restartEmptiesTheFile();
    void linesFromManyThreadsStayWhole();
    void cleanup() { Logger::instance().stop(); }
};

void LoggerTest::levelPadding_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("expected");
    QTest::newRow("debug") << int(QtDebugMsg) << QStringLiteral("[Debug  ] <void f()> text\n");
    QTest::newRow("info") << int(QtInfoMsg) << QStringLiteral("[Info   ] <void f()> text\n");
    QTest::newRow("warning") << int(QtWarningMsg) << QStringLiteral("[Warning] <void f()> text\n");
    QTest::newRow("critical is error") << int(QtCriticalMsg) << QStringLiteral("[Error  ] <void f()> text\n");
}

void LoggerTest::levelPadding()
{
    QFETCH(int, type);
    QFETCH(QString, expected);
    QCOMPARE(Logger::formatLine(QtMsgType(type), "void f()", QStringLiteral("text")), expected);
}

void LoggerTest::restartEmptiesTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("logfile.txt"));
    QVERIFY(Logger::instance().startFileAppender(path));
    qDebug() << "first run";
    QVERIFY(Logger::instance().startFileAppender(path));
    qWarning("second run");
    Logger::instance().stop();

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(!text.contains(QStringLiteral("first run")));
    QCOMPARE(text, QStringLiteral("[Warning] <void LoggerTest::restartEmptiesTheFile()> second run\n"));
}

void LoggerTest::linesFromManyThreadsStayWhole()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("logfile.txt"));
    QVERIFY(Logger::instance().startFileAppender(path));
    constexpr int threads = 8;
    constexpr int perThread = 500;
    QThreadPool pool;
    pool.setMaxThreadCount(threads);
    for (int t = 0; t < threads; ++t) {
        QtConcurrent::run(&pool, [t] {
            for (int i = 0; i < perThread; ++i)
                qInfo("worker %d line %d", t, i);
        });
    }
    pool.waitForDone();
    Logger::instance().stop();

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), threads * perThread);
    const QRegularExpression format(QStringLiteral(R"(^\[Info   \] <.*> worker \d line \d+$)"));
    for (const QString &line : lines)
        QVERIFY2(format.match(line).hasMatch(), qPrintable(line));
}

QTEST_GUILESS_MAIN(LoggerTest)
#include "tst_logger.moc"
