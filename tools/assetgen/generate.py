#!/usr/bin/python3
"""Generate every picture, the font and (through the audio package) every
sound of The Vevu Zudevur into assets/, and the desktop icon into
packaging/icons/.

    /usr/bin/python3 tools/assetgen/generate.py [--only pictures|audio|icons]
        [--assets DIR] [--icons DIR] [--preview DIR] [--no-preview]

The output is byte-for-byte reproducible. Preview sheets (contact sheet,
battlefield and menu mock-ups) go to build/assetgen/, never into assets/.
"""

import argparse
import pathlib
import sys

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent.parent
sys.path.insert(0, str(HERE))

import buildings  # noqa: E402,F401  (registers painters)
import fx  # noqa: E402,F401
import prompts  # noqa: E402,F401
import screens  # noqa: E402,F401
import units  # noqa: E402,F401
from catalogue import FONT, LETTERS_FONT, PICTURES  # noqa: E402
from font import LETTERS, build_font  # noqa: E402
from icons import build_icons, build_web_icons  # noqa: E402
from registry import PAINTERS  # noqa: E402


def build_pictures(assets_dir):
    """Paint and save every catalogue picture; returns the written paths."""
    written = []
    missing = [p for p, *_ in PICTURES if p not in PAINTERS]
    if missing:
        raise SystemExit("no painter for: " + ", ".join(missing))
    for path, w, h, cw, ch in PICTURES:
        pic = PAINTERS[path]()
        if (pic.w, pic.h) != (w, h):
            raise SystemExit("%s is %dx%d, must be %dx%d" % (path, pic.w, pic.h, w, h))
        if w % cw or h % ch:
            raise SystemExit("%s does not divide into %dx%d cells" % (path, cw, ch))
        out = assets_dir / path
        pic.save(out)
        written.append(out)
    out = assets_dir / FONT
    build_font(out)
    written.append(out)
    out = assets_dir / LETTERS_FONT
    build_font(out, LETTERS, "Letters")
    written.append(out)
    return written


def build_sounds(assets_dir):
    """Run the sound generator (the audio package beside this file). Only its
    absence is forgiven; any error inside it stops the build."""
    import importlib.util
    if importlib.util.find_spec("audio") is None:
        print("note: the audio generator (tools/assetgen/audio) does not exist yet; sounds skipped")
        return []
    from audio import build_all as build_audio
    return build_audio(assets_dir)


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--only", choices=["pictures", "audio", "icons"], help="build only one part")
    ap.add_argument("--assets", default=str(ROOT / "assets"), help="output directory")
    ap.add_argument("--icons", default=str(ROOT / "packaging" / "icons"), help="icon theme directory")
    ap.add_argument("--preview", default=str(ROOT / "build" / "assetgen"), help="preview directory")
    ap.add_argument("--no-preview", action="store_true", help="skip the preview sheets")
    args = ap.parse_args(argv)
    assets_dir = pathlib.Path(args.assets)
    assets_dir.mkdir(parents=True, exist_ok=True)
    written = []
    if args.only in (None, "pictures"):
        written += build_pictures(assets_dir)
        print("pictures and font: %d files" % len(written))
        if not args.no_preview:
            import preview
            for p in preview.build_all(assets_dir, pathlib.Path(args.preview)):
                print("preview:", p)
    if args.only in (None, "icons"):
        icons = build_icons(pathlib.Path(args.icons)) + build_web_icons(ROOT / "web" / "icons")
        print("icons: %d files" % len(icons))
        written += icons
    if args.only in (None, "audio"):
        sounds = build_sounds(assets_dir) or []
        print("sounds: %d files" % len(sounds))
        written += list(sounds)
    return 0


if __name__ == "__main__":
    sys.exit(main())
