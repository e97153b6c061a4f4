"""Explosions, impacts, splashes, glows and shots."""

import math

import numpy as np

from canvas import Canvas, strip
import gridsprite
from registry import picture

FIRE = ["W", "f", "F", "r", "R", "x", "X"]
RAD = ["W", "Z", "z", "a", "A", "D", "D"]
PLASMA = ["W", "c", "P", "p", "M", "q", "Q"]
GOO = ["W", "Z", "a", "A", "D", "M", "x"]


def _hash(x, y, s):
    v = (x * 374761393 + y * 668265263 + s * 2147483647) & 0xFFFFFFFF
    v = ((v ^ (v >> 13)) * 1274126177) & 0xFFFFFFFF
    return (v ^ (v >> 16)) / 4294967296.0


def puff_explosion(w, h, cx, cy, nframes, radius, seed, ramp=FIRE, puffs=14,
                   rise=0.35, flat=1.0, smoke_alpha=True, debris=0):
    """Frames of a fireball: a flash, a growing ball that cools from the
    inside out, then smoke that drifts up and thins away."""
    rng = np.random.default_rng(seed)
    ps = []
    for _ in range(puffs):
        a = rng.uniform(0, 2 * math.pi)
        d = rng.uniform(0.0, 0.85) ** 0.7
        s = rng.uniform(0.28, 0.5)
        hv = rng.uniform(-0.12, 0.12)
        ps.append((a, d, s, hv))
    chunks = [(rng.uniform(0, 2 * math.pi), rng.uniform(0.6, 1.0)) for _ in range(debris)]
    frames = []
    for t in range(nframes):
        u = t / max(1, nframes - 1)
        c = Canvas(w, h)
        if t == 0:
            # the flash: a small white-hot star with short rays
            r0 = max(2.0, radius * 0.32)
            for k in range(8):
                ang = k * math.pi / 4
                L = r0 * (1.6 if k % 2 == 0 else 1.2)
                c.line(cx, cy, cx + math.cos(ang) * L, cy + math.sin(ang) * L * flat, ramp[1])
            c.ellipse(cx, cy, r0, r0 * flat, ramp[1])
            c.ellipse(cx, cy, r0 * 0.6, r0 * 0.6 * flat, ramp[0])
            frames.append(c)
            continue
        grow = min(1.0, 0.45 + 0.9 * u)
        order = sorted(range(len(ps)), key=lambda i: -ps[i][1])
        for i in order:
            a, d, s, hv = ps[i]
            px = cx + math.cos(a) * d * radius * grow
            py = cy + math.sin(a) * d * radius * grow * flat - rise * radius * u * u * 1.2
            pr = s * radius * (0.7 + 0.6 * u)
            heat = 1.0 - 1.6 * u - 0.4 * d + hv
            for y in range(int(py - pr) - 1, int(py + pr) + 2):
                for x in range(int(px - pr) - 1, int(px + pr) + 2):
                    dd = math.hypot(x - px, (y - py) / max(flat, 0.3)) / pr
                    if dd > 1.0:
                        continue
                    hh = heat + (1 - dd) * 0.35
                    idx = int(round((1 - hh) * 4.5))
                    idx = min(max(idx, 0), len(ramp) - 1)
                    col = ramp[idx]
                    if idx >= 5:
                        # smoke thins with age: dither it away
                        keep = 1.0 - max(0.0, (u - 0.6)) * 2.0
                        if _hash(x, y, seed + t) > keep:
                            continue
                        if smoke_alpha and u > 0.8:
                            c.blend(x, y, col, 170)
                            continue
                    c.px(x, y, col)
        for a, sp in chunks:
            dist = radius * (0.3 + 1.1 * u) * sp
            x = cx + math.cos(a) * dist
            y = cy + math.sin(a) * dist * flat + radius * 0.9 * u * u
            if 0.15 < u < 0.95:
                c.px(x, y, ramp[3])
                c.px(x + 1, y, ramp[4])
        frames.append(c)
    return frames


