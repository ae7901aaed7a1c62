#!/usr/bin/env bash
# Records the golden matches of tests/replays again from their scripts, in a
# private Xvfb as the suite replays them. Run it after changing a rule of the
# match on purpose (the suite then reports where the old recordings diverge),
# and commit the new recordings with the change.
# Usage: scripts/record-replays.sh [build dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
# The folder given is the one built: build.sh would build build/ whatever it is.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
cd "$build/game"
for script in "$root"/tests/replays/*.txt; do
  recording=${script%.txt}.zrec
  "$root/tests/support/with-display.sh" ./zentavor-sim --record "$recording" "$script" >/dev/null
  echo "recorded $(basename "$recording"): $(stat -c %s "$recording") bytes"
done
