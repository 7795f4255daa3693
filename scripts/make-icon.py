#!/usr/bin/env python3
"""Draws the engine's icon (a package with a downward arrow) and writes src/resources/kelvara.ico.

The icon holds 16, 32 and 48 pixel images, each a 32-bit DIB with an alpha channel and an AND
mask, which is the form every Windows release can load (PNG entries need Vista).
Standard library only; the output is deterministic, so regenerating an unchanged design gives
identical bytes. The build does not run this: the generated .ico is committed.

Usage: scripts/make-icon.py [output.ico]
"""

import struct
import sys
from pathlib import Path

SIZES = (16, 32, 48)
SUPERSAMPLING = 8  # samples per pixel along each axis

# A calm blue palette; the arrow is white so it reads on the blue at 16 pixels.
OUTLINE = (0x1B, 0x4A, 0x86)
LID_TOP = (0x8C, 0xBD, 0xF0)
LID_BOTTOM = (0x6A, 0xA6, 0xE6)
BODY_TOP = (0x45, 0x8C, 0xDB)
BODY_BOTTOM = (0x2C, 0x6A, 0xB8)
ARROW = (0xFF, 0xFF, 0xFF)


def lerp_colour(a, b, t):
    t = min(1.0, max(0.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def rounded_rect(x0, y0, x1, y1, radius):
    """Inside test for a rectangle whose corners are rounded by `radius` pixels."""

    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        if radius <= 0:
            return True
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius

    return inside


def polygon(points):
    """Inside test for a simple polygon (even-odd rule)."""

    def inside(x, y):
        result = False
        n = len(points)
        for i in range(n):
            xa, ya = points[i]
            xb, yb = points[(i + 1) % n]
            if (ya > y) != (yb > y):
                cross = xa + (y - ya) * (xb - xa) / (yb - ya)
                if x < cross:
                    result = not result
        return result

    return inside


class Canvas:
    """Straight (non-premultiplied) RGBA pixels in floats, painted back to front."""

    def __init__(self, size):
        self.size = size
        self.pixels = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]

    def paint(self, inside, colour_at):
        """Composites a shape over the canvas; colour_at(y) gives its colour on row y."""
        n = SUPERSAMPLING
        offsets = [(i + 0.5) / n for i in range(n)]
        for py in range(self.size):
            colour = colour_at(py + 0.5)
            for px in range(self.size):
                hits = sum(1 for oy in offsets for ox in offsets if inside(px + ox, py + oy))
                if hits:
                    self._over(px, py, colour, hits / (n * n))

    def _over(self, px, py, colour, alpha):
        r, g, b, a = self.pixels[py][px]
        out_a = alpha + a * (1.0 - alpha)
        below = (r, g, b)
        mixed = tuple((colour[i] * alpha + below[i] * a * (1.0 - alpha)) / out_a for i in range(3))
        self.pixels[py][px] = (*mixed, out_a)

    def rgba_rows(self):
        """Rows top to bottom of (r, g, b, a) bytes."""
        return [[tuple(int(round(c)) for c in (r, g, b)) + (int(round(a * 255)),)
                 for (r, g, b, a) in row] for row in self.pixels]


def draw(size):
    """The design, on a 16-unit grid scaled to `size` and kept on whole pixels."""
    u = size / 16
    line = 1 if size <= 16 else 2  # outline width in pixels
    radius = 0 if size <= 16 else 0.75 * u
    canvas = Canvas(size)

    def flat(colour):
        return lambda y: colour

    def gradient(top, bottom, y0, y1):
        return lambda y: lerp_colour(top, bottom, (y - y0) / (y1 - y0))

    # The box body, then its lid overhanging it by one unit on each side.
    body = (2 * u, 4 * u, 14 * u, 15 * u)
    lid = (1 * u, 1 * u, 15 * u, 5 * u)
    for (x0, y0, x1, y1), top, bottom in ((body, BODY_TOP, BODY_BOTTOM),
                                          (lid, LID_TOP, LID_BOTTOM)):
        canvas.paint(rounded_rect(x0, y0, x1, y1, radius), flat(OUTLINE))
        inner = rounded_rect(x0 + line, y0 + line, x1 - line, y1 - line, max(0, radius - line))
        canvas.paint(inner, gradient(top, bottom, y0, y1))

    # The arrow: a shaft from the lid down into the body and a head pointing at the floor.
    shaft_half = 1 * u
    head_half = 4 * u
    head_top = 9 * u
    tip = 13 * u
    cx = 8 * u
    # The shaft reaches half a pixel into the head so that no seam shows between them.
    shaft = rounded_rect(cx - shaft_half, 2 * u, cx + shaft_half, head_top + 0.5, 0)
    canvas.paint(shaft, flat(ARROW))
    if size <= 16:
        # Anti-aliased diagonals blur at this size; whole-pixel steps stay sharp.
        for step in range(4):
            canvas.paint(rounded_rect(cx - head_half + step, head_top + step, cx + head_half - step,
                                      head_top + step + 1, 0), flat(ARROW))
    else:
        canvas.paint(polygon([(cx - head_half, head_top), (cx + head_half, head_top), (cx, tip)]),
                     flat(ARROW))
    return canvas.rgba_rows()


def dib_entry(rows):
    """A 32-bit icon image: BITMAPINFOHEADER, BGRA rows bottom-up, then the AND mask."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    # The mask serves systems that ignore alpha: a pixel at least half covered is drawn.
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + bytes(colour) + bytes(mask)


def ico_file(images):
    """ICONDIR, one ICONDIRENTRY per image, then the images."""
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return bytes(out)


def main(argv):
    default = Path(__file__).resolve().parent.parent / "src" / "resources" / "kelvara.ico"
    output = Path(argv[1]) if len(argv) > 1 else default
    images = [(size, dib_entry(draw(size))) for size in SIZES]
    output.write_bytes(ico_file(images))
    print(f"make-icon: wrote {output} ({', '.join(str(s) for s in SIZES)} px)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
