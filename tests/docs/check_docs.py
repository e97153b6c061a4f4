#!/usr/bin/env python3
"""The documentation cannot rot silently: every link in README.md, CONTRIBUTING.md, CHANGELOG.md and
docs/ leads to a file that exists (and to a heading that exists, when it names one), and every file,
script, preset, build target, test label and benchmark the pages name in code exists in the tree.
Usage: check_docs.py SOURCE_DIR"""
import glob
import json
import os
import re
import sys

ROOT = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else ".")
TREE_FOLDERS = ("src", "tests", "tools", "bench", "web", "packaging", "cmake", "docs", "assets", "scripts", ".ci")
LINK = re.compile(r"!?\[([^\]]*)\]\(([^)\s]+)\)")
FENCE = re.compile(r"^```[^\n]*\n(.*?)^```", re.S | re.M)
CODE_SPAN = re.compile(r"`([^`\n]+)`")
failures = []


def pages():
    names = ["README.md", "CONTRIBUTING.md", "CHANGELOG.md"] + sorted(glob.glob("docs/**/*.md", root_dir=ROOT, recursive=True))
    return [n for n in names if os.path.exists(os.path.join(ROOT, n))]


def read(name):
    with open(os.path.join(ROOT, name), encoding="utf-8") as f:
        return f.read()


def slug(heading):
    """A heading's anchor as the Markdown renderers make it: lower case, punctuation dropped, spaces to -."""
    text = re.sub(r"[^\w\- ]", "", heading.strip().lower())
    return text.replace(" ", "-")


def anchors(name):
    found, seen = set(), {}
    for line in FENCE.sub("", read(name)).split("\n"):
        heading = re.match(r"#{1,6} (.+)$", line)
        if heading:
            base = slug(heading.group(1))
            count = seen.get(base, 0)
            seen[base] = count + 1
            found.add(base if count == 0 else f"{base}-{count}")
    return found


def check_links(page, text):
    folder = os.path.dirname(page)
    for match in LINK.finditer(FENCE.sub("", text)):
        target = match.group(2)
        if re.match(r"[a-z]+:", target):
            continue  # a web address: not checked here, the machines that run the tests are offline
        path, _, anchor = target.partition("#")
        resolved = os.path.normpath(os.path.join(folder, path)) if path else page
        if not os.path.exists(os.path.join(ROOT, resolved)):
            failures.append(f"{page}: the link to {target} leads to no file ({resolved})")
        elif anchor and resolved.endswith(".md") and anchor not in anchors(resolved):
            failures.append(f"{page}: the link to {target}: {resolved} has no heading #{anchor}")


def cmake_text():
    files = ["CMakeLists.txt"] + glob.glob("cmake/*.cmake", root_dir=ROOT)
    return "\n".join(read(f) for f in files)


def known_names():
    cmake = cmake_text()
    presets = json.loads(read("CMakePresets.json"))
    return {
        "targets": set(re.findall(r"add_(?:executable|library|custom_target)\((\w+)", cmake)),
        "labels": set(re.findall(r"LABELS (\w+)", cmake)),
        "presets": {p["name"] for kind in ("configurePresets", "buildPresets", "testPresets") for p in presets.get(kind, [])},
        "benchmarks": set(re.findall(r"\b(BM_\w+)", "\n".join(read(f) for f in glob.glob("bench/**/*.cpp", root_dir=ROOT, recursive=True)))),
    }


def as_glob(path):
    """Placeholders (NAME, <version>, ...) stand for any name."""
    path = re.sub(r"<[^>]*>", "*", path)
    path = re.sub(r"(?<![A-Za-z])[A-Z][A-Z_]{2,}(?![a-z])", "*", path)
    return path.replace("...", "*")


def check_path(page, token):
    pattern = as_glob(token.rstrip("/"))
    if not glob.glob(os.path.join(ROOT, pattern)):
        failures.append(f"{page}: names {token}, which is not in the tree")
    elif token.startswith("scripts/") and token.endswith(".sh") and not os.access(os.path.join(ROOT, token), os.X_OK):
        failures.append(f"{page}: names the command {token}, which is not executable")


def check_words(page, words, names):
    for i, word in enumerate(words):
        word = word.strip("'\"(),;:")
        following = words[i + 1].strip("'\"(),;:") if i + 1 < len(words) else ""
        if word.split("/")[0] in TREE_FOLDERS and "/" in word:
            check_path(page, word)
        built = re.fullmatch(r"build/([\w-]+)/(vevu\w*|\w+_fuzz)", word)
        if built and built.group(2) not in names["targets"] and not re.fullmatch(r"[A-Z]+_fuzz", built.group(2)):
            failures.append(f"{page}: names {word}, but no build makes {built.group(2)}")
        if i == 0 and re.fullmatch(r"vevu_\w+", word) and word not in names["targets"]:
            failures.append(f"{page}: runs {word}, which no build makes")
        if word == "--preset" and following and following not in names["presets"]:
            failures.append(f"{page}: names the preset {following}, which CMakePresets.json lacks")
        if word == "--target" and following and following not in names["targets"]:
            failures.append(f"{page}: names the build target {following}, which no build has")
        if word == "-L" and words[0] == "ctest" and following not in names["labels"]:
            failures.append(f"{page}: names the test label {following}, which no test has")
        for benchmark in re.findall(r"\bBM_\w+", word):
            if benchmark not in names["benchmarks"]:
                failures.append(f"{page}: names the benchmark {benchmark}, which bench/ lacks")


def check_code(page, text, names):
    for block in FENCE.findall(text):
        for line in block.split("\n"):
            check_words(page, line.split("#")[0].split(), names)
    for span in CODE_SPAN.findall(FENCE.sub("", text)):
        check_words(page, span.split(), names)


def main():
    names = known_names()
    checked = pages()
    for page in checked:
        text = read(page)
        check_links(page, text)
        check_code(page, text, names)
    for failure in failures:
        print("FAILED:", failure, file=sys.stderr)
    if not failures:
        print(f"documentation: every link, file and command named in {len(checked)} pages exists")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
