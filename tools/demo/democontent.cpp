#include "democontent.h"

#include "demoartist.h"
#include "demonoise.h"
#include "demopatterns.h"
#include "Model/zuicolor.h"
#include "tools/writers/psdwriter.h"
#include "tools/writers/zbrushfilewriter.h"

#include <QBuffer>
#include <QImageWriter>
#include <QRegularExpression>
#include <QtEndian>

#include <tuple>

const QString DemoContent::zbrushFolder = QStringLiteral("drive_c/Program Files/Pixologic/ZBrush 2022");
const QString DemoContent::dataFolder = QStringLiteral("drive_c/users/Public/Documents/ZBrushData2022");
const QString DemoContent::libraryFolder = dataFolder + QStringLiteral("/ZPluginData/KIVData/KIVSource");
const QString DemoContent::packName = QStringLiteral("Stone and Steel Pack");
const QString DemoContent::packFolder = libraryFolder + QLatin1Char('/') + packName;

namespace {

using Stroke = DemoArtist::Stroke;
using Path = DemoArtist::Path;
using Shape = DemoArtist::Shape;
using Surface = DemoArtist::Surface;
using Light = DemoArtist::Light;
using AlphaPattern = DemoPatterns::Alpha;
using TexturePattern = DemoPatterns::Texture;

const QString zb = DemoContent::zbrushFolder + QLatin1Char('/');
const QString pack = DemoContent::packFolder + QLatin1Char('/');

// ZBrush 2022 writes "2022.0.2"; only the first seven bytes are its version text.
const QByteArray currentVersion("2022.0.2");

QByteArray zbrushFile(const QImage &thumbnail, const QByteArray &version = currentVersion)
{
    // Files from before 2021 carry thumbnail format 5, later ones 6.
    const int format = version.startsWith("202") && version >= "2021" ? 6 : 5;
    return ZBrushFileWriter::file(thumbnail, format, {ZBrushFileWriter::side * ZBrushFileWriter::side}, version);
}

QByteArray encoded(const QImage &image, const char *format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.write(image);
    return bytes;
}

QByteArray greyPsd(const QImage &grey)
{
    PsdWriter::Document document;
    document.width = grey.width();
    document.height = grey.height();
    document.mode = PsdWriter::Grayscale;
    document.packBits = true;
    QVector<quint16> plane;
    plane.reserve(grey.width() * grey.height());
    for (int y = 0; y < grey.height(); ++y) {
        const uchar *line = grey.constScanLine(y);
        for (int x = 0; x < grey.width(); ++x)
            plane.append(line[x]);
    }
    document.channels = {plane};
    return PsdWriter::write(document);
}

// A ZBrush interface file: its header and a body of settings the catalogue never reads.
QByteArray interfaceFile(int seed, int values)
{
    QByteArray bytes = QByteArray::fromHex("1027000002000000038001000100");
    for (int i = 0; i < values; ++i) {
        char value[4];
        qToLittleEndian<float>(float(DemoNoise::lattice(seed, i, 3) * 255.0), value);
        bytes.append(value, 4);
    }
    return bytes;
}


QByteArray brushMetadata(const QVector<QStringList> &categories, const QVector<QStringList> &brushes)
{
    // The maker's document: categories first, then one element per brush.
    QByteArray xml("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<KIV_Brushes>\n");
    for (const QStringList &category : categories) {
        xml += QStringLiteral("  <KIV_Category name=\"%1\" group=\"%2\"/>\n")
                   .arg(category.at(0).toHtmlEscaped(), category.at(1).toHtmlEscaped())
                   .toUtf8();
    }
    for (const QStringList &brush : brushes) {
        xml += QStringLiteral("  <Brush name=\"%1\" category=\"%2\" kiv_category=\"%3\" type=\"%4\"/>\n")
                   .arg(brush.at(0).toHtmlEscaped(), brush.at(1).toHtmlEscaped(), brush.at(2).toHtmlEscaped(),
                        brush.at(3).toHtmlEscaped())
                   .toUtf8();
    }
    return xml + "</KIV_Brushes>\n";
}

} // namespace

DemoContent::DemoContent()
{
    // The largest pictures first, so that files drawn side by side finish together.
    addAlphas();
    addTextures();
    addBrushes();
    addMaterials();
    addModels();
    addPresets();
    addLights();
    addInterface();
}

void DemoContent::countImage(bool inPack, const QString &kind, const QString &name)
{
    // Alphas and textures both take in every image of the store folder, each leaving
    // out its own companions: "_ico" for alphas, "_ico" and "_alpha" for textures.
    const bool asAlpha = (kind == QLatin1String("alpha") || inPack) && !name.endsWith(QLatin1String("_ico"));
    const bool asTexture = (kind == QLatin1String("texture") || inPack) && !name.endsWith(QLatin1String("_ico"))
        && !name.endsWith(QLatin1String("_alpha"));
    count(QStringLiteral("alpha"), asAlpha ? 1 : 0);
    count(QStringLiteral("texture"), asTexture ? 1 : 0);
}

void DemoContent::add(const QString &path, std::function<QByteArray()> bytes)
{
    m_files.append({path, std::move(bytes)});
}

