"""The siege larva and everything that moves on the battlefield."""

import math

import numpy as np

from canvas import Canvas, strip
from fx import GOO, puff_explosion
from registry import picture

# ---------------------------------------------------------------------------
# the siege larva (32 x 23 cells, feet on row 21, facing right)


SEGMENTS = [(5.0, 14.0, 3.0, 2.8), (9.5, 12.8, 3.6, 3.8), (14.5, 11.6, 4.2, 4.8), (19.8, 11.0, 4.3, 5.3)]
HEAD = (25.6, 11.6, 4.3, 4.4)


def _segment(c, x, y, rx, ry, head=False):
    seg = Canvas(c.w, c.h)
    seg.ellipse(x, y, rx, ry, "A")
    # light from above, dark belly
    seg.ellipse(x - 0.3, y - ry * 0.45, rx * 0.75, ry * 0.42, "a")
    for xx in range(int(x - rx), int(x + rx) + 1):
        for yy in range(int(y + ry * 0.45), int(y + ry) + 1):
            if seg.opaque(xx, yy):
                seg.px(xx, yy, "D")
    seg.px(x - rx * 0.35, y - ry * 0.6, "Z")
    if not head:
        seg.px(x, y + 1, "m")
    seg.outline("K")
    c.blit(seg, 0, 0)


def _larva_body(c, dy, mouth_open=False):
    """Segmented grub in its armoured siege suit, head to the right."""
    for x, y, rx, ry in SEGMENTS:
        _segment(c, x, y + dy, rx, ry)
    hx, hy, hrx, hry = HEAD
    _segment(c, hx, hy + dy, hrx, hry, head=True)
    # armour plates strapped over the back
    for x0, x1, y in ((11, 17, 6), (16, 23, 5)):
        c.rect(x0, y + dy, x1, y + 1 + dy, "N")
        c.hline(x0, x1, y + dy, "L")
        c.hline(x0, x1, y + 2 + dy, "K")
        c.px(x0, y + 1 + dy, "K")
        c.px(x1, y + 1 + dy, "K")
    # helmet plate on the head
    c.rect(23, 7 + dy, 27, 8 + dy, "N")
    c.hline(23, 27, 7 + dy, "L")
    c.hline(22, 28, 6 + dy, "K")
    # back-mounted gland cannon, aimed forward
    c.rect(17, 2 + dy, 22, 3 + dy, "n")
    c.hline(17, 22, 2 + dy, "N")
    c.rect(23, 2 + dy, 24, 3 + dy, "M")
    c.px(24, 2 + dy, "m")
    c.box(16, 1 + dy, 25, 4 + dy, "K")
    c.rect(18, 4 + dy, 19, 4 + dy, "n")
    # the eye, the mouth and the mandibles
    c.rect(27, 10 + dy, 28, 11 + dy, "m")
    c.px(27, 10 + dy, "W")
    c.px(29, 10 + dy, "M")
    c.px(29, 13 + dy, "K")
    c.px(28, 13 + dy, "K")
    if mouth_open:
        c.px(29, 14 + dy, "M")
    c.px(30, 14 + dy, "y")
    c.px(30, 15 + dy, "y")
    c.px(31, 15 + dy, "K")
    c.px(31, 14 + dy, "K")


def _leg(c, x, top, foot_dx, lift, near=True):
    """A jointed mech leg from the body (top) to the foot on row 21."""
    leg = Canvas(c.w, c.h)
    fx = x + foot_dx
    fy = 21 - lift
    kx = x + (foot_dx + 1) // 2 + 1
    ky = top + 2 - lift
    col = "X" if near else "n"
    leg.line(x, top, kx, ky, "N" if near else "n")
    leg.line(kx, ky, fx, fy, col)
    leg.px(kx, ky, "m" if near else "M")
    leg.px(fx + 1, fy, col)
    leg.outline("K")
    c.blit(leg, 0, 0)


def larva_walk_frame(t):
    c = Canvas(32, 23)
    dy = [0, -1, 0, -1][t]
    steps = [(2, -2), (0, 0), (-2, 2), (0, 0)]
    lifts = [(0, 0), (1, 0), (0, 0), (0, 1)]
    a, b = steps[t]
    la, lb = lifts[t]
    # far legs first, then the body, then the near legs
    for x, ph, lf in ((11, b, lb), (21, a, la)):
        _leg(c, x, 15 + dy, ph, lf, near=False)
    _larva_body(c, dy)
    for x, ph, lf in ((8, a, la), (15, b, lb), (22, a, la)):
        _leg(c, x, 16 + dy, ph, lf)
    return c


