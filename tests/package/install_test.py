"""Builds the two Debian packages, unpacks them into a fresh root and runs the installed
programs; asks apt what installing each would bring.

Usage: install_test.py CPACK CPACK_CONFIG SOURCE_DIR

Nothing is installed on the machine itself: `dpkg-deb -x` unpacks into a temporary root,
which is removed at the end, and apt only simulates, from an empty package database, so
the test is safe to run as root (as CI does) and in parallel.
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

# Each package's files (links end in "@") and, for copies, the source file.
PACKAGES = {
    "quillbit": {
        "usr/bin/quillbit@": None,
        "usr/lib/quillbit/quillbit": None,
        "usr/lib/quillbit/Blitview.h": "companion/Blitview.h",
        **{"usr/lib/quillbit/quillbit-levels." + extension: None
           for extension in ("gpl", "pal", "hex", "act", "txt")},
        "usr/share/man/man1/quillbit.1.gz": None,
        "usr/bin/quillbit-check@": None,
        "usr/lib/quillbit/quillbit-check": None,
        "usr/share/man/man1/quillbit-check.1.gz": None,
        "usr/share/doc/quillbit/README.md": "README.md",
        "usr/share/quillbit/quillbit.html": "build-web/quillbit.html",
        "usr/share/doc/quillbit/copyright": "packaging/debian/copyright",
        "usr/share/doc/quillbit/changelog.gz": None,
        "usr/lib/cmake/quillbit/quillbit-config.cmake": None,
        "usr/lib/cmake/quillbit/quillbit-config-version.cmake": None,
        "usr/lib/cmake/quillbit/quillbit-sprites.cmake": "packaging/cmake/quillbit-sprites.cmake",
    },
    "quillbit-desktop": {
        "usr/bin/quillbitw@": None,
        "usr/lib/quillbit/quillbitw": None,
        "usr/share/applications/quillbit.desktop": "packaging/quillbit.desktop",
        "usr/share/icons/hicolor/scalable/apps/quillbit.svg": "packaging/quillbit.svg",
        "usr/share/metainfo/org.example.quillbit.metainfo.xml":
            "packaging/org.example.quillbit.metainfo.xml",
        "usr/share/man/man1/quillbitw.1.gz@": None,
        "usr/share/doc/quillbit-desktop/copyright": "packaging/debian/copyright",
        "usr/share/doc/quillbit-desktop/changelog.gz": None,
    },
}
# What a build machine that wants only the terminal program must not get: SDL, X11,
# Wayland, OpenGL and sound libraries, X fonts.
DESKTOP_STACK = re.compile(r"^(libsdl|libx|libwayland|libdecor|libgl|libegl|libdrm|libgbm|"
                           r"libasound|libpulse|libpipewire|libjack|libsndfile|xfonts-|x11-)")


def golden_header(picture):
    return (GOLDEN / picture).with_suffix(".out").read_bytes()


def run(command, **options):
    return subprocess.run(command, capture_output=True, text=True, stdin=subprocess.DEVNULL,
                          timeout=60, **options)


def single_spaced(text):
    return re.sub(r"\s+", " ", text)


def simulated_install(*debs):
    """The packages apt would install for these .deb files on a machine with none installed
    (an empty package database, the machine's package lists), recommended ones included."""
    with tempfile.TemporaryDirectory(prefix="quillbit-apt-") as scratch:
        status = Path(scratch) / "status"
        status.touch()
        result = run(["apt-get", "--simulate", "-q", "-o", f"Dir::State::status={status}",
                      "-o", "Debug::NoLocking=1", "-o", "APT::Install-Recommends=true",
                      "-o", "Dir::Cache::pkgcache=", "-o", "Dir::Cache::srcpkgcache=",
                      "install", *map(str, debs)])
    if result.returncode != 0:
        raise AssertionError("apt cannot resolve the packages (are its package lists there? "
                             "apt-get update fetches them):\n" + result.stdout + result.stderr)
    return {line.split()[1] for line in result.stdout.splitlines() if line.startswith("Inst ")}


class InstalledPackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory(prefix="quillbit-package-")
        top = Path(cls.scratch.name)
        built = run([CPACK, "-G", "DEB", "--config", CPACK_CONFIG, "-B", str(top / "out")])
        if built.returncode != 0:
            raise AssertionError("cpack failed:\n" + built.stdout + built.stderr)
        cls.debs = {path.name.split("_")[0]: path for path in (top / "out").glob("*.deb")}
        if sorted(cls.debs) != sorted(PACKAGES):
            raise AssertionError(f"expected the packages {sorted(PACKAGES)}, cpack made {cls.debs}")
        cls.root = top / "root"
        for deb in cls.debs.values():
            subprocess.run(["dpkg-deb", "-x", str(deb), str(cls.root)], check=True)
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

    def control(self, package, field):
        return run(["dpkg-deb", "-f", str(self.debs[package]), field]).stdout.strip()

    def assert_relation(self, package, field, names):
        for name in names:
            self.assertRegex(self.control(package, field), rf"(^|, ){re.escape(name)}( |,|$)")

    def test_each_package_holds_its_files_and_only_those(self):
        for package, files in PACKAGES.items():
            with self.subTest(package=package):
                listing = run(["dpkg-deb", "-c", str(self.debs[package])]).stdout.splitlines()
                held = {line.split()[5][2:] + ("@" if line.startswith("l") else "")
                        for line in listing if not line.startswith("d")}
                self.assertEqual(held, set(files))

    def test_installed_files_are_copies_of_the_sources(self):
        for package, files in PACKAGES.items():
            for installed, source in files.items():
                if source:
                    with self.subTest(installed=installed):
                        path = self.root / installed
                        self.assertTrue(path.is_file() and not path.is_symlink(), installed)
                        self.assertEqual(path.read_bytes(), (SOURCE / source).read_bytes())

    def test_copyright_states_the_licence_of_license_word_for_word(self):
        copyright_text = (SOURCE / "packaging/debian/copyright").read_text()
        paragraph = copyright_text.split("\nLicense: MIT\n")[-1]
        body = "\n".join("" if line == " ." else line[1:] for line in paragraph.splitlines())
        licence = (SOURCE / "LICENSE").read_text()
        self.assertEqual(body.strip(), licence.split("\n", 4)[4].strip())
        self.assertIn("Copyright: 2026 the quillbit developers", copyright_text)
        self.assertIn("Copyright (c) 2026 the quillbit developers", licence)

    def test_changelog_is_compressed_and_names_this_version(self):
        source = (SOURCE / "packaging/debian/changelog").read_bytes()
        for package in PACKAGES:
            with self.subTest(package=package):
                changelog = self.root / f"usr/share/doc/{package}/changelog.gz"
                self.assertEqual(gzip.decompress(changelog.read_bytes()), source)
                version = self.control(package, "Version")
                self.assertTrue(source.startswith(f"quillbit ({version}) ".encode()))

    def test_control_fields_split_the_terminal_program_from_the_desktop(self):
        architecture = run(["dpkg", "--print-architecture"]).stdout.strip()
        for package, section in (("quillbit", "devel"), ("quillbit-desktop", "graphics")):
            with self.subTest(package=package):
                self.assertEqual(self.control(package, "Package"), package)
                self.assertEqual(self.control(package, "Section"), section)
                self.assertEqual(self.control(package, "Architecture"), architecture)
        self.assert_relation("quillbit", "Depends", ["libpng16-16", "libgif7", "libjpeg62-turbo",
                                                     "libtiff6", "libwebp7"])
        self.assertNotRegex(self.control("quillbit", "Depends"), r"sdl|xfonts")
        version = self.control("quillbit", "Version")
        self.assert_relation("quillbit-desktop", "Depends",
                             [f"quillbit (= {version})", "libsdl2-2.0-0"])
        # The box's fonts and zenity: recommended, with the reason in debian_package.cmake.
        self.assert_relation("quillbit-desktop", "Recommends", ["xfonts-base", "zenity"])
        self.assertNotIn("xfonts", self.control("quillbit-desktop", "Depends"))

    def test_installing_quillbit_alone_brings_no_desktop_or_sound_library(self):
        terminal = simulated_install(self.debs["quillbit"])
        self.assertIn("libpng16-16", terminal)
        self.assertEqual(sorted(filter(DESKTOP_STACK.match, terminal)), [])
        # The same question about the desktop package does find them, so the check above
        # is not empty for want of a package list.
        desktop = simulated_install(self.debs["quillbit"], self.debs["quillbit-desktop"])
        self.assertTrue({"libsdl2-2.0-0", "libx11-6", "xfonts-base"} <= desktop, desktop)

    def test_terminal_program_loads_no_desktop_or_sound_library(self):
        loaded = run(["ldd", shutil.which("quillbit", path=self.env["PATH"])]).stdout
        for library in ("libSDL2", "libX11", "libwayland", "libasound", "libpulse"):
            self.assertNotIn(library, loaded)
        self.assertIn("libpng16", loaded)
        desktop = shutil.which("quillbitw", path=self.env["PATH"])
        self.assertIn("libSDL2", run(["ldd", desktop]).stdout)

    def test_software_centre_entry_validates_with_the_installed_launcher(self):
        """appstreamcli also checks the metainfo against the launcher and icon beside it."""
        result = run(["appstreamcli", "validate-tree", "--no-net", "--strict", str(self.root)])
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        metainfo = (self.root / "usr/share/metainfo/org.example.quillbit.metainfo.xml").read_text()
        version = self.control("quillbit-desktop", "Version")
        self.assertRegex(metainfo, rf'<releases>\s*<release version="{re.escape(version)}"')

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

    def test_cmake_package_finds_the_programs_of_the_root_it_was_unpacked_into(self):
        (self.folder / "CMakeLists.txt").write_text(
            "cmake_minimum_required(VERSION 3.16)\nproject(probe LANGUAGES NONE)\n"
            "find_package(quillbit 1.0 REQUIRED)\n"
            "get_target_property(location quillbit::quillbit IMPORTED_LOCATION)\n"
            'message(STATUS "quillbit at ${location}.")\n')
        result = run([str(Path(CPACK).with_name("cmake")), "-S", str(self.folder),
                      "-B", str(self.folder / "build"), f"-DCMAKE_PREFIX_PATH={self.root}/usr"])
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertIn(f"quillbit at {self.root}/usr/lib/quillbit/quillbit.", result.stdout)

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
