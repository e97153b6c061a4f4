#!/usr/bin/env python3
"""The package's changelog and the metainfo's releases say what CHANGELOG.md says: the same releases in
the same order, each on its date, with the same changes word for word; what is not released yet in
neither. Usage: changelog_test.py CHANGELOG.md DEBIAN_CHANGELOG METAINFO_XML"""
import re
import sys
import xml.etree.ElementTree as ElementTree
from email.utils import parsedate_to_datetime


def plain(text):
    text = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", text).replace("`", "")
    return " ".join(text.split())


def releases_of_changelog(path):
    releases, items, item = [], None, None
    for line in open(path, encoding="utf-8").read().split("\n") + [""]:
        if item is not None and not line.startswith("  "):
            if items is not None:
                items.append(plain(item))
            item = None
        heading = re.fullmatch(r"## (\d+\.\d+\.\d+) \((\d{4}-\d\d-\d\d)\)", line)
        if heading:
            items = []
            releases.append((heading.group(1), heading.group(2), items))
        elif line == "## Unreleased":
            items = None  # read, never packaged
            item = None
        elif line.startswith("- "):
            item = line[2:]
        elif line.startswith("  ") and item is not None:
            item += " " + line.strip()
    return releases


def releases_of_debian(path):
    releases = []
    for block in open(path, encoding="utf-8").read().strip().split("\n\nvevu ("):
        block = block if block.startswith("vevu (") else "vevu (" + block
        header = re.match(r"vevu \(([^)]*)\) unstable; urgency=medium\n", block)
        trailer = re.search(r"\n -- [^<]+<[^>]+>  (.+)$", block)
        assert header and trailer, "a Debian changelog entry without its header or trailer:\n" + block
        date = parsedate_to_datetime(trailer.group(1)).date().isoformat()
        body = block[header.end() : trailer.start()]
        items = [" ".join(i.split()) for i in re.split(r"\n  \* ", "\n" + body.strip("\n")) if i.strip()]
        releases.append((header.group(1), date, items))
    return releases


def releases_of_metainfo(path):
    root = ElementTree.parse(path).getroot()
    return [
        (r.get("version"), r.get("date"), [" ".join("".join(li.itertext()).split()) for li in r.iter("li")])
        for r in root.find("releases").findall("release")
    ]


def main():
    wanted = releases_of_changelog(sys.argv[1])
    failures = 0
    if not wanted or any(not items for _, _, items in wanted):
        print(f"FAILED: {sys.argv[1]} names no release, or one without changes", file=sys.stderr)
        failures += 1
    for name, got in (("the Debian changelog", releases_of_debian(sys.argv[2])),
                      ("the metainfo", releases_of_metainfo(sys.argv[3]))):
        if got != wanted:
            print(f"FAILED: {name} says\n  {got}\nwhere CHANGELOG.md says\n  {wanted}", file=sys.stderr)
            failures += 1
    if failures == 0:
        print(f"changelog: the Debian changelog and the metainfo agree with it, releases: {len(wanted)}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
