"""A big batch interrupted part way, as Ctrl-C, Ctrl-\\, a closing terminal, a timer or a
build system stopping its jobs do it: the run dies by the signal it was sent, every header
it wrote is whole, and no temporary file is left behind, also where the file system makes
it name every temporary file. A signal quillbit ignores is followed by SIGTERM. A Windows
build under Wine gets SIGINT as Ctrl-C."""

import itertools
import os
import random
import signal
import time
import unittest

from safety import EMULATOR, IGNORED, INTERRUPTING, NO_UNNAMED_FILES, NODE_PACKAGE, SafetyTest, \
    finish, pictures, read_bytes, start, temporary_files, without_unnamed_files

SLOW_TEMPORARY_WRITES = os.environ.get("QUILLBIT_SLOW_TEMPORARY_WRITES", "")

if EMULATOR:
    # Ctrl-C ends a Windows program with STATUS_CONTROL_C_EXIT, of which its exit status
    # keeps the low byte; its command line holds at most 32767 characters.
    ENDINGS = {signal.SIGINT: 0xC000013A & 0xFF}
    PICTURES = 2500
    RUNS_PER_SIGNAL = 8
    FILE_SYSTEMS = {"usual": None}
elif NODE_PACKAGE:
    # Under Node, SIGUSR1 starts Node's debugger instead of ending the run. Its temporary
    # files are named from the start; slowed down, a signal finds one there most times.
    ENDINGS = {number: -number for number in INTERRUPTING if number != signal.SIGUSR1}
    ENDINGS.update({number: -signal.SIGTERM for number in IGNORED})
    PICTURES = 20000
    RUNS_PER_SIGNAL = 3
    FILE_SYSTEMS = {"usual": None, "slow": dict(os.environ, LD_PRELOAD=SLOW_TEMPORARY_WRITES)}
    assert SLOW_TEMPORARY_WRITES, "QUILLBIT_SLOW_TEMPORARY_WRITES names no preload library"
else:
    ENDINGS = {number: -number for number in INTERRUPTING}
    ENDINGS.update({number: -signal.SIGTERM for number in IGNORED})
    PICTURES = 20000
    RUNS_PER_SIGNAL = 3
    FILE_SYSTEMS = {"usual": None, "without O_TMPFILE": without_unnamed_files()}
    assert NO_UNNAMED_FILES, "QUILLBIT_NO_UNNAMED_FILES names no preload library"


class InterruptedRuns(SafetyTest):

    def setUp(self):
        super().setUp()
        first = self.picture("p00000.png", pictures.filled(16, 4, pictures.BLACK))
        self.names = ["p%05d.png" % number for number in range(PICTURES)]
        for name in self.names[1:]:
            os.link(first, self.path(name))  # one picture under many names: quick to make
        self.whole = None

    def interrupt(self, number, environment):
        """Starts the batch, sends the signal once headers are being written, and
        returns how the run ended."""
        for name in os.listdir(self.folder):
            if name.endswith(".h") or name.startswith(".quillbit-"):
                os.remove(self.path(name))
        process = start(self.names, cwd=self.folder, environment=environment)
        deadline = time.monotonic() + 30
        while not os.path.exists(self.path("p00001.h")) and time.monotonic() < deadline:
            time.sleep(0.001)
        time.sleep(random.uniform(0, 0.05))
        process.send_signal(number)
        if number in IGNORED:
            time.sleep(0.05)
            process.send_signal(signal.SIGTERM)
        return finish(process)

    def test_an_interrupted_batch_leaves_no_temporary_file(self):
        for (number, ending), (system, environment) in itertools.product(ENDINGS.items(),
                                                                         FILE_SYSTEMS.items()):
            for attempt in range(RUNS_PER_SIGNAL):
                with self.subTest(signal=signal.Signals(number).name, files=system,
                                  attempt=attempt):
                    outcome = self.interrupt(number, environment)
                    self.assertEqual(outcome.status, ending,
                                     "the run did not die by the signal: " + outcome.stderr)
                    self.assertEqual(temporary_files(self.folder), [])
                    self.assert_headers_whole()

    def assert_headers_whole(self):
        """Every header is the first one with its own name in it."""
        headers = [name for name in os.listdir(self.folder) if name.endswith(".h")]
        self.assertIn("p00001.h", headers)
        if self.whole is None:
            self.whole = read_bytes(self.path("p00001.h"))
        for name in headers:
            if name != "Blitview.h":
                stem = name[:-2].encode()
                expected = self.whole.replace(b"p00001", stem).replace(b"P00001", stem.upper())
                self.assertEqual(read_bytes(self.path(name)), expected, name)


if __name__ == "__main__":
    unittest.main()
