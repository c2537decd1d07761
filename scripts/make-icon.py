#!/usr/bin/env python3
"""Draws the Tessarine icon (a tiled diamond on a rounded square) and writes an
.ico with 16, 32, 64, 128 and 256 pixel images: 32-bit DIBs, PNG for 256."""
import struct
import sys
import zlib

SIZES = (16, 32, 64, 128, 256)


def pixel(x, y, n):
    """RGBA of the pixel centre (x, y) in an n x n image, drawn at 4x4 supersampling."""
    acc = [0.0, 0.0, 0.0, 0.0]
    for sy in range(4):
        for sx in range(4):
            u = (x + (sx + 0.5) / 4) / n  # 0..1
            v = (y + (sy + 0.5) / 4) / n
            r, g, b, a = sample(u, v)
            acc[0] += r * a
            acc[1] += g * a
            acc[2] += b * a
            acc[3] += a
    a = acc[3] / 16
    if a == 0:
        return (0, 0, 0, 0)
    return tuple(int(round(c / acc[3])) for c in acc[:3]) + (int(round(a * 255)),)


def sample(u, v):
    # Rounded square background with a teal-to-indigo gradient.
    m, radius = 0.04, 0.2
    dx = max(m + radius - u, 0, u - (1 - m - radius))
    dy = max(m + radius - v, 0, v - (1 - m - radius))
    if u < m or u > 1 - m or v < m or v > 1 - m or dx * dx + dy * dy > radius * radius:
        return (0, 0, 0, 0.0)
    t = (u + v) / 2
    background = (int(20 + 40 * t), int(150 - 90 * t), int(160 + 60 * t))
    # Four diamond tiles meeting at the centre.
    cu, cv = u - 0.5, v - 0.5
    d = abs(cu) + abs(cv)
    if d < 0.34:
        gap = abs(abs(cu) - abs(cv)) < 0.025 or min(abs(cu), abs(cv)) < 0.02
        if gap:
            return background + (1.0,)
        shade = 255 if (cu < 0) == (cv < 0) else 215
        return (shade, shade, int(shade * 0.93), 1.0)
    return background + (1.0,)


def image_rows(n):
    return [[pixel(x, y, n) for x in range(n)] for y in range(n)]


def dib(n):
    rows = image_rows(n)
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_row = ((n + 31) // 32) * 4
    and_mask = bytes(mask_row * n)
    return header + xor + and_mask


def png(n):
    rows = image_rows(n)
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", n, n, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main(path):
    images = [png(n) if n == 256 else dib(n) for n in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1])
