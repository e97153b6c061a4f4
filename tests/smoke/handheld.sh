#!/usr/bin/env bash
# The handheld run: the shipped executable fullscreen on a 1280x800 screen under Xvfb (the picture at
# its whole-number size, 1x, in the middle), played with a pad alone: no key is typed until the last
# screen. The pad is one of SDL's virtual game controllers, plugged in by the game itself because
# VEVU_TEST_PAD names a file of pad steps, which the test appends to (press, release, tap, axis).
# First run: the intro, the campaign choice, the map, node 0 invaded, the battle paused and resumed,
# Back. Second run: the options opened with Start on the map, Beam bound to the left trigger (and so
# written in the settings file), the replays list from the options, the first session watched, back to
# the options, then one key typed there, and Back on the map ends the game. Every screen's picture is
# checked: no key cap (a key cap is a light #DCD4C0 box 16 px tall, which no pad picture has), and on
# the menus a pad button's picture; after the key the options show a key cap. The window is
# looked at, never the code's strings. Polled waits only.
# Usage: handheld.sh path/to/vevu [screenshot-dir]
set -uo pipefail
exe=$(realpath "$1")
shots=$(realpath -m "${2:-$(dirname "$exe")/handheld}")
mkdir -p "$shots"
for tool in xvfb-run xdotool import convert compare openbox xprop; do
    command -v "$tool" >/dev/null || { echo "handheld: $tool missing" >&2; exit 1; }
done
# shellcheck source=tests/smoke/steps.sh
source "$(dirname "$0")/steps.sh" # its screenshot is replaced below: the picture in the fullscreen window

