#!/usr/bin/env python3
"""Blitview.h on the machines the sprites are for, each under its simulator.

Converts one sprite of every layout with the built quillbit (8, 16, 32 and 24 wide, one
plane and two, one 40 wide as tall as the target's memory takes), builds target_check.c
with them for each of TARGETS (warnings as errors) and for the build machine, and checks
the simulator's output byte for byte against the build machine's, and that against the
pixel model of test_companion.py. Prints a table with the drawing code's bytes.

Usage: test_targets.py --quillbit PATH [--companion PATH]
"""

import argparse
import concurrent.futures
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
import pictures  # noqa: E402
from test_companion import MODES, SCREEN_ROWS, expected_screen, levels_of  # noqa: E402

GCC_WARNINGS = ["-std=c99", "-pedantic", "-Wall", "-Wextra", "-Werror", "-Os"]
ARM = ["-mthumb", "-nostartfiles", "-Wl,--section-start=.vectors=0,-Ttext=0x100,-Tdata=0x20000000"]
AVR_RUN = ["simavr", "-f", "16000000", "-m"]
ARM_RUN = ["qemu-system-arm", "-nographic", "-semihosting", "-monitor", "none", "-serial", "none",
           "-kernel", "{program}", "-M"]
# ucsim loses the end of the output when it quits by itself (-G): told to quit instead.
SIMIF = ["-I", "if={simif}", "{program}"]
SDCC = ["sdcc", "--Werror", "--opt-code-size"]

# name, compiler and flags, simulator, rows of the tall sprite (40 wide, two planes)
TARGETS = [
    ("atmega328p", ["avr-gcc", "-mmcu=atmega328p"] + GCC_WARNINGS, AVR_RUN + ["atmega328p"], 96),
    ("atmega1284p", ["avr-gcc", "-mmcu=atmega1284p"] + GCC_WARNINGS, AVR_RUN + ["atmega1284p"],
     819),
    ("cortex-m3", ["arm-none-eabi-gcc", "-mcpu=cortex-m3"] + ARM + GCC_WARNINGS,
     ARM_RUN + ["lm3s6965evb"], 819),
    ("cortex-m0", ["arm-none-eabi-gcc", "-mcpu=cortex-m0"] + ARM + GCC_WARNINGS,
     ARM_RUN + ["microbit"], 819),
    ("m68k", ["m68k-linux-gnu-gcc", "-static", "-nostdlib"] + GCC_WARNINGS, ["qemu-m68k"], 819),
    # gcc 12 fails on target_check.c with -mshort (an internal error in ivopts).
    ("m68k -mshort", ["m68k-linux-gnu-gcc", "-mshort", "-static", "-nostdlib", "-fno-ivopts"]
     + GCC_WARNINGS,
     ["qemu-m68k"], 819),
    ("6502 (cc65)", ["cl65", "-t", "sim6502", "-O", "-W", "+error"], ["sim65"], 819),
    ("z80 (sdcc)", SDCC + ["-mz80"], ["sz80"] + SIMIF, 819),
    ("stm8 (sdcc)", SDCC + ["-mstm8"], ["sstm8"] + SIMIF, 400),
    ("8051 (sdcc)", SDCC + ["-mmcs51", "--model-large", "--stack-auto"], ["s51"] + SIMIF, 819),
]
SIMIF_PLACE = {"z80": "outputs[0xff]", "stm8": "rom[0xffff]", "mcs51": "xram[0xffff]"}
HOST = ["cc"] + GCC_WARNINGS

# Where target_check.c draws each sprite: x + dx * width / 2, y + dy * height.
PLACES = [(0, 0, 0, 0), (1, 1, 0, 0), (3, 2, 0, 0), (7, 3, 0, 0), (8, 4, 0, 0), (13, 5, 0, 0),
          (-5, 1, 0, 0), (55, -2, -1, 0), (11, 10, 0, 0), (0, 0, -2, 0), (56, 0, 0, 0),
          (0, 12, 0, 0), (0, 0, 0, -1)]

# name, width, height, grey
SPRITES = [("w8m", 8, 9, False), ("w16g", 16, 10, True), ("w32m", 32, 5, False),
           ("w24g", 24, 4, True)]


def run(command, **kwargs):
    return subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          universal_newlines=True, timeout=600, **kwargs)


