"""The two songs, written as tracker-style note data and rendered by our own synth.

A song is a tempo, a set of instruments (tracks) and a list of sections. Each
section lasts a number of bars, has a dynamic level (scaling every velocity, so
a quiet section is also a darker one) and gives every track that plays in it a pattern:
bars separated by "|", each bar a row of equal steps (8 tokens = eighth notes,
16 = sixteenths, 4 = quarters, 1 = a whole bar). A pattern shorter than the
section repeats. Tokens:

  D4, C#3, Bb2      a note (scientific pitch: A4 = 440 Hz)
  D3+F3+A3          a chord
  !  ~  (suffix)    accent / soft
  -                 hold the previous note for another step
  .                 rest
  x X o             drum hit: normal / accent / ghost
  r                 drum roll: four quick strokes inside the step
"""

import math
import re

import numpy as np

from . import synth as s
from .synth import SR

NOTE_RE = re.compile(r"^([A-G])([#b]?)(-?\d)$")
SEMITONES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def note_freq(name):
    m = NOTE_RE.match(name)
    if not m:
        raise ValueError(f"bad note {name!r}")
    letter, acc, octave = m.groups()
    midi = 12 * (int(octave) + 1) + SEMITONES[letter] + {"": 0, "#": 1, "b": -1}[acc]
    return 440.0 * 2.0 ** ((midi - 69) / 12.0)


def transpose(pattern, semitones):
    """Shift every note of a pattern by whole octaves (semitones must be a multiple of 12)."""
    if semitones % 12:
        raise ValueError("only octave shifts keep the spelling simple")

    def shift(m):
        return f"{m.group(1)}{m.group(2)}{int(m.group(3)) + semitones // 12}"

    return re.sub(r"([A-G])([#b]?)(-?\d)", shift, pattern)


class Event:
    __slots__ = ("time", "freqs", "dur", "vel", "roll")

    def __init__(self, time, freqs, dur, vel, roll=False):
        self.time = time
        self.freqs = freqs
        self.dur = dur
        self.vel = vel
        self.roll = roll


def parse(pattern, bars, bar_seconds, start, drum=False):
    rows = [b.split() for b in pattern.split("|")]
    rows = [r for r in rows if r]
    events = []
    current = None
    for i in range(bars):
        toks = rows[i % len(rows)]
        step = bar_seconds / len(toks)
        for j, tok in enumerate(toks):
            t = start + i * bar_seconds + j * step
            if tok == "-":
                if current is not None:
                    current.dur += step
                continue
            current = None
            if tok == ".":
                continue
            if drum:
                vel = {"x": 0.8, "X": 1.0, "o": 0.45, "r": 0.7}[tok]
                events.append(Event(t, None, step, vel, roll=(tok == "r")))
                continue
            vel = 0.8
            if tok.endswith("!"):
                vel, tok = 1.0, tok[:-1]
            elif tok.endswith("~"):
                vel, tok = 0.55, tok[:-1]
            current = Event(t, [note_freq(p) for p in tok.split("+")], step, vel)
            events.append(current)
    return events


# --------------------------------------------------------------------------
# Instruments: pitched ones take (freq, dur, vel, gen), drums take (vel, gen)


def _vibrato(n, rate, depth, delay):
    t = s.times(n)
    ramp = np.clip((t - delay) / 0.3, 0.0, 1.0)
    return 1.0 + depth * ramp * np.sin(s.TWO_PI * rate * t)


def brass(freq, dur, vel, gen):
    """A brass section voice: a saw whose filter opens as the note is blown."""
    rel = 0.18
    n = s.samples(dur + rel)
    f = freq * _vibrato(n, 5.2, 0.005, 0.25)
    bright = s.env_adsr(n, 0.07, 0.35, 0.55, rel, hold=dur)
    cutoff = 250.0 + freq * (1.0 + 5.0 * vel * bright)
    tone = s.harmonic(f, shape="saw", cutoff=cutoff, max_harm=36)
    tone += 0.6 * s.harmonic(f * 1.0035, shape="saw", cutoff=cutoff, max_harm=36, phase0=1.0)
    amp = s.env_adsr(n, 0.035, 0.2, 0.8, rel, hold=dur)
    return 0.45 * vel * tone * amp


