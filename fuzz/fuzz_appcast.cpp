// Arbitrary bytes as the update feed: no crash, and a download address only
// comes with a version.
#include "fuzz/fuzzsupport.h"
#include "update/appcastfeed.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::silenceQt();
    static const QUrl feedUrl(QStringLiteral("https://kivara.app/KIV_AU/app_files/kivara_appcast_linux_v3.xml"));

    const AppcastFeed feed = AppcastFeed::parse(FuzzSupport::bytes(data, size), feedUrl);
    if (!feed.isValid() && !feed.newestVersion().isEmpty())
        abort();
    if (feed.newestVersion().isEmpty() && !feed.newestDownloadUrl().isEmpty())
        abort();
    return 0;
}
