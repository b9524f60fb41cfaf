// Arbitrary bytes as the colours file that ZBrush's script plug-in writes: no crash,
// and every colour the interface gets stays a colour text.
#include "Model/zuicolor.h"
#include "fuzz/fuzzsupport.h"

namespace {

bool isColorText(const QString &text)
{
    if (text.size() != 9 || !text.startsWith(QLatin1String("#ff")))
        return false;
    for (int i = 3; i < text.size(); ++i) {
        const ushort c = text.at(i).unicode();
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::silenceQt();
    static const QString path = FuzzSupport::scratchFolder() + QStringLiteral("/kiv_uicolors.zvr");
    static ZUiColor colors;
    FuzzSupport::writeFile(path, FuzzSupport::bytes(data, size));

    colors.load(path);
    for (int i = 0; i < ZUiColor::ColorCount; ++i) {
        if (!isColorText(colors.color(ZUiColor::Color(i))))
            abort();
    }
    return 0;
}
