#!/usr/bin/env python3
"""Draws the program's bitmaps and icon: 16-colour images of simple glyphs.

Writes into OUT_DIR:
  buttons.bmp  112 x 16, seven 16-pixel images (play, pause, stop, previous,
               next, random, open) on light grey, the buttons' mask colour;
  toolbar.bmp  144 x 16, nine images (clear, add, open, save, up, down,
               delete, properties, version) on pure green, the mask colour;
  tray.bmp     32 x 16, two animation frames on pure green;
  program.ico  the program icon at 32 and 16 pixels.

Glyphs are drawn from geometry (rectangles, polygons, circles, thick lines)
on a 16-unit grid, each pixel coloured by whether its centre is inside.
"""
import argparse
import math
import os
import struct

# The standard 16-colour palette, as RGB.
PALETTE = [
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)


class Canvas:
    """A grid of palette indices; shapes are given in 16-unit glyph space."""

    def __init__(self, width, height, background, scale=1.0):
        self.width, self.height, self.scale = width, height, scale
        self.pixels = [[background] * width for _ in range(height)]
        self.origin = (0, 0)

    def cell(self, index):
        """Draw the next shapes into the 16-unit cell `index` of a strip."""
        self.origin = (int(index * 16 * self.scale), 0)
        return self

    def fill(self, inside, colour):
        ox, oy = self.origin
        size = int(16 * self.scale)
        for y in range(oy, min(oy + size, self.height)):
            for x in range(ox, min(ox + size, self.width)):
                gx = (x - ox + 0.5) / self.scale
                gy = (y - oy + 0.5) / self.scale
                if inside(gx, gy):
                    self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        self.fill(lambda x, y: x0 <= x < x1 and y0 <= y < y1, colour)

    def frame(self, x0, y0, x1, y1, colour):
        """A one-unit outline just inside the rectangle."""
        self.fill(lambda x, y: x0 <= x < x1 and y0 <= y < y1 and
                  not (x0 + 1 <= x < x1 - 1 and y0 + 1 <= y < y1 - 1), colour)

    def polygon(self, points, colour):
        def inside(x, y):
            hit = False
            j = len(points) - 1
            for i, (xi, yi) in enumerate(points):
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    hit = not hit
                j = i
            return hit
        self.fill(inside, colour)

    def disc(self, cx, cy, rx, ry, colour):
        self.fill(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0, colour)

    def line(self, points, width, colour):
        """A polyline of the given thickness."""
        half = width / 2.0

        def near(x, y):
            for (ax, ay), (bx, by) in zip(points, points[1:]):
                dx, dy = bx - ax, by - ay
                t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
                if math.hypot(x - ax - t * dx, y - ay - t * dy) <= half:
                    return True
            return False
        self.fill(near, colour)


# Glyphs, each drawn into the current cell of a canvas.

def play(c):
    c.polygon([(5, 3), (12.5, 8), (5, 13)], BLACK)


def pause(c):
    c.rect(4, 3, 7, 13, BLACK)
    c.rect(9, 3, 12, 13, BLACK)


def stop(c):
    c.rect(4, 4, 12, 12, BLACK)


def previous(c):
    c.rect(3, 4, 5, 12, BLACK)
    c.polygon([(12.5, 3.5), (5, 8), (12.5, 12.5)], BLACK)


def next_track(c):
    c.polygon([(3.5, 3.5), (11, 8), (3.5, 12.5)], BLACK)
    c.rect(11, 4, 13, 12, BLACK)


def shuffle(c):
    c.line([(1, 4.5), (4.5, 4.5), (9.5, 11.5), (12, 11.5)], 1.6, BLACK)
    c.line([(1, 11.5), (4.5, 11.5), (9.5, 4.5), (12, 4.5)], 1.6, BLACK)
    c.polygon([(11.5, 2), (15, 4.5), (11.5, 7)], BLACK)
    c.polygon([(11.5, 9), (15, 11.5), (11.5, 14)], BLACK)


def folder(c):
    c.rect(1, 3, 7, 5, OLIVE)
    c.rect(1, 5, 15, 14, OLIVE)
    c.rect(2, 6, 14, 13, YELLOW)


def page(c):
    c.rect(3, 1, 13, 15, BLACK)
    c.rect(4, 2, 12, 14, WHITE)
    for y in (4, 7, 10):
        c.rect(5, y, 11, y + 1, GRAY)


def clear_list(c):
    page(c)
    c.line([(3, 3), (13, 13)], 2.0, RED)
    c.line([(13, 3), (3, 13)], 2.0, RED)


def add_file(c):
    page(c)
    c.rect(9, 7, 12, 16, GREEN)
    c.rect(6, 10, 15, 13, GREEN)


def save(c):
    c.rect(2, 2, 14, 14, NAVY)
    c.rect(4, 2, 12, 7, WHITE)
    c.rect(9, 3, 11, 6, NAVY)
    c.rect(5, 10, 11, 14, SILVER)


def arrow_up(c):
    c.polygon([(8, 1.5), (14.5, 8.5), (1.5, 8.5)], BLUE)
    c.rect(5.5, 8, 10.5, 14.5, BLUE)


