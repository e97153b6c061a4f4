"""The game's pixel font, "super effective": glyph grids and the TrueType
builder.

Every glyph is a grid of rows, top row first. Row 0 is the top of the line,
rows 0-5 stand above the baseline (capitals and ascenders are 6 tall, the
x-height is 4), rows 6-7 hang below it. '#' is ink. The advance of a glyph is
its width plus one pixel of spacing; the space advances 3.

At 8 pixels per em each grid pixel is exactly one screen pixel, so FreeType
draws every glyph with hard edges on whole pixels.
"""

import pathlib

PIXEL = 128  # font units per pixel
UPM = PIXEL * 8  # 1024 units per em = 8 pixels
ASCENT_PX = 6
DESCENT_PX = 2
SPACE_ADVANCE = 3

# glyph -> rows separated by '/', starting at row 0 unless the entry begins
# with a row offset "N:"
_G = {
    "A": ".##./#..#/#..#/####/#..#/#..#",
    "B": "###./#..#/###./#..#/#..#/###.",
    "C": ".###/#.../#.../#.../#.../.###",
    "D": "###./#..#/#..#/#..#/#..#/###.",
    "E": "####/#.../###./#.../#.../####",
    "F": "####/#.../###./#.../#.../#...",
    "G": ".###/#.../#.##/#..#/#..#/.###",
    "H": "#..#/#..#/####/#..#/#..#/#..#",
    "I": "###/.#./.#./.#./.#./###",
    "J": "...#/...#/...#/...#/#..#/.##.",
    "K": "#..#/#.#./##../#.#./#..#/#..#",
    "L": "#.../#.../#.../#.../#.../####",
    "M": "#...#/##.##/#.#.#/#...#/#...#/#...#",
    "N": "#..#/##.#/#.##/#..#/#..#/#..#",
    "O": ".##./#..#/#..#/#..#/#..#/.##.",
    "P": "###./#..#/#..#/###./#.../#...",
    "Q": ".##./#..#/#..#/#..#/#.#./.#.#",
    "R": "###./#..#/#..#/###./#.#./#..#",
    "S": ".###/#.../.##./...#/...#/###.",
    "T": "#####/..#../..#../..#../..#../..#..",
    "U": "#..#/#..#/#..#/#..#/#..#/.##.",
    "V": "#...#/#...#/#...#/.#.#./.#.#./..#..",
    "W": "#...#/#...#/#...#/#.#.#/##.##/#...#",
    "X": "#..#/#..#/.##./.##./#..#/#..#",
    "Y": "#...#/#...#/.#.#./..#../..#../..#..",
    "Z": "####/...#/..#./.#../#.../####",
    "a": "2:.##/#.#/#.#/.##",
    "b": "#../#../##./#.#/#.#/##.",
    "c": "2:.##/#../#../.##",
    "d": "..#/..#/.##/#.#/#.#/.##",
    "e": "2:.#./###/#../.##",
    "f": ".##/.#./###/.#./.#./.#.",
    "g": "2:.##/#.#/#.#/.##/..#/##.",
    "h": "#../#../##./#.#/#.#/#.#",
    "i": "#/./#/#/#/#",
    "j": ".#/../.#/.#/.#/.#/.#/#.",
    "k": "#../#../#.#/##./#.#/#.#",
    "l": "#/#/#/#/#/#",
    "m": "2:##.#./#.#.#/#.#.#/#.#.#",
    "n": "2:##./#.#/#.#/#.#",
    "o": "2:.#./#.#/#.#/.#.",
    "p": "2:##./#.#/#.#/##./#../#..",
    "q": "2:.##/#.#/#.#/.##/..#/..#",
    "r": "2:#.#/##./#../#..",
    "s": "2:.##/##./..#/##.",
    "t": "1:.#./###/.#./.#./..#",
    "u": "2:#.#/#.#/#.#/.##",
    "v": "2:#.#/#.#/#.#/.#.",
    "w": "2:#...#/#...#/#.#.#/.#.#.",
    "x": "2:#.#/.#./.#./#.#",
    "y": "2:#.#/#.#/#.#/.##/..#/##.",
    "z": "2:###/..#/#../###",
    "0": ".#./#.#/#.#/#.#/#.#/.#.",
    "1": ".#./##./.#./.#./.#./###",
    "2": "##./..#/..#/.#./#../###",
    "3": "##./..#/.#./..#/..#/##.",
    "4": "#.#/#.#/#.#/###/..#/..#",
    "5": "###/#../##./..#/..#/##.",
    "6": ".##/#../##./#.#/#.#/.#.",
    "7": "###/..#/..#/.#./.#./.#.",
    "8": ".#./#.#/.#./#.#/#.#/.#.",
    "9": ".#./#.#/#.#/.##/..#/##.",
    "!": "#/#/#/#/./#",
    '"': "#.#/#.#",
    "#": "1:.#.#./#####/.#.#./#####/.#.#.",
    "$": ".#./.##/#../.#./..#/##./.#.",
    "%": "#.#/..#/.#./.#./#../#.#",
    "&": ".#../#.#./.#../#.##/#.#./.#.#",
    "'": "#/#",
    "(": ".#/#./#./#./#./.#",
    ")": "#./.#/.#/.#/.#/#.",
    "*": "1:#.#/.#./#.#",
    "+": "2:.#./###/.#.",
    ",": "5:.#/#.",
    "-": "3:###",
    ".": "5:#",
    "/": "..#/..#/.#./.#./#../#..",
    ":": "2:#/./#",
    ";": "2:.#/../.#/#.",
    "<": "1:..#/.#./#../.#./..#",
    "=": "2:###/.../###",
    ">": "1:#../.#./..#/.#./#..",
    "?": "##./..#/.#./.#./.../.#.",
    "@": ".###./#...#/#.###/#.#.#/#.###/#..../.###.",
    "[": "##/#./#./#./#./##",
    "\\": "#../#../.#./.#./..#/..#",
    "]": "##/.#/.#/.#/.#/##",
    "^": ".#./#.#",
    "_": "6:####",
    "`": "#./.#",
    "{": ".##/.#./#../.#./.#./.##",
    "|": "#/#/#/#/#/#/#",
    "}": "##./.#./..#/.#./.#./##.",
    "~": "2:.#.#/#.#.",
}


