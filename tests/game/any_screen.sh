#!/usr/bin/env bash
# -desktop fills the screen at its own resolution and -size opens a window of
# the size asked for; both keep the playfield 4:3, centred between black bars,
# with the match, the frozen match behind the menu and the menu's texts where
# they are in a 1024x768 window, only scaled. Sizes that cannot be had are
# refused with one line.
source "$(dirname "$0")/lib.bash"

# The box around what is white on a menu page ("WxH+X+Y"): its texts and
# marker. The frozen match behind is tinted blue, so red and green stay low there.
white_box() { convert "$1" -separate -delete 2 -evaluate-sequence min -threshold 80% -format '%@' info:; }
region_max() { convert "$1" -crop "$2" +repage -format '%[max]' info:; }
region_mean() { convert "$1" -crop "$2" +repage -format '%[fx:mean]' info:; }

# Starts the game with the options and checks its window against size $1 and
# mode $2 on screen $3; the shots are then taken of what the player sees.
launch_sized() {
  local size=$1 mode=$2 screen=$3
  shift 3
  launch_game "$copy" ./zentavor -nm "$@" || { fail "no window with $*: $(cat "$copy/stderr")"; return 1; }
  expect_eq "$(window_size "$game_window")" "$size" "size with $*"
  expect_eq "$(screen_mode "$screen")" "$mode" "mode with $*"
  # Full screen, SDL draws into a window of its own beside the named one.
  [[ $mode == window ]] || game_window=root
}

# Opens the menu over a match frame; leaves the frame in $copy/match.ppm and
# the still menu in $copy/menu.ppm.
open_menu() {
  wait_match_frame "$copy/match.ppm" 30 || { fail "no match frame"; return 1; }
  press_keys Escape
  wait_still "$copy/menu.ppm" 30 || { fail "the menu did not stand still"; return 1; }
}

# Checks the white box of the menu against $reference_box, scaled by $1 and
# moved by ($2, $3), within a few pixels for the smoothing of the scaled texts.
expect_scaled_box() {
  local seen
  seen=$(white_box "$copy/menu.ppm")
  awk -v ref="$reference_box" -v seen="$seen" -v s="$1" -v dx="$2" -v dy="$3" 'BEGIN {
    split(ref, r, /[x+]/); split(seen, v, /[x+]/)
    want[1] = r[1] * s; want[2] = r[2] * s; want[3] = dx + r[3] * s; want[4] = dy + r[4] * s
    for (i = 1; i <= 4; ++i) if (v[i] < want[i] - 4 || v[i] > want[i] + 4) bad = 1
    if (bad) printf "expected about %dx%d+%d+%d", want[1], want[2], want[3], want[4]
    exit bad
  }' >"$copy/box" || fail "menu texts with $4 at $seen: $(cat "$copy/box") (1024x768: $reference_box)"
}

# Each WxH+X+Y region of screenshot $1 is black.
expect_black() {
  local shot=$1 region
  shift
  for region in "$@"; do
    expect_eq "$(region_max "$shot" "$region")" "0" "bar $region of $(basename "$shot")"
  done
}

start_x 1280x1024x24
copy=$(copy_game)
trap cleanup EXIT
launch_sized 1024x768 window 1280x1024 -w && open_menu && reference_box=$(white_box "$copy/menu.ppm")
stop_game

# Full screen at 1280x1024: the playfield is 1280x960, 32 rows below the top.
HUD_PANEL=1280x56+0+32
if launch_sized 1280x1024 full 1280x1024 -desktop && open_menu; then
  expect_black "$copy/match.ppm" 1280x32+0+0 1280x32+0+992
  expect_black "$copy/menu.ppm" 1280x32+0+0 1280x32+0+992
  expect_scaled_box 1.25 0 32 -desktop
  # The frozen match is the playfield alone: a capture of the whole screen
  # would push a black band over the HUD panel at its top.
  awk -v m="$(region_mean "$copy/menu.ppm" 1280x24+0+34)" 'BEGIN { exit !(m > 0.05) }' ||
    fail "the menu's background lost the HUD panel with -desktop"
fi
stop_game

for refused in "-size 1600x900:larger than the screen" "-size 300x240:-size wants"; do
  (cd "$copy" && ./zentavor -nm ${refused%%:*} 2>"$copy/stderr" >/dev/null) && fail "${refused%%:*} started"
  expect_contains "$(cat "$copy/stderr")" "${refused#*:}" "message for ${refused%%:*}"
  expect_eq "$(wc -l <"$copy/stderr")" "1" "lines of the message for ${refused%%:*}"
done

kill "$xvfb_pid"
start_x 1920x1080x24
trap cleanup EXIT
# A 1600x900 window: the playfield is 1200x900, 200 columns from the left.
HUD_PANEL=1200x53+200+0
if launch_sized 1600x900 window 1920x1080 -size 1600x900 && open_menu; then
  expect_black "$copy/match.ppm" 200x900+0+0 200x900+1400+0
  expect_black "$copy/menu.ppm" 200x900+0+0 200x900+1400+0
  expect_scaled_box 1.171875 200 0 "-size 1600x900"
fi
finish
