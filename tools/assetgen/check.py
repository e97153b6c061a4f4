#!/usr/bin/python3
"""Self-check of the generated pictures and font.

    /usr/bin/python3 tools/assetgen/check.py [--no-repro]

Checks that every catalogue picture exists in assets/ as an RGBA PNG of the
stated size that divides exactly into its cells (with no empty frame), that
the desktop icon is there at every size its folder names and matches a fresh
painting, that the font covers ASCII 32..126, renders on whole pixels at 8 px
and fits the longest upgrade-menu line on the page, and that generating twice gives
identical bytes. Exits non-zero on the first kind of failure found.
"""

import hashlib
import pathlib
import subprocess
import sys
import tempfile

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent.parent
sys.path.insert(0, str(HERE))

from catalogue import FONT, LETTERS_FONT, PICTURES  # noqa: E402

LONGEST_MENU_LINE = "Evolve energy-efficient laser optic nerve for airborne assault."


def check_pictures(assets):
    from PIL import Image
    import numpy as np
    errors = []
    for path, w, h, cw, ch in PICTURES:
        p = assets / path
        if not p.is_file():
            errors.append("missing: %s" % path)
            continue
        im = Image.open(p)
        if im.format != "PNG" or im.mode != "RGBA":
            errors.append("%s: %s %s, want PNG RGBA" % (path, im.format, im.mode))
        if im.size != (w, h):
            errors.append("%s: %dx%d, want %dx%d" % (path, im.size[0], im.size[1], w, h))
            continue
        if w % cw or h % ch:
            errors.append("%s: %dx%d cells do not divide %dx%d" % (path, cw, ch, w, h))
            continue
        a = np.array(im.convert("RGBA"))
        for i in range(w // cw):
            if not a[0:ch, i * cw:(i + 1) * cw, 3].any():
                errors.append("%s: frame %d is empty" % (path, i))
        if im.info.keys() - {"dpi", "gamma", "srgb"}:
            errors.append("%s: carries metadata %s" % (path, sorted(im.info.keys())))
    return errors


def check_font(assets):
    from PIL import Image, ImageDraw, ImageFont
    from fontTools.ttLib import TTFont
    import numpy as np
    errors = []
    p = assets / FONT
    if not p.is_file():
        return ["missing: %s" % FONT]
    tt = TTFont(str(p))
    upm = tt["head"].unitsPerEm
    if upm % 8:
        errors.append("units per em %d is not divisible by 8" % upm)
    cmap = tt.getBestCmap()
    for code in range(32, 127):
        if code not in cmap:
            errors.append("font lacks %r" % chr(code))
    f = ImageFont.truetype(str(p), 8)
    asc, desc = f.getmetrics()
    if asc + desc != 8:
        errors.append("line height at 8 px is %d, want 8" % (asc + desc))
    text = "".join(chr(c) for c in range(33, 127))
    im = Image.new("L", (int(f.getlength(text)) + 4, 12), 0)
    ImageDraw.Draw(im).text((1, 1), text, font=f, fill=255)
    grey = set(np.unique(np.array(im)).tolist()) - {0, 255}
    if grey:
        errors.append("glyphs are not on whole pixels at 8 px (grey levels %s)" % sorted(grey)[:5])
    width = f.getlength(LONGEST_MENU_LINE)
    if not 88 + 2 * width < 566:
        errors.append("longest menu line is %g px at size 8; at scale 2 from x 88 it ends at %g (page edge 566)"
                      % (width, 88 + 2 * width))
    widths = {f.getlength(c) for c in "abcdefghijklmnopqrstuvwxyz"}
    if len(widths) < 2:
        errors.append("font is not proportional")
    from font import BLOCKS
    letters = assets / LETTERS_FONT
    if not letters.is_file():
        return errors + ["missing: %s" % LETTERS_FONT]
    have = set(TTFont(str(letters)).getBestCmap())
    for block, codes in BLOCKS.items():
        errors += ["%s: the letters font lacks U+%04X" % (block, c) for c in codes if c not in have]
    return errors


def digest(directory):
    h = {}
    for path, *_ in PICTURES:
        h[path] = hashlib.sha256((directory / path).read_bytes()).hexdigest()
    for font in (FONT, LETTERS_FONT):
        h[font] = hashlib.sha256((directory / font).read_bytes()).hexdigest()
    return h


def check_reproducible(assets):
    errors = []
    runs = []
    with tempfile.TemporaryDirectory() as tmp:
        for k in range(2):
            out = pathlib.Path(tmp) / ("run%d" % k)
            subprocess.run([sys.executable, str(HERE / "generate.py"), "--only", "pictures",
                            "--assets", str(out), "--no-preview"], check=True, stdout=subprocess.DEVNULL)
            runs.append(digest(out))
    if runs[0] != runs[1]:
        errors += ["not reproducible: %s" % k for k in runs[0] if runs[0][k] != runs[1].get(k)]
    committed = digest(assets)
    stale = [k for k in runs[0] if runs[0][k] != committed.get(k)]
    if stale:
        errors += ["assets/%s differs from a fresh generation (run generate.py)" % k for k in stale]
    return errors


def check_icons(icons_dir):
    """Every hicolor size of the desktop icon and the Windows icon holding them are committed, each
    PNG square at the size its folder names, all the same bytes as a fresh painting."""
    from PIL import Image
    from icons import APP_ID, build_icons, build_web_icons
    errors = []
    with tempfile.TemporaryDirectory() as tmp:
        fresh_icons = [(f, icons_dir) for f in build_icons(pathlib.Path(tmp))]
        fresh_icons += [(f, ROOT / "web" / "icons") for f in build_web_icons(pathlib.Path(tmp))]
        for fresh, folder in fresh_icons:
            name = fresh.relative_to(tmp)
            committed = folder / name
            if name.suffix != ".png":
                size = None  # the Windows icon holds the sizes checked one by one
            elif folder == icons_dir:
                size = int(name.parts[0].split("x")[0])
            else:
                size = int(name.stem.split("-")[1])
            if not committed.is_file():
                errors.append("missing icon: %s" % name)
            elif size and Image.open(committed).size != (size, size):
                errors.append("%s is %dx%d" % ((name,) + Image.open(committed).size))
            elif committed.read_bytes() != fresh.read_bytes():
                errors.append("%s differs from a fresh generation (run generate.py --only icons)" % name)
    return errors


def main():
    assets = ROOT / "assets"
    errors = check_pictures(assets) + check_font(assets) + check_icons(ROOT / "packaging" / "icons")
    if "--no-repro" not in sys.argv:
        errors += check_reproducible(assets)
    for e in errors:
        print("FAIL", e)
    if not errors:
        print("ok: %d pictures and the font" % len(PICTURES))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
