// Installing a store pack of 2 000 members: the whole install through the
// download queue (transfer from the local store, extraction, files written),
// the extraction alone, and libarchive reading the same archive straight
// through, once only reading and once also writing every member to a file
// (thousands of small files cost the file system far more than the reading).
// Best of three runs each.
#include "../../tests/common/storeserverprocess.h"
#include "../../tests/rar/rar4writer.h"

#include "Model/archiveextractor.h"
#include "Model/databaseservice.h"
#include "Model/downloadmanager.h"
#include "Model/product.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTextStream>

#include <archive.h>
#include <archive_entry.h>

#include <functional>

namespace {

constexpr int MemberCount = 2000;
constexpr int MemberSize = 4096;
constexpr int Runs = 3;

QString memberName(int i)
{
    return QStringLiteral("Library/Set%1/member%2.ZBP").arg(i / 100).arg(i);
}

// With a target folder every member is also written to a file there, as an
// extraction by libarchive alone would.
qint64 readThroughLibarchive(const QString &path, const QString &target = QString())
{
    archive *reader = archive_read_new();
    archive_read_support_format_rar(reader);
    archive_read_support_format_rar5(reader);
    if (archive_read_open_filename(reader, QFile::encodeName(path).constData(), 64 * 1024) != ARCHIVE_OK) {
        archive_read_free(reader);
        return -1;
    }
    qint64 members = 0;
    archive_entry *entry = nullptr;
    static char buffer[64 * 1024];
    while (archive_read_next_header(reader, &entry) == ARCHIVE_OK) {
        QFile file;
        if (!target.isEmpty()) {
            QString name = QString::fromUtf8(archive_entry_pathname_utf8(entry));
            name.replace(QLatin1Char('\\'), QLatin1Char('/'));
            const QString filePath = target + QLatin1Char('/') + name;
            QDir().mkpath(QFileInfo(filePath).absolutePath());
            file.setFileName(filePath);
            if (!file.open(QIODevice::WriteOnly))
                return -1;
        }
        la_ssize_t read;
        while ((read = archive_read_data(reader, buffer, sizeof(buffer))) > 0) {
            if (file.isOpen())
                file.write(buffer, read);
        }
        ++members;
    }
    archive_read_free(reader);
    return members;
}

// Best time of the runs in seconds; -1 when a run failed.
double best(const std::function<bool(int run)> &work)
{
    double fastest = -1;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        if (!work(run))
            return -1;
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        if (fastest < 0 || seconds < fastest)
            fastest = seconds;
    }
    return fastest;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;

    // The same pack twice: a file for the floor and the extraction, and in a catalogue for the store.
    Rar4Writer writer;
    QJsonArray members;
    for (int i = 0; i < MemberCount; ++i) {
        writer.addFile(memberName(i), QByteArray(MemberSize, char('a' + (i * 7) % 26)));
        members.append(QJsonObject{{QStringLiteral("name"), memberName(i)}, {QStringLiteral("size"), MemberSize}});
    }
    const QString archivePath = dir.filePath(QStringLiteral("pack.rar"));
    const QString cataloguePath = dir.filePath(QStringLiteral("catalogue.json"));
    QFile catalogue(cataloguePath);
    if (!writer.write(archivePath) || !catalogue.open(QIODevice::WriteOnly)) {
        out << "cannot write the pack\n";
        return 1;
    }
    const QJsonObject pack{{QStringLiteral("file"), QStringLiteral("Pack.rar")}, {QStringLiteral("members"), members}};
    catalogue.write(QJsonDocument(QJsonObject{{QStringLiteral("packs"), QJsonObject{{QStringLiteral("1"), pack}}}}).toJson());
    catalogue.close();

    const double floor = best([&](int) { return readThroughLibarchive(archivePath) == MemberCount; });
    const double writingFloor = best([&](int run) {
        return readThroughLibarchive(archivePath, dir.filePath(QStringLiteral("libarchive%1").arg(run))) == MemberCount;
    });
    const double extraction = best([&](int run) {
        const QString target = dir.filePath(QStringLiteral("extract%1").arg(run));
        QDir().mkpath(target);
        return ArchiveExtractor::extract(archivePath, target).written == MemberCount;
    });

    StoreServerProcess server;
    if (!server.start(cataloguePath)) {
        out << "cannot start the local store\n";
        return 1;
    }
    QFile::copy(QStringLiteral(KIVARA_TEMPLATE_DB), dir.filePath(QStringLiteral("brushes.db")));
    auto database = QSharedPointer<DatabaseService>::create(dir.filePath(QStringLiteral("brushes.db")), QString(), true);
    const double install = best([&](int run) {
        const QString library = dir.filePath(QStringLiteral("library%1").arg(run));
        QDir().mkpath(library + QStringLiteral("/KIVSource"));
        database->writeSetting(DatabaseService::LibraryLocation, library);
        DownloadManager *manager = nullptr;
        DownloadManager::StoreHooks hooks;
        hooks.requestLink = [&](const QString &link) {
            QMetaObject::invokeMethod(manager, [&, link] {
                manager->startDownload(server.downloadUrl(link, QStringLiteral("Pack.rar")));
            }, Qt::QueuedConnection);
        };
        DownloadManager queue(database, hooks);
        manager = &queue;
        Product product(1, 0, QStringLiteral("Pack"));
        queue.enqueue(&product);
        while (queue.processingQueue())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return product.installed();
    });

    const auto line = [&out, floor, writingFloor](const char *what, double seconds) {
        out << what << ": " << QString::number(seconds, 'f', 3) << " s";
        if (floor > 0 && seconds > 0)
            out << " = " << QString::number(seconds / floor, 'f', 2) << "x reading, "
                << QString::number(seconds / writingFloor, 'f', 2) << "x writing";
        out << '\n';
    };
    out << MemberCount << " members of " << MemberSize << " bytes, best of " << Runs
        << " runs; ratios to libarchive reading the archive straight through, and doing so writing every member\n";
    line("libarchive, straight through", floor);
    line("libarchive, straight through writing every member", writingFloor);
    line("extraction into the library", extraction);
    line("whole install through the download queue", install);
    return floor > 0 && extraction > 0 && install > 0 ? 0 : 1;
}