# Beyond ASCII: the letters of Latin-1 and Latin Extended-A, Cyrillic and Greek, and the punctuation the
# translations use. Letters with marks are composed from their base letter and a drawn mark (below);
# these are drawn whole. A row offset may be negative: the row above the line's top (see _place_mark).
_X = {
    # spaces that do not break a line, and the thin ones French puts before ! ? : ;
    "\u00A0": "0:..", "\u202F": "0:.", "\u2009": "0:.",
    # Latin-1 punctuation and signs
    "\u00A1": "1:#/./#/#/#/#",
    "\u00A2": "1:.#./.##/#../#../.##/.#.",
    "\u00A3": ".##./#.../###./#.../#.../####",
    "\u00A4": "1:#..#/.##./.##./#..#",
    "\u00A5": "#...#/.#.#./..#../#####/..#../..#..",
    "\u00A6": "#/#/#/./#/#/#",
    "\u00A7": ".##/#../.#./#.#/.#./..#/##.",
    "\u00A8": "#.#",
    "\u00A9": ".###./#...#/#.#.#/#.#.#/#...#/.###.",
    "\u00AA": ".##/#.#/.##/.../###",
    "\u00AB": "2:.#.#/#.#./.#.#",
    "\u00AC": "2:###/..#",
    "\u00AD": "3:##",
    "\u00AE": ".###./#...#/#.#.#/#.#.#/#...#/.###.",
    "\u00AF": "###",
    "\u00B0": ".#./#.#/.#.",
    "\u00B1": "1:.#./###/.#./.../###",
    "\u00B2": "##./..#/.#./###",
    "\u00B3": "##./.#./..#/##.",
    "\u00B4": ".#/#.",
    "\u00B5": "2:#.#/#.#/#.#/###/#..",
    "\u00B6": ".###/##.#/##.#/.#.#/.#.#/.#.#",
    "\u00B7": "3:#",
    "\u00B8": "6:.#/#.",
    "\u00B9": ".#/##/.#/.#",
    "\u00BA": ".#./#.#/.#./.../###",
    "\u00BB": "2:#.#./.#.#/#.#.",
    "\u00BC": "#...#/#..#./#.#../.#.#./#.###/...#.",
    "\u00BD": "#...#/#..#./#.#../.#.##/#...#/...##",
    "\u00BE": "##..#/.#.#./##.../.#.#./#.###/...#.",
    "\u00BF": "1:.#./.../.#./.#./#../.##",
    "\u00D7": "2:#.#/.#./#.#",
    "\u00F7": "1:.#./.../###/.../.#.",
    # Latin letters that are not a base letter with a mark
    "\u00C6": ".####/#.#../#.###/###../#.#../#.###",
    "\u00E6": "2:.####/#.##./#.#../.####",
    "\u00D0": ".###./.#..#/###.#/.#..#/.#..#/.###.",
    "\u00F0": ".##/###/.##/#.#/#.#/.#.",
    "\u00D8": ".##./#.##/#.##/##.#/##.#/.##.",
    "\u00F8": "2:.##/#.#/###/##.",
    "\u00DE": "#.../###./#..#/###./#.../#...",
    "\u00FE": "#../#../##./#.#/#.#/##./#../#..",
    "\u00DF": ".##./#..#/#.#./#..#/#..#/#.##",
    "\u0110": ".###./.#..#/###.#/.#..#/.#..#/.###.",
    "\u0111": "..#./.###/.##./#.#./#.#./.##.",
    "\u0126": "#..#/####/#..#/####/#..#/#..#",
    "\u0127": ".#../####/.#../.##./.#.#/.#.#",
    "\u0131": "2:#/#/#/#",
    "\u0237": "2:.#/.#/.#/.#/.#/#.",
    "\u0132": "###.#/.#..#/.#..#/.#..#/.#..#/###.#",
    "\u0133": "#..#/..../#..#/#..#/#..#/#..#/...#/..#.",
    "\u0138": "2:#.#/##./#.#/#.#",
    "\u013D": "#.#./#.#./#.../#.../#.../####",
    "\u013E": "#.#/#.#/#../#../#../#..",
    "\u013F": "#.../#.../#.#./#.../#.../####",
    "\u0140": "#../#../#.#/#../#../#..",
    "\u0141": ".#.../.#.../.##../##.../.#.../.####",
    "\u0142": ".#./.#./.##/##./.#./.#.",
    "\u0149": "#.../#.../.##./.#.#/.#.#/.#.#",
    "\u014A": "#..#/##.#/#.##/#..#/#..#/#..#/..#.",
    "\u014B": "2:##./#.#/#.#/#.#/..#/.#.",
    "\u0152": ".####/#.#../#.###/#.#../#.#../.####",
    "\u0153": "2:.#.#./#.###/#.#../.#.##",
    "\u0166": "#####/..#../.###./..#../..#../..#..",
    "\u0167": "1:.#./###/.#./###/..#",
    "\u017F": ".##/.#./.#./.#./.#./.#.",
    "\u010F": "..#.#/..#.#/.##../#.#../#.#../.##..",
    "\u0165": "...#/.#.#/###./.#../.#../..#.",
    # Cyrillic: the letters that are not also Latin ones
    "\u0411": "####/#.../###./#..#/#..#/###.",
    "\u0413": "####/#.../#.../#.../#.../#...",
    "\u0414": ".###./.#.#./.#.#./.#.#./.#.#./#####/#...#",
    "\u0416": "#.#.#/#.#.#/.###./#.#.#/#.#.#/#.#.#",
    "\u0417": "###./...#/.##./...#/...#/###.",
    "\u0418": "#..#/#..#/#.##/##.#/#..#/#..#",
    "\u041B": ".###/.#.#/.#.#/.#.#/.#.#/#..#",
    "\u041F": "####/#..#/#..#/#..#/#..#/#..#",
    "\u0423": "#..#/#..#/#..#/.###/...#/###.",
    "\u0424": ".###./#.#.#/#.#.#/.###./..#../..#..",
    "\u0426": "#..#./#..#./#..#./#..#./#..#./#####/....#",
    "\u0427": "#..#/#..#/#..#/.###/...#/...#",
    "\u0428": "#.#.#/#.#.#/#.#.#/#.#.#/#.#.#/#####",
    "\u0429": "#.#.#./#.#.#./#.#.#./#.#.#./#.#.#./######/.....#",
    "\u042A": "##.../.#.../.###./.#..#/.#..#/.###.",
    "\u042B": "#...#/#...#/###.#/#.#.#/#.#.#/###.#",
    "\u042C": "#.../#.../###./#..#/#..#/###.",
    "\u042D": "###./...#/.###/...#/...#/###.",
    "\u042E": "#..#./#.#.#/###.#/#.#.#/#.#.#/#..#.",
    "\u042F": ".###/#..#/#..#/.###/.#.#/#..#",
    "\u0402": "###../.#.../.###./.#..#/.#..#/.#.#.",
    "\u0404": ".###/#.../###./#.../#.../.###",
    "\u0409": ".##.../.#.#../.#.##./.#.#.#/.#.#.#/#..##.",
    "\u040A": "#.#../#.#../####./#.#.#/#.#.#/#.##.",
    "\u040B": "###../.#.../.###./.#..#/.#..#/.#..#",
    "\u040F": "#..#/#..#/#..#/#..#/#..#/####/.##.",
    "\u0490": "-1:...#/####/#.../#.../#.../#.../#...",
    "\u0431": "###/#../##./#.#/#.#/.#.",
    "\u0432": "2:##./###/#.#/##.",
    "\u0433": "2:###/#../#../#..",
    "\u0434": "2:.#./#.#/#.#/###/#.#",
    "\u0436": "2:#.#.#/.###./.###./#.#.#",
    "\u0437": "2:##./.#./..#/##.",
    "\u0438": "2:#..#/#.##/##.#/#..#",
    "\u043A": "2:#.#/##./#.#/#.#",
    "\u043B": "2:.##/#.#/#.#/#.#",
    "\u043C": "2:#...#/##.##/#.#.#/#...#",
    "\u043D": "2:#.#/###/#.#/#.#",
    "\u043F": "2:###/#.#/#.#/#.#",
    "\u0442": "2:###/.#./.#./.#.",
    "\u0444": "1:..#../.###./#.#.#/#.#.#/.###./..#..",
    "\u0446": "2:#.#./#.#./#.#./####/...#",
    "\u0447": "2:#.#/#.#/.##/..#",
    "\u0448": "2:#.#.#/#.#.#/#.#.#/#####",
    "\u0449": "2:#.#.#./#.#.#./#.#.#./######/.....#",
    "\u044A": "2:##../.##./.#.#/.##.",
    "\u044B": "2:#...#/###.#/#.#.#/###.#",
    "\u044C": "2:#../##./#.#/##.",
    "\u044D": "2:##./.##/..#/##.",
    "\u044E": "2:#..#./#.#.#/###.#/#..#.",
    "\u044F": "2:.##/#.#/.##/#.#",
    "\u0452": ".#../####/.#../.##./.#.#/.#.#/...#",
    "\u0454": "2:.##/##./#../.##",
    "\u0459": "2:.##../#.##./#.#.#/#.##.",
    "\u045A": "2:#.#../####./#.#.#/#.##.",
    "\u045B": ".#../####/.#../.##./.#.#/.#.#",
    "\u045F": "2:#.#/#.#/#.#/###/.#.",
    "\u0491": "1:..#/###/#../#../#..",
    # Greek: the letters that are not also Latin ones
    "\u0393": "####/#.../#.../#.../#.../#...",
    "\u0394": "..#../..#../.#.#./.#.#./#...#/#####",
    "\u0398": ".##./#..#/#..#/####/#..#/.##.",
    "\u039B": "..#../..#../.#.#./.#.#./#...#/#...#",
    "\u039E": "####/..../.##./..../..../####",
    "\u03A0": "####/#..#/#..#/#..#/#..#/#..#",
    "\u03A3": "####/.#../..#./.#../#.../####",
    "\u03A6": ".###./#.#.#/#.#.#/.###./..#../..#..",
    "\u03A8": "#.#.#/#.#.#/#.#.#/.###./..#../..#..",
    "\u03A9": ".###./#...#/#...#/#...#/.#.#./##.##",
    "\u03B1": "2:.#.#/#.#./#.#./.#.#",
    "\u03B2": ".#./#.#/##./#.#/#.#/##./#..",
    "\u03B3": "2:#.#/#.#/.#./.#./.#.",
    "\u03B4": ".##/#../.#./#.#/#.#/.#.",
    "\u03B5": "2:.##/##./#../.##",
    "\u03B6": "###/.#./#../#../#../.##/..#",
    "\u03B7": "2:##./#.#/#.#/#.#/..#",
    "\u03B8": ".#./#.#/###/#.#/#.#/.#.",
    "\u03B9": "2:#./#./#./.#",
    "\u03BA": "2:#.#/##./#.#/#.#",
    "\u03BB": "#../#../.#./.#./#.#/#.#",
    "\u03BC": "2:#.#/#.#/#.#/###/#..",
    "\u03BD": "2:#.#/#.#/#.#/.#.",
    "\u03BE": "###/#../.##/#../#../.##/..#",
    "\u03C0": "2:####/.#.#/.#.#/.#.#",
    "\u03C1": "2:.#./#.#/#.#/##./#..",
    "\u03C2": "2:.##/#../#../.##/..#",
    "\u03C3": "2:.###/#.#./#.#./.#..",
    "\u03C4": "2:###/.#./.#./..#",
    "\u03C5": "2:#.#/#.#/#.#/.#.",
    "\u03C6": "2:.#.#./#.#.#/#.#.#/.###./..#..",
    "\u03C7": "2:#.#/#.#/.#./#.#/#.#",
    "\u03C8": "2:#.#.#/#.#.#/#.#.#/.###./..#..",
    "\u03C9": "2:.#.#./#...#/#.#.#/.#.#.",
    "\u0384": ".#/#.",
    "\u0385": "..#/#.#",
    "\u0387": "2:#",
    # general punctuation: dashes, quotation marks, the ellipsis, the euro
    "\u2010": "3:###", "\u2011": "3:###", "\u2012": "3:####", "\u2013": "3:####",
    "\u2014": "3:######", "\u2015": "3:######",
    "\u2018": "#./.#", "\u2019": ".#/#.", "\u201A": "5:.#/#.", "\u201B": "#./.#",
    "\u201C": "#.#./.#.#", "\u201D": ".#.#/#.#.", "\u201E": "5:.#.#/#.#.", "\u201F": "#.#./.#.#",
    "\u2022": "2:##/##", "\u2026": "5:#.#.#", "\u2039": "2:.#/#./.#", "\u203A": "2:#./.#/#.",
    "\u20AC": ".###/#.../###./###./#.../.###",
    "\u02BC": ".#/#.", "\u02C6": ".#./#.#", "\u02C7": "#.#/.#.", "\u02D8": "#.#/###",
    "\u02D9": "#", "\u02DA": ".#./#.#/.#.", "\u02DB": "6:#./.#", "\u02DC": ".##/##.",
    "\u02DD": ".#.#/#.#.",
}

