#!/usr/bin/env python3
"""What the game's words in other languages add to the program and to the page, in bytes.

  words_size.py BUILD [PAGE]

BUILD is a desktop build folder (build/default), PAGE the web page's folder (build/web/page). Prints
the bytes the program embeds for them (the compiled catalogues, the Latin/Cyrillic/Greek letters of our
font, the CJK font cut to the characters the catalogues use), the code that reads and chooses them (the
catalogue reader, the lookup, the system's language, the page's lines: their object files' text and
data), and the page's own words table (in its index.html, besides the WebAssembly, which embeds the
same catalogues and fonts).
"""
import glob
import os
import re
import subprocess
import sys

CODE = ["message_catalogue", "words", "system_language", "page_lines"]


def main(args):
    if not args:
        sys.exit(__doc__)
    build = args[0]
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    catalogues = sorted(glob.glob(os.path.join(build, "locale", "*.mo")))
    mo = sum(os.path.getsize(p) for p in catalogues)
    letters = os.path.getsize(os.path.join(root, "assets", "Locale", "Font", "super_effective_letters.ttf"))
    cjk = os.path.getsize(os.path.join(build, "fonts", "unifont.otf"))
    objects = [p for name in CODE for p in glob.glob(os.path.join(build, "CMakeFiles", "vevu_core.dir", "src", "*",
                                                                  name + ".cpp.o"))]
    code = 0
    for line in subprocess.run(["size", "-A"] + objects, capture_output=True, text=True).stdout.splitlines():
        section = line.split()
        if len(section) >= 2 and re.match(r"^\.(text|rodata|data)", section[0]) and section[1].isdigit():
            code += int(section[1])
    print(f"catalogues ({len(catalogues)}): {mo} bytes")
    print(f"our font's letters beyond ASCII: {letters} bytes")
    print(f"CJK font, cut: {cjk} bytes")
    print(f"code (text and data of {', '.join(CODE)}): {code} bytes")
    print(f"program, in all: {mo + letters + cjk + code} bytes")
    if len(args) > 1:
        page = open(os.path.join(args[1], "index.html"), encoding="utf-8").read()
        table = re.search(r"var PAGE_WORDS = (.*?);\n", page)
        print(f"page's words table in index.html: {len(table.group(1).encode()) if table else 0} bytes")


if __name__ == "__main__":
    main(sys.argv[1:])