def theremin(freq, dur, vel, gen):
    """The invaders' signal: a wavering sine that scoops up into each note."""
    rel = 0.5
    n = s.samples(dur + rel)
    t = s.times(n)
    f = freq * (1.0 - 0.06 * np.exp(-t / 0.09)) * _vibrato(n, 6.3, 0.012, 0.05)
    ph = s.phase_of(f)
    tone = np.sin(ph) + 0.18 * np.sin(2.0 * ph) + 0.06 * np.sin(3.0 * ph)
    amp = s.env_adsr(n, 0.18, 0.2, 0.9, rel, hold=dur)
    return 0.4 * vel * tone * amp


def strings(freq, dur, vel, gen, attack=0.35, release=0.6, cutoff=1600.0):
    """A soft string ensemble: three detuned saws, slow to swell and to fade."""
    n = s.samples(dur + release)
    out = np.zeros(n)
    for det, ph in ((0.996, 0.0), (1.0, 2.1), (1.0045, 4.2)):
        f = freq * det * _vibrato(n, 4.6 + det, 0.003, 0.1)
        out += s.harmonic(f, shape="saw", cutoff=cutoff, max_harm=20, phase0=ph)
    amp = s.env_adsr(n, attack, 0.3, 0.85, release, hold=dur)
    return 0.3 * vel * out * amp


def dark_strings(freq, dur, vel, gen):
    return strings(freq, dur, vel, gen, attack=0.5, release=0.9, cutoff=1100.0)


def march_bass(freq, dur, vel, gen):
    """A plucked, growling bass with a sine underneath."""
    rel = 0.06
    n = s.samples(dur + rel)
    t = s.times(n)
    cutoff = 160.0 + 1100.0 * vel * np.exp(-t / 0.09)
    tone = s.harmonic(freq, n, shape="saw", cutoff=cutoff, max_harm=40)
    tone += 0.8 * s.sine(freq, n)
    amp = s.env_adsr(n, 0.006, 0.12, 0.7, rel, hold=max(dur - 0.02, 0.01))
    return 0.55 * vel * tone * amp


def cello(freq, dur, vel, gen):
    """A bowed low string: a dark saw with a slow bow and a singing vibrato."""
    rel = 0.35
    n = s.samples(dur + rel)
    f = freq * _vibrato(n, 5.0, 0.004, 0.2)
    tone = s.harmonic(f, shape="saw", cutoff=900.0, max_harm=30)
    amp = s.env_adsr(n, 0.12, 0.3, 0.8, rel, hold=dur)
    return 0.55 * vel * tone * amp


def oboe(freq, dur, vel, gen):
    """A reedy lament voice with a breathy edge and a late vibrato."""
    rel = 0.28
    n = s.samples(dur + rel)
    f = freq * _vibrato(n, 5.3, 0.007, 0.3)
    ph = s.phase_of(f)
    amps = (1.0, 0.6, 0.45, 0.3, 0.18, 0.1, 0.06, 0.04)
    tone = np.zeros(n)
    for k, a in enumerate(amps, start=1):
        if freq * k < 0.45 * SR:
            tone += a * np.sin(k * ph)
    breath = s.bandpass_fft(s.noise(n, gen), freq * 1.5, freq * 4.0) * 0.05
    amp = s.env_adsr(n, 0.07, 0.25, 0.85, rel, hold=dur)
    return 0.4 * vel * (tone + breath) * amp


