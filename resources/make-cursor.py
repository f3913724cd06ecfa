#!/usr/bin/env python3
"""Writes hand.cur: the 32x32 monochrome pointing hand of Zindral's links.

The build uses the committed hand.cur; run this only after changing the
picture:  python3 make-cursor.py [OUTPUT]
"""
import os
import struct
import sys

# 'X' black outline, '.' white fill, anything else transparent. The tip of
# the index finger is the hot spot.
HAND = [
    "     XXX",
    "    X...X",
    "    X...X",
    "    X...X",
    "    X...X",
    "    X...X",
    "    X...XXXX",
    "    X...X...XXXX",
    "    X...X...X...XXX",
    "    X...X...X...X..X",
    " XX X...X...X...X..X",
    "X..XX...X...X...X..X",
    "X...X..............X",
    " X..X..............X",
    "  X................X",
    "  X................X",
    "   X...............X",
    "   X..............X",
    "    X.............X",
    "    X............X",
    "     X...........X",
    "     X...........X",
    "     XXXXXXXXXXXXX",
]
SIZE = 32
HOT_SPOT = (6, 0)


def pixel(row, column):
    if row < len(HAND) and column < len(HAND[row]):
        return HAND[row][column]
    return " "


def masks():
    """XOR (colour) and AND (transparency) planes, bottom row first."""
    xor_rows = []
    and_rows = []
    for row in reversed(range(SIZE)):
        xor_bits = 0
        and_bits = 0
        for column in range(SIZE):
            bit = 1 << (SIZE - 1 - column)
            kind = pixel(row, column)
            if kind == ".":
                xor_bits |= bit          # white
            elif kind != "X":
                and_bits |= bit          # screen shows through
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    return b"".join(xor_rows), b"".join(and_rows)


def cursor_file():
    xor_plane, and_plane = masks()
    # The height counts both planes, as in every icon and cursor image.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 1, 0,
                         len(xor_plane) + len(and_plane), 0, 0, 2, 0)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    image = header + palette + xor_plane + and_plane
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, HOT_SPOT[0], HOT_SPOT[1],
                        len(image), 6 + 16)
    return directory + entry + image


def main():
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "hand.cur")
    with open(output, "wb") as stream:
        stream.write(cursor_file())


if __name__ == "__main__":
    main()
