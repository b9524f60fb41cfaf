#pragma once

#include "demopatterns.h"

#include <QColor>
#include <QImage>
#include <QVector>

// Draws the demo installation's thumbnails from numbers alone, so that every run
// gives the same pixels: 96 x 96 pictures that look like what they stand for
// (clay spheres with a stroke for brushes, shaded spheres for materials, lit
// spheres for lights, shapes for tools).
class DemoArtist
{
public:
    static constexpr int thumbnailSide = 96;

    // What a brush does to the clay, shown along its stroke.
    enum class Stroke { Clay, Standard, Groove, Pinch, Inflate, Tube, Planar, Move, Smooth, Mask, Paint, Dots };
    // The path the stroke takes across the sphere.
    enum class Path { SCurve, Arc, Diagonal, Wave, Loop };

    struct Surface
    {
        QColor colour;
        double specular = 0.3;
        double shininess = 24;
        double rim = 0.2;
        double reflection = 0.0; // mirror share, for metals and chrome
        bool toon = false;
    };

    struct Light
    {
        double azimuth;   // degrees, 0 straight ahead, positive to the right
        double elevation; // degrees above the horizon
        QColor colour;
        double strength;
        double spread; // degrees, how soft a LightCap spot is
    };

    enum class Shape { Sphere, Box, Torus, Cylinder, Capsule, Rock, Creature, Ring };

    // RGBA8888 with premultiplied alpha.
    static QImage brush(Stroke stroke, Path path, const QColor &clay);
    static QImage material(const Surface &surface);
    static QImage lights(const QVector<Light> &lights);
    static QImage lightCap(const QVector<Light> &lights);
    static QImage tool(Shape shape, const QColor &colour);
    // A document: shapes on a floor before a backdrop.
    static QImage project(const QVector<Shape> &shapes, const QColor &backdrop);
    static QImage fibers(const QColor &colour, double strandLength, int seed);
    static QImage grid(int divisions, const QColor &colour);
    static QImage meshArray(Shape shape, int count, bool circular);
    static QImage spotlight(DemoPatterns::Texture pattern, int seed);
    static QImage renderPreset(const Surface &surface, double shadow, double fog);
    // The small emblem of a macro or plug-in.
    static QImage scriptIcon(int glyph, const QColor &colour);
};
