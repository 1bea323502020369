#!/usr/bin/env python3
"""Measures how sharp the dice's pips are in a screenshot of the play screen.

    edge_width.py SHOT [--die X,Y ...] [--scale S] [--verbose]

SHOT is a PNG (as `import -window root` writes) or a BMP (as zanbor_screenshots
writes) of the whole output, the 800x600 design scaled to fit and centred in it.
Each --die is a die's centre in design pixels (default: the five dice of the
tray's first row). Every pip of those dice is found, and across its left, right,
top and bottom edge (where the edge runs along a pixel column or row) the width
from 10 % to 90 % of the contrast between the pip and the die is measured in
output pixels, the samples read between pixels by straight lines. The median and
the spread are printed. A perfect edge measures 0.8 to 1.6 depending on where it
falls within a pixel. With --whole the contrast runs from the pip's middle to
the die, so that the pip's own shading towards its rim counts as edge too.

--scale S reads a picture of a single die drawn S times its design size (such as
a packed 1x/2x/3x frame saved as PNG): its centre is the picture's centre.
Only the standard library is used.
"""

import argparse
import statistics
import struct
import sys
import zlib

DESIGN_W, DESIGN_H = 800, 600
TRAY_ROW = [(300 + 50 * i, 172) for i in range(5)]
# Pip centres on a 40-pixel die, from its centre, and the pip radius.
PIP_OFFSETS = [(dx, dy) for dy in (-8.5, 0, 8.5) for dx in (-8.5, 0, 8.5) if (dx, dy) not in ((0, -8.5), (0, 8.5))]
PIP_RADIUS = 3.5


class Image:
    def __init__(self, width, height, rows):
        self.width, self.height, self.rows = width, height, rows  # rows of luma floats

    def at(self, x, y):
        x = min(max(x, 0), self.width - 1)
        y = min(max(y, 0), self.height - 1)
        return self.rows[y][x]


def luma(r, g, b):
    return 0.299 * r + 0.587 * g + 0.114 * b


def read_png(data):
    pos, chunks, head = 8, [], None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            head = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            chunks.append(body)
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = head
    channels = {0: 1, 2: 3, 4: 2, 6: 4}.get(colour)
    if depth != 8 or channels is None or interlace:
        sys.exit("edge_width: only 8-bit non-interlaced grey/RGB/RGBA PNGs")
    raw = zlib.decompress(b"".join(chunks))
    stride = width * channels
    prev = bytearray(stride)
    rows = []
    pos = 0
    for _ in range(height):
        kind = raw[pos]
        line = bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = prev[i]
            upleft = prev[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + ((left + up) >> 1)) & 0xFF
            elif kind == 4:
                p = left + up - upleft
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - upleft)
                pred = left if pa <= pb and pa <= pc else up if pb <= pc else upleft
                line[i] = (line[i] + pred) & 0xFF
        prev = line
        if channels >= 3:
            rows.append([luma(line[i], line[i + 1], line[i + 2]) for i in range(0, stride, channels)])
        else:
            rows.append([float(line[i]) for i in range(0, stride, channels)])
    return Image(width, height, rows)


def read_bmp(data):
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits, compression = struct.unpack_from("<HI", data, 28)
    if bits not in (24, 32) or compression not in (0, 3):
        sys.exit("edge_width: only 24/32-bit uncompressed BMPs")
    step = bits // 8
    stride = (width * step + 3) & ~3
    top_down = height < 0
    height = abs(height)
    rows = []
    for y in range(height):
        src = y if top_down else height - 1 - y
        base = offset + src * stride
        line = data[base:base + width * step]
        rows.append([luma(line[i + 2], line[i + 1], line[i]) for i in range(0, len(line), step)])
    return Image(width, height, rows)


def crossing(samples, level):
    """Where the run of samples first passes level, between samples."""
    for i in range(1, len(samples)):
        a, b = samples[i - 1], samples[i]
        if (a - level) * (b - level) <= 0 and a != b:
            return i - 1 + (level - a) / (b - a)
    return None


def profile(image, cx, cy, dx, dy, length):
    """Samples from the pixel nearest the centre outwards along a row or column."""
    x0, y0 = round(cx), round(cy)
    return [image.at(x0 + dx * i, y0 + dy * i) for i in range(length)]


