"""The siege larva and everything that moves on the battlefield."""

import math

import numpy as np

from canvas import Canvas, strip
from fx import GOO, puff_explosion
from registry import picture

# ---------------------------------------------------------------------------
# the siege larva (32 x 23 cells, feet on row 21, facing right)


def _larva_body(c, dy, mouth_open=False):
    """Segmented grub in its armoured siege suit, head to the right."""
    segs = [(6.5, 12.5, 3.8, 3.6), (11.5, 11.5, 4.6, 4.8), (17.0, 11.0, 5.0, 5.4), (22.0, 11.0, 4.6, 5.0)]
    for x, y, rx, ry in segs:
        c.ellipse(x, y + dy, rx, ry, "A")
    # head
    c.ellipse(26.0, 11.5 + dy, 4.2, 4.2, "A")
    # belly shade and back highlight
    for x, y, rx, ry in segs + [(26.0, 11.5, 4.2, 4.2)]:
        for xx in range(int(x - rx), int(x + rx) + 1):
            c.px(xx, y + dy + ry - 1, "D")
            if rx > 4:
                c.px(xx, y + dy - ry + 1.5, "a")
    # segment creases
    for x in (9, 14, 20):
        for yy in range(int(8 + dy), int(15 + dy)):
            if c.opaque(x, yy):
                c.px(x, yy, "D")
    # armour plates on the back: gunmetal with rivets
    for x0, x1, y in ((10, 13, 6), (15, 19, 5), (21, 23, 5)):
        c.rect(x0, y + dy, x1, y + 1 + dy, "N")
        c.hline(x0, x1, y + 2 + dy, "n")
        c.px(x0 + 1, y + dy, "L")
    # back-mounted gland cannon
    c.rect(16, 3 + dy, 20, 4 + dy, "n")
    c.hline(17, 22, 3 + dy, "N")
    c.px(22, 4 + dy, "m")
    # magenta nodes along the flank
    for x in (7, 12, 17):
        c.px(x, 12 + dy, "m")
    # the eye and the mouth
    c.rect(27, 9 + dy, 28, 10 + dy, "m")
    c.px(28, 9 + dy, "W")
    c.px(29, 12 + dy, "D")
    c.px(30, 12 + dy, "K")
    if mouth_open:
        c.px(30, 13 + dy, "M")
    # mandibles
    c.px(29, 14 + dy, "y")
    c.px(30, 15 + dy, "y")


def _leg(c, x, top, foot_dx, lift):
    """A jointed mech leg from the body (top) to the foot on row 21."""
    fx = x + foot_dx
    fy = 21 - lift
    kx = x + foot_dx // 2 + (1 if foot_dx >= 0 else 0)
    ky = top + 2
    c.line(x, top, kx, ky, "n")
    c.line(kx, ky, fx, fy, "N")
    c.px(kx, ky, "K")
    c.px(fx, fy, "K")
    c.px(fx + 1, fy, "K")


