"""Writes a square RGBA or grey image as PNG bytes, for the scripts that draw our icons and alphas."""
import struct
import zlib


def png(size, pixel, grey=False):
    """pixel(x, y) gives (red, green, blue, alpha), or (grey,) for an 8-bit grey image, for every
    point of a size x size image."""
    rows = b"".join(b"\x00" + b"".join(bytes(pixel(x, y)) for x in range(size)) for y in range(size))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 0 if grey else 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")
