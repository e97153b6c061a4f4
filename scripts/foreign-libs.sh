#!/usr/bin/env bash
# Builds the libraries the game links on a foreign platform from Debian's own source packages, into a
# cache outside the repository, and prints the prefix (include/, lib/, lib/pkgconfig/) on stdout.
#   foreign-libs.sh web      SDL2, zlib, libpng, libogg, libvorbis and FreeType with Debian's Emscripten
#   foreign-libs.sh windows  the same and GoogleTest with Debian's MinGW-w64 (the -posix compilers)
#   foreign-libs.sh linux-x86_64, linux-aarch64
#                            the same (no GoogleTest) for the self-contained Linux folders, with the
#                            machine's compiler or Debian's aarch64 cross compiler: SDL with its X11,
#                            Wayland and KMS/DRM video and ALSA, PulseAudio and PipeWire sound, each
#                            loaded at run time (its headers from Debian's -dev packages, for arm64
#                            those of the arm64 architecture)
# The cache is keyed by the compiler's version, the source packages' versions and these scripts, so any
# change builds afresh and an unchanged machine rebuilds nothing. A lock makes a second build of the same
# platform wait for the first and then take what it built. `apt-get source` runs with a private apt
# configuration under the cache (its own deb-src list derived from the machine's, its own package lists),
# so the machine's apt sources are never changed. The cache's place: scripts/cache.sh. VEVU_LIBS_JOBS
# sets the parallel jobs (2). A build that had to fall back to an older source version than the newest
# listed is tried again once the newest can be fetched; prefixes unused for a week are removed.
set -euo pipefail
platform="${1:-}"
case "$platform" in
web | windows | linux-x86_64 | linux-aarch64) ;;
*)
    echo "usage: $0 web|windows|linux-x86_64|linux-aarch64" >&2
    exit 2
    ;;
esac
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(dirname "$here")"
# shellcheck source=cache.sh
. "$here/cache.sh"
jobs="${VEVU_LIBS_JOBS:-2}"
say() { echo "$platform-libs: $*" >&2; }
# Autotools and libtool split paths at white space: a prefix with a space builds half a library.
case "$cache_root" in
*[[:space:]]* | *[\'\"\$\`]*)
    say "the cache folder '$cache_root' has a space or a quote in its path, which the libraries' autotools builds cannot take: set VEVU_LIBS_CACHE to a folder without one"
    exit 2
    ;;
esac

# The platform's compilers and what they are told.
toolchain_file="$repo/cmake/mingw-w64-x86_64.cmake"
[ "$platform" = linux-aarch64 ] && toolchain_file="$repo/cmake/aarch64-linux-gnu.cmake"
# The headers of what SDL loads at run time on Linux, for the architecture it is built for.
sdl_linux_headers=(libx11-dev libxext-dev libxrandr-dev libxcursor-dev libxi-dev libxfixes-dev libxss-dev
    libxkbcommon-dev libwayland-dev libdecor-0-dev libegl-dev libgles-dev libgl-dev libdrm-dev libgbm-dev
    libasound2-dev libpulse-dev libpipewire-0.3-dev libudev-dev libdbus-1-dev)
case "$platform" in
web)
    tools=(emscripten)
    source_packages=(zlib libpng1.6 libogg libvorbis freetype libsdl2)
    ;;
windows)
    tools=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix)
    source_packages=(zlib libpng1.6 libogg libvorbis freetype libsdl2 googletest)
    ;;
linux-x86_64)
    tools=(g++ gcc wayland-protocols "${sdl_linux_headers[@]}")
    source_packages=(zlib libpng1.6 libogg libvorbis freetype libsdl2)
    ;;
linux-aarch64)
    if ! dpkg --print-foreign-architectures | grep -qx arm64; then
        say "adding the arm64 architecture to dpkg, for the headers of Debian's arm64 libraries"
        $sudo dpkg --add-architecture arm64
    fi
    tools=(g++-aarch64-linux-gnu gcc-aarch64-linux-gnu pkgconf wayland-protocols "${sdl_linux_headers[@]/%/:arm64}")
    source_packages=(zlib libpng1.6 libogg libvorbis freetype libsdl2)
    ;;
