#!/usr/bin/env bash
# A match recorded through the real game with real keys (flying, firing, a
# ship changed in the ship yard, and out through the menu) replays verified
# headless and on screen; a recording with one control changed is caught.
source "$(dirname "$0")/lib.bash"
support=$(realpath "$(dirname "$0")/../support")
start_x
copy=$(copy_game)
trap cleanup EXIT
recording=$copy/match.zrec
export SDL_AUDIODRIVER=dummy

launch_game "$copy" ./zentavor -w -nm -record "$recording" || fail "no window"
wait_match_frame "$copy/first.ppm" 30 || fail "no match frame"
x_try xdotool mousemove 512 384 || fail "cannot move the pointer"
x_try xdotool keydown r keydown Up
sleep 0.8
x_try xdotool keydown d keydown 1 keydown i
sleep 1
x_try xdotool keyup r keyup Up keyup d keyup 1 keyup i
# Menu, main page, Ships: player 1's ship one on; back out and resume.
press_keys Escape Down Return Down Return Right Escape Escape Escape Escape Return
x_try xdotool keydown g keydown 1
sleep 1
x_try xdotool keyup g keyup 1
leave_game
expect_eq "$status" 0 "recording: exit status ($(cat "$copy/stderr"))"
cp "$copy/config.cfg" "$copy/before.cfg"

# Headless: every checkpoint matches, and player 1 flew a wasp (hull 100)
# after the ship yard where it started with a speeder (hull 60).
cd "$copy"
status=0
./zentavor-sim --replay "$recording" >replay.json 2>replay.err || status=$?
expect_eq "$status" 0 "headless replay: exit status ($(cat replay.err))"
expect_contains "$(tail -1 replay.json)" '{"replay":"verified"' "headless replay"
python3 - replay.json <<'PY' || fail "the ship change is not in the replay"
import json, sys
F = [json.loads(l) for l in open(sys.argv[1]) if '"players"' in l]
hulls = [f["players"][0]["hull"] for f in F]
sys.exit(0 if hulls[0] == 60 and hulls[-1] == 100 else 1)
PY
play_ms=$(python3 -c 'import json, sys; print([json.loads(l) for l in open(sys.argv[1])][-2]["t"])' replay.json)

# Player 1's thrust turned off in the first frame that holds it: the ship
# flies otherwise, so the replay must say where it diverged.
python3 - "$recording" flipped.zrec "$support" <<'PY' || fail "no frame with player 1's thrust in the recording"
import sys
sys.path.insert(0, sys.argv[3])
from recording_frames import frames
PLAYER_1_THRUST = 1 << 2
b = bytearray(open(sys.argv[1], "rb").read())
for _, controls, at in frames(b):
    if at is not None and controls & PLAYER_1_THRUST:
        b[at] ^= PLAYER_1_THRUST
        open(sys.argv[2], "wb").write(b)
        sys.exit(0)
sys.exit(1)
PY
status=0
./zentavor-sim --replay flipped.zrec >flipped.json 2>flipped.err || status=$?
expect_eq "$status" 1 "changed control: exit status ($(cat flipped.err))"
expect_contains "$(tail -1 flipped.json)" '{"replay":"diverged","frame":' "changed control"

# Masks the recording's own display would not make: refused, not diverged.
python3 -c 'import sys; b = bytearray(open(sys.argv[1], "rb").read()); b[14] ^= 1; open(sys.argv[2], "wb").write(b)' \
  "$recording" masks.zrec
status=0
./zentavor-sim --replay masks.zrec >/dev/null 2>masks.err || status=$?
expect_eq "$status" 2 "other masks: exit status"
expect_contains "$(cat masks.err)" "collision masks made here differ" "other masks"

# On screen: at the recorded pace, the players' keys doing nothing, every
# checkpoint matching, and out by itself at the end, the settings untouched.
started=$(date +%s%N)
launch_game "$copy" ./zentavor -w -nm -replay "$recording" || fail "no replay window"
wait_match_frame "$copy/replay.ppm" 30 || fail "no replay frame"
moving || fail "the replay stands still"
press_keys r Up 1 i
x_try xdotool keydown d
wait_game 60
x_try xdotool keyup d
elapsed_ms=$((($(date +%s%N) - started) / 1000000))
expect_eq "$status" 0 "on-screen replay: exit status"
[[ "$(cat "$copy/stderr")" != *differs* ]] || fail "on-screen replay: $(cat "$copy/stderr")"
((elapsed_ms >= play_ms)) || fail "the replay took $elapsed_ms ms of a recorded $play_ms"
((elapsed_ms < play_ms + 30000)) || fail "the replay took $elapsed_ms ms of a recorded $play_ms"
cmp -s before.cfg config.cfg || fail "the replay rewrote config.cfg: $(tr '\n' ' ' <config.cfg)"

# On screen too, the changed control is caught.
launch_game "$copy" ./zentavor -w -nm -replay flipped.zrec || fail "no replay window"
wait_game 60
expect_eq "$status" 0 "on-screen replay of the changed control: exit status"
expect_contains "$(cat "$copy/stderr")" "flipped.zrec: the replay differs from the recording from frame" "on screen"

# Escape ends it early.
launch_game "$copy" ./zentavor -w -nm -replay "$recording" || fail "no replay window"
wait_match_frame "$copy/replay.ppm" 30 || fail "no replay frame"
started=$(date +%s%N)
press_keys Escape
wait_game 10
expect_eq "$status" 0 "replay left with Escape: exit status"
(((($(date +%s%N) - started) / 1000000) < play_ms)) || fail "Escape did not end the replay"

finish