def arrow_down(c):
    c.polygon([(8, 14.5), (14.5, 7.5), (1.5, 7.5)], BLUE)
    c.rect(5.5, 1.5, 10.5, 8, BLUE)


def delete(c):
    c.line([(3, 3), (13, 13)], 2.6, RED)
    c.line([(13, 3), (3, 13)], 2.6, RED)


def properties(c):
    page(c)
    c.rect(5, 12, 9, 13, GRAY)


def version(c):
    c.disc(8, 8, 7, 7, BLUE)
    c.rect(7, 3, 9, 5, WHITE)
    c.rect(7, 6, 9, 13, WHITE)


def note(c, dy, colour):
    c.disc(5, 12 - dy, 2.8, 2.2, colour)
    c.rect(7, 2 - dy, 8.5, 12 - dy, colour)
    c.line([(8, 2.5 - dy), (12, 5.5 - dy), (12, 8 - dy)], 1.5, colour)


def tray_first(c):
    note(c, 0, AQUA)


def tray_second(c):
    note(c, 1, YELLOW)
    c.rect(12, 12, 14, 14, AQUA)


def program_icon(c):
    c.disc(8, 8, 7.8, 7.8, NAVY)
    c.disc(8, 8, 6.6, 6.6, TEAL)
    c.disc(5.2, 11, 1.9, 1.5, WHITE)
    c.disc(10.8, 10, 1.9, 1.5, WHITE)
    c.rect(6.4, 4, 7.4, 11, WHITE)
    c.rect(12, 3, 13, 10, WHITE)
    c.polygon([(6.4, 4), (13, 3), (13, 5), (6.4, 6)], WHITE)


# File formats.

def palette_bytes():
    return b"".join(struct.pack("<BBBB", p & 0xFF, (p >> 8) & 0xFF, p >> 16, 0) for p in PALETTE)


def packed_rows(pixels, width):
    """4-bit rows, bottom-up, each padded to four bytes."""
    stride = ((width * 4 + 31) // 32) * 4
    out = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for x in range(0, width, 2):
            hi = row[x]
            lo = row[x + 1] if x + 1 < width else 0
            line.append((hi << 4) | lo)
        out += line + b"\0" * (stride - len(line))
    return bytes(out)


def mask_rows(mask, width):
    """1-bit AND mask rows, bottom-up, padded to four bytes; 1 is transparent."""
    stride = ((width + 31) // 32) * 4
    out = bytearray()
    for row in reversed(mask):
        line = bytearray((width + 7) // 8)
        for x, transparent in enumerate(row):
            if transparent:
                line[x // 8] |= 0x80 >> (x % 8)
        out += line + b"\0" * (stride - len(line))
    return bytes(out)


def info_header(width, height, image_bytes):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_bytes, 0, 0, 16, 16)


def write_bmp(path, canvas):
    bits = packed_rows(canvas.pixels, canvas.width)
    header = info_header(canvas.width, canvas.height, len(bits)) + palette_bytes()
    offset = 14 + len(header)
    with open(path, "wb") as f:
        f.write(struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset))
        f.write(header + bits)


def icon_image(size, draw):
    canvas = Canvas(size, size, BLACK, scale=size / 16.0)
    marker = Canvas(size, size, 0, scale=size / 16.0)
    draw(canvas)
    # The same shapes in one colour mark the opaque pixels.
    draw(_Recolour(marker, 1))
    mask = [[value == 0 for value in row] for row in marker.pixels]
    xor = packed_rows(canvas.pixels, size)
    and_mask = mask_rows(mask, size)
    return info_header(size, size * 2, len(xor) + len(and_mask)) + palette_bytes() + xor + and_mask


class _Recolour:
    """Draws every shape in one colour (for the icon's mask)."""

    def __init__(self, canvas, colour):
        self.canvas, self.colour = canvas, colour

    def __getattr__(self, name):
        method = getattr(self.canvas, name)

        def call(*args):
            return method(*args[:-1], self.colour)
        return call


def write_ico(path, sizes, draw):
    images = [icon_image(size, draw) for size in sizes]
    offset = 6 + 16 * len(images)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)))
        for size, image in zip(sizes, images):
            f.write(struct.pack("<BBBBHHII", size % 256, size % 256, 16, 0, 1, 4, len(image), offset))
            offset += len(image)
        for image in images:
            f.write(image)


def strip(glyphs, background):
    canvas = Canvas(16 * len(glyphs), 16, background)
    for index, glyph in enumerate(glyphs):
        glyph(canvas.cell(index))
    return canvas


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out_dir")
    args = parser.parse_args()
    os.makedirs(args.out_dir, exist_ok=True)
    out = lambda name: os.path.join(args.out_dir, name)
    write_bmp(out("buttons.bmp"),
              strip([play, pause, stop, previous, next_track, shuffle, folder], SILVER))
    write_bmp(out("toolbar.bmp"),
              strip([clear_list, add_file, folder, save, arrow_up, arrow_down, delete,
                     properties, version], LIME))
    write_bmp(out("tray.bmp"), strip([tray_first, tray_second], LIME))
    write_ico(out("program.ico"), [32, 16], program_icon)


if __name__ == "__main__":
    main()
