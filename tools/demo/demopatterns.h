#pragma once

#include <QImage>

// The demo installation's full-size pictures: grey alphas (soft shapes, noise,
// patterns and stamps) and colour textures, drawn from numbers alone so that every
// run gives the same pixels.
class DemoPatterns
{
public:
    enum class Alpha {
        SoftDisc, Square, Star, Ring, Diamond, Noise, Ridges, Cells, Scales,
        Stripes, Bricks, Hexagons, Weave, Dots, Rivet, Screw, Crack, Fabric
    };
    enum class Texture { Bricks, Wood, Marble, Rust, Tiles, Fabric, Bark, Sand, Grass, Metal };

    // Grey in [0, 1] at (u, v) in the unit square.
    static double alphaValue(Alpha pattern, double u, double v, int seed);
    // Red, green and blue in [0, 1] at (u, v) in the unit square.
    static void textureValue(Texture pattern, double u, double v, int seed, double rgb[3]);

    // Grayscale8, or Grayscale16 when sixteenBit.
    static QImage alpha(Alpha pattern, int width, int height, bool sixteenBit, int seed);
    // RGB888.
    static QImage texture(Texture pattern, int width, int height, int seed);
};