# Letters drawn as another script's letter of the same shape (Cyrillic and Greek capitals like A, B, E).
_SAME_AS = dict(zip(
    "\u0410\u0412\u0415\u041A\u041C\u041D\u041E\u0420\u0421\u0422\u0425\u0405\u0406\u0408"
    "\u0430\u0435\u043E\u0440\u0441\u0443\u0445\u0455\u0456\u0458"
    "\u0391\u0392\u0395\u0396\u0397\u0399\u039A\u039C\u039D\u039F\u03A1\u03A4\u03A5\u03A7\u03BF"
    "\u037E",
    "ABEKMHOPCTXSIJaeopcyxsijABEZHIKMNOPTYXo;"))

# Marks as rows, for a base of each width (other widths centre the 3-wide one). Nothing reaches more than
# one row over the line's top, so a mark stays with its own letter even where lines are set 8 pixels
# apart, clear of the line above but for the last row of its descenders. Over a small letter a mark sits
# over a clear row in the letter's ascent; a capital or a tall letter under a mark is drawn a row shorter,
# a one-row mark over it with a clear row between, a two-row mark on it. The line's height stays that of
# English in every language.
_MARKS = {
    "\u0300": {1: ["#.", ".#"], 3: ["#..", ".#."], 4: [".#..", "..#."]},  # grave
    "\u0301": {1: [".#", "#."], 3: ["..#", ".#."], 4: ["..#.", ".#.."]},  # acute
    "\u0302": {3: [".#.", "#.#"], 4: [".##.", "#..#"], 5: ["..#..", ".#.#."]},  # circumflex
    "\u0303": {3: [".##", "##."], 4: [".#.#", "#.#."]},  # tilde
    "\u0304": {3: ["###"], 4: ["####"], 5: [".###."]},  # macron
    "\u0306": {3: ["#.#", "###"], 4: ["#..#", ".##."], 5: [".#.#.", "..#.."]},  # breve
    "\u0307": {1: ["#"], 3: [".#."], 4: [".#.."], 5: ["..#.."]},  # dot
    "\u0308": {3: ["#.#"], 4: ["#..#"], 5: [".#.#."]},  # diaeresis
    "\u030A": {3: ["###", "#.#"], 4: [".##.", "#..#"]},  # ring (over a capital it closes on its top)
    "\u030B": {3: ["#.#", "#.#"], 4: [".#.#", "#.#."]},  # double acute
    "\u030C": {3: ["#.#", ".#."], 4: ["#..#", ".##."], 5: [".#.#.", "..#.."]},  # caron
}
# Marks below the baseline, in the two rows of the descent.
_MARKS_BELOW = {
    "\u0327": {1: ["#", "#."], 3: [".#.", "##."], 4: ["..#.", ".##."]},  # cedilla
    "\u0328": {1: ["#.", ".#"], 3: [".#.", "..#"], 4: ["..#.", "...#"]},  # ogonek
}
_DOTLESS = {"i": "\u0131", "j": "\u0237"}  # an i or j under a mark loses its dot
_DIALYTIKA = {"\u03CA": "\u03B9", "\u03CB": "\u03C5"}
_GREEK_CAPITALS = set("\u0391\u0395\u0397\u0399\u039F\u03A5\u03A9")


