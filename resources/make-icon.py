#!/usr/bin/env python3
"""Draws Zindral's icon (a key cap marked Z) and writes resources/zindral.ico.

Two images, 32x32 and 16x16, each 16 colours (4 bits per pixel) with an AND
mask for the transparent corners. Plain python3; the build uses the written
file, so run this only after changing the picture:

    python3 resources/make-icon.py [--preview]
"""
import os
import struct
import sys

# The classic 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
CLEAR, BLACK, NAVY, SILVER, GREY, BLUE, WHITE = None, 0, 4, 7, 8, 12, 15


class Canvas:
    def __init__(self, size):
        self.size = size
        self.pixels = [[CLEAR] * size for _ in range(size)]

    def put(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.pixels[y][x] = colour

    def rounded(self, left, top, right, bottom, radius, colour):
        """Fills the rectangle (inclusive edges) with cut corners."""
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                dx = max(left + radius - x, x - (right - radius), 0)
                dy = max(top + radius - y, y - (bottom - radius), 0)
                if dx * dx + dy * dy <= radius * radius:
                    self.put(x, y, colour)

    def line(self, x0, y0, x1, y1, colour, thickness=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            for t in range(thickness):
                self.put(x + t, y, colour)


def key_cap(size):
    """A key cap seen from the front and a little above, with a bold Z."""
    c = Canvas(size)
    if size == 32:
        c.rounded(1, 2, 30, 29, 4, BLACK)          # outline
        c.rounded(2, 3, 29, 28, 3, GREY)           # skirt
        c.rounded(4, 4, 26, 21, 3, WHITE)          # lit edge of the top face
        c.rounded(5, 5, 27, 22, 3, SILVER)         # top face
        for x in range(5, 27):                     # shade where face meets skirt
            c.put(x, 23, BLACK)
        c.line(4, 26, 27, 26, SILVER)              # light on the front skirt
        for y in (7, 8):                           # the Z
            c.line(9, y, 22, y, NAVY)
        for y in (18, 19):
            c.line(9, y, 22, y, NAVY)
        c.line(20, 9, 10, 17, NAVY, thickness=3)
    else:
        c.rounded(0, 1, 15, 14, 2, BLACK)
        c.rounded(1, 2, 14, 13, 1, GREY)
        c.rounded(2, 2, 12, 9, 1, WHITE)
        c.rounded(3, 3, 13, 10, 1, SILVER)
        c.line(3, 11, 12, 11, BLACK)
        c.line(5, 4, 11, 4, NAVY)
        c.line(5, 9, 11, 9, NAVY)
        c.line(10, 5, 5, 8, NAVY, thickness=2)
    return c


def image_bits(canvas):
    """BITMAPINFOHEADER, palette, colour bits and AND mask, rows bottom-up."""
    size = canvas.size
    colour_row = (size * 4 + 31) // 32 * 4
    mask_row = (size + 31) // 32 * 4
    colour = bytearray()
    mask = bytearray()
    for row in reversed(canvas.pixels):
        line = bytearray(colour_row)
        bits = bytearray(mask_row)
        for x, pixel in enumerate(row):
            index = 0 if pixel is None else pixel
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
            if pixel is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        colour += line
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + bytes(colour) + bytes(mask)


def icon_file(canvases):
    images = [image_bits(c) for c in canvases]
    offset = 6 + 16 * len(images)
    out = struct.pack('<HHH', 0, 1, len(images))
    for canvas, data in zip(canvases, images):
        out += struct.pack('<BBBBHHII', canvas.size, canvas.size, 16, 0, 1, 4,
                           len(data), offset)
        offset += len(data)
    return out + b''.join(images)


def preview(canvas):
    glyphs = {None: '.', BLACK: '#', NAVY: 'Z', SILVER: ':', GREY: '+', WHITE: 'o'}
    for row in canvas.pixels:
        print(''.join(glyphs.get(p, '?') for p in row))
    print()


def main():
    canvases = [key_cap(32), key_cap(16)]
    if '--preview' in sys.argv[1:]:
        for c in canvases:
            preview(c)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'zindral.ico')
    with open(path, 'wb') as f:
        f.write(icon_file(canvases))


if __name__ == '__main__':
    main()
