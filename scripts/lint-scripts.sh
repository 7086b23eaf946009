#!/bin/sh
# Fails, naming each finding, when a shell script or Python file of scripts/, tests/,
# bench/ or fuzz/ is not clean under shellcheck or flake8 (.flake8 holds its settings).
# Usage: scripts/lint-scripts.sh   (from anywhere inside the work tree)
set -eu
cd "$(dirname "$0")/.."
for tool in shellcheck flake8; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "$tool is missing: scripts/install-deps.sh installs it" >&2
    exit 1
  fi
done

# Files named by the given patterns, tracked ones only where there is a git work tree.
files() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -- "$@"
  else  # an unpacked source archive
    for pattern in "$@"; do
      find "${pattern%%/*}" -name "${pattern##*/}"
    done
  fi
}

status=0
files 'scripts/*.sh' 'tests/*.sh' 'bench/*.sh' 'fuzz/*.sh' | xargs shellcheck || status=1
files 'scripts/*.py' 'tests/*.py' 'bench/*.py' 'fuzz/*.py' | xargs flake8 || status=1
exit "$status"
