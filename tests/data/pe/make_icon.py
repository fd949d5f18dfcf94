#!/usr/bin/env python3
"""Writes an icon file of BMP images: make_icon.py OUT W:H:BPP:FILL ..."""
import struct
import sys


def image(w, h, bpp, fill):
    colors = 1 << bpp if bpp <= 8 else 0
    xor_row = (w * bpp + 31) // 32 * 4
    and_row = (w + 31) // 32 * 4
    header = struct.pack('<IiiHHIIiiII', 40, w, 2 * h, 1, bpp, 0, 0, 0, 0, 0, 0)
    body = bytes([fill]) * (4 * colors + (xor_row + and_row) * h)
    return header + body, colors


def main():
    out = sys.argv[1]
    images = []
    for entry in sys.argv[2:]:
        w, h, bpp, fill = (int(x, 0) for x in entry.split(':'))
        data, colors = image(w, h, bpp, fill)
        images.append((w, h, bpp, colors, data))
    offset = 6 + 16 * len(images)
    head = struct.pack('<HHH', 0, 1, len(images))
    body = b''
    for w, h, bpp, colors, data in images:
        head += struct.pack('<BBBBHHII', w & 255, h & 255, colors if colors < 256 else 0, 0,
                            1, bpp, len(data), offset + len(body))
        body += data
    with open(out, 'wb') as f:
        f.write(head + body)


main()
