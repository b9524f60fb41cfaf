#!/usr/bin/env python3
"""Draws Kivara's window icon (a teal disc with a white K) as a PNG-in-ICO file."""
import math
import struct
import sys

from rgbapng import png

SIZE = 64


def inside_k(x, y):
    # Stem and the two arms of a K, in a 64-unit box.
    if 20 <= x <= 28 and 14 <= y <= 50:
        return True
    for (x0, y0, x1, y1) in ((27, 32, 45, 14), (27, 32, 45, 50)):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        if math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= 4.2:
            return True
    return False


def pixel(x, y):
    cx = cy = (SIZE - 1) / 2
    d = math.hypot(x - cx, y - cy)
    if d > 31.5:
        return (0, 0, 0, 0)
    alpha = int(255 * max(0.0, min(1.0, 31.5 - d)))
    if inside_k(x, y):
        return (255, 255, 255, alpha)
    shade = 1.0 - 0.25 * (y / SIZE)
    return (int(28 * shade), int(150 * shade), int(160 * shade), alpha)


def ico(image):
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as out:
        out.write(ico(png(SIZE, pixel)))
