#!/usr/bin/env bash
# Fuzzes every reader of a file: builds the fuzz preset (clang, libFuzzer, AddressSanitizer + UBSan) and
# runs each tests/fuzz/NAME_fuzz.cpp program for SECONDS (default 60) from its seeds and the cases found
# before. Fails on any finding: a crash, a hang past the time limit, a single allocation or a resident
# set past the memory limits. What is found is written to build/fuzz/findings/NAME/; once mended, copy it
# into tests/fuzz/regressions/NAME/, where every build reads it again as the test fuzz_cases_NAME.
# As many readers run at once as the machine has cores.
#
#   scripts/fuzz.sh [SECONDS] [NAME...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
case "$seconds" in
'' | *[!0-9]*) echo "fuzz: SECONDS must be a whole number, not \"$seconds\"" >&2; exit 2 ;;
esac
scripts/install-deps.sh --fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    for source in tests/fuzz/*_fuzz.cpp; do
        name=$(basename "$source" _fuzz.cpp)
        names+=("$name")
    done
fi

for name in "${names[@]}"; do
    [ -x "build/fuzz/${name}_fuzz" ] ||
        { echo "fuzz: no program build/fuzz/${name}_fuzz (is there a tests/fuzz/${name}_fuzz.cpp?)" >&2; exit 2; }
done

# One reader's run; its exit status says whether it found a fault.
fuzz_one() {
    local name=$1 program=build/fuzz/${1}_fuzz
    # The corpus grows in the build folder from run to run; the seeds and the cases found stay as they are.
    local corpus=build/fuzz/corpus/$name findings=build/fuzz/findings/$name
    mkdir -p "$corpus" "$findings"
    local inputs=("$corpus" "tests/fuzz/seeds/$name")
    [ -d "tests/fuzz/regressions/$name" ] && inputs+=("tests/fuzz/regressions/$name")
    # A reader must refuse a file long before any of these: 25 seconds for one input (a busy machine runs
    # the slowest in a few), 192 MiB in one allocation (the most a reader holds is 128 MiB: the longest
    # session the game records, or a test replay's passes and digests), 768 MiB resident (the sanitizers'
    # own memory and quarantine included). Inputs up to 64 KiB.
    "$program" -max_total_time="$seconds" -timeout=25 -malloc_limit_mb=192 -rss_limit_mb=768 \
        -max_len=65536 -print_final_stats=1 -artifact_prefix="$findings/" "${inputs[@]}" \
        2>"build/fuzz/$name.log"
}

# The readers run side by side, one to a core: each is single-threaded, and together they take SECONDS
# for every core's worth of readers instead of SECONDS each.
jobs=$(nproc 2>/dev/null || echo 1)
failed=()
pids=() running=()
report() { # waits for the oldest run still going and reports it
    local name=${running[0]} pid=${pids[0]}
    running=("${running[@]:1}") pids=("${pids[@]:1}")
    echo "== $name: $seconds s"
    if ! wait "$pid"; then
        local findings=build/fuzz/findings/$name
        tail -n 60 "build/fuzz/$name.log" >&2
        echo "fuzz: $name found a fault: $(ls -t "$findings" | head -n 1 | sed "s|^|$findings/|")" >&2
        failed+=("$name")
        return
    fi
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "build/fuzz/$name.log" || true
}
for name in "${names[@]}"; do
    [ ${#pids[@]} -lt "$jobs" ] || report
    fuzz_one "$name" &
    pids+=($!) running+=("$name")
done
while [ ${#pids[@]} -gt 0 ]; do report; done
if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzz: faults found by ${failed[*]}; the log of each is build/fuzz/NAME.log" >&2
    exit 1
fi
echo "fuzz: nothing found in $seconds s each (${names[*]})"
