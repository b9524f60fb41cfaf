// Arbitrary bytes as a RAR archive: list it and read every member through
// RarArchiveFile. Failures are fine; crashes, leaks and undefined behaviour are not.
#include "rar/rararchive.h"
#include "rar/rararchivefile.h"

#include "fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::silenceQt();
    static const QString path = FuzzSupport::scratchFolder() + QStringLiteral("/input.rar");
    FuzzSupport::writeFile(path, FuzzSupport::bytes(data, size));

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