void DemoContent::addBrushes()
{
    struct BrushEntry
    {
        const char *folder;
        const char *name;
        Stroke stroke;
        Path path;
        const char *type;
        const char *category;
        const char *version;
    };
    // ZBrush's own brushes, a few older presets, and the store pack's brushes.
    static const BrushEntry entries[] = {
        {"ZBrushes/Clay", "ClayBuildup", Stroke::Clay, Path::SCurve, "Clay", "Build Up", "2022.0.2"},
        {"ZBrushes/Clay", "ClayTubes", Stroke::Clay, Path::Wave, "Clay", "Build Up", "2022.0.2"},
        {"ZBrushes/Clay", "Clay", Stroke::Clay, Path::Diagonal, "Clay", "Build Up", "2022.0.2"},
        {"ZBrushes/Clay", "ClayLine", Stroke::Clay, Path::Arc, "Clay", "Build Up", "2022.0.2"},
        {"ZBrushes/Clay", "ClayFill", Stroke::Planar, Path::SCurve, "Clay", "Planes", "2022.0.2"},
        {"ZBrushes/Clay", "Layer", Stroke::Clay, Path::Loop, "Layered", "Build Up", "2022.0.2"},
        {"ZBrushes/Clay", "Mallet Fast", Stroke::Inflate, Path::Diagonal, "Mallet", "Build Up", "2022.0.2"},
        {"ZBrushes/Clay", "Buildup", Stroke::Clay, Path::Wave, "Buildup", "Build Up", "2022.0.2"},
        {"ZBrushes/Standard", "Standard", Stroke::Standard, Path::SCurve, "Standard", "Carving", "2022.0.2"},
        {"ZBrushes/Standard", "Dam_Standard", Stroke::Groove, Path::SCurve, "Standard", "Carving", "2022.0.2"},
        {"ZBrushes/Standard", "Inflate", Stroke::Inflate, Path::Arc, "Inflate", "Build Up", "2022.0.2"},
        {"ZBrushes/Standard", "Pinch", Stroke::Pinch, Path::Diagonal, "Pinch", "Carving", "2022.0.2"},
        {"ZBrushes/Standard", "Slash3", Stroke::Groove, Path::Diagonal, "Standard", "Carving", "2022.0.2"},
        {"ZBrushes/Standard", "Orb_Cracks", Stroke::Groove, Path::Wave, "Standard", "Carving", "2022.0.2"},
        {"ZBrushes/Standard", "Magnify", Stroke::Inflate, Path::Loop, "Magnify", "Build Up", "2022.0.2"},
        {"ZBrushes/Standard", "Blob", Stroke::Dots, Path::SCurve, "Standard", "Stamps", "2022.0.2"},
        {"ZBrushes/Planar", "hPolish", Stroke::Planar, Path::Diagonal, "Planar, Trim & Polish", "Planes", "2022.0.2"},
        {"ZBrushes/Planar", "TrimDynamic", Stroke::Planar, Path::Arc, "Planar, Trim & Polish", "Trim", "2022.0.2"},
        {"ZBrushes/Planar", "TrimAdaptive", Stroke::Planar, Path::Wave, "Planar, Trim & Polish", "Trim", "2022.0.2"},
        {"ZBrushes/Planar", "Flatten", Stroke::Planar, Path::Loop, "Planar, Trim & Polish", "Planes", "2022.0.2"},
        {"ZBrushes/Planar", "Planar", Stroke::Planar, Path::SCurve, "Planar, Trim & Polish", "Planes", "2022.0.2"},
        {"ZBrushes/Planar", "Chisel3D", Stroke::Groove, Path::Arc, "Chisel", "Trim", "2022.0.2"},
        {"ZBrushes/Curve", "CurveTube", Stroke::Tube, Path::SCurve, "Curve", "Insert", "2022.0.2"},
        {"ZBrushes/Curve", "CurveStrapSnap", Stroke::Tube, Path::Wave, "Curve", "Insert", "2022.0.2"},
        {"ZBrushes/Curve", "CurveSurface", Stroke::Clay, Path::Arc, "Curve", "Insert", "2022.0.2"},
        {"ZBrushes/Curve", "CurveLathe", Stroke::Tube, Path::Loop, "Curve", "Insert", "2022.0.2"},
        {"ZBrushes/Curve", "CurveBridge", Stroke::Tube, Path::Diagonal, "Stroke Curve", "Insert", "2022.0.2"},
        {"ZBrushes/Curve", "CurveSnapSurface", Stroke::Tube, Path::Arc, "Snake Hook", "Insert", "2022.0.2"},
        {"ZBrushes/Insert", "IMM Primitives", Stroke::Dots, Path::Diagonal, "Insert MultiMesh", "Insert", "2022.0.2"},
        {"ZBrushes/Insert", "Insert Sphere", Stroke::Inflate, Path::Loop, "Insert", "Insert", "2022.0.2"},
        {"ZBrushes/Insert", "Insert Cylinder", Stroke::Tube, Path::Diagonal, "Insert", "Insert", "2022.0.2"},
        {"ZBrushes/Insert", "IMM Curve Chain", Stroke::Dots, Path::Wave, "Insert MultiMesh Curve", "Insert", "2022.0.2"},
        {"ZBrushes/Insert", "Knife Curve", Stroke::Groove, Path::Arc, "Knife", "Trim", "2022.0.2"},
        {"ZBrushes/Masking", "MaskPen", Stroke::Mask, Path::SCurve, "Masking", "Masking", "2022.0.2"},
        {"ZBrushes/Masking", "MaskLasso", Stroke::Mask, Path::Loop, "Masking", "Masking", "2022.0.2"},
        {"ZBrushes/Masking", "MaskCurve", Stroke::Mask, Path::Diagonal, "Masking", "Masking", "2022.0.2"},
        {"ZBrushes/Masking", "SelectRect", Stroke::Mask, Path::Wave, "Select", "Masking", "2022.0.2"},
        {"ZStartup/BrushPresets", "Move", Stroke::Move, Path::SCurve, "Move", "Smoothing", "4.8"},
        {"ZStartup/BrushPresets", "Smooth", Stroke::Smooth, Path::SCurve, "Smooth", "Smoothing", "2019"},
        {"ZStartup/BrushPresets", "SnakeHook", Stroke::Pinch, Path::Arc, "Snake Hook", "Smoothing", "2019"},
        {"ZData/BrushPresets", "Paint", Stroke::Paint, Path::Wave, "Paint", "Paint", "2022.0.2"},
        {"Brushes/Carving", "Stone Crack", Stroke::Groove, Path::Wave, "Standard", "Carving", "2021"},
        {"Brushes/Carving", "Stone Chip", Stroke::Planar, Path::Diagonal, "Planar, Trim & Polish", "Trim", "2021"},
        {"Brushes/Carving", "Stone Groove", Stroke::Groove, Path::Arc, "Chisel", "Carving", "2021"},
        {"Brushes/Carving", "Stone Erode", Stroke::Smooth, Path::Loop, "Noise", "Smoothing", "2021"},
        {"Brushes/Carving", "Stone Flake", Stroke::Planar, Path::Wave, "Planar, Trim & Polish", "Trim", "2021"},
        {"Brushes/Carving", "Stone Pits", Stroke::Dots, Path::Loop, "DragDot", "Stamps", "2021"},
        {"Brushes/Carving", "Weathering", Stroke::Smooth, Path::Diagonal, "Noise", "Smoothing", "2021"},
        {"Brushes/Steel", "Steel Panel Line", Stroke::Groove, Path::Diagonal, "Standard", "Planes", "2021"},
        {"Brushes/Steel", "Steel Bevel", Stroke::Planar, Path::Arc, "Bevel", "Planes", "2021"},
        {"Brushes/Steel", "Steel Rivets", Stroke::Dots, Path::Diagonal, "DragDot", "Stamps", "2021"},
        {"Brushes/Steel", "Steel Weld", Stroke::Tube, Path::Wave, "Curve", "Insert", "2021"},
        {"Brushes/Steel", "Steel Dent", Stroke::Inflate, Path::Loop, "Mallet", "Stamps", "2021"},
        {"Brushes/Steel", "Steel Extrude", Stroke::Clay, Path::Arc, "Extrude", "Planes", "2021"},
        {"Brushes/Steel", "Steel Scratches", Stroke::Groove, Path::SCurve, "Stroke", "Stamps", "2021"},
        {"Brushes/Steel", "Steel Polish", Stroke::Smooth, Path::Wave, "Planar, Trim & Polish", "Smoothing", "2021"},
        {"Brushes/Detail", "Skin Pores", Stroke::Dots, Path::Wave, "Spray", "Stamps", "2021"},
        {"Brushes/Detail", "Wrinkle Line", Stroke::Groove, Path::Wave, "Standard", "Carving", "2021"},
        {"Brushes/Detail", "Scale Rows", Stroke::Dots, Path::Arc, "Colored Spray", "Stamps", "2021"},
        {"Brushes/Detail", "Paint Grime", Stroke::Paint, Path::SCurve, "Paint", "Paint", "2021"},
    };
    // The maker's categories and the groups they belong to.
    static const char *const categories[][2] = {
        {"Build Up", "Sculpting"}, {"Carving", "Sculpting"}, {"Smoothing", "Sculpting"},
        {"Planes", "Hard Surface"}, {"Trim", "Hard Surface"}, {"Insert", "Hard Surface"},
        {"Stamps", "Detail"}, {"Masking", "Detail"}, {"Paint", "Detail"},
    };
    QVector<QStringList> categoryRows;
    for (const auto &category : categories) {
        categoryRows.append({QString::fromLatin1(category[0]), QString::fromLatin1(category[1])});
        m_categoryGroups.insert(QString::fromLatin1(category[0]), QString::fromLatin1(category[1]));
    }
    QVector<QStringList> brushRows;
    const QColor clays[] = {QColor(190, 120, 90), QColor(160, 160, 165), QColor(205, 170, 120), QColor(140, 150, 170)};
    int index = 0;
    for (const BrushEntry &entry : entries) {
        const QString folder = QString::fromLatin1(entry.folder);
        const bool fromPack = folder.startsWith(QLatin1String("Brushes/"));
        const QString name = QString::fromLatin1(entry.name);
        const QByteArray version(entry.version);
        const QColor clay = clays[index++ % 4];
        const Credits credits = fromPack
            ? Credits{QStringLiteral("Kivara Demo Studio"), QStringLiteral("https://example.com/stone-and-steel")}
            : Credits{QStringLiteral("Pixologic"), QStringLiteral("http://pixologic.com")};
        m_credits.insert(name, credits);
        const QString path = (fromPack ? pack : zb) + folder + QLatin1Char('/') + name + QStringLiteral(".ZBP");
        add(path, [entry, version, clay, credits] {
            return ZBrushFileWriter::withCredits(zbrushFile(DemoArtist::brush(entry.stroke, entry.path, clay), version),
                                                 credits.author.toLatin1(), credits.link.toLatin1());
        });
        brushRows.append({name, folder.section(QLatin1Char('/'), -1), QString::fromLatin1(entry.category),
                          QString::fromLatin1(entry.type)});
        m_categoryCounts[QString::fromLatin1(entry.category)] += 1;
        count(QStringLiteral("brush"));
    }
    add(pack + QStringLiteral("Stone and Steel.kiv.xml"),
        [categoryRows, brushRows] { return brushMetadata(categoryRows, brushRows); });
}

