#!/bin/sh
# Fails on any error, warning or info of appstreamcli on a metainfo file; pedantic hints are
# shown only. The build machines have no network, so web addresses are checked for form,
# as Debian's package builds check them.
# Usage: validate_metainfo.sh FILE.metainfo.xml
set -u
command -v appstreamcli >/dev/null ||
  { echo "appstreamcli is missing (Debian package appstream)" >&2; exit 1; }
appstreamcli validate --no-net --strict --pedantic "$1"
