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


def glyph_rows(ch):
    """The 8 rows of a glyph as strings of '#' and '.', all of the glyph's
    width. The space is an empty glyph of width 2."""
    if ch == " ":
        return [".."] * 8
    spec = _G[ch]
    top = 0
    if len(spec) > 1 and spec[1] == ":":
        top = int(spec[0])
        spec = spec[2:]
    rows = spec.split("/")
    w = max(len(r) for r in rows)
    out = ["." * w] * 8
    for i, r in enumerate(rows):
        out[top + i] = r.ljust(w, ".")
    return out


def glyph_width(ch):
    return len(glyph_rows(ch)[0])


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


CHARS = [chr(c) for c in range(32, 127)]


def draw_text(canvas, x, y, text, colour, scale=1, shadow=None, outline=None):
    """Paint text with the font's own grids onto a canvas (top-left at x, y),
    optionally with a drop shadow or outline, each one art pixel."""
    def ink(ox, oy, col):
        cx = x
        for ch in text:
            rows = glyph_rows(ch)
            if ch != " ":
                for j, row in enumerate(rows):
                    for i, v in enumerate(row):
                        if v == "#":
                            canvas.rect(cx + i * scale + ox, y + j * scale + oy,
                                        cx + i * scale + ox + scale - 1, y + j * scale + oy + scale - 1, col)
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


def build_font(path):
    """Write the TrueType font. Outlines are runs of pixels merged along each
    row; all coordinates are whole pixels."""
    from fontTools.fontBuilder import FontBuilder
    from fontTools.pens.ttGlyphPen import TTGlyphPen

    order = [".notdef"] + [_glyph_name(c) for c in CHARS]
    cmap = {ord(c): _glyph_name(c) for c in CHARS}
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

    for ch in CHARS:
        name = _glyph_name(ch)
        pen = TTGlyphPen(None)
        rows = glyph_rows(ch)
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
                top = (ASCENT_PX - j) * PIXEL
                bottom = (ASCENT_PX - j1 - 1) * PIXEL
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
        "styleName": "Regular",
        "uniqueFontIdentifier": "Super Effective Regular pixel font 1.0",
        "fullName": "Super Effective Regular",
        "psName": "SuperEffective-Regular",
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
