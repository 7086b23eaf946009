"""What the Python suites share: the program under test, files, and a temporary folder
per test.

QUILLBIT names the program under test; QUILLBIT_EMULATOR, when set, is a command put
before it (a Windows build runs through wine that way). QUILLBIT_NODE_PACKAGE is set when
the program is the npm package's command, which runs under Node from its package folder.
"""

import os
import shlex
import shutil
import subprocess
import tempfile
import unittest

PROGRAM = os.environ.get("QUILLBIT", "")
EMULATOR = shlex.split(os.environ.get("QUILLBIT_EMULATOR", ""))
NODE_PACKAGE = os.environ.get("QUILLBIT_NODE_PACKAGE", "")
# What Wine's client prints when its server went away under it, before the program ran.
WINE_LOST_ITS_SERVER = b"wine client error:"


def run_program(command, **options):
    """subprocess.run, with output captured as bytes; a run that Wine's client could not start
    because its server went away (a fault of Wine on a loaded machine, seen once in some
    thousand runs) is tried once more, so the program's own failures are all that fail."""
    done = subprocess.run(command, capture_output=True, **options)
    if EMULATOR and done.stderr.startswith(WINE_LOST_ITS_SERVER):
        done = subprocess.run(command, capture_output=True, **options)
    return done


def copy_program(folder):
    """A copy of the program under test in folder, without Blitview.h: the file alone, or
    for the npm package's command the file with the modules it loads."""
    program = shutil.copy(PROGRAM, folder)
    if NODE_PACKAGE:
        shutil.copytree(os.path.join(NODE_PACKAGE, "lib"), os.path.join(folder, "lib"))
    return program


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def write_bytes(path, data):
    with open(path, "wb") as f:
        f.write(data)


def first_difference(first, second):
    """Where two sequences part, said in a line: unittest's own diff of two long ones takes
    minutes (difflib is quadratic), so a wrong header would look like a hang."""
    if len(first) != len(second) or first != second:
        index = next((i for i, (a, b) in enumerate(zip(first, second)) if a != b),
                     min(len(first), len(second)))
        return "differ at item %d of %d / %d: %r ... against %r ..." % (
            index, len(first), len(second), first[index:index + 8], second[index:index + 8])
    return None


class FolderTest(unittest.TestCase):
    """A test in a fresh temporary folder, removed afterwards; skipped without a program."""

    FOLDER_PREFIX = "quillbit-test-"

    def assert_same_sequence(self, first, second, msg=None):
        difference = first_difference(first, second)
        if difference:
            lines = first.splitlines() if isinstance(first, str) else None
            if lines is not None:
                difference = first_difference(lines, second.splitlines()) or difference
            raise self.failureException(self._formatMessage(msg, difference))

    def setUp(self):
        for kind in (list, tuple, str):
            self.addTypeEqualityFunc(kind, self.assert_same_sequence)
        if not PROGRAM:
            self.skipTest("QUILLBIT is not set")
        self.folder = tempfile.mkdtemp(prefix=self.FOLDER_PREFIX)
        self.addCleanup(shutil.rmtree, self.folder, True)

    def path(self, *parts):
        return os.path.join(self.folder, *parts)
