#!/usr/bin/env python3
"""Draws the introduction picture examples/main_rd.bmp: a winter sky gradient, a sun, a snowy
field and a house with a smoking chimney. A 24-bit BMP written with the standard library only.

    python3 scripts/draw_main_picture.py [output.bmp]
"""
import math
import os
import struct
import sys

WIDTH, HEIGHT = 480, 320


def sky(x, y):
    t = y / HEIGHT
    return (int(40 + 120 * t), int(80 + 130 * t), int(160 + 80 * t))


def inside_house(x, y):
    body = 150 <= x <= 330 and 170 <= y <= 270
    roof = 110 <= y < 170 and abs(x - 240) <= (y - 110) * 1.6 + 5
    return body or roof


def colour(x, y):
    if y >= 250:  # snow
        return (235, 240, 250)
    if (x - 390) ** 2 + (y - 70) ** 2 <= 30 ** 2:  # sun
        return (250, 210, 90)
    if 280 <= x <= 300 and 100 <= y <= 150:  # chimney
        return (120, 60, 50)
    for i in range(4):  # smoke
        cx, cy, r = 292 + 12 * i, 85 - 18 * i, 9 + 3 * i
        if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
            return (200, 200, 210)
    if inside_house(x, y):
        if 180 <= x <= 220 and 190 <= y <= 225 or 260 <= x <= 300 and 190 <= y <= 225:
            return (255, 220, 120)  # lit windows
        if 225 <= x <= 255 and 215 <= y <= 270:
            return (90, 50, 30)  # door
        if y < 170:
            return (160, 40, 40)  # roof
        return (210, 180, 140)
    glow = math.exp(-((x - 240) ** 2 + (y - 200) ** 2) / 20000.0)
    r, g, b = sky(x, y)
    return (min(255, int(r + 60 * glow)), min(255, int(g + 30 * glow)), b)


def bmp_bytes():
    row_size = (WIDTH * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(HEIGHT - 1, -1, -1):  # bottom-up rows
        row = bytearray()
        for x in range(WIDTH):
            r, g, b = colour(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        pixels += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + bytes(pixels)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "examples", "main_rd.bmp")
    with open(out, "wb") as f:
        f.write(bmp_bytes())


if __name__ == "__main__":
    main()
