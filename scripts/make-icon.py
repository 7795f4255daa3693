#!/usr/bin/env python3
"""Draws the engine's icon (a package with a downward arrow) and writes src/resources/kelvara.ico.

The icon holds 16, 32 and 48 pixel images, each a palette DIB with an AND mask, the form every
Windows release loads (PNG entries need Vista): 16 colours at 16 pixels, up to 64 at 32 and 48.
The design is a few flat colours and two gradients, which a palette holds with no visible loss,
and a palette image is a quarter of a 32-bit one: the icon is part of every setup image.
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


# Colours per image: 4 bits per pixel at 16 pixels, 8 bits with a shortened palette above.
PALETTE_SIZES = {16: (4, 16), 32: (8, 64), 48: (8, 64)}


def median_cut(colours, count):
    """At most `count` colours that stand for `colours` (a list of (r, g, b); repeats weigh)."""
    weight = {}
    for colour in colours:
        weight[colour] = weight.get(colour, 0) + 1
    boxes = [sorted(weight)]

    def extent(box, channel):
        return max(c[channel] for c in box) - min(c[channel] for c in box)

    while len(boxes) < count:
        splittable = [b for b in boxes if len(b) > 1]
        if not splittable:
            break
        # Split the box that covers the most pixels over the widest range, at its weighted median.
        box = max(splittable, key=lambda b: (max(extent(b, i) for i in range(3)) *
                                             sum(weight[c] for c in b), b))
        channel = max(range(3), key=lambda i: extent(box, i))
        box.sort(key=lambda c: (c[channel], c))
        total, running, half = sum(weight[c] for c in box), 0, 1
        for i, c in enumerate(box[:-1]):
            running += weight[c]
            half = i + 1
            if running * 2 >= total:
                break
        boxes.remove(box)
        boxes += [box[:half], box[half:]]

    def mean(box):
        total = sum(weight[c] for c in box)
        return tuple(round(sum(c[i] * weight[c] for c in box) / total) for i in range(3))

    return sorted(mean(b) for b in boxes)


def dib_entry(rows):
    """A palette icon image: BITMAPINFOHEADER, palette, indices bottom-up, then the AND mask.

    A pixel at least half covered is drawn in its own colour; the rest are transparent through
    the mask (a palette image has no alpha) and black in the colours."""
    size = len(rows)
    bits, most = PALETTE_SIZES[size]
    shown = [(r, g, b) for row in rows for r, g, b, a in row if a >= 128]
    # Entry 0 is black, the colour of every transparent pixel: the system draws an icon by
    # masking the screen with the AND mask and then combining the colours with XOR, so a
    # transparent pixel must be black to leave the screen as it was.
    palette = [(0, 0, 0)] + median_cut(shown, most - 1)

    def nearest(colour):
        return min(range(1, len(palette)),
                   key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)))

    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, len(palette),
                         0)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    stride = ((size * bits + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, (r, g, b, a) in enumerate(row):
            index = nearest((r, g, b)) if a >= 128 else 0
            if bits == 4:
                line[x // 2] |= index << (4 if x % 2 == 0 else 0)
            else:
                line[x] = index
        pixels += line
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return bits, len(palette), header + table + bytes(pixels) + bytes(mask)


def ico_file(images):
    """ICONDIR, one ICONDIRENTRY per image, then the images."""
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, (bits, colours, data) in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours if colours < 256 and bits < 8
                           else 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    for _, (_, _, data) in images:
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
