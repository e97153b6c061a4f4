#!/usr/bin/env python3
"""The translations' check: po/vevu.pot holds every text the sources mark with Tr (extracted again with
xgettext and compared), and msgfmt --check accepts every po/*.po (a wrong placeholder or header fails).
What a .po lacks (untranslated, fuzzy, or a text it has not met yet) is listed, not a failure: the game
shows those in English.
Usage: check_po.py SOURCE_DIR [XGETTEXT MSGFMT MSGMERGE]"""
import os
import subprocess
import sys
import tempfile

ROOT = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else ".")
XGETTEXT, MSGFMT, MSGMERGE = (sys.argv[2:5] + ["xgettext", "msgfmt", "msgmerge"][len(sys.argv[2:5]):])[:3]
PO = os.path.join(ROOT, "po")


def unquote(text):
    return bytes(text[1:-1], "utf-8").decode("unicode_escape").encode("latin-1").decode("utf-8")


def entries(path):
    """(msgctxt, msgid) -> (translations, fuzzy) of every entry but the header and the obsolete."""
    found, entry, key, fuzzy = {}, {}, None, False

    def close():
        nonlocal entry, fuzzy
        if entry.get("msgid"):
            forms = [v for k, v in entry.items() if k.startswith("msgstr")]
            found[(entry.get("msgctxt"), entry["msgid"])] = (forms, fuzzy)
        entry, fuzzy = {}, False

    with open(path, encoding="utf-8") as f:
        for raw in f:
            line = raw.strip()
            if not line or line.startswith("#~"):
                if not line:
                    close()
                continue
            if line.startswith("#,"):
                fuzzy = fuzzy or "fuzzy" in line
                continue
            if line.startswith("#"):
                continue
            if line.startswith('"'):
                entry[key] += unquote(line)
                continue
            key, _, value = line.partition(" ")
            if key in entry and key == "msgid":
                close()
            entry[key] = unquote(value.strip())
    close()
    return found


# The number of plural forms the game's rule (PluralForm in src/engine/words.cpp) gives each language.
NPLURALS = {"ja": 1, "zh": 1, "ko": 1, "pl": 3, "ru": 3, "uk": 3}


def plural_forms(path):
    with open(path, encoding="utf-8") as f:
        for line in f:
            if "Plural-Forms:" in line and "nplurals=" in line:
                return int(line.split("nplurals=")[1].split(";")[0].strip())
    return 2


def extracted_template(folder):
    sources = sorted(
        os.path.relpath(os.path.join(d, n), ROOT)
        for d, _, names in os.walk(os.path.join(ROOT, "src"))
        for n in names
        if n.endswith((".cpp", ".h"))
    )
    out = os.path.join(folder, "vevu.pot")
    subprocess.run([XGETTEXT, "--language=C++", "--from-code=UTF-8", "--keyword=Tr", "--keyword=TrContext:1c,2",
                    "--keyword=TrMark", "--keyword=TrPlural:1,2", "--force-po", "-o", out]
                   + sources, cwd=ROOT, check=True)
    # The page's words, from a copy of its scripts (as the pot target reads them).
    scripts = os.path.join(folder, "page-scripts")
    subprocess.run([sys.executable, os.path.join(ROOT, "tools", "page_words.py"), "--scripts", ROOT, scripts], check=True)
    subprocess.run([XGETTEXT, "--language=JavaScript", "--from-code=UTF-8", "--keyword=tr", "--keyword=show:2",
                    "--keyword=say", "--keyword=sayAboutReplays", "--keyword=tell:2", "--join-existing",
                    "--directory", scripts, "-o", out, "web/shell.html", "web/player_files.js"], cwd=ROOT, check=True)
    # The menu entry's and the metainfo's.
    subprocess.run([XGETTEXT, "--language=Desktop", "--keyword=", "--keyword=GenericName", "--keyword=Comment",
                    "--keyword=Keywords", "--join-existing", "-o", out, "packaging/org.vevuzudevur.Vevu.desktop"],
                   cwd=ROOT, check=True)
    subprocess.run([XGETTEXT, "--from-code=UTF-8", "--join-existing", "-o", out,
                    "packaging/org.vevuzudevur.Vevu.metainfo.xml.in"], cwd=ROOT, check=True)
    subprocess.run([XGETTEXT, "--language=Shell", "--keyword=", "--keyword=LangString:3", "--join-existing", "-o", out,
                    "packaging/windows/installer_words.nsh"], cwd=ROOT, check=True)
    return out


def main():
    failures = []
    template = os.path.join(PO, "vevu.pot")
    if not os.path.exists(template):
        print("po/vevu.pot is missing: build the pot target")
        return 1
    with tempfile.TemporaryDirectory() as folder:
        marked = set(entries(extracted_template(folder)))
        kept = set(entries(template))
        for ctxt, text in sorted(marked - kept, key=str):
            failures.append(f"po/vevu.pot lacks {text!r} (build the pot target)")
        for ctxt, text in sorted(kept - marked, key=str):
            failures.append(f"po/vevu.pot still holds {text!r}, which no source marks (build the pot target)")
        for name in sorted(n for n in os.listdir(PO) if n.endswith(".po")):
            path = os.path.join(PO, name)
            checked = subprocess.run([MSGFMT, "--check", "-o", os.devnull, path], capture_output=True, text=True)
            if checked.returncode != 0:
                failures.append(f"po/{name} fails msgfmt --check:\n{checked.stderr.strip()}")
                continue
            forms = plural_forms(path)
            wanted = NPLURALS.get(name[:-3].split("_")[0], 2)
            if forms != wanted:
                failures.append(f"po/{name} has nplurals={forms}; the game counts {wanted} forms in it")
            merged = os.path.join(folder, name)
            subprocess.run([MSGMERGE, "--quiet", "--no-fuzzy-matching", "-o", merged, path, template], check=True)
            lacking = [text for (ctxt, text), (forms, fuzzy) in sorted(entries(merged).items(), key=str)
                       if fuzzy or not any(forms)]
            print(f"po/{name}: {len(lacking)} of {len(kept)} texts shown in English")
            for text in lacking:
                print(f"    {text!r}")
    for failure in failures:
        print(failure)
    return 1 if failures else 0


sys.exit(main())