void DemoContent::addAlphas()
{
    struct AlphaEntry
    {
        const char *folder;
        const char *name;
        AlphaPattern pattern;
        int width;
        int height;
        int depth;
    };
    static const AlphaEntry entries[] = {
        {"ZAlphas/Noise", "Terrain", AlphaPattern::Noise, 4096, 4096, 8},
        {"ZAlphas/Basic", "Round Soft", AlphaPattern::SoftDisc, 256, 256, 8},
        {"ZAlphas/Basic", "Round Hard", AlphaPattern::SoftDisc, 128, 128, 8},
        {"ZAlphas/Basic", "Square Soft", AlphaPattern::Square, 256, 256, 8},
        {"ZAlphas/Basic", "Star", AlphaPattern::Star, 256, 256, 8},
        {"ZAlphas/Basic", "Ring", AlphaPattern::Ring, 128, 128, 8},
        {"ZAlphas/Basic", "Diamond", AlphaPattern::Diamond, 128, 128, 8},
        {"ZAlphas/Basic", "Round Smooth 16", AlphaPattern::SoftDisc, 512, 512, 16},
        {"ZAlphas/Noise", "Noise Soft", AlphaPattern::Noise, 512, 512, 8},
        {"ZAlphas/Noise", "Noise Fine", AlphaPattern::Noise, 1024, 1024, 16},
        {"ZAlphas/Noise", "Noise Ridges", AlphaPattern::Ridges, 1024, 1024, 8},
        {"ZAlphas/Noise", "Cells", AlphaPattern::Cells, 512, 512, 8},
        {"ZAlphas/Noise", "Cracks", AlphaPattern::Crack, 1024, 1024, 8},
        {"ZAlphas/Noise", "Ridges Large", AlphaPattern::Ridges, 2048, 2048, 16},
        {"ZAlphas/Noise", "Grain", AlphaPattern::Noise, 256, 256, 8},
        {"ZAlphas/Patterns", "Stripes", AlphaPattern::Stripes, 512, 512, 8},
        {"ZAlphas/Patterns", "Bricks", AlphaPattern::Bricks, 1024, 1024, 8},
        {"ZAlphas/Patterns", "Hexagons", AlphaPattern::Hexagons, 512, 512, 8},
        {"ZAlphas/Patterns", "Weave", AlphaPattern::Weave, 512, 512, 16},
        {"ZAlphas/Patterns", "Dots", AlphaPattern::Dots, 256, 256, 8},
        {"ZAlphas/Patterns", "Scales", AlphaPattern::Scales, 1024, 1024, 16},
        {"ZAlphas/Patterns", "Fabric", AlphaPattern::Fabric, 2048, 2048, 8},
        {"ZAlphas/Patterns", "Trim Strip", AlphaPattern::Stripes, 512, 256, 8},
        {"ZAlphas/Stamps", "Rivet", AlphaPattern::Rivet, 256, 256, 8},
        {"ZAlphas/Stamps", "Screw", AlphaPattern::Screw, 256, 256, 16},
        {"ZAlphas/Stamps", "Bolt Star", AlphaPattern::Star, 512, 512, 8},
        {"ZAlphas/Stamps", "Button", AlphaPattern::Rivet, 128, 128, 8},
        {"ZAlphas/Stamps", "Scale Stamp", AlphaPattern::Scales, 512, 512, 8},
        {"ZStartup/Alphas", "Alpha Dot", AlphaPattern::SoftDisc, 256, 256, 8},
        {"ZStartup/Alphas", "Alpha Square", AlphaPattern::Square, 512, 512, 8},
        {"ZData/Alphas", "Alpha Ring", AlphaPattern::Ring, 512, 512, 8},
        {"Alphas", "Stone Surface", AlphaPattern::Ridges, 2048, 2048, 16},
        {"Alphas", "Stone Cracks", AlphaPattern::Crack, 1024, 1024, 8},
        {"Alphas", "Stone Cells", AlphaPattern::Cells, 1024, 1024, 8},
        {"Alphas", "Steel Hex", AlphaPattern::Hexagons, 2048, 2048, 8},
        {"Alphas", "Steel Weave", AlphaPattern::Weave, 1024, 1024, 8},
        {"Alphas", "Steel Dots", AlphaPattern::Dots, 512, 512, 16},
        {"Alphas", "Stone Grain", AlphaPattern::Noise, 256, 256, 8},
        {"Alphas", "Steel Stripes", AlphaPattern::Stripes, 256, 256, 8},
    };
    int seed = 11;
    for (const AlphaEntry &entry : entries) {
        const QString folder = QString::fromLatin1(entry.folder);
        const QString base = folder.startsWith(QLatin1Char('Z')) ? zb : pack;
        const QString name = QString::fromLatin1(entry.name);
        const QString path = base + folder + QLatin1Char('/') + name;
        const bool sixteen = entry.depth == 16;
        const int s = seed++;
        add(path + QStringLiteral(".png"), [entry, sixteen, s] {
            // A lighter compression: the large alphas would take seconds otherwise.
            return encoded(DemoPatterns::alpha(entry.pattern, entry.width, entry.height, sixteen, s), "png", 50);
        });
        m_alphas.append({name, entry.width, entry.height, entry.depth});
        countImage(base == pack, QStringLiteral("alpha"), name);
        // One alpha keeps a thumbnail beside it, which the catalogue leaves out.
        if (name == QLatin1String("Rivet")) {
            add(path + QStringLiteral("_ico.png"), [entry, s] {
                return encoded(DemoPatterns::alpha(entry.pattern, 96, 96, false, s), "png");
            });
        }
    }
    // And one comes as a Photoshop document.
    add(pack + QStringLiteral("Alphas/Stone Chips.psd"),
        [] { return greyPsd(DemoPatterns::alpha(AlphaPattern::Cells, 512, 512, false, 97)); });
    m_alphas.append({QStringLiteral("Stone Chips"), 512, 512, 8});
    countImage(true, QStringLiteral("alpha"), QStringLiteral("Stone Chips"));
}

