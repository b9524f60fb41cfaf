#include "demopatterns.h"

#include "demonoise.h"

#include <QVector>

#include <cmath>

using DemoNoise::fractal;
using DemoNoise::smoothStep;

namespace {

constexpr double pi = 3.14159265358979323846;

double mix(double a, double b, double t)
{
    return a + (b - a) * t;
}

// A soft rim so that a stamp fades out before the image's edge.
double vignette(double u, double v)
{
    const double r = std::hypot(u - 0.5, v - 0.5) * 2.0;
    return 1.0 - smoothStep(0.75, 1.0, r);
}

// Distance from the centre, 0 there and 1 at the middle of an edge.
double radius(double u, double v)
{
    return std::hypot(u - 0.5, v - 0.5) * 2.0;
}

// A dome of the given radius (in the same units as radius()), 1 at its top.
double dome(double r, double size)
{
    return r >= size ? 0.0 : std::sqrt(1.0 - (r / size) * (r / size));
}

double hexEdge(double u, double v, double scale)
{
    // Distance to the nearest edge of a hexagonal tiling, 0 on the edge.
    const double x = u * scale;
    const double y = v * scale;
    const double rowHeight = std::sqrt(3.0);
    const auto centreDistance = [](double px, double py) {
        const double ax = std::abs(px);
        const double ay = std::abs(py);
        // Flat-topped hexagons of circumradius 1: 1 on their outline.
        return std::max(ay * 2.0 / std::sqrt(3.0), ax + ay / std::sqrt(3.0));
    };
    double best = 9;
    const int cx = int(std::floor(x / 1.5));
    for (int i = cx - 1; i <= cx + 1; ++i) {
        const double ox = i * 1.5;
        const double oy = (i & 1) ? rowHeight * 0.5 : 0.0;
        const int cy = int(std::floor((y - oy) / rowHeight));
        for (int j = cy - 1; j <= cy + 1; ++j)
            best = std::min(best, centreDistance(x - ox, y - oy - j * rowHeight));
    }
    return std::max(0.0, 1.0 - best);
}

} // namespace

double DemoPatterns::alphaValue(Alpha pattern, double u, double v, int seed)
{
    const double r = radius(u, v);
    switch (pattern) {
    case Alpha::SoftDisc: {
        const double t = std::max(0.0, 1.0 - r);
        return t * t * (3.0 - 2.0 * t);
    }
    case Alpha::Square: {
        const double d = std::max(std::abs(u - 0.5), std::abs(v - 0.5));
        return 1.0 - smoothStep(0.28, 0.44, d);
    }
    case Alpha::Star: {
        const double angle = std::atan2(v - 0.5, u - 0.5);
        const double edge = 0.55 + 0.3 * std::cos(5.0 * angle);
        return 1.0 - smoothStep(edge - 0.25, edge, r);
    }
    case Alpha::Ring:
        return std::exp(-std::pow((r - 0.6) / 0.14, 2.0));
    case Alpha::Diamond: {
        const double d = std::abs(u - 0.5) + std::abs(v - 0.5);
        return 1.0 - smoothStep(0.15, 0.45, d);
    }
    case Alpha::Noise:
        return smoothStep(0.2, 0.8, fractal(u * 8, v * 8, seed, 5));
    case Alpha::Ridges: {
        const double n = fractal(u * 6, v * 6, seed, 5);
        return std::pow(1.0 - std::abs(2.0 * n - 1.0), 3.0);
    }
    case Alpha::Cells: {
        double nearest = 0;
        double second = 0;
        DemoNoise::cells(u * 10, v * 10, seed, &nearest, &second);
        return qBound(0.0, 1.0 - nearest * 1.2, 1.0);
    }
    case Alpha::Scales: {
        const double x = u * 8;
        const double y = v * 8;
        const double row = std::floor(y);
        const double shifted = x + (int(row) & 1) * 0.5;
        const double d = std::hypot(shifted - std::floor(shifted) - 0.5, (y - row) * 1.4 - 0.2);
        return dome(d, 0.75) * vignette(u, v);
    }
    case Alpha::Stripes:
        return 0.5 + 0.5 * std::sin(2 * pi * (u * 8 + 0.4 * fractal(u * 4, v * 4, seed, 3)));
    case Alpha::Bricks: {
        const double y = v * 8;
        const double row = std::floor(y);
        const double x = u * 4 + (int(row) & 1) * 0.5;
        const double dx = std::min(x - std::floor(x), std::ceil(x) - x) * 4;
        const double dy = std::min(y - row, row + 1 - y);
        const double mortar = smoothStep(0.02, 0.12, std::min(dx, dy));
        return mortar * (0.75 + 0.25 * fractal(u * 30, v * 30, seed, 2));
    }
    case Alpha::Hexagons:
        return smoothStep(0.08, 0.3, hexEdge(u, v, 9)) * 0.9 + 0.1;
    case Alpha::Weave: {
        const double a = std::sin(2 * pi * u * 10);
        const double b = std::sin(2 * pi * v * 10);
        const bool over = (int(std::floor(u * 10)) + int(std::floor(v * 10))) & 1;
        return 0.5 + 0.5 * (over ? std::abs(b) * a : std::abs(a) * b) * 0.9;
    }
    case Alpha::Dots: {
        const double x = u * 6 - std::floor(u * 6) - 0.5;
        const double y = v * 6 - std::floor(v * 6) - 0.5;
        return dome(std::hypot(x, y), 0.32);
    }
    case Alpha::Rivet:
        return dome(r, 0.55) * 0.85 + 0.15 * (1.0 - smoothStep(0.55, 0.62, r)) * (r > 0.5 ? 1.0 : 0.0);
    case Alpha::Screw: {
        const double head = dome(r, 0.7);
        const double slot = smoothStep(0.05, 0.09, std::abs(v - 0.5) * 2.0);
        return head * (r < 0.55 ? mix(0.25, 1.0, slot) : 1.0);
    }
    case Alpha::Crack: {
        double nearest = 0;
        double second = 0;
        DemoNoise::cells(u * 5 + 0.3 * fractal(u * 9, v * 9, seed, 3), v * 5, seed, &nearest, &second);
        const double line = smoothStep(0.0, 0.08, second - nearest);
        return mix(0.05, 0.55, line) * vignette(u, v);
    }
    case Alpha::Fabric: {
        const double warp = 0.5 + 0.5 * std::sin(2 * pi * u * 24);
        const double weft = 0.5 + 0.5 * std::sin(2 * pi * v * 24);
        return qBound(0.0, 0.6 * std::max(warp, weft) + 0.4 * fractal(u * 40, v * 40, seed, 2), 1.0);
    }
    }
    return 0;
}

