"""What the recipe suites share: quillbit installed from the build under test into a
scratch prefix, the sample game of sample/ with its pictures, and commands run apart from
any make above them.

QUILLBIT_BUILD names the build folder to install from, QUILLBIT_CMAKE the cmake to run.
"""

import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
SOURCE = HERE.parent.parent
sys.path.insert(0, str(SOURCE / "tests" / "support"))
import pictures  # noqa: E402  (found through the path set just above)

BUILD = os.environ.get("QUILLBIT_BUILD", "")
CMAKE = os.environ.get("QUILLBIT_CMAKE", "cmake")
GOLDEN = SOURCE / "tests" / "golden"
COMPANION = (SOURCE / "companion" / "Blitview.h").read_bytes()

# The sample's pictures: where they go, and a golden picture or the rows drawn here.
# Two ships of one name in different folders; a folder and a name with a blank.
PICTURES = {
    "sprites/ship.png": "ship.png",
    "sprites/ball.bmp": "ball.bmp",
    "enemies/ship.png": ["..####..", ".######.", "#.#..#.#"],
    "art work/my ship.bmp": "my ship.bmp",
}
# What the sample game prints of the sprites it includes.
GAME_OUTPUT = ("sprites/ship 16x2: 10 pixels\n"
               "sprites/ball 8x8: 8 pixels\n"
               "enemies/ship 8x3: 14 pixels\n")

# A make above this one (`make test`) hands its job server down through these; the builds
# here choose their own -j.
ENVIRONMENT = {name: value for name, value in os.environ.items()
               if name not in ("MAKEFLAGS", "MFLAGS", "MAKELEVEL")}


def run(command, cwd=None):
    return subprocess.run([str(part) for part in command], cwd=cwd, env=ENVIRONMENT,
                          capture_output=True, text=True, stdin=subprocess.DEVNULL, timeout=300)


def checked(command, cwd=None):
    result = run(command, cwd)
    if result.returncode != 0:
        raise AssertionError(f"{' '.join(map(str, command))} failed with status "
                             f"{result.returncode}:\n{result.stdout}{result.stderr}")
    return result


def install_quillbit(folder, name):
    """What the quillbit package holds (install component `terminal`), installed from the
    build and then moved to folder/name, so that the package has to find itself."""
    if not BUILD:
        raise AssertionError("QUILLBIT_BUILD must name the quillbit build folder")
    staged = Path(folder) / "staged"
    checked([CMAKE, "--install", BUILD, "--prefix", staged, "--component", "terminal"])
    prefix = Path(folder) / name
    staged.rename(prefix)
    return prefix


def header_name(picture):
    """quillbit's rule: the picture's path less its last three characters, plus "h"."""
    return picture[:-3] + "h"


def write_picture(path, origin):
    path.parent.mkdir(parents=True, exist_ok=True)
    if isinstance(origin, str):
        shutil.copy(GOLDEN / origin, path)
    else:
        pictures.write(path, [[pictures.BLACK if pixel == "#" else pictures.WHITE
                               for pixel in row] for row in origin])


def expected_header(picture, prefix, scratch, origin=None):
    """The golden header of a golden picture; of a drawn one, what the installed quillbit
    writes for it on its own."""
    origin = origin or PICTURES[picture]
    if isinstance(origin, str):
        return (GOLDEN / origin).with_suffix(".out").read_bytes()
    alone = Path(scratch) / "alone" / Path(picture).name
    write_picture(alone, origin)
    checked([prefix / "bin" / "quillbit", alone])
    return Path(header_name(str(alone))).read_bytes()


def readme_make_recipe():
    section = (SOURCE / "README.md").read_text().split("\n## In your build\n")[1]
    section = section.split("\n## ")[0]
    return re.search(r"```make\n(.*?)```", section, re.DOTALL).group(1)


def make_sample(project, more=None, sprites=""):
    """The sample game with its pictures (and more pictures) and the Makefile of README.md
    (with sprites added to its SPRITES) in the folder project, committed to a fresh git
    repository, so that `git status` shows whatever a build adds."""
    shutil.copytree(HERE / "sample", project)
    (project / "Makefile").write_text(re.sub(r"^SPRITES\s*:=.*$", lambda line: line[0] + sprites,
                                             readme_make_recipe(), count=1, flags=re.MULTILINE))
    for place, origin in {**PICTURES, **(more or {})}.items():
        write_picture(project / place, origin)
    git = ["git", "-c", "user.name=quillbit tests", "-c", "user.email=tests@quillbit.invalid"]
    for command in (["init", "-q"], ["add", "-A"], ["commit", "-q", "-m", "sample game"]):
        checked(git + command, project)
    return project


def git_status(project):
    return checked(["git", "status", "--porcelain", "--ignored"], project).stdout.splitlines()
