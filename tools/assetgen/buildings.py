"""Buildings, turrets and the Dazozuzo mothership."""

import math

from canvas import Canvas, strip
from registry import picture


def _windows(c, xs, y, lit=True, h=2):
    for i, x in enumerate(xs):
        col = "F" if lit and (i % 3 != 1) else "q"
        c.rect(x, y, x + 1, y + h - 1, col)
        if col == "F":
            c.px(x, y, "f")


def _ground_strip(c, x0, x1, y):
    c.hline(x0, x1, y, "d")


@picture("Gfx/buildings/factory.png")
def factory():
    c = Canvas(44, 28)
    # chimney with a glowing top
    c.rect(6, 2, 9, 12, "n")
    c.hline(6, 9, 4, "R")
    c.hline(5, 10, 2, "N")
    c.px(7, 1, "x")
    c.px(8, 0, "X")
    # main hall with a curved corrugated roof
    c.rect(2, 12, 41, 27, "o")
    for x in range(2, 42):
        top = 12 - int(5 * math.sin(math.pi * (x - 2) / 39.0))
        c.vline(x, top, 12, "O" if x % 3 else "o")
    c.hline(2, 41, 13, "y")
    for x in range(4, 41, 3):
        c.vline(x, 14, 16, "O")
    # big door with hazard stripes
    c.rect(14, 17, 29, 27, "n")
    for y in range(18, 27, 2):
        c.hline(15, 28, y, "N")
    for x in range(14, 30):
        c.px(x, 17, "F" if (x // 2) % 2 else "K")
    # side office with lit windows
    c.rect(33, 18, 40, 27, "y")
    _windows(c, [34, 37], 20)
    _windows(c, [3, 6, 9], 19)
    # tank emblem over the door
    c.grid(19, 14, """
        .KKK..
        KKKKKK
        .K.K..""")
    c.hline(0, 43, 27, "d")
    c.outline("K")
    return c


@picture("Gfx/buildings/barracks.png")
def barracks():
    c = Canvas(33, 21)
    # flag pole
    c.vline(30, 1, 20, "N")
    c.rect(26, 1, 29, 3, "e")
    c.hline(26, 29, 2, "W")
    # long hut with a pitched roof
    c.poly([(1, 10), (5, 5), (25, 5), (29, 10)], "S")
    c.hline(4, 26, 6, "d")
    c.hline(2, 28, 9, "d")
    c.rect(2, 10, 27, 20, "o")
    c.hline(2, 27, 10, "O")
    for x in range(2, 28, 4):
        c.vline(x, 11, 20, "O")
    # door and windows
    c.rect(13, 13, 17, 20, "d")
    c.px(16, 17, "F")
    _windows(c, [4, 8, 20, 24], 13)
    # sandbags
    for x in range(0, 13, 3):
        c.rect(x, 18, x + 2, 20, "y")
        c.px(x + 2, 19, "S")
    c.outline("K")
    return c


@picture("Gfx/buildings/airpad.png")
def airpad():
    c = Canvas(44, 28)
    # control tower
    c.rect(30, 6, 37, 27, "N")
    c.vline(30, 6, 27, "n")
    c.rect(28, 2, 39, 6, "n")
    c.rect(29, 3, 38, 5, "c")
    c.px(31, 3, "W")
    c.hline(27, 40, 1, "N")
    c.vline(33, 0, 1, "n")
    c.px(33, 0, "R")
    _windows(c, [32, 35], 10)
    _windows(c, [32, 35], 15)
    c.rect(32, 22, 35, 27, "q")
    # windsock
    c.vline(41, 8, 27, "N")
    c.grid(38, 8, """
        rWr
        .rW""")
    # the pad: concrete slab with a painted circle
    c.rect(0, 24, 28, 27, "n")
    c.hline(0, 28, 24, "N")
    for x in range(2, 28, 4):
        c.hline(x, x + 1, 25, "F")
    # a parked duster on the pad
    import units
    c.blit(units.duster_sideways(), -2, 11)
    # fuel drums
    c.rect(25, 20, 27, 23, "e")
    c.hline(25, 27, 21, "R")
    c.outline("K")
    return c


def _house(w, h, wall, roof, roof_dark, chimney_x, door_x, wins, porch=False, roof_h=7, seed=0):
    c = Canvas(w, h)
    wall_top = roof_h + 1
    c.rect(2, wall_top, w - 3, h - 1, wall)
    # shading on the right wall
    c.vline(w - 3, wall_top, h - 1, "b" if wall in ("l", "L") else "S")
    if chimney_x is not None:
        c.rect(chimney_x, 0, chimney_x + 2, roof_h - 1, "S")
        c.hline(chimney_x, chimney_x + 2, 0, "d")
    c.poly([(0, roof_h + 1.5), (roof_h, 1), (w - 1 - roof_h, 1), (w, roof_h + 1.5)], roof)
    for y in range(2, roof_h + 1, 2):
        c.hline(max(0, roof_h - y + 1), min(w - 1, w - 1 - roof_h + y - 1), y, roof_dark)
    c.hline(0, w - 1, roof_h + 1, roof_dark)
    # door
    c.rect(door_x, h - 6, door_x + 3, h - 1, "d")
    c.px(door_x + 2, h - 3, "F")
    for x in wins:
        c.rect(x, wall_top + 2, x + 3, wall_top + 4, "F")
        c.vline(x + 1, wall_top + 2, wall_top + 4, "d")
        c.hline(x, x + 3, wall_top + 3, "d")
        c.px(x, wall_top + 2, "f")
    if porch:
        c.hline(door_x - 3, door_x + 6, h - 7, roof_dark)
        c.vline(door_x - 3, h - 7, h - 1, "d")
        c.vline(door_x + 6, h - 7, h - 1, "d")
    c.outline("K")
    return c


@picture("Gfx/buildings/house01.png")
def house01():
    return _house(33, 18, "l", "e", "R", 22, 8, [16, 24])


@picture("Gfx/buildings/house02.png")
def house02():
    return _house(37, 21, "y", "S", "d", 7, 23, [6, 13, 29], roof_h=8)


@picture("Gfx/buildings/house03.png")
def house03():
    return _house(34, 20, "L", "u", "Q", 24, 14, [6, 24], porch=True)


@picture("Gfx/buildings/house04.png")
def house04():
    c = _house(43, 19, "O", "n", "q", 33, 18, [6, 11, 28, 34], roof_h=6)
    return c


@picture("Gfx/buildings/airMineLauncher.png")
def air_mine_launcher():
    """A bunker with a tilted launch tube and a mine loaded at its mouth."""
    c = Canvas(31, 25)
    body = Canvas(31, 25)
    # spare mines on a rack
    for x in (5, 10):
        body.ellipse(x, 14, 2.2, 2.2, "n")
        body.px(x - 1, 13, "N")
        body.px(x, 14, "R")
        for dx, dy in ((-3, 0), (3, 0), (0, -3)):
            body.px(x + dx, 14 + dy, "N")
    body.hline(2, 13, 17, "n")
    # launch tube on its turntable
    body.thick_line(14, 15, 21, 6, "o", width=5)
    body.line(12, 14, 19, 5, "O")
    body.ellipse(15, 16, 7, 2.2, "N")
    body.ellipse(21.5, 5.5, 3, 3, "n")
    # the loaded mine
    body.ellipse(22.5, 4, 2.6, 2.6, "n")
    body.px(21.5, 3, "N")
    body.px(22.5, 4, "R")
    for dx, dy in ((-3, -1), (3, 1), (0, -3), (2, -2), (-2, -3)):
        body.px(22.5 + dx, 4 + dy, "N")
    # bunker base
    body.poly([(1, 24.5), (3, 17), (28, 17), (30, 24.5)], "n")
    body.hline(3, 28, 17, "N")
    body.hline(2, 29, 18, "X")
    for x in range(5, 28, 5):
        body.vline(x, 19, 24, "q")
    body.rect(12, 20, 19, 24, "q")
    for x in range(12, 20):
        body.px(x, 20, "F" if (x // 2) % 2 else "K")
    body.outline("K")
    c.blit(body, 0, 0)
    c.px(27, 16, "e")
    c.px(3, 16, "e")
    return c


# ---------------------------------------------------------------------------
# turrets: frames aim level-near (slightly down), level-far, up-far, up-near

AIM_ANGLES = [-8, 0, 28, 62]


def _turret(w, h, base_fn, pivot, barrel_len, barrel_w, body_fn):
    fr = []
    for ang in AIM_ANGLES:
        c = Canvas(w, h)
        base_fn(c)
        a = math.radians(ang)
        px, py = pivot
        ex, ey = px + math.cos(a) * barrel_len, py - math.sin(a) * barrel_len
        gun = Canvas(w, h)
        gun.thick_line(px, py, ex, ey, "n", width=barrel_w)
        gun.line(px, py - (1 if barrel_w > 1 else 0), ex, ey - (1 if barrel_w > 1 else 0), "N")
        gun.px(ex, ey, "K")
        gun.outline("K")
        c.blit(gun, 0, 0)
        body_fn(c)
        fr.append(c)
    return strip(fr)


@picture("Gfx/buildings/lightTurret.png")
def light_turret():
    def base(c):
        c.rect(3, 7, 12, 10, "n")
        c.hline(3, 12, 7, "N")
        c.hline(2, 13, 10, "K")
        c.px(2, 8, "K")
        c.px(13, 8, "K")

    def body(c):
        c.ellipse(7.5, 5.5, 3.2, 2.6, "o")
        c.hline(6, 9, 4, "O")
        c.px(8, 5, "R")
        c.outline("K")
    return _turret(16, 11, base, (8, 5), 7, 1, body)


@picture("Gfx/buildings/medTurret.png")
def med_turret():
    def base(c):
        # concrete pillbox
        c.poly([(2, 22.5), (4, 13), (16, 13), (19, 22.5)], "N")
        c.hline(4, 16, 13, "X")
        for y in (16, 19):
            c.hline(3, 18, y, "n")
        c.rect(8, 17, 12, 19, "q")

    def body(c):
        c.ellipse(10, 10, 5, 4, "o")
        c.hline(7, 13, 7, "O")
        c.rect(9, 5, 11, 6, "n")
        c.px(8, 10, "y")
        c.outline("K")
    return _turret(21, 23, base, (11, 9), 10, 2, body)


@picture("Gfx/buildings/heavyTurret.png")
def heavy_turret():
    def base(c):
        c.poly([(1, 24.5), (4, 14), (22, 14), (26, 24.5)], "n")
        c.hline(4, 22, 14, "N")
        for x in range(4, 24, 4):
            c.vline(x, 16, 24, "q")
        for x in range(2, 25):
            c.px(x, 22, "F" if (x // 2) % 2 else "K")

    def body(c):
        c.ellipse(13, 11, 7, 5, "o")
        c.ellipse(12, 9.5, 5, 3, "O")
        c.rect(10, 5, 14, 6, "n")
        c.px(15, 11, "R")
        c.outline("K")
    return _turret(27, 25, base, (14, 9), 12, 3, body)


# ---------------------------------------------------------------------------
# the Dazozuzo

LIGHT_XS = [5, 10, 16, 22, 28, 34, 39]


def _mothership(out, lights_on, legs=True, thrust=None):
    cx = 22
    c = Canvas(out.w, out.h)
    if legs:
        for lx, fx in ((10, 6), (22, 22), (34, 38)):
            c.thick_line(lx, 26, fx, 38, "M", width=2)
            c.line(lx, 26, fx, 38, "p")
            c.rect(fx - 2, 38, fx + 2, 39, "p")
            c.hline(fx - 2, fx + 2, 39, "M")
    else:
        for lx in (10, 22, 34):
            c.rect(lx - 1, 27, lx + 1, 29, "M")
    if thrust is not None:
        # engine glow under the hull, drawn behind it
        for k, tx in enumerate((14, 22, 30)):
            ln = 6 + thrust * 4 + (k % 2)
            for y in range(28, 28 + ln):
                f = (y - 28) / ln
                out.blend(tx, y, "W" if f < 0.4 else "c", int(255 * (1 - f * 0.8)))
                out.blend(tx - 1, y, "c", int(170 * (1 - f)))
                out.blend(tx + 1, y, "c", int(170 * (1 - f)))
            out.glow(tx, 29, 5, "c", peak=140)
    # dome
    c.ellipse(cx, 13, 11, 10, "p")
    c.ellipse(cx - 1, 12, 9, 8, "P")
    c.ellipse(cx - 4, 8, 3, 2.5, "L")
    # organic ribs on the dome
    for dx in (-6, 0, 6):
        for y in range(5, 21):
            xx = cx + dx * (0.55 + 0.45 * (y - 4) / 16.0)
            if c.opaque(int(xx), y):
                c.px(xx, y, "p")
    # glowing eye window
    c.ellipse(cx, 15, 4, 2.4, "q")
    c.ellipse(cx, 15, 2.6, 1.4, "c")
    c.px(cx - 1, 14, "W")
    # the saucer body
    c.ellipse(cx, 23, 21.5, 6, "p")
    c.ellipse(cx, 22, 20, 3.5, "P")
    c.hline(3, 41, 25, "M")
    c.ellipse(cx, 27, 14, 2.6, "M")
    # magenta veins
    for x0 in (7, 17, 28, 36):
        c.line(x0, 21, x0 + 3, 24, "m")
    # rim lights
    for i, x in enumerate(LIGHT_XS):
        on = lights_on(i)
        c.rect(x, 24, x + 1, 25, "c" if on else "q")
        c.px(x, 24, "W" if on else "Q")
    c.outline("K")
    out.blit(c, 0, 0)
    for i, x in enumerate(LIGHT_XS):
        if lights_on(i):
            out.glow(x + 0.5, 24.5, 3.2, "c", peak=150)


@picture("Gfx/buildings/homebase.png")
def homebase():
    fr = []
    for t in range(4):
        c = Canvas(45, 40)
        # running lights chase around the rim
        _mothership(c, lambda i, t=t: (i + t) % 4 == 0 or (i - t) % 4 == 0)
        fr.append(c)
    return strip(fr)


@picture("Gfx/buildings/homebaseFlying.png")
def homebase_flying():
    fr = []
    for t in range(2):
        c = Canvas(45, 40)
        _mothership(c, lambda i, t=t: i % 2 == t, legs=False, thrust=t)
        fr.append(c)
    return strip(fr)
