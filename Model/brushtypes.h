#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// The brush types ZBrush knows, with the display names that the interface shows,
// the database stores and the brush metadata files use. Number 0 means "no type".
namespace Brushes {
Q_NAMESPACE

enum BrushTypes {
        TYPE_STANDARD = 1,
        TYPE_STROKE = 2,
        TYPE_CHISEL = 3,
        TYPE_VECTOR = 4,
        TYPE_IMM = 5,
        TYPE_IM = 6,
        TYPE_IMMC = 7,
        TYPE_IMMB = 8,
        TYPE_DRAG = 9,
        TYPE_CURVE = 10,
        TYPE_POLISH = 11,
        TYPE_BUILDUP = 12,
        TYPE_BOOLEAN = 13,
        TYPE_CLAY = 14,
        TYPE_SMOOTH = 15,
        TYPE_PAINT = 16,
        TYPE_MOVE = 17,
        TYPE_CLIP = 18,
        TYPE_SPRAY = 19,
        TYPE_COLOREDSPRAY = 20,
        TYPE_DRAGDOT = 21,
        TYPE_UTILITY = 22,
        TYPE_MORPH = 23,
        TYPE_MASKING = 24,
        TYPE_SELECT = 25,
        TYPE_PINCH = 26,
        TYPE_ZMODELER = 27,
        TYPE_NUDGE = 28,
        TYPE_ELASTIC = 29,
        TYPE_SNAKEHOOK = 30,
        TYPE_TOPO = 31,
        TYPE_PEN = 32,
        TYPE_LAYER = 33,
        TYPE_GROOM = 34,
        TYPE_SKETCH = 35,
        TYPE_MAGNIFY = 36,
        TYPE_GEOMETRY = 37,
        TYPE_PROJECT = 38,
        TYPE_BLUR = 39,
        TYPE_DISPLACE = 40,
        TYPE_INFLATE = 41,
        TYPE_PUMP = 42,
        TYPE_LINE = 43,
        TYPE_MALLET = 44,
        TYPE_NANO = 45,
        TYPE_NOISE = 46,
        TYPE_STROKECURVE = 47,
        TYPE_DECOCURVE = 48,
        TYPE_HISTORY = 49,
        TYPE_XTRACT = 50,
        TYPE_CLOTH = 51,
        TYPE_ALPHACURVE = 52,
        TYPE_BEVEL = 53,
        TYPE_EXTRUDE = 54,
        TYPE_CONTRAST = 55,
        TYPE_KNIFE = 56,
        TYPE_SNAKECURVE = 57,
        TYPE_MESH = 58,
        TYPE_SCRIBE = 59,
        TYPE_PATTERN = 60,
};
Q_ENUM_NS(BrushTypes)

// Display name of a type number; empty for 0 and for numbers outside the table.
QString brushTypeName(int type);
// Type number of a display name (exact, case-sensitive); 0 for an unknown name.
int brushTypeValue(const QString &name);
// Every display name, in plain string order.
QStringList brushTypeDisplayNames();

} // namespace Brushes
