"""Builds the Windows installer, installs it silently into a Wine prefix of its own, uses
what it made and takes it out again.

Usage: windows_installer_test.py CPACK CPACK_CONFIG SOURCE_DIR VERSION EMULATOR...

EMULATOR is how the build runs Windows programs (`env ... wine`). Its Wine runs here in a
prefix and a home folder of this test, so that shortcuts never reach anyone's desktop and
the registry before and after tells exactly what the installer left.
"""

import getpass
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path, PureWindowsPath

CPACK, CPACK_CONFIG, SOURCE, VERSION = sys.argv[1], sys.argv[2], Path(sys.argv[3]), sys.argv[4]
EMULATOR = sys.argv[5:]
sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, str(SOURCE / "tests" / "support"))
import pictures  # noqa: E402  (found through the path set just above)
from pictures import BLACK, DARK, LIGHT, WHITE  # noqa: E402

SHIP_HEADER = (SOURCE / "tests" / "golden" / "ship.out").read_bytes()
PROGRAM_FILES = {"quillbit.exe", "quillbitw.exe", "quillbit-check.exe", "Blitview.h",
                 "HOW-TO-USE.txt", "LICENSE.txt", "THIRD-PARTY-NOTICES.txt", "uninstall.exe",
                 "quillbit.html"} | {"quillbit-levels." + extension
                                     for extension in ("gpl", "pal", "hex", "act", "txt")}
UNINSTALL = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\quillbit"
USER = getpass.getuser()
USER_PATH = r"C:\Tools;%USERPROFILE%\bin"
USER_SHELL = f"users/{USER}/AppData/Roaming/Microsoft/Windows"
# Where each mode puts the three shortcuts, relative to drive C. Windows keeps "Send to"
# only per user.
SHORTCUTS = {
    "current user": [f"users/{USER}/Desktop/quillbit.lnk",
                     f"{USER_SHELL}/Start Menu/Programs/quillbit.lnk",
                     f"{USER_SHELL}/SendTo/quillbit.lnk"],
    "all users": ["users/Public/Desktop/quillbit.lnk",
                  "ProgramData/Microsoft/Windows/Start Menu/Programs/quillbit.lnk",
                  f"{USER_SHELL}/SendTo/quillbit.lnk"],
}
# The registry an installer may touch, as Wine keeps it on disk: user.reg is HKCU and
# system.reg HKLM. Wine rewrites its own display settings and the network cards it finds
# at every start.
REGISTRY_FILES = {"user.reg": "HKCU", "system.reg": "HKLM"}
REGISTRY_PARTS = ("hkcu\\", "hklm\\software\\",
                  "hklm\\system\\currentcontrolset\\control\\session manager\\")
WINE_VOLATILE = ("hkcu\\software\\wine\\temporary system parameters\\",
                 "\\currentversion\\networkcards\\")
# Wine's debugger makes its settings key whenever anything crashed, so the key alone cannot
# say whose fault it was: the crash reports in the output of the programs this test starts
# can, for what the package made is only ever started by the test.
WINE_DEBUGGER = "hkcu\\software\\wine\\winedbg"
CRASH = re.compile(rb"^wine: .*starting debugger.*$", re.M)
CRASHED_PROCESS = re.compile(rb"^[0-9a-f]{8} \(D\) (.*?)\r?$", re.M)
ESCAPE = re.compile(r"\\(x[0-9a-fA-F]{1,4}|.)")
ESCAPED = {"n": "\n", "r": "\r", "t": "\t", "0": "\0"}


