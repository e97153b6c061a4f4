# The steps of the real-window tests, sourced by tests/smoke/smoke.sh and scripts/desktop-figures.sh:
# they drive the game under Xvfb with xdotool and look at it with ImageMagick. They expect exe (the
# game), shots (a folder for pictures), and pid, win and wm (empty until known) to be set, and
# begin_steps to be called first. The game keeps the player's files in $data (VEVU_DATA_DIR), a folder
# of the test's own, never in the player's.
begin_steps() {
    probe="$shots/.probe.png"
    ship_x="" ship_y="" green_top="" space_typed_at=0 z_typed_at=0
    data="$shots/player-files"
    rm -rf "$data"
    mkdir -p "$data"
    : >"$shots/game.log"
}
fail() {
    echo "smoke: $*" >&2
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    [ -n "$wm" ] && kill "$wm" 2>/dev/null
    exit 1
}
note() { echo "smoke: $*" >&2; }
# The game's window alone, whatever its size and wherever the window manager put it.
screenshot() { import -window "$win" "$1" 2>/dev/null; }

# poll LIMIT WHAT COMMAND...: runs COMMAND until it succeeds; fails after LIMIT seconds or when
# the game has ended meanwhile.
poll() {
    local limit=$1 what=$2
    shift 2
    local until=$((SECONDS + limit))
    until "$@"; do
        [ -z "$pid" ] || kill -0 "$pid" 2>/dev/null || fail "the game ended while waiting for $what"
        [ "$SECONDS" -lt "$until" ] || fail "no $what within $limit s"
        sleep 0.1
    done
}

# A window titled as the game, whose geometry can be read (a window SDL replaces while it sets
# up is looked for again).
window_ready() {
    win=$(xdotool search --name "^The Vevu Zudevur$" 2>/dev/null | tail -n 1)
    [ -n "$win" ] || return 1
    geometry=$(xdotool getwindowgeometry "$win" 2>/dev/null | awk '/Geometry/ {print $2}')
    [ -n "$geometry" ]
}
# Give the window the keyboard, then type as a person does (XTEST key events, which every
# toolkit accepts).
window_focused() {
    window_ready || return 1
    timeout 5 xdotool windowfocus "$win" 2>/dev/null
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$win" ]
}
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
start_window_manager() {
    openbox --sm-disable >/dev/null 2>&1 &
    wm=$!
    poll 60 "window manager" wm_running
}

# start_game [EXE [ARGUMENTS...]]: the game (or another program that opens the game's window) started and
# focused.
start_game() {
    local start shown
    start=$(date +%s%N)
    # The test environment asks SDL for its dummy drivers; here the game gets the real X server.
    if [[ ${1:-$exe} == *.exe ]]; then
        # The Windows program under Wine, whose desktop belongs to the display its server started with: a
        # server left from before this X server would leave the game no window to open. The game looks
        # for a sound device as on Windows: on a machine without one (CI) it must play silently.
        wineserver -k 2>/dev/null
        wineserver -w 2>/dev/null
        env -u SDL_AUDIODRIVER SDL_VIDEODRIVER=windows WINEDEBUG=-all VEVU_DATA_DIR="$(winepath -w "$data" 2>/dev/null)" \
            wine "${1:-$exe}" "${@:2}" 2>>"$shots/game.log" &
    else
        SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy VEVU_DATA_DIR="$data" "${1:-$exe}" "${@:2}" 2>>"$shots/game.log" &
    fi
    pid=$!
    poll 60 "window titled 'The Vevu Zudevur'" window_ready
    shown=$(date +%s%N)
    note "window after $(((shown - start) / 1000000)) ms"
    [ "$geometry" = "640x480" ] || fail "window is $geometry, not 640x480"
    poll 30 "keyboard focus on the window" window_focused
}

