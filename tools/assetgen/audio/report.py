"""The sound report: what each generated file measures after decoding."""

import pathlib
import re
import subprocess

import numpy as np

from . import encode, sfx, synth


def _sox_info(path):
    out = subprocess.run(["sox", "--i", str(path)], check=True, stdout=subprocess.PIPE, text=True).stdout
    info = {}
    for line in out.splitlines():
        if ":" in line:
            key, value = line.split(":", 1)
            info[key.strip()] = value.strip()
    return info


def _sox_peak(path):
    """Maximum amplitude as sox's stat effect measures it (cross-check of our decode)."""
    err = subprocess.run(["sox", str(path), "-n", "stat"], check=True, stderr=subprocess.PIPE, text=True).stderr
    m = re.search(r"Maximum amplitude:\s+([-0-9.e]+)", err)
    m2 = re.search(r"Minimum amplitude:\s+([-0-9.e]+)", err)
    return max(abs(float(m.group(1))), abs(float(m2.group(1))))


def _dbfs(v):
    return 20.0 * np.log10(max(v, 1e-9))


def seam(x):
    """How well a loop joins: the jump from its last sample to its first, and the
    change of slope there, each against the same measure inside the loop
    (99th percentile). Ratios near or below 1 mean the seam is inaudible."""
    if x.ndim == 1:
        x = x[:, None]
    worst = (0.0, 0.0, 0.0, 0.0)
    for c in range(x.shape[1]):
        v = x[:, c]
        d1 = np.abs(np.diff(v))
        d2 = np.abs(np.diff(v, 2))
        jump = abs(v[0] - v[-1])
        slope = abs((v[1] - v[0]) - (v[-1] - v[-2]))
        r1 = jump / (np.percentile(d1, 99) + 1e-12)
        r2 = slope / (np.percentile(d2, 99) + 1e-12)
        if r1 >= worst[1]:
            worst = (jump, r1, slope, r2)
    return worst


def measure(path):
    path = pathlib.Path(path)
    info = _sox_info(path)
    x, channels = encode.decode(path)
    peak = float(np.max(np.abs(x)))
    rms = float(np.sqrt(np.mean(x**2)))
    # loudness while the sound is actually sounding: RMS of the loudest 300 ms
    active = synth.loudness(x, 0.1)
    row = {
        "name": path.name,
        "duration": x.shape[0] / 44100.0,
        "channels": channels,
        "rate": int(info.get("Sample Rate", "0")),
        "sox_channels": int(info.get("Channels", "0")),
        "peak_db": _dbfs(peak),
        "sox_peak_db": _dbfs(_sox_peak(path)),
        "rms_db": _dbfs(rms),
        "loud100_db": _dbfs(active),
        "bytes": path.stat().st_size,
        "start": float(np.max(np.abs(x[0]))),
        "end": float(np.max(np.abs(x[-1]))),
    }
    if path.stem in sfx.LOOPS:
        row["seam"] = seam(x)
    return row


def problems_of(rows):
    found = []
    for r in rows:
        if r["peak_db"] > -1.0 or r["sox_peak_db"] > -1.0:
            found.append(f"{r['name']}: peak above -1 dBFS")
        if r["rate"] != 44100:
            found.append(f"{r['name']}: rate {r['rate']}")
        if r["channels"] != r["sox_channels"]:
            found.append(f"{r['name']}: channel counts disagree")
        if "seam" in r and (r["seam"][1] > 1.0 or r["seam"][3] > 1.0):
            found.append(f"{r['name']}: loop seam stands out")
        if "seam" not in r and max(r["start"], r["end"]) > 0.01:
            found.append(f"{r['name']}: does not start and end at silence")
    return found


def write_report(paths, out_file):
    """Measure every file, write the report and return (text, list of problems)."""
    rows = [measure(p) for p in paths]
    lines = [
        "Sound report (measured on the decoded OGG files)",
        "peak/soxpk: highest sample in dBFS by our decoder and by sox; rms: whole file;",
        "loud100: RMS of the loudest 100 ms; start/end: first and last sample (0..1).",
        "",
        f"{'file':26s} {'dur s':>6s} {'ch':>2s} {'rate':>6s} {'peak':>7s} {'soxpk':>7s} {'rms':>7s} "
        f"{'loud100':>7s} {'start':>6s} {'end':>6s} {'bytes':>8s}",
    ]
    for r in rows:
        lines.append(
            f"{r['name']:26s} {r['duration']:6.2f} {r['channels']:2d} {r['rate']:6d} {r['peak_db']:7.2f} "
            f"{r['sox_peak_db']:7.2f} {r['rms_db']:7.2f} {r['loud100_db']:7.2f} {r['start']:6.3f} {r['end']:6.3f} "
            f"{r['bytes']:8d}"
        )
    lines += ["", "Loop seams (jump = |last - first| sample; slope = change of slope across the seam;",
              "ratios against the 99th percentile of the same measure inside the loop):"]
    for r in rows:
        if "seam" in r:
            jump, r1, slope, r2 = r["seam"]
            lines.append(f"  {r['name']:26s} jump {jump:.5f} ({r1:.2f}x p99)   slope {slope:.5f} ({r2:.2f}x p99)")
    problems = problems_of(rows)
    lines += ["", "Problems: " + ("none" if not problems else "; ".join(problems))]
    text = "\n".join(lines) + "\n"
    out_file = pathlib.Path(out_file)
    out_file.parent.mkdir(parents=True, exist_ok=True)
    out_file.write_text(text)
    return text, problems
