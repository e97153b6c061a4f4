#!/usr/bin/env bash
# The self-contained Linux folders where nothing is installed, as CI runs them after
# scripts/linux-portable.sh:
#   x86_64   unpacked into a bare Debian 12 (debootstrap's minbase and the X11 client libraries: no
#            SDL, libpng, libvorbis or FreeType) and started there under the real-window smoke test,
#            short steps (window and title, the intro, the map, a mission started, Esc, exit code 0).
#            Xvfb, xdotool and the window manager run outside; the program, alone in the bare system,
#            reaches them through the X socket bind-mounted into it. Every frame it shows is logged
#            (VEVU_FRAME_LOG), and the game records the session it played.
#   aarch64  under qemu-aarch64 with only the C library (Debian's arm64 cross libc) and SDL's offscreen
#            video driver, drawing in software: given that session, it shows it from the map on, every
#            frame it shows at a clock the x86_64 program showed being the same picture, and loads
#            nothing beyond the C library; then SIGTERM, exit code 0. It runs with portable.txt beside
#            it and no VEVU_DATA_DIR, so the player's files (the folder's lock) must be made beside it.
# The bare system is made once and kept as a tarball in the libraries' cache (scripts/cache.sh), keyed by
# debootstrap's version, the suite and the packages; a missing one is made again. Needs root (chroot, mounts).
# Usage: portable_check.sh [the folders' tarballs: build/linux-*/vevu-*-linux-*.tar.gz]
set -euo pipefail
cd "$(dirname "$0")/../.."
repo=$PWD
. scripts/cache.sh
fail() { echo "portable check: $*" >&2; exit 1; }
note() { echo "portable check: $*" >&2; }
[ "$(id -u)" -eq 0 ] || fail "needs root, for the bare system's chroot and its mounts"
install_missing debootstrap qemu-user xvfb xauth xdotool imagemagick openbox x11-utils x11-xkb-utils
started=$SECONDS
work=$(mktemp -d /tmp/vevu-portable.XXXXXX)
trap 'rm -rf "$work"' EXIT