# The intro draws a starfield on black: it is running once the screen is not all black (a key
# typed while the game still loads is discarded when the intro starts).
screen_not_black() {
    screenshot "$probe" &&
        [ "$(convert "$probe" -format "%[fx:maxima.intensity > 0]" info: 2>/dev/null)" = 1 ]
}
# The map ship: the one 26 x 10 box of its hull colour #7A4EA8 (hull columns 0-12, rows 4-8 of
# its 13 x 10 picture, anchored at (6, 5), drawn at scale 2). The intro's ships share the colour
# but come by the dozen, and the fade-in blends it away, so only the map in full view matches.
map_ship_seen() {
    local box
    screenshot "$probe" || return 1
    box=$(convert "$probe" -fill black +opaque "#7A4EA8" -format "%@" info: 2>/dev/null)
    [[ $box =~ ^2[5-7]x(9|10|11)\+([0-9]+)\+([0-9]+)$ ]] || return 1
    ship_x=$((BASH_REMATCH[2] + 12)) ship_y=$((BASH_REMATCH[3] + 2))
}
intro_ended() {
    map_ship_seen && return 0
    # One key ends the intro; another is typed now and then in case one fell between screens.
    if [ $((SECONDS - space_typed_at)) -ge 3 ]; then
        xdotool key space
        space_typed_at=$SECONDS
    fi
    return 1
}
skip_intro() {
    poll 60 "intro on screen" screen_not_black
    cp "$probe" "$shots/intro.png"
    poll 90 "map screen after the intro" intro_ended
}

