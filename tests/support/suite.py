"""What the Python suites share: the program under test, files, and a temporary folder
per test.

QUILLBIT names the program under test; QUILLBIT_EMULATOR, when set, is a command put
before it (a Windows build runs through wine that way).
"""

import os
import shlex
import shutil
import tempfile
import unittest

PROGRAM = os.environ.get("QUILLBIT", "")
EMULATOR = shlex.split(os.environ.get("QUILLBIT_EMULATOR", ""))


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def write_bytes(path, data):
    with open(path, "wb") as f:
        f.write(data)


class FolderTest(unittest.TestCase):
    """A test in a fresh temporary folder, removed afterwards; skipped without a program."""

    FOLDER_PREFIX = "quillbit-test-"

    def setUp(self):
        if not PROGRAM:
            self.skipTest("QUILLBIT is not set")
        self.folder = tempfile.mkdtemp(prefix=self.FOLDER_PREFIX)
        self.addCleanup(shutil.rmtree, self.folder, True)

    def path(self, *parts):
        return os.path.join(self.folder, *parts)
