"""Output that cannot be written: the report names the header, the header that was
there stays byte for byte, no temporary file is left, and the companion is either
copied whole or not at all. The tests run as root in CI, so they use failures that
hold for root too: a file-size limit, a full or read-only file system."""

import os
import resource
import shutil
import subprocess
import unittest

from hostile import HostileTest, PROGRAM, pictures, read_bytes, run, write_bytes

PREVIOUS_HEADER = b"// the header of an earlier run, which must survive\r\n" * 40


def file_size_limit(size):
    """For preexec_fn: writes beyond size bytes fail (EFBIG), for root as well."""
    return lambda: resource.setrlimit(resource.RLIMIT_FSIZE, (size, size))


def mount_tmpfs(folder, options):
    done = subprocess.run(["mount", "-t", "tmpfs", "-o", options, "tmpfs", folder],
                          capture_output=True)
    return done.returncode == 0


class FailingHeaderOutput(HostileTest):

    def setUp(self):
        super().setUp()
        self.big = self.path("big.png")  # its header takes about 4 KB
        pictures.write(self.big, pictures.filled(256, 32, pictures.BLACK))
        self.big_header = self.path("big.h")
        write_bytes(self.big_header, PREVIOUS_HEADER)

    def assert_header_kept(self, outcome, folder=None):
        self.assert_reported(outcome, self.big_header)
        self.assertEqual(read_bytes(self.big_header), PREVIOUS_HEADER)
        self.assert_no_temporary_files(folder)

    def test_file_size_limit_keeps_the_previous_header(self):
        outcome = run([self.big], cwd=self.folder, preexec_fn=file_size_limit(1000))
        self.assert_header_kept(outcome)

    def test_output_path_that_is_a_folder_is_reported(self):
        os.remove(self.big_header)
        os.mkdir(self.big_header)
        outcome = run([self.big], cwd=self.folder)
        self.assert_reported(outcome, self.big_header)
        self.assertTrue(os.path.isdir(self.big_header))
        self.assert_no_temporary_files()

    def mounted_folder(self, options):
        folder = self.path("mounted")
        os.mkdir(folder)
        if os.geteuid() != 0 or not mount_tmpfs(folder, options):
            self.skipTest("cannot mount a tmpfs here")
        self.addCleanup(subprocess.run, ["umount", folder], capture_output=True)
        return folder

    def test_read_only_folder_keeps_the_previous_header(self):
        folder = self.mounted_folder("size=1m")
        shutil.move(self.big, folder)
        shutil.move(self.big_header, folder)
        self.big, self.big_header = (os.path.join(folder, "big.png"),
                                     os.path.join(folder, "big.h"))
        subprocess.run(["mount", "-o", "remount,ro", folder], check=True)
        outcome = run([self.big], cwd=self.folder)
        self.assert_header_kept(outcome, folder)

    def test_full_disk_keeps_the_previous_header(self):
        folder = self.mounted_folder("size=64k")
        shutil.move(self.big, folder)
        shutil.move(self.big_header, folder)
        self.big, self.big_header = (os.path.join(folder, "big.png"),
                                     os.path.join(folder, "big.h"))
        filler = os.path.join(folder, "filler")
        descriptor = os.open(filler, os.O_WRONLY | os.O_CREAT)
        try:
            while os.write(descriptor, bytes(1024)) > 0:
                pass
        except OSError:
            pass
        finally:
            os.close(descriptor)
        os.truncate(filler, os.path.getsize(filler) - 1024)  # room for a part of the header
        outcome = run([self.big], cwd=self.folder)
        self.assert_header_kept(outcome, folder)


class FailingCompanionCopy(HostileTest):

    def test_companion_that_does_not_fit_is_not_left_half_copied(self):
        companion_size = os.path.getsize(os.path.join(os.path.dirname(PROGRAM), "Blitview.h"))
        limit = companion_size // 2  # the small headers fit, the companion does not
        second = self.path("second.png")
        pictures.write(second, pictures.filled(8, 2, pictures.BLACK))
        outcome = run([self.good, second], cwd=self.folder, preexec_fn=file_size_limit(limit))
        self.assert_reported(outcome, self.path("Blitview.h"))
        self.assertTrue(os.path.exists(self.path("good.h")))
        self.assertTrue(os.path.exists(self.path("second.h")))
        self.assertFalse(os.path.exists(self.path("Blitview.h")))
        self.assert_no_temporary_files()

    def test_companion_target_taken_by_a_folder_fails_after_every_header(self):
        os.mkdir(self.path("Blitview.h"))
        second = self.path("second.png")
        pictures.write(second, pictures.filled(8, 2, pictures.BLACK))
        outcome = run([self.good, second], cwd=self.folder)
        self.assert_reported(outcome, self.path("Blitview.h"))
        self.assertTrue(os.path.exists(self.path("good.h")))
        self.assertTrue(os.path.exists(self.path("second.h")))
        self.assertEqual(os.listdir(self.path("Blitview.h")), [])
        self.assert_no_temporary_files()

    def test_missing_companion_source_leaves_no_companion(self):
        program_folder = self.path("program")
        os.mkdir(program_folder)
        program = os.path.join(program_folder, "quillbit")
        shutil.copy(PROGRAM, program)  # without Blitview.h beside it
        outcome = run([self.good], cwd=self.folder, program=program)
        self.assert_reported(outcome, os.path.join(program_folder, "Blitview.h"))
        self.assertTrue(os.path.exists(self.path("good.h")))
        self.assertFalse(os.path.exists(self.path("Blitview.h")))
        self.assert_no_temporary_files()

class FailingTerminalOutput(HostileTest):
    """Information that cannot reach standard output stops the batch before that
    picture's header, with a report: a full device, or a pipe whose reader has gone."""

    def run_with_stdout(self, stdout):
        child = subprocess.run([PROGRAM, self.good], cwd=self.folder, stdout=stdout,
                               stderr=subprocess.PIPE, stdin=subprocess.DEVNULL, timeout=60)
        return child.returncode, child.stderr.decode()

    def closed_pipe(self):
        read_end, write_end = os.pipe()
        os.close(read_end)
        self.addCleanup(os.close, write_end)
        return write_end

    def test_unwritable_standard_output_is_reported(self):
        cases = [("full device", lambda: open(os.devnull.replace("null", "full"), "wb"),
                  "No space left on device"),
                 ("closed pipe", self.closed_pipe, "Broken pipe")]
        for name, stdout, why in cases:
            with self.subTest(name):
                target = stdout()
                if hasattr(target, "close"):
                    self.addCleanup(target.close)
                status, err = self.run_with_stdout(target)
                self.assertEqual((status, err),
                                 (1, f"quillbit: cannot write to standard output: {why}\n"))
                self.assertFalse(os.path.exists(self.path("good.h")))
                self.assert_no_temporary_files()


if __name__ == "__main__":
    unittest.main()