esac
install_missing "${tools[@]}" dpkg-dev autotools-dev cmake ninja-build pkg-config make
# Debian's emcc runs on the machine's node and needs Debian's node modules.
[ "$platform" = web ] && export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
compiler_version() {
    case "$platform" in
    web) cat /usr/share/emscripten/emscripten-version.txt 2>/dev/null || emcc -dumpversion ;;
    windows)
        dpkg-query -W -f='${Package} ${Version} ' g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
        ;;
    linux-x86_64) dpkg-query -W -f='${Package} ${Version} ' g++ libc6-dev ;;
    linux-aarch64) dpkg-query -W -f='${Package} ${Version} ' g++-aarch64-linux-gnu libc6-dev-arm64-cross ;;
    esac
}

# A private apt for source packages: deb-src entries for the Debian archives the machine installs from.
apt_dir="$cache_root/apt"
apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o "Dir::Cache::pkgcache="
    -o "Dir::Cache::srcpkgcache=")
private_sources() {
    local f
    for f in /etc/apt/sources.list.d/*.sources; do
        # Each deb822 stanza that serves debian.org binaries, as a deb-src stanza.
        [ -f "$f" ] || continue
        awk -v RS= -v ORS='\n\n' '/debian\.org/ && /Types:[^\n]*deb([ \t\n]|$)/ {
            sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f"
    done
}
private_list() {
    local f
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        sed -n 's/^deb \(.*debian\.org.*\)$/deb-src \1/p' "$f"
    done
}
replace_if_changed() { # file: stdin replaces it by a rename, so a run reading it meanwhile sees old or new
    local new
    new="$(mktemp "$1.XXXXXX")"
    cat >"$new"
    if cmp -s "$new" "$1"; then
        rm -f "$new"
    else
        mv -f "$new" "$1"
    fi
}
have_source_lists() { [ -n "$(find "$apt_dir/lists" -maxdepth 1 -name '*_Sources*' -print -quit)" ]; }
refresh_private_apt() { # the lists are fetched when missing, older than a day or asked for ($1 = force)
    mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
    private_sources | replace_if_changed "$apt_dir/sources.list.d/debian.sources"
    private_list | replace_if_changed "$apt_dir/sources.list"
    if [ ! -s "$apt_dir/sources.list.d/debian.sources" ] && [ ! -s "$apt_dir/sources.list" ]; then
        say "the machine installs from no Debian archive: no source packages to build from"
        exit 1
    fi
    if [ "${1:-}" = force ] || [ -z "$(find "$apt_dir/lists" -maxdepth 1 -name '*_Sources*' -mtime -1)" ]; then
        say "fetching the source package lists into $apt_dir"
        if ! apt-get "${apt_options[@]}" update -qq >&2 || ! have_source_lists; then
            if have_source_lists; then
                say "could not refresh the source package lists (offline?): going on with the ones from $(date -r "$apt_dir/lists" '+%F')"
            else
                say "could not fetch the source package lists from the machine's Debian archives (offline?): the libraries are built from Debian's source packages, so this first build needs the archive"
                exit 1
            fi
        fi
    fi
}
(
    lock_cache apt
    refresh_private_apt
)
showsrc_versions() { # package: every version the archive lists, newest first
    local listed
    if ! listed="$(apt-cache "${apt_options[@]}" showsrc --only-source "$1" 2>&1)"; then
        say "apt-cache could not read the source package lists in $apt_dir for $1:"
        printf '%s\n' "$listed" | sed 's/^/    /' >&2
        return 1
    fi
    printf '%s\n' "$listed" | awk '/^Version:/ {print $2}' | sort -Vru
}

key_text="$platform $(compiler_version)"
for p in "${source_packages[@]}"; do
    versions="$(showsrc_versions "$p")" || exit 1
    versions="$(printf '%s' "$versions" | tr '\n' ' ')"
    [ -n "$versions" ] || {
        say "the archive lists no source package $p"
        exit 1
    }
    key_text+=$'\n'"$p $versions"
done
hashed=("$here/foreign-libs.sh" "$here/cache.sh")
case "$platform" in windows | linux-aarch64) hashed+=("$toolchain_file") ;; esac
scripts_hash="$(cat "${hashed[@]}" | sha256sum | cut -c1-16)"
key_text+=$'\n'"scripts $scripts_hash"
key="$(printf '%s' "$key_text" | sha256sum | cut -c1-16)"
dir="$cache_root/$platform/$key"
prefix="$dir/prefix"
lock_cache "$platform-libs"
prune_old_prefixes() { # other keys' prefixes unused for a week, and builds that died half-way
    local other
    for other in "$cache_root/$platform"/*/; do
        other="${other%/}"
        [ "$other" != "$dir" ] && [ -d "$other" ] || continue
        if [ ! -f "$other/done" ] || [ -z "$(find "$other/used" "$other/done" -maxdepth 0 -mtime -7 2>/dev/null)" ]; then
            say "removing the unused prefix $other"
            rm -rf "$other"
        fi
    done
}
newest_now_fetchable() { # a build that fell back to older sources: can the newest be fetched now?
    local p version try
    [ -f "$dir/fallback" ] || return 1
    try="$(mktemp -d)"
    while read -r p version; do
        if (cd "$try" && apt-get "${apt_options[@]}" source -qq --download-only --only-source "$p=$version" >/dev/null 2>&1); then
            say "$p $version can be fetched now: building the libraries again from the newest sources"
            rm -rf "$try"
            return 0
        fi
    done <"$dir/fallback"
    rm -rf "$try"
    return 1
}
prune_old_prefixes
if [ -f "$dir/done" ] && ! newest_now_fetchable; then
    touch "$dir/used"
    echo "$prefix"
    exit 0
