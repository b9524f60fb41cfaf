// Start-up as a process: the real program, started offscreen in a scratch folder.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void logHasOnlyThisRunInTheLineFormat();
    void secondInstanceExitsWithoutWindow();
    void staleSegmentOfCrashedInstanceIsRecovered();
    void createsEveryProgramTable();
    void missingDatabaseIsLoggedAndStartupGoesOn();
    void everyCatalogueScansAtStart();
    void updateCheckFollowsSetting_data();
    void updateCheckFollowsSetting();

private:
    // The program is copied into its own folder so that its Resources/ is the test's.
    QString installProgram(bool withDatabase = true);
    QStringList tables(const QString &databasePath) const;
    bool storeSetting(const QString &name, const QString &value) const;
    QProcess *start(const QString &program);
    // Generous: a loaded machine can take many seconds to start a process.
    bool waitForLog(const QString &text, int timeoutMs = 60000) const;
    QString log() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QList<QProcess *> m_processes;
    // Where the program looks for its update feed; nobody answers unless a test listens.
    QString m_appcastUrl;
};

void StartupTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("work")));
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("tmp")));
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    m_appcastUrl = QStringLiteral("http://127.0.0.1:%1/appcast.xml").arg(closed.serverPort());
}

void StartupTest::cleanup()
{
    for (QProcess *process : qAsConst(m_processes)) {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(5000);
        }
        delete process;
    }
    m_processes.clear();
}

QString StartupTest::installProgram(bool withDatabase)
{
    const QString binDir = qEnvironmentVariable("KIVARA_BIN_DIR");
    const QString target = m_dir->filePath(QStringLiteral("app"));
    QDir().mkpath(target + QStringLiteral("/Resources"));
    const QString program = target + QStringLiteral("/kivara");
    if (!QFile::copy(binDir + QStringLiteral("/kivara"), program))
        return {};
    // The pristine template, not bin/Resources/brushes.db, which may hold a library by now.
    const QString shippedDb = qEnvironmentVariable("KIVARA_TEMPLATE_DB");
    if (withDatabase && QFile::exists(shippedDb))
        QFile::copy(shippedDb, target + QStringLiteral("/Resources/brushes.db"));
    return program;
}

QProcess *StartupTest::start(const QString &program)
{
    auto *process = new QProcess;
    m_processes << process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // QSharedMemory derives its key file from the temporary folder: a private one
    // keeps this test apart from any other Kivara on the machine.
    env.insert(QStringLiteral("TMPDIR"), m_dir->filePath(QStringLiteral("tmp")));
    env.insert(QStringLiteral("WINEPREFIX"), m_dir->filePath(QStringLiteral("wine")));
    env.insert(QStringLiteral("KIVARA_APPCAST_URL"), m_appcastUrl);
    process->setProcessEnvironment(env);
    process->setWorkingDirectory(m_dir->filePath(QStringLiteral("work")));
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(program, QStringList());
    return process;
}

QString StartupTest::log() const
{
    QFile file(m_dir->filePath(QStringLiteral("work/logfile.txt")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

bool StartupTest::waitForLog(const QString &text, int timeoutMs) const
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (log().contains(text))
            return true;
        QTest::qWait(50);
    }
    return false;
}

void StartupTest::logHasOnlyThisRunInTheLineFormat()
{
    const QString program = installProgram();
    QVERIFY(!program.isEmpty());
    QFile stale(m_dir->filePath(QStringLiteral("work/logfile.txt")));
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("[Debug  ] <old> a line of an earlier run\n");
    stale.close();

    QProcess *first = start(program);
    QVERIFY(first->waitForStarted());
    QVERIFY2(waitForLog(QStringLiteral("Kivara 3.0.1 starting")), qPrintable(log()));

    const QString text = log();
    QVERIFY(!text.contains(QStringLiteral("earlier run")));
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(!lines.isEmpty());
    static const QRegularExpression format(
        QStringLiteral(R"(^\[(Debug  |Info   |Warning|Error  |Fatal  )\] <.*> .*$)"));
    for (const QString &line : lines)
        QVERIFY2(format.match(line).hasMatch(), qPrintable(line));
    QVERIFY(text.contains(QStringLiteral("[Info   ] <static void Startup::startLog()> Kivara 3.0.1 starting")));
    QCOMPARE(first->state(), QProcess::Running);
}

void StartupTest::secondInstanceExitsWithoutWindow()
{
    const QString program = installProgram();
    QVERIFY(!program.isEmpty());
    QProcess *first = start(program);
    QVERIFY(waitForLog(QStringLiteral("starting")));

    // The second one leaves before it opens a log of its own.
    QFile::remove(m_dir->filePath(QStringLiteral("work/logfile.txt")));
    QProcess *second = start(program);
    QVERIFY(second->waitForFinished(60000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("work/logfile.txt"))));
    QCOMPARE(first->state(), QProcess::Running);
}

