#!/bin/sh
# The npm package's commands against Node's own start-up and the native program: one
# picture, and a batch of 100, each run in a fresh process as a Makefile runs them.
# Usage: bench/node_startup.sh NATIVE_QUILLBIT NODE_PACKAGE_FOLDER [RESULTS.md]
set -eu

native=$(realpath "$1")
package=$(realpath "$2")
results=${3:-/dev/null}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp "$here/../tests/golden/ship.png" "$work/ship.png"
mkdir "$work/batch"
for number in $(seq -w 1 100); do cp "$work/ship.png" "$work/batch/ship$number.png"; done
cd "$work"
hyperfine --shell=none --warmup 3 --min-runs 20 --export-markdown "$results" \
  --command-name "node -e 0" "node -e 0" \
  --command-name "Node quillbit, one picture" "node $package/quillbit ship.png" \
  --command-name "native quillbit, one picture" "$native ship.png" \
  --command-name "Node quillbit, 100 pictures" "node $package/quillbit $(echo batch/*.png)" \
  --command-name "native quillbit, 100 pictures" "$native $(echo batch/*.png)"

# convertPicture(): the first call compiles and starts the core, the others reuse it.
node -e "
const { convertPicture } = require('$package');
const bytes = require('fs').readFileSync('ship.png');
const time = () => { const start = process.hrtime.bigint(); convertPicture(bytes, 'ship.png');
                     return Number(process.hrtime.bigint() - start) / 1e6; };
const first = time();
const later = Array.from({ length: 200 }, time).sort((a, b) => a - b);
console.log('convertPicture: first call ' + first.toFixed(1) + ' ms, later calls ' +
            later[100].toFixed(2) + ' ms (median of 200)');
" | tee -a "$results"
