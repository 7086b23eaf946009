"""Pictures built to cost time or memory out of all proportion to their size, and small
files that once crashed a picture reader. Each ends with status 0 and a header, or with
the one-line report; a normal build also stays under 100 MB (the CPU each costs is a figure
of `make bench`: bench/hostile_budget.py).

The bombs (about 190 MB, a tenth of make bench's where a bomb only repeats a structure) are
written by make_bombs.py into a temporary folder per run."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

from hostile import HERE, HostileTest, run

CRASHERS = os.path.join(HERE, "crashers")
# Sanitizer builds take several times the memory, so only the outcome counts.
MEASURED = os.environ.get("QUILLBIT_SANITIZED", "") == ""
PEAK_MEGABYTES = 100


class Bombs(HostileTest):

    @classmethod
    def setUpClass(cls):
        cls.bombs = tempfile.mkdtemp(prefix="quillbit-bombs-")
        subprocess.run([sys.executable, os.path.join(HERE, "make_bombs.py"), cls.bombs],
                       check=True, stdout=subprocess.DEVNULL)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.bombs, True)

    def assert_clean_and_small(self, path):
        outcome = run([path], cwd=os.path.dirname(path))
        if outcome.status == 0:
            self.assertEqual(outcome.stderr, "")
        else:
            self.assert_reported(outcome, path)
        if MEASURED:
            self.assertLess(outcome.peak_megabytes, PEAK_MEGABYTES)

    def test_every_bomb_ends_cleanly_and_small(self):
        names = sorted(name for name in os.listdir(self.bombs) if not name.endswith(".h"))
        self.assertGreater(len(names), 100)
        for name in names:
            with self.subTest(name=name):
                self.assert_clean_and_small(os.path.join(self.bombs, name))

    def test_former_crashers_are_refused_by_name(self):
        for name in sorted(os.listdir(CRASHERS)):
            with self.subTest(name=name):
                copy = self.path(name)
                shutil.copy(os.path.join(CRASHERS, name), copy)
                outcome = run([copy], cwd=self.folder)
                self.assert_reported(outcome, copy)
                self.assertIn("is not a picture format quillbit reads", outcome.stderr)


if __name__ == "__main__":
    unittest.main()
