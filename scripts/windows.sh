#!/usr/bin/env bash
# Builds the game for 64-bit Windows on Debian: the libraries first (scripts/foreign-libs.sh windows,
# built once, then taken from their cache), then the `windows` preset with Debian's MinGW-w64, then the
# downloads in build/windows/: the portable vevu-<version>-windows-x64.zip and the installer
# vevu-<version>-windows-x64-setup.exe. Fails when vevu.exe would need a DLL that Windows does not ship.
# Extra arguments go to the build (e.g. --target vevu_tests).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/cache.sh
install_missing nsis zip
prefix="$(scripts/foreign-libs.sh windows)"
# The game's sources, compiled once more for Windows: ccache, where present, keeps them for the next build.
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
    export CMAKE_C_COMPILER_LAUNCHER="${CMAKE_C_COMPILER_LAUNCHER:-ccache}"
    export CMAKE_CXX_COMPILER_LAUNCHER="${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}"
fi
build=build/windows
cmake --preset windows -DVEVU_WINDOWS_PREFIX="$prefix" >/dev/null
cmake --build --preset windows "$@"

# The DLLs every 64-bit Windows ships in System32; anything else would have to travel with the game.
windows_dlls="kernel32 user32 gdi32 winmm imm32 ole32 oleaut32 version setupapi shell32 advapi32 msvcrt cfgmgr32
    hid dinput8 xinput1_4 dxgi d3d9 d3d11 opengl32 ws2_32 uxtheme dwmapi shlwapi comdlg32"
imports="$(x86_64-w64-mingw32-objdump -p "$build/vevu.exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')"
[ -n "$imports" ] || { echo "windows: no import table in $build/vevu.exe" >&2; exit 1; }
for dll in $imports; do
    case " $(echo $windows_dlls) " in
    *" ${dll%.dll} "*) ;;
    *) echo "windows: vevu.exe imports $dll, which Windows does not ship" >&2; exit 1 ;;
    esac
done
echo "windows: vevu.exe imports only Windows' own DLLs:" $imports >&2

rm -f "$build"/vevu-*-windows-x64.zip "$build"/vevu-*-windows-x64-setup.exe
(cd "$build" && cpack -G ZIP >&2 && cpack -G NSIS >&2)
ls "$build"/vevu-*-windows-x64.zip "$build"/vevu-*-windows-x64-setup.exe