def _parse(spec):
    """(top row, rows) of a glyph entry; "N:" moves its first row down (or up, when negative)."""
    top = 0
    head, sep, rest = spec.partition(":")
    if sep and head.lstrip("-").isdigit():
        top, spec = int(head), rest
    rows = spec.split("/")
    w = max(len(r) for r in rows)
    return top, [r.ljust(w, ".") for r in rows]


def _trim(top, rows):
    """Drops clear rows at the top and bottom (the ink decides where a mark goes)."""
    while len(rows) > 1 and "#" not in rows[0]:
        rows, top = rows[1:], top + 1
    while len(rows) > 1 and "#" not in rows[-1]:
        rows = rows[:-1]
    return top, rows


def _mark_rows(table, width):
    if width in table:
        return table[width]
    rows = table[3] if 3 in table else table[min(table)]
    if len(rows[0]) >= width:
        return rows
    pad = (width - len(rows[0])) // 2
    return ["." * pad + r + "." * (width - len(rows[0]) - pad) for r in rows]


def _widen(rows, width):
    pad = (width - len(rows[0])) // 2
    return ["." * pad + r + "." * (width - len(rows[0]) - pad) for r in rows]


def _place_mark(top, rows, mark):
    """The base glyph (top, rows) with a mark composed above or below it."""
    top, rows = _trim(top, rows)
    below = mark in _MARKS_BELOW
    if below and top + len(rows) > 6:  # a letter with a descender (g) wears its cedilla above, turned
        mark, below = "\u0301", False
    shape = _mark_rows((_MARKS_BELOW if below else _MARKS)[mark], len(rows[0]))
    width = max(len(rows[0]), len(shape[0]))
    rows, shape = _widen(rows, width), _widen(shape, width)
    if below:
        return top, rows + shape
    if top < 2:  # a capital or a tall letter gives its mark room by standing a row shorter
        rows, top = _shortened(rows), top + 1
    if top >= 2 or len(shape) == 1:  # over a small letter, or a one-row mark: a clear row between
        mark_bottom = top - 2
    else:  # a two-row mark over a capital stands on it
        mark_bottom = top - 1
    return mark_bottom - len(shape) + 1, shape + ["." * width] * (top - mark_bottom - 1) + rows


