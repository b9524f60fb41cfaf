#include "demoartist.h"

#include "demonoise.h"

#include <QVector>

#include <algorithm>
#include <cmath>
#include <functional>

using DemoNoise::smoothStep;

namespace {

constexpr int side = DemoArtist::thumbnailSide;
constexpr int samples = 2; // per axis and pixel
constexpr int fine = side * samples;
constexpr double pi = 3.14159265358979323846;

struct Vec
{
    double x = 0, y = 0, z = 0;
    Vec operator+(const Vec &o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec operator-(const Vec &o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec operator*(double s) const { return {x * s, y * s, z * s}; }
    Vec operator*(const Vec &o) const { return {x * o.x, y * o.y, z * o.z}; }
};

double dot(const Vec &a, const Vec &b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

double length(const Vec &a)
{
    return std::sqrt(dot(a, a));
}

Vec normalized(const Vec &a)
{
    const double l = length(a);
    return l > 0 ? a * (1.0 / l) : Vec{0, 0, 1};
}

Vec colourOf(const QColor &colour)
{
    return {colour.redF(), colour.greenF(), colour.blueF()};
}

Vec mix(const Vec &a, const Vec &b, double t)
{
    return a + (b - a) * t;
}

Vec direction(double azimuth, double elevation)
{
    const double az = azimuth * pi / 180;
    const double el = elevation * pi / 180;
    return {std::cos(el) * std::sin(az), std::sin(el), std::cos(el) * std::cos(az)};
}

// What one sub-sample sees: a colour and how much of it covers the background.
struct Sample
{
    Vec colour;
    double cover = 0;
};

// Image-plane coordinates run from -1 to 1, y up; the sampler gets sub-sample
// indices as well, for pictures that precompute on the fine grid.
using Sampler = std::function<Sample(double u, double v, int fx, int fy)>;

QImage render(const Sampler &sampler)
{
    QImage image(side, side, QImage::Format_RGBA8888_Premultiplied);
    for (int y = 0; y < side; ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < side; ++x) {
            Vec sum;
            double cover = 0;
            for (int j = 0; j < samples; ++j) {
                for (int i = 0; i < samples; ++i) {
                    const int fx = x * samples + i;
                    const int fy = y * samples + j;
                    const double u = (fx + 0.5) / fine * 2 - 1;
                    const double v = 1 - (fy + 0.5) / fine * 2;
                    const Sample s = sampler(u, v, fx, fy);
                    sum = sum + s.colour * s.cover;
                    cover += s.cover;
                }
            }
            const double n = samples * samples;
            const double a = cover / n;
            const auto byte = [a](double c) { return uchar(std::lround(qBound(0.0, c, a) * 255)); };
            line[4 * x] = byte(sum.x / n);
            line[4 * x + 1] = byte(sum.y / n);
            line[4 * x + 2] = byte(sum.z / n);
            line[4 * x + 3] = uchar(std::lround(a * 255));
        }
    }
    return image;
}

const Vec keyLight = normalized({-0.45, 0.55, 0.7});
const Vec viewer{0, 0, 1};

// A studio: bright sky with a window above, warm dark ground below.
Vec environment(const Vec &r)
{
    const double horizon = smoothStep(-0.08, 0.08, r.y);
    const Vec sky = mix({0.62, 0.68, 0.76}, {0.95, 0.97, 1.0}, qBound(0.0, r.y, 1.0));
    const Vec ground = mix({0.24, 0.2, 0.17}, {0.1, 0.09, 0.08}, qBound(0.0, -r.y, 1.0));
    const double window = std::exp(-((r.x + 0.45) * (r.x + 0.45) + (r.y - 0.55) * (r.y - 0.55)) * 18) * 1.6;
    return mix(ground, sky, horizon) + Vec{window, window, window};
}

Vec shade(const DemoArtist::Surface &surface, const Vec &n)
{
    double diffuse = std::max(0.0, dot(n, keyLight));
    const Vec half = normalized(keyLight + viewer);
    double specular = std::pow(std::max(0.0, dot(n, half)), surface.shininess) * surface.specular;
    if (surface.toon) {
        diffuse = diffuse > 0.55 ? 1.0 : diffuse > 0.2 ? 0.6 : 0.3;
        specular = specular > 0.4 * surface.specular ? surface.specular : 0.0;
    }
    const double rim = std::pow(1.0 - std::max(0.0, n.z), 3.0) * surface.rim;
    const Vec base = colourOf(surface.colour);
    Vec colour = base * (0.16 + 0.84 * diffuse) + Vec{specular, specular, specular} + Vec{rim, rim, rim} * 0.8;
    if (surface.reflection > 0) {
        const Vec reflected = n * (2 * n.z) - viewer;
        colour = mix(colour, environment(reflected) * base * 1.2 + Vec{specular, specular, specular},
                     surface.reflection);
    }
    if (surface.toon && n.z < 0.3)
        colour = colour * 0.08;
    return colour;
}

constexpr double sphereRadius = 0.82;

// The unit normal of the centred sphere at (u, v), or false outside it.
bool sphereNormal(double u, double v, Vec *normal, double radius = sphereRadius)
{
    const double rr = u * u + v * v;
    if (rr >= radius * radius)
        return false;
    *normal = Vec{u, v, std::sqrt(radius * radius - rr)} * (1.0 / radius);
    return true;
}

// Height over the image plane, on the fine grid, and its slopes.
class HeightField
{
public:
    explicit HeightField(const std::function<double(double, double)> &height)
        : m_values(fine * fine)
    {
        for (int y = 0; y < fine; ++y) {
            for (int x = 0; x < fine; ++x) {
                const double u = (x + 0.5) / fine * 2 - 1;
                const double v = 1 - (y + 0.5) / fine * 2;
                // Nothing outside the sphere is shown.
                m_values[y * fine + x] = u * u + v * v < 0.9 ? height(u, v) : 0.0;
            }
        }
    }
    double at(int x, int y) const
    {
        return m_values[qBound(0, y, fine - 1) * fine + qBound(0, x, fine - 1)];
    }
    // Slopes per unit of the image plane (y up).
    double slopeU(int x, int y) const { return (at(x + 1, y) - at(x - 1, y)) * fine / 4.0; }
    double slopeV(int x, int y) const { return (at(x, y - 1) - at(x, y + 1)) * fine / 4.0; }

private:
    QVector<double> m_values;
};

QVector<Vec> strokePath(DemoArtist::Path path)
{
    QVector<Vec> points;
    const int count = 32;
    for (int i = 0; i <= count; ++i) {
        const double t = double(i) / count;
        switch (path) {
        case DemoArtist::Path::SCurve:
            points.append({-0.6 + 1.2 * t, 0.28 * std::sin((t * 2 - 1) * pi), 0});
            break;
        case DemoArtist::Path::Arc: {
            const double angle = (200 + 140 * t) * pi / 180;
            points.append({0.62 * std::cos(angle), 0.45 + 0.62 * std::sin(angle), 0});
            break;
        }
        case DemoArtist::Path::Diagonal:
            points.append({-0.55 + 1.1 * t, -0.45 + 0.9 * t, 0});
            break;
        case DemoArtist::Path::Wave:
            points.append({-0.65 + 1.3 * t, 0.12 * std::sin(t * 4 * pi), 0});
            break;
        case DemoArtist::Path::Loop: {
            const double angle = t * 2 * pi;
            points.append({0.4 * std::cos(angle), 0.4 * std::sin(angle), 0});
            break;
        }
        }
    }
    return points;
}

double distanceToPath(const QVector<Vec> &points, double u, double v)
{
    double best = 9;
    for (int i = 1; i < points.size(); ++i) {
        const Vec a = points[i - 1];
        const Vec ab = points[i] - a;
        const Vec ap = Vec{u, v, 0} - a;
        const double t = qBound(0.0, dot(ap, ab) / dot(ab, ab), 1.0);
        best = std::min(best, length(ap - ab * t));
    }
    return best;
}

double strokeHeight(DemoArtist::Stroke stroke, const QVector<Vec> &path, double u, double v)
{
    using S = DemoArtist::Stroke;
    const double d = distanceToPath(path, u, v);
    switch (stroke) {
    case S::Clay:
        return 0.05 * (1.0 - smoothStep(0.07, 0.12, d));
    case S::Standard:
        return 0.07 * std::exp(-(d / 0.08) * (d / 0.08));
    case S::Groove:
        return -0.06 * std::max(0.0, 1.0 - d / 0.06) + 0.015 * std::exp(-std::pow((d - 0.07) / 0.03, 2.0));
    case S::Pinch:
        return 0.07 * std::pow(std::max(0.0, 1.0 - d / 0.1), 3.0);
    case S::Inflate:
        return 0.12 * std::exp(-(d / 0.16) * (d / 0.16));
    case S::Tube:
        return d < 0.09 ? 0.09 * std::sqrt(1.0 - (d / 0.09) * (d / 0.09)) : 0.0;
    case S::Move: {
        const double r = std::hypot(u - 0.18, v - 0.12);
        return 0.35 * std::exp(-(r / 0.3) * (r / 0.3));
    }
    case S::Smooth: {
        const double bumps = 0.03 * DemoNoise::fractal(u * 9 + 20, v * 9 + 20, 7, 3);
        return bumps * smoothStep(0.05, 0.16, d);
    }
    case S::Dots: {
        double best = 9;
        for (int i = 0; i < path.size(); i += 8)
            best = std::min(best, std::hypot(u - path[i].x, v - path[i].y));
        return best < 0.08 ? 0.06 * std::sqrt(1.0 - (best / 0.08) * (best / 0.08)) : 0.0;
    }
    case S::Planar:
    case S::Mask:
    case S::Paint:
        return 0;
    }
    return 0;
}

// The flat cut of a planar brush: points of the sphere beyond the plane lie on it.
const Vec planeNormal = normalized({-0.25, 0.45, 0.86});
constexpr double planeDistance = sphereRadius * 0.82;

// A general signed distance scene for tools and documents, seen from the front at a slant.
using Distance = std::function<double(const Vec &)>;

Vec turn(const Vec &p)
{
    // 20 degrees about x, then -30 degrees about y: a three-quarter view.
    const double cx = std::cos(20 * pi / 180), sx = std::sin(20 * pi / 180);
    const double cy = std::cos(-30 * pi / 180), sy = std::sin(-30 * pi / 180);
    const Vec a{p.x, p.y * cx - p.z * sx, p.y * sx + p.z * cx};
    return {a.x * cy + a.z * sy, a.y, -a.x * sy + a.z * cy};
}

double capsule(const Vec &p, const Vec &a, const Vec &b, double r)
{
    const Vec pa = p - a;
    const Vec ba = b - a;
    const double h = qBound(0.0, dot(pa, ba) / dot(ba, ba), 1.0);
    return length(pa - ba * h) - r;
}

double smoothUnion(double a, double b, double k)
{
    const double h = qBound(0.0, 0.5 + 0.5 * (b - a) / k, 1.0);
    return b + (a - b) * h - k * h * (1.0 - h);
}

double shapeDistance(DemoArtist::Shape shape, const Vec &q)
{
    using S = DemoArtist::Shape;
    const Vec p = turn(q);
    switch (shape) {
    case S::Sphere:
        return length(p) - 0.68;
    case S::Box: {
        const Vec d{std::abs(p.x) - 0.44, std::abs(p.y) - 0.44, std::abs(p.z) - 0.44};
        const Vec outside{std::max(d.x, 0.0), std::max(d.y, 0.0), std::max(d.z, 0.0)};
        return length(outside) + std::min(std::max(d.x, std::max(d.y, d.z)), 0.0) - 0.08;
    }
    case S::Torus: {
        const double ring = std::hypot(p.x, p.z) - 0.5;
        return std::hypot(ring, p.y) - 0.2;
    }
    case S::Ring: {
        const double ring = std::hypot(p.x, p.y) - 0.55;
        return std::hypot(ring, p.z) - 0.09;
    }
    case S::Cylinder: {
        const double radial = std::hypot(p.x, p.z) - 0.42;
        const double height = std::abs(p.y) - 0.55;
        return std::min(std::max(radial, height), 0.0) + std::hypot(std::max(radial, 0.0), std::max(height, 0.0));
    }
    case S::Capsule:
        return capsule(p, {-0.35, -0.35, 0}, {0.35, 0.35, 0}, 0.3);
    case S::Rock:
        return (length(p) - 0.62 + 0.08 * std::sin(7 * p.x + 1) * std::sin(6 * p.y) * std::sin(5 * p.z + 2)
                + 0.04 * std::sin(13 * p.x) * std::sin(11 * p.y + 3) * std::sin(12 * p.z)) * 0.7;
    case S::Creature: {
        double d = capsule(p, {-0.35, 0, 0}, {0.3, 0.05, 0}, 0.24);
        d = smoothUnion(d, length(p - Vec{0.52, 0.3, 0}) - 0.2, 0.1);
        d = smoothUnion(d, capsule(p, {0.55, 0.42, 0.08}, {0.5, 0.62, 0.12}, 0.05), 0.04);
        d = smoothUnion(d, capsule(p, {0.55, 0.42, -0.08}, {0.5, 0.62, -0.12}, 0.05), 0.04);
        d = smoothUnion(d, capsule(p, {-0.55, 0.05, 0}, {-0.75, 0.25, 0}, 0.05), 0.05);
        for (const double x : {-0.3, 0.25}) {
            for (const double z : {-0.12, 0.12})
                d = smoothUnion(d, capsule(p, {x, -0.1, z}, {x, -0.55, z}, 0.07), 0.06);
        }
        return d;
    }
    }
    return 1;
}

// Marches a ray from the front; true with the hit's normal.
bool march(const Distance &distance, double u, double v, Vec *normal)
{
    double t = 0;
    for (int step = 0; step < 64 && t < 6; ++step) {
        const Vec p{u, v, 2.5 - t};
        const double d = distance(p);
        if (d < 0.002) {
            const double e = 0.003;
            *normal = normalized({distance(p + Vec{e, 0, 0}) - distance(p - Vec{e, 0, 0}),
                                  distance(p + Vec{0, e, 0}) - distance(p - Vec{0, e, 0}),
                                  distance(p + Vec{0, 0, e}) - distance(p - Vec{0, 0, e})});
            return true;
        }
        t += d;
    }
    return false;
}

const DemoArtist::Surface redWax{QColor(178, 92, 70), 0.35, 30, 0.25, 0.0, false};

} // namespace

QImage DemoArtist::brush(Stroke stroke, Path path, const QColor &clay)
{
    const QVector<Vec> points = strokePath(path);
    const HeightField height([&](double u, double v) { return strokeHeight(stroke, points, u, v); });
    const Surface surface{clay, 0.3, 28, 0.22, 0.0, false};
    return render([&](double u, double v, int fx, int fy) -> Sample {
        Vec n;
        if (!sphereNormal(u, v, &n))
            return {};
        if (stroke == Stroke::Planar && dot(n * sphereRadius, planeNormal) > planeDistance)
            return {shade(surface, planeNormal) * 1.05, 1};
        // Bump the sphere's normal by the stroke's slopes.
        const double strength = 1.6;
        n = normalized({n.x - height.slopeU(fx, fy) * strength * n.z, n.y - height.slopeV(fx, fy) * strength * n.z, n.z});
        Vec colour = shade(surface, n);
        if (stroke == Stroke::Mask || stroke == Stroke::Paint) {
            const double paint = 1.0 - smoothStep(0.06, 0.1, distanceToPath(points, u, v));
            colour = stroke == Stroke::Mask ? colour * (1.0 - 0.75 * paint)
                                            : mix(colour, Vec{0.85, 0.12, 0.1} * (0.3 + 0.7 * colour.x), paint);
        }
        return {colour, 1};
    });
}

QImage DemoArtist::material(const Surface &surface)
{
    return render([&](double u, double v, int, int) -> Sample {
        Vec n;
        if (!sphereNormal(u, v, &n))
            return {};
        return {shade(surface, n), 1};
    });
}

QImage DemoArtist::lights(const QVector<Light> &lights)
{
    const Vec grey{0.72, 0.72, 0.72};
    return render([&](double u, double v, int, int) -> Sample {
        Vec n;
        if (!sphereNormal(u, v, &n))
            return {};
        Vec colour = grey * 0.08;
        for (const Light &light : lights) {
            const Vec l = direction(light.azimuth, light.elevation);
            const double diffuse = std::max(0.0, dot(n, l)) * light.strength;
            const double specular = std::pow(std::max(0.0, dot(n, normalized(l + viewer))), 40) * 0.4 * light.strength;
            colour = colour + grey * colourOf(light.colour) * diffuse + colourOf(light.colour) * specular;
        }
        return {colour, 1};
    });
}

QImage DemoArtist::lightCap(const QVector<Light> &lights)
{
    // The LightCap editor's view: the environment as a sphere with a spot per light.
    return render([&](double u, double v, int, int) -> Sample {
        Vec n;
        if (!sphereNormal(u, v, &n))
            return {};
        Vec colour = Vec{0.1, 0.1, 0.11} + Vec{0.06, 0.06, 0.07} * n.y;
        for (const Light &light : lights) {
            const double angle = std::acos(qBound(-1.0, dot(n, direction(light.azimuth, light.elevation)), 1.0));
            const double spread = light.spread * 1.8 * pi / 180;
            colour = colour + colourOf(light.colour) * (light.strength * std::exp(-(angle * angle) / (spread * spread)));
        }
        const double rim = smoothStep(0.9, 1.0, std::hypot(u, v) / sphereRadius);
        return {mix(colour, Vec{0.45, 0.45, 0.45}, rim * 0.6), 1};
    });
}

QImage DemoArtist::tool(Shape shape, const QColor &colour)
{
    Surface surface = redWax;
    surface.colour = colour;
    const Distance distance = [shape](const Vec &p) { return shapeDistance(shape, p); };
    return render([&](double u, double v, int, int) -> Sample {
        Vec n;
        if (!march(distance, u, v, &n))
            return {};
        return {shade(surface, n), 1};
    });
}

QImage DemoArtist::project(const QVector<Shape> &shapes, const QColor &backdrop)
{
    const int count = shapes.size();
    const double scale = count > 1 ? 0.5 : 0.8;
    const Distance distance = [&](const Vec &p) {
        double d = p.y + 0.55; // the floor
        for (int i = 0; i < count; ++i) {
            const double x = count > 1 ? -0.55 + 1.1 * i / (count - 1) : 0.0;
            const Vec centre{x, -0.55 + 0.7 * scale, 0};
            const double bound = length(p - centre) - scale;
            d = std::min(d, bound > d ? bound : shapeDistance(shapes[i], (p - centre) * (1.0 / scale)) * scale);
        }
        return d;
    };
    const Vec back = colourOf(backdrop);
    return render([&](double u, double v, int, int) -> Sample {
        Vec n;
        const Vec sky = mix(back * 0.5, back, (v + 1) / 2);
        if (!march(distance, u, v, &n))
            return {sky, 1};
        if (n.y > 0.98) // the floor: a soft shadow under the models
            return {mix(back * 0.45, back * 0.25, std::exp(-u * u * 2) * 0.8), 1};
        return {shade(redWax, n), 1};
    });
}

QImage DemoArtist::fibers(const QColor &colour, double strandLength, int seed)
{
    // Strands grow out of a dark skin along its normals, drawn back to front.
    struct Strand
    {
        Vec root, tip;
        double shade;
    };
    QVector<Strand> strands;
    for (int i = 0; i < 420; ++i) {
        const double a = DemoNoise::lattice(i, 1, seed) * 2 * pi;
        const double r = std::sqrt(DemoNoise::lattice(i, 2, seed)) * sphereRadius * 0.98;
        Vec n;
        if (!sphereNormal(r * std::cos(a), r * std::sin(a), &n))
            continue;
        const Vec root = n * sphereRadius;
        const Vec droop{0, -0.35, 0};
        const Vec tip = root + normalized(n + droop) * (strandLength * (0.7 + 0.3 * DemoNoise::lattice(i, 3, seed)));
        strands.append({root, tip, 0.5 + 0.5 * std::max(0.0, dot(n, keyLight))});
    }
    std::sort(strands.begin(), strands.end(), [](const Strand &a, const Strand &b) { return a.root.z < b.root.z; });
    // Strands are laid onto the fine grid, each over its own bounding box.
    const Vec hair = colourOf(colour);
    QVector<Vec> strandColour(fine * fine);
    QVector<bool> covered(fine * fine, false);
    const auto toFine = [](double c) { return (c + 1) / 2 * fine; };
    for (const Strand &s : strands) {
        const Vec flat{s.tip.x - s.root.x, s.tip.y - s.root.y, 0};
        const double lengthSq = dot(flat, flat);
        const int x0 = qMax(0, int(toFine(std::min(s.root.x, s.tip.x) - 0.02)));
        const int x1 = qMin(fine - 1, int(toFine(std::max(s.root.x, s.tip.x) + 0.02)));
        const int y0 = qMax(0, int(fine - toFine(std::max(s.root.y, s.tip.y) + 0.02)));
        const int y1 = qMin(fine - 1, int(fine - toFine(std::min(s.root.y, s.tip.y) - 0.02)));
        for (int fy = y0; fy <= y1; ++fy) {
            for (int fx = x0; fx <= x1; ++fx) {
                const double u = (fx + 0.5) / fine * 2 - 1;
                const double v = 1 - (fy + 0.5) / fine * 2;
                const Vec ap{u - s.root.x, v - s.root.y, 0};
                const double t = lengthSq > 0 ? qBound(0.0, dot(ap, flat) / lengthSq, 1.0) : 0.0;
                if (length(ap - flat * t) < 0.012 * (1.0 - 0.6 * t)) {
                    strandColour[fy * fine + fx] = hair * (s.shade * (0.6 + 0.4 * t));
                    covered[fy * fine + fx] = true;
                }
            }
        }
    }
    const Surface skin{colour.darker(300), 0.1, 10, 0.0, 0.0, false};
    return render([&](double u, double v, int fx, int fy) -> Sample {
        if (covered[fy * fine + fx])
            return {strandColour[fy * fine + fx], 1};
        Vec n;
        if (sphereNormal(u, v, &n))
            return {shade(skin, n), 1};
        return {};
    });
}

QImage DemoArtist::grid(int divisions, const QColor &colour)
{
    // ZBrush's floor grid from above: fine lines, every fourth one stronger, the axes in colour.
    const Vec line = colourOf(colour);
    return render([&](double u, double v, int, int) -> Sample {
        const double cell = 2.0 / divisions;
        const auto nearLine = [cell](double c, double every) {
            const double f = c / (cell * every);
            return std::abs(f - std::round(f)) * cell * every;
        };
        const double minor = 1.0 - smoothStep(0.004, 0.012, std::min(nearLine(u, 1), nearLine(v, 1)));
        const double major = 1.0 - smoothStep(0.008, 0.018, std::min(nearLine(u, 4), nearLine(v, 4)));
        Vec colourHere = Vec{0.15, 0.15, 0.16};
        colourHere = mix(colourHere, line * 0.6, minor);
        colourHere = mix(colourHere, line, major);
        if (std::abs(u) < 0.015)
            colourHere = Vec{0.3, 0.75, 0.35};
        if (std::abs(v) < 0.015)
            colourHere = Vec{0.85, 0.3, 0.25};
        return {colourHere, 1};
    });
}

QImage DemoArtist::meshArray(Shape shape, int count, bool circular)
{
    const double spacing = 1.5 / qMax(1, count - 1);
    const double scale = circular ? 0.22 : spacing * 0.75;
    const Distance distance = [&](const Vec &p) {
        double d = 9;
        for (int i = 0; i < count; ++i) {
            Vec centre;
            if (circular) {
                const double a = 2 * pi * i / count;
                centre = {0.62 * std::cos(a), 0.62 * std::sin(a), 0};
            } else {
                centre = {-0.75 + spacing * i, 0.2 * std::sin(i * 0.9), 0};
            }
            // Shapes fit in a sphere of radius 1; far ones need no exact distance.
            const double bound = length(p - centre) - scale;
            d = std::min(d, bound > d ? bound : shapeDistance(shape, (p - centre) * (1.0 / scale)) * scale);
        }
        return d;
    };
    return render([&](double u, double v, int, int) -> Sample {
        Vec n;
        if (!march(distance, u, v, &n))
            return {};
        return {shade(redWax, n), 1};
    });
}

QImage DemoArtist::spotlight(DemoPatterns::Texture pattern, int seed)
{
    // A picture pinned to the canvas with Spotlight's dial over it.
    return render([&](double u, double v, int, int) -> Sample {
        double rgb[3];
        DemoPatterns::textureValue(pattern, (u + 1) / 2, (1 - v) / 2, seed, rgb);
        Vec colour{rgb[0], rgb[1], rgb[2]};
        const double r = std::hypot(u - 0.1, v + 0.1);
        const double dial = std::exp(-std::pow((r - 0.55) / 0.035, 2.0));
        const double angle = std::atan2(v + 0.1, u - 0.1);
        const double ticks = r > 0.6 && r < 0.7 && std::abs(std::sin(angle * 6)) < 0.2 ? 1.0 : 0.0;
        colour = mix(colour, Vec{0.95, 0.95, 0.95}, std::max(dial, ticks) * 0.85);
        return {colour, 1};
    });
}

QImage DemoArtist::renderPreset(const Surface &surface, double shadow, double fog)
{
    return render([&](double u, double v, int, int) -> Sample {
        const Vec backdrop = mix(Vec{0.12, 0.12, 0.13}, Vec{0.42, 0.43, 0.46}, (v + 1) / 2);
        Vec n;
        const double radius = 0.6;
        if (sphereNormal(u, v - 0.15, &n, radius)) {
            const Vec colour = shade(surface, n);
            return {mix(colour, backdrop, fog * (1.0 - n.z) * 0.5), 1};
        }
        // The sphere's shadow on the floor, below and to the right.
        const double s = std::exp(-(std::pow((u - 0.15) / 0.6, 2.0) + std::pow((v + 0.55) / 0.12, 2.0)));
        const Vec floor = v < -0.4 ? backdrop * (1.0 - shadow * s) : backdrop;
        return {floor, 1};
    });
}

QImage DemoArtist::scriptIcon(int glyph, const QColor &colour)
{
    const Vec tile = colourOf(colour);
    return render([&](double u, double v, int, int) -> Sample {
        // A rounded tile with a light emblem on it.
        const double qx = std::abs(u) - 0.62;
        const double qy = std::abs(v) - 0.62;
        const double box = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - 0.25;
        if (box > 0)
            return {};
        const double r = std::hypot(u, v);
        const double angle = std::atan2(v, u);
        double emblem = 0;
        switch (glyph % 5) {
        case 0: // gear
            emblem = (r < 0.5 + 0.09 * (std::cos(angle * 8) > 0 ? 1 : 0) && r > 0.2) ? 1 : 0;
            break;
        case 1: // play
            emblem = (u > -0.3 && std::abs(v) < (0.45 - u) * 0.6 && u < 0.45) ? 1 : 0;
            break;
        case 2: // plus
            emblem = ((std::abs(u) < 0.12 && std::abs(v) < 0.48) || (std::abs(v) < 0.12 && std::abs(u) < 0.48)) ? 1 : 0;
            break;
        case 3: // star
            emblem = r < 0.3 + 0.2 * std::cos(5 * angle) ? 1 : 0;
            break;
        default: // ring
            emblem = std::abs(r - 0.38) < 0.1 ? 1 : 0;
            break;
        }
        const Vec shadeTile = tile * (0.75 + 0.25 * (v + 1) / 2);
        return {mix(shadeTile, Vec{0.96, 0.96, 0.94}, emblem), 1};
    });
}
