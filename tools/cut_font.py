#!/usr/bin/python3
"""Cuts a font down to the characters the translations use that our own font lacks.

    cut_font.py SOURCE OUTPUT --ours OUR_FONT... --catalogues CATALOGUE.po...

The game's own pixel font draws the Latin, Cyrillic and Greek letters; the Chinese, Japanese and Korean
ones come from a bitmap font that holds tens of thousands of glyphs. Only the few hundred the catalogues'
translations use are kept, so the program grows by kilobytes. A character neither font has is listed on
stderr (the game would draw a replacement box for it). The output is the same bytes for the same input.
Needs Debian's python3-fonttools.
"""

import argparse
import ast
import io
import logging
import sys

from fontTools import subset
from fontTools.ttLib import TTFont


def never_drawn(c):
    """The characters the game never draws (control characters, zero-width marks): as in font.cpp."""
    o = ord(c)
    return (o < 0x20 or 0x7F <= o <= 0x9F or o == 0xAD or 0x200B <= o <= 0x200F or 0x2028 <= o <= 0x202E
            or 0x2060 <= o <= 0x2064 or o == 0xFEFF)


def translations(path):
    """Every msgstr of a .po file (its plural forms too), unescaped; a line the reader cannot make out is
    skipped, since msgfmt --check is what judges a catalogue."""
    texts, current = [], None
    with open(path, encoding="utf-8") as po:
        for line in po:
            line = line.strip()
            if line.startswith("msgstr"):
                current = []
                texts.append(current)
                line = line[line.find('"'):] if '"' in line else ""
            elif line.startswith(("msgid", "msgctxt", "#")) or not line:
                current = None
                continue
            if current is not None and line.startswith('"'):
                try:
                    current.append(ast.literal_eval(line))
                except (ValueError, SyntaxError):
                    pass
    return ["".join(parts) for parts in texts]


def cut(source, ours, output, catalogues):
    used = {c for path in catalogues for text in translations(path) for c in text}
    have = {code for path in ours for code in TTFont(path).getBestCmap()}
    wanted = sorted(ord(c) for c in used if ord(c) not in have and not never_drawn(c))
    font = TTFont(source, recalcTimestamp=False)
    available = set(font.getBestCmap())
    for code in wanted:
        if code not in available:
            print("cut_font: no font has U+%04X %s" % (code, chr(code)), file=sys.stderr)
    options = subset.Options()
    options.layout_features = []  # bitmap glyphs, drawn one after the other: no shaping
    options.drop_tables += ["GSUB", "GPOS", "GDEF"]
    options.hinting = False
    options.notdef_outline = True
    options.glyph_names = False
    options.name_IDs = [0, 1, 2, 3, 4, 5, 6, 13, 14]  # the names, the copyright and the licence
    options.prune_unicode_ranges = False
    cutter = subset.Subsetter(options)
    cutter.populate(unicodes=[c for c in wanted if c in available])
    cutter.subset(font)
    data = io.BytesIO()
    font.save(data)
    with open(output, "wb") as out:
        out.write(data.getvalue())
    return len([c for c in wanted if c in available])


def main(argv):
    logging.getLogger("fontTools").setLevel(logging.ERROR)  # its notes on the source's old dates
    parser = argparse.ArgumentParser(description="Cuts a font to the characters the catalogues use.")
    parser.add_argument("source")
    parser.add_argument("output")
    parser.add_argument("--ours", nargs="+", required=True, help="the fonts that draw the rest")
    parser.add_argument("--catalogues", nargs="*", default=[])
    args = parser.parse_args(argv[1:])
    kept = cut(args.source, args.ours, args.output, args.catalogues)
    print("cut_font: %d characters kept" % kept)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
