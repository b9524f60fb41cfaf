// Moves a generated library of many small files and a few large ones from the
// temporary folder to a folder on another file system (by default /dev/shm) and
// back, and prints the time of each step. Usage: bench_librarymove [MiB] [target folder]
#include "Model/librarymover.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Files of a brush library: mostly 50-300 KiB, one large texture per 64 files.
qint64 makeLibrary(const QString &root, qint64 bytes)
{
    QRandomGenerator random(7);
    qint64 written = 0;
    int index = 0;
    while (written < bytes) {
        const qint64 size = index % 64 == 63 ? 8 << 20 : 50 * 1024 + random.bounded(250 * 1024);
        const QString folder = root + QStringLiteral("/Set%1").arg(index / 100);
        QDir().mkpath(folder);
        QFile file(folder + QStringLiteral("/Brush%1.ZBP").arg(index));
        if (!file.open(QIODevice::WriteOnly))
            return -1;
        QByteArray data(int(size), Qt::Uninitialized);
        for (int i = 0; i < data.size(); i += 4096)
            data[i] = char(random.bounded(256));
        file.write(data);
        written += size;
        ++index;
    }
    std::printf("library: %d files, %.1f MiB\n", index, double(written) / (1 << 20));
    return written;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qint64 mebibytes = args.size() > 1 ? args.at(1).toLongLong() : 256;
    const QString otherPlace = args.size() > 2 ? args.at(2) : QStringLiteral("/dev/shm");

    QTemporaryDir here;
    QTemporaryDir there(otherPlace + QStringLiteral("/bench-librarymove-XXXXXX"));
    if (!here.isValid() || !there.isValid()) {
        std::printf("cannot create the folders\n");
        return 1;
    }
    if (QStorageInfo(here.path()).rootPath() == QStorageInfo(there.path()).rootPath())
        std::printf("note: %s is on the same file system; the copy is measured all the same\n", qPrintable(otherPlace));

    const QString source = here.path() + QStringLiteral("/KIVSource");
    const qint64 bytes = makeLibrary(source, mebibytes << 20);
    if (bytes < 0)
        return 1;

    QElapsedTimer timer;
    timer.start();
    QString error;
    const QString target = there.path() + QStringLiteral("/KIVSource");
    if (!LibraryMover::copyAcross(source, target, &error)) {
        std::printf("move failed: %s\n", qPrintable(error));
        return 1;
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("moved %s -> %s: %.2f s, %.0f MiB/s (copy, check, removal)\n", qPrintable(here.path()),
                qPrintable(otherPlace), seconds, double(bytes) / (1 << 20) / seconds);

    timer.restart();
    if (!LibraryMover::copyAcross(target, source, &error)) {
        std::printf("move back failed: %s\n", qPrintable(error));
        return 1;
    }
    const double back = timer.nsecsElapsed() / 1e9;
    std::printf("moved back: %.2f s, %.0f MiB/s\n", back, double(bytes) / (1 << 20) / back);
    return 0;
}
