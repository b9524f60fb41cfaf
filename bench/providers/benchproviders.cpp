// Thumbnail throughput: the embedded-thumbnail decoder on the real ZBrush files held
// in memory, and brush provider requests on a cold and on a warm cache.
#include "providers/brushiconimageprovider.h"
#include "providers/zbrushthumbnaildecoder.h"
#include "tests/common/realdata.h"
#include "tools/writers/zbrushfilewriter.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <cmath>
#include <ctime>
#include <vector>

namespace {

QTextStream out(stdout);

// Wall and CPU time of the process, which keeps one thread busy: on a shared
// machine the CPU figure is the steadier one.
class Stopwatch
{
public:
    Stopwatch()
        : m_cpuStart(cpuSeconds())
    {
        m_wall.start();
    }
    double wallSeconds() const { return m_wall.nsecsElapsed() / 1e9; }
    double cpuSecondsElapsed() const { return cpuSeconds() - m_cpuStart; }
    QString rates(long long count, const char *unit) const
    {
        return QStringLiteral("%1 %3/s wall, %2 %3/s CPU")
            .arg(qRound64(count / wallSeconds()))
            .arg(qRound64(count / cpuSecondsElapsed()))
            .arg(QLatin1String(unit));
    }

private:
    static double cpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

    QElapsedTimer m_wall;
    const double m_cpuStart;
};

// A shaded ball like ZBrush's own previews, tinted by seed.
QImage previewImage(int seed)
{
    QImage image(ZBrushFileWriter::side, ZBrushFileWriter::side, QImage::Format_RGBA8888);
    image.fill(Qt::black);
    const QColor tint = QColor::fromHsv(seed * 37 % 360, 60, 255);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const double dx = (x - 48) / 40.0;
            const double dy = (y - 48) / 40.0;
            const double d = dx * dx + dy * dy;
            if (d >= 1.0)
                continue;
            const double light = 0.25 + 0.75 * std::sqrt(1.0 - d) * (1.0 - 0.3 * (dx + dy));
            const double shade = std::min(1.0, std::max(0.0, light));
            image.setPixelColor(x, y, QColor(int(tint.red() * shade), int(tint.green() * shade),
                                             int(tint.blue() * shade), 0));
        }
    }
    return image;
}

void benchDecoder()
{
    std::vector<QByteArray> heads;
    const QString folder = realDataFolder();
    if (!folder.isEmpty()) {
        QDirIterator it(folder + QStringLiteral("/zbrush"),
                        {QStringLiteral("*.ztl"), QStringLiteral("*.zbr"), QStringLiteral("*.zmt"),
                         QStringLiteral("*.zli"), QStringLiteral("*.zsc")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (file.open(QIODevice::ReadOnly))
                heads.push_back(file.read(BrushIconImageProvider::maxHeaderBytes));
        }
    }
    if (heads.empty()) {
        out << "decoder: no real ZBrush files found, skipped\n";
        return;
    }
    std::vector<unsigned char> buffer(ZBrushThumbnailDecoder::bufferSize);
    long long decoded = 0;
    long long failed = 0;
    const Stopwatch watch;
    while (watch.wallSeconds() < 3.0) {
        for (const QByteArray &head : heads) {
            if (ZBrushThumbnailDecoder::decode(reinterpret_cast<const unsigned char *>(head.constData()),
                                               std::size_t(head.size()), true, buffer.data()))
                ++decoded;
            else
                ++failed;
        }
    }
    out << "decoder, " << heads.size() << " real thumbnails in memory, single thread: "
        << watch.rates(decoded, "thumbnails") << " (" << failed << " failures)\n";
}

QString requestRates(BrushIconImageProvider &provider, const QStringList &paths, int passes, const QSize &requested)
{
    const Stopwatch watch;
    long long requests = 0;
    for (int pass = 0; pass < passes; ++pass) {
        for (const QString &path : paths) {
            provider.requestPixmap(path, nullptr, requested);
            ++requests;
        }
    }
    return watch.rates(requests, "requests");
}

void benchProvider()
{
    QTemporaryDir dir;
    QStringList paths;
    for (int i = 0; i < 1000; ++i) {
        const QString path = dir.filePath(QStringLiteral("Brush%1.zbp").arg(i));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(ZBrushFileWriter::file(previewImage(i), 6)) < 0)
            return;
        paths << path;
    }
    const QString database = dir.filePath(QStringLiteral("brushes.db"));
    const QSize details(96, 96);
    const QSize listRow(40, 40);

    for (int round = 1; round <= 3; ++round) {
        BrushIconImageProvider provider(database);
        out << "provider, cold cache, 1000 files, 96x96, round " << round << ": "
            << requestRates(provider, paths, 1, details) << "\n";
    }
    {
        BrushIconImageProvider provider(database);
        out << "provider, cold cache, 1000 files, 40x40: "
            << requestRates(provider, paths, 1, listRow) << "\n";
    }
    // The cache keeps the 200 most recent thumbnails: request those again and again.
    BrushIconImageProvider provider(database);
    requestRates(provider, paths, 1, details);
    const QStringList recent = paths.mid(800);
    out << "provider, warm cache, 200 cached of the 1000 files, 96x96: "
        << requestRates(provider, recent, 50, details) << "\n";
    out << "provider, warm cache, 200 cached of the 1000 files, 40x40: "
        << requestRates(provider, recent, 50, listRow) << "\n";
    // Cycling through all 1000 in order misses every time (least recently used goes first).
    out << "provider, cycling all 1000 files through the 200-entry cache, 96x96: "
        << requestRates(provider, paths, 2, details) << "\n";
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("KIVARA_SOURCE_DIR"))
        qputenv("KIVARA_SOURCE_DIR", KIVARA_DEFAULT_SOURCE_DIR);
    QGuiApplication app(argc, argv);
    benchDecoder();
    benchProvider();
    out.flush();
    return 0;
}
