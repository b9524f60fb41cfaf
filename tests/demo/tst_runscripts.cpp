// `make run` as a person meets it: scripts/run in a build tree of its own, once on
// a machine without ZBrush (the demo starts) and once with a Wine prefix holding one.
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

class RunScriptsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void withoutZBrushTheDemoStarts();
    void aPrefixWithZBrushIsUsed();

private:
    QProcess *run(const QString &winePrefix);
    static QString read(const QString &path);
    static QByteArray hashOf(const QString &path);

    QTemporaryDir m_dir;
    QString m_build;
    QString m_appcastUrl;
    std::unique_ptr<QProcess> m_process;
};

void RunScriptsTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // The build's program, generator and template, and a library of "the user's" own.
    m_build = m_dir.filePath(QStringLiteral("build"));
    const QString bin = qEnvironmentVariable("KIVARA_BIN_DIR");
    const QStringList folders{QStringLiteral("build/bin/Resources"), QStringLiteral("build/tools"),
                              QStringLiteral("build/sql"), QStringLiteral("home"), QStringLiteral("tmp")};
    for (const QString &folder : folders)
        QVERIFY(QDir().mkpath(m_dir.filePath(folder)));
    // A copy: the program finds its Resources/ beside its real path.
    QVERIFY(QFile::copy(bin + QStringLiteral("/kivara"), m_build + QStringLiteral("/bin/kivara")));
    QVERIFY(QFile::link(bin + QStringLiteral("/imageformats"), m_build + QStringLiteral("/bin/imageformats")));
    QVERIFY(QFile::link(QStringLiteral(KIVARA_DEMO_TOOL), m_build + QStringLiteral("/tools/kivara-demo")));
    QVERIFY(QFile::link(QStringLiteral(KIVARA_TEMPLATE_DB), m_build + QStringLiteral("/sql/brushes.db")));
    QVERIFY(QFile::copy(QStringLiteral(KIVARA_TEMPLATE_DB), m_build + QStringLiteral("/bin/Resources/brushes.db")));
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    m_appcastUrl = QStringLiteral("http://127.0.0.1:%1/appcast.xml").arg(closed.serverPort());
}

void RunScriptsTest::cleanup()
{
    if (m_process) {
        m_process->kill();
        m_process->waitForFinished(5000);
        m_process.reset();
    }
}

QProcess *RunScriptsTest::run(const QString &winePrefix)
{
    m_process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("BUILD_DIR"), m_build);
    env.insert(QStringLiteral("HOME"), m_dir.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("TMPDIR"), m_dir.filePath(QStringLiteral("tmp")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("KIVARA_APPCAST_URL"), m_appcastUrl);
    env.remove(QStringLiteral("PROGRAMFILES"));
    if (winePrefix.isEmpty())
        env.remove(QStringLiteral("WINEPREFIX"));
    else
        env.insert(QStringLiteral("WINEPREFIX"), winePrefix);
    m_process->setProcessEnvironment(env);
    m_process->start(QStringLiteral("bash"),
                     {qEnvironmentVariable("KIVARA_SOURCE_DIR") + QStringLiteral("/scripts/run")});
    return m_process.get();
}

QString RunScriptsTest::read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QByteArray RunScriptsTest::hashOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                                          : QByteArray();
}

void RunScriptsTest::withoutZBrushTheDemoStarts()
{
    const QString library = m_build + QStringLiteral("/bin/Resources/brushes.db");
    const QByteArray before = hashOf(library);
    QProcess *process = run(QString());
    const QString zbrush = m_build + QStringLiteral("/demo/wine/drive_c/Program Files/Pixologic/ZBrush 2022");
    const QString log = m_build + QStringLiteral("/demo/logfile.txt");
    QTRY_VERIFY_WITH_TIMEOUT(read(log).contains(QStringLiteral("ZBrush installation in use: ") + zbrush), 90000);
    const QString said = QString::fromUtf8(process->readAllStandardOutput());
    QVERIFY2(said.contains(QStringLiteral("no ZBrush installation in the Wine prefix")), qPrintable(said));
    QVERIFY2(said.contains(QStringLiteral("starting on the demo ZBrush 2022 in ") + zbrush), qPrintable(said));
    QVERIFY(read(log).contains(QStringLiteral("Library database: ") + m_build + QStringLiteral("/demo/kivara/Resources/brushes.db")));
    QCOMPARE(process->state(), QProcess::Running);
    // The user's library stays as it was.
    QCOMPARE(hashOf(library), before);
}

void RunScriptsTest::aPrefixWithZBrushIsUsed()
{
    // The demo's prefix stands in for a user's Wine prefix with ZBrush installed.
    const QString prefix = m_build + QStringLiteral("/demo/wine");
    QVERIFY2(QFile::exists(prefix + QStringLiteral("/system.reg")), "needs the demo of the test before");
    QProcess *process = run(prefix);
    const QString log = m_build + QStringLiteral("/bin/logfile.txt");
    // Not chosen yet in the user's library: set-up offers the installation found.
    QTRY_VERIFY_WITH_TIMEOUT(read(log).contains(QStringLiteral("No ZBrush installation is chosen yet")), 60000);
    QVERIFY2(read(log).contains(QStringLiteral("ZBrush 2022: ") + prefix), qPrintable(read(log)));
    const QString said = QString::fromUtf8(process->readAllStandardOutput());
    QVERIFY2(said.contains(QStringLiteral("starting on the ZBrush installation of the Wine prefix ") + prefix),
             qPrintable(said));
}

QTEST_GUILESS_MAIN(RunScriptsTest)
#include "tst_runscripts.moc"