def _shortened(rows):
    """A letter one row shorter: one of two equal rows in a row (a straight stretch of stem) goes, or the
    row under its top."""
    for k in range(1, len(rows) - 1):
        if rows[k] == rows[k + 1]:
            return rows[:k] + rows[k + 1:]
    return rows[:1] + rows[2:]


def _greek_tonos(top, rows):
    """A Greek capital with its tonos: a tick before the letter's top, as the apostrophe is drawn."""
    tick = ["#", "#"] + ["."] * (len(rows) - 2)
    return top, [t + "." + r for t, r in zip(tick, rows)]


def _dialytika_tonos(top, rows):
    """A Greek small letter with both its marks: the tonos between the two dots, a row above them."""
    top, rows = _place_mark(top, rows, "\u0308")
    width = len(rows[0])
    return top - 1, ["." * (width // 2) + "#" + "." * (width - width // 2 - 1)] + rows


def _decomposed(ch):
    import unicodedata
    parts = unicodedata.decomposition(ch).split()
    if not parts or parts[0].startswith("<"):
        return None
    return [chr(int(p, 16)) for p in parts]


def glyph_grid(ch):
    """(top, rows) of a glyph: its rows of '#' and '.', all of one width, from row `top` of the line
    (row 0 its top, the baseline under row 5, rows 6 and 7 below it; negative rows stand above it)."""
    if ch == " ":
        return 0, [".."] * 8
    if ch in _G:
        return _parse(_G[ch])
    if ch in _X:
        return _parse(_X[ch])
    if ch in _SAME_AS:
        return glyph_grid(_SAME_AS[ch])
    parts = _decomposed(ch)
    if parts is None:
        raise KeyError(ch)
    if len(parts) == 1:  # a singleton: the same letter under another code
        return glyph_grid(parts[0])
    base, mark = parts
    if mark == "\u0301" and base in _GREEK_CAPITALS:
        return _greek_tonos(*_trim(*glyph_grid(base)))
    if mark == "\u0301" and base in _DIALYTIKA:
        return _dialytika_tonos(*glyph_grid(_DIALYTIKA[base]))
    if mark in _MARKS:
        base = _DOTLESS.get(base, base)
    return _place_mark(*glyph_grid(base), mark)


def glyph_rows(ch):
    """The 8 rows of a glyph that lies within the line, as strings of '#' and '.', all of the glyph's
    width. The space is an empty glyph of width 2."""
    top, rows = glyph_grid(ch)
    if top < 0 or top + len(rows) > 8:
        raise ValueError("%r reaches out of the line" % ch)
    w = len(rows[0])
    out = ["." * w] * 8
    for i, r in enumerate(rows):
        out[top + i] = r
    return out


def glyph_width(ch):
    return len(glyph_grid(ch)[1][0])


def advance(ch):
    if ch == " ":
        return SPACE_ADVANCE
    return glyph_width(ch) + 1


def text_width(text):
    """Sum of advances in pixels at size 8 (what StringWidth reports)."""
    return sum(advance(c) for c in text)


def ink_width(text):
    """Pixels from the left edge to the last inked column."""
    if not text:
        return 0
    return text_width(text) - 1 if text[-1] != " " else text_width(text)


ASCII = [chr(c) for c in range(32, 127)]
# What the font draws beyond ASCII: every letter of these blocks, and the punctuation of _X.
GREEK = [0x37E, 0x384, 0x385, 0x386, 0x387, 0x388, 0x389, 0x38A, 0x38C] + [
    c for c in range(0x38E, 0x3CF) if c != 0x3A2]
BLOCKS = {
    "Latin-1": range(0xA0, 0x100),
    "Latin Extended-A": range(0x100, 0x180),
    "Cyrillic": list(range(0x400, 0x460)) + [0x490, 0x491],
    "Greek": GREEK,
}
LETTERS = sorted({chr(c) for block in BLOCKS.values() for c in block} | {c for c in _X if ord(c) >= 0x100})
CHARS = ASCII + LETTERS


def draw_text(canvas, x, y, text, colour, scale=1, shadow=None, outline=None):
    """Paint text with the font's own grids onto a canvas (top-left at x, y),
    optionally with a drop shadow or outline, each one art pixel."""
    def ink(ox, oy, col):
        cx = x
        for ch in text:
            top, rows = glyph_grid(ch)
            if ch != " ":
                for j, row in enumerate(rows):
                    for i, v in enumerate(row):
                        if v == "#":
                            py = y + (top + j) * scale + oy
                            canvas.rect(cx + i * scale + ox, py, cx + i * scale + ox + scale - 1, py + scale - 1, col)
            cx += advance(ch) * scale
    if outline:
        for ox, oy in ((-1, 0), (1, 0), (0, -1), (0, 1), (-1, -1), (1, 1), (-1, 1), (1, -1)):
            ink(ox, oy, outline)
    if shadow:
        ink(1, 1, shadow)
    ink(0, 0, colour)
    return text_width(text) * scale


def _glyph_name(ch):
    if ch == " ":
        return "space"
    return "uni%04X" % ord(ch)


def build_font(path, chars=None, style="Regular"):
    """Write the TrueType font: ASCII, or with `chars` the letters beyond it (style "Letters", the font
    the game falls back to for them; ASCII stays in its own file, byte for byte the font the English game
    has always drawn). Outlines are runs of pixels merged along each row; all coordinates are whole
    pixels."""
    chars = ASCII if chars is None else chars
    from fontTools.fontBuilder import FontBuilder
    from fontTools.pens.ttGlyphPen import TTGlyphPen

    order = [".notdef"] + [_glyph_name(c) for c in chars]
    cmap = {ord(c): _glyph_name(c) for c in chars}
    glyphs, metrics = {}, {}

    def rect(pen, x0, y0, x1, y1):
        # clockwise outer contour (TrueType convention)
        pen.moveTo((x0, y0))
        pen.lineTo((x0, y1))
        pen.lineTo((x1, y1))
        pen.lineTo((x1, y0))
        pen.closePath()

    # .notdef: a hollow box
    pen = TTGlyphPen(None)
    rect(pen, 0, 0, 3 * PIXEL, 5 * PIXEL)
    pen.moveTo((PIXEL, PIXEL))
    pen.lineTo((2 * PIXEL, PIXEL))
    pen.lineTo((2 * PIXEL, 4 * PIXEL))
    pen.lineTo((PIXEL, 4 * PIXEL))
    pen.closePath()
    glyphs[".notdef"] = pen.glyph()
    metrics[".notdef"] = (4 * PIXEL, 0)

    for ch in chars:
        name = _glyph_name(ch)
        pen = TTGlyphPen(None)
        first, rows = glyph_grid(ch)
        inked = False
        if ch != " ":
            # merge identical runs of consecutive rows into one rectangle
            runs = []
            for j, row in enumerate(rows):
                i = 0
                while i < len(row):
                    if row[i] == "#":
                        k = i
                        while k < len(row) and row[k] == "#":
                            k += 1
                        runs.append((j, i, k))
                        i = k
                    else:
                        i += 1
            used = set()
            for idx, (j, i, k) in enumerate(runs):
                if idx in used:
                    continue
                j1 = j
                while True:
                    nxt = [n for n, r in enumerate(runs) if r == (j1 + 1, i, k) and n not in used]
                    if not nxt:
                        break
                    used.add(nxt[0])
                    j1 += 1
                used.add(idx)
                top = (ASCENT_PX - first - j) * PIXEL
                bottom = (ASCENT_PX - first - j1 - 1) * PIXEL
                rect(pen, i * PIXEL, bottom, k * PIXEL, top)
                inked = True
        glyphs[name] = pen.glyph() if inked else TTGlyphPen(None).glyph()
        metrics[name] = (advance(ch) * PIXEL, 0)

    fb = FontBuilder(UPM, isTTF=True)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(glyphs)
    # left side bearings follow from the outlines
    glyf = fb.font["glyf"]
    hm = {}
    for name in order:
        g = glyf[name]
        lsb = getattr(g, "xMin", 0) if g.numberOfContours else 0
        hm[name] = (metrics[name][0], lsb)
    fb.setupHorizontalMetrics(hm)
    asc, desc = ASCENT_PX * PIXEL, DESCENT_PX * PIXEL
    fb.setupHorizontalHeader(ascent=asc, descent=-desc, lineGap=0)
    fb.setupNameTable({
        "familyName": "Super Effective",
        "styleName": style,
        "uniqueFontIdentifier": "Super Effective %s pixel font 1.0" % style,
        "fullName": "Super Effective %s" % style,
        "psName": "SuperEffective-%s" % style,
        "version": "Version 1.000",
        "copyright": "Made for The Vevu Zudevur",
    })
    fb.setupOS2(
        sTypoAscender=asc, sTypoDescender=-desc, sTypoLineGap=0,
        usWinAscent=asc, usWinDescent=desc,
        sxHeight=4 * PIXEL, sCapHeight=6 * PIXEL,
        achVendID="VEVU", fsType=0,
        ulUnicodeRange1=1,
    )
    fb.setupPost(isFixedPitch=0, underlinePosition=-PIXEL, underlineThickness=PIXEL)
    # a fixed date keeps the file byte-for-byte reproducible
    stamp = 3786825600  # 2024-01-01 in font time (seconds since 1904)
    fb.updateHead(created=stamp, modified=stamp, lowestRecPPEM=8)
    # smooth/gridfit flags: pixels are already on the grid
    from fontTools.ttLib import newTable
    gasp = newTable("gasp")
    gasp.version = 1
    gasp.gaspRange = {0xFFFF: 0x000A}
    fb.font["gasp"] = gasp
    fb.font.recalcTimestamp = False
    path = pathlib.Path(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    fb.font.save(str(path))
    return path


SAMPLE_LINES = [
    "Évoluer l'œil laser : « Où est la larve ? » À bientôt, ÇA MARCHE !",
    "Größere Übersicht: ÄÖÜ äöü ß – „Mutterschiff“ … Zurück",
    "¿Qué pasó? ¡Señor! Niño, acción, ÑANDÚ. Não, ações, Lição",
    "Zażółć gęślą jaźń. ŁÓDŹ, ŚWIĘTO, Kraków. Più città, perché",
    "Съешь же ещё этих мягких французских булок, да выпей чаю.",
    "ЁЖИК ЩИ ЮЛЯ Й Ї Є Ґ: їжак, ґанок, «Привіт», п’ять — Ура!",
    "Γειά σου, κόσμε! ΆΈΉΊΌΎΏ άέήίόύώ ΐΰ ϊϋ ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩ",
    "αβγδεζηθικλμνξοπρστυφχψω ς. Line two: gy jp under ÁÉÍ ÓÚ ÂÊ",
]


def sample_sheet(path, scale=2):
    """Every glyph and a line of each language at the game's scale, light green on the map's dark
    ground, with each line's top and baseline marked: to be looked at."""
    from PIL import Image
    per_row = 40
    glyph_rows_needed = (len(CHARS) + per_row - 1) // per_row
    line = 12  # art pixels per sheet line: room for marks above the capitals
    height = (glyph_rows_needed + len(SAMPLE_LINES) + 3) * line
    im = Image.new("RGB", (330 * scale, height * scale), (18, 32, 20))

    def paint(x, y, text, colour=(150, 255, 120)):
        for ch in text:
            top, rows = glyph_grid(ch)
            for j, row in enumerate(rows):
                for i, v in enumerate(row):
                    if v == "#":
                        for dy in range(scale):
                            for dx in range(scale):
                                im.putpixel(((x + i) * scale + dx, (y + top + j) * scale + dy), colour)
            x += advance(ch)

    def guides(y):
        for x in range(im.width):
            im.putpixel((x, (y - 1) * scale + scale - 1), (40, 60, 90))  # the line's top
            im.putpixel((x, (y + ASCENT_PX) * scale), (90, 40, 40))  # the baseline

    y = 3
    for k in range(0, len(CHARS), per_row):
        guides(y)
        x = 2
        for ch in CHARS[k:k + per_row]:
            paint(x, y, ch)
            x += max(advance(ch), 4) + 1
        y += line
    y += line
    for text in SAMPLE_LINES:
        guides(y)
        paint(2, y, text)
        y += 8  # lines as close as the game sets them: 8 art pixels apart
    y += line
    path = pathlib.Path(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    im.save(path)
    return path


if __name__ == "__main__":
    import sys
    print(sample_sheet(sys.argv[1] if len(sys.argv) > 1 else "build/assetgen/font_sheet.png"))