@picture("Gfx/bigExplosion.png")
def big_explosion():
    return strip(puff_explosion(46, 46, 23, 24, 7, 19, 11, FIRE, puffs=18, debris=8))


@picture("Gfx/bigExplosionRad.png")
def big_explosion_rad():
    return big_explosion().irradiated()


def _flak_frames(ramp):
    """A cluster of small airburst puffs that pop one after the other."""
    centres = [(20, 20, 0), (11, 14, 1), (29, 13, 1), (14, 28, 2), (28, 28, 2)]
    n = 5
    frames = [Canvas(40, 40) for _ in range(n)]
    for k, (x, y, delay) in enumerate(centres):
        sub = puff_explosion(40, 40, x, y, n + 1, 8 if k else 10, 40 + k, ramp, puffs=8, rise=0.2)
        for t in range(n):
            st = t - delay
            if 0 <= st < len(sub):
                frames[t].blit(sub[st], 0, 0)
    return frames


@picture("Gfx/flakExplosion.png")
def flak_explosion():
    return strip(_flak_frames(FIRE))


@picture("Gfx/flakExplosionRad.png")
def flak_explosion_rad():
    return flak_explosion().irradiated()


@picture("Gfx/photonExplosion.png")
def photon_explosion():
    """A plasma pop: white flash, a cyan ball, a ring that spreads along the
    ground, a last scatter of sparks."""
    fr = []
    cx, cy = 10, 8
    for t in range(4):
        c = Canvas(21, 15)
        if t == 0:
            c.glow(cx, cy, 5, "c", peak=200)
            c.ellipse(cx, cy, 2.5, 2.5, "W")
            for k in range(4):
                a = k * math.pi / 2
                c.line(cx, cy, cx + math.cos(a) * 4, cy + math.sin(a) * 4, "c")
        elif t == 1:
            c.glow(cx, cy, 8, "c", peak=170)
            c.ellipse(cx, cy, 5, 4, "c")
            c.ellipse(cx, cy, 3.2, 2.6, "W")
            c.ring(cx, cy, 5, 4, "P", thick=0.9)
        elif t == 2:
            c.glow(cx, cy, 9, "P", peak=90)
            c.ring(cx, cy, 8, 5.5, "c", thick=1.4)
            c.ring(cx, cy, 6, 4, "P", thick=0.9, alpha=200)
            c.ellipse(cx, cy, 1.6, 1.4, "W")
        else:
            c.ring(cx, cy, 9.5, 6.5, "P", thick=1.0, alpha=150)
        if t >= 1:
            for k in range(8):
                a = k * math.pi / 4 + 0.3
                r = 3 + t * 2.8
                c.px(cx + math.cos(a) * r, cy + math.sin(a) * r * 0.7, "W" if t < 3 else "c")
        fr.append(c)
    return strip(fr)


@picture("Gfx/tankShotHit.png")
def tank_shot_hit():
    fr = []
    for t in range(3):
        c = Canvas(11, 11)
        if t == 0:
            for k in range(8):
                a = k * math.pi / 4
                ln = 4.5 if k % 2 == 0 else 3
                c.line(5, 5, 5 + math.cos(a) * ln, 5 + math.sin(a) * ln, "F")
            c.ellipse(5, 5, 2, 2, "f")
            c.px(5, 5, "W")
        elif t == 1:
            c.ellipse(5, 5, 4.5, 4.5, "R")
            c.ellipse(5, 5, 3.6, 3.6, "r")
            c.ellipse(5, 4.5, 2.2, 2.2, "F")
            c.px(5, 4, "f")
        else:
            for x, y, r in ((4, 5, 2.6), (7, 4, 2.0), (5, 2.5, 1.8), (6.5, 6.5, 1.8)):
                c.ellipse(x, y, r, r, "x")
            c.px(4, 4, "X")
            c.px(7, 3, "X")
            c.px(5, 6, "R")
        fr.append(c)
    return strip(fr)


