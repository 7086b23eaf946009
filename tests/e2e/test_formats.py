"""Every encoding of a sprite converts to the header of its plain RGB PNG: colour
types, depths, palettes, transparency, interlacing, header kinds, origins and RLE
may change nothing. Formats the program under test does not read are left out by
QUILLBIT_FORMATS (the Windows build reads no TGA or PNM)."""

import os
import unittest

from harness import FORMATS, ConverterTest, read_bytes, run, variants


class EveryEncoding(ConverterTest):

    def test_each_variant_gives_the_header_of_its_plain_png(self):
        cases = [case for case in variants.all_variants() if case[0] in FORMATS]
        self.assertGreater(len(cases), 20)
        for family, name, data, picture in cases:
            with self.subTest(family=family, variant=name):
                folder = self.path("%s-%s" % (family, name))
                os.mkdir(folder)
                sprite = os.path.join(folder, "sprite" + os.path.splitext(name)[1])
                with open(sprite, "wb") as f:
                    f.write(data)
                with open(os.path.join(folder, "sprite.png"), "wb") as f:
                    f.write(variants.reference_png(picture))
                status, _, err = run(["sprite.png"], cwd=folder)
                self.assertEqual((status, err), (0, ""))
                reference = read_bytes(os.path.join(folder, "sprite.h"))
                status, _, err = run([os.path.basename(sprite)], cwd=folder)
                self.assertEqual((status, err), (0, ""))
                self.assertEqual(read_bytes(sprite[:-3] + "h"), reference)


if __name__ == "__main__":
    unittest.main()
