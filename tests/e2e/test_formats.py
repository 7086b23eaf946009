"""Every encoding of a sprite converts to the header of its plain RGB PNG: colour
types, depths, palettes, transparency, interlacing, header kinds, origins and RLE
may change nothing."""

import os
import unittest

from harness import ConverterTest, read_bytes, run, variants


class EveryEncoding(ConverterTest):

    def test_each_variant_gives_the_header_of_its_plain_png(self):
        cases = variants.all_variants()
        self.assertGreater(len(cases), 20)
        sprites = {}  # the variant's folder: (its sprite, the reference beside the others)
        for family, name, data, picture in cases:
            folder = "%s-%s" % (family, name)
            sprite = os.path.join("variants", folder, "sprite" + os.path.splitext(name)[1])
            reference = os.path.join("references", folder, "sprite.png")
            for path, content in ((sprite, data), (reference, variants.reference_png(picture))):
                os.makedirs(self.path(os.path.dirname(path)), exist_ok=True)
                with open(self.path(path), "wb") as f:
                    f.write(content)
            sprites[folder] = (sprite, reference)
        # All references in one run, all variants in another: a build under an emulator
        # pays for its start twice, not twice a variant.
        for index, kind in enumerate(("references", "variants")):
            status, _, err = run([pair[1 - index] for pair in sprites.values()], cwd=self.folder)
            self.assertEqual((status, err), (0, ""), kind)
        for folder, (sprite, reference) in sprites.items():
            with self.subTest(variant=folder):
                self.assertEqual(read_bytes(self.path(sprite[:-3] + "h")),
                                 read_bytes(self.path(reference[:-3] + "h")))


if __name__ == "__main__":
    unittest.main()
