#!/bin/sh
# Renders packaging/quillbit.svg into the Windows programs' icon, src/host/windows/quillbit.ico,
# at the sizes Explorer asks for (16 to 256 pixels). The icon is committed; run this after
# changing the drawing.
set -eu
cd "$(dirname "$0")/../.."
scripts/install-deps.sh librsvg2-bin icoutils
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in 16 24 32 48 64 256; do
  rsvg-convert -w "$size" -h "$size" packaging/quillbit.svg -o "$work/$size.png"
done
# The 256-pixel image stays PNG inside the icon, as Windows expects; the small ones are bitmaps.
icotool -c -o src/host/windows/quillbit.ico "$work/16.png" "$work/24.png" "$work/32.png" \
  "$work/48.png" "$work/64.png" -r "$work/256.png"