def harp(freq, dur, vel, gen):
    """A plucked string: bright at the pluck, the upper partials dying first."""
    n = s.samples(max(dur, 0.1) + 2.2)
    out = np.zeros(n)
    for k in range(1, 14):
        fk = freq * k * (1.0 + 0.0004 * k * k)
        if fk >= 0.45 * SR:
            break
        a = abs(math.sin(math.pi * k * 0.18)) / k**1.1
        out += a * s.sine(fk, n) * s.env_exp(n, 1.8 / k**0.8, attack=0.002)
    return 0.45 * vel * out


def timpani(freq, dur, vel, gen):
    """A kettle drum: a tuned, slightly falling boom with a soft mallet strike."""
    n = s.samples(1.8)
    t = s.times(n)
    f = freq * (1.0 + 0.04 * np.exp(-t / 0.04))
    ph = s.phase_of(f)
    out = np.zeros(n)
    for i, (r, a) in enumerate(((1.0, 1.0), (1.5, 0.5), (1.99, 0.35), (2.44, 0.2), (2.96, 0.12))):
        out += a * np.sin(r * ph) * s.env_exp(n, 0.9 / (1.0 + 0.8 * i), attack=0.002)
    strike = s.lowpass_fft(s.noise(n, gen), 1200.0) * s.env_exp(n, 0.02, attack=0.001)
    return 0.6 * vel * (out + 0.6 * strike)


def kick(vel, gen):
    n = s.samples(0.5)
    t = s.times(n)
    f = 48.0 + 95.0 * np.exp(-t / 0.03)
    body = s.sine(f) * s.env_exp(n, 0.22, attack=0.001)
    click = s.lowpass_fft(s.noise(n, gen), 5000.0) * s.env_exp(n, 0.003, attack=0.0003)
    return 0.9 * vel * (body + 0.4 * click)


def soft_kick(vel, gen):
    n = s.samples(0.6)
    t = s.times(n)
    f = 50.0 + 40.0 * np.exp(-t / 0.04)
    return 0.7 * vel * s.sine(f) * s.env_exp(n, 0.28, attack=0.004)


def snare(vel, gen):
    n = s.samples(0.4)
    tone = (s.sine(185.0, n) + 0.5 * s.sine(330.0, n)) * s.env_exp(n, 0.05, attack=0.001)
    rattle = s.bandpass_fft(s.noise(n, gen), 1500.0, 9000.0) * s.env_exp(n, 0.12, attack=0.001)
    return 0.55 * vel * (0.7 * tone + rattle)


def hat(vel, gen):
    n = s.samples(0.12)
    return 0.35 * vel * s.highpass_fft(s.noise(n, gen), 7000.0) * s.env_exp(n, 0.025, attack=0.0005)


def crash(vel, gen):
    n = s.samples(2.6)
    t = s.times(n)
    wash = s.highpass_fft(s.noise(n, gen), 3500.0)
    ring = s.peak_fft(wash, 5200.0, 0.15, gain=2.0)
    return 0.35 * vel * ring * s.env_exp(n, 0.9, attack=0.002) * (1.0 - 0.3 * np.exp(-t / 0.05))


def brush(vel, gen):
    n = s.samples(0.35)
    return 0.4 * vel * s.bandpass_fft(s.noise(n, gen), 900.0, 7000.0) * s.env_exp(n, 0.11, attack=0.012)


def shaker(vel, gen):
    n = s.samples(0.1)
    return 0.25 * vel * s.highpass_fft(s.noise(n, gen), 5000.0) * s.env_exp(n, 0.03, attack=0.008)


class Track:
    def __init__(self, inst, gain=1.0, pan=0.0, send=0.2, drum=False, post=None):
        self.inst = inst
        self.gain = gain
        self.pan = pan
        self.send = send
        self.drum = drum
        self.post = post


