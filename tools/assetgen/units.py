"""The siege larva and everything that moves on the battlefield."""

import math

import numpy as np

from canvas import Canvas, strip
import gridsprite
from fx import puff_explosion
from registry import picture

# ---------------------------------------------------------------------------
# the siege larva (32 x 23 cells, feet on row 21, facing right)


def larva_walk_frame(t):
    return gridsprite.frame("siegeSuitWalking", t)


@picture("Gfx/siegeSuit/siegeSuitWalking.png")
def larva_walking():
    return gridsprite.sheet("siegeSuitWalking")


@picture("Gfx/siegeSuit/siegeSuitWalkLeft.png")
def larva_walk_left():
    return strip([f.flipped() for f in gridsprite.frames("siegeSuitWalking")])


@picture("Gfx/siegeSuit/siegeSuitFlying.png")
def larva_flying():
    """Seen from the front so it reads for either facing: wings beat."""
    return gridsprite.sheet("siegeSuitFlying")


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
    # leathery speckles and a few glowing green pores
    for k in range(22):
        a = k * 2.4
        r = 0.25 + 0.6 * ((k * 7) % 10) / 10.0
        x, y = cx + math.cos(a) * rx * r, cy + math.sin(a) * ry * r
        if c.opaque(int(round(x)), int(round(y))):
            c.px(x, y, "p" if k % 4 else "a")
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
    goo with armour scraps flying, and leaves a smoking puddle (the last
    frame stays up until it is rebuilt)."""
    fr = []
    base = larva_walk_frame(0)
    blast = puff_explosion(53, 36, 26, 21, 7, 17, 99, ["W", "Z", "a", "m", "M", "x", "X"], puffs=18, rise=0.45)
    rng = np.random.default_rng(404)
    debris = []
    for k in range(16):
        a = rng.uniform(math.pi * 1.1, math.pi * 1.9)
        sp = rng.uniform(0.5, 1.0)
        debris.append((math.cos(a) * sp * 26, math.sin(a) * sp * 22, "N" if k % 3 == 0 else ("a" if k % 3 == 1 else "A")))
    for t in range(10):
        c = Canvas(53, 36)
        if t <= 1:
            body = base.copy()
            if t == 1:
                body = body.recolour({"A": "a", "D": "m", "n": "M", "N": "m", "a": "Z"})
            c.blit(body, 26 - 16, 34 - 21)
            if t == 1:
                c.glow(26, 24, 11, "W", peak=170)
            fr.append(c)
            continue
        # puddle spreading under the blast
        pw = min(18, 7 + (t - 2) * 2)
        c.ellipse(26, 34.5, pw, 1.8, "D")
        c.ellipse(26, 34.2, pw - 2, 1.2, "A")
        c.hline(26 - pw + 4, 26 + pw - 5, 34, "a")
        if t == 2:
            c.glow(26, 22, 14, "W", peak=230)
            c.ellipse(26, 22, 7, 6, "W")
            c.ellipse(26, 22, 9, 8, "Z", alpha=200)
        else:
            c.blit(blast[min(t - 2, 6)], 0, 0)
        # goo and armour scraps fly out and fall
        tt = (t - 2) / 7.0
        for vx, vy, col in debris:
            x = 26 + vx * tt * 1.2
            y = 22 + vy * tt * 1.3 + 48 * tt * tt
            if y >= 34:
                y = 34
            if t >= 3:
                c.px(x, y, col)
                c.px(x + 1, y, col if col != "N" else "n")
                if col == "N":
                    c.px(x, y - 1, "L")
        if t == 9:
            # what is left: bubbles in the goo and a last wisp of smoke
            for x in (18, 27, 33):
                c.px(x, 33, "Z")
            for k, y in enumerate(range(20, 33, 2)):
                c.blend(24 + (k % 3) - 1, y, "X", 120)
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
    return gridsprite.sheet("tank")


@picture("Gfx/aircraft/duster/dusterSideways.png")
def duster_sideways():
    return gridsprite.sheet("dusterSideways")


@picture("Gfx/aircraft/duster/dusterFront.png")
def duster_front():
    return gridsprite.sheet("dusterFront")


# ---------------------------------------------------------------------------
# the boss: a front-on gunship with two ducted rotors at its wing tips


@picture("Gfx/bosses/supercopterBody.png")
def copter_body():
    """Front on: wing cannons hang at x 39 and 113, the rotor hubs sit at
    x 16 and 137 on row 20, where the rotors are drawn behind them."""
    return gridsprite.sheet("supercopterBody")


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
