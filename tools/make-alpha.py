#!/usr/bin/env python3
"""Draws the built-in alpha "Alpha 01": a 256 x 256, 8-bit grey PNG with a soft round falloff.
Usage: tools/make-alpha.py <output.png>; the build writes bin/Resources/Alpha 01.png."""
import math
import sys

from rgbapng import png

SIZE = 256


def grey(x, y):
    # White in the middle, easing to black at the rim (a smoothstep over the radius).
    c = (SIZE - 1) / 2
    r = math.hypot(x - c, y - c) / (SIZE / 2)
    if r >= 1.0:
        return (0,)
    t = 1.0 - r
    return (int(round(255 * t * t * (3 - 2 * t))),)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make-alpha.py <output.png>")
    with open(sys.argv[1], "wb") as out:
        out.write(png(SIZE, grey, grey=True))
