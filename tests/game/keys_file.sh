#!/usr/bin/env bash
# keys.cfg through the real binary on an AZERTY keyboard, whose digit row
# gives & é " unshifted. Without the file, player 1's fire key cannot be hit
# without Shift; with the lines the README gives for AZERTY, & fires and é
# with r boosts. Lines it cannot use are reported on stderr by number, and
# the game never writes the file.
source "$(dirname "$0")/lib.bash"
start_x
x_try setxkbmap -layout fr || { echo "cannot switch the keyboard to AZERTY" >&2; exit 1; }
copy=$(copy_game)
trap cleanup EXIT
# Deep space: no planet for an idle ship to fall into while the test waits.
sed -i '3s/.*/1/' "$copy/config.cfg"

# Holds X keys $2... for 0.6 s in a running match and leaves a screenshot in $1.
hold_keys() {
  local shot=$1 key
  shift
  x_try xdotool mousemove 512 384 || fail "cannot move the pointer"
  for key in "$@"; do x_try xdotool keydown "$key" || fail "cannot press $key"; done
  sleep 0.6
  shoot "$shot"
  for key in "$@"; do x_try xdotool keyup "$key" || true; done
}

launch_game "$copy" ./zentavor -w -nm || fail "no window: $(cat "$copy/stderr")"
wait_match_frame "$copy/start.ppm" 30 || fail "no match frame: $(cat "$copy/stderr")"
hold_keys "$copy/held.ppm" ampersand
stop_game
emptier "$(hud_bar "$copy/held.ppm" ammo 1)" "$(hud_bar "$copy/start.ppm" ammo 1)" &&
  fail "& fired without keys.cfg"
[[ -e "$copy/keys.cfg" ]] && fail "the game made a keys.cfg"

cat >"$copy/keys.cfg" <<'KEYS'
# AZERTY: the digit row unshifted
p1.fire = &
p1.manoeuvre = é
p1.weapon = "
p1.fier = space
p1.left = &
KEYS
cp "$copy/keys.cfg" "$copy/keys.before"
launch_game "$copy" ./zentavor -w -nm || fail "no window with keys.cfg: $(cat "$copy/stderr")"
wait_match_frame "$copy/start.ppm" 30 || fail "no match frame with keys.cfg: $(cat "$copy/stderr")"
hold_keys "$copy/fired.ppm" ampersand
hold_keys "$copy/boosted.ppm" eacute r
emptier "$(hud_bar "$copy/fired.ppm" ammo 1)" "$(hud_bar "$copy/start.ppm" ammo 1)" ||
  fail "p1.fire = &: & did not fire"
emptier "$(hud_bar "$copy/boosted.ppm" energy 1)" "$(hud_bar "$copy/start.ppm" energy 1)" ||
  fail "p1.manoeuvre = é: é with r did not boost"
leave_game
expect_eq "$status" "0" "exit status with keys.cfg"
expect_eq "$(grep keys.cfg "$copy/stderr")" 'zentavor: keys.cfg line 5 ignored: unknown action "p1.fier"
zentavor: keys.cfg line 6 ignored: p1.left and p1.fire (line 2) on one key, "&"' "stderr with keys.cfg"
cmp -s "$copy/keys.cfg" "$copy/keys.before" || fail "the game changed keys.cfg"

# A keys.cfg that is no regular file is refused, never waited on or read
# without end: the game plays with the default keys.
rm "$copy/keys.cfg"
mkfifo "$copy/keys.cfg"
launch_game "$copy" ./zentavor -w -nm || fail "no window with a named pipe: $(cat "$copy/stderr")"
wait_match_frame "$copy/start.ppm" 30 || fail "no match frame with a named pipe: $(cat "$copy/stderr")"
leave_game
expect_eq "$status" "0" "exit status with a named pipe"
expect_eq "$(grep keys.cfg "$copy/stderr")" "zentavor: cannot read keys.cfg: it is a named pipe, not a file" \
  "stderr with a named pipe"
finish
