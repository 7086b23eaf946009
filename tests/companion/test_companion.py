#!/usr/bin/env python3
"""Round trip of the companion header: pictures -> quillbit -> headers -> C program.

Converts pictures of every sprite layout (8, 16 and 32 pixels wide, and byte rows of
24 and 40), black and white and with grey, then builds companion_check.c with the
generated headers and Blitview.h as C89, C99 and C++, runs it, and compares the
levels it reads and the screens it draws with a pixel model computed here.

Usage: test_companion.py --quillbit PATH --source-dir PATH
Exit status 77 (skipped) when there is no C compiler at all.
"""

import argparse
import os
import random
import shlex
import shutil
import subprocess
import sys
import tempfile
import unittest

SKIPPED = 77
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
import pictures  # noqa: E402

RED = 0xFF0000  # not one of the four colours: background
LEVEL_OF_COLOUR = {pictures.BLACK: 3, pictures.LIGHT: 1, pictures.DARK: 2}
MONO_COLOURS = [pictures.WHITE, pictures.BLACK, RED]
GREY_COLOURS = [pictures.WHITE, pictures.BLACK, pictures.LIGHT, pictures.DARK, RED]

# base name, width, height, grey, picture format
SPRITES = [
    ("w8m", 8, 11, False, "png"),
    ("w8g", 8, 9, True, "bmp"),
    ("w16m", 16, 9, False, "bmp"),
    ("w16g", 16, 10, True, "png"),
    ("w32m", 32, 5, False, "png"),
    ("w32g", 32, 6, True, "png"),
    ("w24m", 24, 3, False, "png"),
    ("w24g", 24, 4, True, "bmp"),
    ("w40m", 40, 2, False, "png"),
    ("w40g", 40, 3, True, "png"),
]

MODES = ["OR", "ANDNOT", "XOR", "PUT"]  # the order of check_modes[] in companion_check.c
SCREEN_BYTES, SCREEN_ROWS = 7, 12
WARNINGS = ["-pedantic", "-Wall", "-Wextra", "-Wconversion", "-Wshadow", "-Werror"]


def sprite_picture(name, width, height, grey):
    """Random pixels, with the top-left pixel black so the top bit of a row is used."""
    generator = random.Random(name)
    colours = GREY_COLOURS if grey else MONO_COLOURS
    rows = [[generator.choice(colours) for _ in range(width)] for _ in range(height)]
    rows[0][0] = pictures.BLACK
    if grey:
        rows[-1][-1], rows[-1][0] = pictures.LIGHT, pictures.DARK
    return rows


def levels_of(rows):
    return [[LEVEL_OF_COLOUR.get(pixel, 0) for pixel in row] for row in rows]


