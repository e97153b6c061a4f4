"""Sprites kept as text pixel grids in sprites/*.txt.

A file holds one or more frames. Each frame starts with a line "frame" and
has one row of palette keys per pixel row ('.' is clear). An optional block
"alpha" right after a frame's rows gives partial opacity per pixel as a digit
1-9 (tenths; '.' means fully opaque where the frame has ink). Lines starting
with '#' are comments. Frames are laid out left to right into the picture.
"""

import functools
import pathlib

from canvas import Canvas, strip

SPRITES = pathlib.Path(__file__).resolve().parent / "sprites"


@functools.lru_cache(maxsize=None)
def frames(name):
    text = (SPRITES / (name + ".txt")).read_text()
    blocks = []  # list of (kind, rows)
    for line in text.splitlines():
        if line.startswith("#") or not line.strip():
            continue
        if line.strip() in ("frame", "alpha"):
            blocks.append((line.strip(), []))
            continue
        blocks[-1][1].append(line.rstrip())
    out = []
    for kind, rows in blocks:
        if kind == "frame":
            w = max(len(r) for r in rows)
            c = Canvas(w, len(rows))
            for y, row in enumerate(rows):
                for x, ch in enumerate(row):
                    if ch != ".":
                        c.px(x, y, ch)
            out.append(c)
        else:
            c = out[-1]
            for y, row in enumerate(rows):
                for x, ch in enumerate(row):
                    if ch.isdigit() and c.a[y, x, 3]:
                        c.a[y, x, 3] = int(round(int(ch) * 25.5))
    return out


def sheet(name):
    """All frames of a grid sprite as one animation picture."""
    return strip([f.copy() for f in frames(name)])


def frame(name, index):
    return frames(name)[index].copy()
