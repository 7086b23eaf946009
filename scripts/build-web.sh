#!/bin/sh
# Builds the browser page, build-web/quillbit.html (make web): the web host, the picture
# reader and quillbit-check's logic compiled to WebAssembly by Debian's emscripten, with the
# picture libraries built from Debian's source packages (scripts/picture-libraries.sh) and
# fflate from npm. Installs what is missing first; a second run only rebuilds what changed.
# Usage: scripts/build-web.sh [linux-quillbit]   (the program the page's tests compare with;
# default: build/quillbit). WEB_BUILD names another folder than build-web.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
build="$root/${WEB_BUILD:-build-web}"
case "${1:-build/quillbit}" in
  /*) linux_program=$1 ;;
  *) linux_program="$root/${1:-build/quillbit}" ;;
esac
jobs=${JOBS:-2}

# Debian's node and npm where the machine has none; a node already there is kept.
command -v node >/dev/null 2>&1 || scripts/install-deps.sh nodejs
command -v npm >/dev/null 2>&1 || scripts/install-deps.sh npm
scripts/install-deps.sh emscripten
# emscripten's tools find their node modules only there when another node comes first.
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"

# The npm packages of package-lock.json, installed again only when it changed.
stamp=node_modules/.quillbit-package-lock
if ! [ -f "$stamp" ] || ! cmp -s package-lock.json "$stamp"; then
  npm ci --no-audit --no-fund
  cp package-lock.json "$stamp"
fi

JOBS=$jobs scripts/picture-libraries.sh emscripten "$build/third-party"

# CMake runs its checks' programs under node, whose built-in fetch trips emscripten's loader.
emcmake cmake -S . -B "$build" -DQUILLBIT_WERROR=ON \
  "-DCMAKE_CROSSCOMPILING_EMULATOR=$(command -v node);--no-experimental-fetch" \
  -DQUILLBIT_LINUX_PROGRAM="$linux_program"
cmake --build "$build" -j "$jobs"
echo "The page: $build/quillbit.html ($(wc -c <"$build/quillbit.html") bytes)"
