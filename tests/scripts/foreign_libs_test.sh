#!/usr/bin/env bash
# scripts/foreign-libs.sh against a fake apt and a fake Emscripten: what it says when the archive cannot
# be reached, a cache folder it cannot build in, old prefixes cleared away, and a build that fell back to
# older sources tried again once the newest can be fetched. Nothing is downloaded or built.
set -euo pipefail
script="$(cd "$(dirname "$0")/../.." && pwd)/scripts/foreign-libs.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0 passed=0
check() { # description, then a command that must succeed
    local what="$1"
    shift
    if "$@"; then passed=$((passed + 1)); else echo "FAILED: $what" >&2; failures=$((failures + 1)); fi
}

fake="$work/bin"
mkdir -p "$fake"
cat >"$fake/dpkg-query" <<'SH'
#!/bin/sh
printf 'install ok installed'
SH
cat >"$fake/emcc" <<'SH'
#!/bin/sh
echo 3.1.6
SH
# apt-get: FAKE_UPDATE=fail fails `update`; `source --download-only` succeeds when FAKE_NEWEST=fetchable;
# any other `source` fails, so a build stops at its first library.
cat >"$fake/apt-get" <<'SH'
#!/bin/sh
for a in "$@"; do
    case "$a" in
    update)
        [ "${FAKE_UPDATE:-}" = fail ] && { echo "E: could not resolve the archive" >&2; exit 100; }
        for o in "$@"; do case "$o" in Dir::State::Lists=*) touch "${o#Dir::State::Lists=}/deb_Sources" ;; esac; done
        exit 0 ;;
    --download-only) [ "${FAKE_NEWEST:-}" = fetchable ] && exit 0; exit 100 ;;
    esac
done
exit 100
SH
cat >"$fake/apt-cache" <<'SH'
#!/bin/sh
[ "${FAKE_SHOWSRC:-}" = fail ] && { echo "E: the package cache is broken" >&2; exit 100; }
printf 'Package: x\nVersion: 1.0-2\n\nPackage: x\nVersion: 1.0-1\n'
SH
chmod +x "$fake"/*
run() { # cache folder, then environment: the script's stderr and status in $work/out, $work/status
    local cache="$1"
    shift
    set +e
    env PATH="$fake:$PATH" VEVU_LIBS_CACHE="$cache" "$@" bash "$script" web >"$work/stdout" 2>"$work/out"
    echo $? >"$work/status"
    set -e
}
said() { grep -q -- "$1" "$work/out"; }
status() { [ "$(cat "$work/status")" = "$1" ]; }

run "$work/with space"
check "a cache folder with a space is refused with a message" status 2
check "the message names VEVU_LIBS_CACHE" said "set VEVU_LIBS_CACHE"

cache="$work/cache"
run "$cache" FAKE_UPDATE=fail
check "a first run offline fails" status 1
check "a first run offline says why" said "could not fetch the source package lists"

# The lists exist from here on.
run "$cache"
check "with the lists, a build starts and stops at the fake source" said "no version of zlib could be fetched"
run "$cache" FAKE_UPDATE=fail
touch -d '2 days ago' "$cache/apt/lists/deb_Sources"
run "$cache" FAKE_UPDATE=fail
check "an old list is used when the archive cannot be reached" said "going on with the ones from"
run "$cache" FAKE_SHOWSRC=fail
check "a failing apt-cache fails" status 1
check "a failing apt-cache is named" said "apt-cache could not read the source package lists"

key_dir="$(find "$cache/web" -mindepth 1 -maxdepth 1 -type d | head -n 1)"
check "the build made its key's folder" test -n "$key_dir"
mkdir -p "$cache/web/old-unused" "$cache/web/old-recent" "$cache/web/dead"
touch -d '10 days ago' "$cache/web/old-unused/done" "$cache/web/old-unused/used"
touch -d '10 days ago' "$cache/web/old-recent/done"
touch "$cache/web/old-recent/used"
touch "$key_dir/done"
echo "zlib 1.0-2" >"$key_dir/fallback"
run "$cache"
check "a cached prefix is printed" grep -q "^$key_dir/prefix$" "$work/stdout"
check "a prefix unused for a week is removed" test ! -e "$cache/web/old-unused"
check "a half-built prefix is removed" test ! -e "$cache/web/dead"
check "a prefix used this week stays" test -d "$cache/web/old-recent"
run "$cache" FAKE_NEWEST=fetchable
check "a fallen-back build is tried again when the newest sources can be fetched" said "zlib 1.0-2 can be fetched now"
check "the fallen-back build is not taken as done" test ! -f "$key_dir/done"

echo "foreign-libs: $passed passed, $failures failed"
[ "$failures" -eq 0 ]
