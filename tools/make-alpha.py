#!/usr/bin/env python3
"""Draws the built-in alpha "Alpha 01": a 256 x 256, 8-bit grey PNG with a soft round falloff."""
import math
import struct
import sys
import zlib

SIZE = 256


def grey(x, y):
    # White in the middle, easing to black at the rim (a smoothstep over the radius).
    c = (SIZE - 1) / 2
    r = math.hypot(x - c, y - c) / (SIZE / 2)
    if r >= 1.0:
        return 0
    t = 1.0 - r
    return int(round(255 * t * t * (3 - 2 * t)))


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png():
    rows = b"".join(b"\x00" + bytes(grey(x, y) for x in range(SIZE)) for y in range(SIZE))
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 0, 0, 0, 0)  # 8-bit greyscale
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9))
            + chunk(b"IEND", b""))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make-alpha.py <output.png>")
    with open(sys.argv[1], "wb") as out:
        out.write(png())
