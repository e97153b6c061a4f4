"""The one palette every picture of the game is painted with.

Sprites are written as text grids; each character below names one colour.
'.' (and ' ') is transparent. Procedural painters use the same keys.
"""

PALETTE = {
    # outline, black and white
    "K": "#14101c",  # outline, the darkest ink
    "W": "#ffffff",
    # dusk sky
    "1": "#1b1a3a",  # high sky
    "2": "#3b2b5e",  # mid sky
    "4": "#6b3f6a",  # bruised violet, between mid sky and horizon
    "3": "#c8744f",  # horizon glow
    # land
    "h": "#2d3b4f",  # far hills
    "H": "#3f5266",  # near hills
    "g": "#4b6b2f",  # grass
    "G": "#3a5424",  # dark grass
    "s": "#c8b48a",  # sand
    "S": "#8a6a45",  # dirt
    "d": "#5a3f2a",  # dark wood, soil
    # the invader
    "a": "#8be04e",  # acid green
    "A": "#4fa83a",  # alien mid green
    "D": "#2b5a2a",  # alien dark green
    "m": "#e04ea8",  # magenta
    "M": "#8a2a6a",  # dark magenta
    "p": "#7a4ea8",  # mothership purple
    "P": "#b48ae0",  # mothership light
    "c": "#6ef0ff",  # mothership glow
    # the defenders
    "o": "#5a6b2f",  # olive
    "O": "#7d8c45",  # light olive
    "y": "#a8a060",  # khaki
    "n": "#4a4f57",  # gunmetal
    "N": "#6d747d",  # light gunmetal
    # fire, smoke, radiation
    "f": "#fff4a0",  # white-hot
    "F": "#ffc040",  # yellow flame
    "r": "#ff7020",  # orange flame
    "R": "#c03010",  # red ember
    "x": "#5a5058",  # smoke
    "X": "#8a8088",  # light smoke
    "z": "#6fff3a",  # radiation
    "Z": "#b8ff80",  # radiation light
    # panels
    "q": "#20202c",  # panel dark
    "Q": "#34344a",  # panel
    "l": "#b8b0a0",  # light panel (bone)
    "L": "#dcd4c0",  # light panel highlight
    "b": "#8a8270",  # light panel shadow
    # people
    "k": "#e0a070",  # skin
    "u": "#3a7bd5",  # blue shirt, denim
    "e": "#e04040",  # red shirt
}


def rgb(key):
    """(r, g, b) of a palette key."""
    h = PALETTE[key]
    return (int(h[1:3], 16), int(h[3:5], 16), int(h[5:7], 16))


RGB = {k: rgb(k) for k in PALETTE}


def nearest_key(c):
    """The palette key closest to an (r, g, b) colour."""
    best, bd = None, 1 << 30
    for k, v in RGB.items():
        d = sum((a - b) ** 2 for a, b in zip(c, v))
        if d < bd:
            best, bd = k, d
    return best


def luminance(key):
    r, g, b = RGB[key]
    return 0.299 * r + 0.587 * g + 0.114 * b


# Irradiated look: every colour becomes the radiation-green ramp entry of
# similar brightness; the outline stays the outline.
_RAD_RAMP = ["K", "D", "A", "z", "Z", "W"]


def _rad_key(key):
    if key == "K":
        return "K"
    lum = luminance(key)
    steps = [luminance(k) for k in _RAD_RAMP]
    best = min(range(len(_RAD_RAMP)), key=lambda i: abs(steps[i] - lum))
    best = max(best, 1)
    return _RAD_RAMP[best]


RAD_MAP = {k: _rad_key(k) for k in PALETTE}