# The bare Debian 12, made once: debootstrap's minbase and the X11 client libraries any desktop has
# (SDL loads them at run time), nothing else.
suite=bookworm
desktop=libx11-6,libxext6,libxcursor1,libxi6,libxrandr2,libxss1,libxfixes3,libxkbcommon0
key=$(printf '%s %s minbase %s' "$(dpkg-query -W -f='${Version}' debootstrap)" "$suite" "$desktop" | sha256sum | cut -c1-16)
bare_cache="$cache_root/bare-debian12/$key"
(
    lock_cache bare-debian12
    [ -f "$bare_cache/done" ] && exit 0
    note "making a bare Debian 12 with debootstrap into $bare_cache (once)"
    find "$cache_root/bare-debian12" -mindepth 1 -maxdepth 1 -type d ! -name "$key" -exec rm -rf {} +
    rm -rf "$bare_cache"
    mkdir -p "$bare_cache/root"
    debootstrap --variant=minbase --include="$desktop" "$suite" "$bare_cache/root" http://deb.debian.org/debian >"$bare_cache/debootstrap.log" 2>&1 ||
        { tail -n 20 "$bare_cache/debootstrap.log" >&2; fail "debootstrap failed"; }
    tar -C "$bare_cache/root" --numeric-owner -czf "$bare_cache/root.tar.gz" .
    rm -rf "$bare_cache/root"
    touch "$bare_cache/done"
)
touch "$bare_cache/done"
tarball() { # arch: the one tarball of that architecture
    local found=("$repo"/build/linux-"$1"/vevu-*-linux-"$1".tar.gz)
    [ ${#found[@]} -eq 1 ] && [ -f "${found[0]}" ] || fail "expected one $1 folder's tarball, found ${found[*]} (scripts/linux-portable.sh builds them)"
    echo "${found[0]}"
}
x86_64_tar=${1:-$(tarball x86_64)}
aarch64_tar=${2:-$(tarball aarch64)}
root="$work/bare"
mkdir -p "$root"
tar -C "$root" --numeric-owner -xzf "$bare_cache/root.tar.gz"
# Nothing the game could take from the system: no library of the kinds the folder carries.
for library in 'libSDL2*' 'libpng*' 'libvorbis*' 'libogg*' 'libfreetype*'; do
    present=$(find "$root/usr/lib" "$root/lib" -name "$library" -print -quit 2>/dev/null || true)
    [ -z "$present" ] || fail "the bare system has $present"
done
mkdir -p "$root/opt"
tar -C "$root/opt" -xzf "$x86_64_tar"
folder=$(find "$root/opt" -mindepth 1 -maxdepth 1 -type d -name 'vevu-*-linux-x86_64')
[ -x "$folder/vevu" ] || fail "no program in $(basename "$x86_64_tar")"
inside="/opt/$(basename "$folder")/vevu"

# The program in the bare system, started as the smoke test starts a program: the same process (the
# wrapper execs), the smoke test's environment, and a mount namespace of its own that dies with it.
shots="$work/shots"
mkdir -p "$shots"
cat >"$work/vevu-in-bare-system" <<EOF
#!/usr/bin/env bash
exec unshare --mount --propagation private bash -c '
    root=\$1 inside=\$2; shift 2
    mount -t proc proc "\$root/proc"
    mount --rbind /dev "\$root/dev"
    mkdir -p "\$root/tmp/.X11-unix" "\$root$shots"
    mount --bind /tmp/.X11-unix "\$root/tmp/.X11-unix"
    mount --bind "$shots" "\$root$shots"
    if [ -n "\${XAUTHORITY:-}" ]; then
        mkdir -p "\$root\$(dirname "\$XAUTHORITY")"
        mount --bind "\$(dirname "\$XAUTHORITY")" "\$root\$(dirname "\$XAUTHORITY")"
    fi
    exec chroot "\$root" "\$inside" "\$@"' bash "$root" "$inside" "\$@"
EOF
chmod 755 "$work/vevu-in-bare-system"
note "x86_64: the smoke test in the bare Debian 12"
VEVU_SMOKE_STEPS=short VEVU_FRAME_LOG="$shots/played.log" tests/smoke/smoke.sh "$work/vevu-in-bare-system" "$shots" ||
    { tail -n 20 "$shots/game.log" >&2; fail "the x86_64 program did not pass the smoke test in the bare system"; }
sessions=("$shots"/player-files/replays/*.vrp)
[ ${#sessions[@]} -eq 1 ] && [ -s "${sessions[0]}" ] || fail "the x86_64 program recorded not one session: ${sessions[*]}"
cp "${sessions[0]}" "$work/session.vrp"
note "x86_64: window, title, intro, map, mission, Esc, exit code 0 in the bare system ($((SECONDS - started)) s)"

# The aarch64 program with the C library alone, offscreen, showing that session.
mkdir -p "$work/arm" "$work/home"
tar -C "$work/arm" -xzf "$aarch64_tar"
arm_folder=$(find "$work/arm" -mindepth 1 -maxdepth 1 -type d -name 'vevu-*-linux-aarch64')
: >"$arm_folder/portable.txt"
log="$work/watched.log"
# The machine's own arm64 libraries (multiarch, for the arm64 build) would be found by whatever SDL loads at
# run time: in a mount namespace of the program's own, the cross C library's folder is laid over theirs.
env -i PATH=/usr/bin:/bin HOME="$work/home" SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy VEVU_FRAME_LOG="$log" \
    unshare --mount --propagation private bash -c 'mount --bind /usr/aarch64-linux-gnu/lib /usr/lib/aarch64-linux-gnu &&
        exec qemu-aarch64 -L /usr/aarch64-linux-gnu "$@"' bash "$arm_folder/vevu" "$work/session.vrp" 2>"$work/arm.log" &
pid=$!
session_start=$(sed -n 's/^clock \(-\{0,1\}[0-9]*\)$/\1/p' "$work/session.vrp" | head -n 1)
last=$(tail -n 1 "$shots/played.log" | cut -d' ' -f1)
# poll LIMIT WHAT COMMAND...: COMMAND until it succeeds, while the program runs, within LIMIT seconds.
poll() {
    local until=$((SECONDS + $1)) what=$2
    shift 2
    until "$@"; do
        kill -0 "$pid" 2>/dev/null || { cat "$work/arm.log" >&2; fail "the aarch64 program ended while waiting for $what"; }
        [ "$SECONDS" -lt "$until" ] || { kill -9 "$pid"; fail "no $what within $1 s"; }
        sleep 0.2
    done
}
shown_to() { [ -s "$log" ] && [ "$(tail -n 1 "$log" | cut -d' ' -f1)" -ge "$1" ]; }
poll 900 "first frame of the session (the map)" shown_to "$session_start"
poll 120 "the folder's lock beside the aarch64 program (portable.txt)" test -e "$arm_folder/vevu.lock"
poll 900 "the session shown to its last frame" shown_to "$last"
# What the emulated program has loaded (qemu maps the guest's files into its own process): the C library's
# own, whatever SDL tried at run time included.
loaded=$(grep -oE '/[^ ]+$' "/proc/$pid/maps" | sort -u)
for file in $loaded; do
    [ "$file" = "$arm_folder/vevu" ] && continue
    [ "$(readelf -h "$file" 2>/dev/null | sed -n 's/^ *Machine: *//p')" = AArch64 ] || continue
    case "$(basename "$file")" in
    ld-linux-aarch64.so.1 | libc.so.6 | libm.so.6 | libdl.so.2 | libpthread.so.0 | librt.so.1 | libgcc_s.so.1) ;;
    *) kill -9 "$pid"; fail "the aarch64 program loaded $file, beyond the C library" ;;
    esac
done
kill -TERM "$pid"
code=0
wait "$pid" || code=$?
[ "$code" -eq 0 ] || { cat "$work/arm.log" >&2; fail "the aarch64 program ended with exit code $code after SIGTERM"; }
[ -z "$(find "$work/home" -mindepth 1 -print -quit)" ] || fail "with portable.txt, the aarch64 program wrote in the home folder: $(find "$work/home" -mindepth 1)"
# Every clock both showed, the same picture. Emulated, the replay keeps to the clock by skipping frames:
# a few shown at the same clocks are enough.
awk -v from="$session_start" 'NR == FNR { if ($1 >= from) { played[$1] = $2; n++ } next }
     ($1 in played) { if (played[$1] != $2) { print "portable check: at clock " $1 " the aarch64 program showed " $2 ", the x86_64 one " played[$1] > "/dev/stderr"; bad++ } else same++ }
     END { printf "portable check: aarch64: %d of the session'"'"'s %d frames from the map on shown, the same as on x86_64\n", same, n > "/dev/stderr"; exit !(bad == 0 && same >= 5) }' \
    "$shots/played.log" "$log" || fail "the aarch64 program showed the session otherwise than the x86_64 program played it"
note "aarch64: the session from the map on under qemu offscreen, the files beside the program, SIGTERM exit code 0 ($((SECONDS - started)) s in all)"
