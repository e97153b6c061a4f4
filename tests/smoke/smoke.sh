#!/usr/bin/env bash
# Smoke test of the shipped executable in a real window under Xvfb: the window's title and size,
# a key that ends the intro, the map ship steered onto a node and Z, a little play on the
# battlefield (arrows and X held), then Esc, which must end the program with exit code 0 within a
# few seconds. Screenshots of the intro, the map and the battlefield are saved as PNG files.
# Usage: smoke.sh path/to/vevu [screenshot-dir]
set -uo pipefail
exe=$(realpath "$1")
shots=$(realpath -m "${2:-$(dirname "$exe")/smoke}")
mkdir -p "$shots"

for tool in xvfb-run xdotool import; do
    command -v "$tool" >/dev/null || { echo "smoke: $tool missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
done

run_inside() {
    set -u
    exe=$1 shots=$2
    fail() { echo "smoke: $*" >&2; kill -9 "$pid" 2>/dev/null; exit 1; }
    # The test environment asks SDL for its dummy drivers; here the game gets the real X server.
    start=$(date +%s%N)
    SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$exe" &
    pid=$!
    win=""
    for _ in $(seq 200); do
        win=$(xdotool search --name "^The Vevu Zudevur$" 2>/dev/null | head -n 1)
        [ -n "$win" ] && break
        kill -0 "$pid" 2>/dev/null || fail "the game ended before its window appeared"
        sleep 0.05
    done
    [ -n "$win" ] || fail "no window titled 'The Vevu Zudevur'"
    shown=$(date +%s%N)
    echo "smoke: window after $(((shown - start) / 1000000)) ms"
    geometry=$(xdotool getwindowgeometry "$win" | awk '/Geometry/ {print $2}')
    [ "$geometry" = "640x480" ] || fail "window is $geometry, not 640x480"
    # No window manager runs here: give the window the keyboard directly, then type as a person does
    # (XTEST key events, which every toolkit accepts).
    xdotool windowfocus --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
    sleep 1.5
    import -window root "$shots/intro.png"
    xdotool key space                  # a typed key ends the intro (0.67 s fade)
    # The map ship starts at (320, 80) and flies 120 px/s; node 0 "Infantry Staging Zone" lies at
    # (286, 240) and takes the ship when it is less than 7 px away on both axes. Held keys in real
    # time overshoot on a busy machine, so the ship is found on screenshots by its hull colour and
    # steered in shrinking holds, the first screenshot giving the offset of that colour.
    ship_box() {
        import -window root "$shots/.probe.png"
        convert "$shots/.probe.png" -fill black +opaque "#7A4EA8" -format "%@" info:
    }
    # The map fades in from black: wait until two screenshots in a row show the ship at one place.
    box="" previous=""
    for _ in $(seq 40); do
        box=$(ship_box 2>/dev/null)
        [[ $box =~ ^[1-9][0-9]*x[1-9][0-9]*\+([0-9]+)\+([0-9]+)$ ]] && [ "$box" = "$previous" ] && break
        previous=$box
        sleep 0.1
    done
    [[ $box =~ ^[1-9][0-9]*x[1-9][0-9]*\+([0-9]+)\+([0-9]+)$ ]] || fail "map ship not found on screen ($box)"
    offx=$((BASH_REMATCH[1] - 320)) offy=$((BASH_REMATCH[2] - 80))
    over=""
    for _ in $(seq 30); do
        box=$(ship_box 2>/dev/null)
        [[ $box =~ ^[1-9][0-9]*x[1-9][0-9]*\+([0-9]+)\+([0-9]+)$ ]] || fail "map ship lost ($box)"
        dx=$((286 - (BASH_REMATCH[1] - offx))) dy=$((240 - (BASH_REMATCH[2] - offy)))
        echo "smoke: map ship at $((BASH_REMATCH[1] - offx)),$((BASH_REMATCH[2] - offy))" >&2
        if [ ${dx#-} -le 3 ] && [ ${dy#-} -le 3 ]; then over=yes; break; fi
        if [ ${dy#-} -gt 3 ]; then
            key=Down d=$dy; [ "$dy" -lt 0 ] && key=Up
        else
            key=Right d=$dx; [ "$dx" -lt 0 ] && key=Left
        fi
        d=${d#-}
        # Half the way (120 px/s), at least one frame's worth.
        xdotool keydown $key; sleep "$(awk -v d="$d" 'BEGIN { t = d * 0.5 / 120; if (t < 0.02) t = 0.02; print t }')"
        xdotool keyup $key
    done
    [ -n "$over" ] || fail "could not bring the map ship onto node 0"
    rm -f "$shots/.probe.png"
    import -window root "$shots/map.png"
    xdotool key z
    sleep 5                            # the homebase lands (2.9 s) and the larva hatches (1 s)
    xdotool keydown Right; sleep 0.6; xdotool keyup Right
    xdotool keydown Up Right; sleep 0.8; xdotool keyup Up Right
    xdotool keydown x Left; sleep 1.5
    import -window root "$shots/battlefield.png"
    xdotool keyup x Left
    kill -0 "$pid" 2>/dev/null || fail "the game ended before Esc"
    # The map screen was left: the battlefield shares hardly a pixel with the map.
    same=$(compare -metric AE "$shots/map.png" "$shots/battlefield.png" null: 2>&1 | cut -d' ' -f1)
    differing=$(awk -v n="$same" 'BEGIN { printf "%d", n }')
    [ "$differing" -gt 150000 ] || fail "the battlefield screenshot looks like the map ($differing pixels differ): Z did not start a mission"
    xdotool key Escape
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "still running 5 s after Esc"
    wait "$pid"
    code=$?
    [ "$code" -eq 0 ] || { echo "smoke: exit code $code" >&2; exit 1; }
    echo "smoke: window 640x480 titled, intro skipped, mission started, Esc exit 0; screenshots in $shots"
}
# xvfb-run is a POSIX shell script, which drops exported bash functions: hand the function over as text.
xvfb-run -a -s "-screen 0 640x480x24" bash -c "$(declare -f run_inside); run_inside \"\$0\" \"\$1\"" "$exe" "$shots"