void DemoPatterns::textureValue(Texture pattern, double u, double v, int seed, double rgb[3])
{
    const auto set = [rgb](double r, double g, double b) {
        rgb[0] = qBound(0.0, r, 1.0);
        rgb[1] = qBound(0.0, g, 1.0);
        rgb[2] = qBound(0.0, b, 1.0);
    };
    switch (pattern) {
    case Texture::Bricks: {
        const double y = v * 8;
        const double row = std::floor(y);
        const double x = u * 4 + (int(row) & 1) * 0.5;
        const double dx = std::min(x - std::floor(x), std::ceil(x) - x) * 4;
        const double dy = std::min(y - row, row + 1 - y);
        const double brick = smoothStep(0.03, 0.1, std::min(dx, dy));
        const double tone = DemoNoise::lattice(int(std::floor(x)), int(row), seed) * 0.25;
        const double grain = fractal(u * 40, v * 40, seed, 3) * 0.2;
        set(mix(0.62, 0.55 + tone + grain, brick), mix(0.6, 0.25 + tone * 0.5 + grain, brick),
            mix(0.55, 0.18 + grain * 0.5, brick));
        return;
    }
    case Texture::Wood: {
        const double warp = fractal(u * 3, v * 12, seed, 4);
        const double rings = 0.5 + 0.5 * std::sin((u * 26 + warp * 6) * pi);
        const double t = std::pow(rings, 3.0) * 0.6 + fractal(u * 60, v * 4, seed + 3, 2) * 0.4;
        set(mix(0.55, 0.33, t), mix(0.36, 0.2, t), mix(0.2, 0.1, t));
        return;
    }
    case Texture::Marble: {
        const double turbulence = fractal(u * 5, v * 5, seed, 6);
        const double vein = std::pow(std::abs(std::sin((u * 3 + v * 2 + turbulence * 4) * pi)), 0.25);
        set(0.55 + 0.4 * vein, 0.55 + 0.4 * vein, 0.58 + 0.38 * vein);
        return;
    }
    case Texture::Rust: {
        const double blotch = smoothStep(0.4, 0.7, fractal(u * 6, v * 6, seed, 6));
        const double grain = fractal(u * 50, v * 50, seed + 5, 2);
        set(mix(0.3, 0.6, blotch) + grain * 0.1, mix(0.31, 0.28, blotch) + grain * 0.06,
            mix(0.33, 0.12, blotch) + grain * 0.03);
        return;
    }
    case Texture::Tiles: {
        const double x = u * 6 - std::floor(u * 6);
        const double y = v * 6 - std::floor(v * 6);
        const double edge = smoothStep(0.02, 0.06, std::min(std::min(x, 1 - x), std::min(y, 1 - y)));
        const bool blue = (int(std::floor(u * 6)) + int(std::floor(v * 6))) & 1;
        const double glaze = 0.9 + 0.1 * fractal(u * 20, v * 20, seed, 2);
        set(mix(0.45, blue ? 0.2 * glaze : 0.93 * glaze, edge), mix(0.43, blue ? 0.38 * glaze : 0.93 * glaze, edge),
            mix(0.4, blue ? 0.7 * glaze : 0.9 * glaze, edge));
        return;
    }
    case Texture::Fabric: {
        const double warp = 0.5 + 0.5 * std::sin(2 * pi * u * 48);
        const double weft = 0.5 + 0.5 * std::sin(2 * pi * v * 48);
        const double t = std::max(warp, weft) * 0.7 + fractal(u * 80, v * 80, seed, 2) * 0.3;
        set(0.2 + 0.25 * t, 0.25 + 0.2 * t, 0.45 + 0.3 * t);
        return;
    }
    case Texture::Bark: {
        const double ridges = std::pow(1.0 - std::abs(2.0 * fractal(u * 14, v * 2, seed, 5) - 1.0), 2.0);
        set(0.18 + 0.3 * ridges, 0.13 + 0.2 * ridges, 0.08 + 0.12 * ridges);
        return;
    }
    case Texture::Sand: {
        const double ripple = 0.5 + 0.5 * std::sin((v * 30 + fractal(u * 4, v * 4, seed, 3) * 5) * pi);
        const double grain = fractal(u * 120, v * 120, seed + 7, 2);
        const double t = ripple * 0.4 + grain * 0.6;
        set(0.68 + 0.2 * t, 0.58 + 0.18 * t, 0.4 + 0.12 * t);
        return;
    }
    case Texture::Grass: {
        const double blades = fractal(u * 90, v * 8, seed, 3);
        const double patches = fractal(u * 4, v * 4, seed + 9, 3);
        set(0.12 + 0.2 * patches, 0.3 + 0.35 * blades, 0.08 + 0.1 * blades);
        return;
    }
    case Texture::Metal: {
        const double brushed = fractal(u * 2, v * 200, seed, 3);
        const double t = 0.55 + 0.3 * brushed + 0.1 * std::sin(u * pi);
        set(t, t, t * 1.03);
        return;
    }
    }
    set(0, 0, 0);
}

