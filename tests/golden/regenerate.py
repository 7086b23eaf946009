#!/usr/bin/env python3
"""Regenerates the golden headers from a build you trust.

Usage: tests/golden/regenerate.py QUILLBIT

Draws the layout pictures below, then converts every picture in this folder with
QUILLBIT, one run each, and writes its header as <name>.out. Pictures not drawn here
(greykey.png, iconalpha.ico, grey16.pgm) are committed files that earlier readers got
wrong. Read the diff before you commit it: a changed .out is a changed output format.
"""

import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
import pictures  # noqa: E402  (found through the path set just above)

K, L, D, W = pictures.BLACK, pictures.LIGHT, pictures.DARK, pictures.WHITE
RED = 0xFF0000  # none of the four levels: background
MONO = [K, W, RED]
GREY = [K, L, D, W, RED]


def pattern(width, height, colours):
    """Each pixel one of colours, chosen by its place, so that rows and values differ."""
    return [[colours[(3 * x + 5 * y + x * y) % len(colours)] for x in range(width)]
            for y in range(height)]


def ship(grey):
    rows = [[K] * 8 + [W] * 8, [W] * 16]
    if grey:
        rows[1][0:2] = [L, D]
    return rows


# One picture per element type with one and with two planes, and the lines that end early.
LAYOUTS = {
    "ball.bmp": [[K if x == y else W for x in range(8)] for y in range(8)],  # 8 values, 1 line
    "grey8x9.bmp": pattern(8, 9, GREY),  # the ninth value alone on the last line
    "shipmono.bmp": ship(False),
    "ship.png": ship(True),
    "grey16x9.bmp": pattern(16, 9, GREY),
    "mono32x8.bmp": pattern(32, 8, MONO),  # four values a line
    "grey32x5.bmp": pattern(32, 5, GREY),
    "mono24x2.bmp": pattern(24, 2, MONO),  # any other width: one row of bytes a line
    "grey40x3.bmp": pattern(40, 3, GREY),
    "my ship.bmp": [[K] + [W] * 14 + [K]],  # names that are no C identifier stay as they are
}


def is_picture(name):
    return not name.endswith((".out", ".md", ".py"))


def header_of(quillbit, name, folder):
    """The header quillbit writes for the picture name of this folder, run alone."""
    shutil.copy(os.path.join(HERE, name), folder)
    subprocess.run([quillbit, name], cwd=folder, check=True, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL)
    with open(os.path.join(folder, name[:-3] + "h"), "rb") as header:
        return header.read()


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    quillbit = os.path.abspath(sys.argv[1])
    for name, rows in LAYOUTS.items():
        pictures.write(os.path.join(HERE, name), rows)
    for name in sorted(filter(is_picture, os.listdir(HERE))):
        with tempfile.TemporaryDirectory(prefix="quillbit-golden-") as folder:
            header = header_of(quillbit, name, folder)
        with open(os.path.join(HERE, os.path.splitext(name)[0] + ".out"), "wb") as out:
            out.write(header)
        print("%s.out" % os.path.splitext(name)[0])


if __name__ == "__main__":
    main()
