#!/bin/sh
# Builds the libFuzzer harnesses of fuzz/ (clang, ASan + UBSan, in build/fuzz)
# and runs them one at a time at low priority: first on the reproducers of
# fuzz/crashes/<harness>/, then fuzzing from fuzz/corpus/<harness>/ plus what
# earlier runs found (build/fuzz/corpus/<harness>/). Fails on any finding;
# its input is left in build/fuzz/findings/<harness>/.
#
# usage: tools/fuzz.sh [seconds] [harness[:seconds]...]
#   tools/fuzz.sh 30                               every harness for 30 s
#   tools/fuzz.sh 300 ini_engine_fuzzer:1200       one harness, its own time
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${QUORIX_BUILD_DIR:-$root/build}/fuzz
jobs=${QUORIX_JOBS:-2}
seconds=${1:-30}
[ $# -gt 0 ] && shift
all="records_fuzzer ini_engine_fuzzer side_files_fuzzer signed_file_fuzzer xml_writer_fuzzer
     report_reader_fuzzer"
[ $# -gt 0 ] || set -- $all

cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DQUORIX_FUZZ=ON -DQUORIX_TESTS=OFF -DQUORIX_BENCH=OFF \
  -DQUORIX_WERROR=ON >/dev/null
cmake --build "$out" --target quorix_fuzzers -j"$jobs"

# The harnesses keep their files in a folder of their own under TMPDIR:
# on tmpfs, the fsync of every atomic replacement costs nothing.
base=/tmp
[ -d /dev/shm ] && [ -w /dev/shm ] && base=/dev/shm
scratch=$(mktemp -d "$base/quorix-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT INT TERM

passed=0 failed=0 executions=0 elapsed=0
for choice in "$@"; do
  h=${choice%%:*}
  t=$seconds
  [ "$h" = "$choice" ] || t=${choice#*:}
  bin=$out/bin/$h
  corpus=$out/corpus/$h
  findings=$out/findings/$h
  log=$findings/last-run.log
  mkdir -p "$corpus" "$findings"
  ok=1
  if [ -d "$root/fuzz/crashes/$h" ]; then
    if ! TMPDIR=$scratch "$bin" "$root/fuzz/crashes/$h"/* >"$findings/reproducers.log" 2>&1; then
      echo "$h: a reproducer of fuzz/crashes/$h fails; see $findings/reproducers.log"
      ok=0
    fi
  fi
  start=$(date +%s)
  if ! TMPDIR=$scratch nice -n 19 "$bin" -max_total_time="$t" -timeout=60 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "$root/fuzz/corpus/$h" \
      >"$log" 2>&1; then
    ok=0
    sed -n '/invariant broken\|ERROR:\|runtime error:/,+3p' "$log" | head -20
    echo "$h: finding; input: $(sed -n 's/.*Test unit written to //p' "$log")"
  fi
  took=$(($(date +%s) - start))
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  runs=${runs:-0}
  executions=$((executions + runs))
  elapsed=$((elapsed + took))
  if [ $ok -eq 1 ]; then
    passed=$((passed + 1))
    echo "$h: $runs executions in $took s, no finding"
  else
    failed=$((failed + 1))
  fi
done
echo "fuzzing: $executions executions in $elapsed s on $(nproc) cores"
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
