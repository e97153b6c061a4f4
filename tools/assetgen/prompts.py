"""The prompts sheet: every pad button the game's prompts show, in the game's
palette, each in a 14x10 cell (drawn at scale 2 it sits on one text line).

The frames' order is the game's (src/settings/prompt_pictures.cpp names them):
the four face buttons by place (south, east, west, north) in each pad's own
labels (Xbox letters, PlayStation shapes, Nintendo letters on their swapped
places, a generic pad's lit dot), the d-pad with its pressed arms lit, the
shoulders and triggers as labelled tabs and Start/Back as pills in each
style, the sticks as rings, the paddles, Misc and the touchpad.
"""

from canvas import Canvas
from font import glyph_rows
from registry import picture

CELL_W, CELL_H = 14, 10
COLUMNS = 8
STYLES = ("xbox", "playstation", "nintendo", "generic")
FACES = ("south", "east", "west", "north")


def _frames():
    names = []
    for style in STYLES:
        names += ["%s_%s" % (style, face) for face in FACES]
    names += ["dpad_up", "dpad_down", "dpad_left", "dpad_right", "dpad_vertical", "dpad_horizontal", "dpad"]
    for style in STYLES:
        names += ["%s_%s" % (style, part) for part in ("lshoulder", "rshoulder", "ltrigger", "rtrigger")]
    for style in STYLES:
        names += ["%s_start" % style, "%s_back" % style]
    names += ["lstick_click", "rstick_click", "rstick_left", "rstick_right", "rstick_up", "rstick_down",
              "lstick"]
    names += ["paddle1", "paddle2", "paddle3", "paddle4", "misc", "touchpad"]
    return names


FRAMES = _frames()
ROWS = (len(FRAMES) + COLUMNS - 1) // COLUMNS
SHEET_W, SHEET_H = CELL_W * COLUMNS, CELL_H * ROWS


def _letters(c, text, cx, top, colour):
    """Our font's capitals centred on column cx, their top at row top."""
    widths = [len(glyph_rows(ch)[0]) for ch in text]
    x = cx - (sum(widths) + len(text) - 1) // 2
    for ch, w in zip(text, widths):
        for j, row in enumerate(glyph_rows(ch)):
            for i, v in enumerate(row):
                if v == "#":
                    c.px(x + i, top + j, colour)
        x += w + 1


def _round(c, ox, body="q", rim="K"):
    """A round face button, 10 across, in the middle of the cell."""
    for y in range(CELL_H):
        for x in range(10):
            d = (x - 4.5) ** 2 + (y - 4.5) ** 2
            if d <= 25.5:
                c.px(ox + 2 + x, y, rim if d > 14.5 else body)


def _shape(c, ox, kind, colour):
    cx, cy = ox + 6, 4  # the button's middle (between pixels 6 and 7, rows 4 and 5)
    if kind == "cross":
        for i in range(5):
            c.px(cx - 2 + i, cy - 1 + i, colour)
            c.px(cx + 3 - i, cy - 1 + i, colour)
    elif kind == "circle":
        for y in range(-3, 3):
            for x in range(-3, 3):
                d = (x + 0.5) ** 2 + (y + 0.5) ** 2
                if 2.2 <= d <= 7.5:
                    c.px(cx + 1 + x, cy + 1 + y, colour)
    elif kind == "square":
        c.rect(cx - 1, cy - 1, cx + 2, cy + 2, colour)
        c.rect(cx, cy, cx + 1, cy + 1, "q")
    elif kind == "triangle":
        rows = ("....##....", "...#..#...", "...#..#...", "..#....#..", "..######..")
        for j, row in enumerate(rows):
            for i, v in enumerate(row):
                if v == "#":
                    c.px(ox + 2 + i, 2 + j, colour)


