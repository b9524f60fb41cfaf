// Arbitrary bytes as a brush file whose author and link are read: no crash, and
// the two texts end where the file puts a zero byte.
#include "Model/brushdataservice.h"
#include "Model/brushinfo.h"
#include "fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::silenceQt();
    static const QString path = FuzzSupport::scratchFolder() + QStringLiteral("/input.ZBP");
    FuzzSupport::writeFile(path, FuzzSupport::bytes(data, size));

    BrushInfo record;
    record.path = path;
    BrushDataService::readBrushFileCredits(record);
    if (record.author.contains(QChar(0)) || record.link.contains(QChar(0)))
        abort();
    // Both come out of the file, one byte per character.
    if (qint64(record.author.size()) + record.link.size() > qint64(size))
        abort();
    return 0;
}
