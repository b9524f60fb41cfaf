#include "storepicture.h"

#include "tools/demo/demonoise.h"

#include <QBuffer>
#include <QImage>

#include <cmath>

namespace {

struct Vector
{
    double x, y, z;
};

Vector normalised(Vector v)
{
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return length > 0 ? Vector{v.x / length, v.y / length, v.z / length} : v;
}

double dot(const Vector &a, const Vector &b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Height of the worked surface at a point of the unit disc (-1..1), small values.
double relief(const QString &style, double u, double v)
{
    if (style == QLatin1String("clay")) {
        // An S-shaped stroke across the sphere, raised with a soft edge.
        const double centre = 0.35 * std::sin(u * 2.4);
        const double distance = std::abs(v - centre);
        return 0.09 * DemoNoise::smoothStep(0.22, 0.05, distance)
            + 0.015 * DemoNoise::value(u * 9 + 4, v * 9 + 4, 7);
    }
    if (style == QLatin1String("pores")) {
        const double fine = DemoNoise::value(u * 38, v * 38, 3);
        const double wrinkle = std::sin((v + 0.15 * DemoNoise::value(u * 3, v * 3, 5)) * 26);
        return -0.012 * DemoNoise::smoothStep(0.55, 0.85, fine) + 0.006 * wrinkle;
    }
    return 0;
}

} // namespace

namespace StorePicture {

QByteArray png(const QColor &colour, const QString &style, int side)
{
    side = qBound(16, side, 1024);
    QImage image(side, side, QImage::Format_RGB32);
    const Vector light = normalised({-0.5, -0.6, 0.8});
    const Vector view{0, 0, 1};
    const double radius = 0.78;
    const bool planar = style == QLatin1String("planar");
    const double step = 2.0 / side;
    for (int y = 0; y < side; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < side; ++x) {
            // The backdrop: a dark vertical gradient with a soft floor glow.
            const double u = (x + 0.5) * 2.0 / side - 1.0;
            const double v = (y + 0.5) * 2.0 / side - 1.0;
            const double glow = std::exp(-((u * u) * 1.6 + (v - 0.85) * (v - 0.85) * 6));
            double r = 34 + 18 * (1 - v) / 2 + 30 * glow;
            double g = r;
            double b = r + 4;
            const double du = u / radius;
            const double dv = v / radius;
            const double d2 = du * du + dv * dv;
            if (d2 < 1.0) {
                Vector normal{du, dv, std::sqrt(1.0 - d2)};
                if (planar) {
                    // Flat facets, as planar brushes leave them: the direction snapped
                    // to the centre of its cell of latitude and longitude.
                    const double cell = M_PI / 9;
                    const double latitude = std::round(std::asin(qBound(-1.0, normal.y, 1.0)) / cell) * cell;
                    const double longitude = std::round(std::atan2(normal.x, normal.z) / cell) * cell;
                    normal = {std::cos(latitude) * std::sin(longitude), std::sin(latitude),
                              std::cos(latitude) * std::cos(longitude)};
                } else {
                    const double h = relief(style, du, dv);
                    const double hx = relief(style, du + step, dv) - h;
                    const double hy = relief(style, du, dv + step) - h;
                    normal = normalised({normal.x - hx / step, normal.y - hy / step, normal.z});
                }
                const double diffuse = qMax(0.0, dot(normal, light));
                const Vector halfway = normalised({light.x + view.x, light.y + view.y, light.z + view.z});
                const double specular = std::pow(qMax(0.0, dot(normal, halfway)), 28) * 0.35;
                const double rim = std::pow(1.0 - qMax(0.0, normal.z), 3) * 0.25;
                const double shade = 0.18 + 0.82 * diffuse;
                r = colour.red() * shade + 255 * (specular + rim * 0.6);
                g = colour.green() * shade + 255 * (specular + rim * 0.6);
                b = colour.blue() * shade + 255 * (specular + rim * 0.8);
                // Antialiased edge against the backdrop.
                const double edge = DemoNoise::smoothStep(1.0, 1.0 - 4.0 * step, std::sqrt(d2));
                const double back = 34 + 18 * (1 - v) / 2 + 30 * glow;
                r = back + (r - back) * edge;
                g = back + (g - back) * edge;
                b = back + 4 + (b - back - 4) * edge;
            }
            line[x] = qRgb(qBound(0, int(r), 255), qBound(0, int(g), 255), qBound(0, int(b), 255));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace StorePicture
