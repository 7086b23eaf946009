"""Takes the software centres' screenshot of quillbitw: its box for examples/ship.png, on a
virtual X display of 640 x 360 pixels (16:9), written to quillbitw-box.png beside this file.

Usage: python3 packaging/screenshots/take_screenshot.py [BUILD]   (default: build)
Needs Xvfb, xwd, xwininfo and xdotool (Debian: xvfb x11-apps x11-utils xdotool); the PNG
is committed, so this runs only when the box changes.
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
BUILD = ROOT / (sys.argv[1] if len(sys.argv) > 1 else "build")
OUTPUT = Path(__file__).resolve().parent / "quillbitw-box.png"


def start_display():
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                               "640x360x24", "-nolisten", "tcp"], pass_fds=(write_end,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        return server, ":" + pipe.readline().strip()


def wait_for_box(env):
    for _ in range(100):
        tree = subprocess.run(["xwininfo", "-root", "-tree"], env=env, capture_output=True,
                              text=True).stdout
        if '"quillbit"' in tree:
            time.sleep(0.5)  # drawn, not only mapped
            return
        time.sleep(0.1)
    raise SystemExit("quillbitw showed no box")


def xwd_to_png(xwd):
    """A 24-bit TrueColor X window dump as PNG bytes."""
    fields = struct.unpack(">25I", xwd[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    bytes_per_line, colours = fields[12], fields[19]
    start = header_size + colours * 12
    rows = []
    for y in range(height):
        line = xwd[start + y * bytes_per_line:start + y * bytes_per_line + width * 4]
        row = bytearray(width * 3)  # the dump's pixels are blue, green, red, unused
        row[0::3], row[1::3], row[2::3] = line[2::4], line[1::4], line[0::4]
        rows.append(b"\0" + bytes(row))
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


def chunk(kind, body):
    return (struct.pack(">I", len(body)) + kind + body
            + struct.pack(">I", zlib.crc32(kind + body)))


def main():
    server, display = start_display()
    env = dict(os.environ, DISPLAY=display)
    env.pop("WAYLAND_DISPLAY", None)
    with tempfile.TemporaryDirectory() as folder:
        shutil.copy(ROOT / "examples" / "ship.png", folder)
        try:
            program = subprocess.Popen([str(BUILD / "quillbitw"), str(Path(folder, "ship.png"))],
                                       env=env, stdout=subprocess.DEVNULL)
            wait_for_box(env)
            dump = subprocess.run(["xwd", "-root", "-silent"], env=env, capture_output=True,
                                  check=True).stdout
            subprocess.run(["xdotool", "key", "Return"], env=env, check=True)
            program.wait(timeout=30)
        finally:
            server.terminate()
    OUTPUT.write_bytes(xwd_to_png(dump))
    print(f"wrote {OUTPUT}")


if __name__ == "__main__":
    main()
