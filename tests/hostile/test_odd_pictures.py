"""Pictures within the limits but of unusual kinds, committed under pictures/ (made with
ImageMagick once; the grey+alpha one with the standard library). Each must convert, and
its header must show the content."""

import os
import re
import shutil
import struct
import unittest
import zlib

from hostile import HostileTest, ODD_PICTURES, pictures, read_bytes, run, write_bytes

HALF = ["0xFF00"] * 8  # black on the left half, white (background) on the right

# Picture file -> the values of its first plane.
EXPECTED_FIRST_PLANE = {
    "paletted-1bit.bmp": HALF,
    # Black, light grey, dark grey and white columns: the second plane shows the greys.
    "paletted-4bit.bmp": HALF,
    "rgb-16bit.png": HALF,
    "interlaced.png": HALF,
    "interlaced.gif": HALF,
    # CMYK as Adobe stores it (inverted, here as YCCK), converted to black and white.
    "cmyk.jpg": HALF,
    # The first frame is black; the second, white, is never read.
    "animated-black-then-white.gif": ["0xFFFF"] * 8,
    # Opaque black on the left, fully transparent (background) on the right.
    "grey-alpha-left-half-black.png": HALF,
    # 16, 32 and 24 pixels square: the largest, the black 32 x 32, is taken.
    "several-sizes-largest-black.ico": ["0xFFFFFFFF"] * 32,
}


def first_plane(header):
    body = header.split("[] = {", 1)[1].split("};", 1)[0]
    return re.findall(r"0x[0-9A-F]+", body)


class OddPictures(HostileTest):

    def convert(self, name):
        picture = self.path(name)
        shutil.copy(os.path.join(ODD_PICTURES, name), picture)
        outcome = run([picture], cwd=self.folder)
        return picture, outcome

    def test_each_converts_to_its_first_plane(self):
        for name, expected in EXPECTED_FIRST_PLANE.items():
            with self.subTest(picture=name):
                picture, outcome = self.convert(name)
                self.assertEqual((outcome.status, outcome.stderr), (0, ""))
                header = read_bytes(picture[:-3] + "h").decode("latin-1")
                self.assertEqual(first_plane(header), expected)

    def test_tga_is_told_by_its_name_before_its_bytes(self):
        """A TGA may start with an icon's or a cursor's first bytes (00 00 01 00, 00 00 02 00
        and a count); its name says what it is."""
        row = b"\x00\x00\x00" * 8 + b"\xff\xff\xff" * 8
        cases = {  # colour-map type, image type, map length -> what comes of it
            "truecolour, like a cursor": (0, 2, 0, None),
            "truecolour with a stray map length, like a cursor of three images": (0, 2, 3, None),
            "colour-mapped without a map, like an icon": (0, 1, 1, "broken TGA file"),
        }
        for case, (map_type, image_type, map_length, refusal) in cases.items():
            with self.subTest(case=case):
                header = struct.pack("<BBBHHBHHHHBB", 0, map_type, image_type, 0, map_length,
                                     0, 0, 0, 16, 8, 24, 0x20)
                picture = self.path("picture.tga")
                write_bytes(picture, header + row * 8)
                outcome = run([picture], cwd=self.folder)
                if refusal:
                    self.assert_reported(outcome, picture)
                    self.assertIn(refusal, outcome.stderr)
                    continue
                self.assertEqual((outcome.status, outcome.stderr), (0, ""))
                header_text = read_bytes(self.path("picture.h")).decode("latin-1")
                self.assertEqual(first_plane(header_text), HALF)

    def test_four_bit_bitmap_keeps_both_grey_levels(self):
        picture, outcome = self.convert("paletted-4bit.bmp")
        self.assertEqual(outcome.status, 0, outcome.stderr)
        header = read_bytes(picture[:-3] + "h").decode("latin-1")
        second = re.findall(r"0x[0-9A-F]+", header.split("bitplane 2", 1)[1])
        self.assertEqual(second, ["0xF0F0"] * 8)

    def test_png_reads_whole_whatever_follows_its_last_row(self):
        """Reading stops at the last row, so what comes after it cannot spoil the picture."""
        rows = pictures.png_bytes([[pictures.BLACK] * 8 + [pictures.WHITE] * 8] * 8)
        end = rows.rindex(b"IEND") - 4
        unknown_critical = struct.pack(">I", 1) + b"ZZZZx" + struct.pack(">I", zlib.crc32(b"ZZZZx"))
        tails = {"no IEND": b"", "unknown critical chunk": unknown_critical + rows[end:],
                 "garbage after IEND": rows[end:] + b"garbage"}
        for case, tail in tails.items():
            with self.subTest(case=case):
                picture = self.path("tail.png")
                write_bytes(picture, rows[:end] + tail)
                outcome = run([picture], cwd=self.folder)
                self.assertEqual((outcome.status, outcome.stderr), (0, ""))
                self.assertEqual(first_plane(read_bytes(self.path("tail.h")).decode("latin-1")),
                                 HALF)


if __name__ == "__main__":
    unittest.main()
