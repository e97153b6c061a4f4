"""Signal building blocks shared by the sound effects and the songs.

Everything works on float64 numpy arrays at 44.1 kHz, mono arrays of shape (n,)
and stereo arrays of shape (n, 2). Randomness always comes from a generator the
caller seeds, so every render is the same from one run to the next.
"""

import math

import numpy as np

SR = 44100
TWO_PI = 2.0 * math.pi


def samples(seconds):
    return int(round(seconds * SR))


def times(n):
    return np.arange(n, dtype=np.float64) / SR


def rng(seed):
    return np.random.default_rng(seed)


def db(value):
    return 10.0 ** (value / 20.0)


# --------------------------------------------------------------------------
# Envelopes


def env_exp(n, tau, attack=0.002):
    """Fast linear attack then exponential decay with time constant tau (s)."""
    t = times(n)
    env = np.exp(-t / tau)
    na = max(1, samples(attack))
    if na < n:
        env[:na] *= np.linspace(0.0, 1.0, na, endpoint=False)
    return env


def env_adsr(n, attack, decay, sustain, release, hold=None):
    """ADSR envelope of n samples. The release starts at `hold` seconds
    (default: so that the release ends with the buffer)."""
    total = n / SR
    if hold is None:
        hold = max(attack + decay, total - release)
    t = times(n)
    env = np.empty(n)
    a = max(attack, 1e-4)
    d = max(decay, 1e-4)
    env[:] = sustain
    m = t < a
    env[m] = t[m] / a
    m = (t >= a) & (t < a + d)
    env[m] = 1.0 + (sustain - 1.0) * ((t[m] - a) / d)
    # level reached at the release point
    if hold < a:
        lvl = hold / a
    elif hold < a + d:
        lvl = 1.0 + (sustain - 1.0) * ((hold - a) / d)
    else:
        lvl = sustain
    r = max(release, 1e-4)
    m = t >= hold
    env[m] = lvl * np.clip(1.0 - (t[m] - hold) / r, 0.0, 1.0)
    return env


def fade(x, fade_in=0.003, fade_out=0.01):
    """Raised-cosine fades at both ends so a sound starts and stops without a click."""
    x = np.array(x, dtype=np.float64, copy=True)
    n = x.shape[0]
    ni = min(n, samples(fade_in))
    no = min(n, samples(fade_out))
    if ni > 0:
        w = 0.5 - 0.5 * np.cos(np.linspace(0.0, math.pi, ni))
        x[:ni] = (x[:ni].T * w).T
    if no > 0:
        w = 0.5 + 0.5 * np.cos(np.linspace(0.0, math.pi, no))
        x[n - no:] = (x[n - no:].T * w).T
    return x


def line(n, start, end):
    return np.linspace(start, end, n)


def exp_sweep(n, start, end):
    """Exponential glide from start to end over n samples (pitch-natural)."""
    return start * (end / start) ** np.linspace(0.0, 1.0, n)


# --------------------------------------------------------------------------
# Oscillators


def phase_of(freq, n=None, phase0=0.0):
    """Running phase (radians) of a frequency that may change every sample."""
    if np.isscalar(freq):
        return phase0 + TWO_PI * freq * times(n)
    return phase0 + TWO_PI * np.concatenate(([0.0], np.cumsum(freq[:-1]))) / SR


def sine(freq, n=None, phase0=0.0):
    return np.sin(phase_of(freq, n, phase0))


