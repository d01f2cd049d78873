#!/usr/bin/env python3
"""Draws Tarnwick's application icon and writes it as a Windows .ico file.

    python3 tools/icon/make_icon.py [app/tarnwick.ico]

The picture: a teal badge with three cards stacked behind each other, the
clones of one machine, the front one marked with a T. Every size is drawn
from the same shapes (anti-aliased by supersampling) in 32-bit colour with
alpha: the sizes up to 128 pixels as DIB entries, 256 as a PNG entry.
Standard library only.
"""

import struct
import sys
import zlib

SIZES = (16, 24, 32, 48, 64, 128, 256)


def rounded_rect(x0, y0, x1, y1, radius):
    """Inside test for a rounded rectangle in unit coordinates."""
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius
    return inside


def badge_colour(y):
    """Top-to-bottom gradient of the badge, as (r, g, b)."""
    top, bottom = (32, 178, 170), (14, 92, 104)
    return tuple(round(a + (b - a) * y) for a, b in zip(top, bottom))


# Back to front: (inside test, colour function of y, opacity).
WHITE = lambda y: (255, 255, 255)
INK = lambda y: (14, 92, 104)
SHAPES = (
    (rounded_rect(0.04, 0.04, 0.96, 0.96, 0.20), badge_colour, 1.0),
    (rounded_rect(0.36, 0.17, 0.84, 0.57, 0.06), WHITE, 0.40),
    (rounded_rect(0.26, 0.27, 0.74, 0.67, 0.06), WHITE, 0.65),
    (rounded_rect(0.16, 0.37, 0.64, 0.83, 0.06), WHITE, 1.0),
    (rounded_rect(0.25, 0.47, 0.55, 0.55, 0.015), INK, 1.0),  # the T's bar
    (rounded_rect(0.36, 0.47, 0.44, 0.75, 0.015), INK, 1.0),  # and its stem
)


def render(size):
    """Rows of (r, g, b, a) pixels, top row first, straight alpha."""
    samples = 4 if size >= 128 else 8
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc_r = acc_g = acc_b = acc_a = 0.0
            for sy in range(samples):
                y = (py + (sy + 0.5) / samples) / size
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) / size
                    r = g = b = a = 0.0  # premultiplied
                    for inside, colour, opacity in SHAPES:
                        if inside(x, y):
                            cr, cg, cb = colour(y)
                            r = cr * opacity + r * (1 - opacity)
                            g = cg * opacity + g * (1 - opacity)
                            b = cb * opacity + b * (1 - opacity)
                            a = opacity + a * (1 - opacity)
                    acc_r += r
                    acc_g += g
                    acc_b += b
                    acc_a += a
            n = samples * samples
            alpha = acc_a / n
            if alpha <= 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(acc_r / n / alpha), round(acc_g / n / alpha), round(acc_b / n / alpha),
                            round(alpha * 255)))
        rows.append(row)
    return rows


def dib_entry(rows):
    """BITMAPINFOHEADER, BGRA rows bottom-up, then the AND mask (1 = transparent)."""
    size = len(rows)
    mask_stride = (size + 31) // 32 * 4
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def png_entry(rows):
    size = len(rows)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)

    raw = bytearray()
    for row in rows:
        raw.append(0)  # no filter
        for pixel in row:
            raw += bytes(pixel)
    header = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) +
            chunk(b'IEND', b''))


def icon_file(sizes):
    images = [(size, png_entry(render(size)) if size >= 256 else dib_entry(render(size))) for size in sizes]
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    data = b''
    for size, image in images:
        dimension = 0 if size >= 256 else size  # 0 stands for 256
        directory += struct.pack('<BBBBHHII', dimension, dimension, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
        data += image
    return directory + data


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else 'app/tarnwick.ico'
    with open(target, 'wb') as out:
        out.write(icon_file(SIZES))


if __name__ == '__main__':
    main()
