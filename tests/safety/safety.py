"""What the safety suites share: the program started the way a shell or make starts it,
with a timeout so that no test ever hangs, and checks of what a run leaves behind.

QUILLBIT names the program under test (see ../support/suite.py).
"""

import os
import resource
import signal
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
import pictures  # noqa: E402  (the path above makes it importable)
from suite import (EMULATOR, NODE_PACKAGE, PROGRAM, FolderTest, copy_program,  # noqa: E402,F401
                   read_bytes, write_bytes)

# A sanitizer build runs each program several times slower; rounds that look for a race
# are then fewer, as the normal build's run looks for the race itself.
SANITIZED = os.environ.get("QUILLBIT_SANITIZED", "") != ""
# Far longer than any run here needs; a run still going then is hanging.
TIMEOUT_SECONDS = 60
COMPANION = os.path.join(os.path.dirname(PROGRAM), "Blitview.h")
# Every signal that ends a run unless caught, and the two the program ignores itself.
INTERRUPTING = (signal.SIGINT, signal.SIGTERM, signal.SIGHUP, signal.SIGQUIT, signal.SIGALRM,
                signal.SIGUSR1, signal.SIGUSR2, signal.SIGXCPU)
IGNORED = (signal.SIGPIPE, signal.SIGXFSZ)
# quillbit with file systems that refuse O_TMPFILE, as FUSE and network file systems do.
NO_UNNAMED_FILES = os.environ.get("QUILLBIT_NO_UNNAMED_FILES", "")


class Outcome:
    def __init__(self, status, stdout, stderr):
        self.status = status
        self.stdout = stdout
        self.stderr = stderr


def as_from_a_shell(umask=0o022):
    """For preexec_fn: the dispositions and umask of a program started from a terminal,
    whatever the test runner itself was started with."""
    def prepare():
        for number in INTERRUPTING + IGNORED:
            signal.signal(number, signal.SIG_DFL)
        resource.setrlimit(resource.RLIMIT_CORE, (0, 0))  # SIGQUIT then leaves no core file
        os.umask(umask)
    return prepare


def without_unnamed_files():
    """The environment of a run on file systems that refuse O_TMPFILE."""
    environment = dict(os.environ, LD_PRELOAD=NO_UNNAMED_FILES)
    # The sanitizers' runtime then no longer comes first, which is no fault here.
    environment["ASAN_OPTIONS"] = environment.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0"
    return environment


def start(arguments, cwd, program=None, umask=0o022, gate=None, environment=None):
    """Starts a run; with gate, a pipe's reading end, the program itself starts only once
    a line can be read from it."""
    command = EMULATOR + [program or PROGRAM] + list(arguments)
    if gate is not None:
        command = ["sh", "-c", 'read -r line <&%d && exec "$@"' % gate, "sh"] + command
    return subprocess.Popen(command, cwd=cwd, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, preexec_fn=as_from_a_shell(umask),
                            pass_fds=() if gate is None else (gate,), env=environment)


def start_together(argument_lists, cwd):
    """Starts one run per argument list, all at the same moment."""
    gate, opener = os.pipe()
    try:
        runs = [start(arguments, cwd, gate=gate) for arguments in argument_lists]
        os.write(opener, b"go\n" * len(runs))
    finally:
        os.close(gate)
        os.close(opener)
    return runs


def finish(process, timeout=TIMEOUT_SECONDS):
    """Waits for a started run; one still going after timeout is killed and fails the test."""
    try:
        out, err = process.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.communicate()
        raise AssertionError("%s still ran after %d s" % (process.args, timeout)) from None
    return Outcome(process.returncode, out.decode("utf-8", "replace"),
                   err.decode("utf-8", "replace"))


def run(arguments, cwd, program=None, umask=0o022, timeout=TIMEOUT_SECONDS):
    return finish(start(arguments, cwd, program, umask), timeout)


def temporary_files(folder):
    return sorted(name for name in os.listdir(folder) if name.startswith(".quillbit-"))


class SafetyTest(FolderTest):
    FOLDER_PREFIX = "quillbit-safety-"

    def picture(self, name, rows=None):
        path = self.path(name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        pictures.write(path, rows or pictures.filled(8, 2, pictures.BLACK))
        return path

    def assert_reported(self, outcome, path, reason):
        """Status 1 and one report line that names path and gives the reason."""
        lines = outcome.stderr.splitlines()
        self.assertEqual(outcome.status, 1, outcome.stderr)
        self.assertEqual(len(lines), 1, outcome.stderr)
        self.assertTrue(lines[0].startswith("quillbit: "), lines[0])
        self.assertIn('"%s"' % path, lines[0])
        self.assertIn(reason, lines[0])
