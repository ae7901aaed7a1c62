#!/usr/bin/env bash
# Without a display, an image or the font, the game stops at once with one
# line naming what failed, why, and where it helps what to do, and a non-zero
# status, instead of crashing or waiting later.
source "$(dirname "$0")/lib.bash"

# Runs the game in folder $1 (as ./zentavor, or $2) with a time limit; sets
# status, err and out.
run_game() {
  set +e
  err=$(cd "$1" && timeout 20 "${2:-./zentavor}" -w -nm 2>&1 >"$1/stdout")
  status=$?
  out=$(cat "$1/stdout")
  set -e
}

check_stop() {
  local what=$1 needle=$2
  ((status != 0 && status != 124)) || fail "$what: status $status"
  expect_eq "$(printf '%s\n' "$err" | wc -l)" "1" "$what: lines on stderr"
  expect_contains "$err" "$needle" "$what: message"
  # Left to choose, SDL would try drivers that draw in the terminal.
  expect_eq "$out" "" "$what: output on the terminal"
}

copy=$(copy_game)
trap 'rm -rf "$copy"' EXIT
(unset DISPLAY; run_game "$copy"; check_stop "no display" "cannot open a window: no display: set DISPLAY or run under a desktop"; exit $failures) ||
  failures=$((failures + 1))
# A display nobody serves: the highest number X allows.
(DISPLAY=:65535 run_game "$copy"; check_stop "unreachable display" "cannot connect to the display :65535"; exit $failures) ||
  failures=$((failures + 1))

start_x
trap 'rm -rf "$copy"; kill $xvfb_pid 2>/dev/null || true' EXIT

HINT="; run the game from its folder, e.g. build/game, or use the installed launcher"
image=img/gunship2.bmp
while IFS='|' read -r what make message; do
  rm -f "$copy/$image" "$copy/font.ttf" # cp would wait on a named pipe left by the case before
  cp "$game_dir/$image" "$copy/$image"
  cp "$game_dir/font.ttf" "$copy/font.ttf"
  (cd "$copy" && eval "$make")
  run_game "$copy"
  check_stop "$what" "zentavor: cannot load $message"
done <<END
missing image|rm $image|$image: No such file or directory$HINT
unreadable image|printf 'not a bitmap' >$image|$image: File is not a Windows BMP file
image that is a named pipe|rm $image; mkfifo $image|$image: it is a named pipe, not a file
missing font|rm font.ttf|font.ttf: No such file or directory$HINT
unreadable font|printf 'not a font' >font.ttf|font.ttf: Couldn't load font file
font that is a named pipe|rm font.ttf; mkfifo font.ttf|font.ttf: it is a named pipe, not a file
END

# Started from another folder, where nothing the game needs is found.
mkdir "$copy/elsewhere"
run_game "$copy/elsewhere" ../zentavor
check_stop "another folder" "zentavor: cannot load img/bg.bmp: No such file or directory$HINT"
finish
