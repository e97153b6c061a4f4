"""Full-screen pictures, the HUD, menus, the map and the intro/outro art."""

import math

import numpy as np

from canvas import Canvas, strip
import gridsprite
from font import draw_text, text_width
from registry import picture

BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def dither_band(c, x0, x1, y0, y1, top, bottom):
    """Ordered-dither gradient from colour top (y0) to colour bottom (y1)."""
    for y in range(y0, y1 + 1):
        f = (y - y0) / max(1, (y1 - y0))
        for x in range(x0, x1 + 1):
            c.px(x, y, bottom if f * 16 > BAYER4[y % 4][x % 4] + 0.5 else top)


def sky(c, y_end):
    stops = [(0, "1"), (44, "1"), (70, "2"), (96, "4"), (118, "3")]
    for (ya, ca), (yb, cb) in zip(stops, stops[1:]):
        if ya >= y_end:
            break
        if ca == cb:
            c.rect(0, ya, c.w - 1, min(yb, y_end), ca)
        else:
            dither_band(c, 0, c.w - 1, ya, min(yb, y_end), ca, cb)
    if y_end > 118:
        c.rect(0, 118, c.w - 1, y_end, "3")


def stars(c, n, y_max, seed):
    rng = np.random.default_rng(seed)
    for _ in range(n):
        x = int(rng.integers(0, c.w))
        y = int(rng.integers(0, y_max))
        bright = rng.uniform()
        c.px(x, y, "W" if bright > 0.75 else ("X" if bright > 0.35 else "Q"))
        if bright > 0.96:
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                c.px(x + dx, y + dy, "X")


def ridge(c, y_base, amp, seed, col, x_period=1.0, y_bottom=None):
    rng = np.random.default_rng(seed)
    ph = rng.uniform(0, 6.28, 4)
    y_bottom = c.h - 1 if y_bottom is None else y_bottom
    for x in range(c.w):
        t = x * x_period
        y = y_base - amp * (0.55 * math.sin(t * 0.021 + ph[0]) + 0.3 * math.sin(t * 0.057 + ph[1])
                            + 0.15 * math.sin(t * 0.13 + ph[2]))
        c.vline(x, int(y), y_bottom, col)


# ---------------------------------------------------------------------------
# battlefield backdrop and scenery blocks


