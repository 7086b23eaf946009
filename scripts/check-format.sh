#!/bin/sh
# Fails, naming the files, when a C or C++ file of the project is not as .clang-format lays it out.
# Usage: scripts/check-format.sh   (from anywhere inside the work tree)
set -eu
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  files=$(git ls-files '*.c' '*.cpp' '*.h')
else  # an unpacked source archive
  files=$(find companion src tests fuzz bench -name '*.c' -o -name '*.cpp' -o -name '*.h')
fi
unformatted=""
for file in $files; do
  clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || unformatted="$unformatted $file"
done
if [ -n "$unformatted" ]; then
  echo "not formatted by .clang-format (run clang-format -i on them):$unformatted" >&2
  exit 1
fi
