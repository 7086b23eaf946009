"""FIFOs and devices where a picture or the companion is expected: refused at once by
name, never waited on (a FIFO without a writer would hold the run forever), never copied
(/dev/null would give an empty companion); and a failing read keeps its reason."""

import os
import stat
import unittest

from safety import COMPANION, SafetyTest, copy_program, read_bytes, run, temporary_files

# Long enough for a loaded machine, short against a run that waits forever.
PATIENCE_SECONDS = 20


def fifo(path):
    os.mkfifo(path)


def null_device(path):
    if os.geteuid() == 0:
        os.mknod(path, 0o666 | stat.S_IFCHR, os.makedev(1, 3))  # a device node of our own
    else:
        os.symlink("/dev/null", path)


def remove(path):
    """Removes what a case left at path, without opening it: a FIFO would block."""
    if os.path.isdir(path) and not os.path.islink(path):
        os.rmdir(path)
    elif os.path.lexists(path):
        os.remove(path)


SPECIAL_FILES = {"FIFO": fifo, "null device": null_device,
                 "link to /dev/zero": lambda path: os.symlink("/dev/zero", path)}


class SpecialFiles(SafetyTest):

    def test_a_special_file_as_picture_is_refused_at_once(self):
        for kind, make in SPECIAL_FILES.items():
            with self.subTest(kind):
                self.picture("good.png")
                remove(self.path("special.png"))
                make(self.path("special.png"))
                outcome = run(["good.png", "special.png"], cwd=self.folder,
                              timeout=PATIENCE_SECONDS)
                self.assert_reported(outcome, "special.png", "is not a regular file")
                self.assertTrue(os.path.exists(self.path("good.h")))
                self.assertFalse(os.path.lexists(self.path("special.h")))
                self.assertEqual(temporary_files(self.folder), [])

    def test_a_special_file_as_the_companion_source_is_refused_at_once(self):
        program_folder = self.path("program")
        os.mkdir(program_folder)
        program = copy_program(program_folder)
        source = os.path.join(program_folder, "Blitview.h")
        for kind, make in SPECIAL_FILES.items():
            with self.subTest(kind):
                self.picture("a.png")
                remove(source)
                remove(self.path("Blitview.h"))
                make(source)
                outcome = run(["a.png"], cwd=self.folder, program=program,
                              timeout=PATIENCE_SECONDS)
                self.assert_reported(outcome, source, "the source is not a regular file")
                self.assertTrue(os.path.exists(self.path("a.h")))
                self.assertFalse(os.path.lexists(self.path("Blitview.h")))
                self.assertEqual(temporary_files(self.folder), [])

    def test_a_companion_target_that_is_no_file_is_reported_and_left(self):
        cases = {"FIFO": fifo, "dangling link": lambda path: os.symlink("nowhere", path),
                 "folder": os.mkdir}
        for kind, make in cases.items():
            with self.subTest(kind):
                self.picture("a.png")
                remove(self.path("Blitview.h"))
                make(self.path("Blitview.h"))
                before = os.lstat(self.path("Blitview.h"))
                outcome = run(["a.png"], cwd=self.folder, timeout=PATIENCE_SECONDS)
                self.assert_reported(outcome, "Blitview.h", "File exists")
                after = os.lstat(self.path("Blitview.h"))
                self.assertEqual((after.st_ino, after.st_mode), (before.st_ino, before.st_mode))
                self.assertEqual(temporary_files(self.folder), [])

    def test_a_read_error_keeps_the_system_reason(self):
        # A regular file of 4096 bytes whose read fails with EINVAL on a loopback device.
        failing = "/sys/class/net/lo/speed"
        try:
            with open(failing, "rb") as f:
                f.read()
            self.skipTest(failing + " reads without an error here")
        except FileNotFoundError:
            self.skipTest(failing + " does not exist here")
        except OSError as error:
            reason = error.strerror
        outcome = run([failing], cwd=self.folder, timeout=PATIENCE_SECONDS)
        self.assert_reported(outcome, failing, reason)

    def test_the_companion_is_an_ordinary_copy(self):
        self.picture("a.png")
        outcome = run(["a.png"], cwd=self.folder)
        self.assertEqual((outcome.status, outcome.stderr), (0, ""))
        self.assertTrue(stat.S_ISREG(os.lstat(self.path("Blitview.h")).st_mode))
        self.assertEqual(read_bytes(self.path("Blitview.h")), read_bytes(COMPANION))


if __name__ == "__main__":
    unittest.main()
