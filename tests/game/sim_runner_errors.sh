#!/usr/bin/env bash
# Bad scripts are refused before any window opens, naming the line and the
# fault; whatever is given as the script, the runner neither hangs nor grows.
source "$(dirname "$0")/lib.bash"
cd "$game_dir"
work=$(mktemp -d /tmp/zentavor-sim-errors.XXXXXX)
trap 'rm -rf "$work"' EXIT

# refuses LINE MESSAGE-PART: the script on stdin must fail at that line.
refuses() {
  local line=$1 part=$2 status=0
  cat >"$work/bad.txt"
  DISPLAY= ./zentavor-sim "$work/bad.txt" >"$work/out" 2>"$work/err" || status=$?
  expect_eq "$status" 2 "exit status for '$part'"
  expect_contains "$(cat "$work/err")" "$work/bad.txt:$line: $part" "message"
  expect_eq "$(wc -c <"$work/out")" 0 "no frames for '$part'"
  expect_eq "$(LC_ALL=C tr -d '\n[:print:]' <"$work/err" | wc -c)" 0 "control bytes in the message for '$part'"
}

refuses 1 "unknown command 'jump'" <<<"jump 3"
refuses 2 "map must be from 0 to 2, not 3" <<<$'# a comment\nmap 3'
refuses 1 "seed must be a whole number, not '1.5'" <<<"seed 1.5"
refuses 1 "expected 'ship P N'" <<<"ship 1"
refuses 1 "player must be from 1 to 2, not 0" <<<"ship 0 1"
refuses 1 "weapon must be from 0 to 9, not 10" <<<"weapons 2 0 1 2 3 10"
refuses 1 "heading must be a finite number, not 'inf'" <<<"place 1 10 10 0 0 inf"
refuses 1 "frame time must be from 0 to" <<<"run 3 -16"
refuses 3 "unknown key 'q'" <<<$'seed 2\n\nrun 1 16 d +r q'
refuses 2 "'lives' is set-up and must come before the first run" <<<$'run 1 16\nlives 3'
refuses 1 "unknown menu screen 'shop' (ships, weapons, map)" <<<"menu shop"
refuses 2 "ship must be from 0 to 3, not 4" <<<$'run 1 16\nmenu ships 1 4'
refuses 1 "expected 'menu weapons P w0 w1 w2 w3 w4'" <<<"menu weapons 1 2 3"
refuses 1 "unknown command 'jump\\x1b[2J\\x00\\xff'" < <(printf 'jump\e[2J\0\xff 1\n')

printf 'run 1 16\nplace 1 10 10 0 0 0\n' >"$work/placed.txt"
status=0
DISPLAY= ./zentavor-sim --record "$work/placed.zrec" "$work/placed.txt" 2>"$work/err" || status=$?
expect_eq "$status" 2 "recording a place line"
expect_contains "$(cat "$work/err")" "$work/placed.txt:2: a place line cannot be recorded" "place message"

status=0
./zentavor-sim "$work/missing.txt" 2>"$work/err" || status=$?
expect_eq "$status" 2 "a missing script"
expect_contains "$(cat "$work/err")" "cannot read $work/missing.txt: No such file or directory" "missing script message"

# Runs zentavor-sim on script $1 with standard input $2; sets status (124 when
# it had to be stopped) and peak, its largest resident memory in MiB.
measure() {
  read -r status peak < <(python3 -c '
import resource, subprocess, sys
try:
    status = subprocess.run(["./zentavor-sim", sys.argv[1]], timeout=20, stdout=subprocess.DEVNULL).returncode
except subprocess.TimeoutExpired:
    status = 124
print(status, resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss // 1024)' "$1" <"$2" 2>"$work/err")
}

# What is no regular file, or larger than 16 MiB, is refused at once and never
# read whole: a device or standard input without end took gigabytes.
mkfifo "$work/pipe"
mkdir "$work/folder"
truncate -s 17M "$work/huge.txt"
MEMORY_LIMIT_MIB=256 # far above a refused run, far below one that reads on
while IFS='|' read -r script input reason; do
  measure "$script" "$input"
  expect_eq "$status" 2 "exit status for $script"
  expect_eq "$(cat "$work/err")" "zentavor-sim: cannot read $reason" "message for $script"
  ((peak < MEMORY_LIMIT_MIB)) || fail "$script took $peak MiB"
done <<END
/dev/zero|/dev/null|/dev/zero: it is a device, not a file
$work/pipe|/dev/null|$work/pipe: it is a named pipe, not a file
$work/folder|/dev/null|$work/folder: it is a folder, not a file
$work/huge.txt|/dev/null|$work/huge.txt: it is larger than 16 MiB
-|/dev/zero|standard input: it is larger than 16 MiB
END

status=0
./zentavor-sim 2>"$work/err" || status=$?
expect_eq "$status" 2 "no script"
expect_contains "$(cat "$work/err")" "usage: zentavor-sim [--record FILE] SCRIPT" "usage"

# Headings far beyond a turn are wrapped at once: subtracting turns one by one
# never came back from 1e17. Exit status 3 is an X server that refused the
# connection, which a loaded machine does now and then.
start_x
trap 'rm -rf "$work"; kill $xvfb_pid 2>/dev/null || true' EXIT
for _ in 1 2 3 4 5; do
  status=0
  printf 'place 1 100 100 0 0 1e17\nplace 2 900 600 0 -1e300 -1e300\nrun 2 16\n' |
    timeout 20 ./zentavor-sim - >"$work/out" 2>"$work/err" || status=$?
  ((status == 3)) || break
done
expect_eq "$status" 0 "huge headings: exit status ($(cat "$work/err"))"
python3 - "$work/out" <<'END' || fail "huge headings"
import json, math, sys
frames = [json.loads(line) for line in open(sys.argv[1])]
assert len(frames) == 2, frames
assert all(0 <= p["heading"] <= 2 * math.pi for p in frames[-1]["players"]), frames[-1]
END

finish
