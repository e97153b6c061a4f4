#!/usr/bin/env bash
# Builds the handheld port folder build/handheld/vevu-<version>-handheld.zip for the port managers of
# handheld Linux systems: `The Vevu Zudevur.sh` (the launch script) and the folder vevu/ with the aarch64
# program (scripts/linux-portable.sh aarch64 builds it, self-contained), the pad-to-key map vevu.gptk,
# port.json, the read-me, the licence and the screenshots. Checks the zip's layout and the launch script.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/cache.sh
install_missing zip unzip python3
fail() { echo "handheld: $*" >&2; exit 1; }
version="$(sed -n 's/^project(VevuZudevur VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)"
[ -n "$version" ] || fail "no version in CMakeLists.txt"
program="build/linux-aarch64/vevu-$version-linux-aarch64/vevu"
[ -f "$program" ] || scripts/linux-portable.sh aarch64 >/dev/null
[ "$(readelf -h "$program" | sed -n 's/^ *Machine: *//p')" = AArch64 ] || fail "$program is not an aarch64 program"
bash -n packaging/handheld/launch.sh || fail "the launch script does not parse"
if command -v shellcheck >/dev/null; then
    shellcheck -S warning packaging/handheld/launch.sh || fail "shellcheck finds fault with the launch script"
fi

out=build/handheld
stage="$out/stage"
rm -rf "$stage" "$out/vevu-$version-handheld.zip"
mkdir -p "$stage/vevu/licenses"
cp packaging/handheld/launch.sh "$stage/The Vevu Zudevur.sh"
chmod 755 "$stage/The Vevu Zudevur.sh"
install -m 755 "$program" "$stage/vevu/vevu.aarch64"
cp packaging/handheld/vevu.gptk "$stage/vevu/"
cp LICENSE "$stage/vevu/licenses/LICENSE.txt"
cp LICENSE "$stage/vevu/LICENSE.txt"
sed "s/@PROJECT_VERSION@/$version/g" packaging/handheld/README.md.in >"$stage/vevu/README.md"
cp docs/screenshots/abducting.png "$stage/vevu/screenshot.png"
mkdir -p "$stage/vevu/screenshots"
cp docs/screenshots/*.png "$stage/vevu/screenshots/"
# The port manager's description of the port.
VERSION="$version" /usr/bin/python3 - "$stage/vevu/port.json" <<'PY'
import json, os, sys
json.dump({
    "version": 2,
    "name": "vevu.zip",
    "items": ["The Vevu Zudevur.sh", "vevu"],
    "items_opt": None,
    "attr": {
        "title": "The Vevu Zudevur",
        "desc": "Side-scrolling action game: steer an alien larva, abduct the locals with a beam, evolve "
                "weapons at the mothership and win four missions by destroying every military building.",
        "inst": "Ready to run: unzip into the ports folder.",
        "genres": ["action", "arcade"],
        "porter": ["The Vevu Zudevur developers"],
        "image": {"screenshot": "screenshot.png"},
        "rtr": True,
        "runtime": None,
        "reqs": [],
        "arch": ["aarch64"],
        "version": os.environ["VERSION"],
    },
}, open(sys.argv[1], "w"), indent=4)
PY
# The front-end's game list entry (EmulationStation's gamelist format), which port managers merge into theirs.
cat >"$stage/vevu/gameinfo.xml" <<'XML'
<?xml version="1.0"?>
<gameList>
  <game>
    <path>./The Vevu Zudevur.sh</path>
    <name>The Vevu Zudevur</name>
    <desc>Side-scrolling action game: steer an alien larva, abduct the locals with a beam, evolve weapons at the mothership and win four missions by destroying every military building.</desc>
    <image>./vevu/screenshot.png</image>
    <developer>The Vevu Zudevur developers</developer>
    <genre>Action</genre>
  </game>
</gameList>
XML
zip_file="$(realpath -m "$out/vevu-$version-handheld.zip")"
epoch="$(date -d "$(sed -n 's/^set(VEVU_RELEASE_DATE \([0-9-]*\)).*/\1/p' CMakeLists.txt) 12:00 UTC" +%s)"
find "$stage" -exec touch -h -d "@$epoch" {} +
(cd "$stage" && find . -mindepth 1 | LC_ALL=C sort | sed 's:^\./::' | zip -X -q -@ "$zip_file")
rm -rf "$stage"