fi

say "building into $dir:"
printf '%s\n' "$key_text" | sed 's/^/    /' >&2
started=$SECONDS
work="$dir/src"
rm -rf "$dir"
mkdir -p "$work" "$prefix"
printf '%s\n' "$key_text" >"$dir/versions"

export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH=""
export CFLAGS="-O2" CXXFLAGS="-O2" CPPFLAGS="-I$prefix/include" LDFLAGS="-L$prefix/lib"
unpack() { # package, folder prefix: prints the unpacked source folder
    # The newest version the archive lists first; a mirror that lacks it (security sources are not
    # always mirrored) falls back to the next one, and the versions file says which was built.
    local version folder newest=""
    for version in $(showsrc_versions "$1"); do
        newest="${newest:-$version}"
        folder="$work/$1"
        rm -rf "$folder" && mkdir -p "$folder"
        if (cd "$folder" && apt-get "${apt_options[@]}" source -qq --only-source "$1=$version" >/dev/null 2>&1); then
            echo "built $1 $version" >>"$dir/versions"
            [ "$version" = "$newest" ] || echo "$1 $newest" >>"$dir/fallback"
            find "$folder" -maxdepth 1 -mindepth 1 -type d -name "$2*" | head -n 1
            return
        fi
        say "$1 $version could not be fetched, trying an older one"
    done
    say "no version of $1 could be fetched"
    return 1
}
cmake_build() { # source folder, then CMake options
    local src="$1" configure=(cmake)
    shift
    case "$platform" in
    web) configure=(emcmake cmake) ;;
    windows | linux-aarch64) configure+=(-DCMAKE_TOOLCHAIN_FILE="$toolchain_file") ;;
    esac
    "${configure[@]}" -S "$src" -B "$src/foreign-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" \
        -DBUILD_SHARED_LIBS=OFF "$@" >&2
    cmake --build "$src/foreign-build" -j "$jobs" >&2
    cmake --install "$src/foreign-build" >&2
}
configure_build() { # source folder, then configure options
    local src="$1" wrap=() host=x86_64-w64-mingw32
    shift
    [ "$platform" = web ] && wrap=(emconfigure) host=wasm32-unknown-emscripten
    [ "$platform" = linux-x86_64 ] && host=x86_64-linux-gnu
    [ "$platform" = linux-aarch64 ] && host=aarch64-linux-gnu
    # Older configure scripts know neither platform: Debian's current config.sub does.
    cp /usr/share/misc/config.sub /usr/share/misc/config.guess "$src/"
    (cd "$src" && "${wrap[@]}" ./configure --prefix="$prefix" --host="$host" --disable-shared --enable-static \
        "$@" >&2 && ${wrap:+emmake} make -j "$jobs" >&2 && ${wrap:+emmake} make install >&2)
}
case "$platform" in
windows) export CC=x86_64-w64-mingw32-gcc-posix CXX=x86_64-w64-mingw32-g++-posix ;;
linux-x86_64) export CC=gcc CXX=g++ ;;
linux-aarch64) export CC=aarch64-linux-gnu-gcc CXX=aarch64-linux-gnu-g++ ;;
esac
# The self-contained program is a position-independent executable: the static libraries must be too.
case "$platform" in linux-*) CFLAGS+=" -fPIC" CXXFLAGS+=" -fPIC" ;; esac

