#!/usr/bin/env bash
# Recordings that cannot be replayed, and options that cannot be followed, are
# refused before any window opens: one line naming the fault, exit status 2,
# by the game and by the headless runner alike.
source "$(dirname "$0")/lib.bash"
cd "$game_dir"
work=$(mktemp -d /tmp/zentavor-damaged.XXXXXX)
trap 'rm -rf "$work"' EXIT
golden=$(dirname "$0")/../replays/weapons_and_shots.zrec
size=$(stat -c %s "$golden")

# file NAME PYTHON: writes $work/NAME from the golden recording's bytes g.
file() {
  python3 -c "import sys; g = open(sys.argv[1], 'rb').read(); open(sys.argv[2], 'wb').write($2)" \
    "$golden" "$work/$1"
}
file empty "b''"
file garbage "bytes(range(256)) * 4"
file foreign "open('img/earth.bmp', 'rb').read()"
file version "g[:8] + bytes([9, 0]) + g[10:]"
file header-cut "g[:40]"
file no-checkpoint "g[:71] + g[82:]"
# After the header and the first checkpoint: a frame of -10 000 000 ms, or
# ten million frames in no time.
file negative-time "g[:82] + bytes([0x1F, 0xFF, 0xD9, 0xC4, 0x09]) + g[82:]"
file flood "g[:82] + bytes([0x00, 0xF0, 0xFF, 0xAC, 0xE2, 0x04]) + g[82:]"
file trailing "g + b'more'"
file bad-record "g[:71 + 12] + bytes([0xC5]) + g[71 + 13:]"
file bad-map "g[:54] + bytes([7]) + g[55:]"
cp config.cfg "$work/config"
mkfifo "$work/pipe"

# refused FILE MESSAGE-PART: both programs must refuse the file.
refused() {
  local program status
  for program in "./zentavor -w -nm -replay" "./zentavor-sim --replay"; do
    status=0
    DISPLAY= $program "$work/$1" >"$work/out" 2>"$work/err" || status=$?
    expect_eq "$status" 2 "$program $1: exit status"
    expect_eq "$(wc -l <"$work/err")" 1 "$program $1: lines on stderr"
    expect_contains "$(cat "$work/err")" "$work/$1: $2" "$program $1"
    expect_eq "$(wc -c <"$work/out")" 0 "$program $1: standard output"
  done
}

refused empty "empty file, not a Zentavor recording"
refused garbage "not a Zentavor recording"
refused foreign "not a Zentavor recording"
refused config "not a Zentavor recording"
refused version "recording format version 9; this game reads version 1"
refused header-cut "truncated"
refused no-checkpoint "damaged at byte 71: frames of a second of play without its checkpoint"
refused negative-time "damaged at byte 82: a frame time of -10000000 ms"
refused flood "damaged at byte 83: more than 100000 frames in one second of play"
refused trailing "damaged: 4 bytes after the end"
refused bad-record "damaged at byte 83: unknown record 0xC5"
refused bad-map "damaged header: a ship, weapon or map out of range"
refused missing "cannot read: No such file or directory"
refused pipe "cannot read: it is a named pipe, not a file"

# option ARGS... MESSAGE: refused with exit status 2 and the message.
option() {
  local message=${*: -1} status=0
  DISPLAY= "${@:1:$#-1}" >"$work/out" 2>"$work/err" || status=$?
  expect_eq "$status" 2 "$*: exit status"
  expect_contains "$(cat "$work/err")" "$message" "$*"
}
option ./zentavor -w -record "-record needs a file name"
option ./zentavor -w -record "" "-record needs a file name"
option ./zentavor -w -replay "" "-replay needs a file name"
# What -record cannot safely write is refused before any window opens, by
# the game and by the runner: a missing folder, a folder, a named pipe that
# nobody reads (which would keep it waiting), the runner's own script.
echo "run 1 10" >"$work/script.txt"
for program in "./zentavor -w -nm -record" "./zentavor-sim --record"; do
  option $program "$work/no/such/x.zrec" "$work/script.txt" "cannot write the recording $work/no/such/x.zrec: No such file or directory"
  option $program "$work" "$work/script.txt" "cannot write the recording $work: Is a directory"
  option $program "$work/pipe" "$work/script.txt" "cannot write the recording $work/pipe: a named pipe that nobody reads"
done
option ./zentavor-sim --record "$work/script.txt" "$work/script.txt" "$work/script.txt: the recording would overwrite its own script"
expect_eq "$(cat "$work/script.txt")" "run 1 10" "the script under --record"
# Bytes of a file name reach the terminal escaped.
option ./zentavor -w -replay "$work/"$'\e[31m' "$work/\\x1b[31m: cannot read: No such file or directory"
option ./zentavor -replay a.zrec -record b.zrec "-record and -replay cannot be used together"
option ./zentavor-sim --replay "$golden" --every 0 "--every needs a whole number from 1, not '0'"
option ./zentavor-sim --every 2 script.txt "--every goes with --replay"
option ./zentavor-sim --record x.zrec --replay "$golden" "--record goes with a script, not with --replay"
finish
