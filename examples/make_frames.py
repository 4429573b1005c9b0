#!/usr/bin/env python3
"""Draws the example animation in examples/frames/: a ball bouncing on its
shadow, 8 frames of 64 x 64 RGBA with a transparent background.

The output is deterministic (no randomness, no timestamps), so running this
again reproduces the committed files byte for byte."""

import math
import os
import struct
import zlib

SIZE = 64
FRAMES = 8
SUPERSAMPLE = 4  # samples per pixel side, for soft edges
FLOOR = 57  # the shadow's centre line


def png_bytes(width, height, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\0" + bytes(row) for row in rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ball_at(t):
    """Centre, radii of the ball at phase t in [0, 1): it touches the floor at 0."""
    height = abs(math.sin(math.pi * t))
    squash = max(0.0, 1.0 - height * 4)  # only near the floor
    rx = 11 * (1 + 0.25 * squash)
    ry = 11 * (1 - 0.25 * squash)
    cy = FLOOR - ry - 32 * height
    return 32.0, cy, rx, ry, height


def over(dst, src):
    """src over dst, both straight-alpha floats."""
    sa = src[3]
    da = dst[3] * (1 - sa)
    a = sa + da
    if a == 0:
        return (0.0, 0.0, 0.0, 0.0)
    return tuple((src[i] * sa + dst[i] * da) / a for i in range(3)) + (a,)


def shade(t, x, y):
    cx, cy, rx, ry, height = ball_at(t)
    colour = (0.0, 0.0, 0.0, 0.0)
    # Shadow: smaller and fainter the higher the ball is.
    sx, sy = 13 * (1 - 0.4 * height), 3.2 * (1 - 0.4 * height)
    d = ((x - 32) / sx) ** 2 + ((y - FLOOR) / sy) ** 2
    if d < 1:
        colour = over(colour, (0.1, 0.05, 0.2, 0.45 * (1 - 0.6 * height) * (1 - d)))
    # Ball: orange, lit from the upper left.
    d = ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2
    if d < 1:
        lx, ly = (x - cx) / rx + 0.45, (y - cy) / ry + 0.45
        light = max(0.0, 1 - math.sqrt(lx * lx + ly * ly) / 1.6)
        rim = 1 - 0.35 * d * d
        red = min(1.0, (0.85 + 0.3 * light) * rim)
        green = min(1.0, (0.38 + 0.55 * light * light) * rim)
        blue = min(1.0, (0.1 + 0.6 * light ** 4) * rim)
        colour = over(colour, (red, green, blue, 1.0))
    return colour


def frame(t):
    rows = []
    n = SUPERSAMPLE
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(n):
                for sx in range(n):
                    r, g, b, a = shade(t, px + (sx + 0.5) / n, py + (sy + 0.5) / n)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            alpha = acc[3] / (n * n)
            if alpha == 0:
                row += [0, 0, 0, 0]
                continue
            row += [round(255 * acc[i] / acc[3]) for i in range(3)] + [round(255 * alpha)]
        rows.append(row)
    return rows


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "frames")
    os.makedirs(out, exist_ok=True)
    for i in range(FRAMES):
        with open(os.path.join(out, "frame%d.png" % (i + 1)), "wb") as f:
            f.write(png_bytes(SIZE, SIZE, frame(i / FRAMES)))


if __name__ == "__main__":
    main()
