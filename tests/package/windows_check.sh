#!/usr/bin/env bash
# The Windows downloads from end to end under Wine, as CI runs it after scripts/windows.sh: the zip holds
# the program, the licence and the read-me in one folder named as itself; the installer, run silently
# (/S) in a Wine prefix of its own into a folder whose name has spaces and letters beyond ASCII, puts the
# program there, a Start menu entry and an entry in the list of installed programs carrying the
# project's version; the game started from the Start menu shortcut passes the smoke test (a real window
# under Xvfb, the intro, the map, the mission started, Esc); the uninstaller leaves no file, no shortcut
# and no registry key behind. A folder that cannot be written fails the installer with its own error
# (exit code 2) and changes nothing.
# Usage: windows_check.sh [build/windows]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "${1:-build/windows}")
start=$(date +%s)
fail() { echo "windows check: $*" >&2; exit 1; }
step() { echo "windows check: $* ($(($(date +%s) - start)) s)"; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
zip=$build/vevu-$version-windows-x64.zip
setup=$build/vevu-$version-windows-x64-setup.exe
[ -n "$version" ] && [ -f "$zip" ] && [ -f "$setup" ] || fail "no downloads of version '$version' in $build"
work=$(mktemp -d)
# The prefix that scripts/windows-test.sh keeps, if any, to copy (under its lock) instead of making one
# afresh.
kept_prefix=${VEVU_WINE_KEPT_PREFIX:-}
# Wine takes the command line's letters beyond ASCII in the locale's character set.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" LC_ALL=C.UTF-8
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

step "the zip"
unzip -q "$zip" -d "$work/zip"
for file in vevu.exe LICENSE.txt README.txt; do
    [ -f "$work/zip/vevu-$version-windows-x64/$file" ] || fail "$file missing from the zip"
done
grep -q "The Vevu Zudevur $version" "$work/zip/vevu-$version-windows-x64/README.txt" ||
    fail "the read-me does not name version $version"

step "a Wine prefix of its own"
if [ -n "$kept_prefix" ] && [ -f "$kept_prefix/made" ]; then
    (
        . scripts/cache.sh
        lock_cache wine
        cp -a "$kept_prefix" "$WINEPREFIX"
    )
else
    DISPLAY="" wineboot --init >/dev/null 2>&1
fi
wineserver -w
drive_c=$WINEPREFIX/drive_c
# Everything in the prefix and its registry before the installer, to compare with after the uninstaller.
snapshot() {
    (cd "$drive_c" && find . ! -path './users/*/Temp*' ! -path './windows/*' | sort) >"$1.files"
    wine reg export 'HKLM\Software' "C:\\hklm.reg" >/dev/null 2>&1 && wine reg export 'HKCU\Software' "C:\\hkcu.reg" >/dev/null 2>&1
    # Less Wine's own keys for the sound devices it looks for when a program first plays sound.
    cat "$drive_c/hklm.reg" "$drive_c/hkcu.reg" | iconv -f UTF-16LE -t UTF-8 | grep '^\[' |
        grep -v -e '\\Software\\Wine\\Drivers' -e '\\CurrentVersion\\MMDevices' | sort >"$1.keys"
    rm -f "$drive_c/hklm.reg" "$drive_c/hkcu.reg"
}
# The player's own folder, named with spaces and letters beyond ASCII, that the game goes into.
mkdir "$drive_c/Spiele und Späße"
snapshot "$work/before"

# install FOLDER: the installer run silently into FOLDER, waited for; its exit code. It wants /D= last and
# unquoted, spaces and all: Wine would quote it, cmd's start passes it as it is.
install() {
    wine cmd /c "start /wait \"\" \"$(wine winepath -w "$setup" 2>/dev/null | tr -d '\r')\" /S /D=$1"
}

step "a folder that cannot be written stops the installer with its own error, nothing installed"
# Drive R: on a file system that refuses new folders even to root, as a read-only disc would.
ln -sfn /sys/kernel "$WINEPREFIX/dosdevices/r:"
code=0
install 'R:\The Vevu Zudevur' || code=$?
wineserver -w
rm "$WINEPREFIX/dosdevices/r:"
[ "$code" -eq 2 ] || fail "installing onto a drive that refuses writes: exit code $code, not the installer's error (2)"
snapshot "$work/refused"
left=$(comm -3 "$work/before.files" "$work/refused.files"; comm -3 "$work/before.keys" "$work/refused.keys")
[ -z "$left" ] || fail "the refused install changed the prefix: $left"

step "silent install into a folder with spaces and letters beyond ASCII"
folder='C:\Spiele und Späße\Vévu Zudevur'
install "$folder" || fail "the installer failed (exit code $?)"
wineserver -w
unix_folder=$(wine winepath -u "$folder" 2>/dev/null | tr -d '\r')
for file in vevu.exe LICENSE.txt README.txt Uninstall.exe; do
    [ -f "$unix_folder/$file" ] || fail "$file not installed in $unix_folder"
done
shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/The Vevu Zudevur/The Vevu Zudevur.lnk"
[ -f "$shortcut" ] || fail "no Start menu entry ($shortcut)"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\The Vevu Zudevur'
entry=$(wine reg query "$key" 2>/dev/null | tr -d '\r') || fail "no entry in the list of installed programs"
# reg prints in the console's code page: the folder's letters beyond ASCII are not UTF-8 there.
LC_ALL=C grep -q "DisplayVersion.*$version" <<<"$entry" || fail "the installed programs' entry lacks version $version: $entry"
LC_ALL=C grep -q "DisplayIcon.*vevu.exe" <<<"$entry" || fail "the installed programs' entry has no icon: $entry"
# Replay files open with the installed game.
open=$(wine reg query 'HKLM\Software\Classes\VevuZudevur.Replay\shell\open\command' 2>/dev/null | tr -d '\r') ||
    fail "no command opens replay files"
LC_ALL=C grep -q 'vevu.exe" "%1"' <<<"$open" || fail "replay files are not opened with the game: $open"
LC_ALL=C grep -q 'VevuZudevur.Replay' <<<"$(wine reg query 'HKLM\Software\Classes\.vrp' 2>/dev/null)" ||
    fail "the .vrp extension is not the game's"

step "the game started from the Start menu shortcut's target"
# The target as Windows reads it from the shortcut (its link information's local path, in the ANSI code
# page; the newer Unicode copy where the shortcut has one).
target=$(python3 - "$shortcut" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
flags = struct.unpack_from("<I", data, 0x14)[0]
at = 0x4C
if flags & 1:  # a list of shell items first
    at += 2 + struct.unpack_from("<H", data, at)[0]
assert flags & 2, "the shortcut has no link information"
header = struct.unpack_from("<I", data, at + 4)[0]
if header >= 0x24:
    start = at + struct.unpack_from("<I", data, at + 0x1C)[0]
    end = data.index(b"\0\0", start)
    end += (end - start) % 2
    print(data[start:end].decode("utf-16-le"))
else:
    start = at + struct.unpack_from("<I", data, at + 0x10)[0]
    print(data[start:data.index(b"\0", start)].decode("cp1252"))
PY
)
[ "$target" = "$folder\\vevu.exe" ] || fail "the Start menu entry starts '$target', not the installed vevu.exe"
VEVU_SMOKE_STEPS=short tests/smoke/smoke.sh "$(wine winepath -u "$target" 2>/dev/null | tr -d '\r')" \
    "$build/installed-smoke"
step "the uninstaller"
wine "$unix_folder/Uninstall.exe" /S || fail "the uninstaller failed (exit code $?)"
wineserver -w # it finishes from a copy of itself in the temporary folder
snapshot "$work/after"
left=$(comm -13 "$work/before.files" "$work/after.files"; comm -13 "$work/before.keys" "$work/after.keys")
[ -z "$left" ] || fail "left behind after uninstalling: $left"
step "done: zip checked, installed silently, started from its shortcut, uninstalled without a trace"
