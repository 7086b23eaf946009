#!/bin/sh
# One process (or pipeline) per picture, the way a build system runs a converter per sprite.
# Usage: per_picture.sh TOOL FOLDER NAME...   (each NAME is a picture inside FOLDER)
# TOOL: quillbit (path in $QUILLBIT), convert, netpbm, cp (the per-process floor).
set -eu

tool=$1
folder=$2
shift 2
cd "$folder"

# netpbm has one decoder per format; pick it the way a Makefile rule would, by extension.
decoder() {
  case "$1" in
    *.png) echo pngtopnm ;;
    *.bmp) echo bmptopnm ;;
    *.gif) echo giftopnm ;;
    *) echo "per_picture.sh: no netpbm decoder for $1" >&2; exit 2 ;;
  esac
}

for picture in "$@"; do
  stem=${picture%.*}
  case "$tool" in
    quillbit) "$QUILLBIT" "$picture" >/dev/null ;;
    convert) /usr/bin/convert "$picture" +dither "$stem.xbm" ;;
    netpbm)
      "$(decoder "$picture")" "$picture" 2>/dev/null | ppmtopgm | pgmtopbm -threshold |
        pbmtoxbm >"$stem.xbm"
      ;;
    cp) cp "$picture" "$stem.copy" ;;
    *) echo "per_picture.sh: unknown tool $tool" >&2; exit 2 ;;
  esac
done
