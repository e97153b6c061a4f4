"""Writing rendered sounds as OGG Vorbis, and reading them back for checks."""

import pathlib
import subprocess
import tempfile
import wave

import numpy as np

from .synth import SR, db

SERIAL = 12345  # fixed stream serial so the same sound always gives the same bytes
PEAK_LIMIT_DB = -1.0  # no decoded sample may be louder than this


def to_pcm16(x):
    x = np.clip(np.asarray(x, dtype=np.float64), -1.0, 1.0)
    return np.round(x * 32767.0).astype("<i2")


def write_wav(path, x):
    pcm = to_pcm16(x)
    channels = 1 if pcm.ndim == 1 else pcm.shape[1]
    with wave.open(str(path), "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(2)
        w.setframerate(SR)
        w.writeframes(pcm.tobytes())


def decode(path):
    """Decode an OGG file into float samples (n,) or (n, channels), and its channel count."""
    raw = subprocess.run(
        ["oggdec", "-Q", "-R", "-b", "16", "-e", "0", "-s", "1", "-o", "-", str(path)],
        check=True,
        stdout=subprocess.PIPE,
    ).stdout
    info = subprocess.run(["ogginfo", str(path)], check=True, stdout=subprocess.PIPE, text=True).stdout
    channels = 1
    for line in info.splitlines():
        line = line.strip()
        if line.startswith("Channels:"):
            channels = int(line.split(":")[1])
    pcm = np.frombuffer(raw, dtype="<i2").astype(np.float64) / 32768.0
    if channels > 1:
        pcm = pcm.reshape(-1, channels)
    return pcm, channels


def encode(x, out_path, quality, workdir):
    """Encode x to out_path; if the lossy codec pushes a peak above the limit,
    lower the level a little and encode again (deterministically)."""
    out_path = pathlib.Path(out_path)
    gain = 1.0
    for _ in range(8):
        wav = pathlib.Path(workdir) / (out_path.stem + ".wav")
        write_wav(wav, x * gain)
        subprocess.run(
            [
                "oggenc",
                "-Q",
                "--serial",
                str(SERIAL),
                "-q",
                str(quality),
                "-o",
                str(out_path),
                str(wav),
            ],
            check=True,
        )
        wav.unlink()
        decoded, _ = decode(out_path)
        peak = float(np.max(np.abs(decoded)))
        if peak <= db(PEAK_LIMIT_DB):
            return out_path
        gain *= db(PEAK_LIMIT_DB - 0.3) / peak
    raise RuntimeError(f"{out_path.name}: peak stays above {PEAK_LIMIT_DB} dBFS")


def temp_dir():
    return tempfile.TemporaryDirectory(prefix="vevu-audio-")