void DemoContent::addMaterials()
{
    struct MaterialEntry
    {
        const char *path;
        Surface surface;
    };
    static const MaterialEntry entries[] = {
        {"ZMaterials/MatCap/MatCap Gray", {QColor(150, 150, 150), 0.3, 20, 0.3, 0, false}},
        {"ZMaterials/MatCap/MatCap Red Wax", {QColor(178, 92, 70), 0.35, 30, 0.25, 0, false}},
        {"ZMaterials/MatCap/MatCap White01", {QColor(225, 222, 215), 0.25, 16, 0.2, 0, false}},
        {"ZMaterials/MatCap/MatCap Skin05", {QColor(214, 160, 135), 0.2, 12, 0.35, 0, false}},
        {"ZMaterials/MatCap/MatCap Jade", {QColor(70, 150, 110), 0.6, 60, 0.4, 0.15, false}},
        {"ZMaterials/MatCap/MatCap Bronze", {QColor(170, 110, 55), 0.7, 40, 0.2, 0.45, false}},
        {"ZMaterials/MatCap/MatCap Pearl Cavity", {QColor(220, 215, 230), 0.5, 50, 0.6, 0.1, false}},
        {"ZMaterials/MatCap/MatCap GreenClay", {QColor(110, 140, 90), 0.2, 14, 0.2, 0, false}},
        {"ZMaterials/Standard/BasicMaterial", {QColor(180, 180, 180), 0.4, 24, 0.1, 0, false}},
        {"ZMaterials/Standard/Chrome", {QColor(230, 230, 235), 0.9, 80, 0.1, 0.9, false}},
        {"ZMaterials/Standard/Toy Plastic", {QColor(40, 110, 200), 0.8, 70, 0.15, 0.05, false}},
        {"ZMaterials/Standard/Gold", {QColor(230, 180, 60), 0.9, 60, 0.2, 0.7, false}},
        {"ZMaterials/Standard/Obsidian", {QColor(30, 28, 35), 0.9, 90, 0.3, 0.4, false}},
        {"ZMaterials/Standard/Toon", {QColor(240, 140, 60), 0.6, 40, 0.0, 0, true}},
        {"ZMaterials/Standard/Blinn", {QColor(120, 160, 200), 0.5, 32, 0.1, 0, false}},
        {"ZStartup/Materials/SkinShade4", {QColor(200, 150, 130), 0.25, 18, 0.3, 0, false}},
        {"ZStartup/Materials/Fast Shader", {QColor(170, 170, 160), 0.2, 10, 0.05, 0, false}},
        {"ZData/Materials/Reflected Map", {QColor(200, 205, 215), 0.5, 40, 0.1, 0.6, false}},
        {"Materials/Wet Stone", {QColor(95, 100, 105), 0.8, 90, 0.2, 0.25, false}},
        {"Materials/Brushed Steel", {QColor(175, 180, 190), 0.7, 20, 0.15, 0.55, false}},
    };
    for (const MaterialEntry &entry : entries) {
        const QString relative = QString::fromLatin1(entry.path);
        const QString base = relative.startsWith(QLatin1Char('Z')) ? zb : pack;
        const Surface surface = entry.surface;
        add(base + relative + QStringLiteral(".ZMT"), [surface] { return zbrushFile(DemoArtist::material(surface)); });
        count(QStringLiteral("material"));
    }
}

