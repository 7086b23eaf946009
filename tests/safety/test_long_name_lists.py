"""One call with 100,000 names: every name comes off in order, and taking the last
names costs what taking the first ones did. The cost is counted in instructions by
callgrind, so how busy the machine is does not matter."""

import os
import re
import shutil
import subprocess
import unittest

WALK = os.environ.get("QUILLBIT_NAME_LIST_WALK", "")
COUNTS = (5000, 40000, 100000)
# A name list of 100,000 names that takes longer than this under callgrind is not linear
# (a linear one takes a few seconds); the quadratic parser needed hours there.
PATIENCE_SECONDS = 240


def instructions(count):
    """Instructions of one walk over count names, as callgrind counts them."""
    done = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null",
                           WALK, str(count)], capture_output=True, text=True,
                          timeout=PATIENCE_SECONDS)
    found = re.search(r"Collected : (\d+)", done.stderr)
    if done.returncode != 0 or not found:
        raise AssertionError("callgrind failed:\n" + done.stderr)
    return int(found.group(1))


class LongNameLists(unittest.TestCase):

    def setUp(self):
        if not WALK:
            self.skipTest("QUILLBIT_NAME_LIST_WALK is not set")

    def test_every_name_of_a_long_list_comes_off_in_order(self):
        for count in COUNTS:
            with self.subTest(count=count):
                done = subprocess.run([WALK, str(count)], capture_output=True, text=True,
                                      timeout=PATIENCE_SECONDS)
                self.assertEqual((done.returncode, done.stdout), (0, "%d names\n" % count),
                                 done.stderr)

    def test_the_last_names_cost_what_the_first_ones_did(self):
        if os.environ.get("QUILLBIT_SANITIZED", ""):
            self.skipTest("valgrind cannot run a program built with AddressSanitizer")
        if not shutil.which("valgrind"):
            self.skipTest("valgrind is not installed")
        try:
            total = {count: instructions(count) for count in COUNTS}
        except subprocess.TimeoutExpired as slow:
            self.fail("%s did not end within %d s: taking a name is not linear"
                      % (slow.cmd, PATIENCE_SECONDS))
        # Differences cancel what the start-up and the building of the text cost.
        early = (total[40000] - total[5000]) / 35000
        late = (total[100000] - total[40000]) / 60000
        print("instructions per name: %.0f from 5,000 to 40,000 names, %.0f from 40,000 to "
              "100,000" % (early, late))
        self.assertLess(late, 1.2 * early)


if __name__ == "__main__":
    unittest.main()
