#!/usr/bin/env bash
# The music as heard through SDL's disk audio driver, which writes the mixed
# 16-bit signed stereo samples to a file: it plays by default and through
# look-alike options, and each of -nm, -ns, -nomusic and -nosound leaves the
# audio device open but silent, as does a missing music file. Runs with and
# without music are left through the menu, status 0.
source "$(dirname "$0")/lib.bash"
start_x
copy=$(copy_game)
trap cleanup EXIT

AUDIO_BYTES=655360          # nearly four seconds of sound: enough to judge
WRITE_PAUSE_MS=25           # the driver's pause per buffer; its 150 would be real time
MIN_MUSIC_RMS=500           # of 32767; the music plays far louder
MIN_SMOOTHNESS=0.8          # neighbouring samples of a channel correlate in real sound

# "rms peak smoothness" of a raw 16-bit little-endian stereo file, the first
# buffer skipped; smoothness is the lag-one correlation within the left channel.
sound_figures() {
  python3 - "$1" "$AUDIO_BYTES" <<'EOF'
import array, math, sys
with open(sys.argv[1], "rb") as f:
    data = f.read(int(sys.argv[2]))[16384:]
samples = array.array("h")
samples.frombytes(data[: len(data) // 4 * 4])
if sys.byteorder == "big":
    samples.byteswap()
left = samples[0::2]
rms = math.sqrt(sum(s * s for s in samples) / max(1, len(samples)))
peak = max((abs(s) for s in samples), default=0)
mean = sum(left) / max(1, len(left))
spread = sum((s - mean) ** 2 for s in left)
together = sum((a - mean) * (b - mean) for a, b in zip(left, left[1:]))
print(f"{rms:.1f} {peak} {together / spread if spread else 0:.3f}")
EOF
}

# Plays a run with the given options until enough sound is written, then
# leaves it through the menu ($1 "leave") or stops it ("stop"); sets figures.
listen() {
  local how=$1 audio="$copy/audio.raw" _
  shift
  rm -f "$audio"
  figures="0 0 0"
  launch_game "$copy" env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$audio" SDL_DISKAUDIODELAY=$WRITE_PAUSE_MS \
    ./zentavor -w "$@" || { fail "no window with $*: $(cat "$copy/stderr")"; stop_game; return; }
  for _ in $(seq 300); do
    (($(stat -c %s "$audio" 2>/dev/null || echo 0) >= AUDIO_BYTES)) && break
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [[ $how == leave ]]; then
    leave_game
    expect_eq "$status" "0" "exit status with $*"
  else
    stop_game
  fi
  [[ -s "$audio" ]] || { fail "no sound written with $*: $(cat "$copy/stderr")"; return; }
  (($(stat -c %s "$audio") >= AUDIO_BYTES)) || fail "only $(stat -c %s "$audio") bytes of sound with $*"
  figures=$(sound_figures "$audio")
}

for options in "" "-NM -Nosound -NOMUSIC --nm -ns0 -nomusic2 nm"; do
  # shellcheck disable=SC2086
  listen leave $options
  read -r rms _ smoothness <<<"$figures"
  awk -v r="$rms" -v m=$MIN_MUSIC_RMS 'BEGIN { exit !(r > m) }' || fail "no music with '$options': rms $rms"
  awk -v s="$smoothness" -v m=$MIN_SMOOTHNESS 'BEGIN { exit !(s > m) }' ||
    fail "the sound with '$options' is not 16-bit stereo music: smoothness $smoothness"
done

for option in -nm -ns -nomusic -nosound; do
  if [[ $option == -nm ]]; then listen leave "$option"; else listen stop "$option"; fi
  read -r _ peak _ <<<"$figures"
  expect_eq "$peak" "0" "loudest sample with $option"
done

rm "$copy/sound/zentavor.ogg"
listen leave
read -r _ peak _ <<<"$figures"
expect_eq "$peak" "0" "loudest sample without the music file"
finish
