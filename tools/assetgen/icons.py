"""The application icon for the desktop's menu: the larva flying over a dusk
sky, in the hicolor sizes 16, 32, 48, 64, 128 and 256; and for the web page's
home-screen entry, 192 and 512.

Pixel art must stay crisp, so no size is a resampled copy of another: 16 is
its own small drawing, 32 is the flying larva as the game draws it, 48 is a
24-pixel close-up doubled, and 64, 128 and 256 are the 32-pixel icon
enlarged by whole factors (every art pixel a square block).
"""

import struct

import numpy as np

from canvas import Canvas
import gridsprite

APP_ID = "org.vevuzudevur.Vevu"
SIZES = (16, 32, 48, 64, 128, 256)
WEB_SIZES = (192, 512)  # what browsers ask of an installable page

# The larva seen from the front, wings up, for the 16-pixel icon.
SMALL_LARVA = """
.MM...KKKK...MM.
MPPM.KnnnnK.MPPM
MPPPMKLLLLKMPPPM
.MPPKAaZaaAKPPM.
..MKaWmaaWmAKM..
...KAaaaaaaAK...
....KAAyyAAK....
....KDDDDDDK....
....KAAAAAAK....
....KnKKKKnK....
...KNnK..KnNK...
....KK....KK....
"""


def sky_tile(n):
    """A rounded square of dusk sky: high sky above, the violet band and the
    horizon's glow below, a few fixed stars."""
    c = Canvas(n, n)
    bands = (("1", 0.0), ("2", 0.45), ("4", 0.8), ("3", 0.93))
    for y in range(n):
        key = [k for k, start in bands if y >= start * n][-1]
        c.hline(0, n - 1, y, key)
    for sx, sy in ((0.12, 0.1), (0.83, 0.16), (0.66, 0.05), (0.3, 0.3), (0.9, 0.4)):
        c.px(int(sx * n), int(sy * n), "W")
    radius = max(1, n // 8)
    for y in range(radius):
        for x in range(radius):
            # the corner's pixels outside a quarter circle are clear
            if (radius - x - 0.5) ** 2 + (radius - y - 0.5) ** 2 > radius * radius:
                for cx, cy in ((x, y), (n - 1 - x, y), (x, n - 1 - y), (n - 1 - x, n - 1 - y)):
                    c.clear(cx, cy)
    return c


def flying_larva():
    return gridsprite.frame("siegeSuitFlying", 0)


def icon16():
    c = sky_tile(16)
    c.grid(0, 2, SMALL_LARVA)
    return c


def icon32():
    c = sky_tile(32)
    c.blit(flying_larva(), 0, 5)
    return c


def icon24():
    """The larva's body and the inner half of its wings, for the 48 icon."""
    c = sky_tile(24)
    c.blit(flying_larva().crop(4, 0, 24, 23), 0, 1)
    return c


def enlarged(canvas, factor):
    out = Canvas(canvas.w * factor, canvas.h * factor)
    out.a = np.repeat(np.repeat(canvas.a, factor, axis=0), factor, axis=1)
    return out


def icon(size):
    if size == 16:
        return icon16()
    if size == 48:
        return enlarged(icon24(), 2)
    return enlarged(icon32(), size // 32)


def write_ico(pngs, path):
    """The Windows program's icon: every size's PNG as it is, one entry each (Windows reads PNG
    entries), so the .exe shows the same crisp drawings as the desktop."""
    header = struct.pack("<HHH", 0, 1, len(pngs))
    entries, data = b"", b""
    offset = len(header) + 16 * len(pngs)
    for size, png in pngs:
        # A size of 256 is written as 0 in the entry's byte.
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(png), offset + len(data))
        data += png
    path.write_bytes(header + entries + data)


def build_icons(out_dir):
    """Writes <size>x<size>/apps/<app id>.png for every size and <app id>.ico holding them all;
    returns the paths."""
    written = []
    for size in SIZES:
        pic = icon(size)
        assert (pic.w, pic.h) == (size, size), (size, pic.w, pic.h)
        path = out_dir / ("%dx%d" % (size, size)) / "apps" / (APP_ID + ".png")
        pic.save(path)
        written.append(path)
    ico = out_dir / (APP_ID + ".ico")
    write_ico([(size, p.read_bytes()) for size, p in zip(SIZES, written)], ico)
    written.append(ico)
    return written


def build_web_icons(out_dir):
    """Writes icon-<size>.png for the web page's manifest: the 32 icon enlarged by whole factors."""
    written = []
    for size in WEB_SIZES:
        pic = icon(size)
        assert (pic.w, pic.h) == (size, size), (size, pic.w, pic.h)
        path = out_dir / ("icon-%d.png" % size)
        pic.save(path)
        written.append(path)
    return written