void DemoContent::addModels()
{
    struct ToolEntry
    {
        const char *path;
        Shape shape;
        QColor colour;
        const char *version;
    };
    static const ToolEntry tools[] = {
        {"ZTools/Sphere3D.ZTL", Shape::Sphere, QColor(178, 92, 70), "2022.0.2"},
        {"ZTools/Dog.ZTL", Shape::Creature, QColor(190, 130, 90), "2022.0.2"},
        {"ZTools/Cube3D.ZTL", Shape::Box, QColor(160, 160, 170), "2022.0.2"},
        {"ZTools/Torus3D.ZTL", Shape::Torus, QColor(200, 160, 90), "2019"},
        {"ZTools/Cylinder3D.ZTL", Shape::Cylinder, QColor(150, 170, 190), "2022.0.2"},
        {"ZTools/Ring3D.ZTL", Shape::Ring, QColor(210, 180, 80), "4.8"},
        {"Tools/Boulder.ZTL", Shape::Rock, QColor(140, 135, 125), "2021"},
    };
    for (const ToolEntry &entry : tools) {
        const QString relative = QString::fromLatin1(entry.path);
        const QString base = relative.startsWith(QLatin1Char('Z')) ? zb : pack;
        add(base + relative, [entry] { return zbrushFile(DemoArtist::tool(entry.shape, entry.colour), entry.version); });
        count(QStringLiteral("tool"));
    }

    struct ProjectEntry
    {
        const char *name;
        QVector<Shape> shapes;
        QColor backdrop;
    };
    const ProjectEntry projects[] = {
        {"Dog Scene", {Shape::Creature}, QColor(90, 110, 140)},
        {"Still Life", {Shape::Sphere, Shape::Box, Shape::Torus}, QColor(120, 110, 100)},
        {"Rock Garden", {Shape::Rock, Shape::Rock, Shape::Rock}, QColor(100, 130, 110)},
        {"Primitives", {Shape::Cylinder, Shape::Capsule}, QColor(110, 100, 130)},
    };
    for (const ProjectEntry &entry : projects) {
        add(zb + QStringLiteral("ZProjects/%1.ZPR").arg(QString::fromLatin1(entry.name)),
            [entry] { return zbrushFile(DemoArtist::project(entry.shapes, entry.backdrop)); });
        count(QStringLiteral("project"));
    }
}

