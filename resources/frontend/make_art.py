#!/usr/bin/env python3
"""Draws the icons of the advanced dialogs at several sizes and writes them as
icon resources next to this script, with the resource script that names them
(resources/Frontend.rc): the timer, sound and screen icons (a modern and an
older, flatter look of each) and the three ready-made action icons. Pure
Python, so that the art can be remade anywhere:
python3 resources/frontend/make_art.py"""
import math
import os
import struct
import zlib

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

    def png_image(self):
        """The canvas as a PNG file, the compressed form an icon image may
        take from Windows Vista on; the larger sizes use it to stay small."""
        s = self.size
        raw = bytearray()
        for y in range(s):
            raw.append(0)  # no filter
            for x in range(s):
                raw += bytes(self.px[y][x])

        def chunk(kind, data):
            body = kind + data
            return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body))

        return (b'\x89PNG\r\n\x1a\n' +
                chunk(b'IHDR', struct.pack('>IIBBBBB', s, s, 8, 6, 0, 0, 0)) +
                chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def write_resource(name, canvases, first_id):
    """Writes the parts of one icon resource: `name`-<size>.img for each
    image (resource type RT_ICON, ids first_id, first_id + 100, ...) and
    `name`.grp (the RT_GROUP_ICON directory that lists them, from which the
    system picks the image nearest the size asked for). Giving the ids here
    keeps them apart from the icons of the other resource scripts. Returns
    the (id, file) pairs of the images."""
    images = []
    group = struct.pack('<HHH', 0, 1, len(canvases))
    for k, canvas in enumerate(canvases):
        # The size for 96 DPI stays a bitmap, which every system reads.
        data = canvas.ico_image() if k == 0 else canvas.png_image()
        file_name = '%s-%d.img' % (name, canvas.size)
        with open(os.path.join(HERE, file_name), 'wb') as f:
            f.write(data)
        image_id = first_id + 100 * k
        dim = 0 if canvas.size >= 256 else canvas.size
        group += struct.pack('<BBBBHHIH', dim, dim, 0, 0, 1, 32, len(data), image_id)
        images.append((image_id, file_name))
    with open(os.path.join(HERE, name + '.grp'), 'wb') as f:
        f.write(group)
    return images


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


# Name, resource name, drawing (by size in pixels), size at 96 DPI and first
# image id of each icon; the ids are unique in the program.
ICONS = [
    ('timer', 'TIMERICON', lambda n: timer(n, False), 32, 7001),
    ('sound', 'SOUNDICON', lambda n: speaker(n, False), 48, 7002),
    ('screen', 'SCREENICON', lambda n: screen(n, False), 48, 7003),
    ('oldtimer', 'OLDTIMER', lambda n: timer(n, True), 32, 7004),
    ('oldsound', 'OLDSOUND', lambda n: speaker(n, True), 48, 7005),
    ('oldscreen', 'OLDSCREEN', lambda n: screen(n, True), 48, 7006),
    ('restart', 'ACTIONRESTART', lambda n: restart(n), 32, 7007),
    ('shutdown', 'ACTIONSHUTDOWN', lambda n: power(n, (200, 40, 40)), 32, 7008),
    ('logoff', 'ACTIONLOGOFF', lambda n: logoff(n), 32, 7009),
]

# Each icon is drawn for 96, 120, 144 and 192 DPI, so that it stays sharp
# when the dialogs are scaled.
SCALES = (1.0, 1.25, 1.5, 2.0)

RC_HEADER = """// Icons of the advanced dialogs, written by frontend/make_art.py (do not edit:
// run the script). Each icon is a directory (type 14, RT_GROUP_ICON) of
// images (type 3, RT_ICON) drawn for several DPIs, with image ids of its own
// so that they cannot clash with the icons of the other resource scripts.
"""


def main():
    images, groups = [], []
    for name, resource, draw, size, first_id in ICONS:
        canvases = [draw(int(round(size * scale))) for scale in SCALES]
        images += write_resource(name, canvases, first_id)
        groups.append((resource, name))
    lines = [RC_HEADER]
    lines += ['%d 3 "frontend/%s"' % image for image in sorted(images)]
    lines.append('')
    lines += ['%s 14 "frontend/%s.grp"' % group for group in groups]
    with open(os.path.join(HERE, '..', 'Frontend.rc'), 'w') as f:
        f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
