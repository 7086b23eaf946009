#!/bin/sh
# Fails on any error or warning of desktop-file-validate; its hints are advice only.
# Usage: validate_desktop_entry.sh FILE.desktop
set -u
command -v desktop-file-validate >/dev/null ||
  { echo "desktop-file-validate is missing (Debian package desktop-file-utils)" >&2; exit 1; }
report=$(desktop-file-validate "$1" 2>&1)
status=$?
[ -n "$report" ] && echo "$report"
[ "$status" -eq 0 ] || exit 1
if echo "$report" | grep -q -e ' error: ' -e ' warning: '; then exit 1; fi
echo "$1: valid"
