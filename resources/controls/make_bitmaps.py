#!/usr/bin/env python3
"""Draws the small bitmaps of the reusable controls and writes them as 24-bit
BMP files beside this script. Pure Python, so that they can be remade
anywhere: python3 resources/controls/make_bitmaps.py

- dropdown.bmp (5 x 5): the colour button's drop-down arrow on silver.
- face_text.bmp, face_lines.bmp, face_background.bmp (32 x 16 each): the
  colour button's face pictures, a letter A, a pencil and a paint bucket, each
  as a 16 x 16 normal picture followed by its 16 x 16 disabled picture, on
  silver, which the button treats as transparent.
- spin_up.bmp, spin_down.bmp (9 x 6): the spin button's arrows on olive, which
  is transparent there.
"""
import math
import os
import struct

SILVER = (192, 192, 192)
OLIVE = (128, 128, 0)
BLACK = (0, 0, 0)
GREY = (128, 128, 128)
WHITE = (255, 255, 255)


def write_bmp(path, pixels):
    """pixels: rows top to bottom of (r, g, b)."""
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        body += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(body), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + body)


def from_art(art, palette, background):
    """A picture from rows of characters; '.' is the background."""
    rows = []
    for line in art:
        rows.append([background if ch == "." else palette[ch] for ch in line])
    return rows


def pad(rows, width, height, background):
    rows = [row + [background] * (width - len(row)) for row in rows]
    return rows + [[background] * width for _ in range(height - len(rows))]


def disabled(picture, background):
    """The usual disabled look: the shape in grey over a white copy moved one
    pixel right and down."""
    height, width = len(picture), len(picture[0])
    shape = [[picture[y][x] != background for x in range(width)] for y in range(height)]
    out = [[background] * width for _ in range(height)]
    for y in range(height):
        for x in range(width):
            if shape[y][x] and x + 1 < width and y + 1 < height and not shape[y + 1][x + 1]:
                out[y + 1][x + 1] = WHITE
    for y in range(height):
        for x in range(width):
            if shape[y][x]:
                out[y][x] = GREY
    return out


def glyph_pair(picture):
    dim = disabled(picture, SILVER)
    return [picture[y] + dim[y] for y in range(len(picture))]


LETTER_A = [
    "......###.......",
    "......###.......",
    ".....##.##......",
    ".....##.##......",
    "....##...##.....",
    "....##...##.....",
    "...#########....",
    "...##.....##....",
    "..##.......##...",
    "..##.......##...",
    ".####.....####..",
]

BUCKET = [
    "....kk..........",
    "...k..k.........",
    "...k...kk.......",
    "..kwwwwwwk......",
    ".kwwwwwwwwk.....",
    "kwwwwwwwwwwk....",
    ".kwwwwwwwwwkpp..",
    "..kwwwwwwwkpppp.",
    "...kwwwwwkppppp.",
    "....kwwwk.ppppp.",
    ".....kkk...ppp..",
    "............p...",
]


def pencil():
    """A pencil lying from the lower left (its point) to the upper right (its
    eraser), in the upper 12 rows."""
    ox, oy = 1.0, 12.0
    dx, dy = 1 / math.sqrt(2), -1 / math.sqrt(2)
    nx, ny = 1 / math.sqrt(2), 1 / math.sqrt(2)
    length, half = 15.0, 2.1
    fill = [[None] * 16 for _ in range(12)]
    for y in range(12):
        for x in range(16):
            px, py = x + 0.5 - ox, y + 0.5 - oy
            u, v = px * dx + py * dy, px * nx + py * ny
            if u < 0 or u > length:
                continue
            if u < 4.5:
                if abs(v) > half * u / 4.5 + 0.3:
                    continue
                fill[y][x] = BLACK if u < 1.8 else (224, 176, 128)
            elif abs(v) <= half:
                if u < 12.0:
                    fill[y][x] = (255, 200, 0) if v > -0.8 else (224, 128, 0)
                elif u < 13.2:
                    fill[y][x] = (160, 160, 160)
                else:
                    fill[y][x] = (240, 130, 150)
    rows = []
    for y in range(12):
        row = []
        for x in range(16):
            if fill[y][x] is not None:
                row.append(fill[y][x])
                continue
            near = any(0 <= y + j < 12 and 0 <= x + i < 16 and fill[y + j][x + i] is not None
                       for i, j in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            row.append(BLACK if near else SILVER)
        rows.append(row)
    return rows


def triangle(width, height, rows, background, up):
    """Rows of black pixels of the given widths, centred, on the background;
    the widest row at the bottom when pointing up."""
    pixels = [[background] * width for _ in range(height)]
    top = (height - len(rows)) // 2
    ordered = sorted(rows) if up else sorted(rows, reverse=True)
    for i, count in enumerate(ordered):
        start = (width - count) // 2
        for x in range(start, start + count):
            pixels[top + i][x] = BLACK
    return pixels


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = lambda name: os.path.join(here, name)
    write_bmp(out("dropdown.bmp"), triangle(5, 5, [5, 3, 1], SILVER, up=False))
    write_bmp(out("spin_up.bmp"), triangle(9, 6, [7, 5, 3, 1], OLIVE, up=True))
    write_bmp(out("spin_down.bmp"), triangle(9, 6, [7, 5, 3, 1], OLIVE, up=False))

    letter = pad(from_art(LETTER_A, {"#": (0, 0, 128)}, SILVER), 16, 16, SILVER)
    write_bmp(out("face_text.bmp"), glyph_pair(letter))
    write_bmp(out("face_lines.bmp"), glyph_pair(pad(pencil(), 16, 16, SILVER)))
    bucket = from_art(BUCKET, {"k": BLACK, "w": (232, 232, 232), "p": (0, 96, 192)}, SILVER)
    write_bmp(out("face_background.bmp"), glyph_pair(pad(bucket, 16, 16, SILVER)))


if __name__ == "__main__":
    main()
