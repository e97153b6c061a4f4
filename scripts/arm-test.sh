#!/usr/bin/env bash
# The game built for 64-bit ARM (aarch64) and tested under qemu-aarch64, as CI runs it: the unit and
# scenario tests, every replay of tests/replays (which must give the digests recorded on x86_64) and the
# README's screenshots (which must be the x86_64 program's bytes). Debian's cross compiler builds against
# Debian's arm64 libraries, installed beside the machine's own (multiarch); ccache keeps the compiled game.
# Extra arguments go to ctest (e.g. -R replay_).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/cache.sh
if ! dpkg --print-foreign-architectures | grep -qx arm64; then
    echo "arm test: adding the arm64 architecture to dpkg, for Debian's arm64 libraries" >&2
    $sudo dpkg --add-architecture arm64
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
fi
install_missing g++-aarch64-linux-gnu qemu-user pkgconf libsdl2-dev:arm64 libpng-dev:arm64 zlib1g-dev:arm64 \
    libogg-dev:arm64 libvorbis-dev:arm64 libfreetype-dev:arm64 libgtest-dev:arm64
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
    export CMAKE_C_COMPILER_LAUNCHER="${CMAKE_C_COMPILER_LAUNCHER:-ccache}"
    export CMAKE_CXX_COMPILER_LAUNCHER="${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}"
fi
export SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=dummy
build=build/aarch64
cmake --preset aarch64 >/dev/null
cmake --build --preset aarch64
machine="$(readelf -h "$build/vevu" | sed -n 's/^ *Machine: *//p')"
[ "$machine" = AArch64 ] || { echo "arm test: $build/vevu is built for '$machine', not AArch64" >&2; exit 1; }
started=$SECONDS
ctest --preset aarch64 -j2 "$@"
echo "arm test: the tests took $((SECONDS - started)) s under qemu-aarch64" >&2
# The README's screenshots drawn by both programs: the same pixels, byte for byte.
cmake --preset default >/dev/null
cmake --build --preset default --target vevu_screenshots
shots="$build/screenshots-compared"
rm -rf "$shots"
build/default/vevu_screenshots "$shots/x86_64" >/dev/null
qemu-aarch64 "$build/vevu_screenshots" "$shots/aarch64" >/dev/null
for shot in "$shots"/x86_64/*.png; do
    cmp "$shot" "$shots/aarch64/$(basename "$shot")" ||
        { echo "arm test: the aarch64 program draws $(basename "$shot") otherwise than x86_64" >&2; exit 1; }
done
echo "arm test: $(find "$shots/aarch64" -name '*.png' | wc -l) screenshots drawn the same as on x86_64" >&2
