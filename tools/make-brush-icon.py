#!/usr/bin/env python3
"""Draws the thumbnail shown for brushes without one (a clay ball with a stroke
on a dark tile) as a 96 x 96 PNG: tools/make-brush-icon.py providers/defaultbrushicon.png"""
import math
import sys

from rgbapng import png

SIZE = 96
TILE = (38, 38, 40)
STROKE = (232, 140, 38)


def coverage(distance):
    # Anti-aliased edge: 1 inside, 0 outside, linear across one pixel.
    return max(0.0, min(1.0, 0.5 - distance))


def mix(under, over, amount):
    return tuple(u + (o - u) * amount for u, o in zip(under, over))


def rounded_tile(x, y):
    # Signed distance to a square with rounded corners filling the icon.
    half, radius = SIZE / 2 - 1, 12
    qx = abs(x - SIZE / 2) - (half - radius)
    qy = abs(y - SIZE / 2) - (half - radius)
    return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - radius


def ball(x, y):
    cx, cy, r = 48, 46, 32
    dx, dy = (x - cx) / r, (y - cy) / r
    d = math.hypot(dx, dy)
    # Beyond the edge the colour is that of the rim, faded out by the caller.
    nz = math.sqrt(max(0.0, 1 - d * d))
    # Light from the upper left, a little rim from behind.
    light = max(0.0, (-0.5 * dx - 0.6 * dy + 0.62 * nz))
    shade = 0.22 + 0.78 * light + 0.12 * (1 - nz) ** 3
    specular = max(0.0, -0.45 * dx - 0.55 * dy + 0.7 * nz) ** 24
    colour = tuple(min(255.0, c * shade + 255 * 0.35 * specular) for c in (196, 152, 118))
    return colour, (d - 1) * r


def stroke(x, y):
    # Distance to a sine wave laid across the ball.
    best = 1e9
    for i in range(161):
        sx = 12 + 72 * i / 160
        sy = 52 - 9 * math.sin((sx - 12) / 72 * 2 * math.pi)
        best = min(best, math.hypot(x - sx, y - sy))
    return best - 2.6


def pixel(x, y):
    px, py = x + 0.5, y + 0.5
    alpha = coverage(rounded_tile(px, py))
    if alpha == 0:
        return (0, 0, 0, 0)
    ball_colour, ball_edge = ball(px, py)
    colour = mix(TILE, ball_colour, coverage(ball_edge))
    colour = mix(colour, STROKE, coverage(stroke(px, py)))
    return tuple(int(round(c)) for c in colour) + (int(round(255 * alpha)),)


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as out:
        out.write(png(SIZE, pixel))
