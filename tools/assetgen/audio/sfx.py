"""The game's sound effects, each built from oscillators, noise, envelopes and filters.

Every function returns float samples at 44.1 kHz: shape (n,) for mono,
(n, 2) for stereo. Levels are set afterwards from the table in SOUNDS.
"""

import math

import numpy as np

from . import synth as s
from .synth import SR


# --------------------------------------------------------------------------
# small pieces used by several effects


def _bubble(gen, f0=None, dur=None):
    """A single wet bubble: a sine whose pitch jumps up as it pops."""
    f0 = f0 if f0 is not None else gen.uniform(350.0, 900.0)
    dur = dur if dur is not None else gen.uniform(0.025, 0.06)
    n = s.samples(dur)
    f = s.exp_sweep(n, f0, f0 * gen.uniform(1.8, 2.8))
    return s.sine(f) * s.env_exp(n, dur / 3.0, attack=0.001)


def _scatter(dest, gen, maker, count, start, end, density_curve=None, gain=1.0):
    """Drop `count` short sounds at random times between start and end (s)."""
    for i in range(count):
        u = gen.uniform(0.0, 1.0)
        if density_curve is not None:
            u = density_curve(u)
        at = s.samples(start + (end - start) * u)
        piece = maker(gen) * gain * gen.uniform(0.4, 1.0)
        s.mix_at(dest, piece, at)


def _crack(gen):
    """A sharp shell crack: a click of bright noise with a small ringing ping."""
    n = s.samples(0.03)
    click = s.bandpass_fft(s.noise(n, gen), 2500.0, 9000.0) * s.env_exp(n, 0.004, attack=0.0003)
    ping_f = gen.uniform(1800.0, 3600.0)
    ping = s.sine(ping_f, n) * s.env_exp(n, 0.008, attack=0.0003) * 0.5
    return click + ping


def _crackle(gen):
    """One spark of a crackling burst."""
    n = s.samples(gen.uniform(0.004, 0.012))
    return s.highpass_fft(s.noise(n, gen), gen.uniform(1500.0, 4000.0)) * s.env_exp(n, n / SR / 3.0, attack=0.0002)


def _thump(n, f_start, f_end, sweep_time, tau):
    """A pitched body: a sine gliding down fast, decaying with tau."""
    ns = min(n, s.samples(sweep_time))
    f = np.full(n, float(f_end))
    f[:ns] = s.exp_sweep(ns, f_start, f_end)
    return s.sine(f) * s.env_exp(n, tau, attack=0.001)


def _bell(freq, n, tau, gen=None, bright=1.0):
    """An inharmonic chime partial set."""
    ratios = (1.0, 2.0, 2.76, 4.07, 5.4)
    amps = (1.0, 0.35, 0.45 * bright, 0.2 * bright, 0.12 * bright)
    out = np.zeros(n)
    for i, (r, a) in enumerate(zip(ratios, amps)):
        if freq * r < 0.45 * SR:
            out += a * s.sine(freq * r, n) * s.env_exp(n, tau / (1.0 + 0.8 * i), attack=0.001)
    return out


def _squeal(n, f_start, f_end, formants=(800.0, 1300.0), gen=None, vibrato=0.0):
    """A voiced cry: a glottal-like saw through two vocal formants."""
    f = s.exp_sweep(n, f_start, f_end)
    if vibrato > 0.0:
        f = f * (1.0 + vibrato * np.sin(s.TWO_PI * 23.0 * s.times(n)))
    src = s.harmonic(f, shape="saw", max_harm=60)
    out = np.zeros(n)
    for fc in formants:
        out += s.svf(src, fc, q=4.0, mode="band")
    return out


# --------------------------------------------------------------------------
# the effects


