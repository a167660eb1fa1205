#!/usr/bin/env python3
"""Draws the icons of the advanced dialogs and writes them as .ico files next
to this script: the timer, sound and screen icons (a modern and an older,
flatter look of each) and the three ready-made action icons. Pure Python, so
that the art can be remade anywhere: python3 resources/frontend/make_art.py"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def sample(shape, x, y, n=4):
    """Fraction of pixel (x, y) that `shape` covers, sampled n x n."""
    hits = 0
    for i in range(n):
        for j in range(n):
            if shape(x + (i + 0.5) / n, y + (j + 0.5) / n):
                hits += 1
    return hits / (n * n)


class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def fill(self, shape, rgb, alpha=255):
        """Paints `shape` (a test on coordinates in a 32-unit box) over the canvas."""
        k = 32.0 / self.size
        for y in range(self.size):
            for x in range(self.size):
                c = sample(lambda u, v: shape(u * k, v * k), x, y)
                if c <= 0:
                    continue
                a = c * alpha / 255.0
                r0, g0, b0, a0 = self.px[y][x]
                na = a + a0 / 255.0 * (1 - a)
                if na <= 0:
                    continue
                mix = [(rgb[i] * a + (r0, g0, b0)[i] * a0 / 255.0 * (1 - a)) / na for i in range(3)]
                self.px[y][x] = (int(mix[0]), int(mix[1]), int(mix[2]), int(na * 255))

    def ico_image(self):
        s = self.size
        header = struct.pack('<IiiHHIIiiII', 40, s, 2 * s, 1, 32, 0, 0, 0, 0, 0, 0)
        xor = bytearray()
        for y in reversed(range(s)):
            for x in range(s):
                r, g, b, a = self.px[y][x]
                xor += bytes((b, g, r, a))
        row = ((s + 31) // 32) * 4
        mask = bytearray()
        for y in reversed(range(s)):
            bits = bytearray(row)
            for x in range(s):
                if self.px[y][x][3] < 128:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        return header + bytes(xor) + bytes(mask)


def write_resource(name, canvas, image_id):
    """Writes the two halves of an icon resource: `name`.img (the image, of
    resource type RT_ICON with id `image_id`) and `name`.grp (the directory
    of resource type RT_GROUP_ICON that points at it). Giving the ids here
    keeps them apart from the icons of the other resource scripts."""
    data = canvas.ico_image()
    with open(os.path.join(HERE, name + '.img'), 'wb') as f:
        f.write(data)
    dim = 0 if canvas.size >= 256 else canvas.size
    group = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHIH', dim, dim, 0, 0, 1, 32,
                                                       len(data), image_id)
    with open(os.path.join(HERE, name + '.grp'), 'wb') as f:
        f.write(group)


def write_ico(name, canvases):
    images = [c.ico_image() for c in canvases]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        dim = 0 if c.size >= 256 else c.size
        out += struct.pack('<BBBBHHII', dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(out)


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r, w):
    return lambda x, y: (r - w) ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def line(x0, y0, x1, y1, w):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (w / 2) ** 2
    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def timer(size, old):
    c = Canvas(size)
    face = (235, 235, 235) if old else (28, 30, 36)
    c.fill(rect(14, 1.5, 18, 5), (90, 90, 96))
    c.fill(circle(16, 18, 13), (120, 124, 130) if old else (196, 200, 208))
    c.fill(circle(16, 18, 11), face)
    if not old:
        sweep = lambda x, y: (x - 16) ** 2 + (y - 18) ** 2 <= 100 and x >= 16 and y <= 18
        c.fill(sweep, (255, 128, 0))
    hand = (0, 0, 0) if old else (250, 250, 250)
    c.fill(line(16, 18, 16, 9, 2), hand)
    c.fill(line(16, 18, 22, 18, 2), hand)
    return c


def speaker(size, old):
    c = Canvas(size)
    body = (60, 60, 60) if old else (40, 90, 170)
    c.fill(rect(4, 12, 10, 20), body)
    c.fill(polygon([(10, 12), (18, 5), (18, 27), (10, 20)]), body)
    wave = (0, 0, 0) if old else (255, 128, 0)
    for r in (6, 10):
        arc = ring(18, 16, r, 1.8)
        c.fill(lambda x, y, a=arc: a(x, y) and x > 20 and abs(y - 16) < (x - 18) * 1.2, wave)
    return c


def screen(size, old):
    c = Canvas(size)
    frame = (110, 110, 110) if old else (50, 52, 58)
    c.fill(rect(2, 4, 30, 23), frame)
    c.fill(rect(4, 6, 28, 21), (0, 128, 128) if old else (20, 110, 220))
    if not old:
        c.fill(polygon([(4, 21), (12, 12), (18, 17), (22, 13), (28, 19), (28, 21)]), (90, 180, 90))
    c.fill(rect(13, 23, 19, 26), frame)
    c.fill(rect(8, 26, 24, 28), frame)
    return c


def power(size, colour):
    c = Canvas(size)
    c.fill(circle(16, 16, 14), colour)
    arc = ring(16, 17, 9, 2.6)
    c.fill(lambda x, y: arc(x, y) and not (y < 14 and abs(x - 16) < 4.5), (255, 255, 255))
    c.fill(line(16, 5, 16, 15, 2.6), (255, 255, 255))
    return c


def restart(size):
    c = Canvas(size)
    c.fill(circle(16, 16, 14), (40, 150, 70))
    arc = ring(16, 16, 9, 2.6)
    c.fill(lambda x, y: arc(x, y) and not (x > 16 and y < 16), (255, 255, 255))
    c.fill(polygon([(16, 3.5), (23, 7), (16, 11)]), (255, 255, 255))
    return c


def logoff(size):
    c = Canvas(size)
    c.fill(rect(4, 4, 18, 28), (90, 96, 110))
    c.fill(rect(6, 6, 16, 26), (230, 232, 236))
    c.fill(line(12, 16, 24, 16, 3), (220, 120, 0))
    c.fill(polygon([(22, 10), (29, 16), (22, 22)]), (220, 120, 0))
    return c


# Name, drawing and image id of each icon; the ids are unique in the program.
ICONS = [
    ('timer', lambda: timer(32, False), 7001),
    ('sound', lambda: speaker(48, False), 7002),
    ('screen', lambda: screen(48, False), 7003),
    ('oldtimer', lambda: timer(32, True), 7004),
    ('oldsound', lambda: speaker(48, True), 7005),
    ('oldscreen', lambda: screen(48, True), 7006),
    ('restart', lambda: restart(32), 7007),
    ('shutdown', lambda: power(32, (200, 40, 40)), 7008),
    ('logoff', lambda: logoff(32), 7009),
]


def main():
    for name, draw, image_id in ICONS:
        write_resource(name, draw(), image_id)


if __name__ == '__main__':
    main()
