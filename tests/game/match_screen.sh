#!/usr/bin/env bash
# The real binary under real key presses: the match screen shows its HUD panel,
# and holding player 1's fire key empties player 1's ammunition bar only.
source "$(dirname "$0")/lib.bash"
start_x
copy=$(copy_game)
# Deep space: no planet for an idle ship to fall into while the test waits.
sed -i '3s/.*/1/' "$copy/config.cfg"
cd "$copy"
pid=
trap 'if [[ -n $pid ]]; then kill -KILL $pid 2>/dev/null || true; fi; kill $xvfb_pid 2>/dev/null || true; rm -rf "$copy"' EXIT

screenshot() { x_try import -window root "$copy/$1.png"; }
press() { x_try xdotool "$@"; }
# Mean brightness (0..1) of a w x h region at x, y of a screenshot.
mean_of() { convert "$copy/$1.png" -crop "$2x$3+$4+$5" -format '%[fx:mean]' info:; }
# Ammunition bars: segments from x 90 (player 1) and 721 (player 2) on row 34.
ammo_of() { mean_of "$1" 90 9 "$2" 30; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

# Starts the game and waits for its first match frame (the window opens before
# the pictures are loaded). Fails when the game stopped.
launch() {
  ./zentavor -w -nm 2>"$copy/err" &
  pid=$!
  for _ in $(seq 150); do
    kill -0 $pid 2>/dev/null || return 1
    screenshot start && below 0.2 "$(ammo_of start 90)" && return 0
    sleep 0.1
  done
  return 1
}

for try in 1 2 3; do
  launch && break
  kill -KILL $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
  ((try < 3)) || fail "no match frame: $(cat "$copy/err")"
done
full=$(ammo_of start 90)
below 0.2 "$full" || fail "player 1's ammunition bar not drawn: $full"
below 0.1 "$(mean_of start 1024 45 0 0)" || fail "HUD panel not drawn"

press keydown 1 || fail "cannot press player 1's fire key"
sleep 0.6
screenshot firing
press keyup 1
below "$(ammo_of firing 90)" "$(awk -v f="$full" 'BEGIN { print f - 0.05 }')" ||
  fail "player 1's ammunition bar did not shrink: $full -> $(ammo_of firing 90)"
expect_eq "$(ammo_of firing 721)" "$(ammo_of start 721)" "player 2's ammunition bar"
kill -0 $pid 2>/dev/null || fail "game stopped: $(cat "$copy/err")"
finish