def abducted():
    """A rising gulp followed by a bright chime: the victim is swallowed up."""
    n = s.samples(0.9)
    out = np.zeros(n)
    ng = s.samples(0.16)
    f = s.exp_sweep(ng, 170.0, 620.0)
    gulp = (s.sine(f) + 0.35 * s.sine(2.0 * f)) * np.sin(np.linspace(0.0, math.pi, ng)) ** 1.5
    s.mix_at(out, 0.9 * gulp, 0)
    notes = (1046.5, 1318.5, 1568.0, 2093.0)
    for i, fr in enumerate(notes):
        nb = n - s.samples(0.11 + 0.065 * i)
        s.mix_at(out, (0.5 - 0.05 * i) * _bell(fr, nb, 0.32), s.samples(0.11 + 0.065 * i))
    return s.fade(out, 0.002, 0.08)


def select():
    """A bright two-note confirm, up a fifth."""
    n = s.samples(0.34)
    out = np.zeros(n)
    for i, fr in enumerate((880.0, 1318.5)):
        start = s.samples(0.075 * i)
        nn = n - start
        tone = s.harmonic(fr, nn, shape="square", cutoff=5000.0, max_harm=15)
        tone += 0.4 * s.sine(2.0 * fr, nn)
        s.mix_at(out, tone * s.env_exp(nn, 0.07 + 0.05 * i, attack=0.002), start)
    return s.fade(out, 0.001, 0.03)


def tiny_bleep():
    """A soft, short cursor tick."""
    n = s.samples(0.07)
    tone = s.sine(1480.0, n) + 0.2 * s.sine(2960.0, n)
    return s.fade(tone * s.env_exp(n, 0.014, attack=0.002), 0.001, 0.01)


def error():
    """A low two-pulse buzz: no."""
    n = s.samples(0.42)
    out = np.zeros(n)
    for i in range(2):
        start = s.samples(0.2 * i)
        nn = s.samples(0.17)
        buzz = s.harmonic(98.0, nn, shape="saw", cutoff=900.0) + s.harmonic(103.5, nn, shape="square", cutoff=700.0)
        env = s.env_adsr(nn, 0.005, 0.05, 0.7, 0.04)
        s.mix_at(out, buzz * env, start)
    return s.fade(out, 0.001, 0.02)


def photon(gen):
    """A plasma zap: a falling FM whine over a swept band of hiss."""
    n = s.samples(0.5)
    t = s.times(n)
    f = s.exp_sweep(n, 1900.0, 160.0)
    f = f * (1.0 + 0.04 * np.sin(s.TWO_PI * 33.0 * t))
    idx = 3.0 * np.exp(-t / 0.12) + 0.5
    tone = np.sin(s.phase_of(f) + idx * np.sin(0.5 * s.phase_of(f)))
    hiss = s.svf(s.noise(n, gen), s.exp_sweep(n, 6000.0, 700.0), q=3.0, mode="band")
    out = 0.8 * tone * s.env_exp(n, 0.13, attack=0.002) + 0.6 * hiss * s.env_exp(n, 0.09, attack=0.001)
    return s.fade(out, 0.001, 0.05)


def photon_hit(gen):
    """A pop: a fast-dropping sine with a puff of noise and a short fizz."""
    n = s.samples(0.32)
    body = _thump(n, 520.0, 90.0, 0.05, 0.05)
    puff = s.lowpass_fft(s.noise(n, gen), 3500.0) * s.env_exp(n, 0.012, attack=0.0005)
    fizz = s.bandpass_fft(s.noise(n, gen), 2500.0, 7000.0) * s.env_exp(n, 0.07, attack=0.01)
    return s.fade(body + 0.7 * puff + 0.25 * fizz, 0.0005, 0.05)


def shield_hit(gen):
    """A shimmering clang: detuned metal partials beating against each other."""
    n = s.samples(0.85)
    t = s.times(n)
    base = 410.0
    ratios = (1.0, 1.52, 2.33, 2.87, 3.76, 4.61, 5.9, 7.2)
    out = np.zeros(n)
    for i, r in enumerate(ratios):
        fr = base * r
        beat = 3.0 + 1.3 * i
        pair = s.sine(fr, n) + s.sine(fr + beat, n)
        tau = 0.35 / (1.0 + 0.35 * i)
        out += pair * s.env_exp(n, tau, attack=0.0015) / (1.0 + 0.5 * i)
    shimmer = 1.0 - 0.35 * (0.5 + 0.5 * np.sin(s.TWO_PI * 17.0 * t)) * np.exp(-t / 0.4)
    strike = s.highpass_fft(s.noise(n, gen), 3000.0) * s.env_exp(n, 0.01, attack=0.0005)
    out = out * shimmer + 1.2 * strike
    return s.fade(out, 0.0005, 0.1)


