#!/usr/bin/env bash
# The Windows build tested under Wine, as CI runs it: the downloads built by scripts/windows.sh (which
# fails on any DLL Windows does not ship), the unit and scenario tests run under Wine through CTest, the
# smoke test of vevu.exe in a real window under Xvfb with its map compared with the Linux program's,
# and the installer and the zip (tests/package/windows_check.sh).
# The tests' Wine prefix is made once (wineboot, no Mono or Gecko) and kept beside the libraries' cache;
# each run plays in a copy of its own, so that two runs on one machine never share a Wine server (one
# run's `wineserver -k` would end the other's programs) and nothing copies the kept prefix while it is
# being made.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/cache.sh
# Debian's Wine, 64-bit only: its recommends would bring the 32-bit half and much more.
install_missing wine wine64 xvfb xauth xdotool x11-utils imagemagick openbox unzip
scripts/windows.sh

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
kept_prefix="$cache_root/wine/$(wine --version | tr -c 'A-Za-z0-9.\n' -)"
run_dir="$(mktemp -d "${TMPDIR:-/tmp}/vevu-wine.XXXXXX")"
export WINEPREFIX="$run_dir/prefix" VEVU_WINE_KEPT_PREFIX="$kept_prefix"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$run_dir"' EXIT
(
    lock_cache wine
    if [ ! -f "$kept_prefix/made" ]; then
        echo "windows test: making the Wine prefix $kept_prefix" >&2
        rm -rf "$kept_prefix"
        mkdir -p "$(dirname "$kept_prefix")"
        WINEPREFIX="$kept_prefix" DISPLAY="" wineboot --init >/dev/null 2>&1
        WINEPREFIX="$kept_prefix" wineserver -w
        touch "$kept_prefix/made"
    fi
    cp -a "$kept_prefix" "$WINEPREFIX"
)

# The Linux program's screenshots, which the Windows program's must match: the README's test command
# leaves them in build/default/smoke; without them the Linux smoke test runs first.
reference=$PWD/build/default/smoke
if [ ! -f "$reference/map.png" ]; then
    cmake --preset default >/dev/null
    cmake --build --preset default --target vevu
    tests/smoke/smoke.sh build/default/vevu "$reference"
fi
cmake --preset windows -DVEVU_SMOKE_REFERENCE="$reference" >/dev/null
# One Wine server and its services for every test, instead of one started and stopped per test. The
# services are started here, away from CTest: a service started by a test would hold that test's output
# open for as long as the server runs. Wine's desktop process ends a few seconds after the last program
# with a window, and two tests starting together while it starts again may find no desktop (SDL's helper
# window for game pads then fails): a window kept open for the whole run, on an X server of its own,
# keeps the desktop there. The tests themselves draw headless.
run_tests() {
    wineserver -p
    wine cmd /c exit </dev/null >/dev/null 2>&1
    wine notepad </dev/null >/dev/null 2>&1 &
    ctest --preset windows -j2
}
xvfb-run -a -s "-screen 0 1024x768x24" bash -c "$(declare -f run_tests); run_tests"
tests/package/windows_check.sh build/windows
