"""Builds the Debian package, unpacks it into a fresh root and runs the installed programs.

Usage: install_test.py CPACK CPACK_CONFIG SOURCE_DIR

Nothing is installed on the machine itself: `dpkg-deb -x` unpacks into a temporary root,
which is removed at the end, so the test is safe to run as root (as CI does) and in parallel.
"""

import gzip
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

CPACK, CPACK_CONFIG, SOURCE = sys.argv[1], sys.argv[2], Path(sys.argv[3])
sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, str(SOURCE / "tests" / "support"))
import pictures  # noqa: E402  (found through the path set just above)

# Pictures and their headers, shared with the end-to-end tests.
GOLDEN = SOURCE / "tests" / "golden"

# Installed path -> source file it must be a copy of.
INSTALLED_COPIES = {
    "usr/lib/quillbit/Blitview.h": "companion/Blitview.h",
    "usr/share/applications/quillbit.desktop": "packaging/quillbit.desktop",
    "usr/share/icons/hicolor/scalable/apps/quillbit.svg": "packaging/quillbit.svg",
    "usr/share/doc/quillbit/README.md": "README.md",
}


def golden_header(picture):
    return (GOLDEN / picture).with_suffix(".out").read_bytes()


def run(command, **options):
    return subprocess.run(command, capture_output=True, text=True, stdin=subprocess.DEVNULL,
                          timeout=60, **options)


def single_spaced(text):
    return re.sub(r"\s+", " ", text)


class InstalledPackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory(prefix="quillbit-package-")
        top = Path(cls.scratch.name)
        built = run([CPACK, "-G", "DEB", "--config", CPACK_CONFIG, "-B", str(top / "out")])
        if built.returncode != 0:
            raise AssertionError("cpack failed:\n" + built.stdout + built.stderr)
        debs = list((top / "out").glob("quillbit_*.deb"))
        if len(debs) != 1:
            raise AssertionError(f"expected one package, cpack made {debs}")
        cls.deb = debs[0]
        cls.root = top / "root"
        subprocess.run(["dpkg-deb", "-x", str(cls.deb), str(cls.root)], check=True)
        cls.env = dict(os.environ, PATH=f"{cls.root}/usr/bin:{os.environ['PATH']}")
        for display in ("DISPLAY", "WAYLAND_DISPLAY"):
            cls.env.pop(display, None)

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def setUp(self):
        self.folder = Path(tempfile.mkdtemp(dir=self.scratch.name, prefix="pictures-"))

    def quillbit(self, *arguments):
        return run(["quillbit", *arguments], cwd=self.folder, env=self.env)

    def control(self, field):
        return run(["dpkg-deb", "-f", str(self.deb), field]).stdout.strip()

    def test_control_names_the_libraries_box_needs_and_this_architecture(self):
        depends = self.control("Depends")
        # xfonts-base: without the X core fonts SDL's own box never appears.
        for package in ("libsdl2-2.0-0", "xfonts-base", "libpng16-16", "libgif7",
                        "libjpeg62-turbo", "libtiff6", "libwebp7"):
            self.assertRegex(depends, rf"(^|, ){re.escape(package)}( |,|$)")
        self.assertNotIn("libsdl2-image", depends)
        self.assertRegex(self.control("Recommends"), r"(^|, )zenity( |,|$)")
        architecture = run(["dpkg", "--print-architecture"]).stdout.strip()
        self.assertEqual(self.control("Architecture"), architecture)
        self.assertEqual(self.control("Package"), "quillbit")

    def test_terminal_program_loads_no_desktop_or_sound_library(self):
        loaded = run(["ldd", shutil.which("quillbit", path=self.env["PATH"])]).stdout
        for library in ("libSDL2", "libX11", "libwayland", "libasound", "libpulse"):
            self.assertNotIn(library, loaded)
        self.assertIn("libpng16", loaded)
        desktop = shutil.which("quillbitw", path=self.env["PATH"])
        self.assertIn("libSDL2", run(["ldd", desktop]).stdout)

    def test_installed_files_are_copies_of_the_sources(self):
        for installed, source in INSTALLED_COPIES.items():
            with self.subTest(installed=installed):
                path = self.root / installed
                self.assertTrue(path.is_file() and not path.is_symlink(), installed)
                self.assertEqual(path.read_bytes(), (SOURCE / source).read_bytes())

    def test_manual_page_is_compressed_and_serves_both_programs(self):
        man = self.root / "usr/share/man/man1"
        page = gzip.decompress((man / "quillbit.1.gz").read_bytes())
        self.assertEqual(page, (SOURCE / "packaging/quillbit.1").read_bytes())
        self.assertEqual(os.readlink(man / "quillbitw.1.gz"), "quillbit.1.gz")
        self.assertEqual(gzip.decompress((man / "quillbit-check.1.gz").read_bytes()),
                         (SOURCE / "packaging/quillbit-check.1").read_bytes())

    def test_bin_links_are_relative_and_lead_into_the_program_folder(self):
        for program in ("quillbit", "quillbitw", "quillbit-check"):
            with self.subTest(program=program):
                link = self.root / "usr/bin" / program
                self.assertEqual(os.readlink(link), f"../lib/quillbit/{program}")
                self.assertTrue(os.access(link.resolve(), os.X_OK))

    def test_installed_quillbit_converts_pictures_and_installs_the_companion(self):
        (self.folder / "art").mkdir()
        shutil.copy(GOLDEN / "ship.png", self.folder)
        shutil.copy(GOLDEN / "ball.bmp", self.folder / "art")
        result = self.quillbit("ship.png", "art/ball.bmp")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout, "Quillbit - ship.png\nDimensions: 16 by 2\nSpriteType: 16\n"
                                        "Quillbit - ball.bmp\nDimensions: 8 by 8\nSpriteType: 8\n")
        self.assertEqual((self.folder / "ship.h").read_bytes(), golden_header("ship.png"))
        self.assertEqual((self.folder / "art/ball.h").read_bytes(), golden_header("ball.bmp"))
        companion = (SOURCE / "companion/Blitview.h").read_bytes()
        self.assertEqual((self.folder / "art/Blitview.h").read_bytes(), companion)
        self.assertFalse((self.folder / "Blitview.h").exists(), "only beside the last picture")

    def test_installed_quillbit_check_finds_the_header_quillbit_wrote_up_to_date(self):
        shutil.copy(GOLDEN / "ship.png", self.folder)
        self.assertEqual(self.quillbit("ship.png").returncode, 0)
        result = run(["quillbit-check", "ship.png"], cwd=self.folder, env=self.env)
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        self.assertTrue(result.stdout.endswith("\nship.h: up to date\n"), result.stdout)
        loaded = run(["ldd", shutil.which("quillbit-check", path=self.env["PATH"])]).stdout
        self.assertNotIn("libSDL2", loaded)

    def test_launcher_command_converts_the_files_dropped_onto_it(self):
        entry = (self.root / "usr/share/applications/quillbit.desktop").read_text()
        command = re.search(r"^Exec=(.*)$", entry, re.MULTILINE).group(1).split()
        self.assertIn("%F", command, "dropped files must arrive as plain paths")
        shutil.copy(GOLDEN / "my ship.bmp", self.folder)
        dropped = [str(self.folder / "my ship.bmp")]
        expanded = [part for word in command for part in (dropped if word == "%F" else [word])]
        # Without a display the boxes fall back to the terminal, so no window is needed here.
        result = run(expanded, cwd="/", env=self.env)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("Quillbit - my ship.bmp", result.stdout)
        self.assertEqual((self.folder / "my ship.h").read_bytes(), golden_header("my ship.bmp"))
        self.assertTrue((self.folder / "Blitview.h").is_file())

    def user_error_cases(self):
        pictures.write(self.folder / "wide.png", pictures.filled(12, 2))
        return [("no pictures", []), ("quote in a name", ['a"b.png']),
                ("width 12", ["wide.png"])]

    def test_user_errors_end_with_status_2_and_messages_the_manual_quotes(self):
        manual = single_spaced(run(
            ["groff", "-t", "-man", "-Tutf8", "-rLL=2000n", "-P-cbou",
             str(SOURCE / "packaging/quillbit.1")]).stdout)
        for name, arguments in self.user_error_cases():
            with self.subTest(case=name):
                result = self.quillbit(*arguments)
                self.assertEqual(result.returncode, 2, result.stderr)
                self.assertTrue(result.stderr.strip())
                for line in result.stderr.strip().splitlines():
                    self.assertIn(single_spaced(line), manual)
                self.assertFalse((self.folder / "Blitview.h").exists())

    def test_missing_picture_ends_with_status_1_naming_the_file(self):
        result = self.quillbit("absent.png")
        self.assertEqual(result.returncode, 1)
        self.assertRegex(result.stderr, r'^quillbit: cannot read picture "absent.png": ')


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
