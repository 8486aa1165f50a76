#!/usr/bin/env python3
"""Draws the add-in's pictures and writes them to resources/:

  skeldra.ico   the About box icon: 32x32, 256 colours
  banner.bmp    the About box banner: 400x60, 24 bits, the title on a gradient
  menubmp.bmp   the command-bar face: 32x32, 8 bits with a 256-entry colour table

Everything is drawn here, with the standard library only; the output is the same on every run.
Run it from anywhere: python3 tools/make-about-images.py
"""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(os.path.dirname(HERE), "resources")

# The face's background: the classic button face, which command bars draw faces over.
BUTTON_FACE = (192, 192, 192)


# --- Drawing -------------------------------------------------------------------------------


class Canvas:
    """An RGBA picture of floats (0..1), drawn with coverage-based anti-aliasing."""

    def __init__(self, width, height, colour=(0, 0, 0, 0)):
        self.width, self.height = width, height
        self.px = [list(colour) for _ in range(width * height)]

    def blend(self, x, y, rgb, alpha):
        if alpha <= 0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        p = self.px[y * self.width + x]
        a = min(alpha, 1.0)
        out_a = a + p[3] * (1 - a)
        if out_a > 0:
            for i in range(3):
                p[i] = (rgb[i] * a + p[i] * p[3] * (1 - a)) / out_a
        p[3] = out_a

    def fill(self, shade, inside, box=None, samples=4, alpha=1.0):
        """Paints every pixel by the share of its sub-samples that inside() accepts; shade(x, y)
        gives the colour at a point."""
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        step = 1.0 / samples
        for y in range(max(0, int(y0)), min(self.height, int(math.ceil(y1)))):
            for x in range(max(0, int(x0)), min(self.width, int(math.ceil(x1)))):
                hits = 0
                for sy in range(samples):
                    for sx in range(samples):
                        if inside(x + (sx + 0.5) * step, y + (sy + 0.5) * step):
                            hits += 1
                if hits:
                    self.blend(x, y, shade(x + 0.5, y + 0.5), alpha * hits / (samples * samples))

    def stroke(self, polylines, width, rgb, alpha=1.0):
        """Draws polylines as round-capped strokes, anti-aliased by distance to the centre line."""
        segments = []
        for line in polylines:
            segments += list(zip(line, line[1:])) or [(line[0], line[0])]
        half = width / 2
        xs = [p[0] for s in segments for p in s]
        ys = [p[1] for s in segments for p in s]
        left, right = max(0, int(min(xs) - half - 1)), min(self.width, int(max(xs) + half + 2))
        top, bottom = max(0, int(min(ys) - half - 1)), min(self.height, int(max(ys) + half + 2))
        for y in range(top, bottom):
            for x in range(left, right):
                d = min(distance_to_segment(x + 0.5, y + 0.5, a, b) for a, b in segments)
                cover = max(0.0, min(1.0, half - d + 0.5))
                if cover:
                    self.blend(x, y, rgb, cover * alpha)

    def over(self, background):
        """The picture composed over an opaque colour, as 8-bit RGB rows."""
        rows = []
        for y in range(self.height):
            row = []
            for x in range(self.width):
                r, g, b, a = self.px[y * self.width + x]
                row.append(tuple(round(c * a + bg * (1 - a))
                                 for c, bg in zip((r, g, b), background)))
            rows.append(row)
        return rows


