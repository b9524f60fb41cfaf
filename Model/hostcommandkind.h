#pragma once

#include <QString>

// What a command file asks the script plug-in inside ZBrush to do. The values are
// fixed: catalogues pass them as plain integers and they select the action code.
enum class HostCommandKind : int {
    Brush = 0,
    ResetBrushes = 1,
    Alpha = 2,
    UILayout = 3,
    Project = 4,
    Material = 5,
    Tool = 6,
    Fiber = 7,
    Texture = 8,
    Light = 9,
    Macro = 10,
    UIColor = 11,
    Grid = 12,
    // 13 is unused and writes nothing.
    RenderPreset = 14,
    Spotlight = 15,
    MeshArray = 16,
    ExportUIColors = 17,
    Document = 18,
    StartupDocument = 19,
};

// The command word and action code the script plug-in reads for a kind.
struct HostCommand
{
    QString word;
    float actionCode = 0.0f;

    // False for kind 13 and values outside the enumeration. Lights depend on the
    // file (".zli" or a LightCap), render presets on the BPR-only setting.
    static bool forKind(HostCommandKind kind, const QString &path, bool bprOnly, HostCommand *command);
};
