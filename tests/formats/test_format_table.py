"""Every list that follows from the reader's table of formats agrees with it: the desktop
entry's MIME types, the fuzzer's extensions, the families the test suites name, and the
formats README, the manual page and the package descriptions say quillbit reads.
QUILLBIT_PRINT_FORMATS names the program that prints the table."""

import os
import pathlib
import re
import subprocess
import sys
import unittest

ROOT = pathlib.Path(__file__).resolve().parent.parent.parent
sys.path.insert(0, str(ROOT / "tests" / "support"))
sys.path.insert(0, str(ROOT / "fuzz"))
import family_seeds  # noqa: E402
import variants  # noqa: E402


def table():
    """(family, name, extensions, MIME types) of each format; family "" when refused."""
    printed = subprocess.run([os.environ["QUILLBIT_PRINT_FORMATS"]], capture_output=True,
                             text=True, check=True).stdout
    rows = []
    for line in printed.splitlines():
        family, name, extensions, mime_types = line.split("\t")
        rows.append((family, name, extensions.split(), mime_types.split()))
    return rows


def read_formats():
    return [row for row in table() if row[0]]


# Where each text lists the formats quillbit reads: (file, a pattern whose group is the list).
FORMAT_LISTS = [
    ("README.md", r"\| format \| read by \| what is read \|\n\|[-|]+\|\n(.*?)\n\n"),
    ("packaging/quillbit.1", r"\nA picture may be (.*?)\nA 16-bit"),
    ("packaging/debian_package.cmake", r"It reads (.*?)\. It has"),
    ("packaging/org.example.quillbit.metainfo.xml", r"<li>([^<]*) pictures</li>"),
]


def names_of(row):
    """The words a text names a format by: "PGM/PPM" is PGM and PPM."""
    return row[1].split("/")


def named_in(text, names):
    return {name for name in names if re.search(r"(?<![\w-])%s(?![\w-])" % re.escape(name), text)}


class FormatTable(unittest.TestCase):

    def test_desktop_entry_offers_exactly_the_types_quillbit_reads(self):
        entry = (ROOT / "packaging" / "quillbit.desktop").read_text()
        offered = re.search(r"^MimeType=(.*)$", entry, re.M).group(1).rstrip(";").split(";")
        read = [mime for _, _, _, mime_types in read_formats() for mime in mime_types]
        self.assertEqual(sorted(offered), sorted(read))

    def test_every_text_that_lists_the_formats_read_lists_exactly_those(self):
        read = {name for row in read_formats() for name in names_of(row)}
        refused = {name for row in table() if not row[0] for name in row[1].split()}
        for path, pattern in FORMAT_LISTS:
            with self.subTest(path=path):
                found = re.search(pattern, (ROOT / path).read_text(), re.S)
                self.assertIsNotNone(found, "no list of formats where it used to be")
                self.assertEqual(named_in(found.group(1), read | refused - {"JPEG"}), read)

    def test_every_family_has_its_variants_and_the_suites_name_them(self):
        families = {row[0] for row in read_formats()}
        self.assertEqual(set(variants.FAMILIES) | {"jpeg"}, families)
        self.assertEqual(set(family_seeds.FAMILIES), families)

    def test_every_extension_belongs_to_its_family_in_the_tests(self):
        for family, name, extensions, _ in read_formats():
            for extension in extensions:
                with self.subTest(format=name, extension=extension):
                    self.assertEqual(variants.family_of("x." + extension), family)

    def test_the_fuzzer_reaches_every_reader_by_its_extensions(self):
        source = (ROOT / "fuzz" / "picture_intake_fuzzer.cpp").read_text()
        listed = re.search(r"kExtensions\[\] = \{(.*?)\};", source, re.S).group(1)
        fuzzed = re.findall(r'"([a-z0-9]+)"', listed)
        self.assertEqual(fuzzed, family_seeds.EXTENSIONS)
        known = {ext for _, _, extensions, _ in table() for ext in extensions}
        for family, name, extensions, _ in read_formats():
            with self.subTest(format=name):
                self.assertTrue(set(extensions) & set(fuzzed), "no fuzzed extension")
        # The others stand for files of no family: refused formats and unknown names.
        for extension in fuzzed:
            if extension in known:
                with self.subTest(extension=extension):
                    self.assertIn(family_seeds.family_of("x." + extension),
                                  [row[0] or None for row in table()
                                   if extension in row[2]])


if __name__ == "__main__":
    unittest.main()
