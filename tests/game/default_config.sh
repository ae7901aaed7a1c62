#!/usr/bin/env bash
# The build writes the default config.cfg only where none exists: a rebuild
# keeps a player's edited file, and a missing file comes back as the default.
# Usage: default_config.sh <game folder> <build folder>
set -euo pipefail

game_dir=${1:?game folder}
build_dir=${2:?build folder}
config="$game_dir/config.cfg"
saved=$(mktemp)
had_config=0
if [ -f "$config" ]; then
    cp "$config" "$saved"
    had_config=1
fi
restore() {
    if [ "$had_config" = 1 ]; then cp "$saved" "$config"; else rm -f "$config"; fi
    rm -f "$saved"
}
trap restore EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

edited=$'Kirk\nSpock\n2\n3\n3\n9\n9\n9\n9\n9\n2\n0\n0\n0\n0\n0'
printf '%s' "$edited" > "$config"
cmake --build "$build_dir" --target default_config > /dev/null 2>&1 || fail "the rebuild failed"
[ "$(cat "$config")" = "$edited" ] || fail "a rebuild replaced the edited config.cfg"

rm -f "$config"
cmake --build "$build_dir" --target default_config > /dev/null 2>&1 || fail "the rebuild failed"
[ -f "$config" ] || fail "a rebuild did not write a missing config.cfg"
mapfile -t values < <(tr -s ' \t\n' '\n' < "$config" | sed '/^$/d')
[ "${#values[@]}" -eq 16 ] || fail "default config has ${#values[@]} values, not 16"
[ -n "$(tail -c 1 "$config")" ] || fail "default config ends with a line break"
[ "${values[0]}" != "${values[1]}" ] || fail "both players have the same name"
[ "${values[2]}" = 0 ] || fail "default map is ${values[2]}, not 0"
[ "${values[3]}" = 10 ] || fail "default lives are ${values[3]}, not 10"
[ "${values[4]}" != "${values[10]}" ] || fail "both players fly the same ship"
for player_first in 5 11; do
    distinct=$(printf '%s\n' "${values[@]:player_first:5}" | sort -u | wc -l)
    [ "$distinct" -ge 4 ] || fail "player weapons ${values[*]:player_first:5} are not varied"
done
for i in 4 10; do
    [ "${values[i]}" -ge 0 ] && [ "${values[i]}" -le 3 ] || fail "ship index ${values[i]} out of range"
done
for i in 5 6 7 8 9 11 12 13 14 15; do
    [ "${values[i]}" -ge 0 ] && [ "${values[i]}" -le 9 ] || fail "weapon index ${values[i]} out of range"
done
echo "default config kept and restored as expected"
