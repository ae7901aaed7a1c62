#!/usr/bin/env bash
# A minute of the real game under random keys of both players and the menus
# (zentavor-soak): it must keep running, keep its memory level, give back the
# texture slots every match takes, and really finish matches and change maps
# along the way. The soak restores config.cfg; the copy is checked for that.
source "$(dirname "$0")/lib.bash"

SOAK_SECONDS=60
TIME_LIMIT=300 # seconds; the soak leaves its menus and stops by itself long before

start_x
copy=$(copy_game)
trap 'rm -rf "$copy"; kill $xvfb_pid 2>/dev/null || true' EXIT
# Heavy weapons in most slots, so that random shots still end lives often.
printf 'Nova\nVega\n0\n1\n0\n9\n3\n9\n2\n9\n2\n9\n9\n3\n9\n7' >"$copy/config.cfg"
cp "$copy/config.cfg" "$copy/before.cfg"

# One life per match: every loss ends a match, so a minute holds several.
# Memory is compared over the second half: the first menus, sub-screens and
# weapons raise it once, and in one minute they are still being met.
set +e
output=$(cd "$copy" && timeout "$TIME_LIMIT" ./zentavor-soak --seconds "$SOAK_SECONDS" --warmup 30 --seed 7 --lives 1 2>&1)
status=$?
set -e
printf '%s\n' "$output"

# The figure in front of a word on the summary line that starts with a label.
figure() {
  printf '%s\n' "$output" | awk -v label="$1" -v word="$2" \
    '$1 == label { for (i = 2; i < NF; i++) { w = $(i + 1); sub(/,$/, "", w); if (w == word) { print $i; exit } } }'
}

expect_eq "$status" "0" "soak exit status"
expect_contains "$output" "soak passed" "verdict"
finished=$(figure matches finished)
maps=$(figure changes maps)
((${finished:-0} >= 1)) || fail "no match was finished (matches: '${finished}')"
((${maps:-0} >= 1)) || fail "the map never changed (maps: '${maps}')"
cmp -s "$copy/before.cfg" "$copy/config.cfg" || fail "config.cfg was not restored: $(tr '\n' ' ' <"$copy/config.cfg")"
finish