def render(song, seed):
    gen = s.rng(seed)
    bar_s = song["beats_per_bar"] * 60.0 / song["bpm"]
    total_bars = sum(sec[1] for sec in song["sections"])
    length = s.samples(total_bars * bar_s + song["tail"])
    buffers = {name: np.zeros(length) for name in song["tracks"]}
    start = 0.0
    for _name, bars, level, parts in song["sections"]:
        for track_name, pattern in parts.items():
            track = song["tracks"][track_name]
            for ev in parse(pattern, bars, bar_s, start, drum=track.drum):
                jitter = gen.uniform(-0.004, 0.004)
                human = gen.uniform(0.9, 1.0) * level
                if track.drum:
                    strokes = 4 if ev.roll else 1
                    for k in range(strokes):
                        at = ev.time + k * ev.dur / strokes + jitter
                        v = ev.vel * human * (0.75 + 0.25 * k / 3 if ev.roll else 1.0)
                        s.mix_at(buffers[track_name], track.inst(v, gen), s.samples(max(at, 0.0)))
                else:
                    for f in ev.freqs:
                        sound = track.inst(f, ev.dur, ev.vel * human, gen)
                        s.mix_at(buffers[track_name], sound, s.samples(max(ev.time + jitter, 0.0)))
        start += bars * bar_s
    dry = np.zeros((length, 2))
    send = np.zeros((length, 2))
    for name, track in song["tracks"].items():
        buf = buffers[name] * track.gain
        if track.post is not None:
            buf = track.post(buf)
        st = s.pan(buf, track.pan)
        dry += st
        send += st * track.send
    ir = s.reverb_ir(song["reverb"], gen, stereo=True, damping=3500.0, predelay=0.02)
    wet = s.convolve(send, ir)[:length]
    mix = dry + wet * song["wet"]
    mix = s.soft_clip(mix / (np.max(np.abs(mix)) + 1e-12) * 1.1, drive=1.2)
    mix = s.fade(mix, 0.005, song["tail"] * 0.6)
    return s.normalize(mix, -1.5)


# --------------------------------------------------------------------------
# "introsong": the invaders' march. D minor, 104 beats a minute.

_MARCH_A = (
    "D4 - - D4 F4 - A4 - | G4 - F4 - E4 - D4 - | F4 - - - D4 - Bb3 - | C#4 - - - A3 - - - |"
    "D4 - - D4 F4 - A4 - | Bb4 - - A4 G4 - D4 - | E4 - - F4 E4 - C#4 - | D4 - - - - - . ."
)
_MARCH_B = (
    "D5 - - - C5 - Bb4 - | C5 - - - G4 - E4 - | F4 - - G4 A4 - D5 - | C#5 - - - A4 - - - |"
    "D5 - - D5 F5 - D5 - | G5 - - F5 D5 - Bb4 - | A4 - - Bb4 A4 - G4 - | C#4 - E4 - G4 - A4 -"
)
_MARCH_COUNTER = (
    "F3 - D3 - | E3 - G3 - | A3 - F3 - | E3 - C#3 - | F3 - Bb3 - | D4 - Bb3 - | C#4 - A3 - | E3 - G3 -"
)
_MARCH_CLIMAX = (
    "D5! - - D5 F5 - A5 - | G5 - F5 - E5 - D5 - | F5! - - - D5 - Bb4 - | C#5 - - - E5 - A5 - |"
    "Bb5! - A5 - G5 - E5 - | D5! - - - - - - -"
)
_DM, _BB, _A, _GM, _C = "D3+F3+A3", "D3+F3+Bb3", "C#3+E3+A3", "D3+G3+Bb3", "C3+E3+G3"

