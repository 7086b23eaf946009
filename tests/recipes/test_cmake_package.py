"""quillbit's CMake package on its own, installed into a scratch prefix and moved: the
versions it answers, where its imported programs lie, and the pictures
quillbit_add_sprites() refuses before anything is built.
"""

import re
import tempfile
import unittest
from pathlib import Path

from sample_game import CMAKE, install_quillbit, run

PROJECT = """cmake_minimum_required(VERSION 3.16)
project(probe LANGUAGES NONE)
{body}
"""
GAME = "find_package(quillbit 1.0 REQUIRED)\nadd_executable(game game.c)\n"

# What quillbit_add_sprites() refuses, and the words it refuses it with.
REFUSALS = [
    ("no pictures", "quillbit_add_sprites(game)",
     "quillbit_add_sprites(game): no pictures named"),
    ("a picture named twice, in two calls",
     "quillbit_add_sprites(game art/ship.png)\nquillbit_add_sprites(game art/ship.png)",
     "quillbit_add_sprites(game): art/ship.png is named twice"),
    ("two pictures that make one header", "quillbit_add_sprites(game art/ship.png art/ship.gif)",
     "art/ship.png and art/ship.gif would both make art/ship.h; rename one of them"),
    ("two pictures whose headers are one in characters, not in bytes",
     "quillbit_add_sprites(game grün gabc)", "grün and gabc would both make gh"),
    ("a picture whose header is the companion's", "quillbit_add_sprites(game Blitview.png)",
     "the companion header and Blitview.png would both make Blitview.h"),
    ("a picture outside the folders", "quillbit_add_sprites(game ../ship.png)",
     "ship.png lies outside"),
    ("a double quote", r'quillbit_add_sprites(game "art/say \"hi\".png")',
     'the picture art/say "hi".png, whose name holds a double quote'),
    ("a name shorter than what quillbit cuts off", "quillbit_add_sprites(game art/ab)",
     'the picture name "ab" is too short'),
    ("no such target", "quillbit_add_sprites(nothing ship.png)",
     'quillbit_add_sprites: there is no target "nothing"'),
    ("a target that compiles nothing",
     "add_custom_target(tools)\nquillbit_add_sprites(tools ship.png)",
     "sprites go to a program or library this project compiles, and tools is none"),
]


class CMakePackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory(prefix="quillbit-package-")
        cls.prefix = install_quillbit(cls.scratch.name, "moved quillbit")
        version_file = next(cls.prefix.glob("lib*/**/cmake/quillbit/quillbit-config-version.cmake"))
        cls.version = re.search(r'PACKAGE_VERSION "([0-9.]+)"', version_file.read_text()).group(1)

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def configure(self, body):
        """Configures a project of that body; its status, and its output on one line."""
        project = Path(tempfile.mkdtemp(dir=self.scratch.name, prefix="probe-"))
        (project / "CMakeLists.txt").write_text(PROJECT.format(body=body))
        result = run([CMAKE, "-S", project, "-B", project / "build",
                      f"-DCMAKE_PREFIX_PATH={self.prefix}"])
        return result.returncode, " ".join((result.stdout + result.stderr).split())

    def test_find_package_takes_this_major_version_from_the_requested_one_on(self):
        major, minor, _ = map(int, self.version.split("."))
        for request, found in ((f"{major}.{minor}", True), (f"{major}", True),
                               (f"{self.version} EXACT", True), (f"{major - 1}.9", False),
                               (f"{major}.{minor + 1}", False), (f"{major + 1}.0", False)):
            with self.subTest(request=request):
                status, output = self.configure(
                    f"find_package(quillbit {request})\n"
                    'if(quillbit_FOUND)\n  message(STATUS "quillbit found")\n'
                    'else()\n  message(STATUS "quillbit not found")\nendif()')
                self.assertEqual(status, 0, output)
                self.assertIn("quillbit found" if found else "quillbit not found", output)

    def test_imported_programs_lie_where_the_package_was_moved_to(self):
        status, output = self.configure(
            "find_package(quillbit 1.0 REQUIRED)\n"
            "foreach(program quillbit quillbit-check)\n"
            "  get_target_property(location quillbit::${program} IMPORTED_LOCATION)\n"
            '  message(STATUS "${program} at ${location}.")\nendforeach()')
        self.assertEqual(status, 0, output)
        for program in ("quillbit", "quillbit-check"):
            with self.subTest(program=program):
                self.assertIn(f"{program} at {self.prefix}/lib/quillbit/{program}.", output)

    def test_pictures_quillbit_cannot_convert_stop_the_configuration(self):
        for case, calls, message in REFUSALS:
            with self.subTest(case=case):
                status, output = self.configure(GAME + calls)
                self.assertNotEqual(status, 0, output)
                self.assertIn("CMake Error", output)
                self.assertIn(message, output)


if __name__ == "__main__":
    unittest.main()
