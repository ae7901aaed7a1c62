#!/usr/bin/env bash
# The runner's computer players: cpu hands a player to the pilot, match plays
# until a player has no lives left, report thins out the frame lines.
source "$(dirname "$0")/lib.bash"
start_x
cd "$game_dir"
work=$(mktemp -d /tmp/zentavor-sim-pilot.XXXXXX)
trap 'rm -rf "$work"; kill $xvfb_pid 2>/dev/null || true' EXIT

# On "Deep space" nothing pulls an idle ship: only the computer's player 2 can end the match.
simulate hunt <<'EOF2'
seed 4
map 1
lives 1
cpu 2 hard
report 0
match 6000 10
EOF2
expect_eq "$(wc -l <"$work/hunt.json")" 1 "report 0 leaves only the over line"
python3 - "$work/hunt.json" <<'PY' || fail "hunt"
import json, sys
over = json.loads(open(sys.argv[1]).read())
assert set(over) == {"over", "winner", "frames", "t"} and over["over"] is True, over
assert over["winner"] == 2 and 0 < over["frames"] < 6000, over
assert over["t"] == over["frames"] * 10, over
PY

# Every third frame line; a match that nobody loses in time names no winner.
simulate thin <<'EOF2'
map 1
run 10 10
report 1
match 2 10
EOF2
expect_eq "$(head -c 14 "$work/thin.json" | tr -d '\n')" '{"frame":1,"t"' "report 1 is the default"
simulate thin <<'EOF2'
map 1
report 3
run 10 10
report 1
match 2 10
EOF2
expect_eq "$(python3 -c 'import json,sys; print([json.loads(l).get("frame") for l in open(sys.argv[1])])' "$work/thin.json")" \
  "[3, 6, 9, 11, 12, None]" "frame lines with report 3, then 1"
expect_eq "$(tail -1 "$work/thin.json")" '{"over":true,"winner":0,"frames":2,"t":120}' "the over line of an undecided match"

# A flown player's keys are ignored, and the pilot flies the same way each time.
for keys in "" "r d 1 2 3"; do
  simulate "keys${keys// /}" <<EOF2
seed 9
map 2
cpu 1 easy
cpu 2 normal
run 300 16 $keys
EOF2
done
cmp -s "$work/keys.json" "$work/keysrd123.json" || fail "the keys of a flown player changed the match"
python3 - "$work/keys.json" <<'PY' || fail "the pilots did nothing"
import json, sys
F = [json.loads(l) for l in open(sys.argv[1])]
for p in (0, 1):
    assert len({round(f["players"][p]["heading"], 3) for f in F}) > 10, "player %d never turned" % (p + 1)
PY

# Bad lines are refused before anything runs.
for bad in "cpu 1 insane|the level must be easy, normal or hard, not 'insane'" "cpu 3 hard|player must be from 1 to 2" \
  "cpu 1|expected 'cpu P LEVEL'" "report -1|report interval must be from 0" "match 5|expected 'match N DT KEY...'"; do
  status=0
  DISPLAY= ./zentavor-sim - <<<"${bad%%|*}" >"$work/out" 2>"$work/err" || status=$?
  expect_eq "$status" 2 "exit status for '${bad%%|*}'"
  expect_contains "$(cat "$work/err")" "-:1: ${bad#*|}" "message for '${bad%%|*}'"
done
finish
