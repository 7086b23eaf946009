#!/bin/sh
# Runs each fuzz target for a while, growing a working corpus from the committed seeds.
# Usage: fuzz/run_fuzzers.sh BUILD_DIR SECONDS [target ...]
# Findings are written to BUILD_DIR/findings/; each becomes a file in fuzz/corpus/<target>/.
set -eu
build=$1
seconds=$2
shift 2
targets=${*:-"quoted_list header_writer picture_intake header_reader"}
source_dir=$(cd "$(dirname "$0")" && pwd)

# Full stacks through the uninstrumented picture libraries, so the suppressions can
# name the library function that leaks. An allocation over 1 GB fails, as under the
# decoding cap of a normal build (ASan builds cannot cap their address space); memory
# actually used beyond 2 GB is a finding.
export ASAN_OPTIONS="${ASAN_OPTIONS:-fast_unwind_on_malloc=0:allocator_may_return_null=1:max_allocation_size_mb=1024}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$source_dir/../cmake/lsan.supp}"

mkdir -p "$build/findings"
for target in $targets; do
  mkdir -p "$build/corpus-$target"
  echo "== $target: $seconds s"
  nice "$build/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -rss_limit_mb=2048 -malloc_limit_mb=1000000000 \
    -artifact_prefix="$build/findings/$target-" "$build/corpus-$target" \
    "$source_dir/corpus/$target"
done
