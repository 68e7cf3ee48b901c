#!/usr/bin/env python3
"""Writes the two default hint backgrounds, bgnml.bmp and bgicn.bmp (24-bit, 64x24).

Each is a soft top-to-bottom gradient with a one-pixel border, a lighter line just
inside the top edge and softened corners; the hint stretches it to its own size.
Standard library only; run from this folder to regenerate the committed files.
"""
import struct

WIDTH, HEIGHT = 64, 24

# (top, bottom, border, highlight) as (red, green, blue)
STYLES = {
    "bgnml.bmp": ((255, 252, 214), (255, 226, 128), (214, 176, 58), (255, 255, 240)),  # warm yellow
    "bgicn.bmp": ((255, 255, 255), (222, 222, 226), (160, 160, 166), (255, 255, 255)),  # grey and white
}


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def pixel(x, y, style):
    top, bottom, border, highlight = style
    fill = mix(top, bottom, y / (HEIGHT - 1))
    edge_x = min(x, WIDTH - 1 - x)
    edge_y = min(y, HEIGHT - 1 - y)
    if edge_x == 0 and edge_y == 0:
        return mix(border, fill, 0.6)  # corner pixel: half way to the fill, a hint of rounding
    if edge_x == 0 or edge_y == 0:
        return border
    if y == 1:
        return mix(fill, highlight, 0.7)
    return fill


def bitmap(style):
    row_size = (WIDTH * 3 + 3) // 4 * 4
    rows = []
    for y in range(HEIGHT - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(WIDTH):
            r, g, b = pixel(x, y, style)
            row += bytes((b, g, r))
        row += bytes(row_size - len(row))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


if __name__ == "__main__":
    for name, style in STYLES.items():
        with open(name, "wb") as out:
            out.write(bitmap(style))