def _face(c, ox, style, face):
    if style == "xbox":
        _round(c, ox)
        letter, colour = {"south": ("A", "a"), "east": ("B", "e"), "west": ("X", "u"), "north": ("Y", "F")}[face]
        _letters(c, letter, ox + 7, 2, colour)
    elif style == "playstation":
        _round(c, ox)
        kind, colour = {"south": ("cross", "c"), "east": ("circle", "e"), "west": ("square", "m"),
                        "north": ("triangle", "a")}[face]
        _shape(c, ox, kind, colour)
    elif style == "nintendo":
        _round(c, ox, body="Q")
        letter = {"south": "B", "east": "A", "west": "Y", "north": "X"}[face]
        _letters(c, letter, ox + 7, 2, "W")
    else:
        # a generic pad: four dots where its face buttons are, the one meant lit
        _round(c, ox)
        spots = {"north": (6, 2), "south": (6, 6), "west": (4, 4), "east": (8, 4)}
        for name, (x, y) in spots.items():
            lit = name == face
            c.rect(ox + x, y, ox + x + 1, y + 1, "L" if lit else "n")


def _dpad(c, ox, lit):
    """The d-pad's cross, its lit arms light."""
    arms = {"up": (4, 0, 5, 3), "down": (4, 6, 5, 9), "left": (1, 4, 4, 5), "right": (5, 4, 8, 5)}
    x0 = ox + 2
    c.rect(x0 + 3, 0, x0 + 6, 9, "K")
    c.rect(x0 + 0, 3, x0 + 9, 6, "K")
    c.rect(x0 + 4, 1, x0 + 5, 8, "n")
    c.rect(x0 + 1, 4, x0 + 8, 5, "n")
    for arm in lit:
        ax0, ay0, ax1, ay1 = arms[arm]
        c.rect(x0 + ax0, max(ay0, 1), x0 + ax1, min(ay1, 8), "L")
    c.rect(x0 + 4, 4, x0 + 5, 5, "q")


def _tab(c, ox, text, trigger):
    """A shoulder (flat) or trigger (rounded top) tab with its label."""
    c.rect(ox, 0, ox + CELL_W - 1, CELL_H - 1, "K")
    c.rect(ox + 1, 1, ox + CELL_W - 2, CELL_H - 2, "N" if trigger else "n")
    if trigger:
        for x, y in ((0, 0), (1, 0), (0, 1), (CELL_W - 1, 0), (CELL_W - 2, 0), (CELL_W - 1, 1)):
            c.clear(ox + x, y)
        c.px(ox + 1, 1, "K")
        c.px(ox + CELL_W - 2, 1, "K")
    else:
        c.clear(ox, CELL_H - 1)
        c.clear(ox + CELL_W - 1, CELL_H - 1)
    _letters(c, text, ox + 7, 2, "W")


def _pill(c, ox, mark):
    """A small pill (Start, Back, Misc, the touchpad) with its mark."""
    c.rect(ox + 1, 1, ox + CELL_W - 2, CELL_H - 2, "K")
    c.rect(ox + 2, 2, ox + CELL_W - 3, CELL_H - 3, "Q")
    for x, y in ((1, 1), (CELL_W - 2, 1), (1, CELL_H - 2), (CELL_W - 2, CELL_H - 2)):
        c.clear(ox + x, y)
    m = ox + 5
    if mark == "lines":  # a menu's three lines
        for y in (3, 5, 7):
            c.hline(m, m + 3, y - 0.5, "W")
    elif mark == "view":  # two windows over each other
        c.rect(m, 3, m + 2, 5, "W")
        c.rect(m + 2, 5, m + 4, 7, "W")
        c.px(m + 3, 6, "Q")
    elif mark == "share":  # an arrow leaving a box
        c.rect(m, 5, m + 3, 7, "W")
        c.rect(m + 1, 5, m + 2, 6, "Q")
        c.px(m + 1, 3, "W")
        c.px(m + 2, 3, "W")
        c.px(m + 1, 4, "W")
        c.px(m + 2, 4, "W")
        c.px(m, 3, "W")
        c.px(m + 3, 3, "W")
    elif mark == "plus":
        c.hline(m, m + 4, 5, "W")
        c.rect(m + 2, 3, m + 2, 7, "W")
    elif mark == "minus":
        c.hline(m, m + 4, 5, "W")
    elif mark == "play":  # Start on a pad without its own mark
        for j in range(5):
            c.hline(m + 1, m + 1 + min(j, 4 - j), 3 + j, "W")
    elif mark == "select":  # Back on such a pad: a bar
        c.rect(m, 4, m + 4, 6, "W")
    elif mark == "dot":
        c.rect(m + 1, 4, m + 2, 5, "W")
    elif mark == "pad":  # the touchpad: an empty panel
        c.rect(ox + 3, 3, ox + CELL_W - 4, CELL_H - 4, "n")