def read_shortcut(path):
    """The target, arguments and working folder of a shell link (.lnk) file."""
    data = path.read_bytes()
    if data[:4] != b"L\0\0\0":
        raise AssertionError(f"{path} is not a shell link")
    flags = struct.unpack_from("<I", data, 0x14)[0]
    offset = 0x4C
    if flags & 0x01:  # an item ID list comes first
        offset += 2 + struct.unpack_from("<H", data, offset)[0]
    target = None
    if flags & 0x02:  # link info: the local path, in the ANSI code page
        size, header, _, volume, base, _, suffix = struct.unpack_from("<7I", data, offset)
        target = (c_string(data, offset + base) + c_string(data, offset + suffix)).decode("cp1252")
        offset += size
    strings = {}
    for bit, name in ((0x04, "name"), (0x08, "relative"), (0x10, "working"),
                      (0x20, "arguments"), (0x40, "icon")):
        if flags & bit:
            count = struct.unpack_from("<H", data, offset)[0]
            width = 2 if flags & 0x80 else 1
            raw = data[offset + 2:offset + 2 + count * width]
            # Wine counts the terminating zero of an empty string.
            strings[name] = raw.decode("utf-16-le" if width == 2 else "cp1252").rstrip("\0")
            offset += 2 + count * width
    return {"target": target, "arguments": strings.get("arguments", ""),
            "working": strings.get("working", "")}


def c_string(data, start):
    return data[start:data.index(b"\0", start)]


def unescape(text):
    """Undoes Wine's escapes in registry files: \\\\, \\", \\n and the like, \\x and hex."""
    def one(match):
        code = match.group(1)
        if code.startswith("x") and len(code) > 1:
            return chr(int(code[1:], 16))
        return ESCAPED.get(code, code)
    return ESCAPE.sub(one, text)


def split_value(line):
    """(name, raw data) of a value line: "name"=data or @=data."""
    if line.startswith("@="):
        return "", line[2:]
    end = 1
    while line[end] != '"':
        end += 2 if line[end] == "\\" else 1
    return unescape(line[1:end]), line[end + 2:]


def decoded(data):
    """Strings and numbers as text, other data raw."""
    for head in ('"', 'str(2):"'):
        if data.startswith(head) and data.endswith('"'):
            return unescape(data[len(head):-1])
    return str(int(data[6:], 16)) if data.startswith("dword:") else data


def read_registry_file(path, root):
    """{key: {value name: raw data}} of one of Wine's registry files, in the parts an
    installer may touch."""
    keys, values = {}, None
    text = path.read_text(encoding="utf-8", errors="surrogateescape")
    for line in text.replace("\\\n", "").splitlines():
        if line.startswith("["):
            key = root + "\\" + unescape(line[1:line.rindex("]")])
            where = key.lower() + "\\"
            wanted = where.startswith(REGISTRY_PARTS) and not any(
                part in where for part in WINE_VOLATILE)
            values = keys.setdefault(key, {}) if wanted else None
        elif values is not None and line and line[0] in '"@':
            name, data = split_value(line)
            values[name] = data
    return keys


def crash_reports(result):
    """(the crash lines, the names of the crashed programs) of a finished run: Wine writes
    the first to the crashed program's error output, its debugger the rest to its output."""
    output = result.stdout + result.stderr
    return ([line.decode(errors="replace") for line in CRASH.findall(output)],
            [PureWindowsPath(path.decode(errors="replace")).name
             for path in CRASHED_PROCESS.findall(output)])


def changes(before, after):
    """{name: (before, after)} of the entries two snapshots disagree on; None: not there."""
    return {name: (before.get(name), after.get(name)) for name in before.keys() | after.keys()
            if before.get(name) != after.get(name)}


