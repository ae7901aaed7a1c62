#!/usr/bin/env bash
# Bad scripts are refused before any window opens, naming the line and the fault.
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

printf 'run 1 16\nplace 1 10 10 0 0 0\n' >"$work/placed.txt"
status=0
DISPLAY= ./zentavor-sim --record "$work/placed.zrec" "$work/placed.txt" 2>"$work/err" || status=$?
expect_eq "$status" 2 "recording a place line"
expect_contains "$(cat "$work/err")" "$work/placed.txt:2: a place line cannot be recorded" "place message"

status=0
./zentavor-sim "$work/missing.txt" 2>"$work/err" || status=$?
expect_eq "$status" 2 "a missing script"
expect_contains "$(cat "$work/err")" "cannot read $work/missing.txt" "missing script message"

status=0
./zentavor-sim 2>"$work/err" || status=$?
expect_eq "$status" 2 "no script"
expect_contains "$(cat "$work/err")" "usage: zentavor-sim [--record FILE] SCRIPT" "usage"

finish