def draw_cases(width, height):
    """(what the case shows, screen planes, draws of (x, y, mode)); x odd unless said."""
    right = SCREEN_BYTES * 8
    return [
        ("OR at an odd x", 2, [(3, 2, "OR")]),
        ("XOR across the left edge", 2, [(-5, 1, "XOR")]),
        ("PUT across the right and top edges", 2, [(right - width // 2 - 1, -2, "PUT")]),
        ("AND-NOT across the bottom edge", 2, [(11, SCREEN_ROWS - 2, "ANDNOT")]),
        ("PUT at a byte boundary", 2, [(8, 0, "PUT")]),
        ("nothing when just outside each edge", 2,
         [(-width, 0, "OR"), (right, 0, "OR"), (0, SCREEN_ROWS, "OR"), (0, -height, "XOR")]),
        ("PUT then AND-NOT leaves the shape cleared", 2, [(7, 3, "PUT"), (7, 3, "ANDNOT")]),
        ("XOR twice restores the screen", 2, [(-1, 4, "XOR"), (-1, 4, "XOR")]),
        ("one-plane screen shows plane 1", 1, [(5, 5, "PUT"), (-3, -1, "OR")]),
    ]


def screen_pattern(size, salt):
    """The same pattern as check_fill() in companion_check.c."""
    return [(i * 37 + salt) & 0xFF for i in range(size)]


def apply_mode(mode, old, bit, shape):
    if mode == "OR":
        return old | bit
    if mode == "ANDNOT":
        return old & (1 - shape)
    if mode == "XOR":
        return old ^ bit
    return (old & (1 - shape)) | bit


def expected_screen(levels, planes, draws):
    """Draws pixel by pixel on bit lists, then packs the planes into hex lines."""
    size = SCREEN_BYTES * SCREEN_ROWS
    bits = []
    for salt in (11, 112)[:planes]:
        pattern = screen_pattern(size, salt)
        bits.append([(pattern[i // 8] >> (7 - i % 8)) & 1 for i in range(size * 8)])
    for x, y, mode in draws:
        for sy, row in enumerate(levels):
            for sx, level in enumerate(row):
                px, py = x + sx, y + sy
                if not (0 <= px < SCREEN_BYTES * 8 and 0 <= py < SCREEN_ROWS):
                    continue
                at = py * SCREEN_BYTES * 8 + px
                for plane in range(planes):
                    bit = (level >> plane) & 1
                    bits[plane][at] = apply_mode(mode, bits[plane][at], bit, int(level != 0))
    return [pack_hex(plane) for plane in bits]


def pack_hex(bits):
    values = [int("".join(map(str, bits[i:i + 8])), 2) for i in range(0, len(bits), 8)]
    return "".join("%02X" % value for value in values)


def compiler(variable, default):
    command = os.environ.get(variable) or shutil.which(default)
    return shlex.split(command) if command else None


def run(command, **kwargs):
    return subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          universal_newlines=True, **kwargs)


def c_variants(cc, cxx, sprites_dir):
    """Compile commands by variant name; None where the compiler is missing."""
    # The generated headers begin with // comments, which ISO C90 does not have, so
    # the C89 build takes them as system headers: Blitview.h and the program are
    # held to C89, and the C99 and C++ builds hold the headers to every warning.
    return {
        "c89": cc + ["-std=c89"] + WARNINGS + ["-isystem", sprites_dir],
        "c99": cc + ["-std=c99"] + WARNINGS + ["-I", sprites_dir, "-fsanitize=address,undefined",
                                               "-fno-sanitize-recover=all"],
        "c++17": cxx + ["-std=c++17"] + WARNINGS + ["-I", sprites_dir, "-x", "c++"]
        if cxx else None,
    }


def sprites_include():
    """sprites.inc: the generated headers and one descriptor per sprite, in SPRITES order."""
    lines = ['#include "%s.h"' % name for name, _, _, _, _ in SPRITES]
    lines.append("static const blitview_sprite check_sprites[] = {")
    descriptors = ["  BLITVIEW_%s(%s, %s)" % ("GREY" if grey else "MONO", name.upper(), name)
                   for name, _, _, grey, _ in SPRITES]
    lines.append(",\n".join(descriptors))
    lines.append("};")
    return "\n".join(lines) + "\n"


def commands_and_expectations(levels):
    """The program's input, and (label, expected lines) in the order it answers."""
    commands, expected = [], []
    for index, (name, width, height, _, _) in enumerate(SPRITES):
        commands.append("L %d" % index)
        lines = ["".join(map(str, row)) for row in levels[name]] + ["outside 000"]
        expected.append(("%s levels" % name, lines))
        for what, planes, draws in draw_cases(width, height):
            steps = " ".join("%d %d %d" % (x, y, MODES.index(m)) for x, y, m in draws)
            commands.append("D %d %d %d %d %d %s" % (index, planes, SCREEN_BYTES, SCREEN_ROWS,
                                                     len(draws), steps))
            expected.append(("%s: %s" % (name, what),
                             expected_screen(levels[name], planes, draws)))
    return "\n".join(commands) + "\n", expected


WRONG_ARRAY_SNIPPET = """#include "w8m.h"
#include "w16m.h"
#include "w24m.h"
#include "w32m.h"
#include "Blitview.h"
static const blitview_sprite sprite = BLITVIEW_SPRITE(%s, 1, %s, %s);
int main(void) { return sprite.width == 0; }
"""

# width macro, array, whether BLITVIEW_SPRITE must accept the array's element type
ARRAY_FIT_CASES = [
    ("W8M_WIDTH", "w8m", True),
    ("W16M_WIDTH", "w16m", True),
    ("W32M_WIDTH", "w32m", True),
    ("W24M_WIDTH", "w8m", True),
    ("W16M_WIDTH", "w8m", False),
    ("W32M_WIDTH", "w16m", False),
    ("W8M_WIDTH", "w32m", False),
    ("W24M_WIDTH", "w16m", False),
]


class CompanionRoundTrip(unittest.TestCase):
    quillbit = source_dir = cc = cxx = None  # set by main()

    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="quillbit-companion-")
        cls.sprites_dir = os.path.join(cls.work, "sprites")
        cls.program_dir = os.path.join(cls.work, "program")
        os.mkdir(cls.sprites_dir)
        os.mkdir(cls.program_dir)
        cls.levels = cls.write_pictures()
        cls.convert()
        shutil.move(os.path.join(cls.sprites_dir, "Blitview.h"), cls.program_dir)
        shutil.copy(os.path.join(HERE, "companion_check.c"), cls.program_dir)
        with open(os.path.join(cls.program_dir, "sprites.inc"), "w") as out:
            out.write(sprites_include())
        cls.outputs = {}

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)

    @classmethod
    def write_pictures(cls):
        levels = {}
        for name, width, height, grey, extension in SPRITES:
            rows = sprite_picture(name, width, height, grey)
            pictures.write(os.path.join(cls.sprites_dir, name + "." + extension), rows)
            levels[name] = levels_of(rows)
        return levels

    @classmethod
    def convert(cls):
        names = [name + "." + extension for name, _, _, _, extension in SPRITES]
        paths = [os.path.join(cls.sprites_dir, name) for name in names]
        result = run([cls.quillbit] + paths, stdin=subprocess.DEVNULL, timeout=120)
        if result.returncode != 0:
            raise AssertionError("quillbit failed (%d): %s" % (result.returncode, result.stderr))

    def program_output(self, variant):
        """Builds and runs companion_check.c as variant once; its output lines."""
        if variant not in self.outputs:
            command = c_variants(self.cc, self.cxx, self.sprites_dir)[variant]
            self.assertIsNotNone(command, "no C++ compiler (c++) for the %s build" % variant)
            program = os.path.join(self.program_dir, "check-" + variant)
            built = run(command + ["companion_check.c", "-o", program], cwd=self.program_dir,
                        timeout=300)
            self.assertEqual(built.returncode, 0, "%s build failed:\n%s" % (variant, built.stderr))
            ran = run([program], input=commands_and_expectations(self.levels)[0], timeout=120)
            self.assertEqual(ran.returncode, 0, "%s program failed:\n%s" % (variant, ran.stderr))
            self.outputs[variant] = ran.stdout.splitlines()
        return self.outputs[variant]

    def check_answers(self, variant, wanted):
        lines = list(self.program_output(variant))
        for label, expected in commands_and_expectations(self.levels)[1]:
            answer, lines = lines[:len(expected)], lines[len(expected):]
            if wanted(label):
                with self.subTest(variant=variant, case=label):
                    self.assertEqual(answer, expected)
        self.assertEqual(lines, [], "%s printed more than was asked" % variant)

    def test_installed_companion_is_the_one_in_the_repository(self):
        with open(os.path.join(self.program_dir, "Blitview.h"), "rb") as installed, \
                open(os.path.join(self.source_dir, "companion", "Blitview.h"), "rb") as source:
            self.assertEqual(installed.read(), source.read())

    def test_levels_read_back_equal_the_picture_pixels(self):
        for variant in ("c89", "c99", "c++17"):
            self.check_answers(variant, lambda label: label.endswith(" levels"))

    def test_drawing_gives_the_bytes_of_the_pixel_model(self):
        for variant in ("c89", "c99", "c++17"):
            self.check_answers(variant, lambda label: not label.endswith(" levels"))

    def test_descriptor_rejects_an_array_whose_type_does_not_fit_the_width(self):
        source = os.path.join(self.program_dir, "fit.c")
        for width, array, fits in ARRAY_FIT_CASES:
            with self.subTest(width=width, array=array):
                with open(source, "w") as out:
                    out.write(WRONG_ARRAY_SNIPPET % (width, array, array))
                built = run(self.cc + ["-std=c99"] + WARNINGS + ["-I", self.sprites_dir,
                                                                 "-fsyntax-only", source])
                self.assertEqual(built.returncode == 0, fits, built.stderr)
                if not fits:
                    self.assertIn("negative", built.stderr)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--quillbit", required=True, help="the built quillbit program")
    parser.add_argument("--source-dir", required=True, help="the repository's top folder")
    args, rest = parser.parse_known_args()
    cc = compiler("CC", "cc")
    if cc is None:
        print("no C compiler (cc or $CC): companion round trip skipped")
        return SKIPPED
    CompanionRoundTrip.quillbit = os.path.abspath(args.quillbit)
    CompanionRoundTrip.source_dir = os.path.abspath(args.source_dir)
    CompanionRoundTrip.cc, CompanionRoundTrip.cxx = cc, compiler("CXX", "c++")
    program = unittest.main(argv=[sys.argv[0]] + rest, exit=False, verbosity=2)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
