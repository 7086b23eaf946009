"""The terminal front end on real picture files."""

import os
import shutil
import time
import unittest

from harness import (FORMATS, GOLDEN, PICTURES, PROGRAM, ConverterTest, copy_program, pictures,
                     read_bytes, run, variants)

K, L, D, W = pictures.BLACK, pictures.LIGHT, pictures.DARK, pictures.WHITE
NO_ARGUMENTS = "Drag and drop image files onto the desktop icon to use this program.\n"
QUOTES = 'Filenames must be inclosed in double quotes (")\n'
WIDTH_RULE = ("Image Width must be evenly divisible by 8 for program to work properly.\n"
              "Please resize your image.\n")
# --version names the holder and the licence of LICENSE, word for word.
with open(os.path.join(os.path.dirname(__file__), "..", "..", "LICENSE"), encoding="utf-8") as text:
    LICENCE_NAME, _, COPYRIGHT = (line.strip() for line in text.readlines()[:3])
VERSION = f"quillbit 1.0.0\n{COPYRIGHT}; {LICENCE_NAME}, without warranty.\n"


def information(name, width, height, sprite_type):
    return f"Quillbit - {name}\nDimensions: {width} by {height}\nSpriteType: {sprite_type}\n"


def ship(grey):
    rows = [[K] * 8 + [W] * 8, [W] * 16]
    if grey:
        rows[1][0:2] = [L, D]
    return rows


class GoldenHeaders(ConverterTest):
    """x.<ext> in tests/golden converts to exactly x.out."""

    def test_each_golden_picture_gives_its_expected_header(self):
        names = sorted(n for n in os.listdir(GOLDEN) if not n.endswith((".out", ".md", ".py"))
                       and variants.family_of(n) in FORMATS)
        self.assertTrue(names)
        for name in names:
            with self.subTest(name):
                shutil.copy(os.path.join(GOLDEN, name), self.folder)
                status, _, err = run([name], cwd=self.folder)
                self.assertEqual((status, err), (0, ""))
                stem = os.path.splitext(name)[0]
                self.assertEqual(read_bytes(self.path(name[:-3] + "h")),
                                 read_bytes(os.path.join(GOLDEN, stem + ".out")))


class TerminalOptions(ConverterTest):
    def test_help_and_version_alone_answer_and_anything_else_is_a_picture(self):
        self.picture("--help", [[K] * 8])  # a PNG by its content; its header is --hh
        cases = [  # arguments, status, start of standard output, header there after it
            (["--help"], 0, "Usage: quillbit PICTURE...\n", False),
            (["--version"], 0, VERSION, False),
            (["./--help"], 0, "Quillbit - --help\n", True),
            (["--version", "--help"], 1, "", True),  # two pictures; the first is missing
        ]
        for arguments, status, out, header in cases:
            with self.subTest(arguments):
                result = run(arguments, cwd=self.folder)
                self.assertEqual(result[0], status, result)
                self.assertTrue(result[1].startswith(out), result)
                self.assertEqual(os.path.exists(self.path("--hh")), header)


