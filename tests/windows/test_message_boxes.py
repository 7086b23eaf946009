"""quillbitw.exe's message boxes on the X display of the Wine session.

Needs DISPLAY (scripts/test-windows.sh starts Xvfb and Wine on it), QUILLBITW,
QUILLBIT_EMULATOR and QUILLBIT_PROBE, a Windows program that reads the box's text.
"""

import os
import shutil
import subprocess
import time
import unittest

from harness import EMULATOR, ConverterTest, pictures

DESKTOP_PROGRAM = os.environ.get("QUILLBITW", "")
PROBE = os.environ.get("QUILLBIT_PROBE", "")


def information(name, width, height, sprite_type):
    return f"Quillbit - {name}\r\nDimensions: {width} by {height}\r\nSpriteType: {sprite_type}"


def wait_for(condition, timeout=20):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.1)
    return None


class MessageBoxes(ConverterTest):
    def setUp(self):
        super().setUp()
        needed = [("DISPLAY", os.environ.get("DISPLAY")), ("QUILLBITW", DESKTOP_PROGRAM),
                  ("QUILLBIT_PROBE", PROBE), ("xdotool", shutil.which("xdotool"))]
        missing = [name for name, value in needed if not value]
        # Not a skip: this suite is only registered where the session provides all of it.
        self.assertEqual(missing, [], "the Windows box test cannot run without these")

    def start(self, names):
        process = subprocess.Popen(EMULATOR + [DESKTOP_PROGRAM] + names, cwd=self.folder,
                                   stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE)
        self.addCleanup(lambda: process.poll() is None and process.kill())
        return process

    def box_window(self, process):
        """The X window of the box titled exactly "quillbit", once one is up. Wine on a busy
        machine can take tens of seconds for a first window; a program that ended without
        one fails at once, with what it printed."""
        def search():
            if process.poll() is not None:
                out, err = process.communicate()
                self.fail(f"no box: the program ended with {process.returncode}, "
                          f"printing {out!r} and {err!r}")
            found = subprocess.run(["xdotool", "search", "--name", "^quillbit$"],
                                   capture_output=True, text=True).stdout.split()
            return found[-1] if found else None
        window = wait_for(search, timeout=90)
        self.assertIsNotNone(window, "no window titled quillbit appeared")
        return window

    def probe(self, accept):
        """(icon, text) of the box once accept(text) holds; the last reading otherwise."""
        last = None

        def read():
            nonlocal last
            done = subprocess.run(EMULATOR + [PROBE], capture_output=True, timeout=30,
                                  stdin=subprocess.DEVNULL)
            lines = done.stdout.decode("utf-8", "replace").split("\n", 1)
            if done.returncode == 0 and len(lines) == 2:
                last = (lines[0] == "icon: yes", lines[1])
            return last is not None and accept(last[1])
        wait_for(read)
        return last

    def press_return(self, window):
        subprocess.run(["xdotool", "windowfocus", "--sync", window], capture_output=True,
                       timeout=10)
        subprocess.run(["xdotool", "key", "--window", window, "Return"], check=True, timeout=10)

    def test_each_box_holds_the_batch_until_return_is_pressed(self):
        for name in ("a.png", "b.png"):
            self.picture(name, pictures.filled(8, 1, pictures.BLACK))
        process = self.start(["a.png", "b.png"])
        for name in ("a.png", "b.png"):
            window = self.box_window(process)
            expected = information(name, 8, 1, "8")
            self.assertEqual(self.probe(lambda text: text == expected), (False, expected))
            time.sleep(0.3)  # the batch must stay put while the box is up
            self.assertIsNone(process.poll())
            header = self.path(name[:-3] + "h")
            self.assertFalse(os.path.exists(header), "converted before the box was dismissed")
            self.press_return(window)
            self.assertTrue(wait_for(lambda: os.path.exists(header)), f"{header} never came")
        out, err = process.communicate(timeout=30)
        self.assertEqual((process.returncode, out, err), (0, b"", b""))
        self.assertTrue(os.path.exists(self.path("Blitview.h")))

    def test_run_time_error_box_has_the_error_icon_and_ends_the_run(self):
        process = self.start(["missing.png", "never.png"])
        window = self.box_window(process)
        icon, text = self.probe(lambda text: text.startswith("cannot read picture"))
        self.assertTrue(icon, "the run-time error report shows the error icon")
        self.assertTrue(text.startswith('cannot read picture "missing.png": '), text)
        self.press_return(window)
        out, err = process.communicate(timeout=30)
        self.assertEqual((process.returncode, out, err), (1, b"", b""))

    def test_user_error_box_has_no_icon(self):
        process = self.start([])
        window = self.box_window(process)
        message = "Drag and drop image files onto the desktop icon to use this program."
        self.assertEqual(self.probe(lambda text: text == message), (False, message))
        self.press_return(window)
        self.assertEqual(process.wait(timeout=30), 2)


if __name__ == "__main__":
    unittest.main()
