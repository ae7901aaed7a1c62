#!/usr/bin/env bash
# Recordings no ordinary run makes: frames of hours and days that fling both
# ships far beyond any map, floods of frames in no time, a file cut short.
# The runner records and replays them (verified) or refuses them in one line,
# in bounded time; the game shows them and ends at Escape at once.
source "$(dirname "$0")/lib.bash"
start_x
copy=$(copy_game)
trap cleanup EXIT
export SDL_AUDIODRIVER=dummy
golden=$(cd "$(dirname "$0")/../replays" && pwd)/weapons_and_shots.zrec
cd "$copy"

sim() {
  status=0
  timeout 120 ./zentavor-sim "$@" >out.json 2>err.txt || status=$?
}

# Three frames of ten thousand seconds, then one of 24 days, firing all along.
cat >far.txt <<END
run 50 10 1 i r up
run 3 10000000 1 i r up
run 20 10 1 i
run 1 2100000000 1 r up
run 5 10 i
END
sim --record far.zrec far.txt
expect_eq "$status" 0 "far flight recorded: status ($(cat err.txt))"
sim --replay far.zrec
expect_eq "$status" 0 "far flight replayed: status ($(cat err.txt))"
expect_eq "$(tail -1 out.json)" '{"replay":"verified","frames":79}' "far flight replayed"

sim - <<<"run 2147483647 0"
expect_eq "$status" 2 "a script's flood of frames: status"
expect_contains "$(cat err.txt)" "-:1: more than 100000 frames in one second of play" "a script's flood"

head -c $(($(stat -c %s "$golden") * 2 / 3)) "$golden" >cut.zrec
sim --replay cut.zrec
expect_eq "$status" 0 "cut short, headless: status ($(cat err.txt))"
expect_contains "$(tail -1 out.json)" ',"cut":true}' "cut short, headless"
launch_game "$copy" ./zentavor -w -nm -replay cut.zrec || fail "cut short: no window"
wait_game 60
expect_eq "$status" 0 "cut short, on screen: status"
expect_contains "$(cat "$game_stderr")" "cut.zrec: the recording was cut short; shown up to its last checkpoint" \
  "cut short, on screen"

# After the golden header and its first checkpoint, thirty seconds each of a
# hundred thousand frames in no time and one of a second (the checkpoints'
# sums are wrong: the game says so once and plays on).
python3 - "$golden" flood.zrec <<'PYTHON'
import sys
def varint(v):
    out = bytearray()
    while v >= 0x80:
        out.append(v & 0x7F | 0x80)
        v >>= 7
    return out + bytes([v])
g = open(sys.argv[1], "rb").read()
b = bytearray(g[:82])
frames = 0
for second in range(1, 31):
    b += bytes([0x00, 0xF0]) + varint(99998) + bytes([0x1F]) + varint(2000)
    frames += 100000
    b += bytes([0xF2]) + varint(2 * second) + varint(frames) + bytes(8)
b += bytes([0xF3]) + varint(frames) + varint(2 * 30000)
open(sys.argv[2], "wb").write(b)
PYTHON

# Escape during a replay ends it within a tenth of a second, and a moment for
# the game to close: while it waits 10 000 s for a frame, and while it
# catches up with a flood.
for recording in far flood; do
  launch_game "$copy" ./zentavor -w -nm -replay $recording.zrec || fail "$recording: no window"
  wait_match_frame "$copy/$recording.ppm" 30 || fail "$recording: no replay frame"
  sleep 1
  started=$(date +%s%N)
  x_try xdotool key Escape || fail "$recording: cannot press Escape"
  wait_game 20
  elapsed=$((($(date +%s%N) - started) / 1000000))
  expect_eq "$status" 0 "$recording: status after Escape"
  ((elapsed < 1000)) || fail "$recording: $elapsed ms from Escape to the end"
done
finish
