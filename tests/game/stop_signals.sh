#!/usr/bin/env bash
# The system stopping a recording game (a desktop logging out, a terminal
# closed, Ctrl+C, kill) in a match, in the menu or in a sub-screen: the game
# stops in order within a second, with status 0, its recording finished (it
# replays verified) and config.cfg saved as at a quit through the menu. A game
# killed outright leaves a recording that replays verified up to its last
# second, cut short; a second signal while it stops ends it at once.
source "$(dirname "$0")/lib.bash"
start_x
copy=$(copy_game)
trap cleanup EXIT
export SDL_AUDIODRIVER=dummy
STOP_MS=1000

# A recording game in the copy, into $1.zrec, after two seconds of thrust.
# Its config.cfg is on one line, which only a save puts back on sixteen.
start_recording() {
  tr '\n' ' ' <"$game_dir/config.cfg" >"$copy/config.cfg"
  launch_game "$copy" ./zentavor -w -nm -record "$copy/$1.zrec" || fail "$1: no window"
  wait_match_frame "$copy/$1.ppm" 30 || fail "$1: no match frame"
  x_try xdotool mousemove 512 384 keydown r keydown Up || fail "$1: cannot press keys"
  sleep 2
  x_try xdotool keyup r keyup Up || fail "$1: cannot let go of keys"
}

# Signal $2 to the game of case $1, which should end with status $3 at once.
stop_with() {
  local started elapsed
  started=$(date +%s%N)
  kill -"$2" "$game_pid"
  wait_game 10
  elapsed=$((($(date +%s%N) - started) / 1000000))
  expect_eq "$status" "$3" "$1: exit status ($(grep -v '^ALSA' "$game_stderr" | head -3))"
  ((elapsed < STOP_MS)) || fail "$1: $elapsed ms to stop"
}

# The recording of case $1 replayed headless: the verdict holds $2.
replays() {
  local status=0
  (cd "$copy" && ./zentavor-sim --replay "$1.zrec" >"$1.json" 2>"$1.err") || status=$?
  expect_eq "$status" 0 "$1: replay status ($(cat "$copy/$1.err"))"
  expect_contains "$(tail -1 "$copy/$1.json")" "$2" "$1: replay"
}

saved_lines() { wc -l <"$copy/config.cfg"; }

start_recording term
stop_with term TERM 0
replays term '"replay":"verified"'
[[ $(tail -1 "$copy/term.json") != *cut* ]] || fail "term: the recording was cut: $(tail -1 "$copy/term.json")"
expect_eq "$(saved_lines)" 15 "term: config.cfg saved"

start_recording int
press_keys Escape
wait_still "$copy/menu.ppm" 20 || fail "int: the menu did not open"
stop_with int INT 0
replays int '"replay":"verified"'
expect_eq "$(saved_lines)" 15 "int: config.cfg saved"

# Menu, the main-menu page, the ship yard (whose ships never stand still).
start_recording hup
press_keys Escape Down Return Down Return
moving || fail "hup: no ship yard"
stop_with hup HUP 0
replays hup '"replay":"verified"'
expect_eq "$(saved_lines)" 15 "hup: config.cfg saved"

start_recording kill
stop_with kill KILL 137
replays kill ',"cut":true}'
frames=$(tail -1 "$copy/kill.json" | sed 's/.*"frames":\([0-9]*\).*/\1/')
((frames > 0)) || fail "kill: no frame survived the kill: $(tail -1 "$copy/kill.json")"
expect_eq "$(saved_lines)" 0 "kill: config.cfg left as it was"

# Both signals wait while the game is stopped: the second comes while it stops.
start_recording twice
kill -STOP "$game_pid"
kill -TERM "$game_pid"
kill -INT "$game_pid"
kill -CONT "$game_pid"
wait_game 10
((status == 130 || status == 143)) || fail "twice: exit status $status, not that of a signal"
finish
