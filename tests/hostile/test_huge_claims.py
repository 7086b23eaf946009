"""Pictures whose headers claim huge sizes: the overflow report comes at once, from the
header alone, without the memory a decoded picture of that size would take; claims just
within the limits go on to the loader."""

import unittest

import crafted
from hostile import HostileTest, run, write_bytes

# Decoding any of these at their claimed size takes gigabytes; the refusal takes a few MB.
MOST_MEGABYTES = 100

SIZES = [(30000, 30000), (65535, 65535), (32768, 1), (1, 32768), (8, 4096)]
LARGEST_WITHIN = [(8, 4095), (217, 151)]  # 32760 pixels, and exactly 32767

MAKERS = dict(crafted.CLAIMING, **{"dib.ico": crafted.ico_bitmap_claiming,
                                   "tif": crafted.tiff_claiming})
# libjpeg fills in what a file cut short lacks, so a claim within the limits loads; an
# Aseprite sprite without cels is a transparent one.
FILLED_IN = {"jpg", "aseprite"}


class HugeClaims(HostileTest):

    def test_claimed_size_beyond_the_limits_is_refused_from_the_header(self):
        for extension, make in MAKERS.items():
            for width, height in SIZES:
                with self.subTest(format=extension, width=width, height=height):
                    bad = self.path("huge-%dx%d.%s" % (width, height, extension))
                    write_bytes(bad, make(width, height))
                    outcome = run([self.good, bad], cwd=self.folder, timeout=30)
                    self.assert_reported(outcome, bad)
                    self.assertIn('overflow: picture "%s" is %d x %d pixels' % (bad, width, height),
                                  outcome.stderr)
                    self.assertLess(outcome.peak_megabytes, MOST_MEGABYTES)

    def test_gif_frame_larger_than_its_screen_is_refused(self):
        data = bytearray(crafted.gif_claiming(8, 8))
        data[19 + 5:19 + 9] = (65535).to_bytes(2, "little") * 2  # the frame's width and height
        bad = self.path("frame.gif")
        write_bytes(bad, bytes(data))
        outcome = run([bad], cwd=self.folder, timeout=30)
        self.assert_reported(outcome, bad)
        self.assertIn("65535 x 65535 pixels", outcome.stderr)
        self.assertLess(outcome.peak_megabytes, MOST_MEGABYTES)

    def test_gif_with_stray_bytes_before_a_huge_frame_is_refused(self):
        """A reader that skipped the stray bytes would decode the frame; giflib stops there."""
        screen = crafted.gif_claiming(8, 8)[:19]
        frame = crafted.gif_claiming(30000, 30000)[19:]
        bad = self.path("stray.gif")
        write_bytes(bad, screen + bytes(5) + frame)
        outcome = run([bad], cwd=self.folder, timeout=30)
        self.assert_reported(outcome, bad)
        self.assertIn("broken GIF file", outcome.stderr)
        self.assertLess(outcome.peak_megabytes, MOST_MEGABYTES)

    def test_pnm_header_numbers_past_any_int_are_refused(self):
        """A number too long for the reader's int, wherever it stands in the header."""
        long_number = b"9" * 12
        headers = {"width": b"P5 " + long_number + b" 8\n255\n",
                   "height": b"P6\n# a comment\n8 " + long_number + b"\n255\n",
                   "maxval": b"P5 8 8 " + long_number + b"\n",
                   "no blank after P5": b"P5" + long_number + b" 8 255\n"}
        for place, header in headers.items():
            with self.subTest(place=place):
                bad = self.path("long.pgm")
                write_bytes(bad, header + bytes(64))
                outcome = run([bad], cwd=self.folder)
                self.assert_reported(outcome, bad)
                self.assertIn("a number in its header is too long", outcome.stderr)

    def test_claims_within_the_limits_go_on_to_the_loader(self):
        """Only the size is judged early. These files have no pixel data, so the loader
        refuses them, or, where its library fills that in, loads them at the claimed size."""
        for extension, make in MAKERS.items():
            for width, height in LARGEST_WITHIN:
                with self.subTest(format=extension, width=width, height=height):
                    bad = self.path("within-%dx%d.%s" % (width, height, extension))
                    write_bytes(bad, make(width, height))
                    outcome = run([bad], cwd=self.folder)
                    if extension in FILLED_IN:
                        self.assertIn("Dimensions: %d by %d\n" % (width, height), outcome.stdout)
                        self.assertEqual(outcome.status, 0 if width % 8 == 0 else 2, outcome.stderr)
                    else:
                        self.assert_reported(outcome, bad)
                        self.assertNotIn("overflow", outcome.stderr)


if __name__ == "__main__":
    unittest.main()
