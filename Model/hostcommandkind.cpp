#include "hostcommandkind.h"

bool HostCommand::forKind(HostCommandKind kind, const QString &path, bool bprOnly, HostCommand *command)
{
    struct Row
    {
        const char *word;
        float code;
    };
    // Indexed by kind; the codes are not in kind order (texture 15, fiber 16).
    static const Row rows[] = {
        {"Brush:", 0.0f},         {"Brush:", 9.0f},     {"Alpha:", 10.0f},   {"Layout:", 11.0f},
        {"File:", 12.0f},         {"Material:", 13.0f}, {"Tool:", 14.0f},    {"Fiber:", 16.0f},
        {"Texture:", 15.0f},      {"Light:", 17.0f},    {"Macro:Macros:", 18.0f}, {"File:", 19.0f},
        {"File:", 21.0f},         {nullptr, 0.0f},      {"RenderPreset:", 24.0f}, {"Spotlight:", 23.0f},
        {"File:", 22.0f},         {"File:", 26.0f},     {"Document:", 27.0f}, {"Document:", 28.0f},
    };
    const int index = static_cast<int>(kind);
    if (index < 0 || index >= int(sizeof rows / sizeof rows[0]) || !rows[index].word)
        return false;
    command->word = QString::fromLatin1(rows[index].word);
    command->actionCode = rows[index].code;
    if (kind == HostCommandKind::Light && !path.endsWith(QLatin1String(".zli"), Qt::CaseInsensitive))
        command->actionCode = 20.0f; // LightCap
    else if (kind == HostCommandKind::RenderPreset && bprOnly)
        command->actionCode = 25.0f;
    return true;
}