def larva_walk_frame(t):
    c = Canvas(32, 23)
    dy = [0, -1, 0, -1][t]
    phase = [(3, -2), (1, 0), (-2, 3), (0, 1)][t]  # (foot offset A, foot offset B)
    lifts = [(0, 1), (0, 0), (1, 0), (0, 0)][t]
    # far legs (darker) first, then the body, then near legs
    for x in (9, 19):
        _leg(c, x, 15 + dy, phase[1], lifts[1])
    tmp = Canvas(32, 23)
    _larva_body(tmp, dy)
    tmp.outline("K")
    c.blit(tmp, 0, 0)
    for x in (7, 14, 22):
        _leg(c, x, 16 + dy, phase[0], lifts[0])
    c.hline(6, 26, 22, "K", alpha=70)  # soft shadow under the feet
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
            rx, ry, oy = 15.0 + 0.6 * pulse, 12.0 + 0.6 * pulse, -0.6 * pulse
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
    .......KK.
    KWWKKWWKkK
    WKKKWWWWWW
    WWKKWKWWkk
    WWWWKKWW..
    .K.K.K.K..
    .K.K.K.K..""", """
    .......KK.
    KWWKKWWKkK
    WKKKWWWWWW
    WWKKWKWWkk
    WWWWKKWW..
    ..KK..KK..
    ..KK..KK.."""]


@picture("Gfx/cow.png")
def cow():
    fr = []
    for g in COW:
        c = Canvas(10, 7)
        c.grid(0, 0, g)
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
    c = Canvas(29, 13)
    # lower wing, fuselage, tail
    c.poly([(2, 2), (5, 2), (8, 6), (2, 6)], "o")
    c.ellipse(14, 6, 11, 2.6, "O")
    c.hline(5, 24, 5, "y")
    c.hline(6, 23, 8, "o")
    c.rect(23, 4, 25, 8, "n")  # engine cowling
    c.rect(16, 3, 18, 4, "N")  # cockpit glass
    c.px(17, 3, "c")
    # wings
    c.rect(10, 1, 21, 2, "y")
    c.hline(10, 21, 2, "o")
    c.rect(11, 8, 20, 9, "o")
    c.vline(12, 3, 7, "n")
    c.vline(19, 3, 7, "n")
    # landing gear
    c.line(14, 9, 13, 11, "n")
    c.line(18, 9, 19, 11, "n")
    c.rect(12, 11, 13, 12, "K")
    c.rect(19, 11, 20, 12, "K")
    # spray bar
    c.hline(9, 21, 10, "N")
    c.outline("K")
    # propeller blur at the nose
    for y in range(1, 12):
        c.blend(27, y, "X", 150 if y % 3 else 220)
    c.px(26, 6, "N")
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
    c.poly([(16, 17), (62, 13), (91, 13), (137, 17), (137, 23), (91, 21), (62, 21), (16, 23)], "n")
    c.hline(16, 137, 17, "N")
    for x in range(24, 130, 8):
        c.px(x, 19, "K")
    # weapon pods hanging under the wings, muzzles at x 39 and 113
    for px in (39, 113):
        c.rect(px - 4, 20, px + 4, 26, "o")
        c.hline(px - 4, px + 4, 20, "O")
        c.rect(px - 1, 26, px + 1, 29, "n")
        c.px(px, 29, "K")
        for k in (-3, 3):
            c.rect(px + k - 1, 23, px + k, 24, "R")
    # the fuselage, front on
    c.ellipse(76, 16, 17, 15, "o")
    c.ellipse(76, 12, 15, 10, "O")
    c.poly([(62, 22), (90, 22), (86, 31), (66, 31)], "o")
    # armoured canopy
    c.poly([(66, 7), (86, 7), (89, 15), (63, 15)], "q")
    c.poly([(68, 8), (75, 8), (73, 14), (65, 14)], "Q")
    c.line(70, 9, 68, 13, "N")
    c.vline(76, 7, 15, "n")
    # chin gun
    c.rect(73, 27, 79, 30, "n")
    c.rect(75, 30, 77, 33, "N")
    # camouflage blotches
    for x, y in ((64, 18), (84, 20), (70, 24), (88, 12), (61, 11)):
        c.ellipse(x, y, 2.2, 1.5, "o")
    # rotor mast and top fairing
    c.rect(72, 0, 80, 2, "n")
    c.hline(72, 80, 0, "N")
    # skids
    c.hline(58, 94, 34, "n")
    c.line(66, 30, 62, 34, "n")
    c.line(86, 30, 90, 34, "n")
    # hubs in front of the rotors
    for hx in (16, 137):
        c.ellipse(hx, 20, 7, 7, "n")
        c.ellipse(hx - 1, 19, 5, 5, "N")
        c.ellipse(hx, 20, 2.4, 2.4, "F")
        c.px(hx - 1, 19, "f")
    # warning lights
    c.px(60, 15, "R")
    c.px(92, 15, "R")
    c.outline("K")
    return c


@picture("Gfx/bosses/supercopterEngine.png")
def copter_engine():
    fr = []
    for t in range(4):
        c = Canvas(43, 39)
        cx, cy = 21, 19
        c.ellipse(cx, cy, 20.5, 18.5, "X", alpha=45)
        c.ring(cx, cy, 20.0, 18.0, "N", thick=1.0, alpha=110)
        for k in range(3):
            a = math.radians(t * 30 + k * 120)
            # motion blur behind each blade
            for lag in (1, 2, 3):
                b = a - math.radians(lag * 9)
                c.line(cx, cy, cx + math.cos(b) * 19, cy + math.sin(b) * 17.5, "N", alpha=110 - lag * 30)
            c.thick_line(cx, cy, cx + math.cos(a) * 18.5, cy + math.sin(a) * 17, "n", width=3)
            c.line(cx, cy, cx + math.cos(a) * 18, cy + math.sin(a) * 16.5, "N")
            c.px(cx + math.cos(a) * 18, cy + math.sin(a) * 16.5, "F")
        fr.append(c)
    return strip(fr)
