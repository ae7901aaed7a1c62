#!/usr/bin/env bash
# The sound effects as heard through SDL's disk audio driver, with the music
# off: without -sfx, and with -sfx under -nosound, the output stays silent
# while firing and in the menus; with -sfx, moving the menu marker is heard
# (before any key that leaves the menu), and holding fire is heard within
# 30 ms of the frame that fired, by the game's swap log and recording, and
# never clips.
# Every run is left through the menu, status 0.
source "$(dirname "$0")/lib.bash"
support=$(realpath "$(dirname "$0")/../support")
build_dir=$(realpath "${2:?build folder}")
start_x
copy=$(copy_game)
trap cleanup EXIT

WRITE_PAUSE_MS=5  # the driver's pause per buffer: faster than real time
FIRE_SECONDS=1.5
SETTLE_SECONDS=0.5  # for the last key's sound to reach the file
MIN_HEARD_PEAK=1000 # of 32767; a menu click is far louder
REAL_TIME_PAUSE_MS=11 # a 512-frame buffer lasts 11.6 ms: the driver keeps about real time
MAX_LATENCY_MS=30
CLIPPED=32700         # a sample this loud is clipped

# options | what the players do | what the output holds
CASES=(
  "-nm|fire|silence"
  "-nm|menu|silence"
  "-sfx -ns|menu|silence"
  "-sfx -nm|menu|sound"
  "-sfx -nm|fire|prompt"
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

# Milliseconds from the swap of the first frame player 1 fired in (found in
# the game's own recording of the run) to the moment the audio file first held
# a loud sample, from the file's sizes over time on the swap log's clock.
latency_of() {
  python3 - "$@" <<'PY'
import array, sys
audio, sizes, swaps, recording, support = sys.argv[1:6]
sys.path.insert(0, support)
from recording_frames import frames
PLAYER_1_FIRE = 1 << 3
fired = next((f for f, controls, _ in frames(open(recording, "rb").read()) if controls & PLAYER_1_FIRE), None)
samples = array.array("h")
samples.frombytes(open(audio, "rb").read())
first = next((k for k, s in enumerate(samples) if abs(s) > 1000), None)
shown = [float(t) for t in open(swaps)]
sizes = [tuple(map(float, line.split())) for line in open(sizes)]
sizes = [s for s in sizes if s[1] > 0]
if fired is None or first is None or fired >= len(shown) or len(sizes) < 2:
    print("never"); sys.exit()
# The driver writes a mixed buffer at a time through a file buffer that
# reaches the disk 4096 bytes at a time: a sample shows up when its block
# does, and was mixed when its own buffer was, up to a buffer earlier.
MIX_BYTES, FILE_BLOCK = 512 * 4, 4096
byte = first * 2
rate = (sizes[-1][1] - sizes[0][1]) / (sizes[-1][0] - sizes[0][0])  # bytes a millisecond
block_end = (byte // FILE_BLOCK + 1) * FILE_BLOCK
mix_end = (byte // MIX_BYTES + 1) * MIX_BYTES
for t, size in sizes:
    if size >= block_end:
        print(round(t - (block_end - mix_end) / rate - shown[fired])); sys.exit()
print("never")
PY
}

for case in "${CASES[@]}"; do
  IFS='|' read -r options action expected <<<"$case"
  audio="$copy/audio.raw"
  rm -f "$audio" "$copy/swaps" "$copy/sizes"
  pause=$WRITE_PAUSE_MS
  [[ $expected == prompt ]] && pause=$REAL_TIME_PAUSE_MS
  # shellcheck disable=SC2086
  launch_game "$copy" env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$audio" SDL_DISKAUDIODELAY=$pause \
    ZENTAVOR_SWAP_LOG="$copy/swaps" LD_PRELOAD="${LD_PRELOAD:+$LD_PRELOAD:}$build_dir/tests/bench/libswap_log_shim.so" \
    ./zentavor -w $options -record "$copy/run.zrec" || { fail "no window with $options: $(cat "$copy/stderr")"; stop_game; continue; }
  # The audio file's size every millisecond from the start, on the swap log's clock.
  python3 -c '
import os, sys, time
with open(sys.argv[2], "w", buffering=1) as out:
    while True:
        size = os.path.getsize(sys.argv[1]) if os.path.exists(sys.argv[1]) else 0
        out.write("%.3f %d\n" % (time.monotonic() * 1000, size))
        time.sleep(0.001)' "$audio" "$copy/sizes" &
  sizer=$!
  wait_match_frame "$copy/match.ppm" 30 || fail "no match frame with $options"
  if [[ $action == fire ]]; then
    # Fire once the sizes are being watched.
    for _ in $(seq 100); do [[ -s $copy/sizes ]] && break; sleep 0.02; done
    sleep 0.2
    x_try xdotool keydown 1 || fail "cannot hold player 1's fire key"
    sleep "$FIRE_SECONDS"
    x_try xdotool keyup 1 || true
  else
    press_keys Escape Down Down Up
  fi
  # What was heard before leaving, whose keys make sounds of their own.
  sleep "$SETTLE_SECONDS"
  cp "$audio" "$audio.before-leaving" 2>/dev/null || true
  kill "$sizer" 2>/dev/null
  wait "$sizer" 2>/dev/null || true
  leave_game
  expect_eq "$status" "0" "exit status with $options"
  [[ -s "$audio.before-leaving" ]] || { fail "no output written with $options: $(cat "$copy/stderr")"; continue; }
  if [[ $expected == silence ]]; then
    expect_eq "$(peak_of "$audio")" "0" "loudest sample with $options while doing $action and leaving"
  elif [[ $expected == prompt ]]; then
    latency=$(latency_of "$audio.before-leaving" "$copy/sizes" "$copy/swaps" "$copy/run.zrec" "$support")
    echo "first shot heard $latency ms after the frame that fired it was shown"
    [[ $latency != never ]] && ((latency <= MAX_LATENCY_MS)) || fail "firing heard after $latency ms"
    peak=$(peak_of "$audio")
    ((peak < CLIPPED)) || fail "the mix clipped: peak $peak"
  else
    peak=$(peak_of "$audio.before-leaving")
    ((peak >= MIN_HEARD_PEAK)) || fail "nothing heard with $options while doing $action: peak $peak"
  fi
done
finish
