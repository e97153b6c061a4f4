#!/usr/bin/env bash
# Measures the processor time the game takes per second of wall clock in a real window under Xvfb
# (its loop plus Mesa's software rasteriser, every thread of the process): on the map screen, during
# play on the battlefield, and minimised. Several executables (say, builds before and after a change)
# are measured one after the other in the same run and shown side by side. A measurement for people,
# not a test: the figures depend on the machine and on what else runs on it.
# Usage: scripts/desktop-figures.sh [-s SECONDS] [EXE...]   (default: 10 s, build/default/vevu)
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
seconds=10
if [ "${1:-}" = -s ]; then
    seconds=$2
    shift 2
fi
[ $# -gt 0 ] || set -- build/default/vevu
exes=()
for exe in "$@"; do
    [ -x "$exe" ] || { echo "desktop-figures: $exe is not an executable" >&2; exit 2; }
    exes+=("$(realpath "$exe")")
done
for tool in xvfb-run xdotool import convert compare openbox xprop; do
    command -v "$tool" >/dev/null || { echo "desktop-figures: $tool missing (scripts/install-deps.sh --test installs it)" >&2; exit 1; }
done
shots=$(realpath -m build/desktop-figures)
mkdir -p "$shots"
# shellcheck source=tests/smoke/steps.sh
source tests/smoke/steps.sh

# Processor seconds per wall-clock second of the game's process over the given seconds.
cpu_share() {
    local ticks_per_s before after start end
    ticks_per_s=$(getconf CLK_TCK)
    before=$(awk '{print $14 + $15}' "/proc/$pid/stat") start=$(date +%s%N)
    sleep "$1"
    after=$(awk '{print $14 + $15}' "/proc/$pid/stat") end=$(date +%s%N)
    awk -v t=$((after - before)) -v hz="$ticks_per_s" -v ns=$((end - start)) 'BEGIN { printf "%.3f", t / hz / (ns / 1e9) }'
}

measure_inside() {
    set -u
    seconds=$1 shots=$2
    shift 2
    pid="" win="" wm=""
    begin_steps
    start_window_manager
    local rows=() map play hidden
    for exe in "$@"; do
        note "measuring $exe"
        start_game "$exe"
        skip_intro
        map=$(cpu_share "$seconds")
        start_mission
        poll 90 "larva or its egg beside the landed homebase" larva_seen
        play=$(cpu_share "$seconds")
        xdotool windowminimize "$win"
        poll 60 "window minimised" window_minimised
        hidden=$(cpu_share "$seconds")
        xdotool windowactivate "$win" 2>/dev/null
        poll 30 "keyboard focus on the window" window_focused
        xdotool key Escape
        poll 60 "end of the game after Esc" game_ended
        wait "$pid"
        pid=""
        rows+=("$(printf "| %s | %s | %s | %s |" "$exe" "$map" "$play" "$hidden")")
    done
    kill "$wm" 2>/dev/null
    rm -f "$probe"
    echo "Processor seconds per second of wall clock, $seconds s each, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg):"
    echo "| executable | map screen | play | minimised |"
    echo "|---|---|---|---|"
    printf "%s\n" "${rows[@]}"
}
xvfb-run -a -s "-screen 0 1920x1080x24" bash -c "$(declare -f); measure_inside \"\$@\"" measure "$seconds" "$shots" "${exes[@]}"
