"""The recipes of README's "In your build" building the sample game with -j8 against
quillbit installed into a scratch prefix: quillbit_add_sprites() with the Ninja and the
Makefile generators, and the Make recipe, taken from README.md itself.
"""

import os
import re
import shutil
import tempfile
import time
import unittest
from pathlib import Path

from sample_game import (CMAKE, COMPANION, GAME_OUTPUT, PICTURES, SOURCE, checked,
                         expected_header, git_status, header_name, install_quillbit,
                         make_sample, readme_make_recipe, run)
from hostile_names import NAMES  # noqa: I100  (found through sample_game's path)

# Every hostile name as a picture beside the Makefile, which both recipes take with a
# wildcard; for CMake also one named like quillbit's option.
HOSTILE = {f"{stem}.png": ["#......."] for stem in NAMES}
WILDCARD = " $(wildcard *.png)"
# What Make itself cannot take: white space splits a name, the others mean rules. A CMake
# list cannot hold a semicolon or an unpaired bracket, nor Ninja's files a line break.
MAKE_REFUSES = set(" \t\r\n;:=%#\\")
CMAKE_REFUSES = {";", "[", "]", "\r", "\n"}


def taken_by(refused):
    return {picture: rows for picture, rows in HOSTILE.items() if not refused & set(picture)}


# What the Make recipe must stop at, with the words it stops with.
MAKE_STOPS = [("two pictures, one header", {"sprites/ship.gif": "ship.png"}, " sprites/ship.gif",
               "sprites/ship.png sprites/ship.gif would write one header"),
              ("a picture outside", {}, " sprites/../../../ship.png",
               "sprites/../../../ship.png: Make cannot take this name")]
MAKE_STOPS += [(repr(picture), {picture: rows}, WILDCARD, "")
               for picture, rows in HOSTILE.items() if MAKE_REFUSES & set(picture)]


class CMakeBuild:
    """quillbit_add_sprites() through one generator, in a build folder beside the sample."""

    PREFIX = "installed quillbit"  # a blank in every path the package gives
    STATUS = []  # nothing new in the sample's folder, not even an ignored file
    REPORTED = ""  # quillbit's report names a picture as CMakeLists.txt does

    def __init__(self, project, prefix, generator):
        folder = project.parent / "build"
        self.root, self.game = folder / "quillbit_sprites" / "game", folder / "game"
        self.command, self.cwd = [CMAKE, "--build", folder, "-j", "8"], None
        # exported/ship.png is made during the build.
        self.headers = {picture: self.root / header_name(picture)
                        for picture in [*PICTURES, "exported/ship.png"]}
        checked([CMAKE, "-S", project, "-B", folder, "-G", generator,
                 f"-DCMAKE_PREFIX_PATH={prefix}"])


class MakeRecipe:
    """README's Makefile, as it stands there, in the sample's folder (make_sample puts it)."""

    PREFIX = "quillbit-prefix"  # Make takes no blanks, in quillbit's path neither
    STATUS = ["?? build/"]
    REPORTED = "build/sprites/"

    def __init__(self, project, prefix):
        self.root, self.game = project / "build" / "sprites", project / "build" / "game"
        self.command = ["make", "-j8", f"QUILLBIT={prefix / 'bin' / 'quillbit'}"]
        self.cwd = project
        recipe = (project / "Makefile").read_text()
        sprites = re.search(r"^SPRITES\s*:=(.*)$", recipe, re.MULTILINE).group(1).split()
        self.headers = {picture: self.root / header_name(picture) for picture in sprites}


# Each builder's name, its class and what else it takes.
BUILDERS = [
    ("CMake, Ninja", CMakeBuild, ["Ninja"]),
    ("CMake, Unix Makefiles", CMakeBuild, ["Unix Makefiles"]),
    ("README's Make recipe", MakeRecipe, []),
]
PREFIXES = {CMakeBuild.PREFIX, MakeRecipe.PREFIX}


def modified(headers):
    return {header: header.stat().st_mtime_ns for header in headers}


