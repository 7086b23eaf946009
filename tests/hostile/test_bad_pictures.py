"""Bad pictures and bad paths: each ends in the one-line report, after the good picture
before it got its header, and a header already beside the bad picture stays as it was."""

import os
import random
import struct
import unittest

from hostile import HostileTest, ODD_PICTURES, pictures, read_bytes, run, write_bytes
import aseprite_file as ase  # noqa: E402,I100  (tests/support, on the path hostile sets)

PREVIOUS_HEADER = b"// a header from an earlier run\r\n"


def good_files():
    """One small valid file of each format, to cut short."""
    black = pictures.filled(16, 8, pictures.BLACK)
    return {
        "png": pictures.png_bytes(black),
        "bmp": pictures.bmp_bytes(black),
        "gif": read_bytes(os.path.join(ODD_PICTURES, "interlaced.gif")),
        "jpg": read_bytes(os.path.join(ODD_PICTURES, "cmyk.jpg")),
        "ico": read_bytes(os.path.join(ODD_PICTURES, "several-sizes-largest-black.ico")),
        "tga": struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, 16, 8, 24, 0x20)
        + b"\0\0\0" * 16 * 8,
    }


class BadPictureFiles(HostileTest):

    def assert_bad_file_reported(self, name, data):
        bad = self.path(name)
        write_bytes(bad, data)
        old_header = bad[:-3] + "h"
        write_bytes(old_header, PREVIOUS_HEADER)
        outcome = run([self.good, bad], cwd=self.folder)
        self.assert_reported(outcome, bad)
        self.assertTrue(os.path.exists(self.path("good.h")), "the earlier header is kept")
        self.assertEqual(read_bytes(old_header), PREVIOUS_HEADER)
        self.assert_no_temporary_files()

    def test_zero_byte_files_are_reported(self):
        for extension in ("png", "gif", "bmp", "jpg", "ico", "tga"):
            with self.subTest(extension=extension):
                self.assert_bad_file_reported("empty." + extension, b"")

    def test_files_cut_in_half_are_reported(self):
        for extension, data in good_files().items():
            with self.subTest(extension=extension):
                self.assert_bad_file_reported("half." + extension, data[:len(data) // 2])

    def test_random_bytes_under_a_picture_extension_are_reported(self):
        noise = random.Random(4)
        for extension in ("png", "gif", "bmp", "jpg", "ico"):
            with self.subTest(extension=extension):
                data = bytes(noise.randrange(256) for _ in range(3000))
                self.assert_bad_file_reported("noise." + extension, data)

    def test_text_file_named_png_is_reported(self):
        self.assert_bad_file_reported("notes.png", b"These are my notes, not a picture.\n")

    def test_signature_alone_is_reported(self):
        signatures = {"png": b"\x89PNG\r\n\x1a\n", "gif": b"GIF89a", "bmp": b"BM",
                      "jpg": b"\xff\xd8\xff", "ico": b"\x00\x00\x01\x00"}
        for extension, signature in signatures.items():
            with self.subTest(extension=extension):
                self.assert_bad_file_reported("signature." + extension, signature)

    def test_gimp_xcf_files_are_refused_before_their_reader_sees_them(self):
        """Damaged XCF files made an earlier reader take gigabytes or crash (fuzzing)."""
        damaged = (b"gimp xcf \x00\x01GIFooooooo\x00\x01d\x00\x01\x00\x00\x00\x01F\x00\x00"
                   b"\x00e\x00\x02\x0c\x00\x01\x00\x0089a0u\xc9\x00\x00\x00:" + b"\xff" * 14
                   + b"\xc9\xc9\xff\x01")
        for name in ("damaged.xcf", "named-as.png"):
            with self.subTest(name=name):
                self.assert_bad_file_reported(name, damaged)
                outcome = run([self.path(name)], cwd=self.folder)
                self.assertIn("GIMP XCF is not a picture format quillbit reads", outcome.stderr)

    def test_pnm_headers_outside_the_format_are_refused(self):
        """The largest sample is a number from 1 to 65535 followed by one blank."""
        for maxval in (b"0", b"-1", b"255xxx", b"65536"):
            with self.subTest(maxval=maxval):
                data = b"P6\n8 1\n" + maxval + b"\n" + bytes(48)
                self.assert_bad_file_reported("bad.ppm", data)
                self.assertIn("broken PNM file", run([self.path("bad.ppm")], self.folder).stderr)

    def test_gif_whose_codes_start_wider_than_giflib_reads_says_so(self):
        """An LZW code size of 11 (codes of 12 bits from the start) is legal; giflib stops at 8
        and used to report a failed read."""
        data = (b"GIF89a\x08\x00\x01\x00\xf3\x00\x00" + bytes(48) + b"\x2c" + bytes(4)
                + b"\x08\x00\x01\x00\x00\x0b\x02\x00\x08\x00;")
        self.assert_bad_file_reported("wide-codes.gif", data)
        self.assertIn("LZW code size of 11", run([self.path("wide-codes.gif")], self.folder).stderr)

    def test_gif_that_ends_before_any_frame_is_reported(self):
        """giflib names no reason for this one; reading its missing text crashed (fuzzing)."""
        self.assert_bad_file_reported("no-frame.gif", b"GIF89a\x08\x00\x08\x00\x00\x00\x00;")

    def test_icon_whose_image_lies_outside_the_file_is_reported(self):
        directory = b"\x00\x00\x01\x00\x01\x00" + bytes([16, 16, 0, 0, 1, 0, 32, 0])
        self.assert_bad_file_reported("outside.ico", directory + (1 << 20).to_bytes(4, "little")
                                      + (22).to_bytes(4, "little"))


def _aseprite(chunks, frames_after=b""):
    return ase.sprite(16, 8, ase.RGBA, [ase.frame(chunks)]) + frames_after


def _many_layers(count):
    return [ase.layer("l%d" % i) for i in range(count)]


BLACK_CEL = ase.cel(0, 16, 8, bytes([0, 0, 0, 255]) * 128)
BAD_ASEPRITE = {  # name: (bytes, the reason told)
    "header-cut.aseprite": (_aseprite([])[:100], "cut short"),
    "huge-cel.aseprite": (_aseprite([ase.layer("a"), ase.cel(0, 40000, 40000, bytes(64))]),
                          "a cel of 40000 x 40000 pixels, larger than any picture"),
    "frame-past-end.ase": (_aseprite([ase.layer("a")])[:-4], "its first frame claims"),
    "chunk-count.ase": (ase.sprite(16, 8, 32, [struct.pack("<IHHH2xI", 16, 0xF1FA, 0, 0, 1 << 30)]),
                        "claims more chunks than it holds"),
    "zlib-cut.aseprite": (_aseprite([ase.layer("a"), ase.chunk(ase.CEL, BLACK_CEL[6:-6])]),
                          "compressed pixels are cut short"),
    "layers.aseprite": (_aseprite(_many_layers(129)), "more than 128 layers"),
    "tilemap.aseprite": (_aseprite([ase.layer("map", kind=2), BLACK_CEL]),
                         'layer "map" is a tilemap, which quillbit does not read'),
    "linked.aseprite": (_aseprite([ase.layer("a"), ase.cel(0, 0, 0, 0, kind=1)]),
                        "links to another frame"),
    "hue.aseprite": (_aseprite([ase.layer("a", blend=12), BLACK_CEL]),
                     'layer "a" blends by hue, which quillbit does not read'),
}


class BadAseprite(HostileTest):

    def test_aseprite_files_beyond_their_bounds_or_the_reader_are_refused_saying_why(self):
        for name, (data, reason) in BAD_ASEPRITE.items():
            with self.subTest(name=name):
                bad = self.path(name)
                write_bytes(bad, data)
                outcome = run([bad], cwd=self.folder)
                self.assert_reported(outcome, bad)
                self.assertIn(reason, outcome.stderr)


class CutAnywhere(HostileTest):

    def test_every_cut_converts_or_is_reported(self):
        """Cut at any point a file may still hold every pixel; either ending is clean."""
        for extension, data in good_files().items():
            for tenth in range(1, 10):
                with self.subTest(extension=extension, tenth=tenth):
                    name = self.path("cut%d.%s" % (tenth, extension))
                    write_bytes(name, data[:len(data) * tenth // 10])
                    outcome = run([name], cwd=self.folder)
                    self.assert_converted_or_reported(outcome, name, name[:-3] + "h")


class BadPaths(HostileTest):

    def assert_path_reported(self, bad):
        outcome = run([self.good, bad], cwd=self.folder)
        self.assert_reported(outcome, bad)
        self.assertTrue(os.path.exists(self.path("good.h")), "the earlier header is kept")

    def test_folder_is_reported(self):
        os.mkdir(self.path("folder.png"))
        self.assert_path_reported(self.path("folder.png"))

    def test_missing_path_is_reported(self):
        self.assert_path_reported(self.path("missing.png"))

    def test_empty_name_is_reported(self):
        self.assert_path_reported("")

    def test_path_of_four_thousand_characters_is_reported(self):
        bad = self.path(*(["d" * 199] * 20))[:4000 - 4] + ".png"
        self.assertEqual(len(bad), 4000)
        self.assert_path_reported(bad)

    def test_picture_at_the_end_of_a_long_path_converts(self):
        deep = self.path(*(["d" * 199] * 19))
        cases = {
            "long name": os.path.join(deep, "p" * (3990 - len(deep)) + ".png"),
            # its header path fits, a temporary name beside it would not
            "4086 characters, short name": os.path.join(
                deep, "e" * (4086 - len(deep) - len("/a.png") - 1), "a.png"),
        }
        for case, picture in cases.items():
            with self.subTest(case, length=len(picture)):
                os.makedirs(os.path.dirname(picture), exist_ok=True)
                pictures.write(picture, pictures.filled(8, 1, pictures.BLACK))
                outcome = run([picture], cwd=self.folder)
                self.assertEqual((outcome.status, outcome.stderr), (0, ""))
                self.assertTrue(os.path.exists(picture[:-3] + "h"))


if __name__ == "__main__":
    unittest.main()
