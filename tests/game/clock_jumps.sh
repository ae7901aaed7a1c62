#!/usr/bin/env bash
# The game's clock jumping forward while both players fly and fire (a laptop
# resumed after hours, or after 24 days, past the int's range of ticks): the
# frame takes the jump whole and flings ships and shots far beyond the map;
# the game draws on, flies them back, and leaves through the menu as usual.
source "$(dirname "$0")/lib.bash"
build_dir=${2:?build folder}
start_x
copy=$(copy_game)
trap cleanup EXIT
export SDL_AUDIODRIVER=dummy

# Three hours, then 24 days, a second apart, some seconds into the match.
launch_game "$copy" env LD_PRELOAD="${LD_PRELOAD:+$LD_PRELOAD:}$build_dir/tests/libclock_jumps.so" \
  ZENTAVOR_CLOCK_JUMPS=4000:10000000,5000:2100000000 ./zentavor -w -nm || fail "no window"
wait_match_frame "$copy/start.ppm" 30 || fail "no match frame"
x_try xdotool mousemove 512 384 keydown r keydown Up keydown 1 keydown i || fail "cannot press keys"
sleep 6
x_try xdotool keyup r keyup Up keyup 1 keyup i || fail "cannot let go of keys"
kill -0 "$game_pid" 2>/dev/null || fail "the game ended at the jumps: $(grep -v '^ALSA' "$game_stderr" | head -20)"
moving || fail "the game stands still after the jumps"
leave_game
expect_eq "$status" 0 "exit status ($(grep -v '^ALSA' "$game_stderr" | head -3))"
finish
