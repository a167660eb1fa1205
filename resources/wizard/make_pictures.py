#!/usr/bin/env python3
"""Draws the wizard's pictures: the logo, the start-page picture and the
timer-window picture as JPEG files (through ImageMagick's convert), the
monitor picture, the two border pictures and the sound-list icons as 24-bit
BMP files. Run from anywhere; writes next to this script."""

import math
import os
import struct
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))


class Canvas:
    def __init__(self, width, height, colour):
        self.w, self.h = width, height
        self.px = [[colour] * width for _ in range(height)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x, y, w, h, c):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.put(xx, yy, c)

    def frame(self, x, y, w, h, light, dark):
        for xx in range(x, x + w):
            self.put(xx, y, light)
            self.put(xx, y + h - 1, dark)
        for yy in range(y, y + h):
            self.put(x, yy, light)
            self.put(x + w - 1, yy, dark)

    def disc(self, cx, cy, r, c):
        for yy in range(int(cy - r), int(cy + r) + 1):
            for xx in range(int(cx - r), int(cx + r) + 1):
                if (xx - cx) ** 2 + (yy - cy) ** 2 <= r * r:
                    self.put(xx, yy, c)

    def line(self, x0, y0, x1, y1, c, width=1):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        for i in range(steps + 1):
            t = i / steps
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            self.disc(x, y, width / 2, c)

    def vgradient(self, x, y, w, h, top, bottom):
        for yy in range(h):
            t = yy / max(1, h - 1)
            c = tuple(int(a + (b - a) * t) for a, b in zip(top, bottom))
            self.rect(x, y + yy, w, 1, c)

    def save_bmp(self, name):
        # A picture of few colours is stored with a palette: 4 bits a pixel
        # for up to 16 colours, 8 for up to 256, else 24. The pixels are the
        # same; the file (and the program carrying it) is a third or less.
        colours = sorted({p for row in self.px for p in row})
        bits = 4 if len(colours) <= 16 else 8 if len(colours) <= 256 else 24
        row = ((self.w * bits + 31) // 32) * 4
        data = bytearray()
        if bits == 24:
            palette = b""
            for y in range(self.h - 1, -1, -1):
                line = bytearray()
                for r, g, b in self.px[y]:
                    line += bytes((b, g, r))
                data += line + b"\0" * (row - len(line))
        else:
            index = {c: i for i, c in enumerate(colours)}
            palette = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
            for y in range(self.h - 1, -1, -1):
                values = [index[p] for p in self.px[y]]
                if bits == 4:
                    values += [0] * (len(values) % 2)
                    line = bytes((values[i] << 4) | values[i + 1] for i in range(0, len(values), 2))
                else:
                    line = bytes(values)
                data += line + b"\0" * (row - len(line))
        offset = 54 + len(palette)
        used = 0 if bits == 24 else len(colours)
        header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, bits, 0, len(data), 2835, 2835,
                           used, used)
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(header + info + palette + data)

    @staticmethod
    def load_bmp(name):
        """Reads a 24-bit BMP as this script wrote it before."""
        with open(os.path.join(HERE, name), "rb") as f:
            blob = f.read()
        offset, = struct.unpack_from("<I", blob, 10)
        w, h, _, bits = struct.unpack_from("<iiHH", blob, 18)
        assert bits == 24
        c = Canvas(w, h, (0, 0, 0))
        row = (w * 3 + 3) & ~3
        for y in range(h):
            base = offset + (h - 1 - y) * row
            for x in range(w):
                b, g, r = blob[base + 3 * x: base + 3 * x + 3]
                c.px[y][x] = (r, g, b)
        return c

    def save_jpeg(self, name):
        ppm = os.path.join(HERE, name + ".ppm")
        with open(ppm, "wb") as f:
            f.write(b"P6 %d %d 255\n" % (self.w, self.h))
            for row in self.px:
                f.write(bytes(v for p in row for v in p))
        subprocess.run(["convert", ppm, "-quality", "92", os.path.join(HERE, name)], check=True)
        os.remove(ppm)


WHITE, BLACK = (255, 255, 255), (0, 0, 0)
FACE, SHADOW, LIGHT = (212, 208, 200), (128, 128, 128), (255, 255, 255)
TITLE = (10, 36, 106)


