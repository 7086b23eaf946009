#!/bin/sh
# Fails, naming each finding, when a C++ file of src/ that BUILD compiles is not clean
# under the checks of .clang-tidy; with --with-tests, those of tests/ too (tests/.clang-tidy).
# Benchmarks and fuzz targets are not checked.
# A cross build is checked with its own target's flags: MinGW-w64's commands as they are
# (clang takes the target from the compiler's name), emscripten's as the clang command em++
# would run, so the Windows and browser sources are held to the same checks.
# Usage: scripts/lint-cpp.sh [--with-tests] BUILD [SKIP_BUILD]
#   BUILD       a build folder with compile_commands.json
#   SKIP_BUILD  files this build folder compiles too are left out (checked there already)
set -eu
tops="$(cd "$(dirname "$0")/.." && pwd)/src/"
if [ "${1:-}" = --with-tests ]; then
  tops="$tops:$(dirname "$tops")/tests/"
  shift
fi
database=$(cd "${1:?usage: $0 BUILD [SKIP_BUILD]}" && pwd)
skip=""
[ $# -ge 2 ] && skip=$(cd "$2" && pwd)/compile_commands.json
cd "$(dirname "$0")/.."
if ! command -v clang-tidy >/dev/null 2>&1; then
  echo "clang-tidy is missing: scripts/install-deps.sh installs it" >&2
  exit 1
fi
if [ ! -f "$database/compile_commands.json" ]; then
  echo "$database/compile_commands.json is missing: configure with CMake first" >&2
  exit 1
fi
emscripten_flags=""
if grep -q '/em++ ' "$database/compile_commands.json"; then
  emscripten_flags=$(em++ --cflags)
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sources=$(python3 "$(pwd)/scripts/lint_database.py" "$database/compile_commands.json" \
  "$tops" "$work" "$skip" "$emscripten_flags")
if [ -z "$sources" ]; then
  echo "clang-tidy: no file to check in $database"
  exit 0
fi
status=0
echo "$sources" | xargs -P "${JOBS:-2}" -n 4 clang-tidy --quiet -p "$work" >"$work/log" 2>&1 ||
  status=$?
# clang-tidy counts the warnings it was told to leave out; only the findings matter.
grep -v '^[0-9]* warnings\{0,1\} generated\.$' "$work/log" || true
echo "clang-tidy: $(echo "$sources" | wc -l) files, status $status"
exit "$status"
