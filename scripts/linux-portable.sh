#!/usr/bin/env bash
# Builds the self-contained Linux downloads build/linux-<arch>/vevu-<version>-linux-<arch>.tar.gz, for
# x86_64 and aarch64 (or the ones named: scripts/linux-portable.sh aarch64): one folder holding the
# program, a read-me, the licence, the icon and the desktop entry. SDL2 and the decoders come from
# scripts/foreign-libs.sh linux-<arch> (built once from Debian's source packages, then cached) and are
# linked in. Fails when the program needs a library beyond the C library's own (libc, libm, libdl,
# libpthread, librt and the dynamic loader, at its usual place) and libgcc_s (which the C library loads
# itself), or a C library newer than VEVU_GLIBC_CEILING (2.34).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/cache.sh
install_missing cmake ninja-build pkgconf binutils file
arches=("$@")
[ ${#arches[@]} -gt 0 ] || arches=(x86_64 aarch64)
ceiling="${VEVU_GLIBC_CEILING:-2.34}"
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
    export CMAKE_C_COMPILER_LAUNCHER="${CMAKE_C_COMPILER_LAUNCHER:-ccache}"
    export CMAKE_CXX_COMPILER_LAUNCHER="${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}"
fi
fail() { echo "linux portable: $*" >&2; exit 1; }
for arch in "${arches[@]}"; do
    cross=() strip=strip machine="Advanced Micro Devices X86-64" loader=ld-linux-x86-64.so.2
    interpreter=/lib64/ld-linux-x86-64.so.2
    case "$arch" in
    x86_64) ;;
    aarch64)
        cross=(-DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake)
        strip=aarch64-linux-gnu-strip machine=AArch64 loader=ld-linux-aarch64.so.1
        interpreter=/lib/ld-linux-aarch64.so.1
        ;;
    *) echo "usage: $0 [x86_64] [aarch64]" >&2; exit 2 ;;
    esac
    prefix="$(scripts/foreign-libs.sh "linux-$arch")"
    build="build/linux-$arch"
    # Optimised as the Debian package is (-O2).
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
        -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DVEVU_BUILD_TESTS=OFF -DVEVU_BUILD_BENCH=OFF \
        -DVEVU_LINUX_PREFIX="$prefix" "${cross[@]}" >/dev/null
    cmake --build "$build" --target vevu
    version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
    name="vevu-$version-linux-$arch"
    folder="$build/$name"
    rm -rf "$folder" "$build/$name.tar.gz"
    mkdir -p "$folder"
    "$strip" -o "$folder/vevu" "$build/vevu"

    program="$folder/vevu"
    got="$(readelf -h "$program" | sed -n 's/^ *Machine: *//p')"
    [ "$got" = "$machine" ] || fail "$program is built for '$got', not $machine"
    # The dynamic loader where every distribution has it, whatever the build machine's layout.
    got="$(readelf -l "$program" | sed -n 's/.*Requesting program interpreter: \(.*\)]$/\1/p')"
    [ "$got" = "$interpreter" ] || fail "the $arch program asks for the dynamic loader '$got', not $interpreter"
    needed="$(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')"
    for library in $needed; do
        case "$library" in
        libc.so.6 | libm.so.6 | libdl.so.2 | libpthread.so.0 | librt.so.1 | libgcc_s.so.1 | "$loader") ;;
        *) fail "the $arch program needs $library, which not every Linux system has" ;;
        esac
    done
    glibc="$(readelf -W --version-info "$program" | grep -o 'GLIBC_[0-9][0-9.]*' | sed 's/GLIBC_//' | sort -Vu | tail -n 1)"
    [ -n "$glibc" ] || fail "the $arch program asks for no C library version at all"
    [ "$(printf '%s\n%s\n' "$glibc" "$ceiling" | sort -V | tail -n 1)" = "$ceiling" ] ||
        fail "the $arch program needs the C library $glibc, newer than $ceiling"
    echo "linux portable: the $arch program needs only" $needed "and the C library $glibc" >&2

    sed "s/@PROJECT_VERSION@/$version/g" packaging/linux/README.txt.in >"$folder/README.txt"
    cp LICENSE "$folder/LICENSE.txt"
    cp packaging/icons/256x256/apps/org.vevuzudevur.Vevu.png "$folder/"
    cp packaging/org.vevuzudevur.Vevu.desktop "$folder/"
    # The same bytes from the same tree: every member dated by the release, owned by nobody in particular.
    epoch="$(date -d "$(sed -n 's/^set(VEVU_RELEASE_DATE \([0-9-]*\)).*/\1/p' CMakeLists.txt) 12:00 UTC" +%s)"
    tar -C "$build" --sort=name --mtime="@$epoch" --owner=0 --group=0 --numeric-owner \
        -cf - "$name" | gzip -9n >"$build/$name.tar.gz"
    echo "linux portable: $build/$name.tar.gz ($(stat -c %s "$build/$name.tar.gz") bytes)" >&2
    ls "$build/$name.tar.gz"
done
