#include "brushtypes.h"

#include <QHash>

namespace Brushes {
namespace {

struct TypeTables {
    QHash<int, QString> names;
    QHash<QString, int> values;
    QStringList sortedNames;
};

const TypeTables &tables()
{
    static const TypeTables built = [] {
        const QList<QPair<int, const char *>> entries{
            {TYPE_STANDARD, "Standard"},
            {TYPE_STROKE, "Stroke"},
            {TYPE_CHISEL, "Chisel"},
            {TYPE_VECTOR, "Vector Displacement"},
            {TYPE_IMM, "Insert MultiMesh"},
            {TYPE_IM, "Insert"},
            {TYPE_IMMC, "Insert MultiMesh Curve"},
            {TYPE_IMMB, "Insert MultiMesh Boolean"},
            {TYPE_DRAG, "Drag"},
            {TYPE_CURVE, "Curve"},
            {TYPE_POLISH, "Planar, Trim & Polish"},
            {TYPE_BUILDUP, "Buildup"},
            {TYPE_BOOLEAN, "Boolean"},
            {TYPE_CLAY, "Clay"},
            {TYPE_SMOOTH, "Smooth"},
            {TYPE_PAINT, "Paint"},
            {TYPE_MOVE, "Move"},
            {TYPE_CLIP, "Clip"},
            {TYPE_SPRAY, "Spray"},
            {TYPE_COLOREDSPRAY, "Colored Spray"},
            {TYPE_DRAGDOT, "DragDot"},
            {TYPE_UTILITY, "Utility"},
            {TYPE_MORPH, "Morph"},
            {TYPE_MASKING, "Masking"},
            {TYPE_SELECT, "Select"},
            {TYPE_PINCH, "Pinch"},
            {TYPE_ZMODELER, "ZModeler"},
            {TYPE_NUDGE, "Nudge"},
            {TYPE_ELASTIC, "Elastic"},
            {TYPE_SNAKEHOOK, "Snake Hook"},
            {TYPE_TOPO, "Topo"},
            {TYPE_PEN, "Pen"},
            {TYPE_LAYER, "Layered"},
            {TYPE_GROOM, "Groom"},
            {TYPE_SKETCH, "Sketch"},
            {TYPE_MAGNIFY, "Magnify"},
            {TYPE_GEOMETRY, "Geometry"},
            {TYPE_PROJECT, "Project"},
            {TYPE_BLUR, "Blur"},
            {TYPE_DISPLACE, "Displace"},
            {TYPE_INFLATE, "Inflate"},
            {TYPE_PUMP, "Pump"},
            {TYPE_LINE, "Line"},
            {TYPE_MALLET, "Mallet"},
            {TYPE_NANO, "Nano"},
            {TYPE_NOISE, "Noise"},
            {TYPE_STROKECURVE, "Stroke Curve"},
            {TYPE_DECOCURVE, "DecoCurve"},
            {TYPE_HISTORY, "History"},
            {TYPE_XTRACT, "XTract"},
            {TYPE_CLOTH, "Cloth"},
            {TYPE_ALPHACURVE, "Alpha Curve"},
            {TYPE_BEVEL, "Bevel"},
            {TYPE_EXTRUDE, "Extrude"},
            {TYPE_CONTRAST, "Contrast"},
            {TYPE_KNIFE, "Knife"},
            {TYPE_SNAKECURVE, "SnakeCurve"},
            {TYPE_MESH, "Mesh"},
            {TYPE_SCRIBE, "Scribe"},
            {TYPE_PATTERN, "Pattern"},
        };
        TypeTables t;
        for (const auto &entry : entries) {
            const QString name = QString::fromLatin1(entry.second);
            t.names.insert(entry.first, name);
            t.values.insert(name, entry.first);
            t.sortedNames.append(name);
        }
        t.sortedNames.sort(Qt::CaseSensitive);
        return t;
    }();
    return built;
}

} // namespace

QString brushTypeName(int type)
{
    return tables().names.value(type);
}

int brushTypeValue(const QString &name)
{
    return tables().values.value(name, 0);
}

QStringList brushTypeDisplayNames()
{
    return tables().sortedNames;
}

} // namespace Brushes