namespace {

// Patterns are worked out on a grid of at most this many points a side and spread
// over the image smoothly: a 4096 alpha costs little more than a 512 one, and a
// 16-bit alpha gets its fine gradations from the interpolation.
constexpr int gridLimit = 512;

// channels values per grid point, drawn by value(u, v, out).
template<typename Value>
QVector<double> patternGrid(int columns, int rows, int channels, Value value)
{
    QVector<double> grid(columns * rows * channels);
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x)
            value((x + 0.5) / columns, (y + 0.5) / rows, grid.data() + (y * columns + x) * channels);
    }
    return grid;
}

// Bilinear reading of the grid at image pixel (x, y) of an image width x height.
struct GridReader
{
    const QVector<double> &grid;
    int columns, rows, channels, width, height;

    void read(int x, int y, double *out) const
    {
        const double gx = qBound(0.0, (x + 0.5) * columns / width - 0.5, columns - 1.0);
        const double gy = qBound(0.0, (y + 0.5) * rows / height - 0.5, rows - 1.0);
        const int x0 = int(gx);
        const int y0 = int(gy);
        const int x1 = qMin(x0 + 1, columns - 1);
        const int y1 = qMin(y0 + 1, rows - 1);
        const double tx = gx - x0;
        const double ty = gy - y0;
        for (int c = 0; c < channels; ++c) {
            const auto at = [&](int px, int py) { return grid[(py * columns + px) * channels + c]; };
            const double top = at(x0, y0) + (at(x1, y0) - at(x0, y0)) * tx;
            const double bottom = at(x0, y1) + (at(x1, y1) - at(x0, y1)) * tx;
            out[c] = top + (bottom - top) * ty;
        }
    }
};

} // namespace

QImage DemoPatterns::alpha(Alpha pattern, int width, int height, bool sixteenBit, int seed)
{
    const int columns = qMin(width, gridLimit);
    const int rows = qMin(height, gridLimit);
    const QVector<double> grid = patternGrid(columns, rows, 1, [&](double u, double v, double *out) {
        *out = qBound(0.0, alphaValue(pattern, u, v, seed), 1.0);
    });
    const GridReader reader{grid, columns, rows, 1, width, height};
    QImage image(width, height, sixteenBit ? QImage::Format_Grayscale16 : QImage::Format_Grayscale8);
    for (int y = 0; y < height; ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            double grey = 0;
            reader.read(x, y, &grey);
            if (sixteenBit)
                reinterpret_cast<quint16 *>(line)[x] = quint16(std::lround(grey * 65535.0));
            else
                line[x] = uchar(std::lround(grey * 255.0));
        }
    }
    return image;
}

QImage DemoPatterns::texture(Texture pattern, int width, int height, int seed)
{
    const int columns = qMin(width, gridLimit);
    const int rows = qMin(height, gridLimit);
    const QVector<double> grid = patternGrid(columns, rows, 3, [&](double u, double v, double *out) {
        textureValue(pattern, u, v, seed, out);
    });
    const GridReader reader{grid, columns, rows, 3, width, height};
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            double rgb[3];
            reader.read(x, y, rgb);
            for (int c = 0; c < 3; ++c)
                line[3 * x + c] = uchar(std::lround(rgb[c] * 255.0));
        }
    }
    return image;
}