class Wine:
    """A Wine prefix and home folder of their own, without a display."""

    def __init__(self, folder):
        self.prefix = folder / "prefix"
        self.home = folder / "home"
        self.home.mkdir()
        settings = [word for word in EMULATOR if "=" in word and not word.startswith("-")]
        self.program = next(word for word in reversed(EMULATOR) if "=" not in word)
        self.env = dict(os.environ, **dict(word.split("=", 1) for word in settings))
        self.env.update(WINEPREFIX=str(self.prefix), HOME=str(self.home), WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=")
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "XDG_CONFIG_HOME", "XDG_DATA_HOME"):
            self.env.pop(name, None)
        subprocess.run([shutil.which("wineboot", path=self.env["PATH"]) or "wineboot", "-i"],
                       env=self.env, capture_output=True, timeout=300, check=True)
        self.wait()
        self.keep_shell_folders_inside()

    def keep_shell_folders_inside(self):
        """Wine links Desktop, Documents and the rest to the home folder; here they are
        plain folders of the prefix, so that every file the installer makes is in drive C."""
        for entry in (self.drive / "users" / USER).iterdir():
            if entry.is_symlink():
                entry.unlink()
                entry.mkdir()

    @property
    def drive(self):
        return self.prefix / "drive_c"

    def run(self, *arguments, cwd=None):
        return subprocess.run([self.program, *arguments], env=self.env, cwd=cwd,
                              capture_output=True, stdin=subprocess.DEVNULL, timeout=120)

    def wait(self):
        """Until every program of the prefix has ended (an uninstaller's helpers too)."""
        server = shutil.which("wineserver", path=self.env["PATH"]) or "wineserver"
        subprocess.run([server, "-w"], env=self.env, timeout=300, check=True)

    def unix_path(self, windows_path):
        path = PureWindowsPath(windows_path)
        if path.drive.upper() != "C:":
            raise AssertionError(f"{windows_path} is not on drive C")
        return self.drive.joinpath(*path.parts[1:])

    def windows_path(self, unix_path):
        return "Z:" + str(unix_path).replace("/", "\\")

    def registry(self):
        """The registry once every program has ended and Wine has written it to disk."""
        self.wait()
        found = {}
        for name, root in REGISTRY_FILES.items():
            found.update(read_registry_file(self.prefix / name, root))
        debugger = [key for key in found if key.lower() == WINE_DEBUGGER]
        self.debugger_has_run = bool(debugger)
        for key in debugger:
            del found[key]
        return found

    def query(self, key, value):
        values = {name.lower(): found for name, found in self.registry().items()}.get(key.lower())
        data = (values or {}).get(value)
        return None if data is None else decoded(data)

    def files(self):
        """{path under drive C: size or "folder"} of everything there, links not followed."""
        found = {}
        for folder, folders, names in os.walk(self.drive):
            for name in folders + names:
                path = Path(folder) / name
                found[str(path.relative_to(self.drive))] = (
                    "folder" if path.is_dir() else path.lstat().st_size)
        return found


class WindowsInstallerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory(prefix="quillbit-installer-")
        top = Path(cls.scratch.name)
        built = subprocess.run([CPACK, "-G", "NSIS", "--config", CPACK_CONFIG, "-B",
                                str(top / "out")], capture_output=True, text=True, timeout=300)
        if built.returncode != 0:
            raise AssertionError("cpack failed:\n" + built.stdout + built.stderr)
        cls.setup = top / "out" / f"quillbit-{VERSION}-win64-setup.exe"
        cls.wine = Wine(top)
        # A PATH of the user's own, which the install extends and the uninstall restores.
        cls.set_user_path(USER_PATH)

    @classmethod
    def set_user_path(cls, text):
        added = cls.wine.run("reg", "add", r"HKCU\Environment", "/v", "Path", "/t",
                             "REG_EXPAND_SZ", "/d", text, "/f")
        if added.returncode != 0:
            raise AssertionError(f"reg add: {added.stderr!r}")

    @classmethod
    def tearDownClass(cls):
        cls.wine.wait()
        cls.scratch.cleanup()

    def setUp(self):
        self.files_before = self.wine.files()
        self.registry_before = self.wine.registry()
        self.debugger_before = self.wine.debugger_has_run

    def run_ours(self, program, *arguments, cwd=None, status=0):
        """Runs a program of the package; one that crashes fails the test by name. A crash
        of Wine's own programs, which share its error output, is only noted."""
        result = self.wine.run(program, *arguments, cwd=cwd)
        lines, crashed = crash_reports(result)
        if lines:
            name = PureWindowsPath(program).name
            ours = PROGRAM_FILES | {self.setup.name}
            # A crashed program ends with the exception's code, of which Linux keeps the
            # low byte (5 for an access violation), never with its own status: so when no
            # report names what crashed (a service's goes nowhere), the status tells.
            if ours & set(crashed) or (not crashed and result.returncode != status):
                self.fail(f"{name} crashed ({', '.join(crashed) or 'no report says which'}; "
                          f"it ended with status {result.returncode:#x}):\n"
                          + (result.stdout + result.stderr).decode(errors="replace"))
            who = ", ".join(crashed) or "own"
            sys.stderr.write(f"note: Wine's {who} crashed while {name} ran: {' '.join(lines)}\n")
        return result

    def install(self, *options):
        """Runs the installer silently; /D= comes last and unquoted, blanks and all, so it is
        handed over in pieces that Wine joins with blanks again."""
        words = [word for option in options for word in option.split(" ")]
        result = self.run_ours(str(self.setup), "/S", *words)
        self.assertEqual(result.returncode, 0, result.stderr)

    def uninstall(self, hive):
        """Runs the uninstaller as installed apps do: its quiet command from the registry."""
        command = self.wine.query(rf"{hive}\{UNINSTALL}", "QuietUninstallString")
        _, program, options = command.split('"', 2)
        result = self.run_ours(program, *options.split(" "))
        self.wine.wait()
        self.assertEqual(result.returncode, 0, result.stderr)

    def assert_installed(self, folder, mode):
        """The program files in folder, and shortcuts to its quillbitw.exe only where mode puts
        them: nothing else is new on drive C."""
        made = set(self.wine.files()) - set(self.files_before)
        programs = PureWindowsPath(folder)
        expected_files = {str(Path(*programs.parts[1:], name)) for name in PROGRAM_FILES}
        shortcuts = set(SHORTCUTS[mode])
        self.assertEqual({path for path in made if self.wine.drive.joinpath(path).is_file()},
                         expected_files | shortcuts)
        for shortcut in sorted(shortcuts):
            with self.subTest(shortcut=shortcut):
                link = read_shortcut(self.wine.drive / shortcut)
                self.assertEqual(link["target"].lower(), str(programs / "quillbitw.exe").lower())
                self.assertEqual(link["arguments"], "")  # dropped pictures are the arguments

    def assert_listed_under_installed_apps(self, hive, folder):
        key = rf"{hive}\{UNINSTALL}"
        programs = self.wine.unix_path(folder)
        size = sum((programs / name).stat().st_size for name in PROGRAM_FILES)
        expected = {"DisplayName": "quillbit", "DisplayVersion": VERSION,
                    "Publisher": "the quillbit developers", "InstallLocation": folder,
                    "DisplayIcon": folder + r"\quillbitw.exe,0",
                    "UninstallString": f'"{folder}\\uninstall.exe" _?={folder}',
                    "QuietUninstallString": f'"{folder}\\uninstall.exe" /S _?={folder}'}
        for value, text in expected.items():
            with self.subTest(value=value):
                self.assertEqual(self.wine.query(key, value), text)
        estimated = int(self.wine.query(key, "EstimatedSize"))
        self.assertLessEqual(abs(estimated - size // 1024), len(PROGRAM_FILES))

    def assert_shortcut_target_converts(self, shortcut):
        """What Explorer does with pictures dropped on the shortcut: starts its target with
        their paths. Without a display the boxes fall back to the console."""
        target = read_shortcut(self.wine.drive / shortcut)["target"]
        folder = Path(tempfile.mkdtemp(dir=self.scratch.name, prefix="pictures-"))
        pictures.write(folder / "ship.png", [[BLACK] * 8 + [WHITE] * 8,
                                             [LIGHT, DARK] + [WHITE] * 14])
        result = self.run_ours(target, self.wine.windows_path(folder / "ship.png"), cwd=folder)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn(b"Quillbit - ship.png", result.stdout)
        self.assertEqual((folder / "ship.h").read_bytes(), SHIP_HEADER)
        self.assertEqual((folder / "Blitview.h").read_bytes(),
                         (SOURCE / "companion" / "Blitview.h").read_bytes())

    def assert_nothing_left(self):
        """Drive C, the registry and the home folder as they were before the install."""
        self.assertEqual(changes(self.files_before, self.wine.files()), {})
        self.assertEqual(changes(self.registry_before, self.wine.registry()), {})
        self.assertEqual(list(self.wine.home.iterdir()), [])
        if self.wine.debugger_has_run and not self.debugger_before:
            # None of the package's programs reported a crash, so one of Wine's own did.
            sys.stderr.write(f"note: Wine's debugger ran during {self.id()}, after a crash "
                             "outside the package's programs\n")

    def test_a_path_too_long_to_change_safely_stays_as_it_was(self):
        """The installer's strings hold 1023 characters: a longer PATH could only be cut."""
        folder = r"C:\quillbit"  # with the separator, 12 characters more
        try:
            for length in (1012, 1100):  # one too long with the folder; too long to read
                with self.subTest(length=length):
                    long_path = ";".join([r"C:\Tools"] * (length // 9 + 1))[:length]
                    self.set_user_path(long_path)
                    self.setUp()  # what must be there again after the uninstall
                    self.install("/AddToPath", f"/D={folder}")
                    try:
                        self.assertTrue(self.wine.unix_path(folder + r"\quillbit.exe").is_file())
                        self.assertEqual(self.wine.query(r"HKCU\Environment", "Path"), long_path)
                    finally:
                        self.uninstall("HKCU")
                    self.assert_nothing_left()
        finally:
            self.set_user_path(USER_PATH)

    def test_for_the_current_user_with_path_and_a_folder_of_ones_own(self):
        folder = r"C:\Sprite Tools\quillbit"
        self.install("/AddToPath", f"/D={folder}")
        self.assert_installed(folder, "current user")
        self.assert_listed_under_installed_apps("HKCU", folder)
        self.assertEqual(self.wine.query(r"HKCU\Environment", "Path"),
                         f"{USER_PATH};{folder}")
        self.assert_shortcut_target_converts(SHORTCUTS["current user"][0])
        self.uninstall("HKCU")
        self.assert_nothing_left()

    def test_for_all_users_in_program_files(self):
        folder = r"C:\Program Files\quillbit"
        self.install("/AllUsers")
        self.assert_installed(folder, "all users")
        self.assert_listed_under_installed_apps("HKLM", folder)
        self.assertIsNone(self.wine.query(r"HKCU\Software\Microsoft\Windows\CurrentVersion"
                                          r"\Uninstall\quillbit", "DisplayName"))
        self.assert_shortcut_target_converts(SHORTCUTS["all users"][0])
        self.uninstall("HKLM")
        self.assert_nothing_left()

    def test_default_is_the_current_users_programs_folder_without_path(self):
        folder = rf"C:\users\{USER}\AppData\Local\Programs\quillbit"
        self.install()
        self.assert_installed(folder, "current user")
        self.assertEqual(self.wine.query(r"HKCU\Environment", "Path"), USER_PATH)
        self.uninstall("HKCU")
        self.assert_nothing_left()

    def test_files_of_the_users_own_are_never_replaced_nor_removed(self):
        """A silent install refuses a folder holding files of its names that it did not put
        there; an uninstall keeps an installed file the user has changed since."""
        folder = r"C:\My Sprites"
        programs = self.wine.unix_path(folder)
        own = {"Blitview.h": b"/* my own blitter */\r\n", "LICENSE.txt": b"my licence\r\n"}
        programs.mkdir()
        for name, data in own.items():
            (programs / name).write_bytes(data)
        self.setUp()
        refused = self.run_ours(str(self.setup), "/S", *f"/D={folder}".split(" "), status=80)
        self.assertEqual(refused.returncode, 80, refused.stderr)  # ERROR_FILE_EXISTS
        self.assert_nothing_left()
        shutil.rmtree(programs)
        self.setUp()
        self.install(f"/D={folder}")
        (programs / "Blitview.h").write_bytes(own["Blitview.h"])
        self.uninstall("HKCU")
        self.assertEqual([path.name for path in programs.iterdir()], ["Blitview.h"])
        self.assertEqual((programs / "Blitview.h").read_bytes(), own["Blitview.h"])
        shutil.rmtree(programs)
        self.assert_nothing_left()


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
