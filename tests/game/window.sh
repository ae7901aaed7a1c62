#!/usr/bin/env bash
# The real binary opens its window with the caption and the size asked for.
source "$(dirname "$0")/lib.bash"
start_x
cd "$game_dir"

for case in "-w:1024x768" "-w -640:640x480" "-w -320:320x240" "-800 -w:800x600"; do
  args=${case%%:*}
  expected=${case##*:}
  # shellcheck disable=SC2086
  ./zentavor $args -nm 2>/tmp/zentavor-window-err.$$ &
  pid=$!
  if id=$(wait_window); then
    expect_eq "$(xdotool getwindowname "$id")" "Zentavor" "caption with $args"
    expect_eq "$(window_size "$id")" "$expected" "size with $args"
    sleep 0.5
    kill -0 $pid 2>/dev/null || fail "game with $args stopped by itself: $(cat /tmp/zentavor-window-err.$$)"
  else
    fail "no window with $args: $(cat /tmp/zentavor-window-err.$$)"
  fi
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
  rm -f /tmp/zentavor-window-err.$$
done
finish
