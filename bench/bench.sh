#!/bin/sh
# `make bench`: installs the peers and tools from Debian, counts the cycles of Blitview.h's
# drawing on an ATmega328P and a 6502, builds Release into BUILD_DIR with the stage
# micro-benchmarks, runs them, then times quillbit against the peers, and the browser
# page (build-web/) and the npm package's commands against quillbit.
# Usage: bench/bench.sh [BUILD_DIR] [JOBS]     (defaults: build-bench 2)
set -eu

build=${1:-build-bench}
jobs=${2:-2}
here=$(cd "$(dirname "$0")" && pwd)

"$here/../scripts/install-deps.sh" hyperfine imagemagick netpbm python3-pil time libbenchmark-dev

cmake -S "$here/.." -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUILLBIT_BENCH=ON -DBUILD_TESTING=OFF
cmake --build "$build" -j "$jobs" --target quillbit quillbit_micro

echo "== Blitview.h on small machines: cycles of one draw against a copy loop"
"$here/companion/companion.sh"

echo "== The benchmark's own tests"
/usr/bin/python3 -m unittest discover -s "$here" -p 'test_*.py'

echo "== Stage micro-benchmarks (one picture, by stage)"
"$build/quillbit_micro" --benchmark_min_time=0.2 | tee "$build/micro-results.txt"

echo "== Whole processes, side by side"
/usr/bin/python3 "$here/run.py" "$build"

echo "== The browser page against the native batch"
"$here/../scripts/install-deps.sh" chromium
"$here/../scripts/build-web.sh"
node "$here/web_batch.mjs" "$build" "$here/../build-web/quillbit.html"

echo "== The npm package's commands against node -e 0 and the native program"
"$here/node_startup.sh" "$build/quillbit" "$here/../build-web/src/host/node/quillbit" \
  "$build/node-startup.md"

echo "== What each hostile picture costs (CPU and memory against the bombs' budgets)"
/usr/bin/python3 "$here/hostile_budget.py" "$build"
