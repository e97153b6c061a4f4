#!/usr/bin/env bash
# Shows how a frame a replay drew differs from the one it recorded: draws the frame at that second of
# game clock with the working tree and with a commit's code (the last commit by default, the code the
# replays were recorded with), and pictures the pixels that differ.
#
#   scripts/replay-frame.sh tests/replays/mission0.vrp 11.000 [COMMIT]
#
# Writes build/replay-failures/<replay>-<seconds>s-{drawn,recorded,diff}.png and prints how many pixels
# differ and where. The commit is built once, in build/recorded-<commit>/.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ $# -lt 2 || $# -gt 3 ]]; then
    echo "usage: $0 REPLAY SECONDS [COMMIT]" >&2
    exit 2
fi
replay="$(realpath -- "$1")" seconds="$2"
[[ -f "$replay" ]] || { echo "$1: no such replay" >&2; exit 2; }
[[ "$seconds" =~ ^[0-9]+(\.[0-9]+)?$ ]] || { echo "$seconds: not a number of seconds" >&2; exit 2; }
commit="$(git rev-parse --verify --quiet "${3:-HEAD}^{commit}")" || { echo "${3:-HEAD}: no such commit" >&2; exit 2; }
export SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=dummy
cmake --preset default >/dev/null
cmake --build --preset default --target vevu_replay >/dev/null
recorded="$PWD/build/recorded-${commit:0:12}"
if [[ ! -x "$recorded/build/default/vevu_replay" ]]; then
    rm -rf "$recorded" && mkdir -p "$recorded"
    git archive "$commit" | tar -x -C "$recorded"
    (cd "$recorded" && cmake --preset default >/dev/null && cmake --build --preset default --target vevu_replay >/dev/null)
fi
out=build/replay-failures
mkdir -p "$out"
stem="$out/$(basename "$replay" .vrp)-${seconds}s"
build/default/vevu_replay frame "$replay" "$seconds" "$stem-drawn.png"
"$recorded/build/default/vevu_replay" frame "$replay" "$seconds" "$stem-recorded.png"
build/default/vevu_replay diff "$stem-drawn.png" "$stem-recorded.png" "$stem-diff.png" || true