INTRO_SONG = {
    "bpm": 104,
    "beats_per_bar": 4,
    "tail": 3.0,
    "reverb": 2.6,
    "wet": 0.9,
    "tracks": {
        "lead": Track(brass, gain=1.1, pan=0.1, send=0.25),
        "signal": Track(theremin, gain=0.7, pan=0.4, send=0.6),
        "lead_low": Track(brass, gain=0.55, pan=-0.15, send=0.25),
        "counter": Track(brass, gain=0.55, pan=-0.35, send=0.3),
        "pad": Track(dark_strings, gain=0.25, pan=0.0, send=0.4,
                     post=lambda x: s.peak_fft(x, 750.0, 0.35, gain=1.2)),
        "bass": Track(march_bass, gain=0.53, pan=0.0, send=0.05),
        "timpani": Track(timpani, gain=0.56, pan=-0.2, send=0.35),
        "kick": Track(kick, gain=0.8, pan=0.0, send=0.05, drum=True),
        "snare": Track(snare, gain=0.85, pan=0.15, send=0.25, drum=True),
        "hat": Track(hat, gain=0.7, pan=0.3, send=0.1, drum=True),
        "crash": Track(crash, gain=0.6, pan=-0.3, send=0.3, drum=True),
    },
    "sections": [
        ("intro", 4, 0.6, {
            "timpani": "D2! . A1 . D2 . A1 . | D2! . A1 . D2 . A1 A1 | D2! . A1 . D2 . A1 . | A1! . A1 . A1 A1 A1 A1",
            "signal": "D5 - - - - - - - | C#5 - - - - - A4 - | D5 - - - Bb4 - - - | A4 - - - - - . .",
            "bass": "D2 - - - | D2 - - - | Bb1 - - - | A1 - - -",
            "pad": "D3+A3 | D3+A3 | " + _BB + " | " + _A,
            "hat": ". . . . . . . . . . . . . . . . | . . . . . . . . . . . . . . . . |"
                   "o . o . o . o . o . o . o . o . | o . o . o . o . o . o . o . o .",
            "snare": ". . . . . . . . . . . . . . . . | . . . . . . . . . . . . . . . . |"
                     ". . . . . . . . . . . . . . . . | o o o o o o x x x x x x X X X X",
        }),
        ("theme", 8, 0.8, {
            "lead": _MARCH_A,
            "bass": "D2 A1 D2 A1 | D2 A1 D2 F2 | Bb1 F2 Bb1 F2 | A1 E2 A1 C#2 |"
                    "D2 A1 D2 A1 | G1 D2 G1 Bb1 | A1 E2 A1 E2 | D2 A1 D2 -",
            "pad": f"{_DM} | {_DM} | {_BB} | {_A} | {_DM} | {_GM} | {_A} | {_DM}",
            "timpani": "D2! . . . . . . . | . . . . . . . . | . . . . . . . . | A1! . . . . . A1 A1 |"
                       "D2! . . . . . . . | . . . . . . . . | A1! . . . . . . . | D2! . . . . . . .",
            "kick": "X . . . . . . . x . . . . . . .",
            "snare": ". . . . x . . . . . . . x . . o",
            "hat": "x . x . x . x . x . x . x . x .",
            "crash": "X . . . . . . . . . . . . . . . | . | . | . | . | . | . | .",
        }),
        ("rising", 8, 0.9, {
            "lead": _MARCH_B,
            "counter": _MARCH_COUNTER,
            "bass": "Bb1 Bb1 Bb1 Bb1 F2 F2 Bb1 Bb1 | C2 C2 C2 C2 G2 G2 C2 C2 | D2 D2 D2 D2 A2 A2 D2 D2 |"
                    "A1 A1 A1 A1 E2 E2 A1 A1 | Bb1 Bb1 Bb1 Bb1 F2 F2 Bb1 Bb1 | G1 G1 G1 G1 D2 D2 G1 G1 |"
                    "A1 A1 A1 A1 E2 E2 A1 A1 | A1 A1 A1 A1 E2 E2 C#2 E2",
            "pad": f"{_BB} | {_C} | {_DM} | {_A} | {_BB} | {_GM} | {_A} | {_A}",
            "kick": "X . . . . . . . x . . . . . x .",
            "snare": ". . . . X . . o . . x . X . x x | . . . . X . . o . . x . X . x x | "
                     ". . . . X . . o . . x . X . x x | . . . . X . . o . . x . X . x x | "
                     ". . . . X . . o . . x . X . x x | . . . . X . . o . . x . X . x x | "
                     ". . . . X . . o . . x . X . x x | x . x . x x x x X X X X r r r r",
            "hat": "x . x x x . x . x . x x x . x .",
            "timpani": "D2! . . . . . . . | . | . | A1! . . . A1 . A1 . | D2! . . . . . . . | . | A1! . . . . . . . |"
                       "A1! . A1 . A1 A1 A1 A1",
        }),
        ("climax", 6, 1.0, {
            "lead": _MARCH_CLIMAX,
            "lead_low": transpose(_MARCH_CLIMAX, -12),
            "counter": "A3 - F3 - | A3 - D4 - | F3 - Bb3 - | A3 - C#4 - | D4 - C#4 - | A3 - - -",
            "pad": f"{_DM} | {_DM} | {_BB} | {_A} | {_GM} {_A} | {_DM}",
            "bass": "D2 D2 D2 D2 A2 A2 D2 D2 | D2 D2 D2 D2 A2 A2 F2 F2 | Bb1 Bb1 Bb1 Bb1 F2 F2 Bb1 Bb1 |"
                    "A1 A1 A1 A1 E2 E2 A1 A1 | G1 G1 G1 G1 A1 A1 A1 A1 | D2 D2 D2 D2 A1 A1 D2 D2",
            "kick": "X . . . x . . . X . . . x . x .",
            "snare": "o . o . X . o . o . x . X . x x | o . o . X . o . o . x . X . x x | "
                     "o . o . X . o . o . x . X . x x | o . o . X . o . o . x . X . x x | "
                     "o . o . X . o . o . x . X . x x | x x x x x x x x X X X X r r r r",
            "hat": "x o x o x o x o x o x o x o x o",
            "crash": "X . . . . . . . . . . . . . . . | . | . | . | X . . . . . . . . . . . . . . . | .",
            "timpani": "D2! . D2 . A1 . D2 . | D2! . D2 . A1 . D2 . | D2! . D2 . A1 . D2 . | A1! . A1 . A1 . A1 . |"
                       "D2! . D2 . A1! . A1 . | D2 D2 D2 D2 D2 D2 D2 D2 D2 D2 D2 D2 D2! D2! D2! D2!",
        }),
        ("end", 1, 1.0, {
            "signal": ". . . . D5 - - -",
            "lead": "D5! - - - - - . .",
            "lead_low": "D4! - - - - - . .",
            "counter": "A3! - - - - - . .",
            "pad": "D3+F3+A3+D4 - - - - - . .",
            "bass": "D2! - - - - - . .",
            "timpani": "D2! . . . . . . .",
            "kick": "X . . . . . . .",
            "crash": "X . . . . . . .",
        }),
    ],
}


