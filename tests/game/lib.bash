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
  for _ in $(seq 200); do
    id=$(xdotool search --name '^Zentavor$' 2>/dev/null | head -1 || true)
    [[ -n "$id" ]] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

window_size() {
  xdotool getwindowgeometry "$1" | awk '/Geometry/ {print $2}'
}

# "window" or "full": whether a mapped top-level window covers the whole
# screen of size $1 (WxH).
screen_mode() {
  local id
  for id in $(xwininfo -root -children | awk -v size="$1" '$0 ~ " " size "\\+0\\+0 " {print $1}'); do
    xwininfo -id "$id" | grep -q 'Map State: IsViewable' && { echo full; return; }
  done
  echo window
}

# The X server here refuses a connection now and then: X clients get a few tries.
x_try() {
  local _
  for _ in 1 2 3 4 5; do
    "$@" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

# Starts a command (./zentavor with options, or a wrapper around it) in game
# folder $1, its stderr in $1/stderr; sets game_pid and game_window. Returns 1
# when no window opens.
launch_game() {
  local dir=$1
  shift
  game_stderr=$dir/stderr
  (cd "$dir" && exec "$@" 2>"$game_stderr" >/dev/null) &
  game_pid=$!
  game_window=$(wait_window)
}

# Waits up to $1 seconds for the game to end by itself and sets status: its
# exit status, or 124 when it had to be killed.
wait_game() {
  local _
  for _ in $(seq $(($1 * 10))); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$game_pid" 2>/dev/null; then
    stop_game
    status=124
  else
    set +e
    wait "$game_pid"
    status=$?
    set -e
  fi
  # A sanitizer's report is the only trace of what went wrong in a sanitized run.
  if ((status != 0)) && grep -qE 'Sanitizer|runtime error' "${game_stderr:-/dev/null}"; then
    grep -v "^ALSA lib" "$game_stderr" | head -60 >&2
  fi
}

stop_game() {
  kill -KILL "$game_pid" 2>/dev/null || true
  wait "$game_pid" 2>/dev/null || true
}

KEY_PAUSE=0.3 # seconds between key presses: every one lands in its own frame, even in slow builds

# Presses keys one after the other in the game's window.
press_keys() {
  local key
  x_try xdotool mousemove 512 384 || fail "cannot move the pointer"
  for key in "$@"; do
    x_try xdotool key "$key" || fail "cannot press $key"
    sleep "$KEY_PAUSE"
  done
}

# Screenshot of the game's window into file $1 (.ppm: no time stamps, so equal
# frames give equal files).
shoot() { x_try import -window "$game_window" "$1"; }

# Mean of each of red, green and blue (0..1) over a WxH+X+Y region of a screenshot.
channel_means() { convert "$1" -crop "$2" +repage -format '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]' info:; }

# A checksum of a WxH+X+Y region of a screenshot.
region_sum() { convert "$1" -crop "$2" +repage rgb:- | md5sum | cut -d' ' -f1; }

HUD_PANEL=1024x45+0+0 # the panel across the top of the playfield

# Mean brightness (0..1) of a bar of the HUD panel in screenshot $1: $2 is
# ammo or energy, $3 the player (1 or 2). A bar's segments run 90 pixels
# along the panel's bottom row; an emptier bar is darker.
hud_bar() {
  local x
  case "$2 $3" in
    "ammo 1") x=90 ;; "ammo 2") x=721 ;; "energy 1") x=283 ;; "energy 2") x=914 ;;
    *) echo "no HUD bar $2 $3" >&2; return 1 ;;
  esac
  convert "$1" -crop "90x9+$x+30" +repage -format '%[fx:mean]' info:
}

# Whether bar value $1 is lower than $2 by at least one of its 30 segments.
emptier() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b - 0.01) }'; }

