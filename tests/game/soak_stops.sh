#!/usr/bin/env bash
# zentavor-soak reads config.cfg as the game does, so that a named pipe or a
# device in its place is refused at once, and puts the file back however it
# is stopped: by Ctrl+C or kill as well as at its end.
source "$(dirname "$0")/lib.bash"
start_x
copy=$(copy_game)
trap cleanup EXIT
cd "$copy"

# refused HOW-TO-MAKE-IT MESSAGE
refused() {
  rm -f config.cfg
  eval "$1"
  status=0
  timeout 20 ./zentavor-soak --seconds 5 >out 2>err || status=$?
  expect_eq "$status" 2 "$1: exit status"
  expect_contains "$(cat err)" "zentavor-soak: cannot read config.cfg: $2" "$1"
}
refused "mkfifo config.cfg" "it is a named pipe, not a file"
refused "ln -s /dev/zero config.cfg" "it is a device, not a file"

rm -f config.cfg
cp "$game_dir/config.cfg" config.cfg
cp config.cfg before.cfg
for signal in INT TERM; do
  ./zentavor-soak --seconds 120 --lives 1 >out 2>err &
  soak_pid=$!
  sleep 4
  kill -"$signal" "$soak_pid"
  status=0
  for _ in $(seq 100); do
    kill -0 "$soak_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$soak_pid" 2>/dev/null && fail "$signal: the soak did not stop within 10 s"
  wait "$soak_pid" || status=$?
  expect_eq "$status" 1 "$signal: exit status ($(grep -v '^ALSA' err | tail -3))"
  expect_contains "$(cat err)" "zentavor-soak: stopped after" "$signal: the message"
  cmp -s before.cfg config.cfg || fail "$signal: config.cfg not restored: $(tr '\n' ' ' <config.cfg)"
done
finish
