#!/usr/bin/env bash
# config.cfg gone, cut short or garbled: the game starts, plays, and on
# leaving writes 16 values that read back as they are. A save that cannot be
# written (unwritable folder, full disk) costs one line on stderr, never the
# old file or the exit status. Whatever else stands in config.cfg's place is
# left exactly as it was.
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
# the game reads back unchanged: two names of 1 to 15 characters (UTF-8, a
# byte outside it counting as one), then integers with the map, ships and
# weapons in range, no line break after the last.
config_problems() {
  python3 - "$1" <<'EOF'
import re, sys
lines = open(sys.argv[1], "rb").read().split(b"\n")
if len(lines) != 16:
    sys.exit(print(f"{len(lines)} lines: {lines!r}"))
for i in (0, 1):
    if not re.fullmatch(r"[^ \t\n\r\f\v\0]{1,15}", lines[i].decode("utf-8", "surrogateescape")):
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

# What stands at path $1, to compare before and after a run: where a link
# leads, or the kind, permissions, size, inode and time of what is there.
state_of() {
  if [[ -L $1 ]]; then echo "link to $(readlink "$1")"; else stat -c '%F %a %s %i %y' "$1"; fi
}

# No temporary file of a save may be left in folder $1.
expect_no_temporary() {
  ! compgen -G "$1/*.tmp-*" >/dev/null || fail "$2: a temporary file was left behind: $(ls "$1")"
}

# A full disk: the game may write no byte to a file (the limit on file sizes
# fails the write as a full disk would); its messages go through a pipe.
printf 'Kirk\nSpock\n2\n3\n1\n4\n5\n6\n7\n8\n2\n9\n8\n7\n6\n5' >"$config"
cp "$config" "$copy/before.cfg"
play_and_leave bash -c 'exec 2> >(cat >&2); trap "" XFSZ; ulimit -f 0; exec ./zentavor "$@"' zentavor
expect_eq "$status" "0" "full disk: exit status"
expect_eq "$(grep '^zentavor:' "$copy/stderr")" "zentavor: cannot save config.cfg: File too large" "full disk: message"
cmp -s "$copy/before.cfg" "$config" || fail "full disk: config.cfg changed"
expect_no_temporary "$copy" "full disk"

# From here on the game plays as an ordinary user, in a folder it may write:
# root reads and writes anything, so a root run plays as nobody.
player=(./zentavor)
((EUID == 0)) && player=(setpriv --reuid=$NOBODY --regid=$NOBODY --clear-groups ./zentavor)
chmod -R a+rwX "$copy"

# Whatever stands in config.cfg's place that is no small file the player may
# read: the game plays with the defaults, says why in one line, and leaves it
# as it was. $1 names the case, $2 is the reason expected.
check_refused() {
  local before
  before=$(state_of "$config")
  : >"$copy/stderr"
  play_and_leave "${player[@]}"
  expect_eq "$status" "0" "$1: exit status"
  expect_eq "$(grep '^zentavor:' "$copy/stderr")" \
    "zentavor: cannot read config.cfg: $2; playing with the default settings, and config.cfg is left as it is" "$1: message"
  expect_eq "$(state_of "$config")" "$before" "$1: config.cfg"
}

printf 'Kirk Spock' >"$config"
chmod 000 "$config"
check_refused "unreadable file" "Permission denied"
rm -f "$config"
mkfifo "$config"
check_refused "named pipe" "it is a named pipe, not a file"
rm -f "$config"
ln -s /dev/zero "$config"
check_refused "link to /dev/zero" "it is a device, not a file"
rm -f "$config"
mkdir "$config"
check_refused "folder" "it is a folder, not a file"
rmdir "$config"
{ printf 'Kirk Spock 2 3 '; head -c 65536 /dev/zero | tr '\0' ' '; } >"$config"
check_refused "oversized file" "it is larger than 64 KiB"
expect_no_temporary "$copy" "refused files"

# A link by the name of an old temporary file is never followed. Files the
# player should be able to write are made writable for them.
cp "$copy/before.cfg" "$config"
printf 'not settings' >"$copy/victim"
chmod 666 "$config" "$copy/victim"
ln -s victim "$config.tmp"
play_and_leave "${player[@]}"
expect_eq "$(cat "$copy/victim")" "not settings" "leftover temporary link: the file it leads to"
expect_eq "$(state_of "$config.tmp")" "link to victim" "leftover temporary link"
cmp -s "$copy/before.cfg" "$config" || fail "leftover temporary link: config.cfg is $(state_of "$config")"
rm -f "$config.tmp" "$copy/victim"

# Settings kept elsewhere through a link, dangling at first: the link stays,
# what it leads to is written with its permissions kept, and names in UTF-8
# ("Zoe" with a diaeresis) or Latin-1 ("Renee" with an acute) come back byte for byte.
mkdir "$copy/dots"
chmod a+rwx "$copy/dots"
rm -f "$config"
ln -s dots/zentavor.cfg "$config"
play_and_leave "${player[@]}"
expect_eq "$(tr '\n' ' ' <"$copy/dots/zentavor.cfg" 2>&1)" "Nova Vega 0 10 0 0 0 0 0 0 1 0 0 0 0 0" "dangling link: saved values"
printf 'Zo\xc3\xab Ren\xe9e 2 3' >"$copy/dots/zentavor.cfg"
chmod 606 "$copy/dots/zentavor.cfg"
play_and_leave "${player[@]}"
expect_eq "$(state_of "$config")" "link to dots/zentavor.cfg" "link: config.cfg"
printf 'Zo\xc3\xab\nRen\xe9e\n2\n3\n0\n0\n0\n0\n0\n0\n1\n0\n0\n0\n0\n0' >"$copy/expected.cfg"
cmp -s "$copy/expected.cfg" "$copy/dots/zentavor.cfg" ||
  fail "names: saved $(od -c "$copy/dots/zentavor.cfg" | head -3)"
expect_eq "$(stat -c %a "$copy/dots/zentavor.cfg")" "606" "link: permissions"
expect_no_temporary "$copy/dots" "link"

# A file made read-only is not saved over, though the folder would allow it.
rm -f "$config"
cp "$copy/before.cfg" "$config"
chmod 444 "$config"
before=$(state_of "$config")
: >"$copy/stderr"
play_and_leave "${player[@]}"
expect_eq "$(grep '^zentavor:' "$copy/stderr")" "zentavor: cannot save config.cfg: Permission denied" "read-only file: message"
expect_eq "$(state_of "$config")" "$before" "read-only file"
chmod 644 "$config"

# An unwritable folder, though the file itself could be written.
chmod 666 "$config"
: >"$copy/stderr"
chmod a-w "$copy"
play_and_leave "${player[@]}"
chmod u+w "$copy"
expect_eq "$status" "0" "unwritable folder: exit status"
expect_eq "$(grep '^zentavor:' "$copy/stderr")" "zentavor: cannot save config.cfg: Permission denied" \
  "unwritable folder: message"
cmp -s "$copy/before.cfg" "$config" || fail "unwritable folder: config.cfg changed"
expect_no_temporary "$copy" "unwritable folder"
finish
