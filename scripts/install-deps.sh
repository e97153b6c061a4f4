#!/usr/bin/env bash
# Installs the Debian packages needed to build, test and run the game; does nothing when they are all present.
set -euo pipefail
packages=(
    build-essential cmake ninja-build pkg-config
    libsdl2-dev libpng-dev zlib1g-dev libogg-dev libvorbis-dev libfreetype-dev
    libgtest-dev googletest libbenchmark-dev
    xvfb xauth xdotool x11-utils imagemagick
)
if [ "${1:-}" = "--assets" ]; then
    # Only needed to regenerate assets/ from tools/assetgen/.
    packages+=(python3 python3-pil python3-numpy python3-fonttools vorbis-tools sox)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
