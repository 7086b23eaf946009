"""quillbit-check on real files in temporary folders: pictures, the headers beside them,
headers read back, and the drawing on and off a terminal.

QUILLBIT_CHECK names the program under test, QUILLBIT the converter that writes headers.
"""

import os
import pty
import select
import shutil
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from harness import (EMULATOR, FORMATS, GOLDEN, ConverterTest, arrays, bits_of,  # noqa: E402
                     read_bytes, run, variants, write_bytes)
import aseprite_file as ase  # noqa: E402  (beside variants, found through its path)

CHECK = os.environ.get("QUILLBIT_CHECK", "")
K, D, L, W = 0xFF000000, 0xFF555555, 0xFFAAAAAA, 0xFFFFFFFF
LEGEND = "# black, + dark grey, - light grey, . background"
CELLS = {(1, 1): "#", (1, 0): "-", (0, 1): "+", (0, 0): "."}
DIGITS = {8: 2, 16: 4, 32: 8}
# The README's ship: a black half row over a light and a dark grey pixel.
SHIP = [[K] * 8 + [W] * 8, [L, D] + [W] * 14]
# The golden icon's partial alpha is what quillbit-check exists to point out.
PARTLY_OPAQUE = {"iconalpha.ico": [
    "iconalpha.ico: 16 pixels of #000000 with alpha below 255 at (0, 2) and more count as "
    "background; only opaque pixels count"]}


def check(arguments, cwd, env=None):
    return run(arguments, cwd=cwd, program=CHECK, env=env)


def drawing_in(report):
    """The drawn rows of one file's report: after its title lines, before the legend."""
    lines = report.splitlines()
    first = 3 if lines[0].startswith("Quillbit - ") else 1
    return lines[first:lines.index(LEGEND)]


def drawing_of_header(text):
    """The plain drawing of a header's planes, read here without the program."""
    width = int(text.split("_WIDTH ")[1].split()[0])
    planes = [bits_of(values, DIGITS.get(width, 2)) for values in arrays(text).values()]
    cells = [CELLS[bits] for bits in zip(planes[0], planes[-1])]
    return ["".join(cells[y:y + width]) for y in range(0, len(cells), width)]


class CheckTest(ConverterTest):
    def setUp(self):
        if not CHECK:
            self.skipTest("QUILLBIT_CHECK is not set")
        super().setUp()

    def row_picture(self, name, rows):
        return self.picture(name, rows, alpha=True)


class GoldenRoundTrip(CheckTest):
    def test_each_golden_picture_and_its_header_draw_the_same_levels(self):
        names = sorted(n for n in os.listdir(GOLDEN) if not n.endswith((".out", ".md"))
                       and variants.family_of(n) in FORMATS)
        self.assertTrue(names)
        for name in names:
            with self.subTest(name):
                header = name[:-3] + "h"
                expected = read_bytes(os.path.join(GOLDEN, os.path.splitext(name)[0] + ".out"))
                shutil.copy(os.path.join(GOLDEN, name), self.folder)
                write_bytes(self.path(header), expected)
                status, out, err = check([name, header], cwd=self.folder)
                picture, read_back = out.split("\n\n")
                findings = [line for line in picture.splitlines() if line.startswith(name + ":")]
                self.assertEqual(findings, PARTLY_OPAQUE.get(name, []))
                self.assertEqual((status, err), (1 if findings else 0, ""), out)
                self.assertIn(f"\n{header}: up to date\n", picture + "\n")
                self.assertEqual(drawing_in(picture), drawing_of_header(expected.decode()))
                self.assertEqual(drawing_in(read_back), drawing_in(picture))


