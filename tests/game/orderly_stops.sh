#!/usr/bin/env bash
# Without a display, an image or the font, the game stops at once with one
# line naming what failed and a non-zero status, instead of crashing later.
source "$(dirname "$0")/lib.bash"

# Runs the game in folder $1 with a time limit; sets status and err.
run_game() {
  set +e
  err=$(cd "$1" && timeout 20 ./zentavor -w -nm 2>&1 >/dev/null)
  status=$?
  set -e
}

check_stop() {
  local what=$1 needle=$2
  ((status != 0 && status != 124)) || fail "$what: status $status"
  expect_eq "$(printf '%s\n' "$err" | wc -l)" "1" "$what: lines on stderr"
  expect_contains "$err" "$needle" "$what: message"
}

(unset DISPLAY; run_game "$game_dir"; check_stop "no display" "window"; exit $failures) || failures=$((failures + 1))

start_x
copy=$(copy_game)
trap 'rm -rf "$copy"; kill $xvfb_pid 2>/dev/null || true' EXIT

rm "$copy/img/gunship2.bmp"
run_game "$copy"
check_stop "missing image" "img/gunship2.bmp"

printf 'not a bitmap' >"$copy/img/gunship2.bmp"
run_game "$copy"
check_stop "unreadable image" "img/gunship2.bmp"

cp "$game_dir/img/gunship2.bmp" "$copy/img/gunship2.bmp"
rm "$copy/font.ttf"
run_game "$copy"
check_stop "missing font" "font.ttf"
finish