@picture("Gfx/bulletHit.png")
def bullet_hit():
    a = Canvas(5, 5)
    a.grid(0, 0, """
        f...f
        .fWf.
        .WWW.
        .fWf.
        f...f""")
    b = Canvas(5, 5)
    b.grid(0, 0, """
        .....
        .F.F.
        ..r..
        .F.F.
        .....""")
    return strip([a, b])


@picture("Gfx/bullet.png")
def bullet():
    c = Canvas(3, 3)
    c.grid(0, 0, """
        .F.
        FfF
        .F.""")
    return c


@picture("Gfx/tankShot.png")
def tank_shot():
    c = Canvas(5, 5)
    c.grid(0, 0, """
        .RrR.
        RrFrR
        rFfFr
        RrFrR
        .RrR.""")
    return c


@picture("Gfx/photon.png")
def photon():
    c = Canvas(5, 5)
    c.grid(0, 0, """
        .PcP.
        PcWcP
        cWWWc
        PcWcP
        .PcP.""")
    return c


@picture("Gfx/photonGlow.png")
def photon_glow():
    c = Canvas(11, 11)
    c.glow(5, 5, 6.2, "c", peak=200, power=1.6)
    c.glow(5, 5, 3.0, "W", peak=120, power=1.2)
    return c


@picture("Gfx/bileSpit.png")
def bile_spit():
    c = Canvas(4, 4)
    c.grid(0, 0, """
        .Za.
        ZaaA
        aAAD
        .AD.""")
    return c


@picture("Gfx/laser.png")
def laser():
    c = Canvas(3, 1)
    c.px(0, 0, "m", 170)
    c.px(1, 0, "W")
    c.px(2, 0, "m", 170)
    return c


@picture("Gfx/laserHit.png")
def laser_hit():
    c = Canvas(3, 3)
    c.grid(0, 0, """
        m.m
        .W.
        m.m""")
    c.px(1, 0, "m", 140)
    c.px(1, 2, "m", 140)
    c.px(0, 1, "m", 140)
    c.px(2, 1, "m", 140)
    return c


@picture("Gfx/spinner.png")
def spinner():
    grids = ["""
        ..W..
        ..m..
        WmWmW
        ..m..
        ..W..""", """
        W...m
        .m.W.
        ..W..
        .W.m.
        m...W""", """
        ..m..
        ..W..
        mWWWm
        ..W..
        ..m..""", """
        m...W
        .W.m.
        ..W..
        .m.W.
        W...m"""]
    fr = []
    for g in grids:
        c = Canvas(5, 5)
        c.grid(0, 0, g)
        fr.append(c)
    return strip(fr)


@picture("Gfx/abductoBeam.png")
def abducto_beam():
    c = Canvas(3, 1)
    c.px(0, 0, "a", 90)
    c.px(1, 0, "Z", 150)
    c.px(2, 0, "a", 90)
    return c


@picture("Gfx/abductionCage.png")
def abduction_cage():
    fr = []
    for t in range(4):
        c = Canvas(13, 13)
        c.ellipse(6, 7, 6.0, 6.0, "a", alpha=45)
        # a ring of energy bars turning around the catch
        for k in range(8):
            a = (k / 8.0 + t / 32.0) * 2 * math.pi
            x = 6 + math.cos(a) * 5.6
            y = 7 + math.sin(a) * 5.6
            c.px(x, y, "Z" if k % 2 == 0 else "a")
        for k in range(4):
            a = (k / 4.0 - t / 16.0) * 2 * math.pi + 0.4
            c.px(6 + math.cos(a) * 3.6, 7 + math.sin(a) * 3.6, "c", 200)
        c.px(6, 1, "W")
        c.px(6, 13, "W")
        fr.append(c)
    return strip(fr)


@picture("Gfx/flakShot.png")
def flak_shot():
    c = Canvas(7, 5)
    c.grid(0, 0, """
        ...rr..
        .xrFFf.
        xXrFfWW
        .xrFFf.
        ...rr..""")
    return c