# --------------------------------------------------------------------------
# "marchOfSadness": the lament after the last battle. A minor, 72 beats a minute.

_AM, _F, _CM, _G, _DMN, _E = "A3+C4+E4", "F3+A3+C4", "E3+G3+C4", "D3+G3+B3", "D3+F3+A3", "E3+G#3+B3"
_ARP = {
    "Am": "A2 E3 A3 C4 E4 C4 A3 E3",
    "F": "F2 C3 F3 A3 C4 A3 F3 C3",
    "C": "C3 G3 C4 E4 G4 E4 C4 G3",
    "G": "G2 D3 G3 B3 D4 B3 G3 D3",
    "Dm": "D3 A3 D4 F4 A4 F4 D4 A3",
    "E": "E2 B2 E3 G#3 B3 G#3 E3 B2",
}
_LAMENT_A = (
    "A4 - - - C5 - B4 - | A4 - - - F4 - - - | G4 - - - E4 - G4 - | D5 - - - B4 - - - |"
    "C5 - - - B4 - A4 - | F5 - - - E5 - D5 - | E5 - - - G#4 - B4 - | A4 - - - - - . ."
)
_LAMENT_B = (
    "C5 - - - F5 - E5 - | E5 - D5 - C5 - G4 - | D5 - - - F5 - A5 - | A5 - - - E5 - C5 - |"
    "D5 - - - C5 - A4 - | B4 - - - - - G#4 -"
)


