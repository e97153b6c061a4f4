#!/usr/bin/env bash
# Renders the screenshots twice into two folders and wants the same bytes: regenerating
# docs/screenshots from the same tree must not change them.
# Usage: screenshots_reproducible.sh [emulator] path/to/vevu_screenshots work-dir
set -euo pipefail
tool=("${@:1:$#-1}") work=${!#}
rm -rf "$work"
"${tool[@]}" "$work/first" >/dev/null
"${tool[@]}" "$work/second" >/dev/null
count=0
for first in "$work"/first/*.png; do
    cmp "$first" "$work/second/$(basename "$first")"
    count=$((count + 1))
done
[ "$count" -eq 7 ] || { echo "screenshots: $count pictures, want 7" >&2; exit 1; }
echo "screenshots: $count pictures, the same bytes twice"
