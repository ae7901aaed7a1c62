#!/usr/bin/env bash
# --help, -h and -help list every option, one line each, and --version gives
# the build's version: both without a display, with status 0, or 1 and a line
# on stderr when the answer cannot be written.
source "$(dirname "$0")/lib.bash"
build_dir=${2:?build folder}
cd "$game_dir"
unset DISPLAY

OPTIONS=(-1024 -800 -640 -320 -window -w -desktop -size -nomusic -nm -nosound -ns -sfx -tirel -t -fps -vsync -record -replay -host -join -delay
  --help -h -help --version)
OPTION_COLUMN=1-32 # characters of a help line that name its options

help=$(./zentavor --help) || fail "--help ended with status $?"
for name in -h -help; do
  expect_eq "$(./zentavor -w $name)" "$help" "help with $name"
done
for option in "${OPTIONS[@]}"; do
  lines=$(printf '%s\n' "$help" | grep '^  -' | cut -c$OPTION_COLUMN | grep -cw -- "$option" || true)
  expect_eq "$lines" "1" "help lines naming $option"
done
wide=$(printf '%s\n' "$help" | awk 'length > 80' | head -1)
expect_eq "$wide" "" "a help line wider than 80 columns"

version=$(awk -F= '/^CMAKE_PROJECT_VERSION:/ { print $2 }' "$build_dir/CMakeCache.txt")
expect_eq "$(./zentavor -nm --version)" "zentavor $version" "--version"

for request in --help --version; do
  status=0
  err=$(./zentavor $request 2>&1 >/dev/full) || status=$?
  expect_eq "$status" 1 "$request to a full disk: exit status"
  expect_eq "$err" "zentavor: cannot write the answer: No space left on device" "$request to a full disk"
  status=0
  err=$(./zentavor $request 2>&1 >&-) || status=$?
  expect_eq "$status" 1 "$request with standard output closed: exit status"
  expect_contains "$err" "zentavor: cannot write the answer: Bad file descriptor" "$request with standard output closed"
done
finish
