#!/usr/bin/env bash
# The real binary opens its window with the caption, size and mode asked for.
# Options are matched whole and case by case, the program's own name included;
# a later size wins over an earlier one.
source "$(dirname "$0")/lib.bash"
# A screen larger than every window: full screen shows as a window over all of it.
SCREEN=1280x1024
start_x "${SCREEN}x24"
copy=$(copy_game)
trap cleanup EXIT

# Starts the game with argv[0] $1 and the other arguments, and checks caption,
# size and mode against $expected_size and $expected_mode.
check_window() {
  local name=$1 what="${*:2} (run as $1)"
  shift
  launch_game "$copy" bash -c 'exec -a "$0" ./zentavor "$@"' "$name" "$@" ||
    { fail "no window with $what: $(cat "$copy/stderr")"; stop_game; return; }
  expect_eq "$(x_try xdotool getwindowname "$game_window")" "Zentavor" "caption with $what"
  expect_eq "$(window_size "$game_window")" "$expected_size" "size with $what"
  sleep 0.5
  expect_eq "$(screen_mode "$SCREEN")" "$expected_mode" "mode with $what"
  kill -0 "$game_pid" 2>/dev/null || fail "game with $what stopped by itself: $(cat "$copy/stderr")"
  stop_game
}

# "options:size:mode"; every run also has -nm.
for case in \
  "-w:1024x768:window" \
  "-1024 -w:1024x768:window" \
  "-w -800:800x600:window" \
  "-640 -w:640x480:window" \
  "-w -320:320x240:window" \
  "-window -320:320x240:window" \
  "-w -800 -640:640x480:window" \
  "-320 -w -1024:1024x768:window" \
  ":1024x768:full" \
  "-640:640x480:full" \
  "-W -Window --w -WINDOW -ww -w0 w:1024x768:full" \
  "-w -480 -1280 --800 -320x240 -64 640 -0320:1024x768:window"; do
  IFS=: read -r options expected_size expected_mode <<<"$case"
  # shellcheck disable=SC2086
  check_window ./zentavor $options -nm
done

# The program's own name counts as an option too.
expected_size=640x480 expected_mode=window
check_window -640 -w -nm
expected_size=800x600 expected_mode=window
check_window -w -800 -nm
finish
