"""The npm package as builds use it: the sample game built against it with
quillbit_add_sprites() and with README's Make recipe, and convertPicture() through require
and import, each held against the native quillbit.

QUILLBIT_NODE_PREFIX names the npm prefix the package was installed into, QUILLBIT_LINUX
the native program.
"""

import json
import os
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "recipes"))
from sample_game import (GAME_OUTPUT, GOLDEN, checked, expected_header, make_sample,  # noqa: E402
                         pictures, run)
from test_build_recipes import CMakeBuild, MakeRecipe  # noqa: E402

PREFIX = Path(os.environ.get("QUILLBIT_NODE_PREFIX", ""))
NATIVE = os.environ.get("QUILLBIT_LINUX", "")
NODE = os.environ.get("QUILLBIT_TEST_NODE", "node")

# Both module systems, each printing what convertPicture() gave for every picture named.
PRINT = ("console.log(JSON.stringify(process.argv.slice(2).map("
         "(name) => convertPicture(fs.readFileSync(name), name))));\n")
CALLERS = {
    "call.cjs": "const fs = require('fs');\nconst { convertPicture } = require('quillbit');\n",
    "call.mjs": "import fs from 'fs';\nimport { convertPicture } from 'quillbit';\n",
}


class NodePackage(unittest.TestCase):
    def setUp(self):
        self.assertTrue(PREFIX.is_dir() and NATIVE, "QUILLBIT_NODE_PREFIX and QUILLBIT_LINUX")
        self.scratch = Path(tempfile.mkdtemp(prefix="quillbit-node-"))
        self.addCleanup(checked, ["rm", "-rf", self.scratch])

    def test_the_sample_game_builds_against_the_package(self):
        builders = {
            "quillbit_add_sprites()": lambda project: CMakeBuild(
                project, PREFIX / "lib" / "node_modules", "Unix Makefiles"),
            "README's Make recipe": lambda project: MakeRecipe(project, PREFIX),
        }
        for name, builder in builders.items():
            with self.subTest(builder=name):
                project = make_sample(self.scratch / name.split("'")[0] / "sample game")
                build = builder(project)
                result = run(build.command, build.cwd)
                self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
                for picture, header in build.headers.items():
                    expected = expected_header(picture.replace("exported/", "sprites/"),
                                               PREFIX, self.scratch)
                    self.assertEqual(header.read_bytes(), expected, picture)
                self.assertEqual(checked([build.game]).stdout, GAME_OUTPUT)

    def test_convert_picture_gives_what_quillbit_writes(self):
        (self.scratch / "ship.png").write_bytes((GOLDEN / "ship.png").read_bytes())
        pictures.write(self.scratch / "odd.png", pictures.filled(12, 2, pictures.BLACK))
        names = ["ship.png", "odd.png"]
        expected = [self.native(name) for name in names]
        (self.scratch / "node_modules").mkdir()
        (self.scratch / "node_modules" / "quillbit").symlink_to(
            PREFIX / "lib" / "node_modules" / "quillbit")
        for script, imports in CALLERS.items():
            with self.subTest(script=script):
                (self.scratch / script).write_text(imports + PRINT)
                done = checked([NODE, script, *names], self.scratch)
                given = [{key: result.get(key) for key in ("status", "header", "error")}
                         for result in json.loads(done.stdout)]
                self.assertEqual(given, expected)

    def native(self, name):
        """What the native quillbit does with the picture, alone in a folder of its own."""
        folder = self.scratch / "native" / name
        folder.mkdir(parents=True)
        (folder / name).write_bytes((self.scratch / name).read_bytes())
        done = subprocess.run([NATIVE, name], cwd=folder, capture_output=True, text=True,
                              stdin=subprocess.DEVNULL, timeout=60)
        header = folder / (name[:-3] + "h")
        return {"status": done.returncode,
                "header": header.read_bytes().decode() if header.exists() else None,
                "error": done.stderr.rstrip("\n") or None}


if __name__ == "__main__":
    unittest.main()
