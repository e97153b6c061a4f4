#!/usr/bin/env bash
# Re-records every replay of tests/replays after a change of behaviour that is meant, and prints the first
# digest that changed in each. The commit that keeps the new replays says why they changed.
#
#   scripts/replays.sh          the recorded keys again, new digests (vevu_replay rerecord)
#   scripts/replays.sh --anew   new sessions from the players (the bot, the random keys, the task
#                               player): for when the old keys no longer play the game to its end
#
# Then every replay is played and the coverage line checked: new sessions must still reach every class in
# every state, every sound and every picture.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default --target vevu_replay
export SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=dummy
tool=build/default/vevu_replay
if [[ "${1:-}" == "--anew" ]]; then
    for kind in campaign mission0 mission1 mission2 mission3 tasks intro outro; do
        "$tool" record "$kind" "tests/replays/$kind.vrp"
    done
else
    for replay in tests/replays/*.vrp; do
        "$tool" rerecord "$replay"
    done
fi
"$tool" play tests/replays/*.vrp --complete | grep -v "^ok "
