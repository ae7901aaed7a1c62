#!/usr/bin/env bash
# Configures and builds into build/; the game folder is build/game.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
set +e
cmake --build "$root/build" -j"$(nproc)" 2>&1 | grep -Ev '^\[ *[0-9]+%\]|^-- '
status=${PIPESTATUS[0]}
set -e
exit "$status"
