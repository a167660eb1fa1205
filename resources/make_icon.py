#!/usr/bin/env python3
"""Draws the application icon (a stopwatch with an orange sweep) and writes
Brevalo.ico with 16, 24, 32, 48 and 256 pixel images. Pure Python, so that the
icon can be remade anywhere: python3 resources/make_icon.py"""
import math
import os
import struct
import zlib

SIZES = (16, 24, 32, 48, 256)
FACE = (24, 24, 28)
RIM = (200, 204, 210)
SWEEP = (255, 128, 0)
HAND = (250, 250, 250)


def coverage(fn, x, y, n=4):
    """Fraction of pixel (x, y) inside shape fn, sampled n x n."""
    inside = 0
    for i in range(n):
        for j in range(n):
            if fn(x + (i + 0.5) / n, y + (j + 0.5) / n):
                inside += 1
    return inside / (n * n)


def draw(size):
    s = size / 32.0
    cx, cy, r = 16 * s, 17.5 * s, 13 * s
    pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def blend(x, y, colour, a):
        if a <= 0:
            return
        r0, g0, b0, a0 = pixels[y][x]
        a1 = a + a0 / 255 * (1 - a)
        if a1 <= 0:
            return
        mix = [int((colour[k] * a + (r0, g0, b0)[k] * a0 / 255 * (1 - a)) / a1) for k in range(3)]
        pixels[y][x] = (mix[0], mix[1], mix[2], int(a1 * 255))

    def in_circle(rad):
        return lambda px, py: (px - cx) ** 2 + (py - cy) ** 2 <= rad ** 2

    def in_sweep(px, py):
        d = math.hypot(px - cx, py - cy)
        if d > r - 2.2 * s:
            return False
        ang = math.degrees(math.atan2(px - cx, -(py - cy))) % 360
        return ang <= 110

    def in_button(px, py):
        return abs(px - cx) <= 2.2 * s and 1.2 * s <= py <= 4.2 * s

    def in_stem(px, py):
        return abs(px - cx) <= 1.0 * s and 4 * s <= py <= 6 * s

    def in_hand(px, py):
        # A thick line from the centre towards 110 degrees.
        ang = math.radians(110)
        dx, dy = math.sin(ang), -math.cos(ang)
        t = (px - cx) * dx + (py - cy) * dy
        dist = abs((px - cx) * dy - (py - cy) * dx)
        return -1 * s <= t <= (r - 3 * s) and dist <= 1.1 * s

    layers = [
        (in_button, RIM), (in_stem, RIM), (in_circle(r), RIM),
        (in_circle(r - 1.6 * s), FACE), (in_sweep, SWEEP), (in_hand, HAND),
        (in_circle(1.8 * s), HAND),
    ]
    for y in range(size):
        for x in range(size):
            for fn, colour in layers:
                blend(x, y, colour, coverage(fn, x, y))
    return pixels


def bmp_image(size, pixels):
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b''.join(bytes(c for (r, g, b, a) in pixels[y] for c in (b, g, r, a))
                    for y in reversed(range(size)))
    mask_row = ((size + 31) // 32) * 4
    return header + rows + b'\0' * mask_row * size


def png_image(size, pixels):
    raw = b''.join(b'\0' + bytes(c for p in pixels[y] for c in p) for y in range(size))

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def main():
    images = []
    for size in SIZES:
        pixels = draw(size)
        images.append((size, png_image(size, pixels) if size >= 256 else bmp_image(size, pixels)))
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(data for _, data in images)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'Brevalo.ico')
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
