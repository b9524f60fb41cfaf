// Arbitrary bytes as a RAR archive: list it and read every member through
// RarArchiveFile, then extract it as a downloaded pack is. Failures are fine;
// crashes, leaks, undefined behaviour and a file written outside the destination
// are not.
#include "Model/archiveextractor.h"
#include "rar/rararchive.h"
#include "rar/rararchivefile.h"

#include "fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::silenceQt();
    static const QString root = FuzzSupport::scratchFolder();
    static const QString path = root + QStringLiteral("/input.rar");
    static const QString destination = root + QStringLiteral("/pack");
    FuzzSupport::writeFile(path, FuzzSupport::bytes(data, size));

    QDir(destination).removeRecursively();
    QDir().mkpath(destination);
    const ArchiveExtractor::Result extracted = ArchiveExtractor::extract(path, destination);
    if (extracted.written + extracted.failed > extracted.members)
        abort();
    const QStringList besideThePack =
        QDir(root).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    if (besideThePack != QStringList{QStringLiteral("input.rar"), QStringLiteral("pack")})
        abort();

    RarArchive archive(path);
    if (!archive.open(RarArchive::OpenModeList))
        return 0;
    const QList<RarFileInfo> infos = archive.fileInfoList();
    archive.close();

    RarArchiveFile file(&archive);
    int tried = 0;
    for (const RarFileInfo &info : infos) {
        const QString relative = ArchiveExtractor::safeRelativePath(info.fileName);
        const QString target = QDir::cleanPath(destination + QLatin1Char('/') + relative);
        if (!relative.isEmpty() && !target.startsWith(destination + QLatin1Char('/')))
            abort();
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
