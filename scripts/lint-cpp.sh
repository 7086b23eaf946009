#!/bin/sh
# Fails, naming each finding, when a C++ file of src/ that BUILD compiles is not clean
# under the checks of .clang-tidy. Tests, benchmarks and fuzz targets are not checked.
# Usage: scripts/lint-cpp.sh BUILD   (a build folder with compile_commands.json)
set -eu
database=$(cd "${1:?usage: $0 BUILD}" && pwd)
cd "$(dirname "$0")/.."
if ! command -v clang-tidy >/dev/null 2>&1; then
  echo "clang-tidy is missing: scripts/install-deps.sh installs it" >&2
  exit 1
fi
if [ ! -f "$database/compile_commands.json" ]; then
  echo "$database/compile_commands.json is missing: configure with CMake first" >&2
  exit 1
fi

sources=$(python3 -c '
import json, sys
top = sys.argv[2] + "/src/"
print("\n".join(sorted({entry["file"] for entry in json.load(open(sys.argv[1]))
                        if entry["file"].startswith(top)})))
' "$database/compile_commands.json" "$(pwd)")
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
echo "$sources" | xargs -P "${JOBS:-2}" -n 4 clang-tidy --quiet -p "$database" >"$log" 2>&1 ||
  status=$?
# clang-tidy counts the warnings it was told to leave out; only the findings matter.
grep -v '^[0-9]* warnings\{0,1\} generated\.$' "$log" || true
echo "clang-tidy: $(echo "$sources" | wc -l) files of src/, status $status"
exit "$status"