# What a port manager looks for: the launch script at the top, the folder the script names, port.json.
listing="$(unzip -Z1 "$zip_file")"
for want in "The Vevu Zudevur.sh" vevu/vevu.aarch64 vevu/vevu.gptk vevu/port.json vevu/gameinfo.xml vevu/README.md \
    vevu/screenshot.png vevu/licenses/LICENSE.txt; do
    grep -qxF "$want" <<<"$listing" || fail "the zip has no $want"
done
unzip -p "$zip_file" vevu/port.json | /usr/bin/python3 -c 'import json,sys; d=json.load(sys.stdin); assert d["items"]==["The Vevu Zudevur.sh","vevu"] and d["attr"]["arch"]==["aarch64"]' ||
    fail "port.json does not name the script, the folder and aarch64"
unzip -p "$zip_file" vevu/gameinfo.xml | /usr/bin/python3 -c 'import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.stdin)' ||
    fail "gameinfo.xml is not well-formed XML"
unzip -p "$zip_file" "The Vevu Zudevur.sh" | grep -q 'GAMEDIR="/$directory/ports/vevu"' ||
    fail "the launch script does not start the game from the folder vevu"
# The launch script run as a port manager runs it, against a control file of our own: the player's files
# in the port's conf/, the first start fullscreen with fill scaling (a later start keeps what the options
# saved), the system's pad mapping handed to SDL and the key map used only without one.
try="$(mktemp -d)"
trap 'rm -rf "$try"' EXIT
mkdir -p "$try/roms/ports" "$try/share/PortMaster"
(cd "$try/roms/ports" && unzip -q "$zip_file")
cat >"$try/share/PortMaster/control.txt" <<EOF
directory="${try#/}/roms"
ESUDO=""
GPTOKEYB="echo pad-to-key"
CFW_NAME=test
sdl_controllerconfig="\${TEST_MAPPING:-}"
get_controls() { :; }
pm_platform_helper() { :; }
pm_finish() { echo finished; }
EOF
cat >"$try/roms/ports/vevu/vevu.aarch64" <<'EOF'
#!/bin/sh
echo "game in $PWD with $VEVU_DATA_DIR and mapping '$SDL_GAMECONTROLLERCONFIG'"
EOF
launch() { # the system's pad mapping (may be empty)
    env -i PATH=/usr/bin:/bin HOME="$try" XDG_DATA_HOME="$try/share" TEST_MAPPING="$1" \
        bash "$try/roms/ports/The Vevu Zudevur.sh" 2>&1 | sort
}
game="$try/roms/ports/vevu"
said="$(launch "03000000,Handheld pad,a:b0,")"
grep -qxF "game in $game with $game/conf and mapping '03000000,Handheld pad,a:b0,'" <<<"$said" ||
    fail "the launch script did not start the game in its folder, its files in conf/, with the system's mapping: $said"
grep -qx "pad-to-key vevu.aarch64" <<<"$said" || fail "with the system's mapping, the pad-to-key helper runs without the key map: $said"
grep -qx finished <<<"$said" || fail "the launch script did not end with the port manager's pm_finish: $said"
{ grep -qx "fullscreen = yes" "$game/conf/settings.txt" && grep -qx "scaling = fill" "$game/conf/settings.txt"; } ||
    fail "the first start is not fullscreen with fill scaling: $(cat "$game/conf/settings.txt")"
grep -qF "game in $game" "$game/log.txt" || fail "log.txt does not hold what the start printed"
printf 'version = 1\nfullscreen = no\n' >"$game/conf/settings.txt"
said="$(launch "")"
grep -qx "pad-to-key vevu.aarch64 -c $game/vevu.gptk" <<<"$said" || fail "without a mapping, the key map is used: $said"
grep -qx "fullscreen = no" "$game/conf/settings.txt" || fail "the launch script overwrote the settings the options saved"
echo "handheld: the launch script starts the game in its folder, its files in conf/, fullscreen with fill scaling the first time, the pad mapped" >&2

echo "handheld: $zip_file ($(stat -c %s "$zip_file") bytes)" >&2
ls "$out/vevu-$version-handheld.zip"
