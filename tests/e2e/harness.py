"""Runs the built converter on real files in temporary folders (see suite.py for the
program under test)."""

import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "support"))
import pictures  # noqa: E402  (the path above makes it importable)
import variants  # noqa: E402
from suite import (EMULATOR, PROGRAM, FolderTest, copy_program, read_bytes,  # noqa: E402,F401
                   run_program, write_bytes)

# The picture families quillbit reads, the same in every build.
FORMATS = list(variants.FAMILIES) + ["jpeg"]

PICTURES = os.path.join(os.path.dirname(__file__), "..", "pictures")
GOLDEN = os.path.join(os.path.dirname(__file__), "..", "golden")
LEVELS = {pictures.BLACK: (1, 1), pictures.LIGHT: (1, 0), pictures.DARK: (0, 1)}


def run(arguments, cwd=None, program=None, env=None, timeout=60):
    """Runs the program; returns (status, stdout, stderr) as text."""
    command = EMULATOR + [program or PROGRAM] + list(arguments)
    done = run_program(command, cwd=cwd, env=env, timeout=timeout, stdin=subprocess.DEVNULL)
    return (done.returncode, done.stdout.decode("utf-8", "replace").replace("\r\n", "\n"),
            done.stderr.decode("utf-8", "replace").replace("\r\n", "\n"))


def arrays(header_text):
    """The arrays of a header as {name: [values]}."""
    found = {}
    declarations = r"unsigned [a-z ]+? ?([^ \[]+)\[\] = \{(.*?)\};"
    for name, body in re.findall(declarations, header_text, re.S):
        found[name] = [int(value, 16) for value in re.findall(r"0x([0-9A-F]+)", body)]
    return found


def levels_of(rows):
    """Expected (plane 1, plane 2) bit lists of a picture."""
    flat = [LEVELS.get(pixel & 0xFFFFFF if (pixel >> 24) in (0, 255) else -1, (0, 0))
            for row in rows for pixel in row]
    return [bit for bit, _ in flat], [bit for _, bit in flat]


def bits_of(values, digits):
    return [(value >> (4 * digits - 1 - i)) & 1 for value in values for i in range(4 * digits)]


class ConverterTest(FolderTest):
    """A test with a fresh temporary folder and pictures written into it."""

    def picture(self, name, rows, alpha=False):
        path = self.path(name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        pictures.write(path, rows, alpha)
        return path

    def assert_round_trip(self, header_path, rows, digits):
        """The header's planes give back the picture's levels."""
        text = read_bytes(header_path).decode("latin-1")
        planes = list(arrays(text).values())
        plane1, plane2 = levels_of(rows)
        self.assertEqual(bits_of(planes[0], digits), plane1)
        if len(planes) == 2:
            self.assertEqual(bits_of(planes[1], digits), plane2)
        else:
            self.assertEqual(plane1, plane2, "a picture with grey needs two planes")
