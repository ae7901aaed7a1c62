#!/usr/bin/env bash
# A computer player: with -cpu2 player 2 flies and fires on its own. On "Deep
# space" nothing pulls or hurts an idle ship, so a match of one life ends (the
# menu stands still) only when player 2 has hunted player 1 down. The humans
# keep the menus, and the settings come back unchanged.
source "$(dirname "$0")/lib.bash"
start_x
copy=$(copy_game)
trap cleanup EXIT

settings='Nova Vega 1 1 0 1 3 5 8 0 1 7 2 4 6 9'
printf 'Nova\nVega\n1\n1\n0\n1\n3\n5\n8\n0\n1\n7\n2\n4\n6\n9' >"$copy/config.cfg"
launch_game "$copy" ./zentavor -w -nm -cpu2 || fail "no window: $(cat "$copy/stderr")"
wait_match_frame "$copy/match.ppm" 30 || fail "no match frame: $(cat "$copy/stderr")"
moving || fail "the match does not move"
wait_still "$copy/won.ppm" 90 || fail "player 2 did not end the match against an idle ship"
leave_game
expect_eq "$status" "0" "exit status"
expect_eq "$(tr '\n' ' ' <"$copy/config.cfg")" "$settings" "settings after a computer's match"
finish
