#!/usr/bin/env bash
# Builds SDL2, zlib, libpng, libogg, libvorbis and FreeType for the web with Debian's Emscripten, from
# Debian's own source packages, into a cache outside the repository. The cache is keyed by the
# Emscripten version, the source package versions and this script, so any change builds afresh and an
# unchanged machine rebuilds nothing. Prints the prefix (include/, lib/, lib/pkgconfig/) on stdout.
set -euo pipefail
cache_root="${VEVU_WEB_CACHE:-/var/cache/vevu-web}"
jobs="${VEVU_WEB_JOBS:-2}"
source_packages=(zlib libpng1.6 libogg libvorbis freetype libsdl2)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
say() { echo "web-libs: $*" >&2; }

# Emscripten and the tools to fetch and unpack source packages.
missing=()
for p in emscripten dpkg-dev autotools-dev cmake ninja-build pkg-config; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    say "installing ${missing[*]}"
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
        --no-install-recommends "${missing[@]}" >&2
fi
# Debian's emcc runs on the machine's node and needs Debian's node modules.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"

# apt-get source needs deb-src lines for the archive the machine already installs from.
have_sources() { apt-cache showsrc zlib 2>/dev/null | grep -c '^Package: zlib' >/dev/null; }
if ! have_sources; then
    list=/etc/apt/sources.list.d/vevu-deb-src.sources
    say "adding the archive's source lines to $list"
    {
        for f in /etc/apt/sources.list.d/*.sources; do
            [ -f "$f" ] && [ "$f" != "$list" ] || continue
            # Copies each deb822 stanza that serves debian.org binaries, as a deb-src stanza.
            awk -v RS= -v ORS='\n\n' '/debian\.org/ && /Types:[^\n]*deb([ \t\n]|$)/ {
                sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f"
        done
    } | $sudo tee "$list.tmp" >/dev/null
    if [ -f /etc/apt/sources.list ]; then
        sed -n 's/^deb \(.*debian\.org.*\)$/deb-src \1/p' /etc/apt/sources.list |
            $sudo tee /etc/apt/sources.list.d/vevu-deb-src.list >/dev/null
        [ -s /etc/apt/sources.list.d/vevu-deb-src.list ] || $sudo rm -f /etc/apt/sources.list.d/vevu-deb-src.list
    fi
    if [ -s "$list.tmp" ]; then $sudo mv "$list.tmp" "$list"; else $sudo rm -f "$list.tmp"; fi
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
    have_sources || {
        say "no source packages available from the configured Debian archive"
        exit 1
    }
fi

source_versions() {
    apt-cache showsrc --only-source "$1" | awk '/^Version:/ {print $2}' | sort -Vu | tr '\n' ' '
}
emcc_version="$(cat /usr/share/emscripten/emscripten-version.txt 2>/dev/null || emcc -dumpversion)"
key_text="emscripten $emcc_version"
for p in "${source_packages[@]}"; do
    key_text+=$'\n'"$p $(source_versions "$p")"
done
key_text+=$'\n'"script $(sha256sum "$0" | cut -c1-16)"
key="$(printf '%s' "$key_text" | sha256sum | cut -c1-16)"
prefix="$cache_root/$key/prefix"
if [ -f "$cache_root/$key/done" ]; then
    echo "$prefix"
    exit 0
fi

say "building into $cache_root/$key:"
printf '%s\n' "$key_text" | sed 's/^/    /' >&2
started=$SECONDS
$sudo mkdir -p "$cache_root"
[ -w "$cache_root" ] || $sudo chown "$(id -u):$(id -g)" "$cache_root"
work="$cache_root/$key/src"
rm -rf "$cache_root/$key"
mkdir -p "$work" "$prefix"
printf '%s\n' "$key_text" >"$cache_root/$key/versions"

export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH=""
export CFLAGS="-O2" CXXFLAGS="-O2" CPPFLAGS="-I$prefix/include" LDFLAGS="-L$prefix/lib"
unpack() { # package, folder prefix: prints the unpacked source folder
    # The newest version the archive lists first; a mirror that lacks it (security sources are not
    # always mirrored) falls back to the next one, and the versions file says which was built.
    local version dir
    for version in $(apt-cache showsrc --only-source "$1" | awk '/^Version:/ {print $2}' | sort -Vru); do
        dir="$work/$1"
        rm -rf "$dir" && mkdir -p "$dir"
        if (cd "$dir" && apt-get source -qq --only-source "$1=$version" >/dev/null 2>&1); then
            echo "built $1 $version" >>"$cache_root/$key/versions"
            find "$dir" -maxdepth 1 -mindepth 1 -type d -name "$2*" | head -n 1
            return
        fi
        say "$1 $version could not be fetched, trying an older one"
    done
    say "no version of $1 could be fetched"
    return 1
}
cmake_build() { # source folder, then CMake options
    local src="$1"
    shift
    emcmake cmake -S "$src" -B "$src/web-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" \
        -DBUILD_SHARED_LIBS=OFF "$@" >&2
    cmake --build "$src/web-build" -j "$jobs" >&2
    cmake --install "$src/web-build" >&2
}
configure_build() { # source folder, then configure options
    local src="$1"
    shift
    # Older configure scripts do not know Emscripten: Debian's current config.sub does.
    cp /usr/share/misc/config.sub /usr/share/misc/config.guess "$src/"
    (cd "$src" && emconfigure ./configure --prefix="$prefix" --host=wasm32-unknown-emscripten \
        --disable-shared --enable-static "$@" >&2 && emmake make -j "$jobs" >&2 && emmake make install >&2)
}

say "zlib"
src="$(unpack zlib zlib-)"
(cd "$src" && CHOST= emconfigure ./configure --static --prefix="$prefix" >&2 &&
    emmake make -j "$jobs" libz.a >&2 && emmake make install >&2)

say "libpng"
src="$(unpack libpng1.6 libpng1.6-)"
configure_build "$src" --disable-tools --disable-hardware-optimizations

say "libogg"
src="$(unpack libogg libogg-)"
configure_build "$src"

say "libvorbis"
src="$(unpack libvorbis libvorbis-)"
configure_build "$src" --disable-docs --disable-examples --disable-oggtest

say "FreeType"
src="$(unpack freetype freetype-)"
cmake_build "$src" -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_HARFBUZZ=ON \
    -DFT_DISABLE_PNG=ON -DFT_REQUIRE_ZLIB=ON

say "SDL2"
src="$(unpack libsdl2 libsdl2-)"
cmake_build "$src" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_TESTS=OFF

rm -rf "$work"
touch "$cache_root/$key/done"
say "built in $((SECONDS - started)) s"
echo "$prefix"