def clock(c, cx, cy, r):
    c.disc(cx, cy, r, (30, 60, 140))
    c.disc(cx, cy, r - 3, WHITE)
    for i in range(12):
        a = i * math.pi / 6
        c.line(cx + math.sin(a) * (r - 7), cy - math.cos(a) * (r - 7),
               cx + math.sin(a) * (r - 5), cy - math.cos(a) * (r - 5), (30, 60, 140), 2)
    c.line(cx, cy, cx, cy - (r - 9), BLACK, 2)
    c.line(cx, cy, cx + (r - 13), cy + 3, BLACK, 2)
    c.disc(cx, cy, 2, (200, 30, 30))


def window(c, x, y, w, h, border=True):
    """A window with a raised frame and, with a border, a blue title bar."""
    c.rect(x, y, w, h, FACE)
    c.frame(x, y, w, h, LIGHT, SHADOW)
    if border:
        c.vgradient(x + 4, y + 4, w - 8, 18, TITLE, (166, 202, 240))
        for i, col in enumerate(((212, 208, 200),) * 3):
            bx = x + w - 22 - i * 17
            c.rect(bx, y + 6, 14, 13, col)
            c.frame(bx, y + 6, 14, 13, LIGHT, SHADOW)


def logo():
    c = Canvas(60, 60, WHITE)
    clock(c, 30, 30, 27)
    c.save_jpeg("logo.jpg")


def start_picture():
    c = Canvas(137, 209, WHITE)
    c.vgradient(0, 0, 137, 209, (40, 80, 170), (150, 190, 240))
    clock(c, 68, 70, 40)
    # an hourglass below the clock
    for i in range(40):
        half = abs(20 - i) + 2
        c.rect(68 - half, 125 + i, 2 * half, 1, (240, 220, 150) if i > 24 or i < 8 else WHITE)
    c.rect(44, 122, 48, 4, (110, 70, 30))
    c.rect(44, 165, 48, 4, (110, 70, 30))
    c.save_jpeg("start.jpg")


def timer_window():
    c = Canvas(351, 199, WHITE)
    window(c, 0, 0, 351, 199)
    c.rect(8, 28, 351 - 15, 199 - 36, BLACK)
    c.save_jpeg("timerwindow.jpg")


def monitor():
    c = Canvas(227, 180, (255, 0, 255))
    c.rect(0, 0, 227, 136, (190, 190, 185))
    c.frame(0, 0, 227, 136, LIGHT, SHADOW)
    c.rect(7, 7, 213, 122, (0, 128, 128))
    c.frame(6, 6, 215, 124, SHADOW, LIGHT)
    c.rect(95, 136, 37, 22, (170, 170, 165))
    c.rect(60, 158, 107, 14, (190, 190, 185))
    c.frame(60, 158, 107, 14, LIGHT, SHADOW)
    c.rect(200, 131, 10, 3, (40, 200, 40))
    c.save_bmp("monitor.bmp")


def borders():
    c = Canvas(200, 100, (0, 128, 128))
    window(c, 0, 0, 200, 100, border=True)
    c.save_bmp("withborder.bmp")
    c = Canvas(200, 100, (0, 128, 128))
    c.rect(0, 0, 200, 100, FACE)
    c.frame(0, 0, 200, 100, LIGHT, SHADOW)
    c.save_bmp("withoutborder.bmp")


def sound_icons():
    # two 16 x 16 images side by side on magenta (left out when drawn):
    # 0 a speaker with sound waves, 1 a speaker struck through
    c = Canvas(32, 16, (255, 0, 255))
    for base in (0, 16):
        c.rect(base + 2, 6, 3, 5, (60, 60, 60))
        for i in range(5):
            c.rect(base + 5 + i, 6 - i, 1, 5 + 2 * i, (60, 60, 60))
    for r in (3, 6):
        for a in range(-40, 41, 5):
            t = math.radians(a)
            c.put(int(10 + r * math.cos(t)), int(8 + r * math.sin(t)), (0, 0, 160))
    c.line(16 + 1, 14, 16 + 14, 1, (200, 0, 0), 2)
    c.save_bmp("soundicons.bmp")


if __name__ == "__main__":
    logo()
    start_picture()
    timer_window()
    monitor()
    borders()
    sound_icons()
