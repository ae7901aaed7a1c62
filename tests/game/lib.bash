# Helpers for the whole-game tests: a private X server, a copy of the game
# folder, and checks that fail loudly.
set -euo pipefail

game_dir=${1:?game folder}
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
expect_eq() { [[ "$1" == "$2" ]] || fail "$3: expected '$2', got '$1'"; }
expect_contains() { [[ "$1" == *"$2"* ]] || fail "$3: '$1' does not contain '$2'"; }

# A copy of the game folder that a test may change freely.
copy_game() {
  local copy
  copy=$(mktemp -d /tmp/zentavor-test.XXXXXX)
  cp -r "$game_dir"/. "$copy"/
  echo "$copy"
}

# Starts Xvfb on a display it picks itself (race-free with parallel tests),
# exports DISPLAY and waits until it accepts clients; stopped on exit.
# -noreset: by default the server resets whenever its last client leaves, and
# refuses connections meanwhile.
start_x() {
  local fifo number
  fifo=$(mktemp -u /tmp/zentavor-display.XXXXXX)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 20 number <"$fifo" || true
  rm -f "$fifo"
  [[ -n "$number" ]] || { echo "cannot start Xvfb" >&2; exit 1; }
  export DISPLAY=":$number"
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb on $DISPLAY accepts no clients" >&2
  exit 1
}

# Waits for the game's window and prints its id.
wait_window() {
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --name '^Zentavor$' 2>/dev/null | head -1 || true)
    [[ -n "$id" ]] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

window_size() {
  xdotool getwindowgeometry "$1" | awk '/Geometry/ {print $2}'
}

finish() {
  if ((failures > 0)); then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all checks passed"
}