void StartupTest::staleSegmentOfCrashedInstanceIsRecovered()
{
    const QString program = installProgram();
    QVERIFY(!program.isEmpty());
    QProcess *crashed = start(program);
    QVERIFY(waitForLog(QStringLiteral("starting")));
    ::kill(pid_t(crashed->processId()), SIGKILL);
    QVERIFY(crashed->waitForFinished(5000));

    QFile::remove(m_dir->filePath(QStringLiteral("work/logfile.txt")));
    QProcess *next = start(program);
    QVERIFY2(waitForLog(QStringLiteral("starting")),
             qPrintable(QStringLiteral("a stale segment kept the program from starting (state %1, exit code %2)")
                            .arg(next->state()).arg(next->exitCode())));
    QCOMPARE(next->state(), QProcess::Running);
}

QStringList StartupTest::tables(const QString &databasePath) const
{
    QStringList names;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("probe"));
        db.setDatabaseName(databasePath);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery query(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"), db);
            while (query.next())
                names << query.value(0).toString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("probe"));
    return names;
}

// Written into the installed program's database before it starts.
bool StartupTest::storeSetting(const QString &name, const QString &value) const
{
    bool stored = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("setup"));
        db.setDatabaseName(m_dir->filePath(QStringLiteral("app/Resources/brushes.db")));
        if (db.open()) {
            QSqlQuery query(db);
            stored = query.exec(QStringLiteral("INSERT OR REPLACE INTO Settings (Name, Value) VALUES ('%1', '%2')")
                                    .arg(name, value));
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("setup"));
    return stored;
}

void StartupTest::createsEveryProgramTable()
{
    const QString program = installProgram();
    QVERIFY(!program.isEmpty());
    QProcess *process = start(program);
    QVERIFY(waitForLog(QStringLiteral("starting")));

    QStringList expected{QStringLiteral("FavoriteResources"), QStringLiteral("UILayoutFolders"),
                         QStringLiteral("StoreSetInfo")};
    const QStringList stems{"Project", "Material", "Tool", "Fiber", "Texture", "Light",
                            "Grid", "MeshArray", "Spotlight", "RenderPreset", "Document"};
    for (const QString &stem : stems)
        expected << stem + QStringLiteral("Categories") << stem + QStringLiteral("s") << stem + QStringLiteral("Folders");
    // The shipped base tables stay as they were.
    expected << QStringLiteral("Brushes") << QStringLiteral("Alphas") << QStringLiteral("Settings")
             << QStringLiteral("FavoriteSets") << QStringLiteral("Icons");

    const QString db = m_dir->filePath(QStringLiteral("app/Resources/brushes.db"));
    QStringList missing;
    const auto tablesMissing = [&] {
        const QStringList present = tables(db);
        missing.clear();
        for (const QString &table : qAsConst(expected)) {
            if (!present.contains(table))
                missing << table;
        }
        return !missing.isEmpty();
    };
    QTRY_VERIFY2_WITH_TIMEOUT(!tablesMissing(), qPrintable(missing.join(QLatin1Char(' '))), 10000);
    QCOMPARE(process->state(), QProcess::Running);
}

void StartupTest::missingDatabaseIsLoggedAndStartupGoesOn()
{
    const QString program = installProgram(false);
    QVERIFY(!program.isEmpty());
    QProcess *process = start(program);
    QVERIFY2(waitForLog(QStringLiteral("[Error  ] <static void Startup::prepareDatabaseFile()> Error installing database to: ")),
             qPrintable(log()));
    QTest::qWait(300);
    QCOMPARE(process->state(), QProcess::Running);
}

