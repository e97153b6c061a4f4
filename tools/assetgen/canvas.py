"""A small RGBA pixel canvas painted with palette keys.

Coordinates are art pixels, (0, 0) top-left. Every drawing call clips at the
edges. Colours are palette keys (see palette.py) or (r, g, b) tuples.
"""

import math
import pathlib

import numpy as np
from PIL import Image

from palette import RGB, RAD_MAP, nearest_key


def _col(c):
    if isinstance(c, str):
        return RGB[c]
    return tuple(c)


class Canvas:
    def __init__(self, w, h, fill=None):
        self.w, self.h = w, h
        self.a = np.zeros((h, w, 4), np.uint8)
        if fill is not None:
            self.rect(0, 0, w - 1, h - 1, fill)

    # ---- basic pixels -------------------------------------------------
    def px(self, x, y, c, alpha=255):
        """Set a pixel; a partial alpha paints translucently over what is
        already there."""
        if alpha < 255:
            self.blend(x, y, c, alpha)
            return
        x, y = int(round(x)), int(round(y))
        if 0 <= x < self.w and 0 <= y < self.h:
            r, g, b = _col(c)
            self.a[y, x] = (r, g, b, alpha)

    def blend(self, x, y, c, alpha):
        """Paint c over the pixel with the given opacity (0..255)."""
        x, y = int(round(x)), int(round(y))
        if not (0 <= x < self.w and 0 <= y < self.h) or alpha <= 0:
            return
        r, g, b = _col(c)
        dst = self.a[y, x].astype(np.float64)
        sa = alpha / 255.0
        da = dst[3] / 255.0
        oa = sa + da * (1 - sa)
        if oa <= 0:
            return
        out = [(v * sa + dst[i] * da * (1 - sa)) / oa for i, v in enumerate((r, g, b))]
        self.a[y, x] = (int(round(out[0])), int(round(out[1])), int(round(out[2])), int(round(oa * 255)))

    def get(self, x, y):
        if 0 <= x < self.w and 0 <= y < self.h:
            return tuple(int(v) for v in self.a[y, x])
        return (0, 0, 0, 0)

    def opaque(self, x, y):
        return self.get(x, y)[3] > 0

    def clear(self, x, y):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.a[y, x] = 0

    # ---- shapes -------------------------------------------------------
    def rect(self, x0, y0, x1, y1, c, alpha=255):
        """Filled rectangle, corners inclusive."""
        x0, x1 = sorted((int(x0), int(x1)))
        y0, y1 = sorted((int(y0), int(y1)))
        x0, y0 = max(x0, 0), max(y0, 0)
        x1, y1 = min(x1, self.w - 1), min(y1, self.h - 1)
        if x0 > x1 or y0 > y1:
            return
        if alpha < 255:
            for y in range(y0, y1 + 1):
                for x in range(x0, x1 + 1):
                    self.blend(x, y, c, alpha)
            return
        r, g, b = _col(c)
        self.a[y0:y1 + 1, x0:x1 + 1] = (r, g, b, alpha)

    def box(self, x0, y0, x1, y1, c):
        """Rectangle outline, corners inclusive."""
        self.hline(x0, x1, y0, c)
        self.hline(x0, x1, y1, c)
        self.vline(x0, y0, y1, c)
        self.vline(x1, y0, y1, c)

    def hline(self, x0, x1, y, c, alpha=255):
        self.rect(x0, y, x1, y, c, alpha)

    def vline(self, x, y0, y1, c, alpha=255):
        self.rect(x, y0, x, y1, c, alpha)

    def line(self, x0, y0, x1, y1, c, alpha=255):
        x0, y0, x1, y1 = int(round(x0)), int(round(y0)), int(round(x1)), int(round(y1))
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx = 1 if x0 < x1 else -1
        sy = 1 if y0 < y1 else -1
        err = dx + dy
        while True:
            self.px(x0, y0, c, alpha)
            if x0 == x1 and y0 == y1:
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def thick_line(self, x0, y0, x1, y1, c, width=2):
        n = max(1, int(max(abs(x1 - x0), abs(y1 - y0)) * 2))
        r = (width - 1) / 2.0
        for i in range(n + 1):
            t = i / n
            x = x0 + (x1 - x0) * t
            y = y0 + (y1 - y0) * t
            if width <= 1:
                self.px(x, y, c)
            else:
                self.ellipse(x, y, r + 0.3, r + 0.3, c)

    def ellipse(self, cx, cy, rx, ry, c, alpha=255):
        """Filled ellipse; pixel centres inside the ellipse are painted."""
        if rx <= 0 or ry <= 0:
            return
        for y in range(int(math.floor(cy - ry)) - 1, int(math.ceil(cy + ry)) + 2):
            for x in range(int(math.floor(cx - rx)) - 1, int(math.ceil(cx + rx)) + 2):
                dx = (x - cx) / rx
                dy = (y - cy) / ry
                if dx * dx + dy * dy <= 1.0:
                    self.px(x, y, c, alpha)

    def ring(self, cx, cy, rx, ry, c, thick=1.0, alpha=255):
        for y in range(int(math.floor(cy - ry)) - 2, int(math.ceil(cy + ry)) + 3):
            for x in range(int(math.floor(cx - rx)) - 2, int(math.ceil(cx + rx)) + 3):
                dx = (x - cx)
                dy = (y - cy)
                d = math.hypot(dx / max(rx, 0.01), dy / max(ry, 0.01))
                # distance from the rim in pixels (approximate)
                rim = abs(d - 1.0) * min(rx, ry)
                if rim <= thick / 2.0:
                    self.px(x, y, c, alpha)

    def glow(self, cx, cy, radius, c, peak=255, power=1.5):
        """Soft round glow blended over the canvas (partial alpha)."""
        for y in range(int(cy - radius) - 1, int(cy + radius) + 2):
            for x in range(int(cx - radius) - 1, int(cx + radius) + 2):
                d = math.hypot(x - cx, y - cy) / radius
                if d < 1.0:
                    self.blend(x, y, c, int(peak * (1 - d) ** power))

    def poly(self, pts, c):
        """Filled polygon (even-odd, pixel centres)."""
        ys = [p[1] for p in pts]
        for y in range(int(math.floor(min(ys))), int(math.ceil(max(ys))) + 1):
            yc = y + 0.0
            xs = []
            for i in range(len(pts)):
                (x0, y0), (x1, y1) = pts[i], pts[(i + 1) % len(pts)]
                if (y0 <= yc < y1) or (y1 <= yc < y0):
                    xs.append(x0 + (yc - y0) * (x1 - x0) / (y1 - y0))
            xs.sort()
            for i in range(0, len(xs) - 1, 2):
                xa, xb = xs[i], xs[i + 1]
                for x in range(int(math.ceil(xa - 0.5)), int(math.floor(xb - 0.5)) + 1):
                    self.px(x, y, c)

    # ---- grids and composition ----------------------------------------
    def grid(self, x, y, text, remap=None, flip=False):
        """Paint a text grid; each character is a palette key, '.' or ' ' is
        transparent. Leading/trailing blank lines are dropped, indentation is
        kept relative to the least indented line."""
        rows = [r for r in text.split("\n")]
        while rows and not rows[0].strip():
            rows.pop(0)
        while rows and not rows[-1].strip():
            rows.pop()
        indent = min((len(r) - len(r.lstrip()) for r in rows if r.strip()), default=0)
        rows = [r[indent:].rstrip() for r in rows]
        width = max((len(r) for r in rows), default=0)
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch in ". ":
                    continue
                key = remap.get(ch, ch) if remap else ch
                xx = x + (width - 1 - i if flip else i)
                self.px(xx, y + j, key)
        return width, len(rows)

    def blit(self, other, x, y):
        """Composite another canvas over this one at (x, y)."""
        for j in range(other.h):
            for i in range(other.w):
                p = other.a[j, i]
                if p[3] == 0:
                    continue
                if p[3] == 255:
                    if 0 <= x + i < self.w and 0 <= y + j < self.h:
                        self.a[y + j, x + i] = p
                else:
                    self.blend(x + i, y + j, tuple(int(v) for v in p[:3]), int(p[3]))

    def copy(self):
        c = Canvas(self.w, self.h)
        c.a = self.a.copy()
        return c

    def flipped(self):
        c = Canvas(self.w, self.h)
        c.a = self.a[:, ::-1].copy()
        return c

    def crop(self, x, y, w, h):
        c = Canvas(w, h)
        c.a = self.a[y:y + h, x:x + w].copy()
        return c

    def shifted(self, dx, dy):
        c = Canvas(self.w, self.h)
        c.blit(self, dx, dy)
        return c

    def outline(self, c="K", diagonal=False):
        """Ring every opaque shape with an outline in the transparent pixels
        around it."""
        solid = self.a[:, :, 3] > 0
        grow = np.zeros_like(solid)
        grow[1:, :] |= solid[:-1, :]
        grow[:-1, :] |= solid[1:, :]
        grow[:, 1:] |= solid[:, :-1]
        grow[:, :-1] |= solid[:, 1:]
        if diagonal:
            grow[1:, 1:] |= solid[:-1, :-1]
            grow[:-1, :-1] |= solid[1:, 1:]
            grow[1:, :-1] |= solid[:-1, 1:]
            grow[:-1, 1:] |= solid[1:, :-1]
        edge = grow & ~solid
        r, g, b = _col(c)
        self.a[edge] = (r, g, b, 255)

    def recolour(self, mapping):
        """New canvas with every palette colour replaced through mapping
        (key -> key); colours that are not palette colours snap to the
        nearest palette key first."""
        out = self.copy()
        cache = {}
        h, w = self.h, self.w
        for y in range(h):
            for x in range(w):
                p = self.a[y, x]
                if p[3] == 0:
                    continue
                k = (int(p[0]), int(p[1]), int(p[2]))
                if k not in cache:
                    key = nearest_key(k)
                    cache[k] = RGB[mapping.get(key, key)]
                r, g, b = cache[k]
                out.a[y, x] = (r, g, b, p[3])
        return out

    def irradiated(self):
        return self.recolour(RAD_MAP)

    def image(self):
        return Image.fromarray(self.a, "RGBA")

    def save(self, path):
        path = pathlib.Path(path)
        path.parent.mkdir(parents=True, exist_ok=True)
        # no text chunks, no time stamp: the same pixels always give the same bytes
        self.image().save(path, format="PNG", optimize=False, compress_level=9)


def strip(frames):
    """Frames side by side, left to right, as one animation picture."""
    w = sum(f.w for f in frames)
    h = max(f.h for f in frames)
    out = Canvas(w, h)
    x = 0
    for f in frames:
        out.a[0:f.h, x:x + f.w] = f.a
        x += f.w
    return out


def cells(sheet, cw, ch):
    """Cut a picture into its animation frames (left to right)."""
    return [sheet.crop(i * cw, 0, cw, ch) for i in range(sheet.w // cw)]
