#!/usr/bin/env bash
# The game's command line: --help and --version answer on standard output with exit code 0 and open no
# window (no display is given, so a window tried would end in "no display" and exit code 1), an unknown
# option or a second file is refused with the usage on standard error and exit code 2, and `--` lets a
# file whose name begins with '-' through to the game. Usage: command_line_test.sh VEVU VERSION
set -uo pipefail
vevu="$1" version="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

# Runs the game with ARGS and no display; sets $code, $out and $err.
run() {
    env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER VEVU_DATA_DIR="$work/data" \
        timeout 60 "$vevu" "$@" >"$work/out" 2>"$work/err"
    code=$?
    out="$(tr -d '\r' <"$work/out")" err="$(tr -d '\r' <"$work/err")"
}

# Answers with exit code 0 on standard output alone, nothing written to the player's folder.
answers() {
    local what="$1"
    shift
    run "$@"
    [ "$code" -eq 0 ] || fail "$what: exit code $code, not 0 ($err)"
    [ -z "$err" ] || fail "$what: said on standard error: $err"
    [ ! -e "$work/data" ] || fail "$what: made the player's folder"
}

for option in --help -h; do
    answers "$option" "$option"
    [ "$(head -n 1 <<<"$out")" = "Usage: vevu [FILE.vrp]" ] || fail "$option: first line is '$(head -n 1 <<<"$out")'"
    for variable in VEVU_DATA_DIR VEVU_FRAME_LOG XDG_DATA_HOME XDG_CONFIG_HOME APPDATA SDL_RENDER_VSYNC; do
        grep -q "^  $variable " <<<"$out" || fail "$option: the usage names no $variable"
    done
done
answers "a replay named before --help" somewhere.vrp --help
[ "$(head -n 1 <<<"$out")" = "Usage: vevu [FILE.vrp]" ] || fail "a replay named before --help: no usage"

answers --version --version
[ "$out" = "vevu $version" ] || fail "--version printed '$out', not 'vevu $version'"

# Refused: exit code 2, the reason and the usage on standard error, nothing on standard output.
refused() {
    local reason="$1"
    shift
    run "$@"
    [ "$code" -eq 2 ] || fail "$*: exit code $code, not 2"
    [ -z "$out" ] || fail "$*: said on standard output: $out"
    [ "$(head -n 1 <<<"$err")" = "vevu: $reason" ] || fail "$*: first line '$(head -n 1 <<<"$err")', not 'vevu: $reason'"
    grep -qx "Usage: vevu \[FILE.vrp\]" <<<"$err" || fail "$*: no usage on standard error"
    grep -q "cannot be opened" <<<"$err" && fail "$*: taken for a replay file"
}
refused "unknown option '--bogus'" --bogus
refused "unknown option '-x'" -x
refused "unknown option '-'" -
refused "unknown option '--bogus'" a.vrp --bogus
refused "one replay file at most ('a.vrp' and 'b.vrp')" a.vrp b.vrp

# After --, a name beginning with '-' is a file: the game starts, and with no display ends.
run -- --bogus.vrp
# (1 from the game itself; the sanitizers' leak checker may answer otherwise at that exit, never 0 or 2)
[ "$code" -ne 0 ] && [ "$code" -ne 2 ] || fail "-- --bogus.vrp: exit code $code, not 1 (no display)"
grep -q "unknown option" <<<"$err" && fail "-- --bogus.vrp: taken for an option"
grep -q "no display" <<<"$err" || fail "-- --bogus.vrp: the game did not try to start ($err)"

[ "$failures" -eq 0 ] && echo "command line: every check passed"
exit $((failures > 0))
