#!/bin/sh
# Runs the picture intake fuzzer on one picture family at a time, each from its own seeds
# (fuzz/family_seeds.py), so every format's reader gets its share of the time.
# Usage: fuzz/run_families.sh BUILD_DIR SECONDS [family ...]
# Prints each family's executions per second; findings go to BUILD_DIR/findings/.
set -eu
build=$1
seconds=$2
shift 2
source_dir=$(cd "$(dirname "$0")" && pwd)
python3 "$source_dir/family_seeds.py" "$build/seeds" >/dev/null
families=${*:-$(ls "$build/seeds")}

# The same limits as fuzz/run_fuzzers.sh.
export ASAN_OPTIONS="${ASAN_OPTIONS:-fast_unwind_on_malloc=0:allocator_may_return_null=1:max_allocation_size_mb=1024}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$source_dir/../cmake/lsan.supp}"

mkdir -p "$build/findings"
for family in $families; do
  mkdir -p "$build/corpus-family-$family"
  log="$build/findings/family-$family.log"
  nice "$build/picture_intake_fuzzer" -max_total_time="$seconds" -timeout=10 \
    -print_final_stats=1 -rss_limit_mb=2048 -malloc_limit_mb=1000000000 \
    -artifact_prefix="$build/findings/$family-" "$build/corpus-family-$family" \
    "$build/seeds/$family" >"$log" 2>&1 || true
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  echo "$family: ${runs:-?} runs, ${speed:-?} exec/s, $(find "$build/corpus-family-$family" -type f | wc -l) corpus files"
done
findings=$(find "$build/findings" -type f ! -name 'family-*.log')
echo "${findings:-no findings}"