def _arps(chords):
    return " | ".join(_ARP[c] for c in chords)


SADNESS_SONG = {
    "bpm": 72,
    "beats_per_bar": 4,
    "tail": 3.5,
    "reverb": 3.2,
    "wet": 1.1,
    "tracks": {
        "melody": Track(oboe, gain=0.8, pan=0.15, send=0.35),
        "cello": Track(cello, gain=0.45, pan=-0.3, send=0.35),
        "strings": Track(strings, gain=0.25, pan=0.0, send=0.5),
        "harp": Track(harp, gain=0.55, pan=-0.25, send=0.4),
        "bass": Track(cello, gain=0.4, pan=0.0, send=0.2),
        "kick": Track(soft_kick, gain=0.65, pan=0.0, send=0.1, drum=True),
        "brush": Track(brush, gain=1.1, pan=0.2, send=0.3, drum=True),
        "shaker": Track(shaker, gain=0.9, pan=0.35, send=0.2, drum=True),
        "timpani": Track(timpani, gain=0.45, pan=-0.1, send=0.4),
    },
    "sections": [
        ("intro", 2, 0.75, {
            "strings": f"{_AM} | {_F}",
            "harp": _arps(["Am", "F"]),
            "bass": "A2 - E2 - | F2 - C3 -",
            "shaker": ". . . . . . . . | o o o o o o o o",
        }),
        ("lament", 8, 0.85, {
            "melody": _LAMENT_A,
            "strings": f"{_AM} | {_F} | {_CM} | {_G} | {_AM} | {_DMN} | {_E} | {_AM}",
            "harp": _arps(["Am", "F", "C", "G", "Am", "Dm", "E", "Am"]),
            "bass": "A2 - E2 - | F2 - C3 - | C2 - G2 - | G2 - D2 - | A2 - E2 - | D2 - A2 - | E2 - B2 - | A2 - E2 -",
            "kick": "x . . . x . . .",
            "brush": ". . x . . . x .",
            "shaker": "o o o o o o o o",
        }),
        ("remembrance", 6, 1.0, {
            "melody": _LAMENT_B,
            "cello": transpose(_LAMENT_B, -12),
            "strings": f"{_F} | {_CM} | {_DMN} | {_AM} | {_F} | {_E}",
            "harp": _arps(["F", "C", "Dm", "Am", "F", "E"]),
            "bass": "F2 - C3 - | C2 - G2 - | D2 - A2 - | A2 - E2 - | F2 - C3 - | E2 - B2 -",
            "kick": "x . . x x . . . | x . . x x . . . | x . . x x . . . | x . . x x . . . | x . . x x . . . | x . . . x . x x",
            "brush": ". . x . . . x o",
            "shaker": "o o o o o o o o",
            "timpani": ". | . | . | . | . | E2~ . E2~ . E2 E2 E2! E2!",
        }),
        ("farewell", 2, 0.8, {
            "melody": "A4 - - - - - - - | . . . . . . . .",
            "cello": "A3 - - - - - - - | . . . . . . . .",
            "strings": f"{_AM} - | {_AM} -",
            "harp": "A2 E3 A3 C4 E4 A4 C5 E5 | A5 . . . . . . .",
            "bass": "A2 - - - | A2 - - -",
            "kick": "x . . . . . . . | . . . . . . . .",
            "timpani": "A2~ . . . . . . . | .",
        }),
    ],
}


def introsong():
    return render(INTRO_SONG, seed=1041)


def march_of_sadness():
    return render(SADNESS_SONG, seed=7201)


SONGS = [
    ("marchOfSadness", march_of_sadness),
    ("introsong", introsong),
]