void DemoContent::addPresets()
{
    const QVector<std::tuple<QString, QColor, double>> fibers{
        {QStringLiteral("Short Fur"), QColor(150, 105, 70), 0.1},
        {QStringLiteral("Long Hair"), QColor(225, 195, 130), 0.3},
        {QStringLiteral("Grass Blades"), QColor(90, 170, 70), 0.2},
        {QStringLiteral("Moss"), QColor(70, 110, 50), 0.05},
        {QStringLiteral("Feathers"), QColor(235, 235, 230), 0.24},
    };
    int seed = 3;
    for (const auto &fiber : fibers) {
        const int s = seed++;
        add(zb + QStringLiteral("ZFibersPresets/%1.ZFP").arg(std::get<0>(fiber)),
            [fiber, s] { return zbrushFile(DemoArtist::fibers(std::get<1>(fiber), std::get<2>(fiber), s)); });
        count(QStringLiteral("fiber"));
    }
    const QVector<std::tuple<QString, int, QColor>> grids{
        {QStringLiteral("Floor Grid 16"), 16, QColor(120, 120, 125)},
        {QStringLiteral("Floor Grid 32"), 32, QColor(110, 115, 125)},
        {QStringLiteral("Wide Grid 8"), 8, QColor(150, 140, 110)},
    };
    for (const auto &grid : grids) {
        add(zb + QStringLiteral("ZGrids/%1.ZGR").arg(std::get<0>(grid)),
            [grid] { return zbrushFile(DemoArtist::grid(std::get<1>(grid), std::get<2>(grid))); });
        count(QStringLiteral("grid"));
    }
    const QVector<std::tuple<QString, Shape, int, bool>> arrays{
        {QStringLiteral("Row of Spheres"), Shape::Sphere, 5, false},
        {QStringLiteral("Circle of Cubes"), Shape::Box, 8, true},
        {QStringLiteral("Chain Links"), Shape::Torus, 4, false},
    };
    for (const auto &array : arrays) {
        add(zb + QStringLiteral("ZArraysPresets/%1.ZAM").arg(std::get<0>(array)), [array] {
            return zbrushFile(DemoArtist::meshArray(std::get<1>(array), std::get<2>(array), std::get<3>(array)));
        });
        count(QStringLiteral("array"));
    }
    const QVector<std::tuple<QString, TexturePattern>> spotlights{
        {QStringLiteral("Bricks Reference"), TexturePattern::Bricks},
        {QStringLiteral("Wood Reference"), TexturePattern::Wood},
        {QStringLiteral("Marble Reference"), TexturePattern::Marble},
    };
    for (const auto &spotlight : spotlights) {
        const int s = seed++;
        add(zb + QStringLiteral("ZSpotlights/%1.ZSL").arg(std::get<0>(spotlight)),
            [spotlight, s] { return zbrushFile(DemoArtist::spotlight(std::get<1>(spotlight), s)); });
        count(QStringLiteral("spotlight"));
    }
    const QVector<std::tuple<QString, Surface, double, double>> presets{
        {QStringLiteral("BPR Default"), Surface{QColor(178, 92, 70), 0.35, 30, 0.25, 0, false}, 0.6, 0.0},
        {QStringLiteral("BPR Soft Shadows"), Surface{QColor(200, 200, 195), 0.3, 20, 0.2, 0, false}, 0.9, 0.0},
        {QStringLiteral("BPR Fog"), Surface{QColor(150, 170, 200), 0.3, 20, 0.2, 0, false}, 0.5, 0.7},
        {QStringLiteral("BPR Chrome"), Surface{QColor(230, 230, 235), 0.9, 80, 0.1, 0.9, false}, 0.5, 0.0},
    };
    for (const auto &preset : presets) {
        add(zb + QStringLiteral("ZRenderPresets/%1.ZRP").arg(std::get<0>(preset)), [preset] {
            return zbrushFile(DemoArtist::renderPreset(std::get<1>(preset), std::get<2>(preset), std::get<3>(preset)));
        });
        count(QStringLiteral("renderpreset"));
    }
}