def flak(gen):
    """A hollow thump: a tube-like launch with a resonant body."""
    n = s.samples(0.4)
    body = _thump(n, 150.0, 55.0, 0.08, 0.09)
    tube = s.svf(s.noise(n, gen), 340.0, q=7.0, mode="band") * s.env_exp(n, 0.06, attack=0.001)
    click = s.lowpass_fft(s.noise(n, gen), 4000.0) * s.env_exp(n, 0.004, attack=0.0003)
    out = body + 2.0 * tube + 0.5 * click
    return s.fade(out, 0.0005, 0.05)


def flak_explosion(gen):
    """A crackling burst: a sharp blast followed by a spray of sparks."""
    n = s.samples(1.0)
    blast = s.svf(s.noise(n, gen), s.exp_sweep(n, 5000.0, 400.0), q=0.8) * s.env_exp(n, 0.09, attack=0.001)
    body = _thump(n, 120.0, 60.0, 0.06, 0.12)
    sparks = np.zeros(n)
    _scatter(sparks, gen, _crackle, 140, 0.01, 0.8, density_curve=lambda u: u**1.8, gain=0.9)
    sparks *= np.exp(-s.times(n) / 0.35)
    out = blast + 0.8 * body + 0.9 * sparks
    return s.fade(out, 0.0005, 0.1)


def explode(gen):
    """A noisy boom with a long rumbling tail."""
    n = s.samples(1.9)
    t = s.times(n)
    blast = s.svf(s.noise(n, gen), s.exp_sweep(n, 4500.0, 180.0), q=0.9) * s.env_exp(n, 0.35, attack=0.004)
    sub = _thump(n, 75.0, 34.0, 0.4, 0.35)
    rumble = s.lowpass_fft(s.brown_noise(n, gen), 220.0) * np.exp(-t / 0.7) * (1.0 - np.exp(-t / 0.05))
    debris = np.zeros(n)
    _scatter(debris, gen, _crackle, 40, 0.05, 1.0, density_curve=lambda u: u**1.5, gain=0.4)
    out = 1.0 * blast + 0.9 * sub + 1.2 * rumble / (np.max(np.abs(rumble)) + 1e-9) * 0.6 + 0.5 * debris * np.exp(-t / 0.5)
    ir = s.reverb_ir(1.2, gen, damping=3000.0)
    out = s.add_reverb(out, ir, 0.25)[:n]
    return s.fade(out, 0.001, 0.3)


def bullet(gen):
    """A dry tick of a rifle round."""
    n = s.samples(0.09)
    crack = s.highpass_fft(s.noise(n, gen), 1800.0) * s.env_exp(n, 0.008, attack=0.0003)
    tick = s.harmonic(2200.0, n, shape="square", max_harm=7) * s.env_exp(n, 0.006, attack=0.0003)
    knock = s.sine(700.0, n) * s.env_exp(n, 0.015, attack=0.0005)
    return s.fade(s.lowpass_fft(crack, 12000.0) + 0.3 * tick + 0.35 * knock, 0.001, 0.02)


def tank_bullet(gen):
    """A heavy cannon thud: a crack, a deep body and a low boom tail."""
    n = s.samples(0.85)
    t = s.times(n)
    crack = s.highpass_fft(s.noise(n, gen), 2000.0) * s.env_exp(n, 0.006, attack=0.0003)
    blast = s.lowpass_fft(s.noise(n, gen), 1300.0) * s.env_exp(n, 0.06, attack=0.001)
    body = _thump(n, 95.0, 42.0, 0.15, 0.22)
    tail = s.lowpass_fft(s.noise(n, gen), 350.0) * np.exp(-t / 0.25) * (1.0 - np.exp(-t / 0.02))
    out = 0.6 * crack + 0.9 * blast + 1.3 * body + 1.6 * tail
    return s.fade(out, 0.0005, 0.15)


