#!/usr/bin/env bash
# config.cfg gone, cut short or garbled: the game starts, plays, and on
# leaving writes 16 values that read back as they are. A save that cannot be
# written (unwritable folder, full disk) costs one line on stderr, never the
# old file or the exit status.
source "$(dirname "$0")/lib.bash"
start_x
copy=$(copy_game)
shots=$(mktemp -d /tmp/zentavor-shots.XXXXXX) # outside the copy, which may be read-only
trap 'chmod -R u+w "$copy" 2>/dev/null || true; rm -rf "$shots"; cleanup' EXIT

config=$copy/config.cfg
NOBODY=65534 # the unprivileged user a root run plays as

# Plays a match in the copy with the given command (./zentavor, or a wrapper
# around it) and leaves through the menu; sets status.
play_and_leave() {
  if ! launch_game "$copy" "$@" -w -nm || ! wait_match_frame "$shots/frame.ppm" 30; then
    fail "no match with $*: $(cat "$copy/stderr")"
    stop_game
    status=none
    return
  fi
  leave_game
}

# Prints what is wrong with config file $1, nothing when it holds 16 values
# the game reads back unchanged: two names of 1 to 15 bytes, then integers
# with the map, ships and weapons in range, no line break after the last.
config_problems() {
  python3 - "$1" <<'EOF'
import re, sys
lines = open(sys.argv[1], "rb").read().split(b"\n")
if len(lines) != 16:
    sys.exit(print(f"{len(lines)} lines: {lines!r}"))
for i in (0, 1):
    if not re.fullmatch(rb"[^\s\0]{1,15}", lines[i]):
        print(f"name {i + 1} is {lines[i]!r}")
counts = {2: 3, 4: 4, 10: 4}  # maps, ships; the rest but the lives are weapons
for i in range(2, 16):
    if not re.fullmatch(rb"-?[0-9]+", lines[i]):
        print(f"value {i + 1} is {lines[i]!r}")
    elif i != 3 and not 0 <= int(lines[i]) < counts.get(i, 10):
        print(f"value {i + 1} is out of range: {int(lines[i])}")
EOF
}

# Plays with the file as it stands and checks the saved file: valid, and the
# same again after a run that changes nothing. $1 names the case, $2 is the
# file expected (values separated by blanks), or "any".
check_recovery() {
  play_and_leave ./zentavor
  expect_eq "$status" "0" "$1: exit status"
  local problems
  problems=$(config_problems "$config")
  [[ -z "$problems" ]] || fail "$1: saved config.cfg: $problems"
  [[ "$2" == any ]] || expect_eq "$(tr '\n' ' ' <"$config")" "$2" "$1: saved values"
  cp "$config" "$shots/first.cfg"
  play_and_leave ./zentavor
  cmp -s "$shots/first.cfg" "$config" || fail "$1: a second run changed the saved file"
}

rm -f "$config"
check_recovery "missing file" "Nova Vega 0 10 0 0 0 0 0 0 1 0 0 0 0 0"

printf 'Kirk Spock\n2\n3 1 4' >"$config"
check_recovery "four values" "Kirk Spock 2 3 1 4 0 0 0 0 1 0 0 0 0 0"

# Names that start with or hold a zero byte, high bytes, carriage returns,
# a negative map, an unreadable and an overlong number.
printf '\0Kirk Sp\0ock\r\n-1\t12abc \xff\xfe\x80 99999999999999999999 +3' >"$config"
check_recovery "garbled values" "Nova Sp 0 10 0 0 3 0 0 0 1 0 0 0 0 0"

python3 -c 'import random, sys; r = random.Random(7); sys.stdout.buffer.write(bytes(r.randrange(256) for _ in range(400)))' >"$config"
check_recovery "random bytes" any

# A full disk: the temporary file is the full device.
printf 'Kirk\nSpock\n2\n3\n1\n4\n5\n6\n7\n8\n2\n9\n8\n7\n6\n5' >"$config"
cp "$config" "$copy/before.cfg"
ln -s /dev/full "$config.tmp"
play_and_leave ./zentavor
expect_eq "$status" "0" "full disk: exit status"
expect_eq "$(grep '^zentavor:' "$copy/stderr")" "zentavor: cannot save config.cfg: No space left on device" \
  "full disk: message"
cmp -s "$copy/before.cfg" "$config" || fail "full disk: config.cfg changed"
[[ ! -e "$config.tmp" && ! -L "$config.tmp" ]] || fail "full disk: the temporary file was left behind"

# An unwritable folder. Root writes anywhere, so a root run plays as nobody.
chmod -R a+rX "$copy"
: >"$copy/stderr"
chmod a-w "$copy"
if ((EUID == 0)); then
  play_and_leave setpriv --reuid=$NOBODY --regid=$NOBODY --clear-groups ./zentavor
else
  play_and_leave ./zentavor
fi
chmod u+w "$copy"
expect_eq "$status" "0" "unwritable folder: exit status"
expect_eq "$(grep '^zentavor:' "$copy/stderr")" "zentavor: cannot save config.cfg: Permission denied" \
  "unwritable folder: message"
cmp -s "$copy/before.cfg" "$config" || fail "unwritable folder: config.cfg changed"
[[ ! -e "$config.tmp" ]] || fail "unwritable folder: a temporary file was left behind"
finish
