#!/usr/bin/env python3
"""Draws the pond of the demo game (examples/demo): the frame's picture (pond.png), the mask of its
rippling water (Pond.rwm, a 1-bit bitmap: white is water) and the water's settings (Pond.rwe). The
files are kept in the repository; run this again only to change them."""
import math
import os
import struct
import zlib

FRAMES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples", "demo", "Frames")
WIDTH, HEIGHT = 640, 480
# The water area in frame pixels, and the pond's ellipse inside it.
WATER = (120, 250, 400, 150)
CENTRE_X, CENTRE_Y, RADIUS_X, RADIUS_Y = 320, 325, 196, 72
AMPLITUDE, SPEED, DIRECTION = 3, 4, True


def in_pond(x, y):
    return ((x - CENTRE_X) / RADIUS_X) ** 2 + ((y - CENTRE_Y) / RADIUS_Y) ** 2 <= 1.0


def mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def pixel(x, y):
    if in_pond(x, y):
        # Deep blue water with the reflections of reeds and of the sky, so that a ripple shows.
        depth = (y - (CENTRE_Y - RADIUS_Y)) / (2 * RADIUS_Y)
        colour = mix((70, 130, 200), (20, 50, 110), depth)
        if (x // 14) % 5 == 0:
            colour = mix(colour, (30, 70, 40), 0.6)
        if (y + x // 40) % 9 == 0:
            colour = mix(colour, (220, 235, 255), 0.5)
        return colour
    if y < 200:
        return mix((110, 170, 240), (190, 220, 250), y / 200)
    colour = mix((80, 150, 70), (40, 100, 40), (y - 200) / 280)
    # Reeds along the bank.
    if 230 <= y < 262 and (x // 14) % 5 == 0 and 130 < x < 510:
        colour = (40, 90, 40)
    return colour


def png(width, height, rgb):
    rows = b"".join(b"\0" + bytes(c for x in range(width) for c in rgb(x, y)) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")


def bitmap_1bit(width, height, white):
    row_bytes = ((width + 31) // 32) * 4
    pixels = bytearray()
    for y in reversed(range(height)):
        row = bytearray(row_bytes)
        for x in range(width):
            if white(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        pixels += row
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    offset = 14 + 40 + len(palette)
    header = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 1, 0, len(pixels), 2835, 2835, 2, 2)
    return header + info + palette + bytes(pixels)


def main():
    left, top, width, height = WATER
    with open(os.path.join(FRAMES, "pond.png"), "wb") as out:
        out.write(png(WIDTH, HEIGHT, pixel))
    with open(os.path.join(FRAMES, "Pond.rwm"), "wb") as out:
        out.write(bitmap_1bit(width, height, lambda x, y: in_pond(left + x, top + y)))
    # Six fields the player does not use, then the area, the amplitude, the speed and the direction.
    with open(os.path.join(FRAMES, "Pond.rwe"), "w", newline="") as out:
        out.write('"Pond",0,0,0,0,0\r\n%d,%d,%d,%d,%d,%d,%s\r\n'
                  % (left, top, width, height, AMPLITUDE, SPEED, "#TRUE#" if DIRECTION else "#FALSE#"))


if __name__ == "__main__":
    main()
