#!/usr/bin/env bash
# Gamepads through the real binary. The test machine has none: a helper
# preloaded into the game pushes joystick events into SDL's queue, where the
# game reads them as a real pad's. The first pad flies player 1 and the second
# player 2 (-pad2: the first flies player 2); in the menus Start opens it, the
# stick and d-pad move the marker, A confirms and B goes back, down to
# leaving the game.
source "$(dirname "$0")/lib.bash"
build_dir=${2:?build folder}
start_x
copy=$(copy_game)
trap cleanup EXIT
# Deep space: no planet for an idle ship to fall into while the test waits;
# player 2's first weapon as quick to fire as player 1's.
sed -i -e '3s/.*/1/' -e "12s/.*/$(sed -n 6p "$copy/config.cfg")/" "$copy/config.cfg"

events=$copy/pad-events
mkfifo "$events"
exec 7<>"$events"
# One joystick event: "axis PAD AXIS VALUE", "hat PAD HAT VALUE" or "button PAD BUTTON down|up";
# after "lost", the state changes but the event is lost.
pad() { echo "$*" >&7; }
# A press and release of button $2 of pad $1, then the pause every key press gets.
tap() { pad button "$1" "$2" down; pad button "$1" "$2" up; sleep "$KEY_PAUSE"; }

# Starts the game with the stand-in pads and waits for a match frame in $1.
launch_with_pads() {
  local shot=$1
  shift
  launch_game "$copy" env LD_PRELOAD="${LD_PRELOAD:+$LD_PRELOAD:}$build_dir/tests/libpad_events.so" \
    ZENTAVOR_PAD_EVENTS="$events" ./zentavor -w -nm "$@" && wait_match_frame "$shot" 30
}

# Checks bar $1 of player $2 between screenshots $3 and $4: $5 is "emptier"
# or "kept", $6 names the case.
expect_bar() {
  local before after
  before=$(hud_bar "$3" "$1" "$2")
  after=$(hud_bar "$4" "$1" "$2")
  if [[ $5 == emptier ]]; then
    emptier "$after" "$before" || fail "$6: player $2's $1 bar did not empty: $before -> $after"
  else
    emptier "$after" "$before" && fail "$6: player $2's $1 bar emptied: $before -> $after"
  fi
  return 0
}

launch_with_pads "$copy/start.ppm" || fail "no match frame with pads: $(cat "$copy/stderr")"
# Idle ships on Deep space stand still: Start has to change the picture.
wait_still "$copy/menu.ppm" 30 || fail "the match did not settle"
act_and_see "$copy/menu.ppm" tap 0 7 || fail "Start did not open the menu"
cp "$copy/menu.ppm" "$copy/top.ppm"
act_and_see "$copy/menu.ppm" pad axis 0 1 32767 || fail "the stick did not move the marker"
pad axis 0 1 0
act_and_see "$copy/menu.ppm" pad hat 1 0 1 || fail "the hat did not move the marker"
pad hat 1 0 0
cmp -s "$copy/menu.ppm" "$copy/top.ppm" || fail "down on the stick and up on the hat did not come back"
act_and_see "$copy/menu.ppm" tap 0 0 || fail "A on \"Resume game\" changed nothing"
cp "$copy/menu.ppm" "$copy/start.ppm"

# A release lost as with SDL's queue full: the pad's state, read every frame,
# lets go all the same: player 2's magazine, part spent, stays so (held,
# it would empty in half a second and reload).
pad button 1 0 down
sleep 0.2
shoot "$copy/firing.ppm"
pad lost button 1 0 up
sleep 1
shoot "$copy/released.ppm"
expect_bar ammo 2 "$copy/start.ppm" "$copy/firing.ppm" emptier "A on the second pad"
for _ in 1 2 3 4; do
  sleep 0.15
  shoot "$copy/later.ppm"
  expect_bar ammo 2 "$copy/released.ppm" "$copy/later.ppm" kept "A let go, its event lost"
done
cp "$copy/later.ppm" "$copy/start.ppm"

# A on the first pad fires; the second pad's stick pulled down boosts backwards.
pad button 0 0 down
pad axis 1 1 32767
sleep 0.6
shoot "$copy/flying.ppm"
pad button 0 0 up
pad axis 1 1 0
expect_bar ammo 1 "$copy/start.ppm" "$copy/flying.ppm" emptier "A on the first pad"
expect_bar energy 1 "$copy/start.ppm" "$copy/flying.ppm" kept "the second pad's stick"
expect_bar ammo 2 "$copy/start.ppm" "$copy/flying.ppm" kept "A on the first pad"
expect_bar energy 2 "$copy/start.ppm" "$copy/flying.ppm" emptier "the second pad's stick down"

# Start again, B goes to "Exit", A opens the quit page, A on "You betcha!" leaves.
act_and_see "$copy/flying.ppm" tap 0 7 || fail "Start did not open the menu in flight"
act_and_see "$copy/flying.ppm" tap 1 1 || fail "B changed nothing"
act_and_see "$copy/flying.ppm" tap 0 0 || fail "A on \"Exit\" changed nothing"
tap 0 0
wait_game 30
expect_eq "$status" "0" "exit status after leaving with the pad"

launch_with_pads "$copy/start.ppm" -pad2 || fail "no match frame with -pad2: $(cat "$copy/stderr")"
pad button 0 0 down
sleep 0.6
shoot "$copy/firing.ppm"
pad button 0 0 up
stop_game
expect_bar ammo 2 "$copy/start.ppm" "$copy/firing.ppm" emptier "-pad2, A on the first pad"
expect_bar ammo 1 "$copy/start.ppm" "$copy/firing.ppm" kept "-pad2, A on the first pad"
finish