// One file per kind in a ZBrush folder stored as set up: every catalogue start-up
// creates scans it into its own table.
void StartupTest::everyCatalogueScansAtStart()
{
    const QString program = installProgram();
    QVERIFY(!program.isEmpty());
    const QString zbrush = m_dir->filePath(QStringLiteral("ZBrush"));
    const QList<QPair<QString, QString>> files{
        {"ZBrushes/Clay.ZBP", "Brushes"},     {"ZAlphas/Rock.png", "Alphas"},
        {"ZProjects/Demo.zpr", "Projects"},  {"ZMaterials/Skin.zmt", "Materials"},
        {"ZTools/Dog.ZTL", "Tools"},         {"ZFibersPresets/Fur.zfp", "Fibers"},
        {"ZTextures/Bark.jpg", "Textures"},  {"ZLightCaps/Sun.zli", "Lights"},
        {"ZGrids/Grid.zgr", "Grids"},        {"ZArraysPresets/Row.zam", "MeshArrays"},
        {"ZSpotlights/Spot.zsl", "Spotlights"}, {"ZRenderPresets/Best.zrp", "RenderPresets"}};
    QVERIFY(QDir().mkpath(zbrush + QStringLiteral("/ZStartup")));
    for (const auto &file : files) {
        const QString path = zbrush + QLatin1Char('/') + file.first;
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
    }
    QVERIFY(storeSetting(QStringLiteral("ZBrushPath"), zbrush));

    QProcess *process = start(program);
    // The update check comes after every catalogue has been made and set up.
    QVERIFY2(waitForLog(QStringLiteral("Checking for updates at ")), qPrintable(log()));
    // Brushes and alphas are stored once their files have been read on worker threads.
    const QString dbPath = m_dir->filePath(QStringLiteral("app/Resources/brushes.db"));
    QStringList missing;
    const auto notScanned = [&] {
        missing.clear();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("scanned"));
            db.setDatabaseName(dbPath);
            db.open();
            for (const auto &file : files) {
                const QString name = QFileInfo(file.first).completeBaseName();
                QSqlQuery query(db);
                query.exec(QStringLiteral("SELECT Path FROM \"%1\" WHERE Name = '%2'").arg(file.second, name));
                if (!query.next() || query.value(0).toString() != zbrush + QLatin1Char('/') + file.first)
                    missing << file.second;
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("scanned"));
        return !missing.isEmpty();
    };
    QTRY_VERIFY2_WITH_TIMEOUT(!notScanned(), qPrintable(missing.join(QLatin1Char(' '))), 10000);
    QCOMPARE(process->state(), QProcess::Running);
}

void StartupTest::updateCheckFollowsSetting_data()
{
    QTest::addColumn<QString>("stored"); // empty: no AutoUpdate row
    QTest::addColumn<bool>("checks");

    QTest::newRow("no stored value") << QString() << true;
    QTest::newRow("stored true") << "true" << true;
    QTest::newRow("stored false") << "false" << false;
}

void StartupTest::updateCheckFollowsSetting()
{
    QFETCH(QString, stored);
    QFETCH(bool, checks);
    const QString program = installProgram();
    QVERIFY(!program.isEmpty());
    if (!stored.isEmpty())
        QVERIFY(storeSetting(QStringLiteral("AutoUpdate"), stored));
    // The feed server: a check shows up as a connection.
    QTcpServer feed;
    QVERIFY(feed.listen(QHostAddress::LocalHost));
    m_appcastUrl = QStringLiteral("http://127.0.0.1:%1/appcast.xml").arg(feed.serverPort());

    QProcess *process = start(program);
    const QString decided = checks ? QStringLiteral("Checking for updates at ") + m_appcastUrl
                                   : QStringLiteral("Automatic update checks are off");
    QVERIFY2(waitForLog(decided), qPrintable(log()));
    // The connection may have come in while the log was awaited.
    QCOMPARE(feed.hasPendingConnections() || feed.waitForNewConnection(checks ? 20000 : 1000), checks);
    QCOMPARE(process->state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(StartupTest)
#include "tst_startup.moc"