def low_pew(gen):
    """A wet organic spit: a falling gargled 'pew' with a spray at the start."""
    n = s.samples(0.38)
    t = s.times(n)
    f = s.exp_sweep(n, 720.0, 170.0)
    gargle = 1.0 + 0.5 * np.sin(s.TWO_PI * 38.0 * t)
    idx = 2.2 * np.exp(-t / 0.1)
    ph = s.phase_of(f)
    tone = np.sin(ph + idx * np.sin(ph)) * gargle * s.env_exp(n, 0.11, attack=0.004)
    spray = s.bandpass_fft(s.noise(n, gen), 1800.0, 6000.0) * s.env_exp(n, 0.02, attack=0.001)
    bubbles = np.zeros(n)
    _scatter(bubbles, gen, _bubble, 5, 0.03, 0.22, gain=0.35)
    return s.fade(0.9 * tone + 0.5 * spray + bubbles, 0.001, 0.05)


def splat(gen):
    """A wet splat: a slap of dark noise, a soft thwack and dripping bubbles."""
    n = s.samples(0.5)
    slap = s.svf(s.noise(n, gen), s.exp_sweep(n, 3000.0, 500.0), q=1.2) * s.env_exp(n, 0.04, attack=0.001)
    thwack = _thump(n, 190.0, 70.0, 0.04, 0.05)
    drops = np.zeros(n)
    _scatter(drops, gen, _bubble, 9, 0.04, 0.38, density_curve=lambda u: u**1.3, gain=0.45)
    return s.fade(1.2 * slap + 0.7 * thwack + drops, 0.0005, 0.06)


def foo_damaged(gen):
    """A short pained squelch: a cry of the larva over a wet squish."""
    n = s.samples(0.32)
    t = s.times(n)
    cry = _squeal(n, 520.0, 260.0, formants=(750.0, 1250.0), vibrato=0.03) * s.env_adsr(n, 0.01, 0.08, 0.6, 0.12)
    squish = s.svf(s.noise(n, gen), 900.0, q=2.0, mode="band")
    squish *= (0.6 + 0.4 * np.sin(s.TWO_PI * 31.0 * t)) * s.env_exp(n, 0.07, attack=0.002)
    cry /= np.max(np.abs(cry)) + 1e-9
    squish /= np.max(np.abs(squish)) + 1e-9
    return s.fade(0.8 * cry + 0.6 * squish, 0.001, 0.04)


def foo_destroyed(gen):
    """A big wet burst: the larva's death cry, a slimy blast and a gurgling rain."""
    n = s.samples(1.9)
    t = s.times(n)
    nc = s.samples(0.55)
    cry = _squeal(nc, 640.0, 150.0, formants=(700.0, 1150.0), vibrato=0.05) * s.env_adsr(nc, 0.01, 0.1, 0.7, 0.25)
    cry /= np.max(np.abs(cry)) + 1e-9
    blast = s.svf(s.noise(n, gen), s.exp_sweep(n, 2500.0, 150.0), q=1.4) * s.env_exp(n, 0.3, attack=0.004)
    blast /= np.max(np.abs(blast)) + 1e-9
    sub = _thump(n, 90.0, 38.0, 0.25, 0.3)
    gurgle = np.zeros(n)
    _scatter(gurgle, gen, lambda g: _bubble(g, f0=g.uniform(250.0, 700.0), dur=g.uniform(0.03, 0.09)), 45, 0.05, 1.4,
             density_curve=lambda u: u**1.6, gain=0.7)
    gurgle *= np.exp(-t / 0.6)
    out = np.zeros(n)
    s.mix_at(out, 1.0 * cry, 0)
    out += 0.6 * blast + 0.8 * sub + gurgle
    ir = s.reverb_ir(1.0, gen, damping=2500.0)
    out = s.add_reverb(out, ir, 0.2)[:n]
    return s.fade(out, 0.001, 0.3)


