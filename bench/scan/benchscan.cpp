// Scanning the eight generic catalogues: a generated tree of files in nested folders
// (ZBrush's folders of each kind, the store folder and a user location per kind),
// scanned into an empty library database and then again with nothing changed. Every
// figure is given as a ratio to `find <tree> -type f`, and the scans also as a ratio
// to `find -printf '%T@ %p'`, which like a scan reads every file's time: the floor a
// scan can reach.
//
//   bench_scan [files[,files...]] [rounds]      (defaults 10000,50000,250000 and 3)

#include "Model/databaseservice.h"
#include "bench/common/residentmemory.h"
#include "Model/folderwalk.h"
#include "Model/genericdataservice.h"
#include "Model/hostbridge.h"
#include "Model/systemdataservice.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>
#include <QVector>

#include <sys/resource.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int filesPerFolder = 250;

QTextStream out(stdout);

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values.at(values.size() / 2);
}

double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Wall-clock and processor time of one run; on a shared machine the processor time
// is the steadier figure. who is RUSAGE_SELF, or RUSAGE_CHILDREN for a program run.
struct Figures
{
    QString label;
    std::vector<double> wall;
    std::vector<double> cpu;

    void measure(const std::function<void()> &work, int who = RUSAGE_SELF)
    {
        const double cpuBefore = cpuSeconds(who);
        QElapsedTimer timer;
        timer.start();
        work();
        wall.push_back(timer.nsecsElapsed() / 1e9);
        cpu.push_back(cpuSeconds(who) - cpuBefore);
    }
};

