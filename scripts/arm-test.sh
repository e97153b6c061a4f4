#!/usr/bin/env bash
# The game built for 64-bit ARM (aarch64) and tested under qemu-aarch64, as CI runs it: the unit and
# scenario tests, every replay of tests/replays (which must give the digests recorded on x86_64) and the
# README's screenshots (which must be the x86_64 program's bytes). Debian's cross compiler builds against
# Debian's arm64 libraries, installed beside the machine's own (multiarch); ccache keeps the compiled game.
# The unit and scenario tests run in two emulated processes, not one per test as CTest would run them
# (qemu's start-up for each costs more than the tests). All but the bot campaigns and the whole campaign
# played through, which take minutes emulated and whose whole games the replays play on ARM already;
# VEVU_ARM_TESTS=* runs them too (a GoogleTest filter). Extra arguments go to the ctest run of the
# replays (e.g. -R replay_intro).
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
skipped='-*BotCampaign.*:WholeCampaign.IntroSkippedFourMissionsWonOutroUntilAKeyThenTheProgramEnds'
build=build/aarch64
cmake --preset aarch64 >/dev/null
cmake --build --preset aarch64
machine="$(readelf -h "$build/vevu" | sed -n 's/^ *Machine: *//p')"
[ "$machine" = AArch64 ] || { echo "arm test: $build/vevu is built for '$machine', not AArch64" >&2; exit 1; }
started=$SECONDS
# Two emulated processes, one to a core, each given half the tests by GoogleTest's sharding.
filter="${VEVU_ARM_TESTS:-$skipped}"
pids=()
for shard in 0 1; do
    (cd "$build" && GTEST_TOTAL_SHARDS=2 GTEST_SHARD_INDEX=$shard qemu-aarch64 ./vevu_tests --gtest_filter="$filter" \
        --gtest_brief=1 >"unit-tests-$shard.log" 2>&1) &
    pids+=($!)
done
failed=0
for shard in 0 1; do
    wait "${pids[$shard]}" || { failed=1; cat "$build/unit-tests-$shard.log" >&2; }
done
[ "$failed" -eq 0 ] || { echo "arm test: the unit and scenario tests failed under qemu-aarch64" >&2; exit 1; }
echo "arm test: the unit and scenario tests took $((SECONDS - started)) s under qemu-aarch64 ($(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\.$/\1/p' "$build"/unit-tests-?.log | awk '{ n += $1 } END { print n }') tests)" >&2
started=$SECONDS
ctest --preset aarch64 -j2 -L replay "$@"
echo "arm test: the replays took $((SECONDS - started)) s under qemu-aarch64" >&2
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
