// Arbitrary bytes as a RAR archive: list it and read every member through
// RarArchiveFile. Failures are fine; crashes, leaks and undefined behaviour are not.
#include "rar/rararchive.h"
#include "rar/rararchivefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

QString archivePath()
{
    // Memory-backed when the system has it: every input is written once.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/kivara-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/kivara-fuzz-XXXXXX"));
    return dir.filePath(QStringLiteral("input.rar"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool silenced = (qInstallMessageHandler(quiet), true);
    Q_UNUSED(silenced)
    const QString path = archivePath();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            abort();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }

    RarArchive archive(path);
    if (!archive.open(RarArchive::OpenModeList))
        return 0;
    const QList<RarFileInfo> infos = archive.fileInfoList();
    archive.close();

    RarArchiveFile file(&archive);
    int tried = 0;
    for (const RarFileInfo &info : infos) {
        if (++tried > 32)
            break;
        file.setFileName(info.fileName);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray content = file.readAll();
        // A file that opens was read whole and matches its header.
        if (!(info.flags & 0x20) && quint32(content.size()) != file.usize())
            abort();
        file.close();
    }
    return 0;
}
