"""Tests of the benchmark's own arithmetic and corpus: run by bench.sh before timing,
or alone with `python3 -m unittest discover -s bench`."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import corpus  # noqa: E402
import report  # noqa: E402

TIME_V = """\tCommand being timed: "quillbit a.png"
\tUser time (seconds): 0.01
\tMaximum resident set size (kbytes): 10844
\tAverage resident set size (kbytes): 0
"""


def hyperfine_round(results):
    return {"results": [{"command": name, "times": times, "user": user, "system": system}
                        for name, times, user, system in results]}


class ReportTest(unittest.TestCase):
    def test_median_of_odd_and_even_counts(self):
        for values, expected in (([3], 3), ([5, 1, 3], 3), ([4, 1, 3, 2], 2.5), ([2, 2], 2)):
            self.assertEqual(report.median(values), expected, values)
        with self.assertRaises(ValueError):
            report.median([])

    def test_merge_takes_medians_over_all_rounds(self):
        rounds = [hyperfine_round([("q", [1.0, 9.0], 0.1, 0.2), ("cp", [2.0], 0.0, 0.5)]),
                  hyperfine_round([("cp", [4.0], 0.0, 0.7), ("q", [2.0, 3.0], 0.3, 0.2)]),
                  hyperfine_round([("q", [8.0], 0.5, 0.5), ("cp", [3.0], 0.0, 0.6)])]
        merged = report.merge_rounds(rounds)
        self.assertEqual(merged["q"]["wall"], 3.0)  # median of 1, 9, 2, 3, 8
        self.assertEqual(merged["cp"]["wall"], 3.0)
        self.assertAlmostEqual(merged["q"]["cpu"], 0.5)  # median of 0.3, 0.5, 1.0
        self.assertAlmostEqual(merged["cp"]["cpu"], 0.6)

    def test_peak_memory_is_read_from_time_v(self):
        self.assertEqual(report.peak_kilobytes(TIME_V), 10844)
        with self.assertRaises(ValueError):
            report.peak_kilobytes("Average resident set size (kbytes): 0")

    def test_ratio_says_faster_or_slower(self):
        self.assertEqual(report.ratio_phrase(0.1, 1.25), "12.5x faster")
        self.assertEqual(report.ratio_phrase(0.3, 0.1), "3.0x slower")
        self.assertEqual(report.ratio_phrase(0.2, 0.2), "1.0x faster")

    def test_table_rows_and_ratios(self):
        rows = [("quillbit", {"wall": 0.2, "cpu": 0.15, "peak_kb": 10240}),
                ("mogrify", {"wall": 2.0, "cpu": 1.9, "peak_kb": 20480}),
                ("cp (floor)", {"wall": 0.1, "cpu": 0.05, "peak_kb": 2048})]
        table = report.group_table("Batch", rows, 1000, "cp (floor)", "quillbit")
        self.assertIn("| quillbit | 200.0 | 0.200 | 150.0 | 10.0 | 2.00 |", table)
        self.assertIn("| mogrify | 2000.0 | 2.000 | 1900.0 | 20.0 | 20.00 |", table)
        self.assertIn("- quillbit: 10.0x faster than mogrify", table)
        self.assertIn("- quillbit: 2.00x the floor (cp (floor))", table)
        self.assertNotIn("than cp (floor)", table)

    def test_targets_are_judged_on_each_side_of_their_bound(self):
        def group(ours, netpbm=None, floor=None, peak_kb=1024):
            numbers = {"quillbit": {"wall": ours, "peak_kb": peak_kb}}
            if netpbm:
                numbers["netpbm pipeline"] = {"wall": netpbm}
            if floor:
                numbers["cp (floor)"] = {"wall": floor}
            return numbers
        met = report.targets_table(group(0.12, floor=0.1), group(0.1, netpbm=0.31),
                                   group(0.0014, netpbm=0.0045))
        self.assertEqual(met.count("| yes |"), 5, met)
        missed = report.targets_table(group(0.14, floor=0.1, peak_kb=9 * 1024),
                                      group(0.1, netpbm=0.29), group(0.0016, netpbm=0.0047))
        self.assertEqual(missed.count("| no |"), 5, missed)


class MachineTest(unittest.TestCase):
    def test_file_system_is_found_by_the_longest_mount(self):
        import run
        self.assertEqual(run.filesystem_of("/proc/self"), "proc")
        self.assertEqual(run.filesystem_of("/proc"), "proc")
        self.assertNotEqual(run.filesystem_of("/"), "proc")


class CorpusTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.entries = corpus.plan(1000, corpus.DEFAULT_SEED)

    def test_the_same_seed_gives_the_same_corpus(self):
        self.assertEqual(corpus.plan(50, 7), corpus.plan(50, 7))
        self.assertNotEqual(corpus.plan(50, 7), corpus.plan(50, 8))

    def test_every_sprite_is_within_the_limits(self):
        for name, rows in self.entries:
            width, height = len(rows[0]), len(rows)
            self.assertEqual(width % 8, 0, name)
            self.assertLessEqual(width * height, corpus.PIXEL_LIMIT, name)
            self.assertTrue(all(len(row) == width for row in rows), name)
            self.assertIn("_%dx%d_" % (width, height), name)

    def test_the_mix_covers_types_levels_formats_and_the_limit(self):
        widths = {len(rows[0]) for _, rows in self.entries}
        self.assertTrue({8, 16, 32} <= widths)
        self.assertTrue(widths - {8, 16, 32}, "no sprite of type other")
        self.assertEqual({name.rsplit(".", 1)[1] for name, _ in self.entries},
                         {"png", "bmp", "gif"})
        largest = max(len(rows[0]) * len(rows) for _, rows in self.entries)
        self.assertGreater(largest, corpus.PIXEL_LIMIT - 8)
        self.assertEqual(len({name for name, _ in self.entries}), 1000)

    def test_mono_sprites_hold_black_and_white_only_and_grey_ones_a_grey(self):
        greys = {corpus.pictures.LIGHT, corpus.pictures.DARK}
        kinds = set()
        for name, rows in self.entries:
            colours = {pixel for row in rows for pixel in row}
            grey = "_grey." in name
            kinds.add(grey)
            if grey:
                self.assertTrue(colours & greys, name)
            else:
                self.assertLessEqual(colours, {corpus.pictures.BLACK, corpus.pictures.WHITE}, name)
        self.assertEqual(kinds, {False, True})

    @unittest.skipUnless(os.path.exists("/usr/bin/convert"), "ImageMagick not installed")
    def test_written_pictures_hold_the_planned_pixels(self):
        folder = tempfile.mkdtemp()
        try:
            names = corpus.write_corpus(folder, 9, 5)
            for name, rows in corpus.plan(9, 5):
                raw = subprocess.run(["/usr/bin/convert", os.path.join(folder, name), "-depth", "8",
                                      "rgb:-"], check=True, stdout=subprocess.PIPE).stdout
                expected = b"".join(bytes(((p >> 16) & 255, (p >> 8) & 255, p & 255))
                                    for row in rows for p in row)
                self.assertEqual(raw, expected, name)
            self.assertEqual(sorted(names), sorted(os.listdir(folder)))
        finally:
            shutil.rmtree(folder)


if __name__ == "__main__":
    unittest.main()
