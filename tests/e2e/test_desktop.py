"""The desktop front end: real message boxes on a virtual X display."""

import os
import shutil
import subprocess
import time
import unittest

from harness import ConverterTest, pictures, run

DESKTOP_PROGRAM = os.environ.get("QUILLBITW", "")
INFORMATION = "Quillbit - a.png\nDimensions: 8 by 1\nSpriteType: 8\n"


def environment_without_display():
    env = dict(os.environ)
    env.pop("DISPLAY", None)
    env.pop("WAYLAND_DISPLAY", None)
    return env


class VirtualDisplay:
    """An Xvfb server on a display number it picks itself."""

    def __init__(self):
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "800x600x24",
             "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            self.close()
            raise OSError("Xvfb did not start")
        self.name = ":" + number

    def env(self):
        env = environment_without_display()
        env["DISPLAY"] = self.name
        return env

    def windows_titled(self, title):
        tree = subprocess.run(["xwininfo", "-root", "-tree"], env=self.env(), capture_output=True,
                              text=True).stdout
        return [line.split()[0] for line in tree.splitlines() if f'"{title}"' in line]

    def wait_for_window(self, title, process, timeout=30):
        """The box's window; fails at once when the program ended without one, which
        tells a fallback to the terminal from a slow box."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            found = self.windows_titled(title)
            if found:
                return found[0]
            if process.poll() is not None:
                out, err = process.communicate()
                raise AssertionError(f"no box: the program ended with {process.returncode}, "
                                     f"printing {out!r} and {err!r}")
            time.sleep(0.1)
        raise AssertionError(f"no window titled {title!r} appeared")

    def press_return(self, window):
        # No check: the box may already be gone when a repeated press arrives.
        subprocess.run(["xdotool", "key", "--window", window, "Return"], env=self.env(),
                       capture_output=True)

    def dismiss(self, window, dismissed, timeout=30):
        """Presses Return until dismissed() holds: on a loaded machine a key sent while
        the box is still being mapped can be lost, and a person would press again."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            self.press_return(window)
            if wait_for(dismissed, timeout=2):
                return True
        return False

    def close(self):
        self.server.terminate()
        self.server.wait(timeout=10)


def wait_for(condition, timeout=15):
    deadline = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > deadline:
            return False
        time.sleep(0.05)
    return True


class DesktopTest(ConverterTest):
    def setUp(self):
        super().setUp()
        if not DESKTOP_PROGRAM:
            self.skipTest("QUILLBITW is not set")


class MessageBoxes(DesktopTest):
    def setUp(self):
        super().setUp()
        if not (shutil.which("Xvfb") and shutil.which("xdotool") and shutil.which("xwininfo")):
            self.skipTest("Xvfb, xdotool or xwininfo is not installed: no virtual display")
        try:
            self.display = VirtualDisplay()
        except OSError as error:
            self.skipTest(f"Xvfb cannot start here, so no box can be shown: {error}")
        self.addCleanup(self.display.close)

    def start(self, names):
        process = subprocess.Popen([DESKTOP_PROGRAM] + names, cwd=self.folder,
                                   env=self.display.env(), stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE)
        self.addCleanup(process.kill)
        return process

    def test_each_box_holds_the_batch_until_return_is_pressed(self):
        for name in ("a.png", "b.png"):
            self.picture(name, pictures.filled(8, 1, pictures.BLACK))
        process = self.start(["a.png", "b.png"])
        for header in ("a.h", "b.h"):
            window = self.display.wait_for_window("quillbit", process)
            time.sleep(0.3)  # the batch must stay put while the box is up
            self.assertIsNone(process.poll())
            self.assertFalse(os.path.exists(self.path(header)),
                             "converted before the box was dismissed")
            self.assertTrue(self.display.dismiss(window, lambda: os.path.exists(self.path(header))))
        out, err = process.communicate(timeout=15)
        self.assertEqual((process.returncode, out, err), (0, b"", b""))
        self.assertTrue(os.path.exists(self.path("Blitview.h")))

    def test_run_time_error_is_reported_in_a_box(self):
        process = self.start(["missing.png"])
        window = self.display.wait_for_window("quillbit", process)
        self.assertTrue(self.display.dismiss(window, lambda: process.poll() is not None))
        out, err = process.communicate(timeout=15)
        self.assertEqual((process.returncode, out, err), (1, b"", b""))


class WithoutDisplay(DesktopTest):
    def test_falls_back_to_the_terminal(self):
        self.picture("a.png", pictures.filled(8, 1, pictures.BLACK))
        env = environment_without_display()
        self.assertEqual(run(["a.png"], cwd=self.folder, program=DESKTOP_PROGRAM, env=env),
                         (0, INFORMATION, ""))
        status, out, err = run(["missing.png"], cwd=self.folder, program=DESKTOP_PROGRAM, env=env)
        self.assertEqual((status, out), (1, ""))
        self.assertTrue(err.startswith('quillbit: cannot read picture "missing.png"'), err)
        self.assertEqual(run([], program=DESKTOP_PROGRAM, env=env)[0], 2)


class DisplayWithoutServer(DesktopTest):
    """An X display that is named but not there; means nothing to the Windows build."""

    def test_says_so_when_a_named_display_shows_no_box(self):
        self.picture("a.png", pictures.filled(8, 1, pictures.BLACK))
        env = environment_without_display()
        env["DISPLAY"] = ":65000"  # no server listens there
        status, out, err = run(["a.png"], cwd=self.folder, program=DESKTOP_PROGRAM, env=env)
        self.assertEqual((status, out), (0, INFORMATION))
        self.assertTrue(err.startswith("quillbit: cannot show a message box ("), err)
        self.assertEqual(err.count("\n"), 1, err)


if __name__ == "__main__":
    unittest.main()
