#!/bin/sh
# `make bench`: cycles of one BLITVIEW_PUT of a 16x16 sprite with grey at x = 3, against a
# plain loop copying the 96 bytes it writes: avr-gcc under simavr (ATmega328P, Timer 1)
# and cc65 under sim65 (the difference of whole runs).
# Usage: bench/companion/companion.sh [FOLDER_OF_BLITVIEW_H]     (default: companion/)
# An older header for comparison: git show REV:companion/Blitview.h > DIR/Blitview.h
set -eu
here=$(cd "$(dirname "$0")" && pwd)
companion=$(cd "${1:-$here/../../companion}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$here/blit_bench.c" "$work/"  # cl65 writes its object file beside the source

avr-gcc -mmcu=atmega328p -Os -std=c99 -I"$companion" "$work/blit_bench.c" -o "$work/avr.elf"
numbers=$(simavr -m atmega328p -f 16000000 "$work/avr.elf" 2>&1 | sed 's/\x1b\[[0-9;]*m//g' |
  sed -n 's/.*draw \([0-9]*\) copy \([0-9]*\).*/\1 \2/p')
report() {
  tenths=$((($2 * 10 + $3 / 2) / $3))
  echo "$1: draw $2 cycles, copy $3 cycles: the draw takes $((tenths / 10)).$((tenths % 10)) copies"
}
report "atmega328p (avr-gcc -Os, simavr)" "${numbers% *}" "${numbers#* }"

cycles() {
  cl65 -t sim6502 -O -I"$companion" -DBENCH_RUN="$1" "$work/blit_bench.c" -o "$work/6502.prg"
  sim65 -c "$work/6502.prg" | sed -n 's/^\([0-9]*\) cycles$/\1/p'
}
base=$(cycles 0)
report "6502 (cc65 -O, sim65)" $(($(cycles 1) - base)) $(($(cycles 2) - base))
