#pragma once

#include <QtGlobal>

#include <cmath>

// Lattice noise for the demo's pictures: integer hashing only, so it gives the same
// values on every run and every machine.
namespace DemoNoise {

inline quint32 hash(int x, int y, int seed)
{
    quint32 h = quint32(x) * 374761393u + quint32(y) * 668265263u + quint32(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

// In [0, 1].
inline double lattice(int x, int y, int seed)
{
    return double(hash(x, y, seed) & 0xffffffu) / double(0xffffffu);
}

inline double smoothStep(double edge0, double edge1, double x)
{
    const double t = qBound(0.0, (x - edge0) / (edge1 - edge0), 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// Smooth value noise in [0, 1].
inline double value(double x, double y, int seed)
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int xi = int(fx);
    const int yi = int(fy);
    const double tx = smoothStep(0, 1, x - fx);
    const double ty = smoothStep(0, 1, y - fy);
    const double a = lattice(xi, yi, seed) + (lattice(xi + 1, yi, seed) - lattice(xi, yi, seed)) * tx;
    const double b = lattice(xi, yi + 1, seed) + (lattice(xi + 1, yi + 1, seed) - lattice(xi, yi + 1, seed)) * tx;
    return a + (b - a) * ty;
}

// Octaves of value noise, in [0, 1].
inline double fractal(double x, double y, int seed, int octaves)
{
    double sum = 0;
    double weight = 0;
    double amplitude = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += value(x, y, seed + i * 17) * amplitude;
        weight += amplitude;
        amplitude *= 0.5;
        x *= 2.03;
        y *= 2.03;
    }
    return sum / weight;
}

// Distances to the nearest and second nearest of one jittered point per unit cell.
inline void cells(double x, double y, int seed, double *nearest, double *second)
{
    const int xi = int(std::floor(x));
    const int yi = int(std::floor(y));
    double d1 = 9;
    double d2 = 9;
    for (int j = -1; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i) {
            const double px = xi + i + lattice(xi + i, yi + j, seed);
            const double py = yi + j + lattice(xi + i, yi + j, seed + 101);
            const double d = std::hypot(px - x, py - y);
            if (d < d1) {
                d2 = d1;
                d1 = d;
            } else if (d < d2) {
                d2 = d;
            }
        }
    }
    *nearest = d1;
    *second = d2;
}

} // namespace DemoNoise