def egg_hatching(gen):
    """The egg throbs (about 60 ms a frame: frames 0-8), cracks ever faster from
    frame 9 and bursts open with a squelch by frame 16."""
    n = s.samples(1.3)
    t = s.times(n)
    out = np.zeros(n)
    # the heartbeat of the larva inside
    for at in (0.04, 0.22, 0.40):
        nb = s.samples(0.2)
        beat = _thump(nb, 110.0, 60.0, 0.05, 0.06)
        wet = s.svf(s.noise(nb, gen), 500.0, q=3.0, mode="band") * s.env_exp(nb, 0.04, attack=0.004)
        s.mix_at(out, 0.7 * beat + 0.25 * wet / (np.max(np.abs(wet)) + 1e-9), s.samples(at))
    # the shell gives way
    cracks = np.zeros(n)
    _scatter(cracks, gen, _crack, 18, 0.52, 0.92, density_curve=lambda u: u**0.7, gain=0.55)
    creak = s.svf(s.noise(n, gen), 600.0, q=6.0, mode="band") * np.clip((t - 0.5) / 0.4, 0.0, 1.0) * (t < 0.94) * 0.5
    burst_at = 0.94
    nb = n - s.samples(burst_at)
    squelch = s.svf(s.noise(nb, gen), s.exp_sweep(nb, 1800.0, 300.0), q=2.5) * s.env_exp(nb, 0.08, attack=0.003)
    squelch /= np.max(np.abs(squelch)) + 1e-9
    slime = _thump(nb, 240.0, 85.0, 0.12, 0.1)
    drips = np.zeros(nb)
    _scatter(drips, gen, _bubble, 6, 0.02, 0.25, gain=0.4)
    s.mix_at(out, 1.3 * squelch + 0.9 * slime + 1.5 * drips, s.samples(burst_at))
    return s.fade(out + cracks + creak, 0.001, 0.08)


def space_warp(gen):
    """A rising warble that tears space open."""
    n = s.samples(1.2)
    t = s.times(n)
    f = s.exp_sweep(n, 140.0, 1900.0)
    rate = 9.0 + 18.0 * t / t[-1]
    lfo = np.sin(s.TWO_PI * np.cumsum(rate) / SR)
    f1 = f * (1.0 + 0.09 * lfo)
    f2 = f * 1.5 * (1.0 - 0.07 * lfo)
    ph1 = s.phase_of(f1)
    tone = np.sin(ph1 + 1.3 * np.sin(2.0 * ph1)) + 0.6 * s.sine(f2)
    shimmer = s.bandpass_fft(s.noise(n, gen), 3000.0, 9000.0) * (0.5 + 0.5 * lfo) * 0.07
    env = np.clip(t / 0.25, 0.0, 1.0) ** 2 * np.clip((t[-1] - t) / 0.12, 0.0, 1.0)
    return s.fade((tone + shimmer) * env, 0.002, 0.03)


def intro_missile_launch(gen):
    """Ignition, then the roar of a rocket climbing away (stereo)."""
    n = s.samples(3.0)
    t = s.times(n)
    out = np.zeros((n, 2))
    # ignition: a bang and a hiss
    ign = s.lowpass_fft(s.noise(n, gen), 2500.0) * s.env_exp(n, 0.05, attack=0.001)
    ign += 0.8 * _thump(n, 110.0, 45.0, 0.1, 0.18)
    out += s.pan(ign, 0.0)
    swell = np.clip(t / 0.35, 0.0, 1.0) ** 1.5
    away = np.clip((t[-1] - t) / 1.6, 0.0, 1.0) ** 1.2
    cutoff = s.exp_sweep(n, 500.0, 2600.0)
    for ch, seed_pan in ((0, -0.6), (1, 0.6)):
        roar = s.svf(s.noise(n, gen), cutoff, q=0.9)
        crackle = s.lowpass_fft(s.noise(n, gen), 180.0)
        crackle = crackle / (np.max(np.abs(crackle)) + 1e-9)
        roar = roar * (1.0 + 0.6 * crackle)
        out[:, ch] += 0.9 * roar * swell * away
    whistle_f = s.exp_sweep(n, 380.0, 950.0)
    whistle = s.sine(whistle_f) * swell * away * 0.12
    out += s.pan(whistle, 0.0)
    ir = s.reverb_ir(1.6, gen, stereo=True, damping=3500.0)
    out = s.add_reverb(out, ir, 0.3)[:n]
    return s.fade(out, 0.001, 0.3)


