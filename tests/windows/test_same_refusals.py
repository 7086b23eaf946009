"""The Windows build ends alike with the Linux build on hostile pictures, since both read
with the same code: damaged and cut files, files that claim huge sizes, the bombs of
make_bombs.py and the former crashers, every case of the hostile suites that does not
depend on the platform's file system.

quillbit-check reads them all in one run of each build and must print the same bytes:
each picture's reason, or its drawing and pixel counts. quillbit itself stops at its first
refusal, so it converts one of each kind alone (Wine takes most of a second to start).
QUILLBIT (with QUILLBIT_EMULATOR) and QUILLBIT_CHECK are the Windows programs,
QUILLBIT_LINUX the Linux quillbit, with its quillbit-check beside it. The reasons the
system gives (a missing file, a folder) are each platform's own: test_same_headers.
"""

import concurrent.futures
import os
import random
import shutil
import subprocess
import sys
import tempfile
import unittest

from harness import EMULATOR, PROGRAM, read_bytes, run_program

LINUX_PROGRAM = os.environ.get("QUILLBIT_LINUX", "")
LINUX_CHECK = os.path.join(os.path.dirname(LINUX_PROGRAM), "quillbit-check")
CHECK = os.environ.get("QUILLBIT_CHECK", "")
HOSTILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "hostile")
sys.path.insert(0, HOSTILE)
import crafted  # noqa: E402  (the path above makes it importable)
from test_bad_pictures import good_files  # noqa: E402
from test_huge_claims import LARGEST_WITHIN, MAKERS, SIZES  # noqa: E402

# Wine's start takes a core for a moment; two runs at once keep both busy.
WORKERS = 2

SIGNATURES = {"png": b"\x89PNG\r\n\x1a\n", "gif": b"GIF89a", "bmp": b"BM", "jpg": b"\xff\xd8\xff",
              "ico": b"\x00\x00\x01\x00", "tif": b"II*\x00", "webp": b"RIFF\0\0\0\0WEBP"}


def damaged():
    """{name: bytes} of damaged files of every format, as the hostile suites make them; each
    name its own stem, so each file its own header."""
    cases = {}
    noise = random.Random(4)
    for extension, data in good_files().items():
        cases["empty-%s.%s" % (extension, extension)] = b""
        for quarter in (1, 2, 3):
            cases["cut%d-%s.%s" % (quarter, extension, extension)] = data[:len(data) * quarter // 4]
        noisy = bytes(noise.randrange(256) for _ in range(3000))
        cases["noise-%s.%s" % (extension, extension)] = noisy
    for extension, signature in SIGNATURES.items():
        cases["signature-%s.%s" % (extension, extension)] = signature
    cases["notes.png"] = b"These are my notes, not a picture.\n"
    for index, maxval in enumerate((b"0", b"-1", b"255xxx", b"65536")):
        cases["maxval%d.ppm" % index] = b"P6\n8 1\n" + maxval + b"\n" + bytes(48)
    cases["no-frame.gif"] = b"GIF89a\x08\x00\x08\x00\x00\x00\x00;"
    cases["wide-codes.gif"] = (b"GIF89a\x08\x00\x01\x00\xf3\x00\x00" + bytes(48) + b"\x2c"
                               + bytes(4) + b"\x08\x00\x01\x00\x00\x0b\x02\x00\x08\x00;")
    return cases


def claiming():
    """{name: bytes} of files whose headers claim sizes beyond and just within the limits."""
    cases = {}
    for extension, make in MAKERS.items():
        for width, height in SIZES + LARGEST_WITHIN:
            cases["huge-%dx%d.%s" % (width, height, extension)] = make(width, height)
    cases["frame-beyond-screen.gif"] = (crafted.gif_claiming(8, 8)[:24]
                                        + (65535).to_bytes(2, "little") * 2
                                        + crafted.gif_claiming(8, 8)[28:])
    return cases


def cases_of_each_kind(cases):
    """The names quillbit converts alone: each format cut in half, with nothing but its
    signature, claiming a size beyond the limits and one just within them, and the refused
    PNM and GIF headers."""
    kinds = ("cut2-", "signature-", "maxval0.", "huge-30000x30000.", "huge-217x151.",
             "wide-codes.", "no-frame.")
    return sorted(name for name in cases if name.startswith(kinds))


def run(command, folder, names):
    done = run_program(command + names, cwd=folder, timeout=300, stdin=subprocess.DEVNULL)
    return done.returncode, done.stdout, done.stderr


class SameRefusals(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.root = tempfile.mkdtemp(prefix="quillbit-refusals-")
        cls.folder = os.path.join(cls.root, "linux")
        subprocess.run([sys.executable, os.path.join(HOSTILE, "make_bombs.py"), cls.folder],
                       check=True, stdout=subprocess.DEVNULL)
        cls.bombs = os.listdir(cls.folder)
        cls.crashers = os.listdir(os.path.join(HOSTILE, "crashers"))
        cls.made = dict(damaged(), **claiming())
        for name in cls.crashers:
            shutil.copy(os.path.join(HOSTILE, "crashers", name), cls.folder)
        for name, data in cls.made.items():
            with open(os.path.join(cls.folder, name), "wb") as f:
                f.write(data)
        # the Windows build's own folder, so that no header of one build is there for the other
        shutil.copytree(cls.folder, os.path.join(cls.root, "windows"), copy_function=os.link)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.root, True)

    def setUp(self):
        self.assertTrue(PROGRAM and CHECK and LINUX_PROGRAM,
                        "QUILLBIT, QUILLBIT_CHECK and QUILLBIT_LINUX must name the builds")

    def both(self, windows, linux, names):
        """(Windows outcome, Linux outcome) of one run of each program on names."""
        return (run(EMULATOR + [windows], os.path.join(self.root, "windows"), names),
                run([linux], self.folder, names))

    def test_quillbit_check_reads_every_hostile_picture_alike(self):
        names = sorted(self.bombs + self.crashers + list(self.made))
        self.assertEqual(len(set(names)), len(names), "each case its own name")
        self.assertGreater(len(self.bombs), 100)
        self.assertGreater(len(self.made), 90)
        windows, linux = self.both(CHECK, LINUX_CHECK, names)
        self.assertEqual(linux[0], 1)  # files that cannot be read
        self.assertGreater(linux[2].count(b"quillbit-check: cannot read picture"), 100)
        # Compared line by line first: the whole output is half a megabyte.
        for stream in (1, 2):
            for line, (got, expected) in enumerate(zip(windows[stream].splitlines(),
                                                       linux[stream].splitlines())):
                self.assertEqual(got, expected, "stream %d, line %d" % (stream, line + 1))
        self.assertEqual(windows, linux)

    def test_quillbit_ends_alike_on_each_kind_of_hostile_picture(self):
        names = cases_of_each_kind(self.made)
        self.assertEqual(len(names), 8 + 8 + 7 + 6 + 3)
        with concurrent.futures.ThreadPoolExecutor(WORKERS) as pool:
            outcomes = list(pool.map(lambda name: self.both(PROGRAM, LINUX_PROGRAM, [name]),
                                     names))
        for name, (windows, linux) in zip(names, outcomes):
            with self.subTest(name):
                self.assertIn(linux[0], (0, 1, 2), linux)  # 2: the width rule
                self.assertEqual(windows, linux)
                header = os.path.splitext(name)[0] + ".h"
                if linux[0] == 0:
                    self.assertEqual(read_bytes(os.path.join(self.root, "windows", header)),
                                     read_bytes(os.path.join(self.folder, header)))


if __name__ == "__main__":
    unittest.main()
