#!/usr/bin/env bash
# Builds the Debian package build/package/vevu_<version>_<arch>.deb: a Release build with Debian's
# hardening flags in its own build directory, packed by CPack (runtime dependencies found by
# dpkg-shlibdeps, the executable stripped). The version is the CMake project's.
#   scripts/package.sh         for the machine's own architecture (amd64), in build/package
#   scripts/package.sh arm64   cross-built for 64-bit ARM (a Raspberry Pi), in build/package-arm64, with
#                              Debian's cross compiler and the arm64 libraries scripts/arm-test.sh installs
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --package
arch="${1:-$(dpkg --print-architecture)}"
build=build/package
cross=()
if [ "$arch" != "$(dpkg --print-architecture)" ]; then
    [ "$arch" = arm64 ] || { echo "package: no cross build for $arch (arm64 only)" >&2; exit 2; }
    build=build/package-arm64
    cross=(-DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake -DCPACK_DEBIAN_PACKAGE_ARCHITECTURE=arm64)
    # dpkg-buildflags and dpkg-shlibdeps (which CPack runs) then speak of the arm64 package.
    export DEB_HOST_ARCH=arm64
fi
# Debian's compiler and linker flags for packages, with every hardening feature; CMake has no
# CPPFLAGS, so the preprocessor's part goes with the compiler flags.
flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEVU_BUILD_TESTS=OFF -DVEVU_BUILD_BENCH=OFF \
    -DCMAKE_C_FLAGS="$(flags CPPFLAGS) $(flags CFLAGS)" -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" "${cross[@]}"
cmake --build "$build" --target vevu vevu_packaging_files
rm -f "$build"/vevu_*.deb
(cd "$build" && cpack -G DEB)
ls "$build"/vevu_*.deb