# Node 0 "Infantry Staging Zone" lies at (286, 240) and takes the ship when it is less than 7 px
# away on both axes; the ship flies 120 px/s while an arrow is held. A closed loop: each hold
# covers half the distance left, overshoot is corrected by the next, and a hold that moved
# nothing (the game too busy to see the key) is made longer.
ship_on_node() {
    local dx dy key d hold
    map_ship_seen || return 1
    dx=$((286 - ship_x)) dy=$((240 - ship_y))
    [ "$ship_x,$ship_y" != "$last_place" ] && stretch=1
    [ "$ship_x,$ship_y" = "$last_place" ] && [ "$stretch" -lt 16 ] && stretch=$((stretch * 2))
    last_place="$ship_x,$ship_y"
    note "map ship at $ship_x,$ship_y"
    [ ${dx#-} -le 3 ] && [ ${dy#-} -le 3 ] && return 0
    if [ ${dy#-} -gt 3 ]; then
        key=Down d=$dy
        [ "$dy" -lt 0 ] && key=Up
    else
        key=Right d=$dx
        [ "$dx" -lt 0 ] && key=Left
    fi
    hold=$(awk -v d="${d#-}" -v s="$stretch" 'BEGIN { t = d * 0.5 / 120; if (t < 0.02) t = 0.02; print t * s }')
    xdotool keydown $key sleep "$hold" keyup $key
    return 1
}
steer_onto_node() {
    last_place="" stretch=1
    poll 120 "map ship on node 0" ship_on_node
}

# The map screen is left: the battlefield shares hardly a pixel with the map.
battlefield_shown() {
    local same differing
    screenshot "$probe" || return 1
    same=$(compare -metric AE "$shots/map.png" "$probe" null: 2>&1 | cut -d' ' -f1)
    differing=$(awk -v n="$same" 'BEGIN { printf "%d", n }')
    [ "$differing" -gt 150000 ]
}
# Z on the node starts the mission. Z typed again after a while, and the ship steered back
# should it have drifted off the node before the game saw the key.
mission_started() {
    battlefield_shown && return 0
    map_ship_seen || return 1
    local dx=$((286 - ship_x)) dy=$((240 - ship_y))
    if [ ${dx#-} -gt 3 ] || [ ${dy#-} -gt 3 ]; then
        steer_onto_node
    elif [ $((SECONDS - z_typed_at)) -lt 5 ]; then
        return 1
    fi
    xdotool key z
    z_typed_at=$SECONDS
    return 1
}
start_mission() {
    steer_onto_node
    cp "$probe" "$shots/map.png"
    xdotool key z
    z_typed_at=$SECONDS
    poll 120 "battlefield after Z on node 0" mission_started
}

# The larva's light green #8BE04E (also in its egg) in the middle of the battlefield, where the
# camera keeps the larva; green_top is the highest row that shows it.
larva_seen() {
    local box
    screenshot "$probe" || return 1
    box=$(convert "$probe" -crop 240x360+200+0 +repage -fill black +opaque "#8BE04E" \
        -format "%@" info: 2>/dev/null)
    [[ $box =~ ^[1-9][0-9]*x[1-9][0-9]*\+[0-9]+\+([0-9]+)$ ]] || return 1
    green_top=${BASH_REMATCH[1]}
}
# Standing on the ground line (y 350) the larva is 46 px tall and its egg 66 px: green above
# y 260 means the larva has hatched and flies.
larva_flies() { larva_seen && [ "$green_top" -lt 260 ]; }
scrolled_away() {
    screenshot "$probe" || return 1
    local same
    same=$(compare -metric AE "$shots/.before.png" "$probe" null: 2>&1 | cut -d' ' -f1)
    [ "$(awk -v n="$same" 'BEGIN { printf "%d", n }')" -gt 20000 ]
}
play_a_little() {
    # The homebase lands (2.9 s) and the larva hatches beside it (1 s).
    poll 90 "larva or its egg beside the landed homebase" larva_seen
    xdotool keydown Up
    poll 60 "larva flying up" larva_flies
    xdotool keyup Up
    # X and Left held: the larva spits while the battlefield scrolls by.
    screenshot "$shots/.before.png" || fail "no screenshot"
    xdotool keydown x Left
    poll 60 "battlefield scrolling" scrolled_away
    cp "$probe" "$shots/battlefield.png"
    xdotool keyup x Left
    rm -f "$shots/.before.png"
}

# The window grown, fullscreen and back, with the game paused so that the picture holds still.
same_picture() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1)" = 0 ]; }
# The same picture as one taken a while ago, give or take one pixel in a hundred: a message on the
# battlefield may time out while the game is paused, and its line of text is all that changes.
like_picture() {
    local size differing
    size=$(identify -format "%wx%h" "$1" 2>/dev/null) || return 1
    [ "$size" = "$(identify -format "%wx%h" "$2" 2>/dev/null)" ] || return 1
    differing=$(compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1)
    [[ $differing =~ ^[0-9.e+]+$ ]] || return 1
    [ "$(awk -v n="$differing" -v s="${size/x/*}" 'BEGIN { split(s, d, "*"); print (n <= d[1] * d[2] / 100) }')" = 1 ]
}
# Every pixel of the picture is a 2x2 block: sampled down to half and up again, it is itself.
in_blocks_of_two() {
    convert "$1" -sample 50% -sample 200% "$shots/.double.png" && same_picture "$shots/.double.png" "$1"
}
window_geometry() { xdotool getwindowgeometry "$win" 2>/dev/null | awk '/Geometry/ {print $2}'; }
window_position() { xdotool getwindowgeometry "$win" 2>/dev/null | awk '/Position/ {print $2}'; }
# Two screenshots in a row agree: the floating numbers have faded and nothing moves.
picture_still() {
    screenshot "$probe" || return 1
    [ -f "$shots/paused.png" ] && same_picture "$shots/paused.png" "$probe" && return 0
    cp "$probe" "$shots/paused.png"
    return 1
}
# P typed on a Russian layout, where the key in P's place types Cyrillic ze: the game takes a key
# without a Latin letter by its place. The layout goes back to English once the game has paused.
# Wine reads the keyboard's layout once, when it starts: there the game is paused with P itself.
pause_game() {
    rm -f "$shots/paused.png"
    if [[ $exe == *.exe ]]; then
        xdotool key p
        poll 60 "a still picture after P" picture_still
        return
    fi
    setxkbmap ru || fail "cannot switch the keyboard to a Russian layout"
    xdotool key Cyrillic_ze
    poll 60 "a still picture after the key in P's place on a Russian layout" picture_still
    setxkbmap us
}
# Every pixel of the 640x480 picture is a 2x2 block at 1280x960 (one art pixel, drawn at scale 2,
# 4x4 screen pixels): sampled down to half it is the paused picture, and sampled up again it is
# this screenshot, which a smoothed or shifted picture is not.
picture_doubled() {
    [ "$(window_geometry)" = 1280x960 ] || return 1
    screenshot "$probe" || return 1
    in_blocks_of_two "$probe" && convert "$probe" -sample 50% "$shots/.half.png" &&
        like_picture "$shots/.half.png" "$shots/paused.png"
}
grow_window() {
    xdotool windowsize "$win" 1280 960
    poll 60 "picture doubled in the 1280x960 window" picture_doubled
    cp "$probe" "$shots/window-1280x960.png"
}
# Fullscreen on the 1920x1080 screen: the doubled picture in the middle, 320 px of black left and
# right of it and 60 px above and below.
fullscreen_centred() {
    [ "$(window_geometry)" = 1920x1080 ] && [ "$(window_position)" = 0,0 ] || return 1
    screenshot "$probe" || return 1
    convert "$probe" -crop 1280x960+320+60 +repage "$shots/.middle.png" &&
        in_blocks_of_two "$shots/.middle.png" && like_picture "$shots/.middle.png" "$shots/window-1280x960.png" &&
        [ "$(convert "$probe" -fill black -draw "rectangle 320,60 1599,1019" \
            -format "%[fx:maxima.intensity > 0]" info: 2>/dev/null)" = 0 ]
}
window_again() {
    [ "$(window_geometry)" = 1280x960 ] || return 1
    screenshot "$probe" && in_blocks_of_two "$probe" && like_picture "$probe" "$shots/window-1280x960.png"
}
fullscreen_and_back() {
    xdotool key F11
    poll 60 "fullscreen with the picture centred" fullscreen_centred
    cp "$probe" "$shots/fullscreen.png"
    xdotool key F11
    poll 60 "the 1280x960 window again after F11" window_again
    rm -f "$shots/.half.png" "$shots/.double.png" "$shots/.middle.png"
}

# A window shrunk to one pixel, then minimised, shows nothing and the game goes on (each poll also
# checks that it still runs); given its size back, it shows the paused picture again.
window_is() { [ "$(window_geometry)" = "$1" ]; }
window_minimised() { xprop -id "$win" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_HIDDEN; }
picture_back() { window_is 640x480 && screenshot "$probe" && like_picture "$probe" "$shots/paused.png"; }
shrink_and_minimise() {
    xdotool windowsize "$win" 1 1
    poll 60 "window of one pixel" window_is 1x1
    xdotool windowminimize "$win"
    poll 60 "window minimised" window_minimised
    xdotool windowactivate "$win" 2>/dev/null
    xdotool windowsize "$win" 640 480
    poll 60 "the paused picture in the 640x480 window again" picture_back
    poll 30 "keyboard focus on the window" window_focused
}

game_ended() { ! kill -0 "$pid" 2>/dev/null; }
leave_with_escape() {
    local code
    game_ended && fail "the game ended before Esc"
    xdotool key Escape
    poll 60 "end of the game after Esc" game_ended
    wait "$pid"
    code=$?
    [ "$code" -eq 0 ] || fail "exit code $code"
}

# The window belongs to its menu entry: its class is the entry's id and it carries the game's icon
# (under Wine, the class is the program's name, and the icon comes at Windows' sizes for a window).
check_window_identity() {
    local class size=64
    class=$(xprop -id "$win" WM_CLASS 2>/dev/null)
    if [[ $exe == *.exe ]]; then
        [[ $class == *'"vevu.exe", "vevu.exe"'* ]] || fail "window class: $class"
        size=32
    else
        [[ $class == *'"org.vevuzudevur.Vevu", "org.vevuzudevur.Vevu"'* ]] || fail "window class: $class"
    fi
    # SDL sets the icon once the window exists: a loaded machine may show the window before it.
    poll 30 "${size}x$size icon on the window" window_has_icon "$size"
}
window_has_icon() { xprop -id "$win" _NET_WM_ICON 2>/dev/null | grep -q "Icon ($1 x $1)"; }

# ended_with_zero WHAT: the game has ended, or ends within a generous limit, with exit code 0.
ended_with_zero() {
    local code
    poll 60 "end of the game after $1" game_ended
    wait "$pid"
    code=$?
    [ "$code" -eq 0 ] || fail "exit code $code after $1"
    pid=""
}

# Alt+F4 has the window manager ask the window to close, as its close button does: during the intro,
# which waits for a key at its title, the game ends at once.
# The window manager closes the window it holds active, which it learns of after X has given the window
# the focus: Alt+F4 typed in between closes nothing.
held_active_by_window_manager() {
    window_ready || return 1
    timeout 5 xdotool windowactivate "$win" 2>/dev/null
    xprop -root _NET_ACTIVE_WINDOW 2>/dev/null | grep -qi "# $(printf '0x%x' "$win")\$"
}
# Alt+F4, as the player types it.
alt_f4() {
    poll 30 "the window manager holding the game's window active" held_active_by_window_manager
    xdotool key alt+F4
}
close_during_intro() {
    start_game
    check_window_identity
    poll 60 "intro on screen" screen_not_black
    alt_f4
    ended_with_zero "Alt+F4 in the intro"
}

# SIGTERM, as a desktop sends it at log-out, during the outro (which never ends by itself): the
# program given opens the game's window straight on the outro, since the game itself reaches it only
# by winning the last mission.
stop_outro_with_sigterm() {
    start_game "$1"
    poll 60 "outro on screen" screen_not_black
    kill -TERM "$pid"
    ended_with_zero "SIGTERM in the outro"
}

# The map with the ship on its node as the Linux program showed it, when its screenshots are given in
# VEVU_SMOKE_REFERENCE (the ship may stand a few pixels apart, and the map's lights may be at another
# moment: one pixel in a hundred may differ).
like_linux() {
    [ -n "${VEVU_SMOKE_REFERENCE:-}" ] || return 0
    like_picture "$shots/map.png" "$VEVU_SMOKE_REFERENCE/map.png" ||
        fail "the map differs from the Linux program's in more than one pixel in a hundred"
    note "the map looks as the Linux program's"
}

# The player's files from one start to the next. The saved campaign as the game writes it: "VEVUFILE",
# version 1, length 5, the CRC-32, then one byte per mission node (1 closed) and one of traits; with
# "Infantry Staging Zone" (node 0) won, and a new campaign's.
# (Functions, not variables: smoke.sh hands the steps to xvfb-run's shell as functions only.)
write_campaign_node0_won() { printf '\126\105\126\125\106\111\114\105\001\000\000\000\005\000\000\000\271\302\016\274\001\000\000\001\000' >"$1"; }
write_campaign_new() { printf '\126\105\126\125\106\111\114\105\001\000\000\000\005\000\000\000\011\353\156\201\000\000\000\001\000' >"$1"; }
same_file() { cmp -s "$1" "$2" || fail "$3"; }
# (Sessions are recorded in replays/ all the same, and vevu.lock holds the folder while the game runs.)
nothing_saved() {
    [ -z "$(ls -A "$data" | grep -vx -e replays -e vevu.lock)" ] || fail "a campaign nobody changed was saved: $(ls "$data")"
}
# The notice line: yellow text at the bottom of the picture.
notice_shown() {
    screenshot "$probe" &&
        [ "$(convert "$probe" -crop 640x40+0+440 +repage -fill black +opaque "#FFFF60" \
            -format "%[fx:maxima.intensity > 0]" info: 2>/dev/null)" = 1 ]
}
# The question after the intro: its green first line centred, as wide as its words ("A campaign is
# saved" about 142 px at scale 2, "Replace the saved campaign?" about 206), the answer picked in white.
question_shown() {
    local box width
    screenshot "$probe" || return 1
    box=$(convert "$probe" -crop 640x24+0+116 +repage -fill black +opaque "#00FF00" -format "%@" info: 2>/dev/null)
    [[ $box =~ ^([0-9]+)x[0-9]+\+([0-9]+)\+ ]] || return 1
    width=${BASH_REMATCH[1]}
    local middle=$((BASH_REMATCH[2] + width / 2 - 320))
    [ ${middle#-} -le 4 ] && [ "$width" -ge "$1" ] && [ "$width" -le "$2" ] || return 1
    [ "$(convert "$probe" -crop 640x30+0+226 +repage -fill black +opaque white -format "%[fx:maxima.intensity > 0]" info: 2>/dev/null)" = 1 ]
}
continue_question() { question_shown 130 155; }
# Down typed now and then until the second answer is the one picked (white, in the line below the first),
# as the intro's letter is: under Wine a Down typed as the question first showed went unanswered.
down_typed_at=0
second_answer_picked() {
    screenshot "$probe" || return 1
    [ "$(convert "$probe" -crop 640x30+0+266 +repage -fill black +opaque white -format "%[fx:maxima.intensity > 0]" info: 2>/dev/null)" = 1 ] && return 0
    if [ $((SECONDS - down_typed_at)) -ge 3 ]; then
        xdotool key Down
        down_typed_at=$SECONDS
    fi
    return 1
}
replace_question() { question_shown 195 220; }
# A typed letter ends the intro (the question takes no letter), typed now and then until it is asked.
question_after_intro() {
    continue_question && return 0
    if [ $((SECONDS - space_typed_at)) -ge 3 ]; then
        xdotool key q
        space_typed_at=$SECONDS
    fi
    return 1
}
# Node 0 on the map: its open picture is light green #8BE04E, its closed one grey #6D747D.
node0_is() {
    local colour="#8BE04E"
    [ "$1" = closed ] && colour="#6D747D"
    screenshot "$probe" &&
        [ "$(convert "$probe" -crop 40x40+266+220 +repage -fill black +opaque "$colour" \
            -format "%[fx:maxima.intensity > 0]" info: 2>/dev/null)" = 1 ]
}

# A saved campaign that is no saved campaign: the game says so in the notice line (and on stderr),
# starts a new campaign without asking, and leaves the file as it was.
damaged_campaign_told() {
    printf 'not a saved campaign' >"$data/campaign.sav"
    start_game
    # The line shows for 6 s from the intro's start: under Wine, whose window takes seconds to get the
    # keyboard, only the file left as it was is checked (and vevu.exe has no console for stderr).
    if [[ $exe != *.exe ]]; then
        poll 60 "the notice line about the damaged campaign" notice_shown
        cp "$probe" "$shots/notice.png"
        grep -q "The saved campaign is damaged" "$shots/game.log" || fail "no word of the damaged campaign on stderr"
    fi
    space_typed_at=0
    poll 90 "map screen after the intro, no question" intro_ended
    leave_with_escape
    [ "$(cat "$data/campaign.sav")" = "not a saved campaign" ] || fail "the damaged campaign was not left as it was"
    rm -f "$data/campaign.sav"
}
# A campaign with node 0 won: "Continue" after the intro, and the map shows node 0 closed.
saved_campaign_continued() {
    write_campaign_node0_won "$data/campaign.sav"
    write_campaign_node0_won "$shots/.won.sav"
    start_game
    poll 60 "intro on screen" screen_not_black
    space_typed_at=0
    poll 90 "the question Continue or New campaign after the intro" question_after_intro
    cp "$probe" "$shots/continue.png"
    xdotool key Return
    poll 60 "the map with node 0 closed" node0_is closed
    cp "$probe" "$shots/map-continued.png"
    leave_with_escape
    same_file "$data/campaign.sav" "$shots/.won.sav" "continuing changed the saved campaign"
}
# Started again: "New campaign", asked once more, "Yes": node 0 is open, the new campaign is saved, and the
# old one is kept as the backup and in campaign-replaced.sav.
new_campaign_replaces() {
    start_game
    poll 60 "intro on screen" screen_not_black
    space_typed_at=0
    poll 90 "the question after the intro" question_after_intro
    down_typed_at=0
    poll 60 "the second answer picked" second_answer_picked
    xdotool key Return
    poll 60 "the question whether to replace the saved campaign" replace_question
    cp "$probe" "$shots/replace.png"
    down_typed_at=0
    poll 60 "the second answer picked" second_answer_picked
    xdotool key Return
    poll 60 "the map with node 0 open" node0_is open
    leave_with_escape
    write_campaign_new "$shots/.new.sav"
    same_file "$data/campaign.sav" "$shots/.new.sav" "the new campaign was not saved"
    same_file "$data/campaign.sav.bak" "$shots/.won.sav" "the replaced campaign is not the backup"
    same_file "$data/campaign-replaced.sav" "$shots/.won.sav" "the replaced campaign was not kept"
    rm -f "$shots/.won.sav" "$shots/.new.sav"
}

# The settings, in a folder of their own so that the campaign's steps find theirs as they left it: a
# damaged settings file is said to be so and left alone while the game plays; the effects volume changed
# on the options screen (P on the map) is written when the screen closes (the damaged file set aside
# first) and holds when the game is started again.
settings_file="" garbage=""
# The options panel's magenta edge where the map shows none.
options_shown() {
    screenshot "$probe" || return 1
    [ "$(convert "$probe" -crop 1x1+39+240 -format "%[hex:p{0,0}]" info: 2>/dev/null)" = E04EA8 ]
}
options_closed() { screenshot "$probe" && ! options_shown; }
picture_changed() { screenshot "$probe" && ! same_picture "$probe" "$1"; }
settings_written() { [ -f "$settings_file" ] && [ "$(stat -c %i "$settings_file")" != "$1" ]; }
# P on the map opens the options; KEYS are typed there, then Esc closes them and the file is written anew.
change_options() {
    local before
    before=$(stat -c %i "$settings_file" 2>/dev/null)
    xdotool key p
    poll 30 "options screen after P on the map" options_shown
    if [ -n "$1" ]; then
        cp "$probe" "$shots/.options-opened.png"
        xdotool key $1
        poll 30 "the options screen changed by $1" picture_changed "$shots/.options-opened.png"
        cp "$probe" "$shots/options.png"
    fi
    xdotool key Escape
    poll 30 "options closed after Esc" options_closed
    poll 30 "settings written when the options closed" settings_written "$before"
}
settings_kept_over_restart() {
    data="$shots/player-settings"
    rm -rf "$data"
    mkdir -p "$data"
    settings_file="$data/settings.txt" garbage="$shots/.garbage.bin"
    head -c 300 /dev/urandom >"$garbage"
    cp "$garbage" "$settings_file"
    : >"$shots/game.log"
    start_game
    skip_intro
    grep -q "settings file" "$shots/game.log" || fail "nothing said of the damaged settings file"
    cmp -s "$garbage" "$settings_file" || fail "the damaged settings file was changed"
    change_options "Down Down Left" # the third entry (after the replays and the music), the effects volume: 90 %
    grep -qx "effects_volume = 90" "$settings_file" || fail "settings file: $(tr '\n' '|' <"$settings_file")"
    cmp -s "$garbage" "$settings_file.damaged" || fail "the damaged settings file was not set aside as it was"
    leave_with_escape
    start_game
    skip_intro
    change_options "" # closed unchanged: what the game read is written again
    grep -qx "effects_volume = 90" "$settings_file" || fail "the effects volume did not hold over a restart"
    leave_with_escape
}
