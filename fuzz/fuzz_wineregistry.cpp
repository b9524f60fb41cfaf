// Arbitrary bytes as the Wine prefix's system.reg: the uninstall entries are read
// from it and their install locations mapped into the prefix. No crash, and only
// direct subkeys of the uninstall key come back.
#include "fuzz/fuzzsupport.h"
#include "platform/platform.h"
#include "platform/x11/wineregistryreader.h"

#include <QFile>

namespace {

QString prefix()
{
    const QString root = FuzzSupport::scratchFolder() + QStringLiteral("/prefix");
    QDir().mkpath(root + QStringLiteral("/drive_c"));
    QDir().mkpath(root + QStringLiteral("/dosdevices"));
    QFile::link(QStringLiteral("../drive_c"), root + QStringLiteral("/dosdevices/c:"));
    qputenv("WINEPREFIX", QFile::encodeName(root));
    return root;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::silenceQt();
    static const QString registry = prefix() + QStringLiteral("/system.reg");
    const QByteArray input = FuzzSupport::bytes(data, size);
    FuzzSupport::writeFile(registry, input);

    for (const Platform::UninstallEntry &entry : Platform::uninstallEntries()) {
        if (entry.subkey.isEmpty() || entry.subkey.contains(QLatin1Char('\\')))
            abort();
    }

    // The escape decoder on its own, over line ends and all.
    const QString text = QString::fromUtf8(input);
    int end = -1;
    WineRegistryReader::unescape(text, 0, QLatin1Char('"'), &end);
    if (end < 0 || end > text.size())
        abort();
    return 0;
}
