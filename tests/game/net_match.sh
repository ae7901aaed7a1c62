#!/usr/bin/env bash
# Two real games on this machine, each on its own X server, in network
# matches over 127.0.0.1:
#  1. through the relay at 80 ms round trip, 20 ms jitter and 5 % loss, both
#     flown by computer pilots and recording: a pause in which the joiner
#     changes its ship, a desync forced on the joiner and mended, then the
#     host quits through the menu and the joiner after it. Both recordings
#     replay verified and are the same file; rollbacks happened, no other
#     desync; each config.cfg holds its own player's ship as player 1's.
#  2. a match of one life whose idle joiner falls into the planet: both menus
#     open, Enter on both starts the next match; then the joiner is killed
#     and the host says so within 10 s and ends with status 3.
#  3. a joiner with nobody to answer gives up after 10 s with status 3.
#  4. SIGTERM on a joiner leaves in order (status 0, its player saved) and
#     the host is told that it left.
source "$(dirname "$0")/lib.bash"
work=$(mktemp -d /tmp/zentavor-net.XXXXXX)
pids=()
xservers=()
finish_all() {
  local pid
  for pid in "${pids[@]}" "${xservers[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap finish_all EXIT

# A private X server per game; sets display.
new_display() {
  start_x
  xservers+=("$xvfb_pid")
  trap finish_all EXIT
  display=$DISPLAY
}

# A copy of the game folder with config.cfg's sixteen values.
game_copy() {
  local dir=$work/$1
  mkdir -p "$dir"
  cp -r "$game_dir"/. "$dir"/
  printf '%s\n' $2 >"$dir/config.cfg"
  echo "$dir"
}

# Makes side $1 (host, joiner, ...) the one lib.bash's helpers work on.
side() {
  export DISPLAY=${display_of[$1]}
  game_pid=${pid_of[$1]}
  game_window=${window_of[$1]}
  game_stderr=${dir_of[$1]}/stderr
}

declare -A display_of pid_of window_of dir_of status_of
# Starts side $1 in folder $2 on display $3 with the options after.
start_side() {
  local name=$1 dir=$2
  export DISPLAY=$3
  shift 3
  launch_game "$dir" ./zentavor -w -640 -nm "$@" || fail "$name: no window: $(cat "$dir/stderr")"
  pids+=("$game_pid")
  display_of[$name]=$DISPLAY pid_of[$name]=$game_pid window_of[$name]=$game_window dir_of[$name]=$dir
}

# Waits for side $1 to stand still in a menu, then presses keys $2...
in_menu() {
  local name=$1
  shift
  side "$name"
  wait_still "$work/$name.ppm" 30 || fail "$name: no menu"
  press_keys "$@"
}

ends_with() {
  side "$1"
  wait_game "$2"
  status_of[$1]=$status
}

# A host and a joiner, sides $1 and $2, straight to each other from fresh
# folders with config.cfg values $3 and $4; the host's options in $5, the joiner's in $6.
start_pair() {
  host_port=$(free_port)
  host_dir=$(game_copy "$1" "$3")
  joiner_dir=$(game_copy "$2" "$4")
  new_display
  # shellcheck disable=SC2086
  start_side "$1" "$host_dir" "$display" -host "$host_port" $5
  new_display
  # shellcheck disable=SC2086
  start_side "$2" "$joiner_dir" "$display" -join "127.0.0.1:$host_port" $6
}

free_port() { python3 -c 'import socket; s=socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }

# --- 1. Through the relay, for a minute.
host_port=$(free_port)
relay_port=$(free_port)
"$game_dir/zentavor-udp-relay" --listen "$relay_port" --to "$host_port" --delay 40 --jitter 20 --loss 5 \
  --seconds 150 2>"$work/relay.err" &
pids+=($!)
host_dir=$(game_copy host "Hosta Xeno 0 10 0 1 3 5 8 0 2 7 2 4 6 9")
joiner_dir=$(game_copy joiner "Joina Yuri 1 4 1 1 3 5 8 0 3 7 2 4 6 9")
new_display
start_side host "$host_dir" "$display" -host "$host_port" -cpu1 -record run.zrec
new_display
start_side joiner "$joiner_dir" "$display" -join "127.0.0.1:$relay_port" -cpu2 -record run.zrec -test-desync 900
for name in host joiner; do
  side $name
  wait_match_frame "$work/$name.ppm" 30 || fail "$name: no match frame: $(cat "$game_stderr")"
done
sleep 20

# The joiner pauses both; in its ship yard it turns its own ship (player 2's
# row) on by one, and its main-menu visit starts a new match on both sides.
side joiner
press_keys Escape
in_menu host
in_menu joiner Down Return Down Return Down Right Escape Escape Escape Escape Return
in_menu host Return
for name in host joiner; do
  side $name
  sleep 1
  moving || fail "$name: the match did not go on after both went on"
done
sleep 25

# The host quits through its menu; the joiner is told under its own and quits.
side host
leave_game
status_of[host]=$status
side joiner
wait_still "$work/joiner.ppm" 30 || fail "joiner: no menu after the host left"
leave_game
status_of[joiner]=$status
for name in host joiner; do
  expect_eq "${status_of[$name]}" "0" "$name: exit status after quitting through the menu"
  log=$(grep -v '^ALSA' "${dir_of[$name]}/stderr")
  expect_contains "$log" "Out of sync at frame" "$name: the forced desync reported"
  expect_contains "$log" "In sync again from frame" "$name: the desync mended"
  stats=$(grep 'network: ' <<<"$log" || true)
  expect_contains "$stats" ", 1 desyncs," "$name: one desync, the forced one"
  rollbacks=$(sed -n 's/.*rollbacks \([0-9]*\) (deepest.*/\1/p' <<<"$stats")
  ((${rollbacks:-0} > 0)) || fail "$name: no rollbacks in '$stats'"
  verdict=$(cd "${dir_of[$name]}" && ./zentavor-sim --replay run.zrec | tail -1)
  expect_contains "$verdict" '"replay":"verified"' "$name: its recording replays"
done
expect_contains "$(grep -v '^ALSA' "$joiner_dir/stderr")" "Hosta left the match" "joiner: told that the host left"
cmp -s "$host_dir/run.zrec" "$joiner_dir/run.zrec" || fail "the two recordings differ"
# Each side's own player 1 entries: the joiner's ship turned from wasp to
# gunship; everything else as it was.
expect_eq "$(tr '\n' ' ' <"$host_dir/config.cfg")" "Hosta Xeno 0 10 0 1 3 5 8 0 2 7 2 4 6 9" "host's config.cfg"
expect_eq "$(tr '\n' ' ' <"$joiner_dir/config.cfg")" "Joina Yuri 1 4 2 1 3 5 8 0 3 7 2 4 6 9" "joiner's config.cfg"
grep -h 'network: ' "$host_dir/stderr" "$joiner_dir/stderr"

# --- 2. One life; the idle joiner falls into the planet, then is killed.
start_pair host2 joiner2 "Hosta Xeno 0 1 0 1 3 5 8 0 2 7 2 4 6 9" "Joina Yuri 1 4 1 1 3 5 8 0 3 7 2 4 6 9" -cpu1 ""
in_menu host2 Return
in_menu joiner2 Return
for name in host2 joiner2; do
  side $name
  sleep 1
  moving || fail "$name: no new match after the lost one"
done
kill -KILL "${pid_of[joiner2]}"
killed_at=$SECONDS
side host2
for _ in $(seq 120); do
  grep -q "has not answered\|connection to the other side was lost" "$game_stderr" && break
  sleep 0.1
done
((SECONDS - killed_at <= 11)) || fail "host2: the lost joiner was not reported within 10 s"
leave_game
expect_eq "$status" "3" "host2: exit status after the joiner was lost"

# --- 3. Nobody there.
joiner_dir=$(game_copy joiner3 "Joina Yuri 1 4 1 1 3 5 8 0 3 7 2 4 6 9")
new_display
start_side joiner3 "$joiner_dir" "$display" -join "127.0.0.1:$(free_port)"
ends_with joiner3 20
expect_eq "${status_of[joiner3]}" "3" "joiner3: exit status when nobody answers"
expect_contains "$(grep -v '^ALSA' "$joiner_dir/stderr")" "no answer from 127.0.0.1" "joiner3: the line said"

# --- 4. SIGTERM on the joiner in the middle of a match.
start_pair host4 joiner4 "Hosta Xeno 0 10 0 1 3 5 8 0 2 7 2 4 6 9" "Joina Yuri 1 4 3 1 3 5 8 0 3 7 2 4 6 9" -cpu1 -cpu2
side joiner4
wait_match_frame "$work/joiner4.ppm" 30 || fail "joiner4: no match"
sleep 2
kill -TERM "${pid_of[joiner4]}"
ends_with joiner4 10
expect_eq "${status_of[joiner4]}" "0" "joiner4: exit status after SIGTERM"
expect_eq "$(tr '\n' ' ' <"$joiner_dir/config.cfg")" "Joina Yuri 1 4 3 1 3 5 8 0 3 7 2 4 6 9" "joiner4: config.cfg whole after the stop"
side host4
for _ in $(seq 50); do
  grep -q "Joina left the match" "$game_stderr" && break
  sleep 0.1
done
expect_contains "$(grep -v '^ALSA' "$host_dir/stderr")" "Joina left the match" "host4: told that the joiner left"
leave_game
finish
