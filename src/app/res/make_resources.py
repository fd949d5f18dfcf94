#!/usr/bin/env python3
"""Draws the program's icon and its 15 custom cursors and writes them as
.ico and .cur files beside this script. Run by hand when the pictures change;
the build uses the files it wrote."""
import math
import struct
from pathlib import Path

HERE = Path(__file__).resolve().parent


def dib_32(w, h, pixels):
    """A 32-bit BGRA DIB for an icon entry (height doubled, AND mask after)."""
    hdr = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in range(h - 1, -1, -1):
        rows.append(b''.join(struct.pack('<BBBB', b, g, r, a) for (r, g, b, a) in pixels[y]))
    stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if pixels[y][x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return hdr + b''.join(rows) + bytes(mask)


def icon_image(size):
    """A disc: a ring with a blue-violet gradient, a hole, and a highlight."""
    px = []
    c = (size - 1) / 2
    for y in range(size):
        row = []
        for x in range(size):
            d = math.hypot(x - c, y - c) / (size / 2)
            if d > 0.98 or d < 0.18:
                row.append((0, 0, 0, 0))
                continue
            t = (x + y) / (2 * size)
            r = int(40 + 120 * t)
            g = int(90 + 60 * (1 - t))
            b = int(200 + 50 * (1 - t))
            if 0.18 <= d < 0.30:
                r, g, b = 230, 230, 240
            ang = math.atan2(y - c, x - c)
            if -2.4 < ang < -1.6 and d > 0.4:
                r, g, b = min(255, r + 80), min(255, g + 80), min(255, b + 40)
            if d > 0.93:
                r, g, b = r // 2, g // 2, b // 2
            row.append((r, g, b, 255))
        px.append(row)
    return px


def write_ico(path, sizes):
    images = [dib_32(s, s, icon_image(s)) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s % 256, s % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    path.write_bytes(out + b''.join(images))


def write_cur(path, n):
    """A 32x32 monochrome cursor file."""
    grid = [[0] * 32 for _ in range(32)]
    hx, hy = draw_cursor(n, grid)
    hdr = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack('<BBBBBBBB', 0, 0, 0, 0, 255, 255, 255, 0)
    xor = bytearray()
    andm = bytearray()
    for y in range(31, -1, -1):
        xr = bytearray(4)
        ar = bytearray(4)
        for x in range(32):
            v = grid[y][x]
            if v == 0:
                ar[x // 8] |= 0x80 >> (x % 8)
            elif v == 2:
                xr[x // 8] |= 0x80 >> (x % 8)
        xor += xr
        andm += ar
    img = hdr + palette + bytes(xor) + bytes(andm)
    out = struct.pack('<HHH', 0, 2, 1)
    out += struct.pack('<BBBBHHII', 32, 32, 2, 0, hx, hy, len(img), 22)
    path.write_bytes(out + img)


def draw_cursor(n, grid):
    """Draws cursor n into grid (0 transparent, 1 black, 2 white); returns
    the hot spot. 1 is a pointing hand, 2 a cross hair, the others arrows
    with a badge of n - 2 dots so each number looks different."""
    def put(x, y, v):
        if 0 <= x < 32 and 0 <= y < 32:
            grid[y][x] = v
    if n == 1:
        for y in range(4, 28):
            for x in range(10, 22):
                if y > 12 or 10 <= x <= 13:
                    put(x, y, 2)
        for y in range(0, 13):
            put(10, y, 1)
            put(13, y, 1)
        for x in range(10, 14):
            put(x, 0, 1)
        for y in range(12, 28):
            put(9, y, 1)
            put(22, y, 1)
        for x in range(9, 23):
            put(x, 28, 1)
        return 11, 0
    if n == 2:
        for i in range(32):
            put(15, i, 1)
            put(i, 15, 1)
        for i in range(12, 19):
            put(i, 12, 1)
            put(i, 18, 1)
            put(12, i, 1)
            put(18, i, 1)
        return 15, 15
    for y in range(18):
        for x in range(int(y * 0.6) + 1):
            put(x, y, 2)
        put(0, y, 1)
        put(int(y * 0.6), y, 1)
    for x in range(11):
        put(x, 17, 1)
    for i in range(n - 2):
        bx = 14 + (i % 4) * 4
        by = 18 + (i // 4) * 4
        for dy in range(3):
            for dx in range(3):
                put(bx + dx, by + dy, 1)
    return 0, 0


if __name__ == '__main__':
    write_ico(HERE / 'Orvexa.ico', [48, 32, 16])
    for i in range(1, 16):
        write_cur(HERE / f'Cursor{i}.cur', i)