class BuildRecipes(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory(prefix="quillbit-recipes-")
        cls.prefixes = {name: install_quillbit(cls.scratch.name, name) for name in PREFIXES}
        cls.expected = {picture: expected_header(picture, cls.prefixes[MakeRecipe.PREFIX],
                                                 cls.scratch.name) for picture in PICTURES}
        cls.expected["exported/ship.png"] = cls.expected["sprites/ship.png"]

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def new_build(self, builder, options, more=None, sprites=""):
        """A builder on a fresh copy of the sample (in a folder with a blank in its name)."""
        folder = Path(tempfile.mkdtemp(dir=self.scratch.name, prefix="game-"))
        project = make_sample(folder / "sample game", more, sprites)
        return builder(project, self.prefixes[builder.PREFIX], *options), project

    def assert_builds(self, build):
        result = run(build.command, build.cwd)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        return result

    def test_build_converts_each_picture_in_the_build_tree_only(self):
        for name, builder, options in BUILDERS:
            with self.subTest(builder=name):
                build, project = self.new_build(builder, options)
                self.assert_builds(build)
                for picture, header in build.headers.items():
                    self.assertEqual(header.read_bytes(), self.expected[picture], picture)
                folders = {build.root} | {header.parent for header in build.headers.values()}
                for folder in folders:
                    self.assertEqual((folder / "Blitview.h").read_bytes(), COMPANION, folder)
                self.assertEqual(checked([build.game]).stdout, GAME_OUTPUT)
                self.assertEqual(git_status(project), build.STATUS)

    def test_touching_one_picture_converts_only_that_picture_again(self):
        for name, builder, options in BUILDERS:
            with self.subTest(builder=name):
                build, project = self.new_build(builder, options)
                self.assert_builds(build)
                headers = build.headers
                before = modified(headers.values())
                self.assert_builds(build)
                self.assertEqual(modified(headers.values()), before, "nothing changed")
                time.sleep(0.05)  # past the file system's clock tick
                os.utime(project / "enemies" / "ship.png")
                self.assert_builds(build)
                after = modified(headers.values())
                converted = {picture for picture, header in headers.items()
                             if after[header] != before[header]}
                self.assertEqual(converted, {"enemies/ship.png"})
                self.assertEqual(checked([build.game]).stdout, GAME_OUTPUT)

    def test_broken_picture_fails_each_build_with_quillbit_naming_it_until_mended(self):
        for name, builder, options in BUILDERS:
            with self.subTest(builder=name):
                build, project = self.new_build(builder, options)
                self.assert_builds(build)
                picture = project / "sprites" / "ball.bmp"
                good = picture.read_bytes()
                picture.write_bytes(b"no picture, a note\n")
                report = (f'quillbit: cannot read picture "{build.REPORTED}sprites/ball.bmp": '
                          "not a picture format quillbit reads")
                for attempt in ("the build after the change", "the build after that"):
                    result = run(build.command, build.cwd)
                    self.assertNotEqual(result.returncode, 0, attempt)
                    self.assertIn(report, result.stdout + result.stderr, attempt)
                picture.write_bytes(good)
                self.assert_builds(build)
                self.assertEqual(build.headers["sprites/ball.bmp"].read_bytes(),
                                 self.expected["sprites/ball.bmp"])

    def test_hostile_names_are_only_pictures_or_stop_the_make_recipe(self):
        taken = {MakeRecipe: taken_by(MAKE_REFUSES),
                 CMakeBuild: {**taken_by(CMAKE_REFUSES), "--help": ["#......."]}}
        builds = [(name, builder, options, taken[builder], None)
                  for name, builder, options in BUILDERS]
        builds += [("Make, " + case, MakeRecipe, [], more, (sprites, words))
                   for case, more, sprites, words in MAKE_STOPS]
        for name, builder, options, more, stop in builds:
            with self.subTest(builder=name):
                build, project = self.new_build(builder, options, more, stop[0] if stop else
                                                WILDCARD)
                result = run(build.command, build.cwd)
                self.assertEqual(result.returncode != 0, bool(stop), result.stdout + result.stderr)
                self.assertIn(stop[1] if stop else "", result.stderr)
                self.assertEqual(sorted(project.parent.rglob("PWNED")), [])
                self.assertLessEqual({path.name for path in project.parent.iterdir()},
                                     {"build", "sample game"})
                for picture, rows in () if stop else more.items():
                    self.assertEqual((build.root / header_name(picture)).read_bytes(),
                                     expected_header(picture, self.prefixes[MakeRecipe.PREFIX],
                                                     self.scratch.name, rows), picture)


class ReadmeRecipe(unittest.TestCase):
    def test_manual_page_shows_the_make_recipe_of_the_readme(self):
        if not shutil.which("groff"):
            self.skipTest("groff is missing (Debian package groff-base)")
        page = checked(["groff", "-t", "-man", "-Tutf8", "-P-cbou",
                        SOURCE / "packaging" / "quillbit.1"]).stdout
        shown = " | ".join(line.strip() for line in page.splitlines() if line.strip())
        recipe = " | ".join(line.strip() for line in readme_make_recipe().splitlines()
                            if line.strip())
        self.assertIn(recipe, shown)


if __name__ == "__main__":
    unittest.main()
