"""The palette files of the build, each read by the rules its format's documentation
gives: GIMP's .gpl (developer.gimp.org, format version 2), JASC-PAL, the plain hex list,
Adobe's colour table (768 bytes, then the count and the transparent index, big-endian) and
paint.net's (";" comments, AARRGGBB). QUILLBIT_PALETTES names the folder."""

import os
import pathlib
import re
import unittest

FOLDER = pathlib.Path(os.environ.get("QUILLBIT_PALETTES", "."))
LEVELS = [("black", 0x000000), ("dark grey", 0x555555), ("light grey", 0xAAAAAA),
          ("background white", 0xFFFFFF)]


def rgb(r, g, b):
    return int(r) << 16 | int(g) << 8 | int(b)


def gimp(data):
    lines = data.decode("utf-8").split("\n")
    assert lines[0] == "GIMP Palette" and lines[1].startswith("Name: ")
    assert b"\r" not in data
    assert re.fullmatch(r"Columns: \d+", lines[2])
    colours = [re.fullmatch(r" *(\d+) +(\d+) +(\d+)\t(.+)", line).groups()
               for line in lines[3:] if line and not line.startswith("#")]
    return [(name, rgb(r, g, b)) for r, g, b, name in colours]


def jasc(data):
    lines = data.decode("ascii").split("\r\n")
    assert lines[:2] == ["JASC-PAL", "0100"] and lines[-1] == ""
    count = int(lines[2])
    assert len(lines) == 3 + count + 1
    return [rgb(*line.split(" ")) for line in lines[3:3 + count]]


def hex_list(data):
    return [int(line, 16) for line in data.decode("ascii").splitlines()
            if re.fullmatch("[0-9A-F]{6}", line)]


def adobe(data):
    assert len(data) == 772 and data[770:] == b"\xff\xff"
    count = int.from_bytes(data[768:770], "big")
    return [rgb(*data[3 * i:3 * i + 3]) for i in range(count)]


def paint_net(data):
    lines = data.decode("ascii").splitlines()
    names = [line[2:] for line in lines if line.startswith("; ")][2:]
    colours = [int(line, 16) for line in lines if not line.startswith(";")]
    assert all(c >> 24 == 0xFF for c in colours)
    return list(zip(names, [c & 0xFFFFFF for c in colours]))


READERS = {"gpl": (gimp, True), "pal": (jasc, False), "hex": (hex_list, False),
           "act": (adobe, False), "txt": (paint_net, True)}


class PaletteFiles(unittest.TestCase):

    def test_each_file_holds_the_four_colours_by_its_format(self):
        self.assertEqual(sorted(p.suffix[1:] for p in FOLDER.iterdir()), sorted(READERS))
        for extension, (read, named) in READERS.items():
            with self.subTest(format=extension):
                colours = read((FOLDER / ("quillbit-levels." + extension)).read_bytes())
                self.assertEqual(colours, LEVELS if named else [c for _, c in LEVELS])


if __name__ == "__main__":
    unittest.main()