def harmonic(freq, n=None, shape="saw", cutoff=None, max_harm=80, phase0=0.0, slope=1.0):
    """Band-limited additive oscillator.

    shape: "saw" (all harmonics 1/k), "square" (odd 1/k), "tri" (odd 1/k^2).
    cutoff: None, a number or a per-sample array (Hz); each harmonic is weighted
    by a two-pole low-pass magnitude 1/(1+(f_k/cutoff)^2), which lets brass and
    bass notes open and close like a filtered analogue voice.
    Harmonics above 0.45*SR are left out sample by sample, so sweeps never alias.
    """
    if np.isscalar(freq):
        freq = np.full(n, float(freq))
    n = freq.shape[0]
    ph = phase_of(freq, phase0=phase0)
    out = np.zeros(n)
    fmin = max(float(np.min(freq)), 1.0)
    kmax = int(min(max_harm, (0.45 * SR) // fmin))
    step = 2 if shape in ("square", "tri") else 1
    for k in range(1, kmax + 1, step):
        if shape == "tri":
            amp = (1.0 / (k * k)) * (1.0 if ((k - 1) // 2) % 2 == 0 else -1.0)
        else:
            amp = 1.0 / (k ** slope)
        fk = freq * k
        w = amp * (fk < 0.45 * SR)
        if cutoff is not None:
            w = w / (1.0 + (fk / cutoff) ** 2)
        out += w * np.sin(k * ph)
    return out


def fm(carrier, ratio, index, n=None, phase0=0.0):
    """Two-operator FM: sin(carrier phase + index * sin(ratio * carrier phase))."""
    ph = phase_of(carrier, n, phase0)
    return np.sin(ph + index * np.sin(ratio * ph))


def noise(n, gen):
    return gen.uniform(-1.0, 1.0, n)


def brown_noise(n, gen):
    w = gen.standard_normal(n)
    b = np.cumsum(w)
    # leak the integration so the walk stays centred
    b = b - lowpass_fft(b, 5.0)
    return b / (np.max(np.abs(b)) + 1e-12)


# --------------------------------------------------------------------------
# Filters


def _fft_filter(x, response, pad=True):
    """Apply a zero-phase magnitude response (function of frequency in Hz)."""
    x = np.asarray(x, dtype=np.float64)
    n = x.shape[0]
    m = n + (samples(0.05) if pad else 0)
    size = 1 << (m - 1).bit_length()
    spectrum = np.fft.rfft(x, size, axis=0)
    f = np.fft.rfftfreq(size, 1.0 / SR)
    h = response(f)
    if x.ndim == 2:
        h = h[:, None]
    return np.fft.irfft(spectrum * h, size, axis=0)[:n]


def lowpass_fft(x, cutoff, order=2):
    return _fft_filter(x, lambda f: 1.0 / np.sqrt(1.0 + (f / cutoff) ** (2 * order)))


def highpass_fft(x, cutoff, order=2):
    return _fft_filter(x, lambda f: 1.0 / np.sqrt(1.0 + (cutoff / np.maximum(f, 1e-3)) ** (2 * order)))


def bandpass_fft(x, lo, hi, order=2):
    return _fft_filter(
        x,
        lambda f: 1.0
        / np.sqrt(1.0 + (lo / np.maximum(f, 1e-3)) ** (2 * order))
        / np.sqrt(1.0 + (f / hi) ** (2 * order)),
    )


def peak_fft(x, centre, width, gain=1.0):
    """A resonant bump (Gaussian in log frequency) added to the signal."""
    return _fft_filter(
        x,
        lambda f: 1.0 + gain * np.exp(-0.5 * (np.log2(np.maximum(f, 1.0) / centre) / width) ** 2),
    )


def svf(x, cutoff, q=0.7, mode="low"):
    """Time-varying state-variable filter (topology-preserving transform).

    cutoff may be a number or a per-sample array in Hz; q is the resonance
    (0.5 gentle, 5 and above ringing). mode: "low", "band" or "high".
    Written as a plain loop: meant for effects a few seconds long.
    """
    n = len(x)
    if np.isscalar(cutoff):
        cutoff = np.full(n, float(cutoff))
    g_arr = np.tan(math.pi * np.clip(cutoff, 10.0, 0.45 * SR) / SR).tolist()
    k = 1.0 / q
    xs = np.asarray(x, dtype=np.float64).tolist()
    out = [0.0] * n
    ic1 = 0.0
    ic2 = 0.0
    for i in range(n):
        g = g_arr[i]
        a1 = 1.0 / (1.0 + g * (g + k))
        v3 = xs[i] - ic2
        v1 = a1 * ic1 + g * a1 * v3
        v2 = ic2 + g * v1
        ic1 = 2.0 * v1 - ic1
        ic2 = 2.0 * v2 - ic2
        if mode == "low":
            out[i] = v2
        elif mode == "band":
            out[i] = v1
        else:
            out[i] = xs[i] - k * v1 - v2
    return np.array(out)


def one_pole(x, cutoff):
    """Simple one-pole low-pass (a plain loop, for short signals)."""
    a = math.exp(-TWO_PI * cutoff / SR)
    xs = np.asarray(x, dtype=np.float64).tolist()
    y = 0.0
    out = [0.0] * len(xs)
    for i, v in enumerate(xs):
        y = (1.0 - a) * v + a * y
        out[i] = y
    return np.array(out)


# --------------------------------------------------------------------------
# Space


def convolve(x, ir):
    """FFT convolution; x may be mono or stereo, ir mono or stereo."""
    x = np.asarray(x, dtype=np.float64)
    n = x.shape[0] + ir.shape[0] - 1
    size = 1 << (n - 1).bit_length()
    xs = np.fft.rfft(x, size, axis=0)
    hs = np.fft.rfft(ir, size, axis=0)
    if x.ndim == 2 and ir.ndim == 1:
        hs = hs[:, None]
    if x.ndim == 1 and ir.ndim == 2:
        xs = xs[:, None]
    return np.fft.irfft(xs * hs, size, axis=0)[:n]


def reverb_ir(seconds, gen, stereo=False, damping=4000.0, predelay=0.012, decay=None):
    """A synthetic room: exponentially decaying noise, darker as it decays."""
    n = samples(seconds)
    decay = decay if decay is not None else seconds / 6.9  # -60 dB at the end
    t = times(n)
    chans = 2 if stereo else 1
    irs = []
    for _ in range(chans):
        w = gen.standard_normal(n) * np.exp(-t / decay)
        early = lowpass_fft(w, damping)
        late = lowpass_fft(w, damping * 0.35)
        mix = np.clip(t / max(seconds * 0.6, 1e-3), 0.0, 1.0)
        ir = early * (1.0 - mix) + late * mix
        pd = samples(predelay)
        ir = np.concatenate((np.zeros(pd), ir))[:n]
        ir[: samples(0.002) + pd] = 0.0
        ir /= math.sqrt(np.sum(ir**2) + 1e-12)
        irs.append(ir)
    return np.stack(irs, axis=1) if stereo else irs[0]


def add_reverb(x, ir, wet):
    """Dry signal plus wet reverb; the result is longer by the tail of the room."""
    if x.ndim == 1 and ir.ndim == 2:
        x = np.stack((x, x), axis=1)
    w = convolve(x, ir)
    out = w * wet
    out[: x.shape[0]] += x
    return out


def pan(x, position):
    """Constant-power pan of a mono signal: -1 left, 0 centre, +1 right."""
    a = (position + 1.0) * math.pi / 4.0
    return np.stack((x * math.cos(a), x * math.sin(a)), axis=1)


def mix_at(dest, src, start):
    """Add src into dest from sample `start`, clipping what falls past the end."""
    if start >= dest.shape[0]:
        return
    end = min(dest.shape[0], start + src.shape[0])
    if start < 0:
        src = src[-start:]
        start = 0
    dest[start:end] += src[: end - start]


def loudness(x, window=0.1):
    """RMS level of the loudest stretch of `window` seconds (linear)."""
    mono_power = x**2 if x.ndim == 1 else np.mean(x**2, axis=1)
    win = max(1, min(mono_power.shape[0], samples(window)))
    c = np.concatenate(([0.0], np.cumsum(mono_power)))
    power = (c[win:] - c[:-win]) / win
    return math.sqrt(float(np.max(power)))


def level_to(x, loud_db, peak_cap_db=-1.5):
    """Scale to a loudness target, never letting the peak pass the cap."""
    gain = db(loud_db) / (loudness(x) + 1e-12)
    peak = float(np.max(np.abs(x)))
    gain = min(gain, db(peak_cap_db) / (peak + 1e-12))
    return x * gain


def normalize(x, peak_db):
    peak = np.max(np.abs(x))
    if peak <= 0.0:
        return x
    return x * (db(peak_db) / peak)


def soft_clip(x, drive=1.0):
    """Gentle tanh saturation, used on the song buses to round off peaks."""
    return np.tanh(drive * x) / math.tanh(drive)


# --------------------------------------------------------------------------
# Seamless loops: everything periodic in the loop length


def circular_noise(n, gen, response=None):
    """Noise that is exactly periodic over n samples, shaped by a magnitude response."""
    spectrum = gen.standard_normal(n // 2 + 1) + 1j * gen.standard_normal(n // 2 + 1)
    spectrum[0] = 0.0
    if response is not None:
        f = np.fft.rfftfreq(n, 1.0 / SR)
        spectrum = spectrum * response(f)
    x = np.fft.irfft(spectrum, n)
    return x / (np.max(np.abs(x)) + 1e-12)


def circular_filter(x, response):
    """Filter one period of a loop as if it repeated forever (no edge at the seam)."""
    n = x.shape[0]
    spectrum = np.fft.rfft(x)
    f = np.fft.rfftfreq(n, 1.0 / SR)
    return np.fft.irfft(spectrum * response(f), n)


def quietest_rotation(x):
    """Rotate a loop so it starts where it is quietest and calmest (no start click)."""
    slope = np.abs(np.roll(x, -1) - x)
    bend = np.abs(np.roll(x, -1) - 2.0 * x + np.roll(x, 1))
    score = np.abs(x) + 2.0 * slope + 4.0 * bend
    # prefer a point in the quietest stretch of the loop
    win = max(1, samples(0.01))
    kernel = np.ones(win) / win
    loud = np.convolve(np.concatenate((x[-win:], x, x[:win])) ** 2, kernel, mode="same")[win:-win]
    idx = int(np.argmin(score + 0.5 * np.sqrt(loud)))
    return np.roll(x, -idx)
