#!/usr/bin/env bash
# Builds the game's web page into build/web/page/ (the folder to serve: index.html, the game's script
# and WebAssembly named by their hash, the service worker, the manifest and icons): the libraries for the
# web first (built once, then taken from their cache), then the `web` preset. Extra arguments go to the
# build (e.g. --target vevu_web_bench).
set -euo pipefail
cd "$(dirname "$0")/.."
prefix="$(scripts/web-libs.sh)"
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
# The game's sources take minutes under Emscripten: ccache, where present, keeps them for the next build
# (of any checkout: paths are taken relative to this one).
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
    export CMAKE_C_COMPILER_LAUNCHER="${CMAKE_C_COMPILER_LAUNCHER:-ccache}"
    export CMAKE_CXX_COMPILER_LAUNCHER="${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}"
fi
cmake --preset web -DVEVU_WEB_PREFIX="$prefix" >/dev/null
cmake --build --preset web "$@"
