"""Both builds read with the same code: on the same pictures the Windows build writes the
same headers as the Linux build, says the same and ends with the same status.

QUILLBIT (with QUILLBIT_EMULATOR) is the Windows program, QUILLBIT_LINUX the Linux one.
Names are ASCII: beyond ASCII the Windows header is in the ANSI code page by design.
"""

import os
import shutil
import subprocess
import tempfile
import unittest

from harness import EMULATOR, FORMATS, PROGRAM, pictures, variants

LINUX_PROGRAM = os.environ.get("QUILLBIT_LINUX", "")
SOURCE = os.path.join(os.path.dirname(__file__), "..", "..")
# Pictures committed for the tests, each folder's pictures converted as they are.
COMMITTED = ("examples", os.path.join("tests", "golden"), os.path.join("tests", "pictures"),
             os.path.join("tests", "hostile", "pictures"))
K, L, D, W = pictures.BLACK, pictures.LIGHT, pictures.DARK, pictures.WHITE


def generated():
    """(relative path, bytes) of pictures with exact pixels in every written format."""
    def pattern(width, height, colours):
        return [[colours[(x * 7 + y * 3) % len(colours)] for x in range(width)]
                for y in range(height)]
    grey = pattern(16, 5, [K, L, D, W, 0x123456])
    alpha = [[0xFF000000, 0x80000000, 0x00000000, 0xFFAAAAAA, 0xFE555555, 0xFFFFFFFF,
              0xFF555555, 0x7FAAAAAA]] * 2
    return [
        ("made/mono8.png", pictures.png_bytes(pattern(8, 3, [K, W]))),
        ("made/grey16.bmp", pictures.bmp_bytes(grey)),
        ("made/grey32.png", pictures.png_bytes(pattern(32, 4, [K, L, D, W]))),
        ("made/other24.bmp", pictures.bmp_bytes(pattern(24, 2, [L, W, K]))),
        ("made/other40.png", pictures.png_bytes(pattern(40, 3, [D, W]))),
        ("made/alpha.png", pictures.png_bytes(alpha, alpha=True)),
        ("made/dib.ico", pictures.ico_bytes([(pattern(8, 8, [W]), False), (grey, False)])),
        ("made/png.ico", pictures.ico_bytes([(pattern(8, 2, [K]), False), (grey, True)])),
    ] + [("variants/%s-%s" % (family, name), data)
         for family, name, data, _ in variants.all_variants()]


def committed():
    """(relative path, source path) of the committed pictures both loaders read."""
    found = []
    for folder in COMMITTED:
        for name in sorted(os.listdir(os.path.join(SOURCE, folder))):
            if (not name.endswith((".h", ".out", ".md", ".txt"))
                    and variants.family_of(name) in FORMATS):
                # a folder for each extension, so that a.png and a.gif keep a header each
                kind = os.path.splitext(name)[1][1:]
                found.append((os.path.join(folder.replace(os.sep, "_"), kind, name),
                              os.path.join(SOURCE, folder, name)))
    return found


def tree(root):
    """{relative path: bytes} of every file under root."""
    files = {}
    for folder, _, names in os.walk(root):
        for name in names:
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                files[os.path.relpath(path, root)] = f.read()
    return files


class SameHeaders(unittest.TestCase):
    def setUp(self):
        self.assertTrue(PROGRAM and LINUX_PROGRAM,
                        "QUILLBIT and QUILLBIT_LINUX must name both builds")
        self.root = tempfile.mkdtemp(prefix="quillbit-same-")
        self.addCleanup(shutil.rmtree, self.root, True)

    def prepare(self, build):
        folder = os.path.join(self.root, build)
        for relative, data in generated():
            os.makedirs(os.path.join(folder, os.path.dirname(relative)), exist_ok=True)
            with open(os.path.join(folder, relative), "wb") as f:
                f.write(data)
        for relative, source in committed():
            os.makedirs(os.path.join(folder, os.path.dirname(relative)), exist_ok=True)
            shutil.copy(source, os.path.join(folder, relative))
        return folder

    def convert(self, build, command, names):
        folder = os.path.join(self.root, build)
        done = subprocess.run(command + names, cwd=folder, capture_output=True, timeout=120,
                              stdin=subprocess.DEVNULL)
        return done.returncode, done.stdout, done.stderr

    def test_every_picture_gives_byte_identical_headers_and_messages(self):
        names = [relative for relative, _ in generated() + committed()]
        every_variant = [name for name in names if name.startswith("variants/")]
        self.assertEqual(len(every_variant), len(variants.all_variants()))
        for build in ("linux", "windows"):
            self.prepare(build)
        linux = self.convert("linux", [LINUX_PROGRAM], names)
        windows = self.convert("windows", EMULATOR + [PROGRAM], names)
        self.assertEqual(linux, (0, linux[1], b""))
        self.assertEqual(windows, linux)
        linux_files = tree(os.path.join(self.root, "linux"))
        windows_files = tree(os.path.join(self.root, "windows"))
        self.assertEqual(sorted(windows_files), sorted(linux_files))
        # the header's name is the picture's with its last three characters made "h"
        headers = [name[:-3] + "h" for name in names]
        self.assertEqual(len(set(headers)), len(names))
        for name in headers:
            with self.subTest(name):
                self.assertEqual(windows_files[name], linux_files[name])
        companion = os.path.join(os.path.dirname(names[-1]), "Blitview.h")
        for files, program in ((linux_files, LINUX_PROGRAM), (windows_files, PROGRAM)):
            with open(os.path.join(os.path.dirname(program), "Blitview.h"), "rb") as f:
                self.assertEqual(files[companion], f.read())

    def test_width_rule_and_missing_picture_end_alike(self):
        for build in ("linux", "windows"):
            folder = os.path.join(self.root, build)
            os.makedirs(folder)
            pictures.write(os.path.join(folder, "odd.png"), pictures.filled(12, 2, K))
        for names in (["odd.png"], ["missing.png"]):
            with self.subTest(names):
                linux = self.convert("linux", [LINUX_PROGRAM], names)
                windows = self.convert("windows", EMULATOR + [PROGRAM], names)
                self.assertEqual(windows[:2], linux[:2])
                # The reason after the path is the system's own text on each platform.
                prefix = linux[2].split(b'": ')[0]
                self.assertTrue(windows[2].startswith(prefix), (windows[2], linux[2]))


if __name__ == "__main__":
    unittest.main()
