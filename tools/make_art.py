#!/usr/bin/python3
"""Draws every picture and animation frame of Pim Warden, writes the image and animation bank
fragments that describe them, and a contact sheet of the whole set.

    /usr/bin/python3 tools/make_art.py            # writes game/data/images/*.png,
                                                  # tools/resources/{images,animations}.xml and
                                                  # docs/contact_sheet.png
    /usr/bin/python3 tools/make_art.py --check    # draws into a temporary folder and compares
                                                  # byte for byte with the committed files
                                                  # (exit status 1 when anything differs)
    /usr/bin/python3 tools/make_art.py --preview DIR   # also writes mock game screens to DIR

Needs python3-pil, python3-numpy, fonts-dejavu-core and fonts-liberation. Everything is drawn
from shapes and seeded noise, so a run gives the same bytes every time.

Look: a castle wall at dusk, lit by the moon from the upper left and by two torches. Figures are
built from shaded shapes (three tones each, light from the upper left), drawn at four times the
final size and reduced, then ringed by a one-pixel dark outline, so they read at 1x against the
wall.

Placement (y upwards, the game's 800 x 600 space): the wall's face ends at y = 473, where a foe
has won; the walkway above it is where Pim's feet stand (his position is y = 500); a stone is held
40 above his position, resting on his raised hands. Sprite hotspots are counted from the
picture's top-left corner, y downwards, and mark the point that lands on the sprite's position:
the feet of Pim and the foes, the bottom of stone and trunk; a tumbling foe turns around its
body's middle, 27 above its position (a knocked-off foe jumps up a little, and reaches foes up to
40 above it, the farthest that the rules let it knock off). Pictures that the game draws directly
(wall, title screen, lettering) are placed by their hotspot as the image drawing rule does: the
picture's lower-left corner goes to (x - hotX, y + hotY).
"""

import argparse
import filecmp
import math
import os
import sys
import tempfile

import numpy as np
from PIL import Image, ImageDraw, ImageFont

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT_IMAGES = os.path.join("game", "data", "images")
OUT_XML = os.path.join("tools", "resources")
OUT_SHEET = os.path.join("docs", "contact_sheet.png")

FONT_DIR_DEJAVU = "/usr/share/fonts/truetype/dejavu/"
FONT_DIR_LIBERATION = "/usr/share/fonts/truetype/liberation/"
FONT_TITLE = FONT_DIR_DEJAVU + "DejaVuSerif-Bold.ttf"
FONT_BOLD = FONT_DIR_DEJAVU + "DejaVuSans-Bold.ttf"
FONT_SANS = FONT_DIR_DEJAVU + "DejaVuSans.ttf"
FONT_CONDENSED = FONT_DIR_LIBERATION + "LiberationSansNarrow-Bold.ttf"

SS = 4  # supersampling of the figures
THRESHOLD = 0.5  # bitmask alpha threshold of everything that collides

# The game's geometry.
SCREEN_W, SCREEN_H = 800, 600
WALL_TOP = 473  # a climbing foe has won here
PIM_Y = 500  # Pim's position
STONE_OFFSET = 40  # a held stone's position above Pim's

# ---------------------------------------------------------------------------------------------
# Palette: every colour of the set. Parts are (base, light, shadow).

OUTLINE = (24, 16, 34)
LINE = (34, 24, 44)

STEEL = ((146, 158, 182), (214, 222, 236), (80, 88, 118))
CRIMSON = ((176, 40, 52), (226, 86, 78), (100, 22, 48))
GOLD = ((232, 184, 66), (255, 232, 140), (158, 100, 36))
SKIN = ((234, 172, 128), (252, 212, 168), (176, 104, 92))
MAIL = ((104, 112, 140), (156, 164, 188), (60, 64, 94))
TROUSERS = ((56, 62, 104), (88, 98, 148), (34, 34, 68))
CAPE = ((40, 52, 118), (72, 92, 170), (24, 26, 70))
BOOT = ((98, 60, 40), (146, 98, 62), (58, 34, 32))
BELT = ((90, 54, 36), (138, 92, 56), (52, 30, 28))
HAIR = ((112, 68, 40), (160, 108, 64), (64, 36, 30))

GOBLIN = ((110, 170, 62), (168, 214, 98), (52, 100, 52))
GOBLIN_DARK = ((84, 134, 54), (124, 176, 76), (40, 80, 46))
LEATHER = ((130, 82, 48), (176, 122, 74), (78, 46, 38))
CLOTH = ((98, 66, 108), (144, 104, 150), (58, 36, 70))
BONE = ((230, 222, 196), (255, 250, 232), (160, 146, 130))
EYE_YELLOW = (255, 226, 70)
MOUTH = (84, 20, 36)

ROCK = ((170, 152, 126), (230, 216, 184), (96, 82, 84))
BARK = ((122, 80, 48), (168, 118, 70), (70, 44, 36))
WOOD_END = ((214, 170, 110), (242, 210, 150), (160, 112, 70))
IRON = ((70, 66, 84), (120, 116, 136), (40, 36, 54))
BAT = ((30, 20, 44), (58, 44, 80), (18, 12, 28))
FLAME = ((255, 150, 40), (255, 210, 90), (220, 90, 30))
DRESSED = ((124, 122, 146), (176, 174, 194), (72, 70, 96))

WALL_STONE = np.array([96, 98, 122], np.float32)
WALL_LIGHT = np.array([150, 150, 170], np.float32)
WALL_SHADE = np.array([52, 50, 74], np.float32)
MORTAR = np.array([32, 28, 46], np.float32)
MOSS = np.array([70, 112, 58], np.float32)
SKY_TOP = np.array([14, 16, 46], np.float32)
SKY_MID = np.array([58, 38, 96], np.float32)
SKY_LOW = np.array([214, 112, 92], np.float32)
TORCH = np.array([255, 170, 70], np.float32)


def shade(part, t):
    """A colour between the part's shadow (t = -1), base (0) and light (1)."""
    base, light, dark = (np.array(c, np.float32) for c in part)
    if t >= 0:
        return tuple(int(round(v)) for v in base + (light - base) * t)
    return tuple(int(round(v)) for v in base + (dark - base) * -t)


# ---------------------------------------------------------------------------------------------
# Raster helpers (NumPy arrays, rows from the top).


def shift(mask, dx, dy):
    """`out[y, x] = mask[y - dy, x - dx]`, false outside."""
    h, w = mask.shape
    out = np.zeros_like(mask)
    xs0, xs1 = max(0, -dx), min(w, w - dx)
    ys0, ys1 = max(0, -dy), min(h, h - dy)
    if xs0 < xs1 and ys0 < ys1:
        out[ys0 + dy:ys1 + dy, xs0 + dx:xs1 + dx] = mask[ys0:ys1, xs0:xs1]
    return out


def erode(mask, r):
    """Erosion by a (2r+1) square."""
    out = mask.copy()
    for d in range(1, r + 1):
        out &= shift(mask, d, 0) & shift(mask, -d, 0)
    res = out.copy()
    for d in range(1, r + 1):
        res &= shift(out, 0, d) & shift(out, 0, -d)
    return res


def dilate_max(a, r=1):
    """Grey dilation of a float array by a (2r+1) square."""
    out = a.copy()
    h, w = a.shape
    pad = np.pad(a, r)
    for dy in range(-r, r + 1):
        for dx in range(-r, r + 1):
            out = np.maximum(out, pad[r + dy:r + dy + h, r + dx:r + dx + w])
    return out