@picture("Gfx/siegeSuit/siegeSuitWalking.png")
def larva_walking():
    return strip([larva_walk_frame(t) for t in range(4)])


@picture("Gfx/siegeSuit/siegeSuitWalkLeft.png")
def larva_walk_left():
    return strip([larva_walk_frame(t).flipped() for t in range(4)])


def larva_fly_frame(t):
    """Seen from the front so it reads for either facing: wings beat."""
    c = Canvas(32, 23)
    wings = Canvas(32, 23)
    if t == 0:
        lw = [(13, 9), (3, 1), (1, 4), (6, 9), (12, 12)]
    else:
        lw = [(13, 10), (2, 12), (1, 16), (6, 15), (12, 13)]
    rw = [(31 - x, y) for x, y in lw]
    wings.poly(lw, "P")
    wings.poly(rw, "P")
    # wing veins
    wings.line(lw[0][0], lw[0][1], lw[1][0], lw[1][1], "p")
    wings.line(rw[0][0], rw[0][1], rw[1][0], rw[1][1], "p")
    wings.line(lw[0][0], lw[0][1], lw[3][0], lw[3][1], "c")
    wings.line(rw[0][0], rw[0][1], rw[3][0], rw[3][1], "c")
    wings.outline("M")
    c.blit(wings, 0, 0)
    body = Canvas(32, 23)
    body.ellipse(15.5, 11, 6.2, 7.4, "A")
    body.ellipse(15.5, 13.5, 4.6, 4.6, "D")
    for yy in (8, 12, 16):
        body.hline(11, 20, yy, "D")
    body.ellipse(15.5, 7.5, 4.5, 3.2, "N")
    body.hline(12, 19, 6, "L")
    body.rect(14, 8, 17, 10, "m")
    body.rect(15, 8, 16, 8, "W")
    body.px(12, 12, "m")
    body.px(19, 12, "m")
    # dangling legs
    for x, dx in ((12, -2), (19, 2), (14, -1), (17, 1)):
        body.line(x, 17, x + dx, 20 + (t if x in (12, 19) else 1 - t), "n")
    body.outline("K")
    c.blit(body, 0, 0)
    return c


@picture("Gfx/siegeSuit/siegeSuitFlying.png")
def larva_flying():
    return strip([larva_fly_frame(t) for t in range(2)])


