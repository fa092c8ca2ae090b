#!/usr/bin/env python3
"""Draws resources/IDB_MB_IMAGE.bmp: the four message-box symbols (stop, question, warning,
information), 32 x 32 each, side by side on the teal key colour, 4 bits per pixel with the
standard 16-colour palette. Run it only to change the artwork; the BMP is committed:
    tools/resgen/make_mb_image.py resources/IDB_MB_IMAGE.bmp"""
import argparse
import math
import struct

parser = argparse.ArgumentParser(description="Draws the message-box symbol strip as a 4-bit BMP.")
parser.add_argument("output", help="path of the BMP to write (resources/IDB_MB_IMAGE.bmp)")
args = parser.parse_args()

PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
           (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, TEAL, GREY, RED, YELLOW, BLUE, WHITE = 0, 6, 8, 9, 11, 12, 15
W, H = 128, 32
img = [[TEAL] * W for _ in range(H)]

GLYPHS = {  # 5 x 7 pixel glyphs, scaled by 2
    '?': ["01110", "10001", "00001", "00110", "00100", "00000", "00100"],
    '!': ["00100", "00100", "00100", "00100", "00100", "00000", "00100"],
    'i': ["00100", "00000", "01100", "00100", "00100", "00100", "01110"],
}


def put(x, y, c):
    if 0 <= x < W and 0 <= y < H:
        img[y][x] = c


def disc(ox, cx, cy, r, c):
    for y in range(H):
        for x in range(32):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                put(ox + x, y, c)


def glyph(ox, ch, x0, y0, c):
    for gy, row in enumerate(GLYPHS[ch]):
        for gx, bit in enumerate(row):
            if bit == "1":
                for dy in range(2):
                    for dx in range(2):
                        put(ox + x0 + gx * 2 + dx, y0 + gy * 2 + dy, c)


def bubble(ox):
    disc(ox, 17, 15, 12, GREY)  # shadow
    for y in range(22, 30):     # tail shadow
        for x in range(9, 9 + (30 - y)):
            put(ox + x + 2, y, GREY)
    disc(ox, 15, 13, 12, BLACK)
    disc(ox, 15, 13, 11, WHITE)
    for y in range(22, 29):
        for x in range(7, 7 + (29 - y)):
            put(ox + x, y, WHITE)
        put(ox + 6, y, BLACK)
        put(ox + 7 + (29 - y), y, BLACK)


# 0: stop
disc(0, 17, 17, 14, GREY)
disc(0, 15, 15, 14, BLACK)
disc(0, 15, 15, 13, RED)
for t in range(-8, 9):
    for w in (-1, 0, 1):
        put(15 + t + w, 15 + t, WHITE)
        put(15 + t + w, 15 - t, WHITE)
# 1: question
bubble(32)
glyph(32, '?', 10, 6, BLUE)
# 2: warning
for y in range(3, 31):
    half = (y - 3) * 14 // 27
    for x in range(16 - half, 17 + half):
        put(64 + x + 2, y + 1 if y < 30 else y, GREY)
for y in range(2, 30):
    half = (y - 2) * 14 // 27
    for x in range(15 - half, 16 + half):
        put(64 + x, y, BLACK if x in (15 - half, 15 + half) or y == 29 else YELLOW)
glyph(64, '!', 10, 11, BLACK)
# 3: information
bubble(96)
glyph(96, 'i', 10, 6, BLUE)

row_bytes = ((W * 4 + 31) // 32) * 4
pixels = bytearray()
for y in range(H - 1, -1, -1):  # bottom-up
    row = bytearray()
    for x in range(0, W, 2):
        row.append((img[y][x] << 4) | img[y][x + 1])
    row += b"\0" * (row_bytes - len(row))
    pixels += row
palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
offset = 14 + 40 + len(palette)
header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 4, 0, len(pixels), 3780, 3780, 16, 16)
try:
    with open(args.output, "wb") as f:
        f.write(header + info + palette + pixels)
except OSError as e:
    parser.exit(1, f"make_mb_image.py: cannot write {args.output}: {e.strerror}\n")
