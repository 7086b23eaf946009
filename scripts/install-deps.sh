#!/bin/sh
# Installs the Debian packages the build and the tests need, only those missing.
# Usage: scripts/install-deps.sh [extra-package ...]
set -eu

packages="build-essential cmake pkg-config libsdl2-dev libstb-dev zlib1g-dev libpng-dev libgif-dev libjpeg62-turbo-dev libtiff-dev libwebp-dev libgtest-dev nlohmann-json3-dev clang-format git
python3 xvfb xdotool x11-utils xfonts-base mount
clang-tidy shellcheck flake8
desktop-file-utils file groff-base lintian appstream acl valgrind ninja-build
gcc-avr avr-libc simavr gcc-arm-none-eabi libnewlib-arm-none-eabi qemu-system-arm
gcc-m68k-linux-gnu qemu-user cc65 sdcc sdcc-ucsim $*"

missing=""
for package in $packages; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  case "$status" in
    *" installed") ;;
    *) missing="$missing $package" ;;
  esac
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
# Another install on the same machine holds the lock for a while: wait for it.
lock="-o DPkg::Lock::Timeout=900"
# shellcheck disable=SC2086
$sudo apt-get $lock update -qq
# shellcheck disable=SC2086
$sudo apt-get $lock install -y -qq --no-install-recommends $missing </dev/null