def reduce(rgba, factor):
    """Box-filters a float RGBA array (straight alpha, 0..255) down by `factor`, premultiplied so
    that transparent pixels do not darken edges."""
    h, w, _ = rgba.shape
    a = rgba[..., 3:4] / 255.0
    pre = np.concatenate([rgba[..., :3] * a, a], axis=2)
    pre = pre.reshape(h // factor, factor, w // factor, factor, 4).mean(axis=(1, 3))
    alpha = pre[..., 3:4]
    rgb = np.where(alpha > 0, pre[..., :3] / np.maximum(alpha, 1e-6), 0)
    return np.concatenate([rgb, alpha * 255.0], axis=2)


def over(top, bottom):
    """Straight-alpha `top` over `bottom` (float arrays, 0..255)."""
    ta = top[..., 3:4] / 255.0
    ba = bottom[..., 3:4] / 255.0
    oa = ta + ba * (1 - ta)
    rgb = np.where(oa > 0, (top[..., :3] * ta + bottom[..., :3] * ba * (1 - ta)) /
                   np.maximum(oa, 1e-6), 0)
    return np.concatenate([rgb, oa * 255.0], axis=2)


def outlined(rgba, width=1, colour=OUTLINE):
    """Puts a dark ring of `width` pixels around the picture's shape."""
    a = rgba[..., 3]
    ring = dilate_max(a, width)
    back = np.zeros_like(rgba)
    back[..., :3] = colour
    back[..., 3] = ring
    return over(rgba, back)


def stamp(img, rgba, x, y):
    """Lays a straight-alpha RGBA picture over an opaque RGB picture, its top-left corner at
    (x, y); whatever falls outside is cut off."""
    h, w = rgba.shape[:2]
    x0, y0 = max(0, x), max(0, y)
    x1, y1 = min(img.shape[1], x + w), min(img.shape[0], y + h)
    if x1 <= x0 or y1 <= y0:
        return
    part = rgba[y0 - y:y1 - y, x0 - x:x1 - x]
    a = part[..., 3:4] / 255
    region = img[y0:y1, x0:x1]
    region[:] = region * (1 - a) + part[..., :3] * a


def to_image(rgba):
    return Image.fromarray(np.clip(np.round(rgba), 0, 255).astype(np.uint8), "RGBA")


def noise(shape, cell, seed):
    """Smooth value noise in [0, 1] with features about `cell` pixels wide."""
    rng = np.random.default_rng(seed)
    h, w = shape
    small = rng.random((h // cell + 3, w // cell + 3)).astype(np.float32)
    img = Image.fromarray((small * 255).astype(np.uint8), "L")
    big = img.resize(((w // cell + 3) * cell, (h // cell + 3) * cell), Image.BICUBIC)
    return np.asarray(big, np.float32)[cell:cell + h, cell:cell + w] / 255.0


# ---------------------------------------------------------------------------------------------
# Figures: shapes in model units (pixels at 1x, y upwards, origin at the feet), painted with three
# tones and thin inner lines on a supersampled canvas.


class Figure:
    def __init__(self, w, h, ox, oy, scale=1.0, ss=SS):
        """A w x h picture (1x pixels) whose model origin lies at (ox, oy), counted from the
        top-left corner, y downwards."""
        self.w, self.h, self.ss = w, h, ss
        self.k = scale * ss
        self.ox, self.oy = ox * ss, oy * ss
        self.rgba = np.zeros((h * ss, w * ss, 4), np.float32)
        self.angle = 0.0
        self.pivot = (0.0, 0.0)

    def rotate(self, degrees, pivot):
        """Turns every later shape by `degrees` (counter-clockwise) around the model point."""
        self.angle = math.radians(degrees)
        self.pivot = pivot

    def pt(self, x, y):
        if self.angle:
            px, py = self.pivot
            c, s = math.cos(self.angle), math.sin(self.angle)
            x, y = px + (x - px) * c - (y - py) * s, py + (x - px) * s + (y - py) * c
        return (self.ox + x * self.k, self.oy - y * self.k)

    def _new(self):
        m = Image.new("L", (self.w * self.ss, self.h * self.ss), 0)
        return m, ImageDraw.Draw(m)

    def _mask(self, draw_fn):
        m, d = self._new()
        draw_fn(d)
        return np.asarray(m) > 127

    def poly_mask(self, pts):
        return self._mask(lambda d: d.polygon([self.pt(x, y) for x, y in pts], fill=255))

    def ellipse_pts(self, cx, cy, rx, ry, tilt=0.0, n=40):
        t = math.radians(tilt)
        out = []
        for i in range(n):
            a = 2 * math.pi * i / n
            x, y = rx * math.cos(a), ry * math.sin(a)
            out.append((cx + x * math.cos(t) - y * math.sin(t),
                        cy + x * math.sin(t) + y * math.cos(t)))
        return out

    def ellipse_mask(self, cx, cy, rx, ry, tilt=0.0):
        return self.poly_mask(self.ellipse_pts(cx, cy, rx, ry, tilt))

    def capsule_mask(self, pts, r):
        """A thick polyline with round ends and joints, radius r."""
        def fn(d):
            p = [self.pt(x, y) for x, y in pts]
            rr = r * self.k
            d.line(p, fill=255, width=max(1, int(round(2 * rr))))
            for x, y in p:
                d.ellipse((x - rr, y - rr, x + rr, y + rr), fill=255)
        return self._mask(fn)

    def paint(self, mask, part, line=True, lit=True, light=0.9, dark=1.6):
        """Paints a mask in the part's base colour with a lit rim on its upper-left side, a
        shadow on its lower-right side and a thin dark edge."""
        if isinstance(part[0], int):
            part = (part, part, part)
        col = np.zeros(mask.shape + (3,), np.float32)
        col[:] = part[0]
        if lit:
            kd = max(1, int(round(dark * self.k)))
            kl = max(1, int(round(light * self.k)))
            # The shading directions stay fixed on screen, whatever the figure's rotation.
            sh = mask & ~shift(mask, -kd, -kd)
            col[sh] = part[2]
            hl = mask & ~shift(mask, kl, kl)
            col[hl & ~sh] = part[1]
            # A soft ramp across the part, lighter towards the light, for volume.
            ys, xs = np.nonzero(mask)
            if len(ys):
                cy, cx = (ys.min() + ys.max()) / 2, (xs.min() + xs.max()) / 2
                hy, hx = max(1, (ys.max() - ys.min()) / 2), max(1, (xs.max() - xs.min()) / 2)
                u = (np.arange(mask.shape[1]) - cx) / hx
                v = (np.arange(mask.shape[0]) - cy) / hy
                ramp = np.clip(1.0 - 0.09 * (u[None, :] + v[:, None]), 0.8, 1.2)
                col *= ramp[..., None]
        if line:
            lw = max(1, int(round(0.42 * self.k)))
            edge = mask & ~erode(mask, lw)
            col[edge] = LINE
        self.rgba[mask, :3] = col[mask]
        self.rgba[mask, 3] = 255

    # Shorthands.
    def ellipse(self, cx, cy, rx, ry, part, tilt=0.0, **kw):
        self.paint(self.ellipse_mask(cx, cy, rx, ry, tilt), part, **kw)

    def poly(self, pts, part, **kw):
        self.paint(self.poly_mask(pts), part, **kw)

    def capsule(self, pts, r, part, **kw):
        self.paint(self.capsule_mask(pts, r), part, **kw)

    def finish(self, outline=1):
        small = reduce(self.rgba, self.ss)
        if outline:
            small = outlined(small, outline)
        return to_image(small)


# ---------------------------------------------------------------------------------------------
# Pim, the warden: seen from the front, arms raised to hold his stone above his helmet.

PIM_W, PIM_H = 40, 52
PIM_HOT = (20, 49)  # his feet
PIM_FRAMES = 6
PIM_DELAY = 55


def mail_rings(fig, mask):
    """Rows of small dark rings over a chain-mail part."""
    h, w = mask.shape
    p = max(4, int(round(fig.k * 1.3)))
    yy, xx = np.mgrid[0:h, 0:w]
    xx = xx + (yy // p % 2) * (p // 2)
    d = np.hypot(xx % p - p / 2, yy % p - p / 2)
    ring = mask & erode(mask, max(1, int(0.5 * fig.k))) & (np.abs(d - p * 0.33) < p * 0.1)
    fig.rgba[ring, :3] = fig.rgba[ring, :3] * 0.6


def draw_pim(fig, t, big=False):
    """Pim at walk phase t (0..1): front view, one knee lifting at a time."""
    s = math.sin(2 * math.pi * t)
    bob = -0.8 * abs(math.cos(2 * math.pi * t)) + 0.4
    lift_l = max(0.0, s) * 3.4
    lift_r = max(0.0, -s) * 3.4
    hip_y = 11.5 + bob

    # A cape behind him, showing at his sides and swinging a little with the step.
    sway = 0.6 * s
    fig.poly([(-6.4, 22.5 + bob), (6.4, 22.5 + bob), (10.2 + sway, 4.0), (6.0 + sway, 2.6),
              (0, 3.6), (-6.0 + sway, 2.6), (-10.2 + sway, 4.0)], CAPE)

    # Legs and boots.
    for side, lift in ((-1, lift_l), (1, lift_r)):
        hip = (side * 3.2, hip_y)
        foot = (side * 4.2, 1.6 + lift)
        knee = (side * (4.6 + lift * 0.45), (hip[1] + foot[1]) / 2 + lift * 0.25)
        fig.capsule([hip, knee, foot], 2.5, TROUSERS)
        fig.ellipse(side * 4.6, 1.5 + lift, 3.5, 2.1 - lift * 0.12, BOOT)
    # Arms raised, chain-mail sleeves, gripping the stone's lower sides.
    for side in (-1, 1):
        shoulder = (side * 6.4, 21.5 + bob)
        hand = (side * 9.0, 43.0)
        elbow = (side * 11.4, 31.0 + bob * 0.5)
        sleeve = fig.capsule_mask([shoulder, elbow, hand], 2.3)
        fig.paint(sleeve, MAIL)
        if big:
            mail_rings(fig, sleeve)
        fig.ellipse(hand[0], hand[1] - 0.3, 2.5, 2.7, SKIN, dark=1.0)
    # Body: tabard over mail, flaring towards the hem, gold cross, belt.
    top = 23.2 + bob
    fig.poly([(-6.6, top), (-2.0, top), (0, top - 2.0), (2.0, top), (6.6, top), (8.0, hip_y - 2.6),
              (0, hip_y - 4.2), (-8.0, hip_y - 2.6)], CRIMSON)
    fig.poly([(-1.1, top - 3.0), (1.1, top - 3.0), (1.1, hip_y - 2.8), (-1.1, hip_y - 2.8)], GOLD,
             line=False)
    fig.poly([(-3.8, top - 5.6), (3.8, top - 5.6), (3.8, top - 7.4), (-3.8, top - 7.4)], GOLD,
             line=False)
    fig.poly([(-7.6, hip_y + 2.0), (7.6, hip_y + 2.0), (7.8, hip_y + 0.0), (-7.8, hip_y + 0.0)],
             BELT)
    fig.poly([(-1.6, hip_y + 2.4), (1.6, hip_y + 2.4), (1.6, hip_y - 0.4), (-1.6, hip_y - 0.4)],
             GOLD)
    # Head: a round face under a kettle helmet, ears, eyes, nose, moustache.
    hy = 28.2 + bob
    for side in (-1, 1):
        fig.ellipse(side * 5.3, hy - 0.4, 1.4, 1.8, SKIN, dark=0.8)
    fig.ellipse(0, hy, 5.4, 5.3, SKIN, dark=1.0, light=0.8)
    for side in (-1, 1):
        if big:
            fig.ellipse(side * 2.1, hy + 0.5, 1.1, 1.25, (250, 250, 245), line=False, lit=False)
        fig.ellipse(side * 2.0, hy + 0.4, 0.6, 0.85, OUTLINE, line=False, lit=False)
        if big:
            fig.ellipse(side * 1.8, hy + 0.8, 0.24, 0.24, (255, 255, 255), line=False, lit=False)
    fig.capsule([(-2.8, hy - 2.3), (-0.9, hy - 1.7), (0.9, hy - 1.7), (2.8, hy - 2.3)], 0.7, HAIR,
                line=False)
    if big:  # a gold hem on the tabard
        fig.capsule([(-7.7, hip_y - 2.5), (0, hip_y - 4.0), (7.7, hip_y - 2.5)], 0.28, GOLD,
                    line=False, lit=False)
    fig.ellipse(0, hy - 0.7, 1.35, 1.25, SKIN, dark=0.5, light=0.4)
    dome = [(6.0 * math.cos(a), hy + 2.2 + 5.6 * math.sin(a)) for a in np.linspace(0, math.pi, 16)]
    fig.poly([(-6.0, hy + 2.2)] + dome[::-1] + [(6.0, hy + 2.2)], STEEL)
    fig.ellipse(0, hy + 2.0, 8.6, 1.7, STEEL, dark=0.9)
    fig.ellipse(0, hy + 7.9, 1.0, 1.0, GOLD)


def make_pim_frames():
    frames = []
    for i in range(PIM_FRAMES):
        fig = Figure(PIM_W, PIM_H, PIM_HOT[0], PIM_HOT[1])
        draw_pim(fig, i / PIM_FRAMES)
        frames.append(fig.finish())
    return frames


# ---------------------------------------------------------------------------------------------
# The foes: goblins. Climbing and side-stepping are seen from behind; falling and cheering from
# the front.

FOE_SCALE = 1.1
FOE_W, FOE_H = 40, 56
FOE_HOT = (20, 54)  # the feet
FALL_S = 60  # fall frames are square, turning around the body's middle
FALL_BODY = 18.0  # height of the body's middle above the feet, where a fall turns it
# A knocked-off foe jumps up a little: the middle of its tumbling body is this far above its
# position, so that it still touches a foe 40 above it (the farthest that knocks one off).
FALL_PIVOT = 27.0


def goblin_ears(fig, hy, droop=0.0):
    for side in (-1, 1):
        fig.poly([(side * 4.0, hy + 3.0), (side * 13.0, hy + 5.2 - droop), (side * 4.6, hy - 2.0)],
                 GOBLIN, dark=0.8)


def goblin_back(fig, hands, feet, lean=0.0, hy=31.0):
    """A goblin from behind; hands and feet are (left, right) points."""
    hip_y, sh_y = 12.0, 24.0
    for side, foot in ((-1, feet[0]), (1, feet[1])):
        hip = (side * 3.4 + lean, hip_y)
        knee = (hip[0] + foot[0]) / 2 + side * (3.0 + foot[1] * 0.35), (hip[1] + foot[1]) / 2 + 1.5
        fig.capsule([hip, knee, foot], 2.2, GOBLIN_DARK)
        fig.ellipse(foot[0] + side * 0.8, foot[1] - 0.2, 2.9, 1.7, GOBLIN_DARK)
    for side, hand in ((-1, hands[0]), (1, hands[1])):
        shoulder = (side * 5.6 + lean, sh_y)
        elbow = ((shoulder[0] + hand[0]) / 2 + side * 3.2, (shoulder[1] + hand[1]) / 2 - 1.0)
        fig.capsule([shoulder, elbow, hand], 2.0, GOBLIN)
        fig.ellipse(hand[0], hand[1], 2.4, 2.2, GOBLIN)
    # Loincloth, back with leather vest, rope belt with a dagger.
    fig.poly([(-5.2 + lean, hip_y + 1.5), (5.2 + lean, hip_y + 1.5), (4.2 + lean, hip_y - 4.2),
              (-4.2 + lean, hip_y - 4.2)], CLOTH)
    fig.poly([(-6.6 + lean, sh_y + 1.6), (6.6 + lean, sh_y + 1.6), (5.6 + lean, hip_y + 0.6),
              (-5.6 + lean, hip_y + 0.6)], LEATHER)
    fig.poly([(-0.5 + lean, sh_y + 0.2), (0.5 + lean, sh_y + 0.2), (0.5 + lean, hip_y + 1.4),
              (-0.5 + lean, hip_y + 1.4)], LEATHER[2], line=False, lit=False)
    fig.capsule([(-5.8 + lean, hip_y + 1.4), (5.8 + lean, hip_y + 1.4)], 0.8, BELT, line=False)
    fig.poly([(3.4 + lean, hip_y + 2.6), (5.0 + lean, hip_y + 2.6), (6.6 + lean, hip_y - 3.4),
              (5.6 + lean, hip_y - 3.0)], BONE)
    # Head from behind: big round skull, ears, a dark top-knot.
    goblin_ears(fig, hy)
    fig.ellipse(lean * 0.6, hy, 5.8, 5.6, GOBLIN)
    fig.capsule([(lean * 0.6 - 0.3, hy + 4.4), (lean * 0.6 + 0.6, hy + 7.0),
                 (lean * 0.6 + 2.6, hy + 8.0)], 1.3, HAIR)


def goblin_face(fig, hy, mouth_open=0.0, lean=0.0, big=False):
    """A goblin's head from the front at height hy."""
    goblin_ears(fig, hy)
    fig.ellipse(lean, hy, 5.8, 5.6, GOBLIN)
    for side in (-1, 1):
        fig.ellipse(lean + side * 2.2, hy + 1.1, 1.4, 1.25, EYE_YELLOW, line=False, lit=False)
        fig.ellipse(lean + side * 2.0, hy + 1.0, 0.55, 0.75, OUTLINE, line=False, lit=False)
        fig.capsule([(lean + side * 3.6, hy + 3.0), (lean + side * 1.0, hy + 2.2)], 0.45, OUTLINE,
                    line=False, lit=False)
    fig.ellipse(lean, hy - 0.6, 1.3, 1.2, GOBLIN_DARK, line=False)
    if mouth_open > 0:
        fig.ellipse(lean, hy - 3.0, 2.8, 0.6 + mouth_open * 1.6, MOUTH, line=False, lit=False)
        fig.poly([(lean - 2.0, hy - 2.4), (lean - 1.2, hy - 2.4), (lean - 1.6, hy - 3.4)],
                 (250, 246, 230), line=False, lit=False)
        fig.poly([(lean + 1.2, hy - 2.4), (lean + 2.0, hy - 2.4), (lean + 1.6, hy - 3.4)],
                 (250, 246, 230), line=False, lit=False)
    else:
        fig.capsule([(lean - 2.4, hy - 2.6), (lean, hy - 3.2), (lean + 2.4, hy - 2.6)], 0.45,
                    MOUTH, line=False, lit=False)


def goblin_front(fig, hands, feet, hy=31.0, mouth_open=0.0, lift=0.0):
    """A goblin from the front (vest open over a green belly)."""
    hip_y, sh_y = 12.0 + lift, 24.0 + lift
    for side, foot in ((-1, feet[0]), (1, feet[1])):
        hip = (side * 3.4, hip_y)
        knee = ((hip[0] + foot[0]) / 2 + side * 2.6, (hip[1] + foot[1]) / 2 + 0.8)
        fig.capsule([hip, knee, foot], 2.2, GOBLIN_DARK)
        fig.ellipse(foot[0] + side * 1.2, foot[1] - 0.2, 3.0, 1.7, GOBLIN_DARK)
    for side, hand in ((-1, hands[0]), (1, hands[1])):
        shoulder = (side * 5.6, sh_y)
        elbow = ((shoulder[0] + hand[0]) / 2 + side * 2.6, (shoulder[1] + hand[1]) / 2 - 1.0)
        fig.capsule([shoulder, elbow, hand], 2.0, GOBLIN)
        fig.ellipse(hand[0], hand[1], 2.5, 2.3, GOBLIN)
    fig.poly([(-5.2, hip_y + 1.5), (5.2, hip_y + 1.5), (4.2, hip_y - 4.2), (-4.2, hip_y - 4.2)],
             CLOTH)
    fig.ellipse(0, (sh_y + hip_y) / 2 + 0.6, 6.0, 7.0, GOBLIN)
    for side in (-1, 1):
        fig.poly([(side * 6.6, sh_y + 1.6), (side * 2.4, sh_y + 1.6), (side * 3.0, hip_y + 1.0),
                  (side * 5.8, hip_y + 0.6)], LEATHER)
    fig.capsule([(-5.8, hip_y + 1.4), (5.8, hip_y + 1.4)], 0.8, BELT, line=False)
    goblin_face(fig, hy + lift, mouth_open)


CLIMB_FRAMES, CLIMB_DELAY = 6, 70
STRAFE_FRAMES, STRAFE_DELAY = 4, 60
FALL_FRAMES, FALL_DELAY = 8, 60
VICTORY_FRAMES, VICTORY_DELAY = 4, 110


def climb_pose(t):
    """Hands, feet and sideways sway at climbing phase t (0..1): one hand reaches up while the
    opposite foot steps up; the body sways a quarter cycle behind."""
    s = math.sin(2 * math.pi * t)
    up_l, up_r = (1 + s) / 2, (1 - s) / 2
    hands = ((-8.6, 25.0 + 14.0 * up_l), (8.6, 25.0 + 14.0 * up_r))
    feet = ((-6.8, 1.4 + 7.5 * up_r), (6.8, 1.4 + 7.5 * up_l))
    return hands, feet, 0.9 * math.cos(2 * math.pi * t)


def make_climb_frames():
    frames = []
    for i in range(CLIMB_FRAMES):
        hands, feet, lean = climb_pose(i / CLIMB_FRAMES)
        fig = Figure(FOE_W, FOE_H, FOE_HOT[0], FOE_HOT[1], scale=FOE_SCALE)
        goblin_back(fig, hands, feet, lean=lean)
        frames.append(fig.finish())
    return frames


def make_strafe_frames():
    frames = []
    for i in range(STRAFE_FRAMES):
        c = math.cos(2 * math.pi * i / STRAFE_FRAMES)
        spread = (1 + c) / 2
        lift = math.sin(2 * math.pi * i / STRAFE_FRAMES)
        hands = ((-10.5 - 2.0 * spread, 31.0 + 1.5 * lift),
                 (10.5 + 2.0 * spread, 31.0 - 1.5 * lift))
        feet = ((-3.6 - 5.0 * spread, 1.4 + max(0, lift) * 3.0),
                (3.6 + 5.0 * spread, 1.4 + max(0, -lift) * 3.0))
        fig = Figure(FOE_W, FOE_H, FOE_HOT[0], FOE_HOT[1], scale=FOE_SCALE)
        goblin_back(fig, hands, feet, lean=0.0, hy=30.5)
        frames.append(fig.finish())
    return frames


def make_fall_frames():
    frames = []
    cx = FALL_S / 2
    for i in range(FALL_FRAMES):
        t = i / FALL_FRAMES
        w = math.sin(4 * math.pi * t)
        fig = Figure(FALL_S, FALL_S, cx, cx + FALL_BODY * FOE_SCALE, scale=FOE_SCALE)
        fig.rotate(-360.0 * t, (0.0, FALL_BODY))
        hands = ((-12.5, 33.0 + 4.0 * w), (12.5, 33.0 - 4.0 * w))
        feet = ((-8.0 - 1.5 * w, 2.5 + 2.0 * w), (8.0 - 1.5 * w, 2.5 - 2.0 * w))
        goblin_front(fig, hands, feet, mouth_open=1.0)
        frames.append(fig.finish())
    return frames


def make_victory_frames():
    frames = []
    jumps = [0.0, 2.5, 4.0, 2.5]
    for i in range(VICTORY_FRAMES):
        j = jumps[i]
        fig = Figure(FOE_W, FOE_H, FOE_HOT[0], FOE_HOT[1], scale=FOE_SCALE)
        pump = 3.0 * (j / 4.0)
        hands = ((-9.5 - pump * 0.4, 36.0 + pump + j), (9.5 + pump * 0.4, 36.0 + pump + j))
        feet = ((-5.0 - j * 0.3, 2.2 + j), (5.0 + j * 0.3, 2.2 + j))
        goblin_front(fig, hands, feet, lift=j, mouth_open=0.6 + j / 8)
        frames.append(fig.finish())
    return frames


def make_foe_base():
    fig = Figure(FOE_W, FOE_H, FOE_HOT[0], FOE_HOT[1], scale=FOE_SCALE)
    goblin_front(fig, ((-10.0, 17.0), (10.0, 17.0)), ((-4.6, 1.4), (4.6, 1.4)))
    return fig.finish()


# ---------------------------------------------------------------------------------------------
# The stone and the trunk. Both rest on Pim's hands: their hotspot is their bottom.

STONE_W, STONE_H = 28, 28
TRUNK_W, TRUNK_H = 76, 28


def rock_outline(cx, cy, r, seed, n=11):
    rng = np.random.default_rng(seed)
    pts = []
    for i in range(n):
        a = 2 * math.pi * (i + 0.3 * rng.random()) / n
        rr = r * (0.86 + 0.16 * rng.random())
        pts.append((cx + rr * math.cos(a) * 1.08, cy + rr * math.sin(a) * 0.92))
    return pts


def draw_stone(fig, cx, cy, r, seed=7):
    """A faceted boulder: a flat top face towards the light and facets around it, each shaded by
    where it faces."""
    pts = rock_outline(cx, cy, r, seed)
    whole = fig.poly_mask(pts)
    top_c = (cx - r * 0.22, cy + r * 0.24)
    top = [(top_c[0] + (x - cx) * 0.5, top_c[1] + (y - cy) * 0.5) for x, y in pts]
    light = (-0.6, 0.8)
    for i in range(len(pts)):
        p, q = pts[i], pts[(i + 1) % len(pts)]
        tp, tq = top[i], top[(i + 1) % len(pts)]
        mx, my = (p[0] + q[0]) / 2 - top_c[0], (p[1] + q[1]) / 2 - top_c[1]
        d = math.hypot(mx, my) or 1.0
        facing = (mx * light[0] + my * light[1]) / d
        fig.poly([tp, p, q, tq], shade(ROCK, 0.05 + facing * 0.95), line=False, lit=False)
    fig.poly(top, shade(ROCK, 0.55), line=False, lit=False)
    # Facet edges, pits and the outer edge line.
    for i in range(len(pts)):
        fig.capsule([top[i], pts[i]], 0.16, shade(ROCK, -0.55), line=False, lit=False)
    rng = np.random.default_rng(seed + 2)
    for _ in range(int(r * 0.8)):
        a, dd = rng.random() * 2 * math.pi, rng.random() * r * 0.7
        fig.ellipse(cx + dd * math.cos(a), cy + dd * math.sin(a), 0.4, 0.4, shade(ROCK, -0.7),
                    line=False, lit=False)
    lw = max(1, int(round(0.42 * fig.k)))
    fig.rgba[whole & ~erode(whole, lw), :3] = LINE


def make_stone():
    fig = Figure(STONE_W, STONE_H, STONE_W / 2, STONE_H - 2)
    draw_stone(fig, 0, 11.5, 11.0)
    return fig.finish()


def draw_trunk(fig, length, r, big=False):
    half = length / 2
    fig.capsule([(-half + r * 0.4, r), (half - r * 0.4, r)], r, BARK, dark=r * 0.45, light=r * 0.2)
    # Bark grooves, a knot and a stub of a branch.
    rng = np.random.default_rng(3)
    for i in range(9):
        x0 = -half + 6 + i * (length - 14) / 8 + rng.random() * 2
        y0 = r + (rng.random() - 0.5) * r * 1.2
        fig.capsule([(x0, y0), (x0 + 5 + rng.random() * 3, y0 + (rng.random() - 0.5) * 1.5)],
                    0.35, BARK[2], line=False, lit=False)
    fig.ellipse(half * 0.25, r * 1.3, 1.8, 1.2, BARK[2], line=False)
    fig.capsule([(-half * 0.3, r * 1.75), (-half * 0.36, r * 2.05)], 1.6, BARK)
    fig.ellipse(-half * 0.36, r * 2.1, 1.2, 0.7, WOOD_END, line=False)
    # The cut end, with its rings.
    fig.ellipse(-half + r * 0.4, r, r * 0.55, r * 0.98, WOOD_END, light=0.3, dark=0.6)
    for k in (0.68, 0.4, 0.15):
        m = fig.ellipse_mask(-half + r * 0.4, r, r * 0.55 * k, r * 0.98 * k)
        ring = m & ~erode(m, max(1, int(0.3 * fig.k)))
        fig.rgba[ring, :3] = WOOD_END[2]


def make_trunk():
    fig = Figure(TRUNK_W, TRUNK_H, TRUNK_W / 2, TRUNK_H - 2)
    draw_trunk(fig, 70, 11.0)
    return fig.finish()


# ---------------------------------------------------------------------------------------------
# The wall: the whole play field, 800 x 600, drawn at (0, 0).

WALL_SS = 2


def row_of(y_world, ss=1):
    """The picture row (from the top) of world height `y_world` at a given supersampling."""
    return int(round((SCREEN_H - y_world) * ss))


def sky(w, h, ss, seed, horizon_y):
    """A dusk sky, rows from the top: indigo above, violet, a warm glow down at the horizon;
    stars and a moon."""
    ys = (np.arange(h, dtype=np.float32) / ss)
    world = SCREEN_H - ys  # world height of each row
    t = np.clip((world - horizon_y) / (SCREEN_H - horizon_y), 0, 1)[:, None]
    low = np.clip((t - 0.0) / 0.45, 0, 1)
    col = np.where(t > 0.45,
                   SKY_MID + (SKY_TOP - SKY_MID) * ((t - 0.45) / 0.55),
                   SKY_LOW + (SKY_MID - SKY_LOW) * low ** 0.6)
    img = np.zeros((h, w, 3), np.float32)
    img[:] = col[:, None, :].reshape(h, 1, 3)
    # Wisps of cloud.
    n = noise((h, w), 28 * ss, seed)
    band = np.clip((n - 0.55) * 3, 0, 1)[..., None] * 0.35
    img = img * (1 - band) + (SKY_MID * 1.25 + 18) * band
    # Stars, denser and brighter high up.
    rng = np.random.default_rng(seed + 1)
    for _ in range(160):
        x = rng.random() * w
        yr = rng.random() ** 1.6 * h * 0.8
        b = rng.random()
        fade = 1 - yr / h
        r = (0.6 + b * 0.7) * ss
        col_star = np.array([255, 246, 220], np.float32)
        y0, y1 = int(max(0, yr - 2 * r)), int(min(h, yr + 2 * r + 1))
        x0, x1 = int(max(0, x - 2 * r)), int(min(w, x + 2 * r + 1))
        yy, xx = np.mgrid[y0:y1, x0:x1]
        a = np.clip(1 - np.hypot(yy - yr, xx - x) / r, 0, 1)[..., None] * (0.35 + 0.65 * b) * fade
        img[y0:y1, x0:x1] = img[y0:y1, x0:x1] * (1 - a) + col_star * a
    return img


def draw_moon(img, ss, cx, cy, r):
    """A moon with a glow, centre given in picture pixels (1x) from the top-left."""
    h, w, _ = img.shape
    yy, xx = np.mgrid[0:h, 0:w].astype(np.float32) / ss
    d = np.hypot(xx - cx, yy - cy)
    glow = np.clip(1 - (d - r) / (r * 3.5), 0, 1) ** 2 * 0.45
    img[:] = img + (np.array([255, 236, 200], np.float32) - img) * glow[..., None]
    disc = np.clip(r - d + 0.5, 0, 1)
    # Lit from the lower left by the sunken sun: a slightly shaded upper-right side, and maria.
    body = (np.array([250, 240, 214], np.float32) -
            np.clip((xx - cx + yy - cy) / r, 0, 1)[..., None] * 40)
    spots = noise((h, w), 3 * ss, 91)
    body = body - (spots > 0.62)[..., None] * 26
    img[:] = img * (1 - disc[..., None]) + body * disc[..., None]


def brick_course(img, y0, y1, ss, rng, xoff, widths, base_light, face_tex, mossy):
    """One course of stones between picture rows y0 and y1 (supersampled pixels)."""
    x = -xoff
    w = img.shape[1]
    gap = 2 * ss // 2 + 1
    while x < w:
        sw = int(rng.integers(widths[0], widths[1]) * ss)
        x0, x1 = max(0, x + gap // 2), min(w, x + sw - gap // 2)
        if x1 > x0:
            tint = 1.0 + (rng.random() - 0.5) * 0.26
            warmth = (rng.random() - 0.5) * 0.11
            hue = np.array([1.0 + warmth, 1.0 + warmth * 0.3, 1.0 - warmth])
            stone = WALL_STONE * tint * hue * base_light
            yy0, yy1 = y0 + gap // 2, y1 - gap // 2
            region = img[yy0:yy1, x0:x1]
            tex = face_tex[yy0:yy1, x0:x1]
            region[:] = stone * (0.82 + 0.36 * tex[..., None])
            # Bevel: lit top and left, shaded bottom and right; rounded corners show the mortar.
            b = max(1, int(1.5 * ss))
            region[:b] = region[:b] * 0.4 + WALL_LIGHT * base_light * 0.75
            region[:, :b] = region[:, :b] * 0.55 + WALL_LIGHT * base_light * 0.5
            region[-2 * b:] = region[-2 * b:] * 0.45 + WALL_SHADE * 0.55
            region[:, -b:] = region[:, -b:] * 0.5 + WALL_SHADE * 0.5
            c = 2 * ss
            for cy_, cx_ in ((0, 0), (0, region.shape[1] - 1), (region.shape[0] - 1, 0),
                             (region.shape[0] - 1, region.shape[1] - 1)):
                yy, xx = np.mgrid[0:region.shape[0], 0:region.shape[1]]
                corner = (np.abs(yy - cy_) + np.abs(xx - cx_)) < c
                region[corner] = MORTAR
            # Now and then a crack or a patch of moss.
            if rng.random() < 0.06 and x1 - x0 > 12 * ss:
                cx0 = int(rng.integers(4 * ss, x1 - x0 - 4 * ss))
                pts = [(cx0, 0)]
                for k in range(1, 5):
                    pts.append((pts[-1][0] + int(rng.integers(-3, 4) * ss),
                                k * region.shape[0] // 4))
                crack = Image.new("L", (region.shape[1], region.shape[0]), 0)
                ImageDraw.Draw(crack).line(pts, fill=255, width=ss)
                cm = np.asarray(crack) > 127
                region[cm] = MORTAR * 1.2
                lip = shift(cm, ss, ss) & ~cm
                region[lip] = region[lip] * 0.6 + WALL_LIGHT * 0.4
            if mossy and rng.random() < 0.12:
                mx = rng.random() * region.shape[1]
                yy, xx = np.mgrid[0:region.shape[0], 0:region.shape[1]]
                blob = (((xx - mx) / (region.shape[1] * 0.4)) ** 2 +
                        (yy / (region.shape[0] * 0.9)) ** 2)
                mm = (blob + tex * 0.9) < 1.0
                region[mm] = region[mm] * 0.55 + MOSS * base_light * (0.35 + 0.25 * tex[mm, None])
        x += sw


def make_wall(with_sky=True):
    """The wall picture; without the sky, the sky is transparent (for the title picture)."""
    ss = WALL_SS
    W, H = SCREEN_W * ss, SCREEN_H * ss
    img = np.zeros((H, W, 3), np.float32)
    rng = np.random.default_rng(2026)
    tex = noise((H, W), 3 * ss, 11) * 0.6 + noise((H, W), 9 * ss, 12) * 0.4

    # Sky with hills and a far tower, above the walkway.
    back_y = 507  # back edge of the walkway
    img[:] = sky(W, H, ss, 5, back_y)
    draw_moon(img, ss, 92, SCREEN_H - 556, 17)
    hills = noise((1, W), 60 * ss, 21)[0] * 14 + noise((1, W), 14 * ss, 22)[0] * 5
    for x in range(W):
        top = row_of(back_y + 10 + hills[x], ss)
        img[top:row_of(back_y - 4, ss), x] = np.array([40, 30, 66], np.float32)
    tower_x = 640 * ss
    tw = 26 * ss
    t_top = row_of(back_y + 52, ss)
    img[t_top:row_of(back_y, ss), tower_x:tower_x + tw] = np.array([34, 26, 58], np.float32)
    for k in range(5):  # the tower's roof
        img[t_top - (k + 1) * 3 * ss:t_top - k * 3 * ss,
            tower_x - 3 * ss + k * 3 * ss:tower_x + tw + 3 * ss - k * 3 * ss] = np.array(
                [34, 26, 58], np.float32)
    win = row_of(back_y + 38, ss)
    img[win:win + 5 * ss, tower_x + 10 * ss:tower_x + 14 * ss] = TORCH

    # Bats out for the night, well away from the score in the upper right corner.
    for bx_, by_, flap in ((468, 578, 1.0), (500, 589, -0.6), (212, 585, 0.3)):
        bat = Figure(24, 14, 12, 7, ss=ss)
        for side in (-1, 1):
            tip = (side * 10.5, 2.5 * flap + 1.0)
            bat.poly([(side * 1.0, 1.2), (side * 4.5, 2.2 + flap), tip, (side * 7.5, -1.2),
                      (side * 5.0, -0.4), (side * 3.0, -1.6), (side * 1.0, -0.8)], BAT, line=False)
        bat.ellipse(0, 0.2, 1.7, 2.2, BAT, line=False)
        for side in (-1, 1):
            bat.poly([(side * 0.6, 1.8), (side * 1.6, 3.6), (side * 1.5, 1.6)], BAT, line=False)
        stamp(img, bat.rgba, int((bx_ - 12) * ss), int((SCREEN_H - by_ - 7) * ss))

    # Back parapet with merlons, behind the walkway.
    par_lo, par_hi, merlon_hi = back_y - 2, back_y + 10, back_y + 34
    merlons = []
    x = -18
    while x < SCREEN_W:
        merlons.append((x, x + 46))
        x += 78
    def stone_block(x0, x1, ylo, yhi, light):
        r0, r1 = row_of(yhi, ss), row_of(ylo, ss)
        c0, c1 = max(0, int(x0 * ss)), min(W, int(x1 * ss))
        if c1 <= c0:
            return
        block = WALL_STONE * 0.78 * light * (0.85 + 0.3 * tex[r0:r1, c0:c1, None])
        img[r0:r1, c0:c1] = block
        b = 2 * ss
        img[r0:r0 + b, c0:c1] = img[r0:r0 + b, c0:c1] * 0.35 + WALL_LIGHT * 0.75
        img[r0:r1, c0:c0 + b] = img[r0:r1, c0:c0 + b] * 0.5 + WALL_LIGHT * 0.45
        img[r0:r1, c1 - b:c1] = img[r0:r1, c1 - b:c1] * 0.5 + WALL_SHADE * 0.5
        img[r0:r1, c0:c0 + ss] = OUTLINE
        img[r0:r1, c1 - ss:c1] = OUTLINE
        img[r0:r0 + ss, c0:c1] = OUTLINE
    stone_block(-10, SCREEN_W + 10, par_lo, par_hi, 0.85)
    solid = np.zeros((H, W), bool)
    solid[row_of(par_hi, ss):] = True
    for x0, x1 in merlons:
        solid[row_of(merlon_hi, ss):row_of(par_hi, ss), max(0, int(x0 * ss)):int(x1 * ss)] = True
    for x0, x1 in merlons:
        stone_block(x0, x1, par_hi - 1, merlon_hi, 0.95)
        # joints in the merlons
        jr = row_of(par_hi + 12, ss)
        img[jr:jr + ss, int(max(0, x0 * ss)):int(min(W, x1 * ss))] = MORTAR

    # The walkway, seen from above: flagstones whose joints lean with the perspective.
    wr0, wr1 = row_of(par_lo, ss), row_of(WALL_TOP, ss)
    for r in range(wr0, wr1):
        depth = (r - wr0) / max(1, wr1 - wr0)  # 0 at the back, 1 at the front edge
        img[r] = (np.array([108, 106, 126], np.float32) * (0.78 + 0.3 * depth)) * (
            0.88 + 0.24 * tex[r, :, None])
    # contact shadow of the parapet on the walkway
    for k in range(4 * ss):
        img[wr0 + k] = img[wr0 + k] * (0.55 + 0.45 * k / (4 * ss))
    # a joint line across the walkway and joints between flags
    mid = (wr0 + wr1) // 2
    img[mid:mid + ss] = img[mid:mid + ss] * 0.55 + MORTAR * 0.45
    for x in range(-40, SCREEN_W + 40, 64):
        for r in range(wr0, wr1):
            depth = (r - wr0) / max(1, wr1 - wr0)
            xx = int((x + (x - SCREEN_W / 2) * 0.08 * depth + (32 if r >= mid else 0)) * ss)
            if 0 <= xx < W - ss:
                img[r, xx:xx + ss] = img[r, xx:xx + ss] * 0.45 + MORTAR * 0.55

    # Coping: a projecting ledge whose top is the walkway's front edge.
    cop_hi, cop_lo = WALL_TOP, WALL_TOP - 11
    c0, c1 = row_of(cop_hi, ss), row_of(cop_lo, ss)
    img[c0:c1] = np.array([126, 124, 146], np.float32) * (0.85 + 0.3 * tex[c0:c1, :, None])
    img[c0:c0 + 2 * ss] = np.array([196, 194, 212], np.float32)  # the lit front edge
    img[c0:c0 + ss // 2 + 1] = np.array([230, 226, 236], np.float32)
    for r in range(c1 - 3 * ss, c1):
        img[r] = img[r] * 0.55 + WALL_SHADE * 0.45
    for x in range(-20, SCREEN_W + 20, 92):
        img[c0 + 2 * ss:c1, max(0, x * ss):max(0, x * ss + ss)] = MORTAR
    img[c1:c1 + ss] = OUTLINE

    # The face: courses of stones from the coping down.
    face0 = c1 + ss
    course = 19 * ss
    r = face0
    i = 0
    while r < H:
        r1 = min(H, r + course)
        light = 1.0 - 0.18 * (r - face0) / (H - face0)
        img[r:r1] = MORTAR
        brick_course(img, r, r1, ss, rng, int(rng.integers(0, 60)) * ss, (28, 64), light, tex,
                     mossy=(i % 3 != 1))
        r = r1
        i += 1
    # Shadow cast by the coping on the face.
    for k in range(8 * ss):
        a = 0.55 * (1 - k / (8 * ss))
        img[face0 + k] = img[face0 + k] * (1 - a) + np.array([20, 16, 36], np.float32) * a

    # Arrow slits in a dressed-stone surround.
    for sx, sy in ((128, 250), (400, 140), (680, 300)):
        frame = Figure(26, 66, 13, 62, ss=ss)
        frame.poly([(-9, 0), (9, 0), (9, 56), (-9, 56)], DRESSED, light=1.5, dark=2.0)
        frame.poly([(-11, 56), (11, 56), (11, 62), (-11, 62)], ((132, 130, 152), (186, 184, 204),
                                                                (76, 74, 100)), light=1.2, dark=1.6)
        frame.poly([(-11, -4), (11, -4), (11, 1), (-11, 1)], ((132, 130, 152), (186, 184, 204),
                                                              (76, 74, 100)), light=1.2, dark=1.6)
        frame.poly([(-3, 6), (3, 6), (3, 50), (-3, 50)], ((14, 10, 24), (40, 34, 60), (8, 6, 16)),
                   line=False, light=1.0, dark=0.0001)
        frame.poly([(-6, 26), (6, 26), (6, 30), (-6, 30)], ((14, 10, 24), (40, 34, 60), (8, 6, 16)),
                   line=False, light=1.0, dark=0.0001)
        stamp(img, outlined(frame.rgba, ss), int((sx - 13) * ss), int((SCREEN_H - sy - 36) * ss))

    # Torches: iron brackets with a flame and a warm pool of light on the stones.
    yy, xx = np.mgrid[0:H, 0:W].astype(np.float32) / ss
    for tx, ty in ((250, 395), (560, 395)):
        ry = SCREEN_H - ty
        d = np.hypot(xx - tx, (yy - ry) * 1.1)
        glow = np.clip(1 - d / 130, 0, 1) ** 1.8
        glow = glow * (yy > row_of(WALL_TOP, 1))  # only the face below the coping
        warm = np.array([1.25, 0.82, 0.45], np.float32)  # the stones take on the flame's colour
        lit = img * (warm * 1.6) + TORCH * 0.18
        img[:] = img + (lit - img) * glow[..., None] * 0.8
    img = np.clip(img, 0, 255)
    for tx, ty in ((250, 395), (560, 395)):
        bracket = Figure(24, 44, 12, 40, scale=1.0, ss=ss)
        bracket.capsule([(-5, 4), (0, 2), (0, 12)], 1.2, IRON)
        bracket.poly([(-3.2, 12), (3.2, 12), (2.2, 19), (-2.2, 19)], BELT)
        bracket.ellipse(0, 25.5, 4.8, 7.2, FLAME, line=False)
        bracket.poly([(-3.5, 23), (0, 36), (3.5, 23)], FLAME, line=False)
        bracket.ellipse(0, 24.0, 2.4, 4.0, (255, 244, 170), line=False, lit=False)
        stamp(img, outlined(bracket.rgba, ss), int((tx - 12) * ss), int((SCREEN_H - ty - 40) * ss))

    # The warden's banner under the coping, in the middle of the wall.
    banner = Figure(48, 104, 24, 2, ss=ss)
    banner.capsule([(-20, -1.5), (20, -1.5)], 1.6, IRON)
    cloth = [(-16, -3), (16, -3), (16, -88), (0, -78), (-16, -88)]
    banner.poly(cloth, CRIMSON, light=1.2, dark=2.2)
    for fx in (-8, 0, 8):  # folds
        banner.capsule([(fx + 1.2, -5), (fx + 1.2, -80 + abs(fx) * 0.8)], 0.9, CRIMSON[2],
                       line=False, lit=False)
    banner.poly([(-16, -3), (16, -3), (16, -7), (-16, -7)], GOLD, line=False)
    banner.poly([(-2.4, -16), (2.4, -16), (2.4, -60), (-2.4, -60)], GOLD, dark=0.8)
    banner.poly([(-11, -27), (11, -27), (11, -32), (-11, -32)], GOLD, dark=0.8)
    for side in (-1, 1):
        banner.ellipse(side * 20, -1.5, 2.0, 2.0, GOLD, dark=0.6)
    b = outlined(banner.rgba, ss)
    b[..., :3] *= 0.88  # in the dusk, not in full light
    stamp(img, b, int((400 - 24) * ss), int((SCREEN_H - (WALL_TOP - 12) - 2) * ss))

    # Ivy hanging from the coping here and there.
    for vx, length in ((60, 120), (330, 70), (470, 150), (740, 95)):
        vine = Figure(60, length + 10, 30, 4, ss=ss)
        vr = np.random.default_rng(vx)
        x, y = 0.0, 0.0
        pts = [(x, y)]
        while -y < length:
            x += (vr.random() - 0.5) * 6
            y -= 6 + vr.random() * 4
            pts.append((x, y))
        vine.capsule(pts, 0.9, ((60, 92, 50), (96, 140, 66), (34, 56, 38)), line=False)
        for k, (px, py) in enumerate(pts[1:]):
            for side in (-1, 1):
                lx = px + side * (3.0 + vr.random() * 2)
                vine.ellipse(lx, py + vr.random() * 2, 3.0, 2.2,
                             ((72, 124, 58), (124, 176, 82), (40, 76, 44)), tilt=side * 30)
        b = outlined(vine.rgba, ss)
        stamp(img, b, int((vx - 30) * ss), int((SCREEN_H - cop_lo - 4) * ss))

    # Darkness and mist towards the foot of the wall, where the foes come from.
    fog_col = np.array([26, 22, 52], np.float32)
    world = SCREEN_H - np.arange(H, dtype=np.float32) / ss
    fog = np.clip(1 - world / 230, 0, 1) ** 1.3 * 0.9
    mist = noise((H, W), 40 * ss, 31) * 0.25
    f = np.clip(fog[:, None] * (0.8 + mist), 0, 0.92)[..., None]
    img = img * (1 - f) + fog_col * f
    # A gentle vignette at the sides.
    vign = (np.abs(xx - SCREEN_W / 2) / (SCREEN_W / 2)) ** 3 * 0.25
    img = img * (1 - vign[..., None])

    alpha = np.full((H, W, 1), 255, np.float32) if with_sky else solid[..., None] * 255.0
    out = np.concatenate([img, alpha], axis=2)
    return to_image(reduce(out, ss))


# ---------------------------------------------------------------------------------------------
# Lettering: white on transparent ground (the game tints it and draws an outline around it).


def lettering(text, font_path, size, spacing=0, shadow=True, gradient=0.18):
    """White text with a faint darker lower half (gradient), cropped with a margin of 4."""
    font = ImageFont.truetype(font_path, size)
    widths = [font.getlength(c) for c in text]
    total = int(sum(widths) + spacing * (len(text) - 1)) + 16
    asc, desc = font.getmetrics()
    h = asc + desc + 16
    m = Image.new("L", (total * SS, h * SS), 0)
    big = ImageFont.truetype(font_path, size * SS)
    d = ImageDraw.Draw(m)
    x = 8 * SS
    for c, wdt in zip(text, widths):
        d.text((x, 8 * SS), c, font=big, fill=255)
        x += (wdt + spacing) * SS
    a = np.asarray(m, np.float32)
    rgba = np.zeros(a.shape + (4,), np.float32)
    rows = np.nonzero(a.max(axis=1))[0]
    top, bottom = rows[0], rows[-1]
    ramp = np.clip((np.arange(a.shape[0]) - top) / max(1, bottom - top), 0, 1)
    grey = 255 - gradient * 255 * ramp ** 1.5
    rgba[..., :3] = grey[:, None, None]
    rgba[..., 3] = a
    small = reduce(rgba, SS)
    alpha = small[..., 3]
    # White under the clear pixels too, so that filtering at the letters' edges blends towards
    # white and not towards black.
    small[alpha == 0, :3] = 255
    ys, xs = np.nonzero(alpha > 0)
    y0, y1, x0, x1 = ys.min() - 4, ys.max() + 5, xs.min() - 4, xs.max() + 5
    return to_image(small[y0:y1, x0:x1])


def ornament(width, height=16):
    """A white rule that tapers to both ends, with a diamond in the middle and two smaller ones."""
    fig = Figure(width, height, width / 2, height / 2)
    half = width / 2 - 6
    fig.poly([(-half, 0), (-14, 1.6), (14, 1.6), (half, 0), (14, -1.6), (-14, -1.6)],
             (255, 255, 255), line=False, lit=False)
    for x, r in ((0, 6.5), (-24, 3.5), (24, 3.5)):
        fig.poly([(x - r, 0), (x, r), (x + r, 0), (x, -r)], (255, 255, 255), line=False, lit=False)
    return fig.finish(outline=0)


def make_title():
    text = lettering("PIM WARDEN", FONT_TITLE, 92, spacing=4)
    rule = ornament(int(text.width * 0.8))
    out = Image.new("RGBA", (text.width, text.height + rule.height - 2), (255, 255, 255, 0))
    out.alpha_composite(text, (0, 0))
    out.alpha_composite(rule, ((text.width - rule.width) // 2, text.height - 2))
    return out


def make_gameover():
    return lettering("GAME OVER", FONT_TITLE, 64, spacing=3)


CREDIT_LINES = [  # text, font, size, letter spacing
    ("Press SPACE to defend the wall", FONT_BOLD, 20, 0),
    ("LEFT / RIGHT walk     SPACE drop     P pause     F full screen     ESC quit",
     FONT_CONDENSED, 14, 1),
    ("Built on lumo  -  every picture, sound and tune made in-house", FONT_SANS, 11, 0.5),
]


def make_credits():
    lines = [lettering(t, f, s, spacing=sp, gradient=0.0) for t, f, s, sp in CREDIT_LINES]
    w = max(im.width for im in lines)
    h = sum(im.height for im in lines) - 4
    out = Image.new("RGBA", (w, h), (255, 255, 255, 0))
    y = 0
    for im in lines:
        out.alpha_composite(im, ((w - im.width) // 2, y))
        y += im.height - 2
    return out


# ---------------------------------------------------------------------------------------------
# The title picture: the full screen, Pim on the battlements under the moon, goblins climbing.


BAND_SCALE = 1.25
GREAT_PIM_FEET = 492  # picture row of big Pim's feet


def make_great_pim():
    ss = 2
    W, H = SCREEN_W * ss, SCREEN_H * ss
    img = sky(W, H, ss, 41, 150)
    draw_moon(img, ss, 400, 250, 120)
    rgba = np.concatenate([img, np.full((H, W, 1), 255, np.float32)], axis=2)

    def paste(fig_rgba, x, y):
        """Pastes a supersampled RGBA picture with its top-left corner at (x, y) 1x pixels."""
        nonlocal rgba
        bx, by = int(x * ss), int(y * ss)
        h, w = fig_rgba.shape[:2]
        sx0, sy0 = max(0, -bx), max(0, -by)
        sx1, sy1 = min(w, W - bx), min(h, H - by)
        if sx1 <= sx0 or sy1 <= sy0:
            return
        region = rgba[by + sy0:by + sy1, bx + sx0:bx + sx1]
        region[:] = over(fig_rgba[sy0:sy1, sx0:sx1], region)

    # The wall below: the game's wall without its sky, enlarged, from the merlon tops down.
    wall = make_wall(with_sky=False)
    band = wall.crop((0, row_of(545), SCREEN_W, row_of(285)))
    band = band.resize((W, int(band.height * ss * BAND_SCALE)), Image.LANCZOS)
    b = np.asarray(band, np.float32)
    region = rgba[H - b.shape[0]:, :]
    region[:] = over(b, region)
    # Darker towards the foot, under the credits.
    world = np.arange(H, dtype=np.float32) / ss
    dark = np.clip((world - 400) / 200, 0, 1) * 0.7
    rgba[..., :3] = rgba[..., :3] * (1 - dark)[:, None, None]

    # Goblins climbing, small, at several heights.
    for gx, gy, ph, sc in ((95, 470, 0.0, 2.4), (705, 425, 0.35, 2.6), (175, 385, 0.6, 2.2),
                           (630, 510, 0.15, 2.2)):
        fig = Figure(int(FOE_W * sc), int(FOE_H * sc), FOE_W * sc / 2, FOE_H * sc - 2, scale=sc,
                     ss=ss)
        hands, feet, lean = climb_pose(ph)
        goblin_back(fig, hands, feet, lean=lean)
        paste(outlined(fig.rgba, 2 * ss), gx - FOE_W * sc / 2, gy - FOE_H * sc)

    # Pim, big, in front of the moon, with a stone over his head.
    sc = 5.4
    fw, fh = int(48 * sc), int(66 * sc)
    fig = Figure(fw, fh, fw / 2, fh - 4, scale=sc, ss=ss)
    draw_pim(fig, 0.0, big=True)
    draw_stone(fig, 0, STONE_OFFSET + 11.5, 11.0)
    paste(outlined(fig.rgba, 3 * ss), 400 - fw / 2, GREAT_PIM_FEET - fh + 4)

    return to_image(reduce(rgba, ss))


# ---------------------------------------------------------------------------------------------
# GUI pieces: a stone frame with gold corner studs, and a dark slate centre. Corners are drawn at
# a point, edges and centre may be stretched or tiled (their sides are powers of two and the
# upper and lower edges read the same upside down, since stretched drawing flips them).

EDGE = 16


def panel_edge(length, horizontal):
    """An edge strip: dark rim, stone band, dark rim (the same both ways across)."""
    across = np.array([0, 1, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3, 2, 2, 1, 0])
    tones = [np.array(OUTLINE, np.float32), np.array([70, 68, 92], np.float32),
             np.array([150, 148, 170], np.float32), np.array([112, 110, 134], np.float32)]
    tex = noise((EDGE, length), 3, 61 if horizontal else 62)
    strip = np.zeros((EDGE, length, 4), np.float32)
    for i, k in enumerate(across):
        strip[i, :, :3] = tones[k] * (0.9 + 0.2 * tex[i, :, None])
    strip[..., 3] = 255
    # Stone joints every 16 pixels.
    for x in range(length // 2 % 16, length, 16):
        strip[3:13, x, :3] = tones[1]
    if not horizontal:
        strip = strip.transpose(1, 0, 2)
    return to_image(strip)


def panel_corner():
    """A corner block with a gold stud (the four corners are alike: the light comes from the
    upper left everywhere)."""
    fig = Figure(EDGE, EDGE, EDGE / 2, EDGE / 2)
    fig.poly([(-8, -8), (8, -8), (8, 8), (-8, 8)], ((112, 110, 134), (170, 168, 190),
                                                   (70, 68, 92)), light=1.5, dark=1.5)
    fig.ellipse(0, 0, 4.2, 4.2, GOLD, light=1.0, dark=1.4)
    fig.ellipse(-1.2, 1.2, 1.1, 1.1, (255, 250, 210), line=False, lit=False)
    return fig.finish(outline=0)


def panel_center():
    tex = noise((32, 32), 4, 63) * 0.6 + noise((32, 32), 2, 64) * 0.4
    c = np.zeros((32, 32, 4), np.float32)
    c[..., :3] = np.array([26, 24, 44], np.float32) * (0.85 + 0.3 * tex[..., None])
    c[..., 3] = 244
    return to_image(c)


def make_cursor():
    fig = Figure(20, 24, 1, 1)
    pts = [(0, 0), (0, -17), (4.2, -13.2), (7.2, -20.0), (10.0, -18.8), (7.2, -12.4), (12.4, -12.4)]
    fig.poly(pts, ((236, 232, 240), (255, 255, 255), (150, 148, 172)), light=0.6, dark=1.2)
    fig.poly([(1.6, -3.0), (1.6, -13.0), (4.2, -10.6)], GOLD, line=False)
    return fig.finish()


# ---------------------------------------------------------------------------------------------
# The data set.


class Entry:
    def __init__(self, name, image, hot=(0, 0), threshold=None):
        self.name, self.image, self.hot, self.threshold = name, image, hot, threshold


ANIMATIONS = [
    # name, frame prefix, delay (ms)
    ("pim", "pim", PIM_DELAY),
    ("foe_climb", "foe_climb", CLIMB_DELAY),
    ("foe_strafe", "foe_strafe", STRAFE_DELAY),
    ("foe_fall", "foe_fall", FALL_DELAY),
    ("foe_victory", "foe_victory", VICTORY_DELAY),
]


def fmt(v):
    return ("%.1f" % v).rstrip("0").rstrip(".")


def build():
    """Every entry of the image bank, in bank order."""
    entries = []

    def still(name, image, hot=(0, 0), threshold=None):
        entries.append(Entry(name, image, hot, threshold))

    title, credits, gameover = make_title(), make_credits(), make_gameover()
    # Drawn directly: the lower-left corner goes to (x - hotX, y + hotY).
    still("wall", make_wall())
    still("greatPim", make_great_pim(), (SCREEN_W / 2, 0))
    # The title above big Pim's stone, its lower edge 114 above its drawing point (y 350).
    still("title", title, (title.width // 2, 114))
    # The credits from the drawing point (y -40) up onto the screen's foot, 8 above the edge.
    still("credits", credits, (credits.width // 2, 48))
    # The lettering in the sky above the walkway, its lower edge 28 above y 500.
    still("gameover", gameover, (gameover.width // 2, 28))

    still("stone", make_stone(), (STONE_W / 2, STONE_H - 2), THRESHOLD)
    still("trunk", make_trunk(), (TRUNK_W / 2, TRUNK_H - 2), THRESHOLD)
    still("foe_base", make_foe_base(), FOE_HOT, THRESHOLD)
    frames = {
        "pim": (make_pim_frames(), PIM_HOT),
        "foe_climb": (make_climb_frames(), FOE_HOT),
        "foe_strafe": (make_strafe_frames(), FOE_HOT),
        "foe_fall": (make_fall_frames(), (FALL_S / 2, FALL_S / 2 + FALL_PIVOT)),
        "foe_victory": (make_victory_frames(), FOE_HOT),
    }
    for prefix, (images, hot) in frames.items():
        for i, im in enumerate(images):
            still("%s%02d" % (prefix, i + 1), im, hot, THRESHOLD)

    names = ["upper_left", "upper", "upper_right", "left", "center", "right", "lower_left",
             "lower", "lower_right"]
    pieces = {
        "upper_left": panel_corner(), "upper": panel_edge(32, True),
        "upper_right": panel_corner(), "left": panel_edge(32, False),
        "center": panel_center(), "right": panel_edge(32, False),
        "lower_left": panel_corner(), "lower": panel_edge(32, True),
        "lower_right": panel_corner(),
    }
    for n in names:
        still("frame_" + n, pieces[n])
    still("cursor", make_cursor(), (1, 1))
    return entries


def images_xml(entries):
    out = ['<images name="images" dir="images/">']
    for e in entries:
        attrs = 'name="%s" filename="%s.png"' % (e.name, e.name)
        if e.hot != (0, 0):
            attrs += ' hotX="%s" hotY="%s"' % (fmt(e.hot[0]), fmt(e.hot[1]))
        if e.threshold is not None:
            attrs += ' bitmaskThreshold="%s"' % fmt(e.threshold)
        out.append("  <image %s/>" % attrs)
    out.append("</images>")
    return "\n".join(out) + "\n"


def animations_xml(entries):
    names = [e.name for e in entries]
    out = ['<animations name="animations" imageBank="images">']
    for name, prefix, delay in ANIMATIONS:
        frames = [n for n in names if n.startswith(prefix) and n[len(prefix):].isdigit()]
        out.append('  <animation name="%s" delay="%d" loop="true">' % (name, delay))
        for f in frames:
            out.append('    <frame image="%s"/>' % f)
        out.append("  </animation>")
    out.append("</animations>")
    return "\n".join(out) + "\n"


def contact_sheet(entries):
    """All pictures on one sheet: the two screens at half size, then every other picture at 2x
    on a checker ground, labelled."""
    font = ImageFont.truetype(FONT_SANS, 11)
    W = 1000
    tiles = []
    for e in entries:
        im = e.image
        if im.width > 300:
            im = im.resize((im.width // 2, im.height // 2), Image.LANCZOS)
        elif im.width <= 80:
            im = im.resize((im.width * 2, im.height * 2), Image.NEAREST)
        tiles.append((e.name, im))
    # Lay out in rows.
    x, y, row_h = 8, 8, 0
    placed = []
    for name, im in tiles:
        tw, th = max(im.width, 112) + 8, im.height + 22
        if x + tw > W:
            x, y, row_h = 8, y + row_h, 0
        placed.append((name, im, x, y))
        x += tw
        row_h = max(row_h, th)
    H = y + row_h + 8
    sheet = Image.new("RGBA", (W, H), (40, 36, 56, 255))
    d = ImageDraw.Draw(sheet)
    for name, im, x, y in placed:
        w, h = max(im.width, 112), im.height
        checker = Image.new("RGBA", (w, h), (70, 66, 90, 255))
        cd = ImageDraw.Draw(checker)
        for cy in range(0, h, 8):
            for cx in range(0, w, 8):
                if (cx // 8 + cy // 8) % 2:
                    cd.rectangle((cx, cy, cx + 7, cy + 7), fill=(86, 82, 108, 255))
        checker.alpha_composite(im, ((w - im.width) // 2, 0))
        sheet.alpha_composite(checker, (x, y))
        d.text((x, y + h + 4), name, font=font, fill=(230, 226, 240, 255))
    return sheet


def write_all(root):
    entries = build()
    img_dir = os.path.join(root, OUT_IMAGES)
    os.makedirs(img_dir, exist_ok=True)
    for e in entries:
        e.image.save(os.path.join(img_dir, e.name + ".png"), format="PNG", optimize=False)
    xml_dir = os.path.join(root, OUT_XML)
    os.makedirs(xml_dir, exist_ok=True)
    header = "<!-- Generated by tools/make_art.py; do not edit. -->\n"
    with open(os.path.join(xml_dir, "images.xml"), "w", encoding="ascii", newline="\n") as f:
        f.write(header + images_xml(entries))
    with open(os.path.join(xml_dir, "animations.xml"), "w", encoding="ascii", newline="\n") as f:
        f.write(header + animations_xml(entries))
    os.makedirs(os.path.join(root, os.path.dirname(OUT_SHEET)), exist_ok=True)
    contact_sheet(entries).save(os.path.join(root, OUT_SHEET), format="PNG", optimize=False)
    return entries


def outputs(root):
    """Every file the generator writes under `root`, relative to it."""
    files = [os.path.join(OUT_IMAGES, n) for n in sorted(os.listdir(os.path.join(root, OUT_IMAGES)))
             if n.endswith(".png")]
    return files + [os.path.join(OUT_XML, "images.xml"), os.path.join(OUT_XML, "animations.xml"),
                    OUT_SHEET]


def preview(entries, out_dir):
    """Mock screens as the game draws them (y upwards), for looking at the set in place."""
    by = {e.name: e for e in entries}
    os.makedirs(out_dir, exist_ok=True)

    def put(screen, name, x, y, sprite=True, tint=None):
        e = by[name]
        im = e.image
        if tint is not None:
            a = np.asarray(im, np.float32)
            a = a * np.array(tint, np.float32)
            im = to_image(a)
        if sprite:  # the hotspot pixel lands on (x, y)
            left, top = x - e.hot[0], y + e.hot[1]
        else:  # drawn directly: lower-left corner at (x - hotX, y + hotY)
            left, top = x - e.hot[0], y + e.hot[1] + im.height
        screen.alpha_composite(im, (int(round(left)), int(round(SCREEN_H - top))))

    def outline(screen, name, x, y, body, line, width):
        for dx, dy in ((-width, 0), (width, 0), (0, -width), (0, width)):
            put(screen, name, x + dx, y + dy, sprite=False, tint=line)
        put(screen, name, x, y, sprite=False, tint=body)

    game = Image.new("RGBA", (SCREEN_W, SCREEN_H), (0, 25, 204, 255))
    put(game, "wall", 0, 0, sprite=False)
    put(game, "pim02", 300, PIM_Y)
    put(game, "stone", 300, PIM_Y + STONE_OFFSET)
    put(game, "stone", 520, 330)
    put(game, "trunk", 650, PIM_Y + STONE_OFFSET - 80)
    for i, (x, y, name) in enumerate([(120, 60, "foe_climb01"), (230, 200, "foe_climb03"),
                                      (420, 140, "foe_strafe02"), (520, 300, "foe_fall03"),
                                      (600, 380, "foe_climb05"), (720, 250, "foe_fall06"),
                                      (700, WALL_TOP, "foe_victory02"),
                                      (60, 430, "foe_climb02")]):
        put(game, name, x, y)
    game.save(os.path.join(out_dir, "game.png"))
    over_ = game.copy()
    outline(over_, "gameover", 400, 500, (0.7, 0, 0, 1), (1, 1, 1, 1), 1)
    over_.save(os.path.join(out_dir, "gameover.png"))

    title = Image.new("RGBA", (SCREEN_W, SCREEN_H), (0, 0, 0, 255))
    put(title, "greatPim", 400, 0, sprite=False)
    outline(title, "title", 400, 350, (0, 0, 0, 1), (1, 1, 1, 1), 2)
    outline(title, "credits", 400, -40, (0, 0, 0, 1), (1, 1, 1, 1), 1)
    title.save(os.path.join(out_dir, "title.png"))
    # Pim's walk and the foes' cycles, enlarged.
    strip = Image.new("RGBA", (60 * 8, 60 * 5), (60, 56, 80, 255))
    for r, prefix in enumerate(["pim", "foe_climb", "foe_strafe", "foe_fall", "foe_victory"]):
        names = [e.name for e in entries
                 if e.name.startswith(prefix) and e.name[len(prefix):].isdigit()]
        for c, n in enumerate(names):
            strip.alpha_composite(by[n].image, (c * 60 + 2, r * 60 + 2))
    strip.resize((strip.width * 3, strip.height * 3), Image.NEAREST).save(
        os.path.join(out_dir, "frames.png"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--check", action="store_true",
                        help="compare a fresh drawing with the committed files")
    parser.add_argument("--preview", metavar="DIR", help="also write mock screens to DIR")
    args = parser.parse_args()
    for path in (FONT_TITLE, FONT_BOLD, FONT_SANS, FONT_CONDENSED):
        if not os.path.exists(path):
            sys.exit("Font file %s not found (install fonts-dejavu-core and fonts-liberation)."
                     % path)

    if not args.check:
        entries = write_all(REPO)
        if args.preview:
            preview(entries, args.preview)
        return

    with tempfile.TemporaryDirectory() as tmp:
        write_all(tmp)
        fresh = outputs(tmp)
        committed = outputs(REPO) if os.path.isdir(os.path.join(REPO, OUT_IMAGES)) else []
        extra = sorted(set(committed) - set(fresh))
        missing = [f for f in fresh if not os.path.exists(os.path.join(REPO, f))]
        differ = [f for f in fresh if f not in missing and
                  not filecmp.cmp(os.path.join(REPO, f), os.path.join(tmp, f), shallow=False)]
        if extra or missing or differ:
            for label, files in (("differs", differ), ("missing", missing),
                                 ("not generated", extra)):
                for f in files:
                    print("%s: %s" % (label, f), file=sys.stderr)
            sys.exit(1)
        print("The pictures match a fresh drawing (%d files)." % len(fresh))


if __name__ == "__main__":
    main()