class Findings(CheckTest):
    def test_near_misses_are_found_and_exact_levels_pass(self):
        cases = [  # first pixels (the rest white), first drawn cells, finding lines
            ([0xFF010101, 0xFFABABAB, 0xFF565555], "...",
             ["1 pixel of #010101 at (0, 0) counts as background; black is #000000",
              "1 pixel of #ABABAB at (1, 0) counts as background; light grey is #AAAAAA",
              "1 pixel of #565555 at (2, 0) counts as background; dark grey is #555555"]),
            ([K, L, D], "#-+", []),
            ([0xFF6D6D6D, 0xFF3D3D3D], "..",
             ["1 pixel of #6D6D6D at (0, 0) counts as background; dark grey is #555555",
              "1 pixel of #3D3D3D at (1, 0) counts as background; dark grey is #555555"]),
            ([0xFF6E6E6E, 0xFF3C3C3C, 0xFF191919], "...", []),
            ([0xFE555555, 0xFEAAAAAA, 0xFE000000], "...",
             [f"1 pixel of {c} with alpha 254 at ({x}, 0) counts as background; "
              "only opaque pixels count" for x, c in enumerate(["#555555", "#AAAAAA", "#000000"])]),
            ([0xFF555555, 0x00555555, 0x80123456], "+..", []),
        ]
        names = [f"p{i}.png" for i in range(len(cases))]
        for name, (first, _, _) in zip(names, cases):
            self.row_picture(name, [first + [W] * (8 - len(first))])
        # One call for all (Wine starts slowly), then one for the clean ones alone.
        status, out, err = check(names, cwd=self.folder)
        self.assertEqual((status, err), (1, ""), out)
        reports = out.split("\n\n")
        for name, (first, drawn, findings), report in zip(names, cases, reports):
            with self.subTest(first=[hex(p) for p in first]):
                self.assertTrue(report.startswith(f"Quillbit - {name}\n"), report)
                self.assertEqual(drawing_in(report)[0][:len(drawn)], drawn)
                self.assertEqual([line for line in report.splitlines()
                                  if line.startswith(name + ":")],
                                 [f"{name}: {finding}" for finding in findings])
        clean = [name for name, case in zip(names, cases) if not case[2]]
        self.assertEqual(check(clean, cwd=self.folder)[::2], (0, ""))

    def test_width_rule_and_size_limits_are_told_in_quillbits_words(self):
        self.row_picture("wide.png", [[K] * 12])
        self.row_picture("huge.png", [[W] * 200] * 200)
        status, out, err = check(["wide.png", "huge.png"], cwd=self.folder)
        self.assertEqual(status, 1)
        self.assertIn("wide.png: quillbit stops here: Image Width must be evenly divisible by 8 "
                      "for program to work properly. Please resize your image.\n", out)
        self.assertEqual(err, 'quillbit-check: overflow: picture "huge.png" is 200 x 200 pixels; '
                              "at most 32767 pixels fit\n")


def _layered_sprite(top_layer, top_cel):
    """Light grey over white, under a second layer of 8 x 2 pixels."""
    pixels = ase.samples([[L] * 8, [W] * 8], ase.RGBA)
    return ase.sprite(8, 2, ase.RGBA, [ase.frame([
        ase.layer("sprite"), top_layer, ase.cel(0, 8, 2, pixels), top_cel])])


class LayeredAseprite(CheckTest):
    def test_layers_that_do_not_put_their_levels_down_as_drawn_are_named(self):
        black, grey = ase.samples([[K] * 8] * 2, ase.RGBA), ase.samples([[L] * 8] * 2, ase.RGBA)
        cases = [  # name, top layer, its cel, first drawn row, finding
            ("shade.aseprite", ase.layer("shade", opacity=128), ase.cel(1, 8, 2, black),
             "++++++++", 'layer "shade" has 50% opacity: 8 of its pixels are no longer exact '
             "levels"),
            ("cel.ase", ase.layer("faint"), ase.cel(1, 8, 2, black, opacity=64),
             "........", 'layer "faint" has a cel of 25% opacity: 16 of its pixels are no '
             "longer exact levels"),
            ("ink.ase", ase.layer("ink", blend=1), ase.cel(1, 8, 2, grey),
             "........", 'layer "ink" blends by multiply: 8 of its pixels are no longer exact '
             "levels"),
        ]
        for name, top_layer, top_cel, drawn, finding in cases:
            with self.subTest(name=name):
                write_bytes(self.path(name), _layered_sprite(top_layer, top_cel))
                status, out, err = check([name], cwd=self.folder)
                self.assertEqual((status, err), (1, ""), out)
                self.assertEqual(drawing_in(out)[0], drawn)
                self.assertIn(f"\n{name}: {finding}\n", out)
        self.assertIn("\nshade.aseprh: named so because quillbit replaces the last three "
                      "characters; saved as shade.ase, the sprite gives shade.h\n",
                      check(["shade.aseprite"], cwd=self.folder)[1])


class HeaderBeside(CheckTest):
    def test_a_header_is_missing_then_up_to_date_then_out_of_date(self):
        self.row_picture("ship.png", SHIP)
        status, out, _ = check(["ship.png"], cwd=self.folder)
        self.assertEqual(status, 0)
        self.assertTrue(out.endswith("\nship.h: not written yet\n"), out)
        self.assertEqual(run(["ship.png"], cwd=self.folder)[0], 0)  # quillbit writes it
        status, out, _ = check(["ship.png"], cwd=self.folder)
        self.assertEqual(status, 0)
        self.assertTrue(out.endswith("\nship.h: up to date\n"), out)
        self.row_picture("ship.png", [SHIP[0], [L, L] + [W] * 14])  # redrawn since
        status, out, _ = check(["ship.png"], cwd=self.folder)
        self.assertEqual(status, 1)
        self.assertIn('\nship.h: out of date: line 7 reads "\\t0xFF00,0x8000};" where quillbit '
                      'writes "\\t0xFF00,0xC000};"\n', out)


