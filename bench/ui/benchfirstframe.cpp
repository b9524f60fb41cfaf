// Time from process start to the main window's first frame, with the software
// renderer, on a library with no resources and on one of 50 000 resources.
//
// The parent builds a ZBrush folder and a library in a temporary folder, then starts
// itself as a child process several times; the child starts the program's services
// and windows as start-up does and prints the monotonic clock at the main window's
// first frame. The first run fills the library (every file is new), the later runs
// start on the filled library.
//
//   bench_firstframe [resources] [runs]     (defaults: 0 and 50000, 3 runs each)
//   run it under X (xvfb-run -a), it sets QT_QUICK_BACKEND=software for the children

#include "appfolders.h"
#include "appservices.h"
#include "startup.h"
#include "tools/writers/zbrushfilewriter.h"

#include "Model/databaseservice.h"
#include "Model/resourcedataservice.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <ctime>

namespace {

QTextStream out(stdout);

// The same clock in the parent and in the child.
qint64 monotonicMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// Resources per folder of the ZBrush installation, in parts of a hundred.
struct Share
{
    const char *folder;
    const char *extension;
    int percent;
};
const Share shares[] = {
    {"ZBrushes", "ZBP", 20},  {"ZAlphas", "png", 20},      {"ZTextures", "png", 6},
    {"ZMaterials", "zmt", 10}, {"ZTools", "ztl", 8},        {"ZProjects", "zpr", 6},
    {"ZFibersPresets", "zfp", 5}, {"ZLightCaps", "zli", 5}, {"ZGrids", "zgr", 5},
    {"ZArraysPresets", "zam", 5}, {"ZSpotlights", "zsl", 5}, {"ZRenderPresets", "zrp", 5},
};

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool buildInstallation(const QString &root, int resources)
{
    const QString zbrush = root + QStringLiteral("/ZBrush");
    if (!QDir().mkpath(zbrush + QStringLiteral("/ZStartup/ZPlugs64/KIVData")))
        return false;
    const QByteArray zfile = ZBrushFileWriter::file(ZBrushFileWriter::uniformImage(0xff808080u), 6);
    QImage image(128, 128, QImage::Format_Grayscale8);
    image.fill(QColor(128, 128, 128));
    const QString sample = root + QStringLiteral("/sample.png");
    QFile sampleFile(sample);
    if (!image.save(sample) || !sampleFile.open(QIODevice::ReadOnly))
        return false;
    const QByteArray png = sampleFile.readAll();
    int written = 0;
    for (const Share &share : shares) {
        const QString folder = zbrush + QLatin1Char('/') + QLatin1String(share.folder);
        QDir().mkpath(folder);
        const int count = resources * share.percent / 100;
        const bool isImage = QLatin1String(share.extension) == QLatin1String("png");
        for (int i = 0; i < count; ++i) {
            const QString path = QStringLiteral("%1/%2 %3.%4").arg(folder, QLatin1String(share.folder)).arg(i).arg(QLatin1String(share.extension));
            if (!writeFile(path, isImage ? png : zfile))
                return false;
        }
        written += count;
    }
    out << "library: " << written << " resource files\n";
    out.flush();
    return true;
}

// The program folder with its library, set up for the ZBrush folder, whose script
// plug-in is current (no installation at start).
bool prepareProgram(const QString &root)
{
    const QString resources = root + QStringLiteral("/program/Resources/");
    const QString database = resources + QStringLiteral("brushes.db");
    const QString plugins = root + QStringLiteral("/ZBrush/ZStartup/ZPlugs64/");
    const bool ok = QDir().mkpath(resources) && QFile::copy(QStringLiteral(KIVARA_TEMPLATE_DB), database)
        && QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner)
        && writeFile(resources + QStringLiteral("kiv.zsc"), "script") && writeFile(resources + QStringLiteral("Dirtool64.dll"), "dll")
        && writeFile(plugins + QStringLiteral("KIVData/Dirtool64.dll"), "dll") && writeFile(plugins + QStringLiteral("kiv.zsc"), "script");
    if (!ok)
        return false;
    QFile installed(plugins + QStringLiteral("kiv.zsc"));
    if (!installed.open(QIODevice::ReadWrite)
        || !installed.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime))
        return false;
    DatabaseService(database, QStringLiteral("bench")).writeSetting(DatabaseService::ZBrushPath, root + QStringLiteral("/ZBrush"));
    return true;
}