def intro_explosion(gen):
    """The nuclear blast that wipes out the formation (stereo, cinematic)."""
    n = s.samples(4.8)
    t = s.times(n)
    out = np.zeros((n, 2))
    sub = _thump(n, 62.0, 24.0, 1.2, 0.9)
    out += s.pan(1.1 * sub, 0.0)
    for ch in range(2):
        blast = s.svf(s.noise(n, gen), s.exp_sweep(n, 7000.0, 150.0), q=0.8) * s.env_exp(n, 0.7, attack=0.006)
        blast /= np.max(np.abs(blast)) + 1e-9
        rumble = s.lowpass_fft(s.brown_noise(n, gen), 160.0)
        rumble /= np.max(np.abs(rumble)) + 1e-9
        rumble *= np.exp(-t / 1.4) * (1.0 - np.exp(-t / 0.15))
        out[:, ch] += 0.9 * blast + 0.8 * rumble
    debris = np.zeros((n, 2))
    for _ in range(90):
        at = s.samples(0.05 + 2.2 * gen.uniform(0.0, 1.0) ** 1.7)
        piece = _crackle(gen) * gen.uniform(0.2, 0.6)
        s.mix_at(debris, s.pan(piece, gen.uniform(-0.9, 0.9)), at)
    out += debris * np.exp(-t / 1.0)[:, None]
    ir = s.reverb_ir(2.5, gen, stereo=True, damping=2500.0)
    out = s.add_reverb(out, ir, 0.35)[:n]
    return s.fade(out, 0.001, 0.8)


# --------------------------------------------------------------------------
# loops: exactly periodic, every component a whole number of cycles per loop


def abductor_loop(gen):
    """The tractor beam: a pulsing hum with a warbling whistle and a fizz of energy."""
    period = 2.0  # all frequencies are multiples of 0.5 Hz
    n = s.samples(period)
    t = s.times(n)
    pulse = 0.65 + 0.35 * np.sin(s.TWO_PI * 8.0 * t)
    hum = s.harmonic(110.0, n, shape="saw", cutoff=700.0, max_harm=30)
    hum += 0.6 * s.harmonic(165.5, n, shape="tri", max_harm=30)
    warble_f = 880.0 + 40.0 * np.sin(s.TWO_PI * 6.0 * t)
    whistle = s.sine(warble_f) * (0.5 + 0.5 * np.sin(s.TWO_PI * 0.5 * t) ** 2)
    fizz = s.circular_noise(n, gen, lambda f: np.exp(-0.5 * (np.log2(np.maximum(f, 1.0) / 3000.0) / 0.5) ** 2))
    fizz *= 0.5 + 0.5 * np.sin(s.TWO_PI * 16.0 * t)
    out = 0.5 * hum * pulse + 0.35 * whistle + 0.3 * fizz
    return s.quietest_rotation(out)


def laser_loop(gen):
    """The laser eye: a searing electric buzz with a sizzle."""
    period = 1.0
    n = s.samples(period)
    t = s.times(n)
    buzz = s.harmonic(150.0, n, shape="saw", cutoff=4000.0, max_harm=40)
    whine_f = 1200.0 + 60.0 * np.sin(s.TWO_PI * 50.0 * t)
    whine = s.sine(whine_f)
    sizzle = s.circular_noise(
        n, gen, lambda f: 1.0 / np.sqrt(1.0 + (4500.0 / np.maximum(f, 1.0)) ** 4) / np.sqrt(1.0 + (f / 11000.0) ** 4)
    )
    sizzle *= 0.6 + 0.4 * np.sin(s.TWO_PI * 25.0 * t)
    out = 0.45 * buzz + 0.3 * whine + 0.35 * sizzle
    out = out * (0.85 + 0.15 * np.sin(s.TWO_PI * 10.0 * t))
    return s.quietest_rotation(out)


