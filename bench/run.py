"""Times quillbit against the converters people use today and against the copy floor.

Every group of commands runs in one hyperfine call per round, the order rotating from
round to round, so that drift of a shared machine falls on every command alike; the
medians are taken over all rounds. Each command works on its own copy of the corpus.
Repeated runs are equivalent: every tool overwrites its outputs, and quillbit copies
its companion header only on the warm-up run (it is there afterwards).

Usage: run.py BUILD_FOLDER   (the Release build holding quillbit)
Environment: BENCH_ROUNDS (default 5); BENCH_WORK, the folder for the corpus and the
copies (default BUILD_FOLDER/bench-run), e.g. on /dev/shm to take the disk out.
"""

import json
import os
import platform
import shlex
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import corpus  # noqa: E402
import report  # noqa: E402

PER_PICTURE_COUNT = 100
SINGLE_PICTURE = "one_16x16_grey.png"  # written beside the corpus by write_single_picture


class Bench:
    def __init__(self, build):
        self.build = os.path.abspath(build)
        self.quillbit = os.path.join(self.build, "quillbit")
        self.work = os.path.abspath(os.environ.get("BENCH_WORK",
                                                   os.path.join(self.build, "bench-run")))
        self.corpus = os.path.join(self.work, "corpus")
        self.rounds = int(os.environ.get("BENCH_ROUNDS", "5"))

    def write_single_picture(self):
        rows = corpus.sprite_rows(corpus.random.Random(16), 16, 16, True)
        corpus.pictures.write(os.path.join(self.corpus, SINGLE_PICTURE), rows)

    def fresh_copy(self, label, names):
        folder = os.path.join(self.work, label)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        for name in names:
            shutil.copyfile(os.path.join(self.corpus, name), os.path.join(folder, name))
        return folder

    def per_picture(self, tool, names):
        folder = self.fresh_copy("each-" + tool, names)
        return ["sh", os.path.join(HERE, "per_picture.sh"), tool, folder] + names

    def groups(self, names):
        def batch(label):
            folder = self.fresh_copy(label, names)
            return [os.path.join(folder, name) for name in names]

        floor_out = os.path.join(self.work, "batch-cp-out")
        os.makedirs(floor_out, exist_ok=True)
        each = names[:PER_PICTURE_COUNT]
        one = self.fresh_copy("one", [SINGLE_PICTURE])
        one_path = os.path.join(one, SINGLE_PICTURE)
        netpbm = "pngtopnm %s | ppmtopgm | pgmtopbm -threshold | pbmtoxbm > %s" % (
            one_path, one_path[:-4] + ".xbm")
        return [
            ("Batch: %d pictures, one call" % len(names), len(names), 2, [
                ("quillbit", [self.quillbit] + batch("batch-quillbit")),
                ("mogrify +dither", ["/usr/bin/mogrify", "+dither", "-format", "xbm"]
                 + batch("batch-mogrify")),
                ("Pillow, one process", ["/usr/bin/python3", os.path.join(HERE, "pillow_batch.py")]
                 + batch("batch-pillow")),
                ("cp (floor)",
                 ["cp"] + [os.path.join(self.corpus, n) for n in names] + [floor_out]),
            ]),
            ("One call per picture: %d pictures" % len(each), len(each), 1, [
                ("quillbit", self.per_picture("quillbit", each)),
                ("convert +dither", self.per_picture("convert", each)),
                ("netpbm pipeline", self.per_picture("netpbm", each)),
                ("cp (floor)", self.per_picture("cp", each)),
            ]),
            ("One picture (16 x 16 PNG), one call", 1, 10, [
                ("quillbit", [self.quillbit, one_path]),
                ("convert +dither",
                 ["/usr/bin/convert", one_path, "+dither", one_path[:-4] + ".xbm"]),
                ("netpbm pipeline", ["sh", "-c", netpbm]),
                ("Pillow", ["/usr/bin/python3", os.path.join(HERE, "pillow_batch.py"), one_path]),
                ("cp (floor)", ["cp", one_path, one_path + ".copy"]),
            ]),
        ]

    def time_round(self, commands, runs, index):
        shift = index % len(commands)
        order = commands[shift:] + commands[:shift]
        out = os.path.join(self.work, "round.json")
        arguments = ["hyperfine", "-N", "--style", "basic", "--runs", str(runs),
                     "--warmup", "1", "--export-json", out]
        for name, command in order:
            arguments += ["-n", name, " ".join(shlex.quote(part) for part in command)]
        # hyperfine's outlier warnings are expected on a shared machine; its errors are not.
        result = subprocess.run(arguments, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                text=True, env=dict(os.environ, QUILLBIT=self.quillbit))
        if result.returncode != 0:
            sys.exit("hyperfine failed:\n" + result.stderr)
        with open(out) as document:
            return json.load(document)

    def peak_memory(self, command):
        result = subprocess.run(["/usr/bin/time", "-v"] + command, stdout=subprocess.DEVNULL,
                                stderr=subprocess.PIPE, text=True,
                                env=dict(os.environ, QUILLBIT=self.quillbit), check=True)
        return report.peak_kilobytes(result.stderr)

    def run_group(self, title, pictures, runs, commands):
        print("timing: %s (%d rounds)" % (title, self.rounds), file=sys.stderr)
        rounds = [self.time_round(commands, runs, index) for index in range(self.rounds)]
        merged = report.merge_rounds(rounds)
        rows = []
        for name, command in commands:
            merged[name]["peak_kb"] = self.peak_memory(command)
            rows.append((name, merged[name]))
        return dict(rows), report.group_table(title, rows, pictures, "cp (floor)", "quillbit")


def machine_line():
    model = "unknown CPU"
    with open("/proc/cpuinfo") as info:
        for line in info:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    return "%s, %d cores (nproc), %s, Linux %s" % (
        time.strftime("%Y-%m-%d", time.gmtime()), os.cpu_count(), model, platform.release())


def filesystem_of(folder):
    """The type of the file system that holds folder, from /proc/mounts."""
    best, kind = "", "unknown file system"
    with open("/proc/mounts") as mounts:
        for line in mounts:
            fields = line.split()
            mount = fields[1]
            inside = folder == mount or folder.startswith(mount.rstrip("/") + "/")
            if inside and len(mount) >= len(best):
                best, kind = mount, fields[2]
    return kind


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    bench = Bench(sys.argv[1])
    shutil.rmtree(bench.corpus, ignore_errors=True)  # seeded: the same pictures every time
    corpus.write_corpus(bench.corpus, 1000, corpus.DEFAULT_SEED)
    names = sorted(os.listdir(bench.corpus))
    bench.write_single_picture()
    sections = ["Measured %s; files in %s; medians of %d interleaved rounds.\n" % (
        machine_line(), filesystem_of(bench.work), bench.rounds)]
    measured = []
    for title, pictures, runs, commands in bench.groups(names):
        numbers, text = bench.run_group(title, pictures, runs, commands)
        measured.append(numbers)
        sections.append(text)
    sections.append(report.targets_table(*measured))
    table = "\n".join(sections)
    with open(os.path.join(bench.build, "bench-results.md"), "w") as out:
        out.write(table)
    print(table)


if __name__ == "__main__":
    main()