@picture("Gfx/siegeSuit/suitShield.png")
def suit_shield():
    """Frames 0-2 replay a hit on the shield, frame 3 is the steady shield."""
    fr = []
    cx, cy, rx, ry = 15.5, 14.5, 15.0, 14.0
    for t in range(4):
        c = Canvas(32, 31)
        fill = [150, 95, 60, 34][t]
        fillc = ["W", "c", "c", "c"][t]
        c.ellipse(cx, cy, rx, ry, fillc, alpha=fill)
        if t in (1, 2):
            # honeycomb of the shield cells lights up after a hit
            for y in range(31):
                for x in range(32):
                    if ((x + (y // 3) * 2) % 4 == 0) and y % 3 == 0:
                        d = ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2
                        if d < 0.9:
                            c.blend(x, y, "W", 150 if t == 1 else 90)
        if t == 2:
            c.ring(cx, cy, rx - 4, ry - 4, "c", thick=1.0, alpha=120)
        rim = ["W", "W", "c", "c"][t]
        c.ring(cx, cy, rx, ry, rim, thick=1.1, alpha=[255, 240, 220, 200][t])
        c.ring(cx, cy, rx - 1.2, ry - 1.2, "c", thick=1.0, alpha=[200, 150, 110, 80][t])
        # a glint on the upper left
        for k in range(5):
            a = math.radians(200 + k * 10)
            c.blend(cx + math.cos(a) * (rx - 3), cy + math.sin(a) * (ry - 3), "W", 200)
        fr.append(c)
    return strip(fr)


# ---------------------------------------------------------------------------
# the egg: laid, pulsing, cracking from frame 9, burst by frame 16


def _egg_shell(c, cx, cy, rx, ry, vein_col, glow=0):
    c.ellipse(cx, cy, rx, ry, "p")
    c.ellipse(cx - rx * 0.25, cy - ry * 0.2, rx * 0.7, ry * 0.72, "P")
    c.ellipse(cx - rx * 0.45, cy - ry * 0.5, rx * 0.18, ry * 0.16, "L")
    # veins
    for k, (a0, a1) in enumerate(((200, 250), (290, 330), (150, 180), (20, 60))):
        pts = []
        for s in range(6):
            a = math.radians(a0 + (a1 - a0) * s / 5)
            r = 0.55 + 0.08 * math.sin(s * 1.7 + k)
            pts.append((cx + math.cos(a) * rx * r, cy + math.sin(a) * ry * r))
        for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
            c.line(x0, y0, x1, y1, vein_col)
    if glow:
        c.glow(cx, cy + 1, rx * 0.55, "m", peak=glow)


def _nest(c, t):
    """Fleshy nest holding the egg on the ground line (row 25)."""
    c.ellipse(21, 26, 19.5, 4.2, "M")
    c.ellipse(21, 25.4, 17, 3.0, "p")
    for x in range(4, 39, 5):
        c.px(x, 24 + (x // 5) % 2, "m")
    c.hline(6, 36, 28, "D")
    c.hline(9, 33, 29, "A", alpha=200)


def _crack(c, pts, col="K", glow_col=None):
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        c.line(x0, y0, x1, y1, col)
        if glow_col:
            c.line(x0 + 1, y0, x1 + 1, y1, glow_col)


CRACK_A = [(21, 3), (19, 7), (22, 10), (18, 14)]
CRACK_B = [(22, 10), (27, 12), (25, 16), (29, 19)]
CRACK_C = [(19, 7), (13, 9), (15, 13), (10, 16)]
CRACK_D = [(18, 14), (20, 18), (16, 21)]


def egg_frame(t):
    c = Canvas(43, 33)
    cx, cy = 21, 13.5
    if t <= 12:
        _nest(c, t)
        if t == 0:
            rx, ry, oy = 16.5, 10.5, 2.5
        elif t == 1:
            rx, ry, oy = 14.0, 13.0, -0.5
        else:
            pulse = math.sin((t - 2) * math.pi / 3.0)
            rx, ry, oy = 15.0 + 0.9 * pulse, 12.0 + 0.9 * pulse, -0.9 * pulse
        shake = 0
        if t in (10, 12):
            shake = 1
        if t == 11:
            shake = -1
        vein = "m" if (t >= 2 and t % 3 == 1) or t >= 9 else "M"
        glow = 0
        if 2 <= t <= 8:
            glow = int(40 + 40 * (0.5 + 0.5 * math.sin((t - 2) * math.pi / 3.0)))
        shell = Canvas(43, 33)
        _egg_shell(shell, cx + shake, cy + oy, rx, ry, vein, glow)
        if 4 <= t <= 12:
            # the larva curled inside shows through the shell as it grows
            ghost = larva_walk_frame(0).recolour({k: "M" for k in "KAaDZmMNnLyW"})
            strength = min(120, 40 + (t - 4) * 14)
            for y in range(ghost.h):
                for x in range(ghost.w):
                    if ghost.a[y, x, 3] and shell.opaque(x + 5 + shake, y + 4) and shell.opaque(x + 5 + shake, y + 3):
                        shell.blend(x + 5 + shake, y + 4, "M", strength)
        shell.outline("K")
        c.blit(shell, 0, 0)
        if t == 0:
            # the splat of being laid
            for x in (3, 7, 35, 39):
                c.px(x, 23, "a")
            c.px(5, 22, "Z")
            c.px(37, 22, "Z")
        if t >= 9:
            s = shake
            _crack(c, [(x + s, y) for x, y in CRACK_A], "K", "c" if t >= 11 else None)
        if t >= 10:
            _crack(c, [(x + s, y) for x, y in CRACK_B], "K", "c" if t >= 11 else None)
            _crack(c, [(x + s, y) for x, y in CRACK_C], "K", "c" if t >= 11 else None)
        if t >= 11:
            _crack(c, [(x + s, y) for x, y in CRACK_D], "K", "c")
            c.glow(cx + s, 10, 7, "c", peak=90 if t == 11 else 140)
        if t == 12:
            # the cap lifts, light pours out
            for x in range(14, 29):
                for y in range(0, 4):
                    if c.opaque(x, y):
                        c.clear(x, y)
            cap = Canvas(43, 33)
            cap.ellipse(21, 3, 8, 3.2, "P")
            cap.hline(15, 27, 4, "p")
            cap.outline("K")
            c.blit(cap.shifted(1, -2), 0, 0)
            for k in range(-3, 4):
                c.blend(21 + k * 2, 0, "W", 160)
        return c
    # burst: frames 13-16
    u = (t - 13) / 3.0
    rng = np.random.default_rng(1313)
    shards = []
    for k in range(14):
        a = rng.uniform(math.pi * 1.05, math.pi * 1.95) if k < 10 else rng.uniform(0.2, math.pi - 0.2)
        sp = rng.uniform(0.6, 1.0)
        shards.append((a, sp, k % 3))
    # goo puddle on the ground
    pw = 10 + 8 * u
    c.ellipse(21, 26.5, pw, 2.6, "A")
    c.hline(int(21 - pw + 2), int(21 + pw - 2), 25, "a")
    c.hline(int(21 - pw + 3), int(21 + pw - 3), 28, "D")
    # the broken lower cup: two halves falling open
    tilt = int(round(u * 6))
    for side in (-1, 1):
        half = Canvas(43, 33)
        x0 = 21 + side * (9 + tilt)
        half.ellipse(x0, 22 + u * 2, 4.2 + (1 - u) * 1.5, 3.4 - u * 1.2, "P")
        half.ellipse(x0 - side, 21.5 + u * 2, 2.0, 1.5, "p")
        half.outline("K")
        c.blit(half, 0, 0)
    # flying shards
    for a, sp, kind in shards:
        d = (6 + 22 * u) * sp
        x = 21 + math.cos(a) * d
        y = 13 + math.sin(a) * d * 0.8 + 26 * u * u * sp
        y = min(y, 26)
        col = ["P", "p", "L"][kind]
        c.px(x, y, col)
        c.px(x + 1, y, "K")
        if kind == 0 and t < 16:
            c.px(x, y + 1, "p")
    if t == 13:
        c.glow(21, 12, 12, "c", peak=150)
        for k in range(10):
            a = k * math.pi / 5
            c.line(21 + math.cos(a) * 6, 12 + math.sin(a) * 5, 21 + math.cos(a) * 14, 12 + math.sin(a) * 11, "c", alpha=150)
    if t <= 14:
        # goo thrown up
        for k in range(8):
            a = math.pi + (k + 0.5) * math.pi / 8
            d = 8 + 10 * u
            c.px(21 + math.cos(a) * d, 14 + math.sin(a) * d * 0.7 + 10 * u, "a")
    return c


@picture("Gfx/siegeSuit/egg.png")
def egg():
    return strip([egg_frame(t) for t in range(17)])


@picture("Gfx/fooExplosion.png")
def foo_explosion():
    """The larva bursts: it swells, flashes, blows apart in green fire and
    goo, and leaves a smoking puddle (the last frame stays up)."""
    fr = []
    base = larva_walk_frame(0)
    blast = puff_explosion(53, 36, 26, 22, 8, 15, 99, ["W", "Z", "a", "m", "M", "x", "X"], puffs=16, debris=10, rise=0.4)
    for t in range(10):
        c = Canvas(53, 36)
        if t <= 1:
            body = base.copy()
            if t == 1:
                body = body.recolour({"A": "a", "D": "A", "n": "m", "N": "m"})
            c.blit(body, 26 - 16, 34 - 21)
            if t == 1:
                c.glow(26, 24, 9, "W", peak=150)
        else:
            # puddle grows on the ground under the blast
            pw = min(16, 6 + t * 2)
            c.ellipse(26, 34.5, pw, 1.7, "A")
            c.hline(26 - pw + 2, 26 + pw - 2, 34, "a")
            c.blit(blast[min(t - 2, 7)], 0, 0)
            if t >= 7:
                # armour scraps lying in the goo
                for x, y in ((16, 33), (31, 33), (37, 34), (22, 34)):
                    c.px(x, y, "N")
                    c.px(x + 1, y, "n")
        fr.append(c)
    return strip(fr)


# ---------------------------------------------------------------------------
# people and cows (7 x 7, feet on row 6, facing right)


SOLDIER = ["""
    ..oo...
    .ooo...
    ..kk...
    .yyyKKK
    .yyo...
    ..oo...
    .K..K..""", """
    .......
    ..oo...
    .ooo...
    ..kk...
    .yyyKKK
    .yoo...
    ..KK..."""]

CIVILIAN = ["""
    ..dd...
    ..dk...
    .eeee..
    .eeek..
    ..uu...
    .u..u..
    .K..K..""", """
    .......
    ..dd...
    ..dk...
    .eeee..
    .eeek..
    ..uu...
    ..KK..."""]


def _person(grids):
    fr = []
    for g in grids:
        c = Canvas(7, 7)
        c.grid(0, 0, g)
        fr.append(c)
    return strip(fr)


@picture("Gfx/persons/soldier.png")
def soldier():
    return _person(SOLDIER)


@picture("Gfx/persons/civilian.png")
def civilian():
    return _person(CIVILIAN)


@picture("Gfx/persons/soldierGreen.png")
def soldier_green():
    return soldier().irradiated()


@picture("Gfx/persons/civilianGreen.png")
def civilian_green():
    return civilian().irradiated()


@picture("Gfx/persons/personDeath.png")
def person_death():
    grids = ["""
    ..WW...
    ..Wk...
    .eWWW..
    .eWWk..
    ..WW...
    .W..W..
    .K..K..""", """
    .......
    ...dd..
    ..eek..
    .eeek..
    .uu....
    u..u...
    K..K...""", """
    .......
    .......
    .......
    .......
    .......
    Kuueedk
    .K.ee..""", """
    .......
    .......
    .......
    ..X.X..
    .X.X.X.
    KuXeXdk
    .XXXX..""", """
    .......
    .......
    ..X....
    .X.X.X.
    ..X.X..
    .x.X.x.
    .XxXx..""", """
    .......
    .......
    .......
    ..x....
    ....x..
    .x.....
    ..xx.x."""]
    return _person(grids)


COW = ["""
    ........K.
    .llKKlllKK
    llKKKlllKK
    lllllKKlkk
    .llllKKl..
    .K.l..l.K.
    .K.K..K.K.""", """
    ........K.
    .llKKlllKK
    llKKKlllKK
    lllllKKlkk
    .llllKKl..
    ..Kl..lK..
    ..KK..KK.."""]


@picture("Gfx/cow.png")
def cow():
    fr = []
    for g in COW:
        c = Canvas(10, 7)
        c.grid(0, 0, g, remap={"l": "L"})
        fr.append(c)
    return strip(fr)


@picture("Gfx/cowGreen.png")
def cow_green():
    return cow().irradiated()


# ---------------------------------------------------------------------------
# tank and aircraft (facing right)


@picture("Gfx/tank.png")
def tank():
    c = Canvas(29, 21)
    # tracks
    c.ellipse(5, 17, 3.6, 3.4, "n")
    c.ellipse(23, 17, 3.6, 3.4, "n")
    c.rect(5, 14, 23, 20, "n")
    for x in (6, 10, 14, 18, 22):
        c.ellipse(x, 17, 1.6, 1.6, "N")
        c.px(x, 17, "K")
    for x in range(3, 26, 2):
        c.px(x, 20, "K")
        c.px(x + 1, 14, "N")
    # hull
    c.poly([(1, 13.5), (4, 9.5), (25, 9.5), (28, 13.5)], "o")
    c.hline(4, 25, 10, "O")
    c.rect(2, 13, 27, 14, "o")
    c.hline(2, 27, 14, "K")
    # turret
    c.poly([(8, 10), (10, 5), (18, 5), (20, 10)], "o")
    c.hline(10, 18, 5, "O")
    c.rect(11, 6, 13, 7, "O")
    # barrel
    c.rect(20, 6, 28, 7, "n")
    c.hline(20, 28, 6, "N")
    c.rect(27, 5, 28, 8, "n")
    # hatch and antenna
    c.rect(12, 3, 15, 4, "n")
    c.vline(10, 0, 4, "n")
    c.px(10, 0, "R")
    # star insignia
    c.grid(14, 11, """
        .y.
        yyy
        .y.""")
    c.outline("K")
    return c


@picture("Gfx/aircraft/duster/dusterSideways.png")
def duster_sideways():
    """An olive crop-duster biplane, nose to the right."""
    c = Canvas(29, 13)
    body = Canvas(29, 13)
    # tail fin and tail plane
    body.poly([(1, 0.5), (3.5, 0.5), (7, 5), (1, 5)], "o")
    body.hline(1, 3, 1, "O")
    body.hline(0, 7, 6, "o")
    # fuselage, slim at the tail, round at the engine
    body.poly([(2, 4.5), (9, 4.5), (22, 3.5), (25.5, 3.5), (25.5, 8.5), (22, 8.5), (9, 7.5), (2, 6.5)], "O")
    body.hline(9, 22, 7, "o")
    body.hline(8, 22, 5, "y")
    body.rect(22, 3, 25, 8, "n")
    body.vline(22, 3, 8, "N")
    body.px(24, 4, "N")
    # cockpit with the pilot's head
    body.rect(14, 3, 16, 4, "q")
    body.px(15, 3, "k")
    body.px(16, 3, "c")
    # lower wing (behind the struts) and upper wing
    body.rect(10, 8, 20, 9, "y")
    body.hline(10, 20, 9, "o")
    body.rect(9, 0, 21, 1, "y")
    body.hline(9, 21, 1, "o")
    for x in (11, 19):
        body.vline(x, 2, 7, "n")
    # undercarriage and spray bar
    body.line(14, 9, 13, 11, "n")
    body.line(18, 9, 19, 11, "n")
    body.hline(8, 21, 10, "N")
    body.outline("K")
    c.blit(body, 0, 0)
    c.rect(12, 11, 13, 12, "K")
    c.rect(19, 11, 20, 12, "K")
    c.px(12, 11, "N")
    c.px(19, 11, "N")
    # propeller blur at the nose
    for y in range(1, 12):
        c.blend(27, y, "X", 130 if y % 3 else 220)
    c.rect(26, 5, 27, 6, "N")
    return c


@picture("Gfx/aircraft/duster/dusterFront.png")
def duster_front():
    c = Canvas(22, 13)
    c.rect(1, 3, 20, 4, "y")
    c.hline(1, 20, 4, "o")
    c.rect(2, 8, 19, 8, "o")
    for x in (4, 17):
        c.vline(x, 5, 7, "n")
    c.ellipse(10.5, 6, 3.4, 3.6, "O")
    c.ellipse(10.5, 6, 1.6, 1.6, "n")
    c.rect(9, 1, 12, 2, "N")
    c.px(10, 1, "c")
    c.line(9, 9, 7, 11, "n")
    c.line(12, 9, 14, 11, "n")
    c.rect(6, 11, 7, 12, "K")
    c.rect(14, 11, 15, 12, "K")
    c.vline(10, 0, 2, "o")
    c.outline("K")
    # propeller disc
    for x in range(5, 17):
        c.blend(x, 6, "X", 170)
    c.px(10, 6, "K")
    c.px(11, 6, "K")
    return c


# ---------------------------------------------------------------------------
# the boss: a front-on gunship with two ducted rotors at its wing tips


@picture("Gfx/bosses/supercopterBody.png")
def copter_body():
    c = Canvas(153, 35)
    # stub wings to the rotor hubs at x 16 and 137, row 20
    c.poly([(16, 16), (60, 11), (93, 11), (137, 16), (137, 24), (93, 22), (60, 22), (16, 24)], "n")
    c.poly([(16, 16), (60, 11), (93, 11), (137, 16), (137, 18), (93, 14), (60, 14), (16, 18)], "N")
    for x in range(22, 132, 6):
        c.px(x, 21, "K")
    # rocket racks and the wing cannons, muzzles at x 39 and 113, row 29
    for px, side in ((39, -1), (113, 1)):
        c.rect(px - 5, 21, px + 5, 27, "o")
        c.hline(px - 5, px + 5, 21, "O")
        c.rect(px - 1, 27, px + 1, 29, "n")
        c.px(px, 29, "K")
        for k in (-3, 3):
            c.ellipse(px + k, 24, 1.4, 1.4, "K")
            c.px(px + k, 24, "R")
        rx = px + side * 14
        c.rect(rx - 3, 21, rx + 3, 25, "n")
        for k in (-2, 0, 2):
            c.px(rx + k, 25, "e")
            c.px(rx + k, 26, "L")
    # the armoured fuselage, front on
    c.ellipse(76, 16, 19, 16, "n")
    c.ellipse(76, 14, 17, 12, "o")
    c.ellipse(74, 10, 12, 6, "O")
    c.poly([(60, 22), (92, 22), (87, 32), (65, 32)], "o")
    c.hline(62, 90, 22, "n")
    # armoured canopy with two slits
    c.poly([(64, 6), (88, 6), (92, 15), (60, 15)], "q")
    c.poly([(66, 7), (75, 7), (74, 14), (63, 14)], "Q")
    c.poly([(77, 7), (86, 7), (89, 14), (78, 14)], "Q")
    c.line(68, 8, 66, 12, "N")
    c.line(80, 8, 79, 12, "N")
    c.vline(76, 6, 15, "n")
    # the red sensor eye and chin gun
    c.ellipse(76, 19, 2.6, 2.2, "K")
    c.ellipse(76, 19, 1.6, 1.2, "e")
    c.px(75, 18, "f")
    c.rect(72, 27, 80, 30, "n")
    for gx in (74, 76, 78):
        c.vline(gx, 30, 33, "N")
    # camouflage blotches
    for x, y in ((64, 19), (86, 21), (68, 25), (89, 12), (60, 12), (82, 26)):
        c.ellipse(x, y, 2.2, 1.5, "G")
    # rotor mast fairing and exhausts
    c.rect(70, 0, 82, 2, "n")
    c.hline(70, 82, 0, "N")
    c.rect(58, 4, 61, 7, "n")
    c.rect(91, 4, 94, 7, "n")
    c.px(59, 4, "R")
    c.px(92, 4, "R")
    # skids
    c.hline(56, 96, 34, "n")
    c.line(66, 31, 61, 34, "n")
    c.line(86, 31, 91, 34, "n")
    # hubs in front of the rotors, striped like the rest of the army's hazards
    for hx in (16, 137):
        c.ellipse(hx, 20, 7.5, 7.5, "n")
        c.ring(hx, 20, 6.5, 6.5, "F", thick=1.0)
        for k in range(8):
            a = k * math.pi / 4
            c.px(hx + math.cos(a) * 6.5, 20 + math.sin(a) * 6.5, "K")
        c.ellipse(hx, 20, 4, 4, "N")
        c.ellipse(hx, 20, 2, 2, "R")
        c.px(hx - 1, 19, "f")
    # wing-tip lights
    c.px(27, 17, "e")
    c.px(126, 17, "e")
    c.outline("K")
    return c


@picture("Gfx/bosses/supercopterEngine.png")
def copter_engine():
    """A three-bladed rotor facing the viewer; 4 frames turn it 30 degrees
    each, so it spins smoothly."""
    fr = []
    for t in range(4):
        c = Canvas(43, 39)
        cx, cy = 21, 19
        c.ellipse(cx, cy, 20.5, 18.5, "X", alpha=60)
        c.ring(cx, cy, 20.0, 18.0, "X", thick=1.0, alpha=130)
        for k in range(3):
            a = math.radians(t * 30 + k * 120)
            # motion blur behind each blade
            for lag in range(1, 6):
                b = a - math.radians(lag * 7)
                c.thick_line(cx, cy, cx + math.cos(b) * 19, cy + math.sin(b) * 17.5, "N", width=2)
            blade = Canvas(43, 39)
            blade.thick_line(cx, cy, cx + math.cos(a) * 18.5, cy + math.sin(a) * 17, "n", width=3)
            blade.line(cx, cy, cx + math.cos(a) * 18, cy + math.sin(a) * 16.5, "N")
            for r in (15.5, 17.5):
                blade.px(cx + math.cos(a) * r, cy + math.sin(a) * r * 0.92, "F")
            blade.outline("K")
            c.blit(blade, 0, 0)
        # soften the blur trail into translucency
        for y in range(39):
            for x in range(43):
                p = c.a[y, x]
                if tuple(p[:3]) == (0x6d, 0x74, 0x7d) and p[3] == 255:
                    c.a[y, x, 3] = 120
        fr.append(c)
    return strip(fr)
