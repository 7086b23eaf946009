"""quillbit.exe on Windows paths and names: backslashes, drive letters, names beyond
ASCII, and a read-only header. Runs through Wine, whose drive Z: is the Linux root.
"""

import os
import stat
import unittest

from harness import ConverterTest, pictures, read_bytes, run

K = pictures.BLACK


def information(name):
    return f"Quillbit - {name}\nDimensions: 8 by 1\nSpriteType: 8\n"


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class WindowsPaths(ConverterTest):
    def test_backslashes_and_drive_letters_put_header_and_companion_beside_the_picture(self):
        self.picture(os.path.join("one", "a.png"), pictures.filled(8, 1, K))
        self.picture(os.path.join("two", "b.png"), pictures.filled(8, 1, K))
        status, out, err = run(["one\\a.png", windows_path(self.path("two", "b.png"))],
                               cwd=self.folder)
        self.assertEqual((status, out, err), (0, information("a.png") + information("b.png"), ""))
        self.assertEqual(sorted(os.listdir(self.path("one"))), ["a.h", "a.png"])
        self.assertEqual(sorted(os.listdir(self.path("two"))), ["Blitview.h", "b.h", "b.png"])
        self.assertIn(b"#define A_WIDTH 8\r\n", read_bytes(self.path("one", "a.h")))

    def test_names_beyond_ascii_keep_their_file_names_and_use_the_ansi_code_page_inside(self):
        # Wine's ANSI code page here is 1252: it has "é" but no Japanese characters.
        self.picture("été.png", pictures.filled(8, 1, K))
        self.picture("日本.png", pictures.filled(8, 1, K))
        status, out, err = run(["été.png", "日本.png"], cwd=self.folder)
        self.assertEqual((status, out, err),
                         (0, information("été.png") + information("日本.png"), ""))
        self.assertIn(b"#define \xe9T\xe9_WIDTH 8\r\n", read_bytes(self.path("été.h")))
        self.assertIn(b"unsigned char \xe9t\xe9[] = {", read_bytes(self.path("été.h")))
        self.assertIn(b"#define ??_WIDTH 8\r\n", read_bytes(self.path("日本.h")))

    def test_read_only_header_is_a_run_time_error_and_stays_untouched(self):
        self.picture("a.png", pictures.filled(8, 1, K))
        with open(self.path("a.h"), "wb") as f:
            f.write(b"keep me")
        os.chmod(self.path("a.h"), stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)
        status, out, err = run(["a.png"], cwd=self.folder)
        self.assertEqual((status, out), (1, information("a.png")))
        self.assertTrue(err.startswith('quillbit: cannot write "a.h": '), err)
        self.assertEqual(read_bytes(self.path("a.h")), b"keep me")
        self.assertEqual(sorted(os.listdir(self.folder)), ["a.h", "a.png"])

    def test_a_device_as_picture_is_refused_at_once_by_name(self):
        self.picture("a.png", pictures.filled(8, 1, K))
        status, out, err = run(["a.png", "NUL"], cwd=self.folder, timeout=60)
        self.assertEqual((status, out), (1, information("a.png")))
        self.assertEqual(err, 'quillbit: cannot read picture "NUL": it is not a regular file\n')
        self.assertEqual(sorted(os.listdir(self.folder)), ["a.h", "a.png"])


if __name__ == "__main__":
    unittest.main()