class Conversion(ConverterTest):
    def test_information_message_goes_to_standard_output(self):
        self.picture("ball.bmp", pictures.filled(8, 8, K))
        self.assertEqual(run(["ball.bmp"], cwd=self.folder),
                         (0, information("ball.bmp", 8, 8, "8"), ""))

    def test_every_format_and_sprite_type_round_trips(self):
        cases = [  # name, rows, hex digits per value
            ("s8.png", [[K, L, D, W, W, W, W, K]] * 9, 2),
            ("s16.bmp", ship(True), 4),
            ("s32.png", [[K if (x + y) % 3 == 0 else D for x in range(32)] for y in range(8)], 8),
            ("s24.bmp", [[L] * 8 + [W] * 8 + [K] * 8, [W] * 24], 2),
            ("wide.png", [[K if x % 5 == 0 else W for x in range(4000)]] * 8, 2),
        ]
        for name, rows, digits in cases:
            with self.subTest(name):
                self.picture(name, rows)
                status, out, err = run([name], cwd=self.folder)
                self.assertEqual((status, err), (0, ""))
                self.assert_round_trip(self.path(name[:-3] + "h"), rows, digits)

    def test_committed_gif_and_jpeg_convert(self):
        for name, first_line in [("diag.gif", "\t0x80,0x40,0x20,0x10,0x08,0x04,0x02,0x01};"),
                                 ("blocks.jpg", "\t" + ",".join(["0xFF00"] * 8) + "};")]:
            with self.subTest(name):
                shutil.copy(os.path.join(PICTURES, name), self.folder)
                self.assertEqual(run([name], cwd=self.folder)[0], 0)
                lines = read_bytes(self.path(name[:-3] + "h")).decode().split("\r\n")
                self.assertIn(first_line, lines)

    def test_icon_converts_its_largest_image_also_when_embedded_as_png(self):
        small = pictures.filled(8, 8, W)
        large = [[K] * 8 + [W] * 24] * 4 + [[L] * 32] * 4  # 32 x 8 beats 8 x 8
        for name, as_png in [("bmp.ico", False), ("png.ico", True)]:
            with self.subTest(name):
                with open(self.path(name), "wb") as f:
                    f.write(pictures.ico_bytes([(small, False), (large, as_png)]))
                status, out, err = run([name], cwd=self.folder)
                self.assertEqual((status, out, err), (0, information(name, 32, 8, "32"), ""))
                self.assert_round_trip(self.path(name[:-3] + "h"), large, 8)

    def test_pixels_that_are_not_fully_opaque_are_background(self):
        rows = [[0xFF000000, 0x80000000, 0x00000000, 0xFFAAAAAA, 0xFE555555, 0xFFFFFFFF,
                 0xFF555555, 0x7FAAAAAA]]
        self.picture("alpha.png", rows, alpha=True)
        self.assertEqual(run(["alpha.png"], cwd=self.folder)[0], 0)
        text = read_bytes(self.path("alpha.h")).decode()
        self.assertIn("alpha1[] = {\r\n\t0x90};", text)  # black, light grey
        self.assertIn("alpha2[] = {\r\n\t0x82};", text)  # black, dark grey

    def test_existing_header_is_replaced_and_no_temporary_file_stays(self):
        self.picture("a.png", pictures.filled(8, 1, K))
        with open(self.path("a.h"), "w") as f:
            f.write("old and much longer than the new header " * 20)
        self.assertEqual(run(["a.png"], cwd=self.folder)[0], 0)
        self.assertTrue(read_bytes(self.path("a.h")).endswith(b"\t0xFF};\r\n"))
        self.assertEqual(sorted(os.listdir(self.folder)), ["Blitview.h", "a.h", "a.png"])