def distance_to_segment(px, py, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    cx, cy = ax + t * dx - px, ay + t * dy - py
    return math.hypot(cx, cy)


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def mix(c0, c1, t):
    t = max(0.0, min(1.0, t))
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def rgb(hex_colour):
    return tuple(int(hex_colour[i:i + 2], 16) for i in (0, 2, 4))


# --- Lettering: a stroke font for the title ------------------------------------------------
# Glyphs in em units: y from 0 (ascender) to 1 (baseline), x-height at 0.42. Each glyph is a
# list of polylines and an advance width.


def arc(cx, cy, rx, ry, start, end, steps=24):
    """Points on an ellipse from angle start to end (degrees, counter-clockwise, y down)."""
    return [(cx + rx * math.cos(math.radians(a)), cy - ry * math.sin(math.radians(a)))
            for a in (start + (end - start) * i / steps for i in range(steps + 1))]


X_HEIGHT = 0.42
BOWL = (1 - X_HEIGHT) / 2  # vertical radius of a lower-case bowl
MID = 1 - BOWL

GLYPHS = {
    "S": ([arc(0.30, 0.255, 0.27, 0.235, 30, 270) + arc(0.30, 0.745, 0.29, 0.255, 90, -150)], 0.66),
    "k": ([[(0, 0), (0, 1)], [(0.36, X_HEIGHT), (0.0, 0.76)], [(0.12, 0.66), (0.40, 1)]], 0.50),
    "e": ([[(0.02, MID), (0.44, MID)] + arc(0.23, MID, 0.21, BOWL, 0, 310)], 0.56),
    "l": ([[(0, 0), (0, 1)]], 0.18),
    "d": ([arc(0.22, MID, 0.21, BOWL, 0, 360, 36), [(0.43, 0), (0.43, 1)]], 0.62),
    "r": ([[(0, X_HEIGHT), (0, 1)], arc(0.26, MID + 0.04, 0.26, BOWL + 0.04, 180, 95, 10)], 0.40),
    "a": ([arc(0.21, MID, 0.21, BOWL, 0, 360, 36), [(0.42, X_HEIGHT), (0.42, 1)]], 0.60),
}


def lettering(text, left, top, size, tracking=0.10):
    """The text's polylines in pixels, the em box of height size at (left, top)."""
    lines = []
    x = left
    for ch in text:
        strokes, advance = GLYPHS[ch]
        for stroke in strokes:
            lines.append([(x + px * size, top + py * size) for px, py in stroke])
        x += (advance + tracking) * size
    return lines


# --- Pictures ------------------------------------------------------------------------------

NAVY = rgb("0B1F4D")
BLUE = rgb("1E5AA8")
SKY = rgb("5FA8E8")
PAPER = rgb("F7F9FC")
AMBER = rgb("F2A93B")
INK = rgb("24324A")


def browser_emblem(canvas, x0, y0, size):
    """The add-in's emblem: a project list in a window, with a star for the favourites."""
    s = size / 32.0
    # Window: blue frame with a title bar, and a paper list area.
    canvas.fill(lambda x, y: mix(SKY, BLUE, (y - y0) / size),
                rounded_rect(x0 + 1 * s, y0 + 3 * s, x0 + 31 * s, y0 + 29 * s, 3 * s))
    canvas.fill(lambda x, y: PAPER,
                rounded_rect(x0 + 3 * s, y0 + 9 * s, x0 + 29 * s, y0 + 27 * s, 1.2 * s))
    # List rows: a bullet and a line each.
    for i, row in enumerate((12.5, 17.5, 22.5)):
        canvas.fill(lambda x, y: BLUE if i != 1 else AMBER,
                    rounded_rect(x0 + 6 * s, y0 + (row - 1.5) * s, x0 + 9 * s, y0 + (row + 1.5) * s,
                                 0.8 * s))
        canvas.stroke([[(x0 + 12 * s, y0 + row * s), (x0 + (26 - 4 * (i % 2)) * s, y0 + row * s)]],
                      1.6 * s, INK)
    # Title bar dots.
    for cx in (25.5, 28.0):
        canvas.fill(lambda x, y: PAPER,
                    rounded_rect(x0 + (cx - 0.9) * s, y0 + 5.1 * s, x0 + (cx + 0.9) * s,
                                 y0 + 6.9 * s, 0.9 * s))


def star_points(cx, cy, outer, inner):
    return [(cx + (outer if i % 2 == 0 else inner) * math.sin(math.pi * i / 5),
             cy - (outer if i % 2 == 0 else inner) * math.cos(math.pi * i / 5)) for i in range(10)]


def star(cx, cy, outer, inner):
    points = star_points(cx, cy, outer, inner)

    def inside(x, y):  # even-odd test against the star's outline
        result = False
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                result = not result
        return result
    return inside


def icon_picture():
    canvas = Canvas(32, 32)
    browser_emblem(canvas, 0, 0, 32)
    # The favourites' star, outlined so that it stands off the window behind it.
    outline = star_points(24.5, 23.8, 7.6, 3.3)
    canvas.stroke([outline + outline[:1]], 1.3, rgb("8A4B08"))
    canvas.fill(lambda x, y: mix(rgb("FFD36B"), AMBER, (y - 16) / 14), star(24.5, 23.8, 7.0, 3.0),
                box=(16, 15, 32, 32))
    return canvas


def banner_picture(width=400, height=60):
    canvas = Canvas(width, height, (0, 0, 0, 1))
    canvas.fill(lambda x, y: mix(mix(NAVY, BLUE, x / width), SKY, max(0.0, x / width - 0.55) * 0.6),
                lambda x, y: True, samples=1)
    # A faint sheen of diagonal bands toward the right.
    for i in range(6):
        left = 250 + i * 26
        canvas.fill(lambda x, y: (255, 255, 255),
                    lambda x, y, left=left: left <= x + y * 0.6 <= left + 10, samples=2, alpha=0.12)
    # Emblem and title, with a soft shadow under the title, and a thin rule below.
    browser_emblem(canvas, 14, 12, 36)
    title = lettering("Skeldra", 66, 13, 34)
    canvas.stroke([[(x + 1.5, y + 1.5) for x, y in line] for line in title], 5.2, (0, 0, 0), 0.35)
    canvas.stroke(title, 4.0, (255, 255, 255))
    canvas.stroke([[(66, 53), (226, 53)]], 1.5, AMBER, 0.9)
    return canvas


# --- Files ---------------------------------------------------------------------------------


def palette_for(rows, fixed=()):
    """Up to 256 colours for the rows: every colour when they are few enough, else the most used
    of colours reduced to 5 bits a channel, averaged. The fixed colours come first."""
    counts = {}
    for row in rows:
        for c in row:
            counts[c] = counts.get(c, 0) + 1
    for c in fixed:
        counts.pop(c, None)
    room = 256 - len(fixed)
    if len(counts) <= room:
        colours = list(fixed) + sorted(counts)
    else:
        buckets = {}
        for c, n in counts.items():
            key = tuple(v >> 3 for v in c)
            total = buckets.setdefault(key, [0, 0, 0, 0])
            for i in range(3):
                total[i] += c[i] * n
            total[3] += n
        best = sorted(buckets.values(), key=lambda t: (-t[3], t[:3]))[:room]
        colours = list(fixed) + sorted(tuple(round(t[i] / t[3]) for i in range(3)) for t in best)
    return colours + [(0, 0, 0)] * (256 - len(colours))


def index_rows(rows, palette, cache=None):
    cache = {} if cache is None else cache

    def nearest(c):
        if c not in cache:
            cache[c] = min(range(len(palette)),
                           key=lambda i: sum((a - b) ** 2 for a, b in zip(c, palette[i])))
        return cache[c]
    return [[nearest(c) for c in row] for row in rows]


def bitmap_info(width, height, bits, colours=0, image_size=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 2835, 2835,
                       colours, colours)


def colour_table(palette):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)