@picture("Gfx/background.png")
def background():
    c = Canvas(320, 240)
    sky(c, 140)
    stars(c, 90, 60, 7)
    # a pale moon, bruised by the dusk
    c.ellipse(262, 26, 9, 9, "l")
    c.ellipse(259, 24, 8, 8, "L")
    for x, y, r in ((262, 28, 2), (257, 22, 1.4), (265, 21, 1.2)):
        c.ellipse(x, y, r, r, "l")
    c.glow(261, 25, 16, "L", peak=40)
    # distant mountains and hills behind the scenery strip
    ridge(c, 104, 10, 3, "2", 1.0, 139)
    ridge(c, 116, 9, 4, "h", 1.3, 139)
    ridge(c, 127, 6, 5, "H", 1.7, 139)
    # the field between the scenery and the road: bands widen towards us
    y, k, hgt = 134, 0, 3
    while y < 175:
        c.rect(0, y, 319, min(174, y + hgt - 1), "G" if k % 2 == 0 else "g")
        y += hgt
        hgt += 1
        k += 1
    rng = np.random.default_rng(17)
    for _ in range(520):
        x = int(rng.integers(0, 320))
        yy = int(rng.integers(135, 174))
        c.px(x, yy, "G" if c.get(x, yy)[1] > 100 else "g")
    # crop rows
    for yy in range(137, 170, 3):
        for x in range(0, 320, 2):
            if (x // 2 + yy) % 5 == 0:
                c.px(x, yy, "o")
    # a hedgerow across the middle distance
    for x in range(0, 320):
        hh = 1 + int(1.5 + 1.5 * math.sin(x * 0.31) * math.sin(x * 0.07))
        c.vline(x, 150 - hh, 150, "h")
        if (x * 7) % 11 == 0:
            c.px(x, 149 - hh, "G")
    # verge along the road: tufts, stones and a few wild flowers
    for x in range(0, 320):
        if (x * 13) % 7 < 3:
            c.px(x, 173, "G")
        if (x * 5) % 9 == 0:
            c.px(x, 172, "G")
    for _ in range(40):
        x = int(rng.integers(0, 320))
        yy = int(rng.integers(160, 173))
        c.px(x, yy, ["e", "F", "L", "m"][int(rng.integers(0, 4))])
    for x in range(12, 320, 37):
        c.vline(x, 166, 173, "d")
        c.px(x, 165, "S")
    c.hline(0, 319, 174, "G")
    # the road the armies walk on (warnings are written on it)
    c.rect(0, 175, 319, 187, "s")
    c.hline(0, 319, 175, "L")
    for _ in range(160):
        x = int(rng.integers(0, 320))
        y = int(rng.integers(177, 187))
        c.px(x, y, "S" if rng.uniform() < 0.5 else "l")
    for x in range(0, 320, 7):
        c.px(x, 186, "S")
    # under the HUD
    c.rect(0, 188, 319, 239, "S")
    c.hline(0, 319, 188, "d")
    return c


def _block_base(c):
    """The grass bank every scenery block stands on; its pattern repeats
    every 8 pixels so neighbouring blocks join without a seam."""
    for x in range(64):
        c.vline(x, 44, 47, "G")
        if x % 8 in (1, 2, 5):
            c.px(x, 43, "G")
        if x % 8 == 5:
            c.px(x, 42, "g")
        if x % 4 == 0:
            c.px(x, 45, "g")


def _tree(c, x, y_ground, h, r, col="G", dark="h"):
    c.rect(x, y_ground - h // 2, x + 1, y_ground, "d")
    c.ellipse(x + 0.5, y_ground - h + r, r, r * 1.05, dark)
    c.ellipse(x - 0.5, y_ground - h + r - 1, r * 0.85, r * 0.85, col)
    c.px(x - r * 0.4, y_ground - h + r * 0.5, "g")


def _pine(c, x, y_ground, h, w):
    c.vline(x, y_ground - 2, y_ground, "d")
    for k in range(3):
        top = y_ground - h + k * h // 4
        c.poly([(x - w * (0.5 + 0.25 * k), top + h // 3 + 1), (x + 0.5, top), (x + 1 + w * (0.5 + 0.25 * k), top + h // 3 + 1)], "h")
        c.px(x, top + 1, "G")


def _fence(c, x0, x1, y):
    c.hline(x0, x1, y, "S")
    c.hline(x0, x1, y + 2, "S")
    for x in range(x0, x1 + 1):
        if x % 4 == 0:
            c.vline(x, y - 1, y + 4, "d")


def _compound_fence(c, x0, x1):
    """The yard fence that runs through both halves of a landmark."""
    for x in range(x0, x1 + 1):
        c.px(x, 39, "N")
        if x % 4 == 0:
            c.vline(x, 37, 43, "n")
        elif x % 2 == 0:
            c.px(x, 41, "N")


def _lit(c, x, y, on=True):
    c.rect(x, y, x + 1, y + 1, "F" if on else "q")


def _block(fn):
    c = Canvas(64, 48)
    fn(c)
    _block_base(c)
    return c


# set 02: filler that tiles with itself and the landmarks

@picture("Gfx/bgSet02/bgSet02nr1.png")
def bg02_1():
    def f(c):
        _tree(c, 14, 43, 22, 8)
        _tree(c, 40, 43, 16, 6)
        _fence(c, 22, 58, 38)
    return _block(f)


@picture("Gfx/bgSet02/bgSet02nr2.png")
def bg02_2():
    def f(c):
        _pine(c, 10, 43, 24, 8)
        _pine(c, 22, 43, 18, 6)
        _pine(c, 50, 43, 26, 9)
        c.ellipse(35, 42, 6, 3, "h")
    return _block(f)


@picture("Gfx/bgSet02/bgSet02nr3.png")
def bg02_3():
    def f(c):
        # a knoll with a lone tree and a telegraph pole
        c.ellipse(30, 46, 26, 9, "h")
        c.ellipse(30, 46, 24, 7.5, "G")
        _tree(c, 24, 38, 14, 5)
        c.vline(50, 18, 43, "d")
        c.hline(46, 54, 20, "d")
        c.px(46, 19, "N")
        c.px(54, 19, "N")
    return _block(f)


@picture("Gfx/bgSet02/bgSet02nr4.png")
def bg02_4():
    def f(c):
        # hay bales and a fence
        _fence(c, 2, 62, 37)
        for x in (12, 24, 44):
            c.ellipse(x, 40, 4, 3.5, "y")
            c.ellipse(x - 1, 39.5, 2, 2, "O")
            c.px(x - 1, 39, "S")
        _tree(c, 56, 43, 12, 4)
    return _block(f)


@picture("Gfx/bgSet02/bgSet02nr5.png")
def bg02_5():
    def f(c):
        # hedge row and a scarecrow
        for x in range(0, 64, 6):
            c.ellipse(x + 3, 41, 4, 3.5, "h")
            c.ellipse(x + 2, 40.5, 2.5, 2.0, "G")
        c.vline(34, 24, 43, "d")
        c.hline(29, 39, 29, "d")
        c.rect(32, 27, 36, 33, "e")
        c.ellipse(34, 25, 2, 2, "y")
        c.hline(31, 37, 23, "d")
        c.px(29, 30, "y")
        c.px(39, 30, "y")
    return _block(f)


# set 01: left halves of landmarks (their yard fence runs off the right edge)

def _left(fn):
    def f(c):
        fn(c)
        _compound_fence(c, 6, 63)
    return _block(f)


def _right(fn):
    def f(c):
        _compound_fence(c, 0, 56)
        fn(c)
    return _block(f)


@picture("Gfx/bgSet01/bgSet01nr1.png")
def bg01_1():
    def f(c):
        # red barn
        c.rect(16, 22, 50, 43, "R")
        c.poly([(13, 23), (22, 12), (44, 12), (53, 23)], "d")
        c.hline(16, 50, 23, "K")
        for x in range(18, 50, 3):
            c.vline(x, 24, 43, "e" if x % 2 else "R")
        c.rect(27, 29, 39, 43, "d")
        c.line(27, 29, 39, 43, "y")
        c.line(39, 29, 27, 43, "y")
        c.rect(31, 15, 35, 19, "y")
        _lit(c, 32, 16)
    return _left(f)


@picture("Gfx/bgSet01/bgSet01nr2.png")
def bg01_2():
    def f(c):
        # farmhouse with a porch
        c.rect(14, 24, 46, 43, "l")
        c.vline(46, 24, 43, "b")
        c.poly([(10, 25), (20, 13), (40, 13), (50, 25)], "x")
        c.rect(38, 8, 41, 16, "S")
        for x in (18, 28, 38):
            _lit(c, x, 29, x != 28)
            _lit(c, x + 2, 29, x != 28)
        c.rect(26, 35, 30, 43, "d")
        c.hline(22, 36, 34, "S")
    return _left(f)


@picture("Gfx/bgSet01/bgSet01nr3.png")
def bg01_3():
    def f(c):
        # fuel tanks
        for x, r, hgt in ((18, 9, 16), (41, 11, 20)):
            c.rect(x - r, 43 - hgt, x + r, 43, "N")
            c.ellipse(x, 43 - hgt, r, 3, "X")
            c.vline(x + r - 2, 43 - hgt, 43, "n")
            c.hline(x - r, x + r, 43 - hgt // 2, "e")
            c.hline(x - r, x + r, 43 - hgt // 2 + 1, "R")
        c.line(18, 27, 30, 22, "n")
        c.line(29, 22, 41, 23, "n")
    return _left(f)


@picture("Gfx/bgSet01/bgSet01nr4.png")
def bg01_4():
    def f(c):
        # water tower
        for x0, x1 in ((22, 18), (40, 44)):
            c.line(x0, 22, x1, 43, "n")
        c.line(22, 30, 40, 30, "n")
        c.line(22, 22, 42, 42, "n")
        c.line(40, 22, 20, 42, "n")
        c.rect(19, 9, 43, 22, "N")
        c.ellipse(31, 9, 12, 4, "X")
        c.vline(40, 10, 22, "n")
        c.hline(19, 43, 16, "n")
        c.px(31, 4, "R")
    return _left(f)


@picture("Gfx/bgSet01/bgSet01nr5.png")
def bg01_5():
    def f(c):
        # radar station: dish on a hut
        c.rect(16, 30, 44, 43, "o")
        c.hline(16, 44, 30, "O")
        _lit(c, 20, 34)
        _lit(c, 38, 34, False)
        c.rect(28, 36, 32, 43, "d")
        c.vline(30, 18, 30, "n")
        c.ellipse(30, 16, 10, 5, "X")
        c.ellipse(31, 15, 7, 3, "N")
        c.line(30, 16, 36, 9, "n")
        c.px(36, 9, "R")
    return _left(f)


# set 03: right halves

@picture("Gfx/bgSet03/bgSet03nr1.png")
def bg03_1():
    def f(c):
        # twin silos
        for x, hgt in ((16, 30), (32, 24)):
            c.rect(x - 6, 43 - hgt, x + 6, 43, "N")
            c.ellipse(x, 43 - hgt, 6, 5, "X")
            c.vline(x + 4, 43 - hgt, 43, "n")
            for y in range(43 - hgt + 4, 43, 4):
                c.hline(x - 6, x + 6, y, "n")
        c.line(16, 13, 46, 30, "n")
        c.rect(44, 30, 52, 43, "R")
    return _right(f)


@picture("Gfx/bgSet03/bgSet03nr2.png")
def bg03_2():
    def f(c):
        # windmill
        c.poly([(24, 43), (28, 16), (34, 16), (38, 43)], "l")
        c.poly([(26, 17), (31, 11), (36, 17)], "R")
        for a in (20, 110, 200, 290):
            r = math.radians(a)
            c.thick_line(31, 14, 31 + math.cos(r) * 12, 14 + math.sin(r) * 12, "d", width=2)
        c.px(31, 14, "K")
        _lit(c, 30, 26)
        c.rect(29, 37, 32, 43, "d")
    return _right(f)


@picture("Gfx/bgSet03/bgSet03nr3.png")
def bg03_3():
    def f(c):
        # hangar
        c.rect(6, 26, 48, 43, "n")
        for x in range(6, 49):
            top = 26 - int(8 * math.sin(math.pi * (x - 6) / 42.0))
            c.vline(x, top, 26, "N" if x % 3 else "n")
        c.rect(14, 30, 40, 43, "q")
        for y in range(31, 43, 2):
            c.hline(15, 39, y, "Q")
        _lit(c, 44, 31)
    return _right(f)


@picture("Gfx/bgSet03/bgSet03nr4.png")
def bg03_4():
    def f(c):
        # radio mast with a shed
        c.line(20, 43, 26, 4, "n")
        c.line(32, 43, 26, 4, "n")
        for y in range(10, 43, 6):
            c.line(26 - (43 - y) * 6 / 39.0, y, 26 + (43 - y) * 6 / 39.0, y + 3, "n")
        c.px(26, 3, "e")
        c.px(26, 2, "R")
        c.rect(36, 32, 52, 43, "o")
        c.hline(35, 53, 32, "O")
        _lit(c, 40, 36)
        _lit(c, 46, 36)
    return _right(f)


@picture("Gfx/bgSet03/bgSet03nr5.png")
def bg03_5():
    def f(c):
        # greenhouse rows and a tractor
        for x0 in (4, 22):
            c.poly([(x0, 43), (x0, 34), (x0 + 7, 28), (x0 + 14, 34), (x0 + 14, 43)], "H")
            for x in range(x0 + 2, x0 + 14, 3):
                c.vline(x, 32, 43, "X")
            _lit(c, x0 + 6, 37)
        c.rect(42, 36, 52, 40, "e")
        c.rect(44, 32, 48, 36, "R")
        c.ellipse(45, 41, 2.5, 2.5, "K")
        c.ellipse(51, 42, 1.6, 1.6, "K")
    return _right(f)


# ---------------------------------------------------------------------------
# HUD

RADAR = (81, 190, 238, 239)  # inclusive art pixels of the radar window


def _bevel_plate(c, x0, y0, x1, y1, face="l", hi="L", lo="b"):
    c.rect(x0, y0, x1, y1, face)
    c.hline(x0, x1, y0, hi)
    c.vline(x0, y0, y1, hi)
    c.hline(x0, x1, y1, lo)
    c.vline(x1, y0, y1, lo)
    c.box(x0 - 1, y0 - 1, x1 + 1, y1 + 1, "K")
    for sx, sy in ((x0 + 2, y0 + 2), (x1 - 2, y0 + 2), (x0 + 2, y1 - 2), (x1 - 2, y1 - 2)):
        c.px(sx, sy, "b")


@picture("Gfx/hud.png")
def hud():
    c = Canvas(320, 240)
    # the panel
    c.rect(0, 188, 319, 239, "Q")
    c.hline(0, 319, 187, "K")
    c.hline(0, 319, 188, "N")
    c.hline(0, 319, 189, "n")
    for x in range(2, 320, 6):
        c.px(x, 237, "q")
    # radar window: dark with a faint grid and the ground line
    x0, y0, x1, y1 = RADAR
    c.rect(x0, y0, x1, y1, "q")
    for x in range(x0, x1 + 1):
        for y in range(y0, y1 + 1):
            if (x - x0) % 10 == 0 or (y - y0) % 10 == 0:
                c.px(x, y, "1")
    c.hline(x0, x1, 234, "D")
    c.vline(160, y0, y1, "2")
    c.vline(x0 - 1, y0 - 1, y1, "K")
    c.vline(x1 + 1, y0 - 1, y1, "K")
    c.vline(x0 - 2, y0 - 1, y1, "N")
    c.vline(x1 + 2, y0 - 1, y1, "n")
    c.hline(x0 - 1, x1 + 1, y0 - 1, "K")
    # hit point plate: "HP", a heart, and room for the number at (40, 220)
    _bevel_plate(c, 4, 196, 74, 233)
    c.rect(36, 216, 70, 230, "L")
    c.box(35, 215, 71, 231, "b")
    draw_text(c, 8, 220, "HP", "R")
    c.grid(23, 219, """
        .KK.KK..
        KeWKeeK.
        KeeeeeRK
        .KeeeRK.
        ..KeRK..
        ...KK...""")
    draw_text(c, 8, 200, "LARVA", "b")
    # matter plate: a matter ball and room for the number at (280, 220)
    _bevel_plate(c, 245, 196, 315, 233)
    c.rect(276, 216, 311, 230, "L")
    c.box(275, 215, 312, 231, "b")
    c.grid(262, 219, """
        .KKKKK.
        KMmmmMK
        KmWPmmK
        KmPmmmK
        KMmmmMK
        .KKKKK.""")
    draw_text(c, 249, 200, "MATTER", "b")
    # small rivets along the panel
    for x in (2, 78, 242, 317):
        for y in (193, 236):
            c.px(x, y, "N")
    return c


@picture("Gfx/healthBars.png")
def health_bars():
    c = Canvas(2, 1)
    c.px(0, 0, "a")
    c.px(1, 0, "R")
    return c


@picture("Gfx/batteryBar.png")
def battery_bar():
    c = Canvas(2, 1)
    c.px(0, 0, "c")
    c.px(1, 0, "q")
    return c


@picture("Gfx/radarContacts.png")
def radar_contacts():
    grids = ["""
        .....e.
        .....e.
        eeeeeee
        eKeKeKe
        eeeeeee
        eeeeeee""", """
        .......
        .......
        ..eee..
        .eFeee.
        .eeeee.
        ..eee..""", """
        ..ZZZ..
        .ZaaaZ.
        ZaaaaaZ
        ZZZZZZZ
        .a.a.a.
        a..a..a""", """
        .......
        .......
        ..ZZZ..
        .ZWZZZ.
        .ZZZZZ.
        ..ZZZ.."""]
    fr = []
    for g in grids:
        c = Canvas(7, 6)
        c.grid(0, 0, g)
        fr.append(c)
    return strip(fr)


def _key(letter_grid, pressed):
    """A keycap: frame 0 up and pale, frame 1 pressed down and lit green, so
    the hint blinks between the two."""
    c = Canvas(11, 10)
    oy = 1 if pressed else 0
    c.box(1, oy, 9, 9, "K")
    c.rect(2, 1 + oy, 8, 7 + oy, "Z" if pressed else "L")
    c.rect(2, 8, 8, 8, "A" if pressed else "b")
    c.grid(3, 2 + oy, letter_grid)
    if pressed:
        c.glow(5, 5, 6, "Z", peak=70)
    return c


@picture("Gfx/keyboard buttons/pushXFlash.png")
def push_x():
    g = """
        K...K
        .K.K.
        ..K..
        .K.K.
        K...K"""
    return strip([_key(g, False), _key(g, True)])


@picture("Gfx/keyboard buttons/pushZFlash.png")
def push_z():
    g = """
        KKKKK
        ...K.
        ..K..
        .K...
        KKKKK"""
    return strip([_key(g, False), _key(g, True)])


# ---------------------------------------------------------------------------
# banners on the radar window


def _banner(word, sub, base, stripe, word_col, edge):
    c = Canvas(158, 50)
    c.rect(0, 0, 157, 49, base)
    for x in range(-50, 158, 10):
        for k in range(4):
            c.line(x + k, 0, x + k + 49, 49, stripe)
    c.rect(0, 0, 157, 2, "K")
    c.rect(0, 47, 157, 49, "K")
    c.hline(0, 157, 3, edge)
    c.hline(0, 157, 46, edge)
    c.rect(4, 7, 153, 30, "K")
    w = text_width(word) * 3 - 3
    draw_text(c, (158 - w) // 2, 9, word, word_col, scale=3, shadow="q")
    sw = text_width(sub) - 1
    c.rect((158 - sw) // 2 - 3, 34, (158 + sw) // 2 + 2, 43, "K")
    draw_text(c, (158 - sw) // 2, 35, sub, "L")
    return c


@picture("Gfx/retreating.png")
def retreating():
    return _banner("RETREATING", "The Dazozuzo flees to space", "R", "d", "F", "r")


@picture("Gfx/winning.png")
def winning():
    return _banner("VICTORY", "The defenders are broken", "D", "G", "Z", "a")


# ---------------------------------------------------------------------------
# upgrade menu


def _popup(w, h, lines, icon, rim):
    c = Canvas(w, h)
    c.rect(1, 1, w - 2, h - 2, "q")
    c.box(0, 0, w - 1, h - 1, "K")
    c.box(1, 1, w - 2, h - 2, rim)
    c.box(2, 2, w - 3, h - 3, "Q")
    icon(c)
    y = h - 4 - 9 * len(lines)
    for line in lines:
        tw = text_width(line) - 1
        draw_text(c, (w - tw) // 2, y, line, "L", shadow="K")
        y += 9
    return c


@picture("Gfx/menu/msgNotEnoughMatter.png")
def msg_not_enough():
    def icon(c):
        c.ellipse(28, 12, 7, 7, "M")
        c.ellipse(28, 12, 6, 6, "m")
        c.ellipse(26, 10, 2.2, 2.2, "P")
        c.px(25, 9, "W")
        c.thick_line(21, 19, 35, 5, "e", width=2)
        c.ring(28, 12, 8, 8, "e", thick=1.2)
    return _popup(57, 45, ["NOT ENOUGH", "MATTER"], icon, "e")


@picture("Gfx/menu/msgAlreadyPurchased.png")
def msg_already():
    def icon(c):
        c.ellipse(28, 11, 7, 7, "D")
        c.ring(28, 11, 7, 7, "a", thick=1.2)
        c.thick_line(24, 11, 27, 14, "Z", width=2)
        c.thick_line(27, 14, 33, 7, "Z", width=2)
    return _popup(57, 41, ["ALREADY", "EVOLVED"], icon, "a")


SLOT_X = [23.5 + 43 * i for i in range(5)]
SLOT_Y = 48


@picture("Gfx/menu/upgradeMenu/upgradeMenuPage.png")
def upgrade_page():
    w, h = 246, 159
    c = Canvas(w, h)
    # fleshy rim with rounded corners
    c.rect(2, 0, w - 3, h - 1, "M")
    c.rect(0, 2, w - 1, h - 3, "M")
    c.rect(1, 1, w - 2, h - 2, "M")
    c.rect(3, 3, w - 4, h - 4, "q")
    c.hline(3, w - 4, 2, "m")
    c.vline(2, 3, h - 4, "p")
    c.vline(w - 3, 3, h - 4, "K")
    c.hline(3, w - 4, h - 3, "K")
    # membrane texture
    rng = np.random.default_rng(91)
    for _ in range(70):
        x = rng.uniform(6, w - 6)
        y = rng.uniform(6, h - 6)
        r = rng.uniform(2, 6)
        c.ellipse(x, y, r, r * 0.7, "Q")
    for _ in range(500):
        x = int(rng.integers(4, w - 4))
        y = int(rng.integers(4, h - 4))
        if c.get(x, y)[:3] == (0x20, 0x20, 0x2c):
            c.px(x, y, "1")
    # veins
    for k in range(6):
        y = rng.uniform(20, 140)
        pts = [(4, y)]
        for s in range(1, 9):
            pts.append((4 + s * (w - 8) / 8, y + rng.uniform(-8, 8)))
        for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
            c.line(x0, y0, x1, y1, "2")
    # price window at the top: the price is written centred at y 11
    c.rect(98, 7, 147, 21, "K")
    c.box(97, 6, 148, 22, "M")
    c.hline(98, 147, 7, "q")
    for x in (89, 156):
        c.grid(x - 3, 11, """
            .MmM.
            MmWmM
            mWPmm
            MmmmM
            .MmM.""")
    draw_text(c, 8, 8, "EVOLUTION", "P")
    draw_text(c, w - 8 - (text_width("CHAMBER") - 1), 8, "CHAMBER", "P")
    tw = text_width("Choose a trait to evolve") - 1
    draw_text(c, (w - tw) // 2, 27, "Choose a trait to evolve", "p")
    # the five button slots
    names = ["LASER", "PHOTON", "FLAK", "SHIELD", "WARP"]
    for i, sx in enumerate(SLOT_X):
        x0 = int(math.floor(sx)) - 2
        x1 = int(math.ceil(sx + 27)) + 1
        c.rect(x0, SLOT_Y - 2, x1, SLOT_Y + 28, "K")
        c.box(x0 - 1, SLOT_Y - 3, x1 + 1, SLOT_Y + 29, "M")
        c.hline(x0, x1, SLOT_Y + 29, "m")
        tw = text_width(names[i]) - 1
        cx = sx + 13.5
        draw_text(c, int(round(cx - tw / 2.0)), SLOT_Y + 33, names[i], "P")
    # a strand of larva DNA across the middle
    for x in range(8, w - 8):
        a = x * 0.16
        y1 = 100 + 6 * math.sin(a)
        y2 = 100 - 6 * math.sin(a)
        if x % 6 == 0:
            c.line(x, y1, x, y2, "p")
        c.px(x, y1, "m")
        c.px(x, y2, "a")
    # description window: lines are written from (7, 127) and (7, 135)
    c.rect(4, 122, w - 5, 146, "K")
    c.hline(4, w - 5, 121, "M")
    c.hline(4, w - 5, 147, "m")
    hint = "Left/Right: choose   Enter: evolve   Esc: leave"
    tw = text_width(hint) - 1
    draw_text(c, (w - tw) // 2, 149, hint, "p")
    return c


@picture("Gfx/menu/upgradeMenu/cursor.png")
def cursor():
    return gridsprite.sheet("upgradeCursor")


_DIM = {"W": "X", "f": "X", "L": "X", "Z": "X", "c": "X", "F": "N", "P": "N", "a": "N", "l": "N",
        "y": "N", "m": "x", "r": "x", "e": "x", "A": "n", "p": "n", "R": "n", "N": "n",
        "M": "Q", "D": "Q", "o": "Q", "n": "Q", "x": "Q", "X": "n", "q": "q", "K": "K"}


def _button(icon_fn):
    frames = []
    for lit in (False, True):
        c = Canvas(27, 27)
        c.rect(0, 0, 26, 26, "K")
        face = "D" if lit else "Q"
        c.rect(1, 1, 25, 25, face)
        c.hline(1, 25, 1, "a" if lit else "N")
        c.vline(1, 1, 25, "a" if lit else "N")
        c.hline(1, 25, 25, "K" if lit else "q")
        c.vline(25, 1, 25, "K" if lit else "q")
        c.rect(3, 3, 23, 23, "q" if not lit else "K")
        icon = Canvas(27, 27)
        icon_fn(icon)
        if not lit:
            icon = icon.recolour(_DIM)
        else:
            c.glow(13, 13, 11, "a", peak=60)
        c.blit(icon, 0, 0)
        if lit:
            c.box(0, 0, 26, 26, "a")
            c.box(1, 1, 25, 25, "A")
        frames.append(c)
    return strip(frames)


def _icon_laser(c):
    # the laser eye stares down and burns the ground below
    c.ellipse(13, 8, 8, 4.6, "W")
    c.ring(13, 8, 8, 4.6, "K", thick=1.0)
    c.ellipse(13, 8.5, 3.2, 3.2, "m")
    c.ellipse(13, 9, 1.4, 1.4, "K")
    c.px(12, 7, "W")
    c.hline(6, 20, 3, "M")
    c.rect(12, 13, 14, 21, "m")
    c.vline(13, 12, 21, "W")
    c.hline(5, 21, 22, "S")
    for x, y in ((9, 20), (17, 20), (10, 18), (16, 19), (13, 22)):
        c.px(x, y, "f")
    c.ellipse(13, 21.5, 2.5, 1.2, "F")
    c.px(13, 21, "W")


def _icon_photon(c):
    c.ring(13, 13, 9, 5, "P", thick=1.0)
    c.ring(13, 13, 5, 9, "p", thick=1.0)
    c.ellipse(13, 13, 4.5, 4.5, "c")
    c.ellipse(12, 12, 2.5, 2.5, "W")
    c.px(4, 13, "c")
    c.px(22, 13, "c")


def _icon_flak(c):
    for x, y in ((8, 9), (17, 7), (12, 17), (20, 17)):
        c.ellipse(x, y, 3, 3, "r")
        c.ellipse(x, y, 1.6, 1.6, "F")
        c.px(x, y, "f")
    for x0, y0 in ((6, 22), (9, 22)):
        c.line(x0, y0, x0 + 2, y0 - 4, "N")
    c.rect(4, 21, 12, 23, "n")


def _icon_shield(c):
    c.ellipse(13, 14, 9.5, 8.5, "c", alpha=90)
    c.ring(13, 14, 9.5, 8.5, "c", thick=1.2)
    c.ring(13, 14, 8, 7, "W", thick=0.8, alpha=160)
    c.ellipse(13, 16, 5, 3, "A")
    c.ellipse(16, 15, 2, 2, "A")
    c.px(17, 14, "m")
    c.hline(9, 17, 18, "D")


def _icon_warp(c):
    for k in range(60):
        a = k * 0.35
        r = 1 + k * 0.15
        c.px(13 + math.cos(a) * r, 15 + math.sin(a) * r * 0.8, "P" if k % 2 else "c")
    c.poly([(13, 2), (18, 8), (15, 8), (15, 12), (11, 12), (11, 8), (8, 8)], "W")


@picture("Gfx/menu/upgradeMenu/upgButtonLaser.png")
def btn_laser():
    return _button(_icon_laser)


@picture("Gfx/menu/upgradeMenu/upgButtonPhoton.png")
def btn_photon():
    return _button(_icon_photon)


@picture("Gfx/menu/upgradeMenu/upgButtonFlak.png")
def btn_flak():
    return _button(_icon_flak)


@picture("Gfx/menu/upgradeMenu/upgButtonShield.png")
def btn_shield():
    return _button(_icon_shield)


@picture("Gfx/menu/upgradeMenu/upgButtonSpaceWarp.png")
def btn_warp():
    return _button(_icon_warp)


# ---------------------------------------------------------------------------
# mission map

NODES = [(143, 120), (232, 155), (70, 190), (173, 168)]  # art pixels


@picture("Gfx/map/mapLayout.png")
def map_layout():
    w, h = 320, 240
    c = Canvas(w, h, fill="G")
    rng = np.random.default_rng(23)
    # patchwork of fields separated by hedgerows
    crops = ["G", "g", "o", "g", "G", "S", "o", "d"]
    y = 0
    while y < h:
        fh = int(rng.integers(10, 22))
        x = -int(rng.integers(0, 12))
        while x < w:
            fw = int(rng.integers(14, 34))
            col = crops[int(rng.integers(0, len(crops)))]
            c.rect(x, y, x + fw - 1, y + fh - 1, col)
            stripe = {"G": "g", "g": "G", "o": "g", "S": "d", "d": "S"}[col]
            if rng.uniform() < 0.6:
                step = int(rng.integers(2, 4))
                if rng.uniform() < 0.5:
                    for yy in range(y + 1, y + fh - 1, step):
                        c.hline(x + 1, x + fw - 2, yy, stripe)
                else:
                    for xx in range(x + 1, x + fw - 1, step):
                        c.vline(xx, y + 1, y + fh - 2, stripe)
            c.vline(x + fw - 1, y, y + fh - 1, "D")
            x += fw
        c.hline(0, w - 1, y + fh - 1, "D")
        y += fh
    # woods
    for _ in range(18):
        cx, cy = rng.uniform(0, w), rng.uniform(0, h)
        for _ in range(22):
            x = cx + rng.normal(0, 7)
            yy = cy + rng.normal(0, 5)
            c.ellipse(x, yy, 2.4, 2.2, "D")
            c.px(x - 1, yy - 1, "A")
    # the river and a lake
    pts = []
    for s in range(0, 26):
        yy = s * 10 - 5
        x = 250 - s * 4 + 18 * math.sin(s * 0.7)
        pts.append((x, yy))
    for width, col in ((7, "h"), (4, "H")):
        for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
            c.thick_line(x0, y0, x1, y1, col, width=width)
    c.ellipse(40, 60, 14, 9, "h")
    c.ellipse(40, 60, 11, 7, "H")
    # roads between the zones
    road = [(0, 150), (70, 190), (110, 160), (143, 120), (190, 140), (232, 155), (320, 130)]
    road2 = [(143, 120), (160, 60), (170, 0)]
    road3 = [(110, 160), (173, 168), (232, 155)]
    road4 = [(70, 190), (90, 240)]
    road5 = [(40, 60), (90, 90), (143, 120)]
    for r in (road, road2, road3, road4, road5):
        for (x0, y0), (x1, y1) in zip(r, r[1:]):
            c.thick_line(x0, y0, x1, y1, "d", width=3)
        for (x0, y0), (x1, y1) in zip(r, r[1:]):
            c.line(x0, y0, x1, y1, "s")
    # villages: clusters of roofs
    for x, yy in ((60, 80), (120, 200), (210, 90), (280, 200), (35, 140), (260, 60), (100, 30)):
        for k in range(7):
            hx = x + int(rng.integers(-8, 8))
            hy = yy + int(rng.integers(-6, 6))
            c.rect(hx, hy, hx + 2, hy + 1, "e" if k % 3 == 0 else "l")
            c.hline(hx, hx + 2, hy + 2, "K")
    # military camps near the mission zones
    for x, yy in ((150, 108), (240, 145), (78, 180)):
        c.rect(x, yy, x + 8, yy + 5, "o")
        c.box(x - 1, yy - 1, x + 9, yy + 6, "y")
        for k in range(3):
            c.rect(x + 1 + k * 3, yy + 1, x + 2 + k * 3, yy + 4, "O")
    # the boss fortress around its node
    fx, fy = NODES[3]
    pts = []
    for k in range(10):
        r = 16 if k % 2 == 0 else 10
        a = k * math.pi / 5 - math.pi / 2
        pts.append((fx + math.cos(a) * r, fy + math.sin(a) * r * 0.8))
    c.poly(pts, "K")
    c.poly([(fx + (px - fx) * 0.85, fy + (py - fy) * 0.85) for px, py in pts], "n")
    c.poly([(fx + (px - fx) * 0.6, fy + (py - fy) * 0.6) for px, py in pts], "N")
    c.ellipse(fx, fy, 4, 3, "q")
    # darken everything so the green names read, then frame it
    dark = Canvas(w, h)
    dark.rect(0, 0, w - 1, h - 1, "1", alpha=110)
    c.blit(dark, 0, 0)
    for x, yy in NODES:
        c.ring(x, yy, 12, 9, "a", thick=0.8, alpha=90)
    for x in range(0, w, 40):
        c.vline(x, 0, h - 1, "1", alpha=40)
    for yy in range(0, h, 40):
        c.hline(0, w - 1, yy, "1", alpha=40)
    c.box(0, 0, w - 1, h - 1, "K")
    c.box(1, 1, w - 2, h - 2, "y")
    c.box(2, 2, w - 3, h - 3, "K")
    # compass
    cx, cy = 296, 28
    c.ellipse(cx, cy, 9, 9, "q")
    c.ring(cx, cy, 9, 9, "y", thick=1)
    c.poly([(cx, cy - 8), (cx + 2, cy), (cx, cy + 8), (cx - 2, cy)], "l")
    c.poly([(cx, cy - 8), (cx + 2, cy), (cx - 2, cy)], "e")
    draw_text(c, cx - 1, cy - 19, "N", "y")
    # title and legend
    tw = text_width("THEATRE OF INVASION")
    c.rect(5, 4, 8 + tw + 1, 13, "q")
    c.box(4, 3, 8 + tw + 2, 14, "y")
    draw_text(c, 8, 6, "THEATRE OF INVASION", "y")
    c.rect(6, 216, 150, 233, "q")
    c.box(5, 215, 151, 234, "y")
    draw_text(c, 9, 217, "Arrows: steer the Dazozuzo", "l")
    draw_text(c, 9, 225, "Z over a zone: invade it", "l")
    return c


@picture("Gfx/map/dazozuzo.png")
def map_dazozuzo():
    return gridsprite.sheet("mapDazozuzo")


@picture("Gfx/map/missionNode.png")
def mission_node():
    c = Canvas(7, 7)
    c.grid(0, 0, """
        ..aaa..
        .aKKKa.
        aKKZKKa
        aKZWZKa
        aKKZKKa
        .aKKKa.
        ..aaa..""")
    return c


@picture("Gfx/map/missionNodeLocked.png")
def mission_node_locked():
    c = Canvas(7, 7)
    c.grid(0, 0, """
        ..NNN..
        .N...N.
        .N...N.
        KKKKKKK
        KnnKnnK
        KnnKnnK
        KKKKKKK""")
    c.rect(1, 4, 5, 5, "N")
    c.px(3, 4, "K")
    c.px(3, 5, "K")
    return c


# ---------------------------------------------------------------------------
# intro and outro


@picture("Gfx/blackScreen.png")
def black_screen():
    return Canvas(320, 240, fill=(0, 0, 0))


@picture("whitePixel.png")
def white_pixel():
    return Canvas(320, 240, fill="W")


@picture("star.png")
def star():
    c = Canvas(1, 1)
    c.px(0, 0, "W")
    return c


# the Trellan fleet dives towards the planet, engines at the top; the two
# frames flicker the engines and swap the wing-tip lights


@picture("trellan01.png")
def trellan01():
    return gridsprite.sheet("trellan01")


@picture("trellan02.png")
def trellan02():
    return gridsprite.sheet("trellan02")


@picture("trellan03.png")
def trellan03():
    return gridsprite.sheet("trellan03")


@picture("trellan04.png")
def trellan04():
    return gridsprite.sheet("trellan04")


@picture("nukeMissile.png")
def nuke_missile():
    return gridsprite.sheet("nukeMissile")


@picture("title.png")
def title():
    """The logo: a small "The" over "Vevu Zudevur" in dripping acid slime."""
    w, h = 235, 56
    c = Canvas(w, h)
    big = "Vevu Zudevur"
    scale = 4
    tw = text_width(big) * scale - scale
    x0 = (w - tw) // 2
    y0 = 16
    letters = Canvas(w, h)
    draw_text(letters, x0, y0, big, "a", scale=scale)
    ramp = ["Z", "Z", "a", "a", "A", "D"]
    for y in range(y0, y0 + 6 * scale):
        for x in range(w):
            if letters.opaque(x, y):
                letters.px(x, y, ramp[(y - y0) // scale])
    # a glint along the top of every stroke
    for y in range(y0, y0 + 6 * scale):
        for x in range(w):
            if letters.opaque(x, y) and not letters.opaque(x, y - 1):
                letters.px(x, y, "W")
    # drips from the letter bottoms
    rng = np.random.default_rng(3)
    bottom = y0 + 6 * scale - 1
    for x in range(x0, x0 + tw):
        if letters.opaque(x, bottom) and rng.uniform() < 0.12:
            ln = int(rng.integers(2, 7))
            letters.vline(x, bottom + 1, bottom + ln, "A")
            letters.px(x, bottom + ln + 1, "a")
    letters.outline("M")
    letters.outline("K")
    c.blit(letters.shifted(2, 2).recolour({k: "K" for k in "ZaADMmKW"}), 0, 0)
    c.blit(letters, 0, 0)
    small = Canvas(w, h)
    draw_text(small, x0 + 2, 1, "The", "m", scale=2)
    small.outline("K")
    c.blit(small, 0, 0)
    sub = "an invasion in four missions"
    sw = text_width(sub) - 1
    draw_text(c, x0 + tw - sw, 48, sub, "P", shadow="K")
    return c


OUTRO_LINES = [
    ("The boss gunship falls burning into the fields.", "L"),
    ("Its last fortress is silent.", "L"),
    ("", None),
    ("The siege larva crawls home to the Dazozuzo,", "L"),
    ("heavy with the matter of a conquered land.", "L"),
    ("", None),
    ("Below, the farms and barracks lie empty", "L"),
    ("under a bruised evening sky.", "L"),
    ("", None),
    ("The mothership rises, its lights blinking out", "L"),
    ("one by one among the stars...", "L"),
    ("", None),
    ("...and somewhere, another world is waiting.", "P"),
]


@picture("outro/outroText.png")
def outro_text():
    c = Canvas(320, 240)
    y = 30
    for line, col in OUTRO_LINES:
        if line:
            tw = text_width(line) - 1
            draw_text(c, (320 - tw) // 2, y, line, col, shadow="K")
        y += 11
    end = "THE END"
    tw = text_width(end) * 3 - 3
    draw_text(c, (320 - tw) // 2, 190, end, "a", scale=3, outline="K")
    return c