void DemoContent::addLights()
{
    const QColor white(255, 250, 240);
    const QColor warm(255, 180, 110);
    const QColor cool(140, 170, 255);
    const QVector<std::tuple<QString, QVector<Light>>> setups{
        {QStringLiteral("Default Studio"), {{-35, 40, white, 1.0, 25}}},
        {QStringLiteral("Rim Light"), {{-30, 30, white, 0.5, 20}, {150, 20, cool, 1.2, 15}}},
        {QStringLiteral("Three Point"), {{-40, 35, white, 0.9, 20}, {45, 10, warm, 0.4, 30}, {170, 40, cool, 0.8, 15}}},
        {QStringLiteral("Warm Sunset"), {{60, 10, warm, 1.1, 25}, {-90, 60, cool, 0.3, 40}}},
        {QStringLiteral("Cool Moon"), {{-20, 60, cool, 0.9, 20}}},
    };
    for (const auto &setup : setups) {
        const QVector<Light> lights = std::get<1>(setup);
        add(zb + QStringLiteral("ZLightCaps/%1.ZLI").arg(std::get<0>(setup)),
            [lights] { return zbrushFile(DemoArtist::lights(lights)); });
        add(zb + QStringLiteral("ZLightCaps/LightCap %1.zld").arg(std::get<0>(setup)),
            [lights] { return zbrushFile(DemoArtist::lightCap(lights)); });
        count(QStringLiteral("light"), 2);
    }
    const QVector<Light> daylight{{-50, 55, white, 1.0, 30}, {120, 15, cool, 0.35, 40}};
    add(pack + QStringLiteral("Lights/Stone Daylight.ZLI"), [daylight] { return zbrushFile(DemoArtist::lights(daylight)); });
    count(QStringLiteral("light"));
}

void DemoContent::addTextures()
{
    struct TextureEntry
    {
        const char *path; // without its suffix
        const char *format;
        TexturePattern pattern;
        int size;
        bool companions; // an "_alpha" and an "_ico" image beside it
    };
    static const TextureEntry entries[] = {
        {"ZTextures/Bricks", "jpg", TexturePattern::Bricks, 1024, true},
        {"ZTextures/Wood", "jpg", TexturePattern::Wood, 512, false},
        {"ZTextures/Marble", "png", TexturePattern::Marble, 512, false},
        {"ZTextures/Rust", "jpg", TexturePattern::Rust, 512, false},
        {"ZTextures/Tiles", "png", TexturePattern::Tiles, 512, true},
        {"ZTextures/Fabric", "jpg", TexturePattern::Fabric, 512, false},
        {"ZTextures/Bark", "jpg", TexturePattern::Bark, 512, false},
        {"ZTextures/Sand", "jpg", TexturePattern::Sand, 512, false},
        {"ZStartup/Textures/Grass", "png", TexturePattern::Grass, 512, false},
        {"ZData/Textures/Metal", "jpg", TexturePattern::Metal, 512, false},
        {"Textures/Granite", "jpg", TexturePattern::Marble, 1024, false},
        {"Textures/Steel Plate", "png", TexturePattern::Metal, 512, true},
    };
    int seed = 40;
    for (const TextureEntry &entry : entries) {
        const QString relative = QString::fromLatin1(entry.path);
        const bool inPack = !relative.startsWith(QLatin1Char('Z'));
        const QString path = (inPack ? pack : zb) + relative;
        const QString name = relative.section(QLatin1Char('/'), -1);
        const int s = seed++;
        add(path + QLatin1Char('.') + QLatin1String(entry.format), [entry, s] {
            return encoded(DemoPatterns::texture(entry.pattern, entry.size, entry.size, s), entry.format, 90);
        });
        countImage(inPack, QStringLiteral("texture"), name);
        if (!entry.companions)
            continue;
        countImage(inPack, QStringLiteral("texture"), name + QStringLiteral("_alpha"));
        add(path + QStringLiteral("_alpha.png"), [entry, s] {
            const QImage colour = DemoPatterns::texture(entry.pattern, 256, 256, s);
            return encoded(colour.convertToFormat(QImage::Format_Grayscale8), "png");
        });
        add(path + QStringLiteral("_ico.png"),
            [entry, s] { return encoded(DemoPatterns::texture(entry.pattern, 96, 96, s), "png"); });
    }
}

