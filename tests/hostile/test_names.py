"""Pictures with hostile names through quillbit and quillbit-check: what a person reads
(standard error always, quillbit's information on a terminal, every line of
quillbit-check) holds no control character of the name, while quillbit's information to
a pipe keeps the name byte for byte. QUILLBIT_CHECK names quillbit-check."""

import os
import pty
import subprocess
import unittest

from hostile import FolderTest, pictures
from hostile_names import NAMES, controls_in

CHECK = os.environ.get("QUILLBIT_CHECK", "")


def shown(command, cwd, terminal):
    """Runs command with standard output on a pseudo-terminal or a pipe (a drawing in
    plain characters); returns its status and both streams."""
    main, side = pty.openpty() if terminal else os.pipe()
    process = subprocess.Popen(command, cwd=cwd, stdin=subprocess.DEVNULL, stdout=side,
                               stderr=subprocess.PIPE, env=dict(os.environ, NO_COLOR="1"))
    os.close(side)
    out = b""
    try:
        while chunk := os.read(main, 65536):
            out += chunk
    except OSError:  # the terminal is gone with the program
        pass
    os.close(main)
    err = process.communicate(timeout=60)[1]
    return process.returncode, out.decode("utf-8", "replace"), err.decode("utf-8", "replace")


class HostileNames(FolderTest):
    def test_names_reach_a_person_escaped_and_a_pipe_as_they_are(self):
        if not CHECK:
            self.skipTest("QUILLBIT_CHECK is not set")
        for stem in NAMES:
            name = stem + ".png"
            pictures.write(self.path(name), pictures.filled(8, 1, pictures.BLACK))
            piped = shown([os.environ["QUILLBIT"], name], self.folder, False)
            self.assertEqual(piped, (0, f"Quillbit - {name}\nDimensions: 8 by 1\nSpriteType: 8\n",
                                     ""), stem)
            self.assertTrue(os.path.exists(self.path(stem + ".h")), stem)
            self.assert_escaped(stem, [[os.environ["QUILLBIT"], name], [CHECK, "./" + name]], True)
            self.assert_escaped(stem, [[CHECK, "-x" + name]], False)
            with open(self.path(name), "wb") as broken:
                broken.write(b"no picture\n")
            self.assert_escaped(stem, [[os.environ["QUILLBIT"], name], [CHECK, "./" + name]], False)

    def assert_escaped(self, stem, commands, fine):
        for command in commands:
            for terminal in (True, False):
                with self.subTest(name=stem, command=command[0], terminal=terminal):
                    status, out, err = shown(command, self.folder, terminal)
                    self.assertEqual(status == 0, fine, (out, err))
                    self.assertNotEqual(out + err, "")
                    # quillbit's information to a pipe keeps the name as it is (see above).
                    read = err if command[0] != CHECK and not terminal else out + err
                    self.assertEqual(controls_in(read), [], (out, err))


if __name__ == "__main__":
    unittest.main()
