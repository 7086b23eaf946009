#!/bin/sh
# Builds the Debian packages and runs lintian on them: any error or warning fails, and
# there are no overrides. Informational tags are printed only.
# Usage: lint_debian_packages.sh CPACK CPACK_CONFIG
set -eu
command -v lintian >/dev/null || { echo "lintian is missing (Debian package lintian)" >&2; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$1" -G DEB --config "$2" -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
status=0
report=$(lintian --fail-on error,warning --display-info "$out"/*.deb 2>&1) || status=$?
# lintian says so when it runs as root, as CI does; that is no finding.
echo "$report" | grep -v '^running with root privileges is not recommended!$' || true
[ "$status" -eq 0 ] || { echo "lintian found errors or warnings (status $status)" >&2; exit 1; }
echo "lintian: no error and no warning in quillbit and quillbit-desktop"
