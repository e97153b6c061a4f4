#!/usr/bin/env bash
# The Debian package for arm64 (a Raspberry Pi), as CI runs it after tests/package/check.sh: cross-built by
# scripts/package.sh arm64, lintian-clean, its program built for AArch64 and depending on arm64 libraries,
# and its contents those of the amd64 package but for the program: the same paths with the same modes, and
# every other file with the same bytes.
# Usage: arm64_check.sh [the amd64 package: build/package/vevu_*_amd64.deb]
set -euo pipefail
cd "$(dirname "$0")/../.."
fail() { echo "arm64 package check: $*" >&2; exit 1; }
amd64=("${1:-build/package/vevu_*_amd64.deb}")
# shellcheck disable=SC2206 # the default is a pattern
amd64=(${amd64[0]})
[ ${#amd64[@]} -eq 1 ] && [ -f "${amd64[0]}" ] || fail "no amd64 package to compare with (tests/package/check.sh builds it)"
scripts/package.sh arm64 >/dev/null
debs=(build/package-arm64/vevu_*_arm64.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one arm64 package, found ${debs[*]}"
deb=${debs[0]}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

[ "$(dpkg-deb -f "$deb" Architecture)" = arm64 ] || fail "$deb is for $(dpkg-deb -f "$deb" Architecture)"
[ "$(dpkg-deb -f "$deb" Version)" = "$(dpkg-deb -f "${amd64[0]}" Version)" ] || fail "the two packages' versions differ"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libsdl2-2.0-0 libpng16-16 libvorbisfile3 libfreetype6; do
    grep -q "$library" <<<"$depends" || fail "Depends has no $library: $depends"
done
lintian --fail-on error,warning --tag-display-limit 0 "$deb"

for arch in amd64 arm64; do
    file=$deb
    [ $arch = amd64 ] && file=${amd64[0]}
    mkdir "$work/$arch"
    dpkg-deb -x "$file" "$work/$arch"
    # Mode and path of every member; the sizes differ only for the program.
    dpkg-deb -c "$file" | awk '{print $1, $6}' >"$work/$arch.list"
done
diff "$work/amd64.list" "$work/arm64.list" || fail "the two packages hold different files"
machine=$(readelf -h "$work/arm64/usr/games/vevu" | sed -n 's/^ *Machine: *//p')
[ "$machine" = AArch64 ] || fail "the arm64 package's program is built for '$machine'"
differing=$(cd "$work" && diff -rq amd64 arm64 | grep -v '^Files amd64/usr/games/vevu and arm64/usr/games/vevu differ$' || true)
[ -z "$differing" ] || fail "beyond the program, the packages differ: $differing"
echo "arm64 package check: $(basename "$deb") ($(stat -c %s "$deb") bytes): lintian clean, the amd64 package's files but for the AArch64 program"
