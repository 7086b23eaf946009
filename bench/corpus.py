"""Writes the benchmark corpus: seeded, so every machine times the same pictures.

Sprites come in the four sprite types (8, 16 and 32 pixels wide, and other widths that
are multiples of 8), mono or grey, as PNG, BMP and GIF. Most are the small sizes games
use; a tail reaches the 32767-pixel limit so the large cases are timed too.
GIF goes through ImageMagick, because the standard library cannot write it.

Usage: corpus.py FOLDER [--count N] [--seed S]
"""

import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "support"))
import pictures  # noqa: E402

PIXEL_LIMIT = 32767
FORMATS = ("png", "bmp", "gif")
OTHER_WIDTHS = (24, 40, 48, 64, 96, 128, 256)
# Share of sprites sized to reach the pixel limit.
LARGE_SHARE = 0.05
DEFAULT_SEED = 20261207


def sprite_width(rng):
    kind = rng.randrange(4)
    return (8, 16, 32)[kind] if kind < 3 else rng.choice(OTHER_WIDTHS)


def sprite_height(rng, width):
    tallest = PIXEL_LIMIT // width
    if rng.random() < LARGE_SHARE:
        return tallest
    return rng.randint(1, min(64, tallest))


def sprite_rows(rng, width, height, grey):
    """Random runs of ink on a white background: shaped like drawn sprites, not noise."""
    inks = (pictures.BLACK, pictures.LIGHT, pictures.DARK) if grey else (pictures.BLACK,)
    rows = []
    for _ in range(height):
        row = []
        while len(row) < width:
            run = rng.randint(1, 6)
            colour = pictures.WHITE if rng.random() < 0.5 else rng.choice(inks)
            row.extend([colour] * run)
        rows.append(row[:width])
    if grey:  # a grey sprite must hold a grey pixel, whatever the dice said
        rows[0][0] = pictures.LIGHT
    return rows


def plan(count, seed):
    """The corpus as (file name, rows) pairs, the same for the same count and seed."""
    rng = random.Random(seed)
    entries = []
    for index in range(count):
        width = sprite_width(rng)
        height = sprite_height(rng, width)
        grey = rng.random() < 0.5
        extension = FORMATS[index % len(FORMATS)]
        name = "s%04d_%dx%d_%s.%s" % (index, width, height, "grey" if grey else "mono", extension)
        entries.append((name, sprite_rows(rng, width, height, grey)))
    return entries


def write_gifs(folder, gif_entries, convert):
    """Writes PNG stand-ins to a scratch folder and lets ImageMagick turn each into the GIF."""
    with tempfile.TemporaryDirectory() as scratch:
        for name, rows in gif_entries:
            pictures.write(os.path.join(scratch, name[:-4] + ".png"), rows)
        pngs = sorted(n for n in os.listdir(scratch))
        if pngs:
            mogrify = convert.replace("convert", "mogrify")
            subprocess.run([mogrify, "+dither", "-format", "gif"] + pngs, cwd=scratch, check=True)
        for name, _ in gif_entries:
            shutil.move(os.path.join(scratch, name), os.path.join(folder, name))


def write_corpus(folder, count, seed, convert="/usr/bin/convert"):
    os.makedirs(folder, exist_ok=True)
    entries = plan(count, seed)
    gifs = [(name, rows) for name, rows in entries if name.endswith(".gif")]
    for name, rows in entries:
        if not name.endswith(".gif"):
            pictures.write(os.path.join(folder, name), rows)
    write_gifs(folder, gifs, convert)
    return [name for name, _ in entries]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder")
    parser.add_argument("--count", type=int, default=1000)
    parser.add_argument("--seed", type=int, default=DEFAULT_SEED)
    args = parser.parse_args()
    names = write_corpus(args.folder, args.count, args.seed)
    print("%d pictures in %s" % (len(names), args.folder))


if __name__ == "__main__":
    main()