say "zlib"
src="$(unpack zlib zlib-)"
# zlib's own configure script: it knows Windows by the host's name and Emscripten by its wrapper.
zlib_host="" wrap=()
[ "$platform" = windows ] && zlib_host=x86_64-w64-mingw32
[ "$platform" = linux-aarch64 ] && zlib_host=aarch64-linux-gnu
[ "$platform" = web ] && wrap=(emconfigure)
(cd "$src" && CHOST="$zlib_host" "${wrap[@]}" ./configure --static --prefix="$prefix" >&2 &&
    ${wrap:+emmake} make -j "$jobs" libz.a >&2 && ${wrap:+emmake} make install >&2)

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
sdl_options=()
case "$platform" in
linux-*)
    # The machine's own .pc files for what SDL loads at run time (it reads their sonames); every backend
    # asked for by name, so a missing header fails the build instead of leaving it out.
    triplet=x86_64-linux-gnu
    [ "$platform" = linux-aarch64 ] && triplet=aarch64-linux-gnu
    export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig:/usr/lib/$triplet/pkgconfig:/usr/share/pkgconfig"
    sdl_options=(-DSDL_X11=ON -DSDL_X11_SHARED=ON -DSDL_WAYLAND=ON -DSDL_WAYLAND_SHARED=ON
        -DSDL_WAYLAND_LIBDECOR=ON -DSDL_WAYLAND_LIBDECOR_SHARED=ON -DSDL_KMSDRM=ON -DSDL_KMSDRM_SHARED=ON
        -DSDL_OPENGL=ON -DSDL_OPENGLES=ON -DSDL_ALSA=ON -DSDL_ALSA_SHARED=ON -DSDL_PULSEAUDIO=ON
        -DSDL_PULSEAUDIO_SHARED=ON -DSDL_PIPEWIRE=ON -DSDL_PIPEWIRE_SHARED=ON -DSDL_JACK=OFF -DSDL_SNDIO=OFF
        -DSDL_ESD=OFF -DSDL_ARTS=OFF -DSDL_NAS=OFF -DSDL_LIBSAMPLERATE=OFF -DSDL_HIDAPI_LIBUSB=OFF
        -DSDL_IBUS=OFF -DSDL_RPATH=OFF -DSDL_STATIC_PIC=ON)
    ;;
esac
cmake_build "$src" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_TESTS=OFF "${sdl_options[@]}"

if [ "$platform" = windows ]; then
    say "GoogleTest"
    src="$(unpack googletest googletest-)"
    cmake_build "$src" -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON -Dgtest_force_shared_crt=OFF
fi

rm -rf "$work"
touch "$dir/done" "$dir/used"
say "built in $((SECONDS - started)) s"
echo "$prefix"
