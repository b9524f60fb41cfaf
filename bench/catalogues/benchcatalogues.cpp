// Scanning the brush and alpha catalogues over a large synthetic library: 20 000 small
// PNG alphas (8- and 16-bit grey, 128 to 4096 pixels declared in their headers) and
// 5 000 brush files. Reports the first scan (walk, objects, worker reads, database
// writes) and the unchanged rescan, each as a ratio to `find` over the same tree, and
// the rate of alpha header reads on the global thread pool.
//
//   bench_catalogues [alphas] [brushes]

#include "Model/alphadataservice.h"
#include "Model/brushdataservice.h"
#include "Model/databaseservice.h"
#include "Model/folderwalk.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <functional>

namespace {

QTextStream out(stdout);

quint32 crc32(const QByteArray &bytes)
{
    static const auto table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xFFFFFFFFu;
    for (const char byte : bytes)
        c = table[(c ^ quint8(byte)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

QByteArray pngChunk(const char *kind, const QByteArray &data)
{
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(quint32(data.size()), chunk.data());
    const QByteArray body = QByteArray(kind) + data;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(crc32(body), crc.data());
    return chunk + body + crc;
}

// A grey PNG that declares its size in the header; the pixel data is a token, since
// only the header is read.
QByteArray pngHeaderOnly(int side, int bitDepth)
{
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(quint32(side), header.data());
    qToBigEndian<quint32>(quint32(side), header.data() + 4);
    header[8] = char(bitDepth);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header)
        + pngChunk("IDAT", QByteArray::fromHex("789c030000000001")) + pngChunk("IEND", QByteArray());
}

QByteArray brushFile(int i)
{
    static const char *versions[] = {"2021", "2019", "4.8", "4.5"};
    static const int offsets[] = {278, 258, 254, 202};
    const int kind = i % 4;
    const qint32 base = 600;
    QByteArray bytes(base + offsets[kind], '\0');
    bytes.replace(84, int(qstrlen(versions[kind])), versions[kind]);
    char le[4];
    qToLittleEndian<qint32>(base, le);
    bytes.replace(168, 4, le, 4);
    bytes += QByteArray("Author ") + QByteArray::number(i % 37) + '\0' + "https://example.com/" + '\0';
    bytes += QByteArray(1024, 'x'); // the rest of a brush file
    return bytes;
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

double findSeconds(const QString &root)
{
    double best = 1e9;
    for (int round = 0; round < 4; ++round) { // the first one warms the cache
        QProcess find;
        find.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        find.start(QStringLiteral("find"), {root, QStringLiteral("-type"), QStringLiteral("f")});
        find.waitForFinished(-1);
        if (round > 0)
            best = std::min(best, timer.nsecsElapsed() / 1e9);
    }
    return best;
}

template<class Service>
void settle(const Service &service)
{
    while (service.pendingReads() > 0) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
}

struct ScanFigures
{
    double walkSeconds = 0;  // until the constructor returns: walk and objects
    double firstSeconds = 0; // until every read is applied and stored
    double rescanSeconds = 0;
    int rows = 0;
    bool rescanRead = false;
};

template<class Service>
ScanFigures measure(const QSharedPointer<DatabaseService> &database)
{
    ScanFigures figures;
    QElapsedTimer timer;
    timer.start();
    Service service(nullptr, database, true, nullptr);
    figures.walkSeconds = timer.nsecsElapsed() / 1e9;
    settle(service);
    figures.firstSeconds = timer.nsecsElapsed() / 1e9;
    figures.rows = service.rowCount();

    timer.restart();
    service.scanAll();
    figures.rescanRead = service.pendingReads() > 0;
    settle(service);
    figures.rescanSeconds = timer.nsecsElapsed() / 1e9;
    return figures;
}

// The parts of a rescan that are not the catalogue's own work.
void reportParts(const QString &root, const QStringList &patterns, const std::function<int()> &readRecords)
{
    QElapsedTimer timer;
    timer.start();
    qint64 newest = 0;
    FolderWalk::forEachFile(root, patterns, [&newest](const FolderWalk::File &file) {
        newest = std::max(newest, file.modifiedMs());
    });
    const double walk = timer.nsecsElapsed() / 1e9;
    timer.restart();
    const int records = readRecords();
    const double read = timer.nsecsElapsed() / 1e9;
    out << "  of which: folder walk with file times " << QString::number(walk, 'f', 3) << " s, reading "
        << records << " stored records " << QString::number(read, 'f', 3) << " s\n";
}

void report(const char *what, const ScanFigures &figures, double find)
{
    out << what << ": " << figures.rows << " rows\n"
        << "  first scan      " << QString::number(figures.firstSeconds, 'f', 3) << " s (walk and objects "
        << QString::number(figures.walkSeconds, 'f', 3) << " s), " << QString::number(figures.firstSeconds / find, 'f', 1)
        << " x find\n"
        << "  unchanged rescan " << QString::number(figures.rescanSeconds, 'f', 3) << " s, "
        << QString::number(figures.rescanSeconds / find, 'f', 1) << " x find"
        << (figures.rescanRead ? " (files were read again!)" : ", nothing read") << "\n"
        << "  find -type f    " << QString::number(find, 'f', 3) << " s\n";
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int alphaCount = args.size() > 1 ? args.at(1).toInt() : 20000;
    const int brushCount = args.size() > 2 ? args.at(2).toInt() : 5000;

    QTemporaryDir dir;
    const QString alphas = dir.filePath(QStringLiteral("alphas"));
    const QString brushes = dir.filePath(QStringLiteral("brushes"));
    static const int sides[] = {128, 256, 512, 1024, 2048, 4096};
    for (int i = 0; i < alphaCount; ++i) {
        const QString folder = alphas + QStringLiteral("/set%1").arg(i / 200, 3, 10, QLatin1Char('0'));
        if (i % 200 == 0)
            QDir().mkpath(folder);
        const int side = sides[QRandomGenerator::global()->bounded(6)];
        write(folder + QStringLiteral("/alpha%1.png").arg(i, 5, 10, QLatin1Char('0')),
              pngHeaderOnly(side, i % 2 ? 16 : 8));
    }
    for (int i = 0; i < brushCount; ++i) {
        const QString folder = brushes + QStringLiteral("/set%1").arg(i / 100, 3, 10, QLatin1Char('0'));
        if (i % 100 == 0)
            QDir().mkpath(folder);
        write(folder + QStringLiteral("/brush%1.ZBP").arg(i, 5, 10, QLatin1Char('0')), brushFile(i));
    }
    // A scan date has whole seconds: files of the current second would count as changed.
    QThread::msleep(1100);

    const QString dbPath = dir.filePath(QStringLiteral("brushes.db"));
    QFile::copy(QStringLiteral(KIVARA_TEMPLATE_DB), dbPath);
    QFile::setPermissions(dbPath, QFile::ReadOwner | QFile::WriteOwner);
    auto database = QSharedPointer<DatabaseService>::create(dbPath, QString(), true);
    database->writeSetting(DatabaseService::LibraryLocation, dir.filePath(QStringLiteral("store")));
    database->insertFolder(alphas, DatabaseService::Alpha);
    database->insertFolder(brushes, DatabaseService::Brush);

    out << "pool threads " << QThreadPool::globalInstance()->maxThreadCount() << "; " << alphaCount << " alphas, "
        << brushCount << " brush files\n";
    report("alphas", measure<AlphaDataService>(database), findSeconds(alphas));
    reportParts(alphas, {QStringLiteral("*.psd"), QStringLiteral("*.png"), QStringLiteral("*.jpg"),
                         QStringLiteral("*.jpeg"), QStringLiteral("*.bmp"), QStringLiteral("*.tif"),
                         QStringLiteral("*.tiff"), QStringLiteral("*.gif")},
                [&database] { return database->readAlphas().size(); });
    report("brushes", measure<BrushDataService>(database), findSeconds(brushes));
    reportParts(brushes, {QStringLiteral("*.ZBP")}, [&database] { return database->readBrushes().size(); });

    // Header reads alone, as the alpha walk runs them: one call per image on the pool.
    QList<QSharedPointer<AlphaInfo>> records;
    for (const QFileInfo &file : QDir(alphas).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const QFileInfo &image : QDir(file.filePath()).entryInfoList(QDir::Files)) {
            auto record = QSharedPointer<AlphaInfo>::create();
            record->path = image.filePath();
            records.append(record);
        }
    }
    QElapsedTimer timer;
    timer.start();
    QtConcurrent::blockingMap(records, [](const QSharedPointer<AlphaInfo> &record) {
        AlphaDataService::getImageInfo(*record);
    });
    const double parallel = timer.nsecsElapsed() / 1e9;
    timer.restart();
    for (const auto &record : qAsConst(records))
        AlphaDataService::getImageInfo(*record);
    const double serial = timer.nsecsElapsed() / 1e9;
    int read = 0;
    for (const auto &record : qAsConst(records))
        read += record->width >= 128 && record->depth >= 8 ? 1 : 0;
    out << "alpha headers: " << records.size() << " in " << QString::number(parallel, 'f', 3) << " s = "
        << QString::number(records.size() / parallel, 'f', 0) << " per second on the pool ("
        << QString::number(records.size() / serial, 'f', 0) << " per second on one thread); " << read
        << " read with a size and depth\n";
    out.flush();
    return 0;
}
