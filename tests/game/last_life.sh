#!/usr/bin/env bash
# A match of one life: the first crash ends it and opens the menu with its
# marker on "New Game"; Enter there starts the next match, and the game is
# left through "Exit" and "You betcha!" with status 0. With no lives at all
# the menu opens at once and the game can still be left.
source "$(dirname "$0")/lib.bash"
start_x
copy=$(copy_game)
trap cleanup EXIT

# Marker spots of the first page: "New Game", "Menu", "Exit" (32 x 24 picture
# centred on each).
MARKER_NEW_GAME=34x28+403+276
MARKER_MENU=34x28+443+306
MARKER_EXIT=34x28+451+336

# New earth, one life each: an idle ship falls into the planet within seconds.
printf 'Nova\nVega\n0\n1\n0\n1\n3\n5\n8\n0\n1\n7\n2\n4\n6\n9' >"$copy/config.cfg"
launch_game "$copy" ./zentavor -w -nm || fail "no window: $(cat "$copy/stderr")"
wait_match_frame "$copy/match.ppm" 30 || fail "no match frame: $(cat "$copy/stderr")"
wait_still "$copy/lost.ppm" 30 || fail "the match did not stop for the menu"

# One step down moves the marker from the first item to the second and leaves
# the third alone; one step up brings back the very same picture.
cp "$copy/lost.ppm" "$copy/seen.ppm"
press_and_see Down "$copy/seen.ppm" || fail "Down changed nothing"
cp "$copy/seen.ppm" "$copy/down.ppm"
press_and_see Up "$copy/seen.ppm" || fail "Up changed nothing"
for spot in "$MARKER_NEW_GAME" "$MARKER_MENU"; do
  [[ "$(region_sum "$copy/lost.ppm" "$spot")" != "$(region_sum "$copy/down.ppm" "$spot")" ]] ||
    fail "Down did not move the marker at $spot"
done
expect_eq "$(region_sum "$copy/down.ppm" "$MARKER_EXIT")" "$(region_sum "$copy/lost.ppm" "$MARKER_EXIT")" \
  "the marker at \"Exit\" after Down"
cmp -s "$copy/lost.ppm" "$copy/seen.ppm" || fail "Down and Up did not bring the first menu picture back"

# The marker on "Menu" or "Exit" would open another page, which stands still.
press_keys Return
moving || fail "Enter on the first item did not start a match"
wait_still "$copy/seen.ppm" 30 || fail "the new match did not end with the menu"

# Down twice to "Exit", Enter for the quit page, Enter on "You betcha!".
for key in Down Down Return; do
  press_and_see "$key" "$copy/seen.ppm" || fail "$key changed nothing"
done
press_keys Return
wait_game 30
expect_eq "$status" "0" "exit status after \"Exit\" and \"You betcha!\""
expect_eq "$(tr '\n' ' ' <"$copy/config.cfg")" "Nova Vega 0 1 0 1 3 5 8 0 1 7 2 4 6 9" "settings after the lost matches"

sed -i '4s/.*/0/' "$copy/config.cfg"
launch_game "$copy" ./zentavor -w -nm || fail "no window with no lives: $(cat "$copy/stderr")"
wait_match_frame "$copy/match.ppm" 30 || fail "no frame with no lives: $(cat "$copy/stderr")"
wait_still "$copy/seen.ppm" 30 || fail "no lives: the menu did not open"
leave_game
expect_eq "$status" "0" "exit status with no lives"
finish