class Batch(ConverterTest):
    def test_three_folders_and_the_companion_beside_the_last_only(self):
        paths = [self.picture(os.path.join(folder, "s.png"), pictures.filled(8, 2, K))
                 for folder in ("one", "two", "three")]
        status, out, err = run(paths)
        self.assertEqual((status, err), (0, ""))
        self.assertEqual(out, information("s.png", 8, 2, "8") * 3)
        for folder in ("one", "two", "three"):
            self.assertTrue(os.path.exists(self.path(folder, "s.h")))
        self.assertEqual(sorted(os.listdir(self.path("one"))), ["s.h", "s.png"])
        companion = read_bytes(os.path.join(os.path.dirname(PROGRAM), "Blitview.h"))
        self.assertEqual(read_bytes(self.path("three", "Blitview.h")), companion)

    def test_companion_already_there_is_never_overwritten(self):
        self.picture("a.png", pictures.filled(8, 1, K))
        with open(self.path("Blitview.h"), "w") as f:
            f.write("mine")
        status, _, err = run(["a.png"], cwd=self.folder)
        self.assertEqual((status, err), (0, ""))
        self.assertEqual(read_bytes(self.path("Blitview.h")), b"mine")

    def test_missing_companion_source_fails_after_every_header(self):
        os.makedirs(self.path("bin"))
        program = copy_program(self.path("bin"))
        paths = [self.picture(n, pictures.filled(8, 1, K)) for n in ("a.png", "b.png")]
        status, out, err = run(paths, program=program)
        self.assertEqual(status, 1)
        self.assertTrue(err.startswith("quillbit: ") and err.count("\n") == 1, err)
        self.assertIn("Blitview.h", err)
        self.assertTrue(os.path.exists(self.path("a.h")) and os.path.exists(self.path("b.h")))
        self.assertFalse(os.path.exists(self.path("Blitview.h")))

    def test_width_rule_stops_the_batch_and_keeps_earlier_headers(self):
        names = ["a.png", "odd.png", "c.png"]
        self.picture("a.png", pictures.filled(8, 1, K))
        self.picture("odd.png", pictures.filled(12, 12, K))
        self.picture("c.png", pictures.filled(8, 1, K))
        status, out, err = run(names, cwd=self.folder)
        self.assertEqual((status, err), (2, WIDTH_RULE))
        self.assertEqual(out, information("a.png", 8, 1, "8")
                         + information("odd.png", 12, 12, "other"))
        self.assertEqual(sorted(os.listdir(self.folder)), ["a.h", "a.png", "c.png", "odd.png"])

    def test_thousand_sprites_in_one_call(self):
        names = []
        for i in range(1000):
            names.append(f"s{i}.png")
            pictures.write(self.path(names[-1]), [[K if (i >> b) & 1 else W for b in range(8)]] * 8)
        start = time.monotonic()
        status, out, err = run(names, cwd=self.folder)
        elapsed = time.monotonic() - start
        self.assertEqual((status, err), (0, ""))
        self.assertEqual(out.count("Quillbit - "), 1000)
        self.assertEqual(len(os.listdir(self.folder)), 2001)
        # Speed is make bench's business: a bound here fails on a busy machine, not a slow program.
        print(f"1000 sprites in {elapsed:.3f} s")


class ExitStatuses(ConverterTest):
    def test_user_errors_end_with_status_two(self):
        self.picture("a.png", pictures.filled(8, 1, K))
        for arguments, message in [([], NO_ARGUMENTS), (['a".png'], QUOTES),
                                   (["a.png", 'b"c.png'], QUOTES)]:
            with self.subTest(arguments):
                self.assertEqual(run(arguments, cwd=self.folder), (2, "", message))
        self.assertFalse(os.path.exists(self.path("a.h")))

    def test_run_time_errors_end_with_status_one_and_name_the_path(self):
        os.mkdir(self.path("folder.png"))
        with open(self.path("text.png"), "w") as f:
            f.write("not a picture\n")
        open(self.path("empty.png"), "wb").close()
        self.picture("big.png", pictures.filled(200, 200, W))
        self.picture("tall.png", pictures.filled(32, 1024, W))
        for name in ["missing.png", "folder.png", "text.png", "empty.png", "big.png", "tall.png"]:
            with self.subTest(name):
                self.picture("first.png", pictures.filled(8, 1, K))
                status, out, err = run(["first.png", name], cwd=self.folder)
                self.assertEqual(status, 1)
                self.assertTrue(err.startswith("quillbit: ") and err.count("\n") == 1, err)
                self.assertIn(f'"{name}"', err)
                if name == "folder.png":
                    self.assertNotIn("too large", err)
                self.assertEqual(out, information("first.png", 8, 1, "8"))
                self.assertTrue(os.path.exists(self.path("first.h")))
                os.remove(self.path("first.h"))

    def test_limits_of_the_sixteen_bit_state(self):
        self.picture("fits.png", pictures.filled(32, 1023, W))
        self.assertEqual(run(["fits.png"], cwd=self.folder)[0], 0)
        self.picture("over.png", pictures.filled(32, 1024, W))
        status, _, err = run(["over.png"], cwd=self.folder)
        self.assertEqual(status, 1)
        self.assertIn("32 x 1024", err)


if __name__ == "__main__":
    unittest.main()