# Waits up to $2 seconds for a match frame: the HUD panel drawn, while the
# window is black before the pictures are loaded. The frame is left in file $1.
wait_match_frame() {
  local _ mean
  for _ in $(seq $(($2 * 5))); do
    kill -0 "$game_pid" 2>/dev/null || return 1
    if shoot "$1"; then
      mean=$(channel_means "$1" "$HUD_PANEL" | awk '{print $1 + $2 + $3}')
      awk -v m="$mean" 'BEGIN { exit !(m > 0.1) }' && return 0
    fi
    sleep 0.2
  done
  return 1
}

# Waits up to $2 seconds for the window to stand still (a menu, not a
# running match): two screenshots 0.3 s apart that are equal. The still
# frame is left in file $1.
wait_still() {
  local _ previous
  previous=$(mktemp /tmp/zentavor-shot.XXXXXX.ppm)
  shoot "$previous" || true
  for _ in $(seq $(($2 * 3))); do
    sleep 0.3
    if shoot "$1" && cmp -s "$1" "$previous"; then
      rm -f "$previous"
      return 0
    fi
    cp "$1" "$previous" 2>/dev/null || true
  done
  rm -f "$previous"
  return 1
}

# Whether the window keeps changing (a running match): two screenshots 0.3 s
# apart that differ.
moving() {
  local first second result=1
  first=$(mktemp /tmp/zentavor-shot.XXXXXX.ppm)
  second=$(mktemp /tmp/zentavor-shot.XXXXXX.ppm)
  if shoot "$first" && sleep 0.3 && shoot "$second" && ! cmp -s "$first" "$second"; then
    result=0
  fi
  rm -f "$first" "$second"
  return $result
}

# Does something (the command $2...) in a menu that stands still as
# screenshot $1 and waits until it stands still in a different picture, which
# then replaces $1. One input per frame however slow the frames: two presses
# read in one frame count once.
act_and_see() {
  local shot=$1 previous current _
  shift
  previous=$(mktemp /tmp/zentavor-shot.XXXXXX.ppm)
  current=$(mktemp /tmp/zentavor-shot.XXXXXX.ppm)
  cp "$shot" "$previous"
  "$@"
  for _ in $(seq 100); do
    sleep 0.3
    shoot "$current" || continue
    if cmp -s "$current" "$previous" && ! cmp -s "$current" "$shot"; then
      mv "$current" "$shot"
      rm -f "$previous"
      return 0
    fi
    cp "$current" "$previous"
  done
  rm -f "$previous" "$current"
  return 1
}

# Presses key $1 in a menu that stands still as screenshot $2 (act_and_see).
press_and_see() { act_and_see "$2" press_keys "$1"; }

# Leaves a running match through the menu: Escape opens it, moves to "Exit",
# opens the quit page and confirms "You betcha!". Escape never leads anywhere
# else, so it is pressed until the game ends: a slow frame that reads two
# presses as one costs a press, not the test. Sets status.
leave_game() {
  local _
  for _ in $(seq 12); do
    kill -0 "$game_pid" 2>/dev/null || break
    press_keys Escape
  done
  wait_game 30
}

# Runs a zentavor-sim script given on stdin in the game folder; the JSON lines
# land in $work/$1.json. Exit status 3 means the X server refused the
# connection, which a loaded machine does now and then; that alone is tried again.
simulate() {
  local name=$1 status
  cat >"$work/$name.txt"
  for _ in 1 2 3 4 5; do
    status=0
    ./zentavor-sim "$work/$name.txt" >"$work/$name.json" 2>"$work/$name.err" || status=$?
    ((status == 3)) || break
    sleep 0.2
  done
  ((status == 0)) || fail "$name: zentavor-sim exited with $status: $(cat "$work/$name.err")"
}

# Ends whatever a test started or made: its game, its X server, its copy.
cleanup() {
  if [[ -n ${game_pid:-} ]]; then kill -KILL "$game_pid" 2>/dev/null || true; fi
  if [[ -n ${xvfb_pid:-} ]]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  if [[ -n ${copy:-} ]]; then rm -rf "$copy"; fi
}

finish() {
  if ((failures > 0)); then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all checks passed"
}