def shield_loop(gen):
    """The shield: a glassy chord of detuned pairs shimmering against each other."""
    period = 2.0
    n = s.samples(period)
    t = s.times(n)
    out = np.zeros(n)
    for fr, beat, amp in ((330.0, 1.5, 1.0), (495.0, 2.0, 0.7), (660.0, 3.0, 0.5), (990.0, 4.5, 0.3), (1320.0, 6.0, 0.2)):
        out += amp * (s.sine(fr, n) + s.sine(fr + beat, n))
    shimmer = 0.75 + 0.25 * np.sin(s.TWO_PI * 12.0 * t)
    air = s.circular_noise(n, gen, lambda f: np.exp(-0.5 * (np.log2(np.maximum(f, 1.0) / 6000.0) / 0.6) ** 2))
    out = out * shimmer + 0.4 * air * (0.5 + 0.5 * np.sin(s.TWO_PI * 1.0 * t))
    return s.quietest_rotation(out)


def dazozuzo_flying(gen):
    """The mothership's engines: a deep throbbing drone with a rumble and a slow whine."""
    period = 2.0
    n = s.samples(period)
    t = s.times(n)
    throb = 0.7 + 0.3 * np.sin(s.TWO_PI * 4.0 * t)
    drone = s.harmonic(55.0, n, shape="saw", cutoff=380.0, max_harm=40)
    drone += 0.7 * s.harmonic(82.5, n, shape="saw", cutoff=300.0, max_harm=40)
    rumble = s.circular_noise(n, gen, lambda f: 1.0 / (1.0 + (f / 250.0) ** 2) * (f > 20.0))
    whine_f = 440.0 + 12.0 * np.sin(s.TWO_PI * 0.5 * t)
    whine = s.sine(whine_f) * 0.5 + 0.25 * s.sine(2.0 * whine_f)
    out = 0.6 * drone * throb + 0.7 * rumble + 0.12 * whine
    return s.quietest_rotation(out)


# --------------------------------------------------------------------------
# the catalogue: file name, builder, loudness (dBFS RMS of the loudest 100 ms),
# stereo, loop. Loud events sit near -11, shots and hits in the middle, the UI
# ticks and the continuous loops well below, so nothing drowns the rest.

SOUNDS = [
    ("abducted", lambda g: abducted(), -15.0, False, False),
    ("select", lambda g: select(), -17.0, False, False),
    ("photon", photon, -17.0, False, False),
    ("photonHit", photon_hit, -16.0, False, False),
    ("shieldHit", shield_hit, -17.0, False, False),
    ("flak", flak, -16.0, False, False),
    ("flakExplosion", flak_explosion, -14.0, False, False),
    ("explode", explode, -11.0, False, False),
    ("tinyBleep", lambda g: tiny_bleep(), -24.0, False, False),
    ("bullet", bullet, -21.0, False, False),
    ("lowPew", low_pew, -18.0, False, False),
    ("splat", splat, -17.0, False, False),
    ("fooDestroyed", foo_destroyed, -11.0, False, False),
    ("eggHatching", egg_hatching, -15.0, False, False),
    ("tankBullet", tank_bullet, -12.0, False, False),
    ("spaceWarp", space_warp, -14.0, False, False),
    ("error", lambda g: error(), -17.0, False, False),
    ("fooDamaged", foo_damaged, -16.0, False, False),
    ("introExplosion", intro_explosion, -11.0, True, False),
    ("introMissileLaunch", intro_missile_launch, -13.0, True, False),
    ("abductorLoop", abductor_loop, -19.0, False, True),
    ("laserLoop", laser_loop, -20.0, False, True),
    ("shieldLoop", shield_loop, -22.0, False, True),
    ("dazozuzoFlying", dazozuzo_flying, -17.0, False, True),
]

LOOPS = {name for name, _b, _l, _st, loop in SOUNDS if loop}
