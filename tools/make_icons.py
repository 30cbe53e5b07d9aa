#!/usr/bin/python3
"""Makes the game's desktop icons (hicolor theme, 48, 64, 128 and 256 pixels square) from the
game's own title picture: Pim on the wall holding up his stone, cut square and given rounded
corners.

    /usr/bin/python3 tools/make_icons.py --out DIR   # writes DIR/<N>x<N>/pimwarden.png
    /usr/bin/python3 tools/make_icons.py --check     # makes them twice in temporary folders and
                                                     # checks sizes, corners and that both runs
                                                     # gave the same bytes (exit status 1 if not)

The build runs it (game/dist), so the installed icons always follow the current picture; none
are committed. Needs python3-pil. The output is deterministic: the same picture and Pillow give
the same bytes.
"""

import argparse
import filecmp
import os
import sys
import tempfile

from PIL import Image, ImageChops, ImageDraw

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_PICTURE = os.path.join(REPO, "game", "data", "images", "greatPim.png")

SIZES = (48, 64, 128, 256)
# The square of the 800 x 600 title picture that holds Pim from the stone to his boots.
CROP = (170, 0, 630, 460)
# Corner radius as a share of the icon's side.
CORNER = 0.14
# The rounded mask is drawn this much larger and scaled down, for smooth corners.
SUPERSAMPLE = 4


def rounded_mask(size):
    big = size * SUPERSAMPLE
    mask = Image.new("L", (big, big), 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, big - 1, big - 1), radius=int(big * CORNER),
                                           fill=255)
    return mask.resize((size, size), Image.LANCZOS)


def make_icons(picture, out_dir):
    source = Image.open(picture).convert("RGBA")
    if source.size != (800, 600):
        sys.exit("%s is %dx%d, expected the 800x600 title picture." % ((picture,) + source.size))
    square = source.crop(CROP)
    for size in SIZES:
        icon = square.resize((size, size), Image.LANCZOS)
        icon.putalpha(ImageChops.multiply(icon.getchannel("A"), rounded_mask(size)))
        folder = os.path.join(out_dir, "%dx%d" % (size, size))
        os.makedirs(folder, exist_ok=True)
        icon.save(os.path.join(folder, "pimwarden.png"), optimize=False)


def relative_files(root):
    found = []
    for folder, _, files in os.walk(root):
        found += [os.path.relpath(os.path.join(folder, f), root) for f in files]
    return sorted(found)


def check(picture):
    """Two runs give the same files; each icon is square, of its size, clear in the corners and
    opaque in the middle."""
    with tempfile.TemporaryDirectory() as first, tempfile.TemporaryDirectory() as second:
        make_icons(picture, first)
        make_icons(picture, second)
        names = relative_files(first)
        expected = ["%dx%d/pimwarden.png" % (s, s) for s in SIZES]
        if names != sorted(expected):
            sys.exit("Unexpected icon files: %s" % names)
        _, mismatch, errors = filecmp.cmpfiles(first, second, names, shallow=False)
        if mismatch or errors:
            sys.exit("Two runs differ: %s" % ", ".join(mismatch + errors))
        for size in SIZES:
            icon = Image.open(os.path.join(first, "%dx%d" % (size, size), "pimwarden.png"))
            alpha = icon.getchannel("A")
            if icon.size != (size, size) or icon.mode != "RGBA":
                sys.exit("The %d icon is %s %s." % (size, icon.size, icon.mode))
            if alpha.getpixel((0, 0)) != 0 or alpha.getpixel((size - 1, size - 1)) != 0:
                sys.exit("The %d icon has opaque corners." % size)
            if alpha.getpixel((size // 2, size // 2)) != 255:
                sys.exit("The %d icon is not opaque in the middle." % size)
    print("make_icons.py makes the same %d icons every time." % len(SIZES))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--picture", default=DEFAULT_PICTURE, help="800x600 title picture")
    parser.add_argument("--out", help="output folder")
    parser.add_argument("--check", action="store_true",
                        help="check the generator instead of writing icons")
    args = parser.parse_args()

    if not os.path.exists(args.picture):
        sys.exit("Picture %s not found." % args.picture)
    if args.check:
        check(args.picture)
    elif args.out:
        make_icons(args.picture, args.out)
    else:
        parser.error("give --out DIR or --check")


if __name__ == "__main__":
    main()