run_inside() {
    set -u
    exe=$1 shots=$2 outro=""
    pid="" win="" wm=""
    begin_steps
    pads="$shots/pad-steps.txt"
    start_window_manager
    printf 'version = 1\nfullscreen = yes\nscaling = whole\n' >"$data/settings.txt"
    write_campaign_new "$data/campaign.sav"

    start_handheld
    poll 60 "intro on screen" screen_not_black
    keep intro
    poll 90 "the campaign choice after A in the intro" choice_after_a
    keep choice
    pad_prompts_only choice
    pad tap a # Continue
    poll 60 "the map after Continue" map_ship_seen
    poll 30 "the map's prompts" picture_still_as map
    pad_prompts_only map
    pad_steer_onto_node
    pad tap a
    z_typed_at=$SECONDS
    poll 120 "battlefield after A on node 0" pad_mission_started
    keep battlefield
    no_key_cap battlefield 640x300+0+80
    pad tap start
    rm -f "$shots/paused.png"
    poll 60 "a still picture after Start" picture_still
    no_key_cap paused 640x300+0+80
    pad tap start
    pad tap back
    ended_with_zero "Back during the mission"
    local replays=("$data"/replays/*.vrp)
    [ "${#replays[@]}" -ge 1 ] || fail "no session recorded in $data/replays"

    start_handheld
    poll 60 "intro on screen" screen_not_black
    poll 90 "the campaign choice after A in the intro" choice_after_a
    pad tap a
    poll 60 "the map after Continue" map_ship_seen
    pad tap start
    poll 30 "options screen after Start on the map" options_shown
    poll 30 "the options standing still" picture_still_as options
    pad_prompts_only options
    # Beam is the thirteenth line (after the replays, the sound, the display and Left to Fire); its pad
    # column is two steps right.
    for _ in $(seq 12); do pad tap dpdown; done
    pad tap dpright
    pad tap dpright
    pad tap a
    pad axis lefttrigger 32767
    pad axis lefttrigger 0
    pad tap b
    poll 30 "options closed after B" options_closed
    poll 30 "Beam on the left trigger in the settings file" grep -qx "pad_beam = L trigger" "$data/settings.txt"
    pad tap start
    poll 30 "options screen again" options_shown
    poll 30 "the options standing still" picture_still_as options-again
    pad_prompts_only options-again
    # One key typed (Down picks the next line): the hints become key caps; the d-pad puts them back.
    window_focused || fail "no keyboard focus for the key"
    xdotool key Down
    poll 30 "a key cap on the options after a key" key_cap_seen
    keep options-key
    pad tap dpup
    poll 30 "the options as before the key after the d-pad" like_before_key
    pad tap a # Replays, the first line
    poll 30 "the replays list" list_shown
    poll 30 "the replays list standing still" picture_still_as list
    pad_prompts_only list
    pad tap a
    poll 60 "the first session watched" picture_changed "$shots/list.png"
    keep viewer
    no_key_cap viewer
    # Back steps back, screen by screen, from the viewer to the map, where it ends the game.
    back_typed_at=0
    poll 90 "the end of the game after Back from the viewer to the map" back_until_ended
    wait "$pid"
    local code=$?
    [ "$code" -eq 0 ] || fail "exit code $code after Back on the map"
    pid=""
    kill "$wm" 2>/dev/null
    rm -f "$probe" "$shots/.still.png" "$shots/.area.png" "$shots/.whole.png"
    echo "handheld: fullscreen 1280x800, a pad alone through the intro, the campaign choice, the map, a mission, the pause, the options, Beam bound to the left trigger, the replays list and a session watched, Back exit 0 twice; no key cap until a key; screenshots in $shots"
}

pad() { echo "$*" >>"$pads"; }
fail() {
    [ -f "$probe" ] && cp "$probe" "$shots/failed.png"
    echo "handheld: $*" >&2
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    [ -n "$wm" ] && kill "$wm" 2>/dev/null
    exit 1
}
# The game's picture: the middle 640x480 of the fullscreen window, at 1x on a 1280x800 screen.
screenshot() {
    import -window "$win" "$shots/.whole.png" 2>/dev/null &&
        [ "$(identify -format %wx%h "$shots/.whole.png")" = 1280x800 ] &&
        convert "$shots/.whole.png" -crop 640x480+320+160 +repage "$1"
}
keep() { cp "$probe" "$shots/$1.png"; }
start_handheld() {
    : >"$pads"
    SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy VEVU_DATA_DIR="$data" VEVU_TEST_PAD="$pads" "$exe" 2>>"$shots/game.log" &
    pid=$!
    poll 60 "window titled 'The Vevu Zudevur'" window_ready
    poll 60 "the window fullscreen at 1280x800" window_is 1280x800
    poll 30 "the window focused (a pad is read only then)" window_focused
}
# A takes the intro's end; tapped again now and then in case one fell between screens.
choice_after_a() {
    continue_question && return 0
    if [ $((SECONDS - space_typed_at)) -ge 3 ]; then
        pad tap a
        space_typed_at=$SECONDS
    fi
    return 1
}
# picture_still_as NAME: two screenshots in a row agree, kept as NAME.png.
picture_still_as() {
    screenshot "$probe" || return 1
    [ -f "$shots/.still.png" ] && same_picture "$shots/.still.png" "$probe" && { keep "$1"; rm -f "$shots/.still.png"; return 0; }
    cp "$probe" "$shots/.still.png"
    return 1
}
# pixels_that_stay PICTURE COLOUR GEOMETRY: whether a block of GEOMETRY of COLOUR alone is in the picture.
block_of() {
    [ "$(convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -morphology Erode "Rectangle:$3" \
        -format "%[fx:maxima.intensity > 0]" info: 2>/dev/null)" = 1 ]
}
# A key cap's fill beside its name is 4 px wide and 16 tall; no pad picture has 3x12 of it.
has_key_cap() { block_of "$1" "#DCD4C0" 3x12; }
# A generic pad's button picture (the virtual pad is one: its buttons shown by place): a dark #20202C
# body in a grey #4A4F57 ring, which no menu shows otherwise.
has_pad_button() { block_of "$1" "#20202C" 4x4 && block_of "$1" "#4A4F57" 4x4; }
key_cap_seen() { screenshot "$probe" && has_key_cap "$probe"; }
# no_key_cap NAME [AREA]: in the whole picture, or in AREA of it (on the battlefield the moon above and the
# panels below are of the key caps' light colour; the homebase's and the zones' hints are in between).
no_key_cap() {
    convert "$shots/$1.png" -crop "${2:-640x480+0+0}" +repage "$shots/.area.png" || fail "cannot crop $1"
    has_key_cap "$shots/.area.png" && fail "$1: a key cap on screen with a pad alone"
    return 0
}
pad_prompts_only() {
    no_key_cap "$1"
    has_pad_button "$shots/$1.png" || fail "$1: no pad button on screen"
}
pad_steer_onto_node() {
    last_place="" stretch=1
    poll 120 "map ship on node 0" pad_ship_on_node
}
# The smoke test's closed loop, with the d-pad held instead of an arrow.
pad_ship_on_node() {
    local dx dy button d hold
    map_ship_seen || return 1
    dx=$((286 - ship_x)) dy=$((240 - ship_y))
    [ "$ship_x,$ship_y" != "$last_place" ] && stretch=1
    [ "$ship_x,$ship_y" = "$last_place" ] && [ "$stretch" -lt 16 ] && stretch=$((stretch * 2))
    last_place="$ship_x,$ship_y"
    [ ${dx#-} -le 3 ] && [ ${dy#-} -le 3 ] && return 0
    if [ ${dy#-} -gt 3 ]; then
        button=dpdown d=$dy
        [ "$dy" -lt 0 ] && button=dpup
    else
        button=dpright d=$dx
        [ "$dx" -lt 0 ] && button=dpleft
    fi
    hold=$(awk -v d="${d#-}" -v s="$stretch" 'BEGIN { t = d * 0.5 / 120; if (t < 0.02) t = 0.02; print t * s }')
    pad press $button
    sleep "$hold" # how long the thumb holds the d-pad, not a wait for the game
    pad release $button
    return 1
}
pad_mission_started() {
    battlefield_shown && return 0
    map_ship_seen || return 1
    local dx=$((286 - ship_x)) dy=$((240 - ship_y))
    if [ ${dx#-} -gt 3 ] || [ ${dy#-} -gt 3 ]; then
        pad_steer_onto_node
    elif [ $((SECONDS - z_typed_at)) -lt 5 ]; then
        return 1
    fi
    pad tap a
    z_typed_at=$SECONDS
    return 1
}
# The list shares the options' frame: it is seen when a tenth of the picture has changed, and no map ship.
differs_much() {
    local same
    same=$(compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1)
    [ "$(awk -v n="$same" 'BEGIN { printf "%d", n }')" -gt 15000 ]
}
list_shown() { screenshot "$probe" && differs_much "$shots/options-again.png" "$probe" && ! map_ship_seen; }
like_before_key() { screenshot "$probe" && same_picture "$probe" "$shots/options-again.png"; }
back_until_ended() {
    game_ended && return 0
    if [ $((SECONDS - back_typed_at)) -ge 2 ]; then
        pad tap back
        back_typed_at=$SECONDS
    fi
    return 1
}

# xvfb-run is a POSIX shell script, which drops exported bash functions: hand the functions over as text.
xvfb-run -a -s "-screen 0 1280x800x24" bash -c "$(declare -f); run_inside \"\$0\" \"\$1\"" "$exe" "$shots"
