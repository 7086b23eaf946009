"""Builds the Windows zip, unpacks it and runs the unpacked quillbit.exe on pictures.

Usage: windows_zip_test.py CPACK CPACK_CONFIG SOURCE_DIR VERSION [EMULATOR ...]

EMULATOR is the command that runs a Windows program here (Wine on Linux); none on Windows.
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile
from pathlib import Path

CPACK, CPACK_CONFIG, SOURCE, VERSION = sys.argv[1], sys.argv[2], Path(sys.argv[3]), sys.argv[4]
EMULATOR = sys.argv[5:]
sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, str(SOURCE / "tests" / "support"))
import pictures  # noqa: E402  (found through the path set just above)

FOLDER = f"quillbit-{VERSION}-win64"
CONTENTS = {"quillbit.exe", "quillbitw.exe", "quillbit-check.exe", "Blitview.h", "HOW-TO-USE.txt",
            "LICENSE.txt", "THIRD-PARTY-NOTICES.txt", "quillbit.html"} | {
                "quillbit-levels." + extension for extension in ("gpl", "pal", "hex", "act", "txt")}
# 2: GUI, 3: console
PE_SUBSYSTEM = {"quillbitw.exe": 2, "quillbit.exe": 3, "quillbit-check.exe": 3}

# Pictures and their headers, shared with the end-to-end tests.
GOLDEN = SOURCE / "tests" / "golden"
# The Debian source packages of the libraries linked into the programs: stb (stb_image) and
# those scripts/picture-libraries.sh built, which QUILLBIT_PICTURE_MANIFEST lists.
LIBRARY_SOURCES = {"zlib", "libpng1.6", "giflib", "libjpeg-turbo", "tiff", "libwebp", "stb"}
MANIFEST = os.environ.get("QUILLBIT_PICTURE_MANIFEST")


def run(command, **options):
    return subprocess.run(command, capture_output=True, stdin=subprocess.DEVNULL,
                          timeout=120, **options)


def pe_subsystem(path):
    data = path.read_bytes()
    header = struct.unpack_from("<I", data, 0x3C)[0]
    if data[header:header + 4] != b"PE\0\0":
        raise AssertionError(f"{path.name} is not a Windows program")
    return struct.unpack_from("<H", data, header + 24 + 68)[0]


class WindowsZipTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory(prefix="quillbit-zip-")
        top = Path(cls.scratch.name)
        built = run([CPACK, "-G", "ZIP", "--config", CPACK_CONFIG, "-B", str(top / "out")],
                    text=True)
        if built.returncode != 0:
            raise AssertionError("cpack failed:\n" + built.stdout + built.stderr)
        cls.zip = top / "out" / f"{FOLDER}.zip"
        with zipfile.ZipFile(cls.zip) as archive:
            cls.names = archive.namelist()
            archive.extractall(top / "unpacked")
        cls.programs = top / "unpacked" / FOLDER

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def setUp(self):
        self.folder = Path(tempfile.mkdtemp(dir=self.scratch.name, prefix="pictures-"))

    def quillbit(self, *arguments):
        return run([*EMULATOR, str(self.programs / "quillbit.exe"), *arguments], cwd=self.folder)

    def test_zip_holds_the_programs_companion_and_text_in_one_folder(self):
        self.assertEqual(sorted(self.names), sorted(f"{FOLDER}/{name}" for name in CONTENTS))

    def test_programs_are_the_desktop_and_the_console_build(self):
        for name, subsystem in PE_SUBSYSTEM.items():
            with self.subTest(program=name):
                self.assertEqual(pe_subsystem(self.programs / name), subsystem)

    def test_companion_and_licence_are_the_sources(self):
        copies = {"Blitview.h": (SOURCE / "companion/Blitview.h").read_bytes(),
                  "quillbit.html": (SOURCE / "build-web/quillbit.html").read_bytes(),
                  "LICENSE.txt": (SOURCE / "LICENSE").read_bytes().replace(b"\n", b"\r\n")}
        for name, expected in copies.items():
            with self.subTest(name):
                self.assertEqual((self.programs / name).read_bytes(), expected)

    def test_how_to_use_text_names_the_files_with_windows_line_ends(self):
        text = (self.programs / "HOW-TO-USE.txt").read_bytes()
        self.assertEqual(text.count(b"\n"), text.count(b"\r\n"))
        self.assertIn(f"quillbit {VERSION}".encode(), text)
        for name in CONTENTS - {"HOW-TO-USE.txt"}:
            self.assertIn(name.encode(), text)

    def test_notices_carry_the_licence_of_every_library_inside(self):
        data = (self.programs / "THIRD-PARTY-NOTICES.txt").read_bytes()
        self.assertEqual(data.count(b"\n"), data.count(b"\r\n"))
        text = data.decode("utf-8")
        sources = set(LIBRARY_SOURCES)
        if MANIFEST:
            lines = Path(MANIFEST).read_text().splitlines()
            sources |= {line.split()[0] for line in lines if not line.startswith("#")}
        for source in sorted(sources):
            with self.subTest(source):
                self.assertIn(f"(Debian source package {source})", text)
        # what the IJG licence asks of a program that carries its code
        self.assertIn("based in part on the work of the Independent JPEG Group", text)

    def test_unpacked_quillbit_converts_pictures_and_installs_the_companion(self):
        (self.folder / "art").mkdir()
        shutil.copy(GOLDEN / "ship.png", self.folder)
        shutil.copy(GOLDEN / "ball.bmp", self.folder / "art")
        result = self.quillbit("ship.png", "art\\ball.bmp")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout.replace(b"\r\n", b"\n"),
                         b"Quillbit - ship.png\nDimensions: 16 by 2\nSpriteType: 16\n"
                         b"Quillbit - ball.bmp\nDimensions: 8 by 8\nSpriteType: 8\n")
        self.assertEqual((self.folder / "ship.h").read_bytes(), (GOLDEN / "ship.out").read_bytes())
        self.assertEqual((self.folder / "art/ball.h").read_bytes(),
                         (GOLDEN / "ball.out").read_bytes())
        self.assertEqual((self.folder / "art/Blitview.h").read_bytes(),
                         (self.programs / "Blitview.h").read_bytes())
        self.assertFalse((self.folder / "Blitview.h").exists(), "only beside the last picture")

    def test_unpacked_quillbit_check_draws_a_picture_into_a_pipe(self):
        shutil.copy(GOLDEN / "ship.png", self.folder)
        result = run([*EMULATOR, str(self.programs / "quillbit-check.exe"), "ship.png"],
                     cwd=self.folder)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn(b"SpriteType: 16\n########........\n-+..............\n",
                      result.stdout.replace(b"\r\n", b"\n"))

    def test_width_rule_ends_with_status_2_and_no_companion(self):
        pictures.write(self.folder / "wide.png", pictures.filled(12, 2))
        result = self.quillbit("wide.png")
        self.assertEqual(result.returncode, 2, result.stderr)
        self.assertIn(b"Image Width must be evenly divisible by 8", result.stderr)
        self.assertFalse((self.folder / "Blitview.h").exists())


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
