#!/usr/bin/env bash
# Configures and builds into build/; the game folder is build/game.
# With --sanitize: an AddressSanitizer and UBSan build in build-sanitize/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$root/build
if [[ "${1:-}" == "--sanitize" ]]; then
  shift
  dir=$root/build-sanitize
  set -- -DZENTAVOR_SANITIZE=ON "$@"
fi
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
set +e
cmake --build "$dir" -j"$(nproc)" 2>&1 | grep -Ev '^\[ *[0-9]+%\]|^-- '
status=${PIPESTATUS[0]}
set -e
exit "$status"
