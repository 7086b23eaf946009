"""Runs the built converter on hostile input in temporary folders.

QUILLBIT names the program under test. Every bad case must end the same way: exit
status 1, exactly one line on standard error that starts with "quillbit: " and names
the path, and every header written or present before left as it was.
"""

import os
import re
import subprocess
import sys
import tempfile
import threading

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
import pictures  # noqa: E402  (the path above makes it importable)
from suite import PROGRAM, FolderTest, read_bytes, write_bytes  # noqa: E402,F401
ODD_PICTURES = os.path.join(HERE, "pictures")


# In the sanitizer build an allocation over its 1 GB ceiling returns null, as under the
# decoding cap of a normal build, but ASan says so on standard error first.
ASAN_REFUSAL = re.compile(
    r"^==\d+==WARNING: AddressSanitizer failed to allocate 0x[0-9a-f]+ bytes$")


class Outcome:
    """How one run ended: status, both streams as text, CPU seconds and peak memory."""

    def __init__(self, status, stdout, stderr, usage):
        self.status = status
        self.stdout = stdout
        self.stderr = stderr
        self.cpu_seconds = usage.ru_utime + usage.ru_stime
        self.peak_megabytes = usage.ru_maxrss / 1024


def run(arguments, cwd, program=None, preexec_fn=None, timeout=60, env=None):
    """Runs the program, measuring this one child's resources with wait4."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        child = subprocess.Popen([program or PROGRAM] + list(arguments), cwd=cwd, stdout=out,
                                 stderr=err, stdin=subprocess.DEVNULL, preexec_fn=preexec_fn,
                                 env=env)
        timer = threading.Timer(timeout, child.kill)
        timer.start()
        try:
            _, status, usage = os.wait4(child.pid, 0)
        finally:
            timer.cancel()
        child.returncode = os.waitstatus_to_exitcode(status)
        out.seek(0)
        err.seek(0)
        return Outcome(child.returncode, out.read().decode("utf-8", "replace"),
                       err.read().decode("utf-8", "replace"), usage)


class HostileTest(FolderTest):
    """A test in a fresh temporary folder that holds one good picture."""

    FOLDER_PREFIX = "quillbit-hostile-"

    def setUp(self):
        super().setUp()
        self.good = self.path("good.png")
        pictures.write(self.good, pictures.filled(8, 2, pictures.BLACK))

    def assert_reported(self, outcome, path):
        """Exit status 1 and one report line naming path."""
        lines = [line for line in outcome.stderr.splitlines() if not ASAN_REFUSAL.match(line)]
        self.assertEqual(outcome.status, 1, outcome.stderr)
        self.assertEqual(len(lines), 1, outcome.stderr)
        self.assertTrue(lines[0].startswith("quillbit: "), lines[0])
        self.assertIn('"' + path + '"', lines[0])

    def assert_converted_or_reported(self, outcome, path, header):
        """A clean end either way: a header and status 0, or the one-line report."""
        if outcome.status == 0:
            self.assertEqual(outcome.stderr, "")
            self.assertTrue(read_bytes(header).startswith(b"//Image data created by"))
        else:
            self.assert_reported(outcome, path)

    def assert_no_temporary_files(self, folder=None):
        left = [name for name in os.listdir(folder or self.folder)
                if name.startswith(".quillbit-")]
        self.assertEqual(left, [])
