#!/usr/bin/env bash
# The sound effects as heard through SDL's disk audio driver, with the music
# off: without -sfx, and with -sfx under -nosound, the output stays silent
# while firing and in the menus; with -sfx, moving the menu marker is heard
# (before any key that leaves the menu).
# Every run is left through the menu, status 0.
source "$(dirname "$0")/lib.bash"
start_x
copy=$(copy_game)
trap cleanup EXIT

WRITE_PAUSE_MS=5  # the driver's pause per buffer: faster than real time
FIRE_SECONDS=1.5
SETTLE_SECONDS=0.5  # for the last key's sound to reach the file
MIN_HEARD_PEAK=1000 # of 32767; a menu click is far louder

# options | what the players do | what the output holds
CASES=(
  "-nm|fire|silence"
  "-nm|menu|silence"
  "-sfx -ns|menu|silence"
  "-sfx -nm|menu|sound"
)

# The loudest sample of a raw 16-bit stereo file.
peak_of() {
  python3 - "$1" <<'PY'
import array, sys
samples = array.array("h")
with open(sys.argv[1], "rb") as f:
    data = f.read()
samples.frombytes(data[: len(data) // 2 * 2])
if sys.byteorder == "big":
    samples.byteswap()
print(max((abs(s) for s in samples), default=0))
PY
}

for case in "${CASES[@]}"; do
  IFS='|' read -r options action expected <<<"$case"
  audio="$copy/audio.raw"
  rm -f "$audio"
  # shellcheck disable=SC2086
  launch_game "$copy" env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$audio" SDL_DISKAUDIODELAY=$WRITE_PAUSE_MS \
    ./zentavor -w $options || { fail "no window with $options: $(cat "$copy/stderr")"; stop_game; continue; }
  wait_match_frame "$copy/match.ppm" 30 || fail "no match frame with $options"
  if [[ $action == fire ]]; then
    x_try xdotool keydown 1 || fail "cannot hold player 1's fire key"
    sleep "$FIRE_SECONDS"
    x_try xdotool keyup 1 || true
  else
    press_keys Escape Down Down Up
  fi
  # What was heard before leaving, whose keys make sounds of their own.
  sleep "$SETTLE_SECONDS"
  cp "$audio" "$audio.before-leaving" 2>/dev/null || true
  leave_game
  expect_eq "$status" "0" "exit status with $options"
  [[ -s "$audio.before-leaving" ]] || { fail "no output written with $options: $(cat "$copy/stderr")"; continue; }
  if [[ $expected == silence ]]; then
    expect_eq "$(peak_of "$audio")" "0" "loudest sample with $options while doing $action and leaving"
  else
    peak=$(peak_of "$audio.before-leaving")
    ((peak >= MIN_HEARD_PEAK)) || fail "nothing heard with $options while doing $action: peak $peak"
  fi
done
finish
