"""Writes the pictures the page's suites convert: every variant of tests/support/variants.py
into FOLDER/variants (named <family>-<variant>, so one batch holds them all), the golden and
the odd pictures into FOLDER/golden and FOLDER/odd, and batches that stop in
FOLDER/stops/<case>. Prints the names of each folder (and of each case) as JSON.

Usage: write_cases.py FOLDER"""

import json
import os
import shutil
import sys

sys.dont_write_bytecode = True  # keep the source tree free of caches
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
sys.path.insert(0, os.path.join(HERE, "..", "hostile"))
import crafted  # noqa: E402  (found through the paths set above)
import pictures  # noqa: E402
import variants  # noqa: E402

GOLDEN = os.path.join(HERE, "..", "golden")
ODD = os.path.join(HERE, "..", "hostile", "pictures")


def write_variants(folder):
    os.makedirs(folder)
    names = []
    for family, name, data, _ in variants.all_variants():
        names.append("%s-%s" % (family, name))
        with open(os.path.join(folder, names[-1]), "wb") as out:
            out.write(data)
    return names


def copy_pictures(source, folder):
    os.makedirs(folder)
    names = [name for name in sorted(os.listdir(source))
             if os.path.splitext(name)[1] not in (".out", ".py", ".md")]
    for name in names:
        shutil.copyfile(os.path.join(source, name), os.path.join(folder, name))
    return names


def stop_cases():
    """Batches of a good picture, one where quillbit stops, and a good one it never reaches."""
    good = pictures.png_bytes(pictures.filled(16, 2, pictures.BLACK))
    middles = {
        "width-rule": ("b.png", pictures.png_bytes(pictures.filled(12, 2, pictures.DARK))),
        "broken-png": ("b.png", good[:45]),
        "not-a-picture": ("b.txt", b"no picture here\n"),
        "too-large": ("b.png", crafted.CLAIMING["png"](4096, 4096)),
        "refused-format": ("b.qoi", b"qoif" + bytes(20)),
    }
    cases = {name: [("a.png", good), middle, ("c.png", good)] for name, middle in middles.items()}
    cases["quote-in-name"] = [('a"b.png', good), ("c.png", good)]
    return cases


def write_stop_cases(folder):
    names = {}
    for case, files in stop_cases().items():
        os.makedirs(os.path.join(folder, case))
        for name, data in files:
            with open(os.path.join(folder, case, name), "wb") as out:
                out.write(data)
        names[case] = [name for name, _ in files]
    return names


def main():
    folder = sys.argv[1]
    print(json.dumps({"variants": write_variants(os.path.join(folder, "variants")),
                      "golden": copy_pictures(GOLDEN, os.path.join(folder, "golden")),
                      "odd": copy_pictures(ODD, os.path.join(folder, "odd")),
                      "stops": write_stop_cases(os.path.join(folder, "stops"))}))


if __name__ == "__main__":
    main()
