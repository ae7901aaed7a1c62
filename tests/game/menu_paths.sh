#!/usr/bin/env bash
# The menus through the real binary and real key presses: the way out writes
# the settings, an unchanged run gives back the same file, and the ship and
# weapon choices come back on the next start.
source "$(dirname "$0")/lib.bash"

KEY_PAUSE=0.3 # seconds between key presses: every one lands in its own frame

start_x
copy=$(copy_game)
trap 'rm -rf "$copy"; kill $xvfb_pid 2>/dev/null || true' EXIT

# Starts the game in the copy, presses the keys, and waits for it to end;
# sets status (124 when it did not end by itself).
play() {
  (cd "$copy" && exec ./zentavor -w -nm >/dev/null 2>&1) &
  local pid=$!
  if ! wait_window >/dev/null; then
    fail "no window"
  fi
  sleep 1
  xdotool mousemove 512 384
  for key in "$@"; do
    xdotool key "$key"
    sleep "$KEY_PAUSE"
  done
  for _ in $(seq 100); do
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 $pid 2>/dev/null; then
    kill $pid
    wait $pid 2>/dev/null || true
    status=124
  else
    set +e
    wait $pid
    status=$?
    set -e
  fi
}

quit_keys=(Escape Escape Escape Escape)

printf 'Nova\nVega\n2\n7\n3\n9\n8\n7\n6\n5\n0\n0\n1\n2\n3\n4' >"$copy/config.cfg"
cp "$copy/config.cfg" "$copy/before.cfg"

play "${quit_keys[@]}"
expect_eq "$status" "0" "four escapes: exit status"
cmp -s "$copy/before.cfg" "$copy/config.cfg" || fail "an unchanged run rewrote config.cfg differently: $(tr '\n' ' ' <"$copy/config.cfg")"
[[ ! -e "$copy/config.cfg.tmp" ]] || fail "the temporary file was left behind"

# Menu -> Ships: player 1 one ship on, player 2 two on; Weapons: player 1's
# first slot one weapon on, player 2's last slot one weapon back; then out.
play Escape Down Return \
  Down Return Right Down Right Right Escape Escape \
  Down Return Right Up Up Left Escape Escape \
  Escape Escape "${quit_keys[@]:1}"
expect_eq "$status" "0" "choices: exit status"
expect_eq "$(tr '\n' ' ' <"$copy/config.cfg")" "Nova Vega 2 7 0 0 8 7 6 5 2 0 1 2 3 3" "choices saved"

cp "$copy/config.cfg" "$copy/chosen.cfg"
play "${quit_keys[@]}"
expect_eq "$status" "0" "restart: exit status"
cmp -s "$copy/chosen.cfg" "$copy/config.cfg" || fail "the choices did not survive a restart: $(tr '\n' ' ' <"$copy/config.cfg")"
finish
