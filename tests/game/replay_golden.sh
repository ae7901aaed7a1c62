#!/usr/bin/env bash
# The golden recordings of tests/replays, replayed through today's rules: any
# change that alters how a match plays out fails here, naming the frame and
# the second where it diverged. They also must still show what they were
# recorded for: every weapon fired, and kills by shot, by ramming and by planet.
source "$(dirname "$0")/lib.bash"
start_x
cd "$game_dir"
replays=$(cd "$(dirname "$0")/../replays" && pwd)
work=$(mktemp -d /tmp/zentavor-golden.XXXXXX)
trap 'rm -rf "$work"; kill $xvfb_pid 2>/dev/null || true' EXIT

for recording in "$replays"/*.zrec; do
  name=$(basename "$recording" .zrec)
  status=0
  ./zentavor-sim --replay "$recording" >"$work/$name.json" 2>"$work/$name.err" || status=$?
  expect_eq "$status" 0 "$name: exit status ($(cat "$work/$name.err"))"
  expect_contains "$(tail -1 "$work/$name.json")" '{"replay":"verified"' "$name"
done

# What happened, from the frame lines: slots that fired, and lives lost with
# or without a kill to the other player, next to it or away from it.
python3 - "$work" <<'PY' || fail "the golden matches no longer show what they were recorded for"
import json, math, sys
work = sys.argv[1]
def frames(name):
    return [json.loads(l) for l in open("%s/%s.json" % (work, name)) if '"players"' in l]
def events(F):
    fired, deaths = set(), []
    for q, f in zip(F, F[1:]):
        gap = math.hypot(q["players"][0]["x"] - q["players"][1]["x"], q["players"][0]["y"] - q["players"][1]["y"])
        for i in (0, 1):
            a, b = q["players"][i], f["players"][i]
            if a["slot"] == b["slot"] and b["ammo"] < a["ammo"]:
                fired.add((i, b["slot"]))
            if b["lives"] < a["lives"]:
                killed = f["players"][1 - i]["kills"] > q["players"][1 - i]["kills"]
                deaths.append("shot" if killed else "rammed" if gap < 60 * 976562.5 else "planet")
    return fired, deaths
fired, deaths = events(frames("weapons_and_shots"))
ok = True
if len(fired) != 10:
    print("FAIL: weapons fired (player, slot): %s" % sorted(fired), file=sys.stderr); ok = False
if "shot" not in deaths:
    print("FAIL: no kill by shot: %s" % deaths, file=sys.stderr); ok = False
_, deaths = events(frames("ramming_and_planet"))
if "rammed" not in deaths or "planet" not in deaths:
    print("FAIL: deaths %s lack ramming or planet" % deaths, file=sys.stderr); ok = False
sys.exit(0 if ok else 1)
PY
finish