void DemoContent::addInterface()
{
    const QString startup = zb + QStringLiteral("ZStartup/");
    // ZBrush's standard layouts, one of the user's, and one in a sub-folder.
    const QStringList layouts{
        QStringLiteral("compact_UI_brush_materials"), QStringLiteral("compact_ui"), QStringLiteral("Default"),
        QStringLiteral("LeftRightShelf"), QStringLiteral("legacy4R8"), QStringLiteral("Minimal"),
        QStringLiteral("Sculpt01")};
    int seed = 1;
    for (const QString &layout : layouts) {
        const int s = seed++;
        add(startup + QStringLiteral("UserInterfaceLayouts/") + layout + QStringLiteral(".cfg"),
            [s] { return interfaceFile(s, 600); });
    }
    m_readOnlyLayouts = layouts;
    add(startup + QStringLiteral("UserInterfaceLayouts/My Sculpting.cfg"), [] { return interfaceFile(20, 640); });
    add(startup + QStringLiteral("UserInterfaceLayouts/Custom/Wide Shelf.cfg"), [] { return interfaceFile(21, 620); });
    m_layouts = layouts.size() + 2;

    const QStringList schemes{QStringLiteral("Dark Slate"), QStringLiteral("Warm Clay"), QStringLiteral("High Contrast"),
                              QStringLiteral("Blue Steel")};
    for (const QString &scheme : schemes) {
        const int s = seed++;
        add(startup + QStringLiteral("UserInterfaceColors/") + scheme + QStringLiteral(".cfg"),
            [s] { return interfaceFile(s, 57); });
    }
    m_colourSchemes = schemes.size();

    const QStringList macros{QStringLiteral("Misc/Smooth Mesh"), QStringLiteral("Misc/Mirror X"),
                             QStringLiteral("Sculpt/Dam Pass"), QStringLiteral("Sculpt/Polish Pass"),
                             QStringLiteral("Export/Save All")};
    int glyph = 0;
    for (const QString &macro : macros) {
        const int g = glyph++;
        add(startup + QStringLiteral("Macros/") + macro + QStringLiteral(".zsc"),
            [g] { return zbrushFile(DemoArtist::scriptIcon(g, QColor(70, 90, 120))); });
        m_macros.append(QString(macro).replace(QLatin1Char('/'), QLatin1Char(':')));
    }

    const QStringList plugins{QStringLiteral("SubTool Master"), QStringLiteral("UV Master"),
                              QStringLiteral("Decimation Master"), QStringLiteral("Transpose Master"),
                              QStringLiteral("Scale Master"), QStringLiteral("Text 3D")};
    for (const QString &plugin : plugins) {
        const int g = glyph++;
        add(startup + QStringLiteral("ZPlugs64/") + plugin + QStringLiteral(".zsc"),
            [g] { return zbrushFile(DemoArtist::scriptIcon(g, QColor(150, 80, 40))); });
    }
    m_plugins = plugins.size();

    // The colours the script plug-in exported last: ZBrush's own dark scheme with a teal
    // accent in place of its orange, so that the demo shows the colours come from ZBrush.
    const ZUiColor zbrushDefaults;
    QStringList values;
    for (int i = 0; i < ZUiColor::ColorCount; ++i) {
        const auto which = static_cast<ZUiColor::Color>(i);
        const bool accent = which == ZUiColor::Sw1 || which == ZUiColor::Sw2 || which == ZUiColor::K1
            || which == ZUiColor::K2 || which == ZUiColor::Dragdrop;
        const QColor colour = accent ? QColor(0x1f, 0xa8, 0x9c) : QColor(zbrushDefaults.color(which));
        m_interfaceColours.append(QLatin1String("#ff") + colour.name().mid(1));
        // red + green / 256 + blue / 65536, exactly representable in a float.
        static const QRegularExpression trailingZeros(QStringLiteral("\\.?0+$"));
        values.append(QString::number(colour.red() + colour.green() / 256.0 + colour.blue() / 65536.0, 'f', 16)
                          .remove(trailingZeros));
    }
    const QByteArray text = values.join(QLatin1Char(',')).toLatin1();
    add(dataFolder + QStringLiteral("/ZPluginData/KIVData/kiv_uicolors.zvr"), [text] { return text; });
}
