"""A header written anew keeps what the user gave the old one (mode, owner, group, ACL);
a new header gets what any program creating a file in that folder gets; a read-only
header is refused, as on Windows."""

import os
import shutil
import subprocess
import unittest

from safety import NODE_PACKAGE, SafetyTest, read_bytes, run, write_bytes

OLD_HEADER = b"// the header of an earlier run\r\n"
NOBODY = 65534


def acl_of(path):
    """getfacl's entries of path, without comments and the effective rights."""
    done = subprocess.run(["getfacl", "--omit-header", "--absolute-names", path],
                          capture_output=True, text=True, check=True)
    return [line.split("\t")[0] for line in done.stdout.splitlines() if line]


class KeptPermissions(SafetyTest):

    def setUp(self):
        super().setUp()
        self.picture("a.png")
        self.header = self.path("a.h")
        write_bytes(self.header, OLD_HEADER)

    def set_acl(self, *arguments):
        if not shutil.which("setfacl"):
            self.skipTest("setfacl is not installed (package acl)")
        done = subprocess.run(["setfacl"] + list(arguments), capture_output=True, text=True)
        if done.returncode != 0:
            self.skipTest("this file system takes no ACL: " + done.stderr.strip())

    def test_a_replaced_header_keeps_mode_owner_and_acl(self):
        def named_user_acl():
            if NODE_PACKAGE:
                self.skipTest("Node's fs cannot read or set an ACL")
            self.set_acl("-m", "u:nobody:rw", self.header)

        def other_owner():
            if os.geteuid() != 0:
                self.skipTest("only root can give the old header to another owner")
            os.chown(self.header, NOBODY, NOBODY)

        cases = [
            ("private 0600", lambda: os.chmod(self.header, 0o600), 0o600),
            ("group-writable 0664", lambda: os.chmod(self.header, 0o664), 0o664),
            ("named-user ACL", named_user_acl, None),
            ("another owner", other_owner, None),
        ]
        for case, prepare, mode in cases:
            with self.subTest(case):
                write_bytes(self.header, OLD_HEADER)
                os.chmod(self.header, 0o644)
                prepare()
                before = os.stat(self.header)
                acl_before = acl_of(self.header) if shutil.which("getfacl") else None
                outcome = run(["a.png"], cwd=self.folder)
                self.assertEqual((outcome.status, outcome.stderr), (0, ""))
                self.assertNotEqual(read_bytes(self.header), OLD_HEADER)
                after = os.stat(self.header)
                self.assertEqual(oct(after.st_mode), oct(before.st_mode))
                self.assertEqual((after.st_uid, after.st_gid), (before.st_uid, before.st_gid))
                if acl_before is not None:
                    self.assertEqual(acl_of(self.header), acl_before)
                if mode is not None:
                    self.assertEqual(after.st_mode & 0o7777, mode)

    def test_a_read_only_header_is_refused_and_kept(self):
        for mode in (0o444, 0o400, 0o000):
            with self.subTest(mode=oct(mode)):
                os.chmod(self.header, mode)
                outcome = run(["a.png"], cwd=self.folder)
                self.assert_reported(outcome, "a.h", "the file is read-only")
                self.assertEqual(read_bytes(self.header), OLD_HEADER)
                self.assertEqual(os.stat(self.header).st_mode & 0o7777, mode)

    def test_a_new_header_gets_what_the_folder_gives_new_files(self):
        folder = self.path("new")
        os.mkdir(folder)
        self.picture(os.path.join("new", "b.png"))
        self.set_acl("-d", "-m", "u::rw,g::r,o::-", folder)
        outcome = run(["b.png"], cwd=folder, umask=0o022)
        self.assertEqual((outcome.status, outcome.stderr), (0, ""))
        for name in ("b.h", "Blitview.h"):
            with self.subTest(name):
                self.assertEqual(os.stat(os.path.join(folder, name)).st_mode & 0o777, 0o640)

    def test_a_new_header_follows_the_umask(self):
        for umask, mode in ((0o022, 0o644), (0o077, 0o600), (0o002, 0o664)):
            with self.subTest(umask=oct(umask)):
                os.remove(self.header)
                outcome = run(["a.png"], cwd=self.folder, umask=umask)
                self.assertEqual((outcome.status, outcome.stderr), (0, ""))
                self.assertEqual(os.stat(self.header).st_mode & 0o777, mode)


if __name__ == "__main__":
    unittest.main()
