#!/usr/bin/env bash
# The game leaves the machine alone where it can: a menu page that stands
# still sleeps until a key comes, and -fps holds the match to that many frames
# a second by sleeping between them. Prints the figures it measures.
source "$(dirname "$0")/lib.bash"
build_dir=$(realpath "${2:?build folder}")
start_x
copy=$(copy_game)
trap cleanup EXIT

MEASURE_SECONDS=3
MAX_STILL_MENU_CPU=5 # percent of one core; a menu that keeps drawing takes far more
FPS_CAP=10 # low enough for slow and busy machines to keep up with
MAX_CAPPED_MATCH_CPU=60 # percent of one core, all threads; uncapped the match takes all it gets

# CPU time of the game, user and system of all its threads, over
# MEASURE_SECONDS, in percent of one core.
cpu_percent() {
  local before after
  before=$(awk '{ print $14 + $15 }' "/proc/$game_pid/stat")
  sleep "$MEASURE_SECONDS"
  after=$(awk '{ print $14 + $15 }' "/proc/$game_pid/stat")
  awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" -v s=$MEASURE_SECONDS 'BEGIN { printf "%.1f", 100 * t / hz / s }'
}

# Checks that figure $1 is below $2; $3 names it.
expect_below() {
  echo "$3: $1"
  awk -v v="$1" -v max="$2" 'BEGIN { exit !(v < max) }' || fail "$3 is $1, not below $2"
}

launch_game "$copy" ./zentavor -w -nm || fail "no window: $(cat "$copy/stderr")"
wait_match_frame "$copy/shot.ppm" 30 || fail "no match frame"
press_keys Escape
wait_still "$copy/shot.ppm" 30 || fail "the menu did not stand still"
expect_below "$(cpu_percent)" $MAX_STILL_MENU_CPU "CPU of the still first menu page, % of a core"
# Menu, Weapons: a sub-screen waits as well, and still answers its keys.
press_keys Down Return Down Down Return
wait_still "$copy/armory.ppm" 30 || fail "the armory did not stand still"
expect_below "$(cpu_percent)" $MAX_STILL_MENU_CPU "CPU of the still armory, % of a core"
press_and_see Right "$copy/armory.ppm" || fail "Right in the armory changed nothing"
stop_game

# Every buffer swap of the game is logged (with the sanitizers' preload kept).
log=$copy/swaps
launch_game "$copy" env ZENTAVOR_SWAP_LOG="$log" \
  LD_PRELOAD="${LD_PRELOAD:+$LD_PRELOAD:}$build_dir/tests/bench/libswap_log_shim.so" \
  ./zentavor -w -nm -fps $FPS_CAP || fail "no window with -fps: $(cat "$copy/stderr")"
wait_match_frame "$copy/shot.ppm" 30 || fail "no match frame with -fps"
: >"$log"
expect_below "$(cpu_percent)" $MAX_CAPPED_MATCH_CPU "CPU of a match with -fps $FPS_CAP, % of a core"
rate=$(awk -v s=$MEASURE_SECONDS 'END { printf "%.1f", NR / s }' "$log")
echo "frames a second with -fps $FPS_CAP: $rate"
awk -v r="$rate" -v cap=$FPS_CAP 'BEGIN { exit !(r > cap / 2 && r < cap + 1) }' ||
  fail "-fps $FPS_CAP gave $rate frames a second"
finish