def edge_width(image, cx, cy, dx, dy, scale, whole):
    """10-90 % width of one pip edge, from the pip centre outwards; None if unclear."""
    radius = PIP_RADIUS * scale
    samples = profile(image, cx, cy, dx, dy, int(radius + 2 * scale) + 2)
    inner, outer = samples[0], statistics.median(samples[int(radius + 1.2 * scale):])
    mid = crossing(samples, (inner + outer) / 2)
    if mid is None or abs(inner - outer) < 40:
        return None
    # The contrast is taken one design pixel either side of the edge's middle:
    # the pip's shading inside and the die's gradient outside count as plateaus.
    # With whole, it runs from the pip's middle to the die beyond the edge.
    inside, outside = sample_at(samples, mid - scale), sample_at(samples, mid + scale)
    if whole:
        inside = inner
    if abs(inside - outside) < 30:
        return None
    lo = crossing(samples, outside + 0.9 * (inside - outside))
    hi = crossing(samples, outside + 0.1 * (inside - outside))
    if lo is None or hi is None:
        return None
    return hi - lo


def sample_at(samples, at):
    i = max(0, min(len(samples) - 2, int(at)))
    t = min(max(at - i, 0.0), 1.0)
    return samples[i] * (1 - t) + samples[i + 1] * t


def refine_centre(image, cx, cy, scale):
    """The pip's centre from the middles of its edges along a row and a column."""
    for _ in range(2):
        found = []
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            samples = profile(image, cx, cy, dx, dy, int(PIP_RADIUS * scale * 1.6))
            mid = crossing(samples, (samples[0] + samples[-1]) / 2)
            if mid is None:
                return None
            found.append(mid)
        cx += (found[0] - found[1]) / 2
        cy += (found[2] - found[3]) / 2
    return cx, cy


def pip_present(image, x, y, dx, dy, scale):
    # Diagonally between pip places the die's body shows.
    bx = x + (4.25 if dx <= 0 else -4.25) * scale
    by = y + (4.25 if dy <= 0 else -4.25) * scale
    return abs(image.at(round(x), round(y)) - image.at(round(bx), round(by))) > 60


def measure(image, dice, scale, left, top, verbose, whole=False):
    widths = []
    for die_x, die_y in dice:
        ox, oy = left + die_x * scale, top + die_y * scale
        for dx, dy in PIP_OFFSETS:
            x, y = ox + dx * scale, oy + dy * scale
            if not pip_present(image, x, y, dx, dy, scale):
                continue
            centre = refine_centre(image, x, y, scale)
            if centre is None:
                continue
            found = [edge_width(image, centre[0], centre[1], sx, sy, scale, whole)
                     for sx, sy in ((1, 0), (-1, 0), (0, 1), (0, -1))]
            found = [w for w in found if w is not None]
            if verbose:
                print(f"die {die_x},{die_y} pip {dx:+},{dy:+}: " + " ".join(f"{w:.2f}" for w in found))
            widths += found
    return widths


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("shot")
    parser.add_argument("--die", action="append", help="a die's centre in design pixels, X,Y")
    parser.add_argument("--scale", type=float, help="a picture of one die at this scale")
    parser.add_argument("--whole", action="store_true", help="contrast from the pip's middle to the die")
    parser.add_argument("--verbose", action="store_true")
    args = parser.parse_args()
    with open(args.shot, "rb") as f:
        data = f.read()
    image = read_png(data) if data[:8] == b"\x89PNG\r\n\x1a\n" else read_bmp(data)
    if args.scale:
        scale = args.scale
        dice, left, top = [(0, 0)], image.width / 2, image.height / 2
    else:
        scale = min(image.width / DESIGN_W, image.height / DESIGN_H)
        left, top = (image.width - DESIGN_W * scale) / 2, (image.height - DESIGN_H * scale) / 2
        dice = [tuple(float(v) for v in d.split(",")) for d in args.die] if args.die else TRAY_ROW
    widths = measure(image, dice, scale, left, top, args.verbose, args.whole)
    if not widths:
        sys.exit("edge_width: no pip edges found")
    widths.sort()
    print(f"{args.shot}: {image.width}x{image.height} at {scale:.2f}, {len(widths)} pip edges: "
          f"median {statistics.median(widths):.2f} px, middle half {widths[len(widths) // 4]:.2f}-"
          f"{widths[(3 * len(widths)) // 4]:.2f}, max {widths[-1]:.2f}")


if __name__ == "__main__":
    main()
