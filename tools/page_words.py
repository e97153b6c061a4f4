#!/usr/bin/env python3
"""The web page's words in every language, for the page itself to look up before the game runs.

  page_words.py TEMPLATE OUT CODE=CATALOGUE.mo ...
  page_words.py --scripts SOURCE_DIR OUT_DIR

Takes the texts of po/vevu.pot that the page's sources use (those whose references name web/) and
writes OUT: a JavaScript object literal {"de": {"English": "Deutsch", ...}, ...} holding each
catalogue's translations of those texts, nothing else, so the page carries only its own words. The
catalogues are the ones the build compiled from po/ and embeds in the game: one source for both.

With --scripts, copies the page's scripts into OUT_DIR/web/ for xgettext to read as JavaScript: the
page's HTML outside its <script> is blanked (its slashes and apostrophes are no JavaScript), its lines
kept so that nothing moves.
"""
import json
import os
import struct
import sys


def unquote(line):
    text = line.strip()[1:-1]
    out, i = [], 0
    escapes = {"n": "\n", "t": "\t", '"': '"', "\\": "\\", "r": "\r"}
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append(escapes.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def page_texts(template):
    """The msgids of the template's entries that a file under web/ uses."""
    texts, on_page, field, msgid, context = [], False, None, None, None
    def finish():
        if on_page and msgid and context is None:
            texts.append(msgid)
    with open(template, encoding="utf-8") as pot:
        for line in pot:
            if line.startswith("#:"):
                if field is not None:
                    finish()
                    on_page, field, msgid, context = False, None, None, None
                on_page = on_page or any(ref.startswith("web/") for ref in line[2:].split())
            elif line.startswith("msgctxt "):
                field, context = "msgctxt", unquote(line[8:])
            elif line.startswith("msgid "):
                field, msgid = "msgid", unquote(line[6:])
            elif line.startswith("msgstr") or line.startswith("msgid_plural"):
                field = "msgstr"
            elif line.startswith('"') and field == "msgid":
                msgid += unquote(line)
            elif not line.strip() and field is not None:
                finish()
                on_page, field, msgid, context = False, None, None, None
    if field is not None:
        finish()
    return texts


def read_catalogue(path):
    """A compiled catalogue's originals and translations (the first form of a plural)."""
    with open(path, "rb") as mo:
        data = mo.read()
    magic = struct.unpack("<I", data[:4])[0]
    order = "<" if magic == 0x950412DE else ">"
    count, originals, translations = struct.unpack(order + "3I", data[8:20])
    words = {}
    for i in range(count):
        length, offset = struct.unpack(order + "2I", data[originals + 8 * i:originals + 8 * i + 8])
        original = data[offset:offset + length].decode("utf-8")
        length, offset = struct.unpack(order + "2I", data[translations + 8 * i:translations + 8 * i + 8])
        translated = data[offset:offset + length].decode("utf-8").split("\0")[0]
        if original and translated:
            words[original.split("\0")[0]] = translated
    return words


PAGE_SCRIPTS = ["web/shell.html", "web/player_files.js"]


def copy_scripts(source, out):
    for name in PAGE_SCRIPTS:
        with open(os.path.join(source, name), encoding="utf-8") as f:
            lines = f.read().split("\n")
        if name.endswith(".html"):
            inside = False
            for i, line in enumerate(lines):
                if line.strip() == "</script>":
                    inside = False
                if not inside:
                    lines[i] = ""
                if line.strip() == "<script>":
                    inside = True
        os.makedirs(os.path.dirname(os.path.join(out, name)), exist_ok=True)
        with open(os.path.join(out, name), "w", encoding="utf-8") as f:
            f.write("\n".join(lines))


def main(args):
    if len(args) == 3 and args[0] == "--scripts":
        copy_scripts(args[1], args[2])
        return
    if len(args) < 2:
        sys.exit(__doc__)
    texts = page_texts(args[0])
    table = {}
    for pair in args[2:]:
        code, _, path = pair.partition("=")
        words = read_catalogue(path)
        table[code] = {text: words[text] for text in texts if text in words}
    literal = json.dumps(table, ensure_ascii=False, sort_keys=True, separators=(",", ":"))
    # Inside the page's <script>: no "</script>" may close it early, and no @ be taken for a blank.
    literal = literal.replace("<", "\\u003c").replace("@", "\\u0040")
    with open(args[1], "w", encoding="utf-8") as out:
        out.write(literal + "\n")


if __name__ == "__main__":
    main(sys.argv[1:])