@picture("Gfx/splash.png")
def splash():
    """Bile hitting the ground: a crown, flying drops, a puddle."""
    rng = np.random.default_rng(5)
    drops = [(rng.uniform(-1, 1), rng.uniform(0.6, 1.0)) for _ in range(12)]
    fr = []
    for t in range(6):
        c = Canvas(28, 13)
        u = t / 5.0
        # puddle on the ground line (row 9)
        pw = 3 + 8 * min(1.0, u * 1.6)
        c.ellipse(14, 9.5, pw, 1.6, "A")
        c.hline(int(14 - pw + 2), int(14 + pw - 2), 9, "a")
        c.hline(int(14 - pw + 3), int(14 + pw - 3), 10, "D")
        if t == 0:
            c.ellipse(14, 7.5, 3, 2.5, "a")
            c.px(14, 6, "Z")
        if t in (1, 2):
            # the crown
            for k in (-4, -2, 0, 2, 4):
                hgt = (4 if t == 1 else 6) - abs(k) // 2
                c.vline(14 + k, 9 - hgt, 8, "a")
                c.px(14 + k, 9 - hgt - 1, "Z")
        for vx, sp in drops:
            tt = 0.2 + u * 1.1
            x = 14 + vx * 13 * tt
            y = 8 - (sp * 9 * tt - 7.5 * tt * tt) * 1.2
            if y < 9.5 and t > 0:
                c.px(x, y, "a")
                if t < 4:
                    c.px(x, y - 1, "Z")
        if t >= 4:
            for k in range(-2, 3):
                c.px(14 + k * 3, 10 + (k % 2), "D")
        fr.append(c)
    return strip(fr)


@picture("Gfx/radiationIndicator.png")
def radiation_indicator():
    fr = []
    for t in range(5):
        c = Canvas(25, 25)
        cx = cy = 12
        sizes = [4.5, 7.5, 9.5, 10.5, 11.5]
        r = sizes[t]
        fade = [255, 255, 220, 160, 90][t]
        c.glow(cx, cy, r + 1.5, "z", peak=int(fade * 0.45))
        # trefoil
        rin, rout = r * 0.32, r * 0.9
        for y in range(25):
            for x in range(25):
                dx, dy = x - cx, y - cy
                d = math.hypot(dx, dy)
                ang = (math.degrees(math.atan2(dy, dx)) + 360) % 360
                sector = ((ang - 270 + 30) % 120) < 60
                if rin <= d <= rout and sector:
                    c.blend(x, y, "z" if d < rout - 1 else "Z", fade)
                if d <= rin * 0.55:
                    c.blend(x, y, "Z", fade)
        if t >= 2:
            c.ring(cx, cy, r + 0.5, r + 0.5, "Z", thick=1.0, alpha=fade)
        fr.append(c)
    return strip(fr)


@picture("Gfx/heart.png")
def heart():
    c = Canvas(10, 8)
    c.grid(0, 0, """
        .KKK..KKK.
        KeWeKKeeeK
        KWeeeeeeRK
        KeeeeeeeRK
        .KeeeeeRK.
        ..KeeeRK..
        ...KeRK...
        ....KK....""")
    return c


@picture("Gfx/matterBall.png")
def matter_ball():
    grids = ["""
        .MmM.
        MmWmM
        mWPmm
        MmmmM
        .MmM.""", """
        .mmm.
        mPWmm
        mWWPm
        mmPmM
        .mmM.""", """
        .MmM.
        MmmWM
        mmPWm
        MmmmM
        .MmM.""", """
        .MMM.
        MmmmM
        mmmPm
        MmmmM
        .MMM."""]
    fr = []
    for g in grids:
        c = Canvas(5, 5)
        c.grid(0, 0, g)
        fr.append(c)
    return strip(fr)


@picture("Gfx/matterBallGreen.png")
def matter_ball_green():
    return matter_ball().irradiated()


@picture("Gfx/airMine.png")
def air_mine():
    """A spiked mine whose warning light pulses over its five frames."""
    return gridsprite.sheet("airMine")
