#!/usr/bin/env bash
# The Debian package from end to end, as CI runs it: build it (scripts/package.sh) twice from scratch
# and compare the bytes (the package is reproducible), check its version, validate what it installs (menu entry, metainfo, manual page, icon sizes), run lintian,
# install it into a prefix with spaces twice over itself, install it with apt-get (twice), start the
# game from its menu entry's command under the real-window smoke test, remove it and check that
# nothing of it is left. Needs root (or sudo) for apt-get.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
start=$(date +%s)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
fail() { echo "package check: $*" >&2; exit 1; }
step() { echo "package check: $* ($(($(date +%s) - start)) s)"; }
work=$(mktemp -d)
installed=""
# A check that fails halfway does not leave the package installed.
cleanup() {
    [ -n "$installed" ] && DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -qq vevu >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT

build=build/package
app_id=org.vevuzudevur.Vevu
the_deb() {
    local debs=("$build"/vevu_*.deb)
    [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one package in $build, found ${debs[*]}"
    realpath "${debs[0]}"
}

step "two builds from scratch give the same bytes"
rm -rf "$build"
scripts/package.sh
cp "$(the_deb)" "$work/first.deb"
rm -rf "$build" # a second build from nothing, at another time: only SOURCE_DATE_EPOCH may date it
scripts/package.sh
deb=$(the_deb)
cmp "$work/first.deb" "$deb" || {
    diffoscope --version >/dev/null 2>&1 && diffoscope "$work/first.deb" "$deb" | head -50 >&2
    fail "two builds of the same tree differ"
}

step "the version is the CMake project's"
want=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
got=$(dpkg-deb -f "$deb" Version)
[ -n "$want" ] && [ "$got" = "$want" ] || fail "package version '$got', project version '$want'"

step "validators"
tree=$work/tree
dpkg-deb -x "$deb" "$tree"
out=$(desktop-file-validate "$tree/usr/share/applications/$app_id.desktop" 2>&1) || true
[ -z "$out" ] || fail "desktop-file-validate: $out"
# .vrp files are the game's: the entry opens them, and their type, read by shared-mime-info, knows them by
# name and by their first bytes.
grep -qx 'MimeType=application/x-vevu-replay;' "$tree/usr/share/applications/$app_id.desktop" ||
    fail "the menu entry does not open replay files"
mime=$work/mime
mkdir -p "$mime/packages"
cp "$tree/usr/share/mime/packages/$app_id.xml" "$mime/packages/" || fail "no replay type in mime/packages"
update-mime-database "$mime" 2>/dev/null || fail "update-mime-database refuses the replay type"
grep -qx 'application/x-vevu-replay:\*.vrp' <(cut -d: -f2- "$mime/globs2") || fail "the replay type has no *.vrp"
grep -q 'vevu replay ' "$mime/magic" || fail "the replay type does not know a replay's first bytes"
appstreamcli validate --no-net --explain "$tree/usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli found errors in the metainfo"
# Each screenshot the metainfo names is one of docs/screenshots, at the size the metainfo states.
metainfo=$tree/usr/share/metainfo/$app_id.metainfo.xml
shots=$(grep -o '<image type="source" width="[0-9]*" height="[0-9]*">[^<]*' "$metainfo" | sed 's/.*width="\([0-9]*\)" height="\([0-9]*\)">.*\/\([^/]*\)$/\3 \1x\2/')
[ -n "$shots" ] || fail "the metainfo names no screenshot"
while read -r name size; do
    [ -f "docs/screenshots/$name" ] || fail "the metainfo's screenshot $name is not in docs/screenshots"
    got=$(identify -format "%wx%h" "docs/screenshots/$name")
    [ "$got" = "$size" ] || fail "the metainfo says $name is $size, it is $got"
done <<< "$shots"
man_page=$tree/usr/share/man/man6/vevu.6.gz
out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$man_page" 2>&1 >/dev/null)
[ -z "$out" ] || fail "man: $out"
out=$(zcat "$man_page" | groff -ww -man -z 2>&1)
[ -z "$out" ] || fail "groff: $out"
for size in 16 32 48 64 128 256; do
    icon=$tree/usr/share/icons/hicolor/${size}x$size/apps/$app_id.png
    [ -f "$icon" ] || fail "no ${size}x$size icon"
    got=$(identify -format "%wx%h" "$icon")
    [ "$got" = "${size}x$size" ] || fail "the ${size}x$size icon is $got"
done
grep -qx "Exec=vevu %f" "$tree/usr/share/applications/$app_id.desktop" || fail "the menu entry does not start vevu with the file it opens"

step "lintian"
lintian --fail-on error,warning --tag-display-limit 0 "$deb"

step "cmake --install into a prefix with spaces, twice"
prefix="$work/a prefix/with spaces"
for _ in 1 2; do cmake --install "$build" --prefix "$prefix" >/dev/null; done
for file in games/vevu share/applications/$app_id.desktop share/metainfo/$app_id.metainfo.xml \
    share/man/man6/vevu.6.gz share/icons/hicolor/256x256/apps/$app_id.png share/doc/vevu/copyright; do
    [ -f "$prefix/$file" ] || fail "$file missing under '$prefix'"
done

step "apt-get install, twice"
# What exists before the package: its directories that were already there stay after removal.
was_there() { grep -qxF "$1" "$work/before"; }
dpkg-deb -c "$deb" | awk '{print substr($6, 2)}' | sed 's:/$::' | grep -v '^$' > "$work/paths"
while read -r path; do [ -e "$path" ] && echo "$path"; done < "$work/paths" > "$work/before" || true
installed=yes
# Twice: the second time over the installed package.
for reinstall in "" --reinstall; do
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install $reinstall -y -qq "$deb" >/dev/null
done
dpkg -L vevu > "$work/installed"
# The menu entry's command, looked up on a desktop user's PATH (Debian's has /usr/games).
command=$(sed -n 's/^Exec=//p' /usr/share/applications/$app_id.desktop | cut -d' ' -f1)
exe=$(PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games command -v "$command") ||
    fail "the menu entry's command '$command' is not on a user's PATH"
[ "$exe" = /usr/games/vevu ] || fail "the menu entry starts $exe, not /usr/games/vevu"

step "smoke test of the installed game"
tests/smoke/smoke.sh "$exe" "$root/build/package/smoke"

step "apt-get remove"
DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 remove -y -qq vevu >/dev/null
installed=""
left=()
while read -r path; do
    [ -e "$path" ] && ! was_there "$path" && left+=("$path")
done < "$work/installed"
[ ${#left[@]} -eq 0 ] || fail "left behind after removal: ${left[*]}"
step "done: built, validated, lintian clean, installed, smoke-tested and removed"
