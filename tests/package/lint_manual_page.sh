#!/bin/sh
# Formats the manual page with every groff warning on; any warning fails.
# Usage: lint_manual_page.sh PAGE.1
set -u
command -v groff >/dev/null || { echo "groff is missing (Debian package groff-base)" >&2; exit 1; }
warnings=$(groff -t -man -Tutf8 -ww -z "$1" 2>&1)
if [ -n "$warnings" ]; then
  echo "$warnings"
  exit 1
fi
echo "$1: formats cleanly"
