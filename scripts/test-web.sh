#!/bin/sh
# Builds the browser page into build-web/ (scripts/build-web.sh) and drives it in Debian's
# chromium: every suite of tests/web holds what the page gives against the Linux build's
# quillbit on the same pictures.
# Usage: scripts/test-web.sh [linux-build-folder]   (default: build, which must be built)
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
case "${1:-build}" in
  /*) linux_build=$1 ;;
  *) linux_build="$root/${1:-build}" ;;
esac
build="$root/${WEB_BUILD:-build-web}"

scripts/install-deps.sh chromium
scripts/build-web.sh "$linux_build/quillbit"
cd "$build"
ctest --output-on-failure --no-tests=error -j "${JOBS:-2}"
