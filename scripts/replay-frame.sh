#!/usr/bin/env bash
# Shows how a frame a replay drew differs from the one it recorded: draws the frame at that second of
# game clock with the working tree and with a commit's code (the last commit by default, the code the
# replays were recorded with), and pictures the pixels that differ.
#
#   scripts/replay-frame.sh tests/replays/mission0.vrp 11.000 [COMMIT]
#   scripts/replay-frame.sh --page tests/replays/tasks.vrp 1.024
#
# Writes build/replay-failures/<replay>-<seconds>s-{drawn,recorded,diff}.png and prints how many pixels
# differ and where. The commit is built once, in build/recorded-<commit>/. With --page the frame the page
# draws (the WebAssembly build in headless chromium, as the web test plays the replays) is compared with
# the desktop's, both from the working tree: <replay>-<seconds>s-{page,desktop,diff}.png.
set -euo pipefail
cd "$(dirname "$0")/.."
page=false
if [[ "${1:-}" == "--page" ]]; then
    page=true
    shift
fi
if [[ $# -lt 2 || $# -gt 3 ]] || { $page && [[ $# -ne 2 ]]; }; then
    echo "usage: $0 REPLAY SECONDS [COMMIT] | $0 --page REPLAY SECONDS" >&2
    exit 2
fi
replay="$(realpath -- "$1")" seconds="$2"
[[ -f "$replay" ]] || { echo "$1: no such replay" >&2; exit 2; }
[[ "$seconds" =~ ^[0-9]+(\.[0-9]+)?$ ]] || { echo "$seconds: not a number of seconds" >&2; exit 2; }
commit="$(git rev-parse --verify --quiet "${3:-HEAD}^{commit}")" || { echo "${3:-HEAD}: no such commit" >&2; exit 2; }
export SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=dummy
cmake --preset default >/dev/null
cmake --build --preset default --target vevu_replay >/dev/null
out=build/replay-failures
mkdir -p "$out"
name="$(basename "$replay" .vrp)"
stem="$out/$name-${seconds}s"
if $page; then
    # The page packs the replays of tests/replays: the one asked for must be among them, as it is.
    if ! cmp -s "$replay" "tests/replays/$name.vrp"; then
        echo "$1: the page plays only the replays of tests/replays" >&2
        exit 2
    fi
    scripts/web.sh --target vevu_web_replay >/dev/null
    (cd web && npm ci --no-audit --no-fund --loglevel=error)
    node web/replay_frame.mjs build/web/replay "$name" "$seconds" "$stem-page.png"
    build/default/vevu_replay frame "$replay" "$seconds" "$stem-desktop.png"
    build/default/vevu_replay diff "$stem-page.png" "$stem-desktop.png" "$stem-diff.png" || true
    exit 0
fi
recorded="$PWD/build/recorded-${commit:0:12}"
if [[ ! -x "$recorded/build/default/vevu_replay" ]]; then
    rm -rf "$recorded" && mkdir -p "$recorded"
    git archive "$commit" | tar -x -C "$recorded"
    (cd "$recorded" && cmake --preset default >/dev/null && cmake --build --preset default --target vevu_replay >/dev/null)
fi
build/default/vevu_replay frame "$replay" "$seconds" "$stem-drawn.png"
"$recorded/build/default/vevu_replay" frame "$replay" "$seconds" "$stem-recorded.png"
build/default/vevu_replay diff "$stem-drawn.png" "$stem-recorded.png" "$stem-diff.png" || true
