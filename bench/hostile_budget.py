"""CPU and memory each hostile picture costs quillbit, against the budgets the tests once
held it to: 0.5 s of CPU and 100 MB per bomb. A figure, not a test: a loaded machine moves
it, so it is read by a person, and a bomb over budget is named, not failed.

Usage: hostile_budget.py BUILD_FOLDER   (the Release build holding quillbit)"""

import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
HOSTILE = os.path.join(HERE, "..", "tests", "hostile")
sys.path.insert(0, HOSTILE)
os.environ.setdefault("QUILLBIT", os.path.join(os.path.abspath(sys.argv[1]), "quillbit"))
import hostile  # noqa: E402  (the path above makes it importable)

CPU_SECONDS = 0.5
PEAK_MEGABYTES = 100


def main():
    bombs = tempfile.mkdtemp(prefix="quillbit-bench-bombs-")
    try:
        subprocess.run([sys.executable, os.path.join(HOSTILE, "make_bombs.py"), bombs, "--full"],
                       check=True, stdout=subprocess.DEVNULL)
        over = []
        for name in sorted(os.listdir(bombs)):
            outcome = hostile.run([os.path.join(bombs, name)], cwd=bombs)
            mark = ""
            if outcome.cpu_seconds >= CPU_SECONDS or outcome.peak_megabytes >= PEAK_MEGABYTES:
                mark = "  over budget"
                over.append(name)
            print("%-40s %6.3f s CPU %7.1f MB%s" % (name, outcome.cpu_seconds,
                                                    outcome.peak_megabytes, mark))
        print("%d bombs, %d over %.1f s of CPU or %d MB" % (
            len(os.listdir(bombs)), len(over), CPU_SECONDS, PEAK_MEGABYTES))
    finally:
        shutil.rmtree(bombs, True)


if __name__ == "__main__":
    main()
