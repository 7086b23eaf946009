#!/usr/bin/env python3
"""Writes a seed folder per picture family for the picture intake fuzzer.

Usage: fuzz/family_seeds.py OUT
Each family's seeds are the test suite's variants of that family, its committed test
pictures, and the committed corpus files of that family, each led by the byte that
picks the file's extension (the table of picture_intake_fuzzer.cpp). A decoder of
quillbit's own is also fuzzed on its own seeds: bmp-rle, the RLE4/RLE8 expander.
"""

import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "support"))
import variants  # noqa: E402

EXTENSIONS = ["png", "gif", "bmp", "jpg", "ico", "tga", "pcx", "ase",
              "pgm", "ppm", "tif", "webp", "cur", "lbm", "xpm", "txt"]
# The families quillbit reads: the test suite's variant families, and JPEG.
FAMILIES = sorted(list(variants.FAMILIES) + ["jpeg"])
# Decoders of quillbit's own, each with the variants it decodes.
OWN_DECODERS = {"bmp-rle": lambda name: name.startswith("rle") and name.endswith(".bmp")}


def family_of(name):
    """The family a file of that name belongs to, or None for one quillbit does not read."""
    family = variants.family_of(name)
    return family if family in FAMILIES else None


def lead_byte(name):
    extension = name.rsplit(".", 1)[-1].lower()
    if extension not in EXTENSIONS:  # another extension of its family stands for it
        extension = next(e for e in EXTENSIONS if family_of("x." + e) == family_of(name))
    return bytes([EXTENSIONS.index(extension)])


def seeds():
    """(family, seed name, seed bytes) of every seed."""
    for family, name, data, _ in variants.all_variants():
        yield family, name, lead_byte(name) + data
        for decoder, decodes in OWN_DECODERS.items():
            if decodes(name):
                yield decoder, name, lead_byte(name) + data
    for folder in ("tests/pictures", "tests/hostile/pictures", "tests/golden"):
        for path in sorted((ROOT / folder).iterdir()):
            family = family_of(path.name)
            if family:
                yield family, path.name, lead_byte(path.name) + path.read_bytes()
    for path in sorted((ROOT / "fuzz/corpus/picture_intake").iterdir()):
        data = path.read_bytes()
        family = family_of("." + EXTENSIONS[data[0] % len(EXTENSIONS)]) if data else None
        if family:
            yield family, path.name, data


def main():
    out = pathlib.Path(sys.argv[1])
    folders = FAMILIES + list(OWN_DECODERS)
    for family in folders:
        (out / family).mkdir(parents=True, exist_ok=True)
    for family, name, data in seeds():
        (out / family / name).write_bytes(data)
    for family in folders:
        print(family, len(list((out / family).iterdir())))


if __name__ == "__main__":
    main()
