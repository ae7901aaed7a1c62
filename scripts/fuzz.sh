#!/usr/bin/env bash
# Fuzzes the recording reader and the keys.cfg parser with libFuzzer, on a
# clang build with AddressSanitizer and UBSan in build-fuzz/, each harness for
# the seconds given (default 300), from the corpora in tests/fuzz/corpus and
# the golden recordings. New inputs worth keeping land in
# build-fuzz/corpus/HARNESS, an input that fails in build-fuzz/findings/.
# Prints each harness's figures: executions, coverage, corpus, time.
#   scripts/fuzz.sh [seconds per harness]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
dir=$root/build-fuzz
"$root/scripts/install-deps.sh" --test
CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTAVOR_FUZZ=ON >/dev/null
if ! log=$(cmake --build "$dir" -j2 --target fuzz_replay_reader fuzz_key_bindings 2>&1); then
  echo "$log"
  exit 1
fi
mkdir -p "$dir/findings"
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

failed=0
# fuzz HARNESS SEED-FOLDER...
fuzz() {
  local name=$1 status=0
  shift
  mkdir -p "$dir/corpus/$name"
  echo "\$ build-fuzz/tests/fuzz/fuzz_$name -max_total_time=$seconds build-fuzz/corpus/$name $*"
  "$dir/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$dir/findings/$name-" "$dir/corpus/$name" "$@" >"$dir/fuzz-$name.log" 2>&1 || status=$?
  grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)|^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|slowest_unit_time_sec|peak_rss_mb)|^Done ' \
    "$dir/fuzz-$name.log" | sed 's/^/  /'
  if ((status != 0)); then
    failed=1
    echo "  FAILED (status $status); the input is in build-fuzz/findings/, the log in build-fuzz/fuzz-$name.log:"
    grep -E 'ERROR|check failed|runtime error|SUMMARY|Test unit written' "$dir/fuzz-$name.log" | head -10 | sed 's/^/  /'
  fi
}
fuzz replay_reader "$root/tests/fuzz/corpus/replay" "$root/tests/replays"
fuzz key_bindings "$root/tests/fuzz/corpus/keys"
exit $failed