bool writeEmpty(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

// Spreads count files over the kinds: three fifths in ZBrush's folders, one fifth in
// the store folder, one fifth in a user location, in folders two levels deep.
bool makeTree(const QString &zbrush, const QString &store, const QString &user, int count)
{
    const auto &kinds = GenericDataService::kinds();
    const int perKind = count / kinds.size();
    QSet<QString> made;
    for (const GenericDataService::Kind &kind : kinds) {
        const QString extension = QString::fromLatin1(kind.extension);
        const QString word = QString::fromLatin1(kind.kindWord);
        for (int i = 0; i < perKind; ++i) {
            const int folder = i / filesPerFolder;
            QString root;
            switch (i % 5) {
            case 0:
                root = store + QLatin1Char('/') + word;
                break;
            case 1:
                root = user + QLatin1Char('/') + word;
                break;
            default:
                root = zbrush + kind.hostFolders.at(folder % kind.hostFolders.size());
                break;
            }
            const QString dir = QStringLiteral("%1/pack%2/set%3").arg(root).arg(folder / 4).arg(folder % 4);
            if (!made.contains(dir)) {
                QDir().mkpath(dir);
                made.insert(dir);
            }
            if (!writeEmpty(QStringLiteral("%1/%2_%3.%4").arg(dir, word).arg(i, 6, 10, QLatin1Char('0')).arg(extension)))
                return false;
        }
    }
    return true;
}

// With withTimes find also reads every file's modification time, as a scan must.
void runFind(const QString &tree, bool withTimes = false)
{
    QProcess find;
    find.setStandardOutputFile(QProcess::nullDevice());
    QStringList arguments{tree, QStringLiteral("-type"), QStringLiteral("f")};
    if (withTimes)
        arguments << QStringLiteral("-printf") << QStringLiteral("%T@ %p\\n");
    find.start(QStringLiteral("find"), arguments);
    find.waitForFinished(-1);
}

struct Catalogues
{
    QSharedPointer<HostBridge> bridge;
    QSharedPointer<DatabaseService> database;
    QSharedPointer<SystemDataService> system;
    std::vector<std::unique_ptr<GenericDataService>> services;
    int rows() const
    {
        int total = 0;
        for (const auto &service : services)
            total += service->rowCount();
        return total;
    }
};

// One tree of files, measured rounds times; prints its table.
void benchmark(int files, int rounds)
{
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("prefix"));
    const QString dataFolder = prefix + QStringLiteral("/drive_c/users/Public/Documents/ZBrushData2021/");
    const QString zbrush = dir.filePath(QStringLiteral("tree/ZBrush"));
    const QString store = dataFolder + QStringLiteral("ZPluginData/KIVData/KIVSource");
    const QString user = dir.filePath(QStringLiteral("tree/user"));
    qputenv("WINEPREFIX", QFile::encodeName(prefix));
    QDir().mkpath(zbrush + QStringLiteral("/ZStartup"));
    QDir().mkpath(store);
    out << "generating " << files << " files ..." << Qt::endl;
    if (!makeTree(zbrush, store, user, files)) {
        out << "cannot write the tree in " << dir.path() << Qt::endl;
        return;
    }
    // find sees both the ZBrush/user tree and the store folder, as the scans do.
    const QString tree = dir.path();
    runFind(tree); // warms the cache

    Figures floor{QStringLiteral("find -type f (floor)"), {}, {}};
    Figures timedFind{QStringLiteral("find -type f -printf '%T@ %p'"), {}, {}};
    Figures walk{QStringLiteral("folder walk + file times, 8 kinds"), {}, {}};
    Figures portableWalk{QStringLiteral("Qt iterator walk, 8 kinds"), {}, {}};
    Figures firstScan{QStringLiteral("first scan, empty database"), {}, {}};
    Figures rescan{QStringLiteral("rescan, nothing changed"), {}, {}};
    int firstRows = 0;
    int rescanRows = 0;
    qint64 loaded = 0;
    const qint64 baseline = residentMemoryKiB().first;
    for (int round = 0; round < rounds; ++round) {
        floor.measure([&] { runFind(tree); }, RUSAGE_CHILDREN);
        timedFind.measure([&] { runFind(tree, true); }, RUSAGE_CHILDREN);

        // The walk alone, with the file facts a scan reads, through the walk the catalogues
        // use and through Qt's directory iterator.
        const auto walkAll = [&](void (*walker)(const QString &, const QStringList &, const FolderWalk::Visit &)) {
            qint64 seen = 0;
            for (const GenericDataService::Kind &kind : GenericDataService::kinds()) {
                QStringList folders;
                for (const QString &sub : kind.hostFolders)
                    folders << zbrush + sub;
                folders << store << user + QLatin1Char('/') + QString::fromLatin1(kind.kindWord);
                for (const QString &folder : qAsConst(folders)) {
                    walker(folder, {QStringLiteral("*.") + QString::fromLatin1(kind.extension)},
                           [&](const FolderWalk::File &file) { seen += file.modifiedMs() != FolderWalk::File::noTime; });
                }
            }
        };
        walk.measure([&] { walkAll(&FolderWalk::forEachFile); });
        // Qt's iterator is an order of magnitude slower: once is enough for the large trees.
        if (round == 0 || files <= 50000)
            portableWalk.measure([&] { walkAll(&FolderWalk::forEachFilePortable); });

        const QString databasePath = dir.filePath(QStringLiteral("round%1.db").arg(round));
        QFile::copy(QStringLiteral(KIVARA_TEMPLATE_DB), databasePath);
        Catalogues c;
        c.bridge = QSharedPointer<HostBridge>::create();
        c.bridge->setHostPath(zbrush);
        c.database = QSharedPointer<DatabaseService>::create(databasePath, QString(), true);
        c.system = QSharedPointer<SystemDataService>::create(c.bridge, c.database, nullptr);
        for (const GenericDataService::Kind &kind : GenericDataService::kinds()) {
            c.services.emplace_back(GenericDataService::create(kind, c.bridge, c.database, false, c.system));
            c.database->insertFolder(user + QLatin1Char('/') + QString::fromLatin1(kind.kindWord), kind.type);
        }
        // Set-up is what start-up runs: categories, locations, the first scan, tags.
        firstScan.measure([&] {
            for (auto &service : c.services)
                service->setSetupOk(true);
        });
        firstRows = c.rows();
        rescan.measure([&] {
            for (auto &service : c.services)
                service->scanAll();
        });
        rescanRows = c.rows();
        loaded = residentMemoryKiB().first;
    }
    const auto memory = residentMemoryKiB();

    const double floorWall = median(floor.wall);
    const double floorCpu = median(floor.cpu);
    out << Qt::fixed;
    out.setRealNumberPrecision(3);
    out << "files: " << files << ", rounds: " << rounds << " (medians; wall clock, then processor time)\n";
    for (const Figures *figures : {&floor, &timedFind, &portableWalk, &walk, &firstScan, &rescan}) {
        const double wall = median(figures->wall);
        const double cpu = median(figures->cpu);
        out << figures->label.leftJustified(36) << " wall " << wall << " s = " << qSetRealNumberPrecision(1)
            << wall / floorWall << " x   cpu " << qSetRealNumberPrecision(3) << cpu << " s = "
            << qSetRealNumberPrecision(1) << (floorCpu > 0 ? cpu / floorCpu : 0.0) << " x"
            << qSetRealNumberPrecision(3) << '\n';
    }
    // The goals: a rescan within 1.5 times the floor with file times, a first scan within 2.5 times.
    const auto ratio = [](const std::vector<double> &scan, const std::vector<double> &base) {
        const double b = median(base);
        return b > 0 ? median(scan) / b : 0.0;
    };
    out << qSetRealNumberPrecision(2) << "against find -printf: first scan wall " << ratio(firstScan.wall, timedFind.wall)
        << " x (goal 2.5), cpu " << ratio(firstScan.cpu, timedFind.cpu) << " x; rescan wall "
        << ratio(rescan.wall, timedFind.wall) << " x (goal 1.5), cpu " << ratio(rescan.cpu, timedFind.cpu) << " x\n"
        << qSetRealNumberPrecision(3);
    out << "resources: " << firstRows << " after the first scan, " << rescanRows << " after the rescan\n";
    out << "resident memory: before the scans " << baseline / 1024 << " MiB, with the resources loaded "
        << loaded / 1024 << " MiB, after " << memory.first / 1024 << " MiB, peak so far " << memory.second / 1024
        << " MiB\n"
        << Qt::endl;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QVector<int> sizes{10000, 50000, 250000};
    if (argc > 1) {
        sizes.clear();
        const QList<QByteArray> given = QByteArray(argv[1]).split(',');
        for (const QByteArray &size : given)
            sizes << size.toInt();
    }
    const int rounds = argc > 2 ? QByteArray(argv[2]).toInt() : 3;
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type != QtDebugMsg)
            QTextStream(stderr) << message << '\n';
    });
    for (int files : qAsConst(sizes))
        benchmark(files, rounds);
    return 0;
}
