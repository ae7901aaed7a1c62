#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" --test
"$root/scripts/build.sh" -DZENTAVOR_TESTS=ON
cd "$root/build"
ctest --output-on-failure --timeout 600 -j2 "$@"