def _ring(c, ox, letter=None, dot=None):
    """A stick seen from above: a ring, its letter when it is clicked, its lean as a dot."""
    for y in range(CELL_H):
        for x in range(10):
            d = (x - 4.5) ** 2 + (y - 4.5) ** 2
            if d <= 25.5:
                c.px(ox + 2 + x, y, "K" if d > 14.5 else ("n" if d > 6.5 else "N"))
    if letter:
        _letters(c, letter, ox + 7, 2, "W")
    if dot:
        dx, dy = {"left": (-2, 0), "right": (2, 0), "up": (0, -2), "down": (0, 2)}[dot]
        c.rect(ox + 6 + dx, 4 + dy, ox + 7 + dx, 5 + dy, "L")


SHOULDER_LABELS = {
    "xbox": ("LB", "RB", "LT", "RT"),
    "playstation": ("L1", "R1", "L2", "R2"),
    "nintendo": ("L", "R", "ZL", "ZR"),
    "generic": ("L1", "R1", "L2", "R2"),
}
START_BACK = {
    "xbox": ("lines", "view"),
    "playstation": ("lines", "share"),
    "nintendo": ("plus", "minus"),
    "generic": ("play", "select"),
}


def _paint(c, ox, name):
    style, _, part = name.partition("_")
    if style in STYLES and part in FACES:
        _face(c, ox, style, part)
    elif name.startswith("dpad"):
        lit = {"dpad_up": ["up"], "dpad_down": ["down"], "dpad_left": ["left"], "dpad_right": ["right"],
               "dpad_vertical": ["up", "down"], "dpad_horizontal": ["left", "right"], "dpad": []}[name]
        _dpad(c, ox, lit)
    elif style in STYLES and part in ("lshoulder", "rshoulder", "ltrigger", "rtrigger"):
        index = ("lshoulder", "rshoulder", "ltrigger", "rtrigger").index(part)
        _tab(c, ox, SHOULDER_LABELS[style][index], trigger=index >= 2)
    elif style in STYLES and part in ("start", "back"):
        _pill(c, ox, START_BACK[style][0 if part == "start" else 1])
    elif name == "lstick_click":
        _ring(c, ox, letter="L")
    elif name == "rstick_click":
        _ring(c, ox, letter="R")
    elif name.startswith("rstick_"):
        _ring(c, ox, dot=name[len("rstick_"):])
    elif name == "lstick":
        _ring(c, ox)
    elif name.startswith("paddle"):
        _tab(c, ox, "P" + name[-1], trigger=False)
    elif name == "misc":
        _pill(c, ox, "dot")
    elif name == "touchpad":
        _pill(c, ox, "pad")
    else:
        raise ValueError("no painter for prompt " + name)


@picture("Gfx/prompts.png")
def prompts_sheet():
    sheet = Canvas(SHEET_W, SHEET_H)
    for i, name in enumerate(FRAMES):
        cell = Canvas(CELL_W, CELL_H)
        _paint(cell, 0, name)
        x0, y0 = (i % COLUMNS) * CELL_W, (i // COLUMNS) * CELL_H
        sheet.a[y0:y0 + CELL_H, x0:x0 + CELL_W] = cell.a
    return sheet
