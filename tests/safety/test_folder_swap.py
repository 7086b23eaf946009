"""Someone who owns the picture's folder swaps it with a link to another folder, as
fast as the machine allows (renameat2 with RENAME_EXCHANGE), while the program runs on
a picture inside it: no file may ever land in the other folder. The picture basABC
gives the header name bash, the name of the file the other folder holds."""

import ctypes
import os
import subprocess
import sys
import unittest

from safety import SANITIZED, SafetyTest, run, write_bytes

RUNS = 30 if SANITIZED else 100
VICTIM = b"#!/bin/sh\necho the real program\n"

# The swapper runs in a process of its own, so that it swaps while the test starts runs.
# It exchanges its two names until SIGTERM, then prints how often it did.
SWAPPER = """
import ctypes, os, signal, sys
libc = ctypes.CDLL(None, use_errno=True)
first, second = (os.fsencode(name) for name in sys.argv[1:3])
swaps = 0
def stop(*_):
    print(swaps)
    sys.exit(0)
signal.signal(signal.SIGTERM, stop)
print("swapping", flush=True)
while True:
    if libc.renameat2(-100, first, -100, second, 2) == 0:  # AT_FDCWD, RENAME_EXCHANGE
        swaps += 1
"""


class FolderSwap(SafetyTest):

    def setUp(self):
        super().setUp()
        if not hasattr(ctypes.CDLL(None), "renameat2"):
            self.skipTest("the C library has no renameat2")
        self.picture(os.path.join("att", "d", "basABC"))
        self.other = self.path("other")
        os.mkdir(self.other)
        self.victim = os.path.join(self.other, "bash")
        write_bytes(self.victim, VICTIM)
        os.chmod(self.victim, 0o755)
        os.symlink(self.other, self.path("att", "s"))

    def start_swapping(self):
        swapper = subprocess.Popen([sys.executable, "-c", SWAPPER, self.path("att", "d"),
                                    self.path("att", "s")], stdout=subprocess.PIPE, text=True)
        self.addCleanup(swapper.wait)
        self.addCleanup(swapper.terminate)
        self.assertEqual(swapper.stdout.readline(), "swapping\n")
        return swapper

    def test_a_swapped_folder_never_sends_a_file_elsewhere(self):
        swapper = self.start_swapping()
        for number in range(1, RUNS + 1):
            run([os.path.join("att", "d", "basABC")], cwd=self.folder)
            self.assertEqual(os.listdir(self.other), ["bash"], "run %d" % number)
            with open(self.victim, "rb") as victim:
                self.assertEqual(victim.read(), VICTIM, "run %d" % number)
            self.assertEqual(os.stat(self.victim).st_mode & 0o7777, 0o755, "run %d" % number)
        swapper.terminate()
        self.assertGreater(int(swapper.communicate()[0]), RUNS, "the folder was hardly swapped")
        real = self.path("att", "s" if os.path.islink(self.path("att", "d")) else "d")
        self.assertTrue(os.path.exists(os.path.join(real, "bash")),
                        "no run converted the picture in its own folder")


if __name__ == "__main__":
    unittest.main()
