#!/usr/bin/env bash
# Builds the Debian package build/package/vevu_<version>_<arch>.deb: a Release build with Debian's
# hardening flags in its own build directory, packed by CPack (runtime dependencies found by
# dpkg-shlibdeps, the executable stripped). The version is the CMake project's.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --package
build=build/package
# Debian's compiler and linker flags for packages, with every hardening feature; CMake has no
# CPPFLAGS, so the preprocessor's part goes with the compiler flags.
flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEVU_BUILD_TESTS=OFF -DVEVU_BUILD_BENCH=OFF \
    -DCMAKE_C_FLAGS="$(flags CPPFLAGS) $(flags CFLAGS)" -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)"
cmake --build "$build" --target vevu vevu_packaging_files
rm -f "$build"/vevu_*.deb
(cd "$build" && cpack -G DEB)
ls "$build"/vevu_*.deb
