#!/usr/bin/env bash
# A recording that meets a file-size limit (or a full disk): the game says so
# in one line, plays on without recording, and saves config.cfg at the quit
# as usual; what was written replays verified as far as it goes.
source "$(dirname "$0")/lib.bash"
start_x
copy=$(copy_game)
trap cleanup EXIT
export SDL_AUDIODRIVER=dummy
LIMIT_KB=2
tr '\n' ' ' <"$game_dir/config.cfg" >"$copy/config.cfg"

# Two computer players press new keys nearly every frame, so the recording
# soon outgrows the limit.
launch_game "$copy" bash -c "ulimit -f $LIMIT_KB && exec ./zentavor -w -nm -cpu1=hard -cpu2=hard -record limited.zrec" ||
  fail "no window"
for _ in $(seq 120); do
  grep -q "limited.zrec" "$game_stderr" && break
  sleep 0.5
done
expect_contains "$(cat "$game_stderr")" \
  "zentavor: cannot write the recording limited.zrec: File too large; the game goes on without recording" "the limit"
moving || fail "the match stopped at the limit"
leave_game
expect_eq "$status" 0 "exit status ($(grep -v '^ALSA' "$game_stderr" | head -3))"
expect_eq "$(wc -l <"$copy/config.cfg")" 15 "config.cfg saved"
expect_eq "$(stat -c %s "$copy/limited.zrec")" $((LIMIT_KB * 1024)) "the recording's size"
status=0
(cd "$copy" && ./zentavor-sim --replay limited.zrec >replay.json 2>replay.err) || status=$?
expect_eq "$status" 0 "replayed: status ($(cat "$copy/replay.err"))"
expect_contains "$(tail -1 "$copy/replay.json")" ',"cut":true}' "replayed"
finish
