#!/usr/bin/python3
"""Draws the pictures of the images demo: a small landscape, a gem tile and eight frames of a
bouncing ball, written as RGBA PNG files next to the demo's bank description.

    /usr/bin/python3 tools/make_images_demo_data.py          # writes examples/images_demo/data/
    /usr/bin/python3 tools/make_images_demo_data.py --check  # regenerates into a temporary folder
                                                             # and compares with the committed
                                                             # files (exit status 1 if they differ)

Needs only the Python standard library; the output is byte-for-byte deterministic.
"""

import argparse
import filecmp
import math
import os
import struct
import sys
import tempfile
import zlib

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_OUT = os.path.join(REPO, "examples", "images_demo", "data")
BALL_FRAMES = 8


def write_png(path, width, height, pixel):
    """`pixel(x, y)` gives (r, g, b, a) in 0..255, y counted from the top row."""
    raw = bytearray()
    for y in range(height):
        raw.append(0)  # no row filter
        for x in range(width):
            raw.extend(max(0, min(255, int(round(c)))) for c in pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", header))
        out.write(chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        out.write(chunk(b"IEND", b""))


def coverage(distance, radius):
    """Anti-aliased disc edge: 1 inside, 0 outside, a one-pixel ramp between."""
    return max(0.0, min(1.0, radius - distance + 0.5))


def landscape(x, y):
    # 64 x 48: sky fading down to the horizon, a sun at the top right, a green hill below and a
    # red house on it, so that up, down, left and right are plain to see.
    sky = (70 + y * 2.5, 120 + y * 2.0, 230 - y)
    colour = sky
    sun = coverage(math.hypot(x + 0.5 - 50, y + 0.5 - 11), 7)
    colour = tuple(s * (1 - sun) + c * sun for s, c in zip(colour, (255, 220, 60)))
    hill = 31 + 4 * math.cos((x - 16) / 12.0)
    if y + 0.5 > hill:
        colour = (60, 150 - (y - 34) * 3, 50)
    if 10 <= x < 24 and 26 <= y < 36:
        colour = (190, 50, 40)  # walls
        if 15 <= x < 19 and 30 <= y < 36:
            colour = (90, 50, 20)  # door
    if 20 <= y < 26 and abs(x + 0.5 - 17) <= (y - 19):
        colour = (120, 30, 30)  # roof
    return colour + (255,)


def gem(x, y):
    # 16 x 16, symmetric both ways: a faceted diamond on a transparent ground.
    d = abs(x - 7.5) + abs(y - 7.5)
    if d > 7.5:
        return (0, 0, 0, 0)
    ring = int(d) // 2
    shades = [(250, 250, 255), (120, 220, 255), (40, 150, 230), (20, 80, 170)]
    return shades[ring] + (255,)


def ball(frame):
    # 32 x 32 frames of a ball falling and squashing on the floor (the last frame lands).
    t = frame / (BALL_FRAMES - 1)
    centre_y = 9 + 16 * t * t
    squash = 1.0 + (0.3 if frame == BALL_FRAMES - 1 else 0.0)

    def pixel(x, y):
        dx = (x + 0.5 - 16) / squash
        dy = (y + 0.5 - centre_y) * squash
        a = coverage(math.hypot(dx, dy), 7)
        light = max(0.0, 1 - math.hypot(dx + 3, dy + 3) / 9)
        shadow = coverage(math.hypot((x + 0.5 - 16) / 3.0, (y + 0.5 - 30) * 1.5), 3) * 0.4 * t
        if a > 0:
            return (200 + 55 * light, 60 + 150 * light, 40 + 120 * light, 255 * a)
        return (0, 0, 0, 255 * shadow)

    return pixel


def generate(out):
    os.makedirs(out, exist_ok=True)
    write_png(os.path.join(out, "landscape.png"), 64, 48, landscape)
    write_png(os.path.join(out, "gem.png"), 16, 16, gem)
    for frame in range(BALL_FRAMES):
        write_png(os.path.join(out, "ball%02d.png" % (frame + 1)), 32, 32, ball(frame))
    return ["landscape.png", "gem.png"] + ["ball%02d.png" % (f + 1) for f in range(BALL_FRAMES)]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--check", action="store_true")
    parser.add_argument("--out", default=DEFAULT_OUT)
    args = parser.parse_args()
    if not args.check:
        generate(args.out)
        return 0
    with tempfile.TemporaryDirectory() as tmp:
        names = generate(tmp)
        _, mismatch, errors = filecmp.cmpfiles(tmp, args.out, names, shallow=False)
        for name in mismatch + errors:
            print("differs or missing: %s" % name)
        return 1 if mismatch or errors else 0


if __name__ == "__main__":
    sys.exit(main())
