#!/usr/bin/env bash
# A session played in a real window under Xvfb with the smoke test's keys (the intro skipped, the ship
# steered onto a node, a little play on the battlefield, Esc) is recorded in the player's replays folder
# (under VEVU_DATA_DIR, a folder of the test's own); `vevu FILE` then shows it. Both runs log every frame they
# show (VEVU_FRAME_LOG: the clock and a hash of the picture): every frame the replay shows at a clock the
# session showed is the same picture, and most of the session's frames are shown. Then Esc leaves the
# replay for the game's intro, and Alt+F4 ends the game with exit code 0. Screenshots of the replay with
# its line at the bottom are saved.
# Usage: replay_smoke.sh path/to/vevu [screenshot-dir]
set -uo pipefail
exe=$(realpath "$1")
shots=$(realpath -m "${2:-$(dirname "$exe")/replay-smoke}")
mkdir -p "$shots"
for tool in xvfb-run xdotool import compare openbox xprop; do
    command -v "$tool" >/dev/null || { echo "replay smoke: $tool missing" >&2; exit 1; }
done

run_inside() {
    set -u
    exe=$1 shots=$2 outro=""
    source "$3"
    pid="" win="" wm=""
    begin_steps # the player's files in $data
    start_window_manager
    VEVU_FRAME_LOG=$shots/played.log start_game
    skip_intro
    start_mission
    play_a_little
    leave_with_escape
    local replays=("$data"/replays/*.vrp)
    [ "${#replays[@]}" -eq 1 ] && [ -s "${replays[0]}" ] || fail "not one session in $data/replays: ${replays[*]}"
    last=$(tail -n 1 "$shots/played.log" | cut -d' ' -f1)
    VEVU_FRAME_LOG=$shots/watched.log start_game "$exe" "${replays[0]}"
    poll 30 "the replay's first frames" replay_running
    screenshot "$shots/replay.png"
    poll 300 "the replay shown to its last frame" replay_ended
    screenshot "$shots/replay-ended.png"
    xdotool key Escape
    poll 60 "intro on screen after the replay" screen_not_black
    alt_f4
    ended_with_zero "Alt+F4 after the replay"
    same_frames "$shots/played.log" "$shots/watched.log" || fail "the replay showed other frames"
    kill "$wm" 2>/dev/null
    rm -f "$probe"
}
replay_running() { [ -s "$shots/watched.log" ]; }
replay_ended() {
    local at
    at=$(tail -n 1 "$shots/watched.log" | cut -d' ' -f1)
    [ -n "$at" ] && [ "$at" -ge "$last" ]
}
# same_frames PLAYED WATCHED: no clock with two pictures, and at least half the played frames watched.
same_frames() {
    awk 'NR == FNR { played[$1] = $2; n++; next }
         ($1 in played) { if (played[$1] != $2) { print "replay smoke: at clock " $1 " the replay showed " $2 ", the session " played[$1] > "/dev/stderr"; bad++ } else same++ }
         END { printf "replay smoke: %d of the session'"'"'s %d frames shown again, the same\n", same, n > "/dev/stderr"; exit !(bad == 0 && same * 2 >= n) }' "$1" "$2"
}
# xvfb-run is a POSIX shell script, which drops exported bash functions: hand the functions over as text.
xvfb-run -a -s "-screen 0 1920x1080x24" bash -c "$(declare -f); run_inside \"\$0\" \"\$1\" \"\$2\"" \
    "$exe" "$shots" "$(realpath "$(dirname "$0")/steps.sh")"
