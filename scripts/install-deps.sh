#!/usr/bin/env bash
# Installs the Debian packages needed to build and run the game (and with --test, to test it); does
# nothing when they are all present. Waits for another apt to finish rather than failing.
set -euo pipefail
packages=(
    build-essential cmake ninja-build pkg-config gettext
    libsdl2-dev libpng-dev zlib1g-dev libogg-dev libvorbis-dev libfreetype-dev
    # the CJK font, cut at build time to the characters the translations use
    fonts-unifont python3 python3-fonttools
)
for option in "$@"; do
    case "$option" in
    # The tests, the benchmarks and the real-window smoke test (scripts/test.sh).
    --test) packages+=(libgtest-dev googletest libbenchmark-dev python3 xvfb xauth xdotool x11-utils x11-xkb-utils imagemagick openbox) ;;
    # Only needed to regenerate assets/ from tools/assetgen/.
    --assets) packages+=(python3 python3-pil python3-numpy python3-fonttools vorbis-tools sox) ;;
    # Only needed to build the Debian package (scripts/package.sh) and check it (tests/package/check.sh).
    --package) packages+=(dpkg-dev file gzip lintian desktop-file-utils appstream man-db groff-base shared-mime-info) ;;
    # Only needed to fuzz the file readers (scripts/fuzz.sh): clang with libFuzzer and the sanitizers' runtimes.
    --fuzz) packages+=(clang libclang-rt-14-dev) ;;
    *) echo "install-deps: unknown option $option (--test, --assets, --package, --fuzz)" >&2; exit 2 ;;
    esac
done
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
apt=(env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600)
[ "$(id -u)" -ne 0 ] && apt=(sudo "${apt[@]}")
echo "Installing: ${missing[*]}"
"${apt[@]}" update -qq
"${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}"
