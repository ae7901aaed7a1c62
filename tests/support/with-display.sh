#!/usr/bin/env bash
# Runs a command inside a private Xvfb that it starts and stops: the server
# picks its own display number, so parallel tests never share or race for one.
set -euo pipefail
source "$(dirname "$0")/../game/lib.bash" unused
start_x
set +e
"$@"
status=$?
kill "$xvfb_pid" 2>/dev/null
exit $status
