#!/usr/bin/env bash
# Smoke test of the shipped executable in a real window under Xvfb: the window's title, size, class
# and icon, Alt+F4 (the window manager's close) during the intro ending the game with exit code 0,
# then a new game: a key that ends the intro, the map ship steered onto a node and Z, a little play
# on the battlefield (the larva flies up, then X and Left held), the game paused (with the key in
# P's place on a Russian layout) and its window grown to 1280x960, switched to fullscreen with F11
# and back, shrunk to one pixel and minimised, then Esc, which must end the program with exit code
# 0, having saved nothing; then the player's files from one start to the next, in a folder of the
# test's own (VEVU_DATA_DIR): a damaged saved campaign told in the notice line and left as it was, a
# saved campaign with a won node continued after the intro, then replaced by a new campaign with the
# old one kept; (Linux) a damaged settings file said and left, and a setting changed on the options
# screen kept over a restart; last, given the outro program, SIGTERM during the outro must end it with exit code 0 too. A
# small window manager (openbox) runs, as on a desktop: it carries out fullscreen and gives the
# window its size back. Screenshots of the intro, the map, the battlefield, the paused battle, the
# grown window, fullscreen, the notice, the question after the intro and the continued map are saved
# as PNG files.
# Every step waits for what it needs to see on screen, polled with a generous limit, so a busy
# machine only makes it slower: nothing is timed against a fixed sleep.
# The steps themselves are in tests/smoke/steps.sh.
# The Windows program (a path ending in .exe) runs under Wine the same way. Given a folder of the Linux
# program's screenshots in VEVU_SMOKE_REFERENCE, the map screen with the ship on its node must look the
# same as the Linux program's. VEVU_SMOKE_STEPS=short stops after the mission has started: Esc, exit 0.
# Usage: smoke.sh path/to/vevu[.exe] [screenshot-dir [path/to/vevu_outro_window]]
set -uo pipefail
exe=$(realpath "$1")
shots=$(realpath -m "${2:-$(dirname "$exe")/smoke}")
outro=${3:+$(realpath "$3")}
export VEVU_SMOKE_REFERENCE=${VEVU_SMOKE_REFERENCE:+$(realpath "$VEVU_SMOKE_REFERENCE")}
mkdir -p "$shots"
# shellcheck source=tests/smoke/steps.sh
source "$(dirname "$0")/steps.sh"

tools=(xvfb-run xdotool import convert compare openbox xprop setxkbmap)
[[ $exe == *.exe ]] && tools+=(wine wineserver)
for tool in "${tools[@]}"; do
    command -v "$tool" >/dev/null || { echo "smoke: $tool missing (scripts/install-deps.sh --test installs it)" >&2; exit 1; }
done

run_inside() {
    set -u
    exe=$1 shots=$2 outro=$3
    pid="" win="" wm=""
    begin_steps
    start_window_manager
    close_during_intro
    start_game
    skip_intro
    start_mission
    like_linux
    if [ "${VEVU_SMOKE_STEPS:-}" = short ]; then
        leave_with_escape
        kill "$wm" 2>/dev/null
        rm -f "$probe"
        echo "smoke: window 640x480 titled, Alt+F4 in the intro exit 0, intro skipped, mission started, Esc exit 0; screenshots in $shots"
        return 0
    fi
    play_a_little
    pause_game
    grow_window
    fullscreen_and_back
    shrink_and_minimise
    leave_with_escape
    nothing_saved
    damaged_campaign_told
    saved_campaign_continued
    new_campaign_replaces
    [[ $exe == *.exe ]] || settings_kept_over_restart
    local outro_note="no outro program given"
    if [ -n "$outro" ]; then
        stop_outro_with_sigterm "$outro"
        outro_note="SIGTERM in the outro exit 0"
    fi
    kill "$wm" 2>/dev/null
    rm -f "$probe"
    echo "smoke: window 640x480 titled, its class and icon checked, Alt+F4 in the intro exit 0, intro skipped, mission started, larva flown, picture doubled at 1280x960, fullscreen centred and back, one pixel and minimised survived, Esc exit 0, a damaged campaign told and kept, a won node continued after quitting, a new campaign saved with the old one kept, a setting kept over a restart, $outro_note; screenshots in $shots"
}
# xvfb-run is a POSIX shell script, which drops exported bash functions: hand the functions over as text.
xvfb-run -a -s "-screen 0 1920x1080x24" bash -c "$(declare -f); run_inside \"\$0\" \"\$1\" \"\$2\"" "$exe" "$shots" "$outro"