class NotPicturesOrHeaders(CheckTest):
    def test_files_that_are_neither_and_usage_errors_are_told_apart(self):
        write_bytes(self.path("notes.h"), b"#pragma once\n")
        self.row_picture("ship.png", SHIP)
        shutil.copy(self.path("ship.png"), self.path("art.h"))
        cases = [  # arguments, status, start of standard output, start of standard error
            (["notes.h"], 1, "notes.h: not a header quillbit wrote: its first line is not "
                             "quillbit's \"//Image data created by Quillbit 1.0 Beta (Marrowick)\"",
             ""),
            (["art.h"], 1, "art.h: not a header quillbit wrote: its first line is not", ""),
            (["gone.png"], 1, "", 'quillbit-check: cannot read picture "gone.png": '),
            ([], 2, "", "quillbit-check: no files named\n"),
            (["--colour"], 2, "", "quillbit-check: unknown option --colour"),
            (["--help"], 0, "Usage: quillbit-check [--json] [--] FILE...\n", ""),
            (["--version"], 0, "quillbit-check 1.0.0\nCopyright (c) 2026 the quillbit developers; "
                               "MIT License", ""),
        ]
        for arguments, status, out, err in cases:
            with self.subTest(arguments):
                result = check(arguments, cwd=self.folder)
                self.assertEqual(result[0], status, result)
                self.assertTrue(result[1].startswith(out), result)
                self.assertTrue(result[2].startswith(err) and bool(result[2]) == bool(err), result)


def on_terminal(arguments, cwd, env):
    """Runs the program with standard output on a new pseudo-terminal; returns what it shows."""
    main, side = pty.openpty()
    try:
        process = subprocess.Popen([CHECK] + arguments, cwd=cwd, env=env, stdout=side,
                                   stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
    finally:
        os.close(side)
    shown = b""
    try:
        while select.select([main], [], [], 30)[0]:
            chunk = os.read(main, 65536)
            if not chunk:
                break
            shown += chunk
    except OSError:  # the terminal is gone with the program
        pass
    finally:
        os.close(main)
    process.wait(timeout=30)
    return shown.decode("utf-8").replace("\r\n", "\n")


class Drawing(CheckTest):
    def test_off_a_terminal_the_drawing_is_plain_with_a_legend(self):
        self.row_picture("ship.png", SHIP)
        for env in ({}, {"NO_COLOR": "1"}, {"TERM": "xterm-256color"}):
            with self.subTest(env):
                status, out, _ = check(["ship.png"], cwd=self.folder,
                                       env=dict(os.environ, **env))
                self.assertEqual(status, 0)
                self.assertNotIn("\x1b", out)
                self.assertEqual(drawing_in(out), ["########........", "-+.............."])

    @unittest.skipIf(EMULATOR, "the pseudo-terminal is the Linux program's")
    def test_on_a_terminal_two_rows_share_a_line_unless_told_otherwise(self):
        self.row_picture("ship.png", SHIP)
        coloured = ("\x1b[38;5;16;48;5;248m▀\x1b[38;5;16;48;5;240m▀\x1b[38;5;16;48;5;231m▀▀▀▀▀▀"
                    "\x1b[38;5;231;48;5;231m▀▀▀▀▀▀▀▀\x1b[0m\n")
        plain = "########........\n-+..............\n"
        cases = [  # environment, the drawing
            ({}, coloured),
            ({"NO_COLOR": ""}, coloured),  # set but empty: no request
            ({"NO_COLOR": "1"}, plain),
            ({"TERM": "dumb"}, plain),
            ({"LANG": "C"}, plain),  # a terminal without UTF-8 shows no half blocks
        ]
        base = {k: v for k, v in os.environ.items() if k not in ("NO_COLOR", "LC_ALL", "LC_CTYPE")}
        base.update(TERM="xterm-256color", LANG="C.UTF-8")
        for env, drawing in cases:
            with self.subTest(env):
                shown = on_terminal(["ship.png"], self.folder, dict(base, **env))
                self.assertIn("SpriteType: 16\n" + drawing, shown)
