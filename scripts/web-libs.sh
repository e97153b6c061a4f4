#!/usr/bin/env bash
# Builds SDL2, zlib, libpng, libogg, libvorbis and FreeType for the web with Debian's Emscripten, from
# Debian's own source packages, into a cache outside the repository (scripts/foreign-libs.sh does it and
# says where). Prints the prefix (include/, lib/, lib/pkgconfig/) on stdout.
exec "$(dirname "$0")/foreign-libs.sh" web
