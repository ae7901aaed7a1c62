#!/usr/bin/env bash
# Whole matches through zentavor-sim: the real simulation over many frames,
# with ship masks drawn through OpenGL as in the game.
source "$(dirname "$0")/lib.bash"
start_x
cd "$game_dir"
work=$(mktemp -d /tmp/zentavor-sim-test.XXXXXX)
trap 'rm -rf "$work"; kill $xvfb_pid 2>/dev/null || true' EXIT

# Runs python checks on $work/$1.json; frames are in F, player records as F[i]['players'][p].
check() {
  local name=$1 code=$2
  python3 - "$work/$name.json" "$name" <<PY || fail "$name"
import json, math, sys
F = [json.loads(line) for line in open(sys.argv[1])]
PX = 976562.5
def px(v): return v / PX
def expect(ok, what):
    if not ok:
        print("FAIL: %s: %s" % (sys.argv[2], what), file=sys.stderr)
        sys.exit(1)
$code
PY
}

# Frames and time count across runs; the same script gives the same match.
simulate timing <<'EOF'
seed 11
map 2
run 3 16 r d 1
run 2 10 up right i
run 0 10
EOF
cp "$work/timing.json" "$work/timing-first.json"
cp "$work/timing.txt" "$work/timing-again.txt"
simulate timing <"$work/timing-again.txt"
cmp -s "$work/timing.json" "$work/timing-first.json" || fail "the same script gave another match"
check timing '
expect([f["frame"] for f in F] == [1, 2, 3, 4, 5], "frame numbers %s" % [f["frame"] for f in F])
expect([f["t"] for f in F] == [16, 32, 48, 58, 68], "times %s" % [f["t"] for f in F])
keys = {"x", "y", "speed", "angle", "heading", "hull", "shield", "energy", "lives", "kills", "lifeState", "slot", "ammo"}
expect(all(set(p) == keys for f in F for p in f["players"]), "player fields")
expect(F[-1]["shots"] > 0, "shots were fired")
'

# The start-up placement keeps the ships apart and at spawn points of the map.
simulate start <<'EOF'
seed 5
map 1
run 1 0
EOF
check start '
spawns = [(80, 120), (943, 120), (80, 687), (943, 687), (720, 400), (220, 350)]
a, b = F[0]["players"]
expect(math.hypot(a["x"] - b["x"], a["y"] - b["y"]) > 200 * PX, "ships start apart")
for p in (a, b):
    expect((round(px(p["x"])), round(px(p["y"]))) in spawns, "placed at a spawn point")
    expect(p["speed"] == 0 and p["lives"] == 10, "at rest with the default lives")
'

# A full bar buys a boost; letting go empties it; it refills at the ship's rate.
simulate boost <<'EOF'
map 1
ship 1 0
place 1 200 400 0 0 0
place 2 800 400 0 0 0
run 1 10
run 11 10 2 r
run 1 10
run 100 10
EOF
check boost '
e = [f["players"][0]["energy"] for f in F]
expect(e[0] == 500, "full bar at the start")
expect(e[1] == 500 and e[11] == 400, "10 ms of boost cost 10 energy each: %s" % e[:12])
expect(e[12] == 0, "releasing the boost empties the bar")
expect(abs(e[-1] - 220) < 1e-6, "refilled by 220 per second: %s" % e[-1])
expect(F[11]["players"][0]["speed"] > F[0]["players"][0]["speed"], "the boost pushed the ship")
'

# A ship above the arena brakes, turns to the return point and comes back.
simulate return <<'EOF'
map 1
place 1 500 20 300000000 3.0 0
place 2 100 700 0 0 0
run 150 16 d 1
EOF
check return '
ys = [px(f["players"][0]["y"]) for f in F]
speeds = [f["players"][0]["speed"] for f in F]
expect(max(speeds) < 300000000, "it brakes")
stop = speeds.index(0.0)
expect(all(y < 45 for y in ys[:stop + 1]), "it stopped before coming back")
heading = F[stop + 1]["players"][0]["heading"]
x, y = px(F[stop]["players"][0]["x"]), ys[stop]
expect(abs(heading - math.atan2(400 - y, 500 - x)) < 1e-6, "it turned to the return point")
expect(ys[-1] > 45, "it is back in the arena")
expect(F[-1]["shots"] > 0, "it fires once it is back")
expect(all(f["shots"] == 0 for f, y in zip(F, ys) if y < 44), "no shots while outside")
'

# Touching a planet is fatal; the explosion runs out and the ship respawns whole.
simulate crash <<'EOF'
seed 3
map 0
lives 2
place 1 560 400 0 0 0
place 2 100 700 0 0 0
run 60 16
EOF
check crash '
states = [f["players"][0]["lifeState"] for f in F]
expect(states[0] == 1 and F[0]["players"][0]["lives"] == 1, "crashed in the first frame")
expect(2 in states and states[-1] == 0, "exploded, then came back: %s" % states)
back = F[states.index(0, 1)]["players"][0]
expect(back["hull"] == 60 and back["shield"] == 8, "respawned whole")
expect(math.hypot(back["x"] - F[-1]["players"][1]["x"], back["y"] - F[-1]["players"][1]["y"]) > 200 * PX, "away from the other ship")
'

# A heavy shot straight ahead destroys the other ship and scores a kill.
simulate kill <<'EOF'
map 1
ship 2 3
weapons 1 9 9 9 9 9
place 1 300 400 0 0 0
place 2 500 400 0 0 0
run 1 16 1
run 150 16
EOF
check kill '
victim = [f["players"][1] for f in F]
expect(F[0]["players"][0]["ammo"] == 0, "the one-shot magazine is spent")
expect(any(v["lifeState"] == 1 for v in victim), "player 2 exploded")
expect(victim[-1]["lives"] == 9 and F[-1]["players"][0]["kills"] == 1, "one life lost, one kill scored")
'

# Rammed ships are hurt once per contact and pushed apart.
simulate ramming <<'EOF'
map 1
ship 1 2
ship 2 2
place 1 400 400 100000000 0 0
place 2 460 400 100000000 3.141592653 3.141592653
run 20 16
EOF
check ramming '
hulls = [f["players"][0]["hull"] for f in F]
expect(hulls[-1] < 140, "the ramming hurt")
expect(len(set(hulls)) == 2, "once per contact: %s" % sorted(set(hulls)))
expect(F[-1]["players"][0]["x"] < F[-1]["players"][1]["x"], "still in order")
'

# Weapon slots cycle with wrap-around while the weapon key is held.
simulate slots <<'EOF'
map 1
weapons 1 7 1 2 3 4
run 1 10 3 +d
run 1 10 3 +g
run 1 10 3 +g
run 5 10 3 g
run 1 10 1
EOF
check slots '
slots = [f["players"][0]["slot"] for f in F]
expect(slots == [4, 0, 1, 1, 1, 1, 1, 1, 1], "slots %s" % slots)
expect(F[-1]["players"][0]["ammo"] == 39, "the minigun of slot 1 fired: %s" % F[-1]["players"][0]["ammo"])
'

finish
