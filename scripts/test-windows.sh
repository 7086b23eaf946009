#!/bin/sh
# Cross-builds the Windows programs into build-windows/ and runs their tests through Wine,
# in a fresh Wine prefix bound to a private virtual X display (for the message boxes).
# Usage: scripts/test-windows.sh [linux-build-folder]   (default: build; its quillbit is
# the reference the Windows headers must match byte for byte). WINDOWS_BUILD names
# another folder for the cross build; CTEST_ARGS are handed to ctest (say, -R windows_paths).
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
build="$root/${WINDOWS_BUILD:-build-windows}"
case "${1:-build}" in
  /*) linux_build=$1 ;;
  *) linux_build="$root/${1:-build}" ;;
esac
jobs=${JOBS:-2}
started=$(date +%s)

scripts/install-deps.sh wine64 wine g++-mingw-w64-x86-64-posix nsis
JOBS=$jobs scripts/picture-libraries.sh mingw-w64-x86_64 "$build/third-party"
libraries=$(date +%s)

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DQUILLBIT_WERROR=ON -DQUILLBIT_LINUX_PROGRAM="$linux_build/quillbit"
cmake --build "$build" -j "$jobs"
built=$(date +%s)

# As in the toolchain file's emulator; a UTF-8 locale keeps Linux file names intact in Wine.
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
  LANG=C.UTF-8 LC_ALL=
rm -rf "$WINEPREFIX"

display_file=$(mktemp)
xvfb_pid=""
# shellcheck disable=SC2317  # only the trap below calls it
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -f "$display_file"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Wine binds its desktop to the display of the session's first call, so the display
# comes first. -displayfd picks a free number: other test runs may have their own.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" \
  >/dev/null 2>&1 </dev/null &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$display_file" ] && break
  sleep 0.1
done
[ -s "$display_file" ] || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=":$(head -n 1 "$display_file")"
export DISPLAY

# The server and the prefix's services start here with their output detached: started
# by a test instead, they would hold CTest's output pipe open and it would wait forever.
wineserver -p >/dev/null 2>&1 </dev/null &
wineboot -i >/dev/null 2>&1 </dev/null &
wait $!
booted=$(date +%s)

status=0
# shellcheck disable=SC2086 # CTEST_ARGS are words
(cd "$build" && ctest --output-on-failure -j "$jobs" ${CTEST_ARGS:-}) || status=$?
finished=$(date +%s)
echo "Picture libraries: $((libraries - started)) s, Windows build: $((built - libraries)) s," \
  "Wine prefix: $((booted - built)) s," \
  "tests: $((finished - booted)) s, total: $((finished - started)) s"
exit $status
