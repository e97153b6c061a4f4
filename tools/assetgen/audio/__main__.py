"""Build every sound and song into the repository's assets/ directory.

Run from tools/assetgen:  /usr/bin/python3 -m audio [assets_dir] [--report FILE]
"""

import argparse
import pathlib
import sys

from . import build_all, report

REPO = pathlib.Path(__file__).resolve().parents[3]


def main(argv=None):
    parser = argparse.ArgumentParser(prog="audio", description=__doc__)
    parser.add_argument("assets_dir", nargs="?", default=str(REPO / "assets"))
    parser.add_argument("--report", default=str(REPO / "build" / "assetgen" / "sound_report.txt"))
    parser.add_argument("--no-report", action="store_true")
    args = parser.parse_args(argv)
    written = build_all(pathlib.Path(args.assets_dir))
    for path in written:
        print(path)
    if not args.no_report:
        text = report.write_report(written, pathlib.Path(args.report))
        print(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
