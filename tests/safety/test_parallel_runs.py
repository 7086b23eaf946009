"""Runs at once in one folder, as make -j and Ninja start them: every run ends with
status 0, every header is the one a run alone writes, and the companion that one of
them installs is whole."""

import os
import shutil
import unittest

from safety import COMPANION, SANITIZED, SafetyTest, finish, pictures, read_bytes, run, \
    start_together, temporary_files

AT_ONCE = 8
ROUNDS = 4 if SANITIZED else 15


def rows_of(number):
    """A different picture for each number: its height tells them apart."""
    return pictures.filled(8, number + 1, pictures.BLACK)


class ParallelRuns(SafetyTest):

    def setUp(self):
        super().setUp()
        alone = self.path("alone")
        names = [os.path.basename(self.picture(os.path.join("alone", "s%d.png" % number),
                                               rows_of(number)))
                 for number in range(AT_ONCE)]
        for name in names:
            self.assertEqual(run([name], cwd=alone).status, 0)
        self.expected = {name: read_bytes(os.path.join(alone, name[:-3] + "h"))
                         for name in names}

    def test_runs_at_once_in_one_folder_all_succeed(self):
        cases = {"each its own picture": lambda number: "s%d.png" % number,
                 "all on the same picture": lambda number: "s0.png"}
        for case, name_of in cases.items():
            for round_number in range(ROUNDS):
                with self.subTest(case=case, round=round_number):
                    self.run_at_once([name_of(number) for number in range(AT_ONCE)])

    def run_at_once(self, names):
        folder = self.path("together")
        shutil.rmtree(folder, ignore_errors=True)
        for number in range(AT_ONCE):
            self.picture(os.path.join("together", "s%d.png" % number), rows_of(number))
        runs = start_together([[name] for name in names], cwd=folder)
        outcomes = [finish(process) for process in runs]
        self.assertEqual([outcome.status for outcome in outcomes], [0] * len(names),
                         [outcome.stderr for outcome in outcomes])
        for name in set(names):
            self.assertEqual(read_bytes(os.path.join(folder, name[:-3] + "h")),
                             self.expected[name])
        self.assertEqual(read_bytes(os.path.join(folder, "Blitview.h")), read_bytes(COMPANION))
        self.assertEqual(temporary_files(folder), [])


if __name__ == "__main__":
    unittest.main()