def write_bmp8(path, rows, background):
    palette = palette_for(rows, fixed=(background,))
    indexed = index_rows(rows, palette)
    width, height = len(rows[0]), len(rows)
    stride = (width + 3) & ~3
    pixels = b"".join(bytes(row) + b"\0" * (stride - width) for row in reversed(indexed))
    info = bitmap_info(width, height, 8, 256, len(pixels)) + colour_table(palette)
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def write_bmp24(path, rows):
    width, height = len(rows[0]), len(rows)
    stride = (width * 3 + 3) & ~3
    pixels = b"".join(b"".join(struct.pack("<BBB", b, g, r) for r, g, b in row) +
                      b"\0" * (stride - width * 3) for row in reversed(rows))
    info = bitmap_info(width, height, 24, 0, len(pixels))
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def write_ico8(path, canvas, edge_background):
    """One 32x32 image of 256 colours with its transparency mask. The icon has no alpha channel:
    pixels at least half covered are drawn, blended over edge_background; the rest show through."""
    size = canvas.width
    rows = canvas.over(edge_background)
    opaque = [[canvas.px[y * size + x][3] >= 0.5 for x in range(size)] for y in range(size)]
    rows = [[c if opaque[y][x] else (0, 0, 0) for x, c in enumerate(row)]
            for y, row in enumerate(rows)]
    palette = palette_for(rows, fixed=((0, 0, 0),))
    indexed = index_rows(rows, palette)
    xor = b"".join(bytes(row) for row in reversed(indexed))
    mask_stride = ((size + 31) // 32) * 4
    mask = b""
    for y in reversed(range(size)):
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (0 if opaque[y][x] else 1)
        mask += bits.to_bytes(size // 8, "big") + b"\0" * (mask_stride - size // 8)
    header = bitmap_info(size, size * 2, 8, 256, len(xor) + len(mask))
    image = header + colour_table(palette) + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(directory + entry + image)


def main():
    os.makedirs(OUT, exist_ok=True)
    icon = icon_picture()
    write_ico8(os.path.join(OUT, "skeldra.ico"), icon, BUTTON_FACE)
    write_bmp8(os.path.join(OUT, "menubmp.bmp"), icon.over(BUTTON_FACE), BUTTON_FACE)
    write_bmp24(os.path.join(OUT, "banner.bmp"), banner_picture().over((0, 0, 0)))


if __name__ == "__main__":
    main()
