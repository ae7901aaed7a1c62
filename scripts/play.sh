#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game from its folder.
# Extra arguments go to the game, e.g. scripts/play.sh -w
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" -DZENTAVOR_TESTS=OFF
cd "$root/build/game"
exec ./zentavor "$@"
