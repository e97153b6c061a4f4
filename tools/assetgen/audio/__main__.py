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
    written = build_all(pathlib.Path(args.assets_dir), report_file=False)
    for path in written:
        print(path)
    if args.no_report:
        return 0
    text, problems = report.write_report(written, pathlib.Path(args.report))
    print(text)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