def write_sprites(folder, quillbit, tall_rows):
    """The pictures, their headers from quillbit and target_sprites.c that lists them."""
    os.makedirs(folder)
    sprites = SPRITES + [("tall", 40, tall_rows, True)]
    colours = [pictures.WHITE, pictures.BLACK, pictures.LIGHT, pictures.DARK]
    model = []
    for name, width, height, grey in sprites:
        pick = random.Random(name).choice
        rows = [[pick(colours[:4 if grey else 2]) for _ in range(width)] for _ in range(height)]
        rows[0][0] = pictures.BLACK
        pictures.write(os.path.join(folder, name + ".png"), rows)
        model += model_output(levels_of(rows))
    converted = run([quillbit] + [os.path.join(folder, s[0] + ".png") for s in sprites],
                    stdin=subprocess.DEVNULL)
    if converted.returncode != 0:
        raise RuntimeError("quillbit failed: " + converted.stderr)
    lines = ['#include "%s.h"' % s[0] for s in sprites] + ['#include "Blitview.h"']
    lines.append("const blitview_sprite target_sprites[] = {")
    descriptors = ["  BLITVIEW_%s(%s, %s)" % ("GREY" if grey else "MONO", name.upper(), name)
                   for name, _, _, grey in sprites]
    lines.append(",\n".join(descriptors))
    lines.append("};\nconst int target_sprite_count = %d;" % len(sprites))
    with open(os.path.join(folder, "target_sprites.c"), "w") as out:
        out.write("\n".join(lines) + "\n")
    return "\n".join(model + ["end"]) + "\n"


