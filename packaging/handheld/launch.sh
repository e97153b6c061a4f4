#!/bin/bash
# The Vevu Zudevur on a handheld, started from its port manager's Ports menu. The port manager's control
# file says where the ports live, which pad the system has and how to start its pad-to-key helper.
XDG_DATA_HOME=${XDG_DATA_HOME:-$HOME/.local/share}
if [ -d "/opt/system/Tools/PortMaster/" ]; then
    controlfolder="/opt/system/Tools/PortMaster"
elif [ -d "/opt/tools/PortMaster/" ]; then
    controlfolder="/opt/tools/PortMaster"
elif [ -d "$XDG_DATA_HOME/PortMaster/" ]; then
    controlfolder="$XDG_DATA_HOME/PortMaster"
else
    controlfolder="/roms/ports/PortMaster"
fi
# control.txt sets directory (where the ports folder lives), ESUDO, GPTOKEYB, sdl_controllerconfig, CFW_NAME
# and the functions get_controls, pm_platform_helper and pm_finish.
# shellcheck source=/dev/null
source "$controlfolder/control.txt"
# shellcheck source=/dev/null
[ -f "$controlfolder/mod_${CFW_NAME}.txt" ] && source "$controlfolder/mod_${CFW_NAME}.txt"
get_controls

# shellcheck disable=SC2154 # directory comes from control.txt
GAMEDIR="/$directory/ports/vevu"
cd "$GAMEDIR" || exit 1
: >"$GAMEDIR/log.txt" && exec > >(tee "$GAMEDIR/log.txt") 2>&1

# The saved campaign, the settings and the recorded sessions stay in the port's folder. The first start
# is fullscreen with the picture filling the screen; the options change it, and the change is kept.
export VEVU_DATA_DIR="$GAMEDIR/conf"
mkdir -p "$VEVU_DATA_DIR"
if [ ! -f "$VEVU_DATA_DIR/settings.txt" ]; then
    printf 'version = 1\nfullscreen = yes\nscaling = fill\n' >"$VEVU_DATA_DIR/settings.txt"
fi

# The system's mapping of its pad: the game reads the pad itself (A fire, B beam, Y as C, Start pause,
# Back quit), and the helper only ends the game on its exit buttons. A system that knows no mapping gets
# the pad as keys through vevu.gptk instead; the game would otherwise see every press twice.
export SDL_GAMECONTROLLERCONFIG="$sdl_controllerconfig"
$ESUDO chmod 666 /dev/uinput
if [ -n "$sdl_controllerconfig" ]; then
    $GPTOKEYB "vevu.aarch64" &
else
    $GPTOKEYB "vevu.aarch64" -c "$GAMEDIR/vevu.gptk" &
fi
pm_platform_helper "$GAMEDIR/vevu.aarch64"
./vevu.aarch64
pm_finish