// The child: start-up's services and windows; prints the clock at the first frame.
int runChild(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QGuiApplication app(argc, argv);
    const QString root = QCoreApplication::arguments().at(2);
    Startup::setIdentity();
    AppFolders::setProgramFolderForTesting(root + QStringLiteral("/program"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, root + QStringLiteral("/settings"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, root + QStringLiteral("/settings"));
    AppServices::addFonts();
    QQmlApplicationEngine engine;
    AppServices::registerQmlTypes();
    AppServices services(&engine, AppFolders::databasePath());
    services.create();
    engine.load(QUrl(QStringLiteral("qrc:/main.qml")));
    engine.load(QUrl(QStringLiteral("qrc:/MiniModeWindow.qml")));
    if (engine.rootObjects().size() != 2)
        return 2;
    services.adoptCatalogues(engine.rootObjects().constLast());
    auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst());
    QObject::connect(window, &QQuickWindow::frameSwapped, &app, [&] {
        int rows = 0;
        for (ResourceDataService *catalogue : services.catalogues())
            rows += catalogue->rowCount();
        QTextStream(stdout) << "frame " << monotonicMs() << ' ' << rows << '\n';
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    }, Qt::QueuedConnection);
    return app.exec();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 2 && QByteArray(argv[1]) == "--child")
        return runChild(argc, argv);

    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    QList<int> sizes{0, 50000};
    if (arguments.size() > 1)
        sizes = {arguments.at(1).toInt()};
    const int runs = arguments.size() > 2 ? arguments.at(2).toInt() : 3;

    for (const int size : sizes) {
        QTemporaryDir dir;
        const QString root = dir.path();
        if (!buildInstallation(root, size))
            return 1;
        if (!prepareProgram(root))
            return 1;
        QList<qint64> times;
        for (int run = 0; run < runs; ++run) {
            QProcess child;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
            env.insert(QStringLiteral("WINEPREFIX"), root + QStringLiteral("/prefix"));
            env.insert(QStringLiteral("KIVARA_APPCAST_URL"), QStringLiteral("http://127.0.0.1:9/appcast.xml"));
            env.insert(QStringLiteral("XDG_CACHE_HOME"), root + QStringLiteral("/cache"));
            child.setProcessEnvironment(env);
            child.setWorkingDirectory(root);
            child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            const qint64 started = monotonicMs();
            child.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--child"), root});
            if (!child.waitForFinished(600000)) {
                out << "child did not finish\n";
                return 1;
            }
            // The last line holds the frame; anything before it is the program's own output.
            const QByteArray printed = child.readAllStandardOutput().trimmed();
            const QList<QByteArray> words = printed.mid(printed.lastIndexOf('\n') + 1).split(' ');
            if (words.size() != 3 || words.at(0) != "frame") {
                out << "child failed: exit " << child.exitCode() << ", printed: " << printed << '\n';
                return 1;
            }
            const qint64 ms = words.at(1).toLongLong() - started;
            times << ms;
            out << "resources " << size << ", run " << run + 1 << (run == 0 ? " (first start)" : "")
                << ": first frame after " << ms << " ms, " << words.at(2) << " rows\n";
            out.flush();
        }
        std::sort(times.begin() + (times.size() > 1 ? 1 : 0), times.end());
        if (times.size() > 1)
            out << "resources " << size << ": later starts, median " << times.at(1 + (times.size() - 1) / 2) << " ms\n";
    }
    return 0;
}