def model_output(levels):
    """What target_check.c must print for a sprite, from test_companion.py's pixel model."""
    width, height = len(levels[0]), len(levels)
    lines = ["".join(map(str, levels[0])), "".join(map(str, levels[-1])), "000"]
    visible = levels[:SCREEN_ROWS + 2]  # no draw shows more rows; the tall sprite's model is quick
    for mode in MODES:
        for x, y, dx, dy in PLACES:
            lines += expected_screen(visible, 2, [(x + dx * (width // 2), y + dy * height, mode)])
    return lines + expected_screen(visible, 1, [(3, 2, "PUT")]) + [""]


def build(compiler, folder, companion_dir, program):
    """Builds target_check.c and target_sprites.c; None on success, else the compiler's words."""
    include = ["-I", companion_dir, "-I", folder]
    sources = [os.path.join(folder, "target_check.c"), os.path.join(folder, "target_sprites.c")]
    if compiler[0] != "sdcc":
        built = run(compiler + include + sources + ["-o", program])
        return None if built.returncode == 0 else built.stderr
    objects = []
    for source in sources:  # sdcc builds one file at a time
        objects.append(os.path.join(folder, os.path.basename(source)[:-2] + ".rel"))
        built = run(compiler + include + ["-c", source, "-o", objects[-1]])
        if built.returncode != 0:
            return built.stdout + built.stderr
    built = run(compiler + objects + ["-o", program])
    return None if built.returncode == 0 else built.stdout + built.stderr


def simulator_output(command, compiler, program):
    """What the program printed, without the simulator's own words."""
    machine = re.search(r"-m(z80|stm8|mcs51)", " ".join(compiler))
    simif = SIMIF_PLACE[machine.group(1)] if machine else ""
    commands = "run\nquit\n" if machine else ""
    command = [part.format(program=program, simif=simif) for part in command]
    ran = run(command + ([] if program in command else [program]), input=commands)
    text = ran.stderr if command[0] == "qemu-system-arm" else ran.stdout  # semihosting
    if command[0] == "simavr":  # its UART lines: coloured, broken at 256, "." for newline
        text = re.sub(r"\x1b\[[0-9;]*m|\n", "", ran.stderr).replace(".", "\n")
    # Only the program prints lines of hex digits, level digits or "end".
    return ran.returncode, "".join(line for line in text.splitlines(True)
                                   if re.fullmatch(r"[0-9A-F]*\n|end\n", line))


def drawing_cost(compiler, work, companion_dir):
    """Bytes of code and constants of the drawing code alone, from its object file."""
    source = os.path.join(work, "implementation.c")
    objects = source[:-1] + ("rel" if compiler[0] == "sdcc" else "o")
    with open(source, "w") as out:
        out.write('#define BLITVIEW_IMPLEMENTATION\n#include "Blitview.h"\n')
    if run(compiler + ["-I", companion_dir, "-c", "-o", objects, source]).returncode != 0:
        return "?"
    if compiler[0] == "sdcc":
        with open(objects) as rel:
            areas = dict(re.findall(r"^A (\w+) size (\w+)", rel.read(), re.M))
        return sum(int(areas.get(a, "0"), 16) for a in ("_CODE", "CODE", "CSEG", "CONST"))
    if compiler[0] == "cl65":
        dump = run(["od65", "--dump-segsize", objects]).stdout
        return sum(int(n) for n in re.findall(r"(?:CODE|RODATA):\s*(\d+)", dump))
    return int(run([compiler[0].replace("gcc", "size"), objects]).stdout.split()[6])


def check_target(target, quillbit, companion_dir, work):
    """(name, how many of compiled, ran and identical hold, whether the build machine drew
    as the pixel model, what failed, drawing cost)."""
    name, compiler, simulator, tall_rows = target
    folder = os.path.join(work, re.sub(r"\W+", "_", name))
    model = write_sprites(folder, quillbit, tall_rows)
    # quillbit put its own Blitview.h beside the headers, which "Blitview.h" finds first.
    shutil.copy(os.path.join(companion_dir, "Blitview.h"), folder)
    shutil.copy(os.path.join(HERE, "target_check.c"), folder)  # cc65 puts objects beside it
    host_program = os.path.join(folder, "host")
    program = os.path.join(folder, "program" + (".ihx" if compiler[0] == "sdcc" else ""))
    failure = build(HOST, folder, companion_dir, host_program)
    expected = failure or run([host_program]).stdout
    if expected != model:
        return name, -1, False, "the build machine's program is not the pixel model's: " + (
            failure or first_difference(expected, model)), None
    failure = build(compiler, folder, companion_dir, program)
    cost = drawing_cost(compiler, folder, companion_dir)
    if failure:
        return name, 0, True, "not compiled:\n" + failure, cost
    status, output = simulator_output(simulator, compiler, program)
    output = output.split("end\n", 1)[0] + "end\n" if "end\n" in output else output
    if not output.endswith("end\n"):
        return name, 1, True, "did not run to its end (status %d):\n%s" % (
            status, output[-400:]), cost
    if output != expected:
        return name, 2, True, "differs from the build machine's: " + first_difference(
            output, expected), cost
    return name, 3, True, None, cost


def first_difference(output, expected):
    pairs = list(zip(output.splitlines() + ["(none)"], expected.splitlines() + ["(none)"]))
    line = next(i for i, (a, b) in enumerate(pairs) if a != b)
    return "line %d:\n%s\ninstead of\n%s" % (line + 1, pairs[line][0][:200], pairs[line][1][:200])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--quillbit", required=True, help="the built quillbit program")
    parser.add_argument("--companion", default=os.path.join(HERE, "..", "..", "companion"),
                        help="the folder of the Blitview.h to test")
    parser.add_argument("--target", action="append", help="only this target (repeatable)")
    args = parser.parse_args()
    targets = [t for t in TARGETS if not args.target or t[0] in args.target]
    missing = {t[i][0] for t in TARGETS for i in (1, 2) if not shutil.which(t[i][0])}
    if missing:
        print("missing (scripts/install-deps.sh installs them): " + " ".join(sorted(missing)))
        return 1
    work = tempfile.mkdtemp(prefix="quillbit-targets-")
    try:
        with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
            results = list(pool.map(lambda t: check_target(t, os.path.abspath(args.quillbit),
                                                           os.path.abspath(args.companion), work),
                                    targets))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    row = "%-14s %-7s %-9s %-4s %-10s %s"
    print(row % ("target", "model", "compiled", "ran", "identical", "code bytes"))
    for name, reached, model, _, cost in results:
        marks = ["yes" if reached > i else "no" if reached == i else "-" for i in range(3)]
        print(row % ((name, "yes" if model else "no") + tuple(marks) + (cost or "?",)))
    failed = [(name, failure) for name, _, _, failure, _ in results if failure]
    for name, failure in failed:
        print("\n== %s: %s" % (name, failure))
    print("%d passed, %d failed" % (len(results) - len(failed), len(failed)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
