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


def failing_close():
    """The environment under which closing a written file reports EIO (tests/support)."""
    options = os.environ.get("ASAN_OPTIONS", "")
    return dict(os.environ, LD_PRELOAD=os.environ["QUILLBIT_FAILING_CLOSE"],
                ASAN_OPTIONS=options + ":verify_asan_link_order=0")


def open_file_limit(count):
    return lambda: resource.setrlimit(resource.RLIMIT_NOFILE, (count, count))


def mount_tmpfs(folder, options):
    done = subprocess.run(["mount", "-t", "tmpfs", "-o", options, "tmpfs", folder],
                          capture_output=True)
    return done.returncode == 0


def remount_read_only(folder):
    subprocess.run(["mount", "-o", "remount,ro", folder], check=True)


def fill_but_one_kilobyte(folder):
    """Fills the file system of folder, then frees room for a part of the header."""
    filler = os.path.join(folder, "filler")
    descriptor = os.open(filler, os.O_WRONLY | os.O_CREAT)
    try:
        while os.write(descriptor, bytes(1024)) > 0:
            pass
    except OSError:
        pass
    finally:
        os.close(descriptor)
    os.truncate(filler, os.path.getsize(filler) - 1024)


def tree(folder):
    """Every name under folder, relative to it, folders marked by a trailing slash."""
    return sorted(os.path.relpath(os.path.join(top, name), folder) + "/" * (name in folders)
                  for top, folders, files in os.walk(folder) for name in folders + files)


class FailingHeaderOutput(HostileTest):

    def big_picture_in(self, folder):
        """big.png, whose header takes about 4 KB, beside the big.h of an earlier run."""
        picture = os.path.join(folder, "big.png")
        pictures.write(picture, pictures.filled(256, 32, pictures.BLACK))
        write_bytes(os.path.join(folder, "big.h"), PREVIOUS_HEADER)
        return picture

    def mounted_folder(self, name, options):
        folder = self.path(name)
        os.mkdir(folder)
        if os.geteuid() != 0 or not mount_tmpfs(folder, options):
            self.skipTest("cannot mount a tmpfs here")
        self.addCleanup(subprocess.run, ["umount", folder], capture_output=True)
        return folder

    def test_failed_write_keeps_the_previous_header(self):
        cases = [  # what fails, tmpfs options (None: the test's own disk), spoiling, limits, env
            ("file-size limit", None, None, file_size_limit(1000), None),
            ("read-only file system", "size=1m", remount_read_only, None, None),
            ("full disk", "size=64k", fill_but_one_kilobyte, None, None),
            ("close reports EIO", None, None, None, failing_close()),
        ]
        for index, (what, options, spoil, preexec_fn, env) in enumerate(cases):
            with self.subTest(what):
                name = "case%d" % index
                folder = self.mounted_folder(name, options) if options else self.path(name)
                os.makedirs(folder, exist_ok=True)
                picture = self.big_picture_in(folder)
                if spoil:
                    spoil(folder)
                outcome = run([picture], cwd=self.folder, preexec_fn=preexec_fn, env=env)
                self.assert_reported(outcome, picture[:-3] + "h")
                self.assertEqual(read_bytes(picture[:-3] + "h"), PREVIOUS_HEADER)
                self.assert_no_temporary_files(folder)

    def test_long_batch_converts_within_a_low_open_file_limit(self):
        """Each picture's file is closed before the next: 100 pictures need few descriptors."""
        paths = [self.path("p%03d.png" % index) for index in range(100)]
        for path in paths:
            pictures.write(path, pictures.filled(8, 2, pictures.BLACK))
        outcome = run(paths, cwd=self.folder, preexec_fn=open_file_limit(20))
        self.assertEqual((outcome.status, outcome.stderr), (0, ""))
        self.assertTrue(os.path.exists(self.path("p099.h")))

    def test_output_path_that_is_a_folder_is_reported(self):
        picture = self.big_picture_in(self.folder)
        os.remove(self.path("big.h"))
        os.mkdir(self.path("big.h"))
        outcome = run([picture], cwd=self.folder)
        self.assert_reported(outcome, self.path("big.h"))
        self.assertTrue(os.path.isdir(self.path("big.h")))
        self.assert_no_temporary_files()


class FailingCompanionCopy(HostileTest):

    def test_companion_that_cannot_be_written_fails_after_every_header(self):
        """Nothing of the companion is left: no half copy, nothing inside a folder."""
        companion_size = os.path.getsize(os.path.join(os.path.dirname(PROGRAM), "Blitview.h"))
        cases = [  # what fails, the limit, whether Blitview.h is taken by a folder first
            ("companion does not fit", file_size_limit(companion_size // 2), False),
            ("target taken by a folder", None, True),
        ]
        for what, preexec_fn, taken in cases:
            with self.subTest(what):
                folder = self.path(what.replace(" ", "-"))
                os.mkdir(folder)
                if taken:
                    os.mkdir(os.path.join(folder, "Blitview.h"))
                paths = [os.path.join(folder, name) for name in ("first.png", "second.png")]
                for path in paths:
                    pictures.write(path, pictures.filled(8, 2))
                outcome = run(paths, cwd=folder, preexec_fn=preexec_fn)
                self.assert_reported(outcome, os.path.join(folder, "Blitview.h"))
                left = ["first.h", "first.png", "second.h", "second.png"]
                self.assertEqual(tree(folder), (["Blitview.h/"] if taken else []) + left)

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
