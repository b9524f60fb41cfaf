// Exports a library database of many resources and imports it again, and prints how
// long each takes and how large the file is. The import is timed in its two halves:
// the copy and check that the program runs on the thread pool, and the swap that
// stays on the GUI thread. Usage: bench_databasetransfer [resources] [rounds]
#include "Model/databaseservice.h"
#include "Model/resourceinfo.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSharedPointer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int count = args.size() > 1 ? args.at(1).toInt() : 250000;
    const int rounds = args.size() > 2 ? args.at(2).toInt() : 3;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("brushes.db"));
    DatabaseService database(path, QStringLiteral("bench"), true);

    // Materials with a description, two categories and three tags each.
    QList<QSharedPointer<ResourceInfo>> records;
    records.reserve(count);
    for (int i = 0; i < count; ++i) {
        auto record = QSharedPointer<ResourceInfo>::create();
        record->valid = true;
        record->name = QStringLiteral("Material %1").arg(i);
        record->path = QStringLiteral("C:/Library/Store/Pack %1/Material %2.zmt").arg(i / 200).arg(i);
        record->description = QStringLiteral("A described material, number %1").arg(i);
        record->categories = QStringList{QStringLiteral("Metal"), QStringLiteral("Pack %1").arg(i / 200)};
        record->tags = QStringList{QStringLiteral("shiny"), QStringLiteral("rough"), QStringLiteral("t%1").arg(i % 97)};
        record->scanDate = QStringLiteral("Mon Dec 7 12:00:00 2026");
        records.append(record);
    }
    if (!database.saveResources(records, DatabaseService::Material)) {
        std::printf("could not store the resources\n");
        return 1;
    }
    std::printf("library: %d resources, %.1f MiB\n", count, double(QFileInfo(path).size()) / (1 << 20));

    const QString exported = dir.filePath(QStringLiteral("exported.db"));
    qint64 bestExport = -1;
    qint64 bestImport = -1;
    qint64 bestSwap = -1;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        QString error;
        if (!database.exportDatabaseFile(exported, &error)) {
            std::printf("export failed: %s\n", qPrintable(error));
            return 1;
        }
        const qint64 exportTime = timer.elapsed();
        timer.restart();
        QString staged;
        if (!DatabaseService::stageImport(exported, path, &staged, &error)) {
            std::printf("import failed: %s\n", qPrintable(error));
            return 1;
        }
        const qint64 stageTime = timer.elapsed();
        timer.restart();
        if (!database.replaceWithStaged(staged, exported, &error)) {
            std::printf("import failed: %s\n", qPrintable(error));
            return 1;
        }
        const qint64 swapTime = timer.elapsed();
        std::printf("round %d: export %lld ms, import %lld ms (copy and check %lld ms, swap %lld ms)\n", round + 1,
                    exportTime, stageTime + swapTime, stageTime, swapTime);
        bestExport = bestExport < 0 ? exportTime : std::min(bestExport, exportTime);
        bestImport = bestImport < 0 ? stageTime + swapTime : std::min(bestImport, stageTime + swapTime);
        bestSwap = bestSwap < 0 ? swapTime : std::min(bestSwap, swapTime);
    }
    std::printf("best of %d: export %lld ms, import %lld ms, of which the swap %lld ms\n", rounds, bestExport,
                bestImport, bestSwap);
    return 0;
}
