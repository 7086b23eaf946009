"""The Pillow peer: every picture named on the command line to a mono XBM beside it,
all in one process, thresholded without dithering (Pillow's fastest honest form)."""

import os
import sys

from PIL import Image

NO_DITHER = getattr(Image, "Dither", Image).NONE


def convert(path):
    with Image.open(path) as picture:
        picture.convert("1", dither=NO_DITHER).save(os.path.splitext(path)[0] + ".xbm")


if __name__ == "__main__":
    for name in sys.argv[1:]:
        convert(name)
