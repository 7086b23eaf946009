"""Writes the compile commands clang-tidy is to check into FOLDER/compile_commands.json and
prints their files: the C++ files under TOP (folders joined by ":"), less those SKIP (a
second database) holds. An
emscripten command becomes the clang command em++ runs (EMSCRIPTEN_FLAGS, `em++ --cflags`),
without the settings (-sNAME=...) only emcc reads and the code generator's -mllvm options.
A MinGW-w64 command gets its target and the cross compiler's own header folders, which
clang does not find by itself for Debian's -posix and -win32 compiler names.

Usage: lint_database.py DATABASE TOP FOLDER SKIP EMSCRIPTEN_FLAGS"""

import functools
import json
import os
import re
import shlex
import subprocess
import sys

SETTING = re.compile(r"^-s[A-Z_]+(=.*)?$")


def clang_flags(emscripten_flags):
    words, kept = shlex.split(emscripten_flags), []
    while words:
        word = words.pop(0)
        if word == "-mllvm":
            words.pop(0)
        else:
            kept.append(word)
    return kept


@functools.lru_cache(maxsize=None)
def header_folders(compiler):
    """The folders a GCC searches for <...> headers, in its order."""
    listed = subprocess.run([compiler, "-xc++", "-E", "-v", os.devnull], capture_output=True,
                            text=True, check=True).stderr
    start = listed.index("#include <...> search starts here:")
    end = listed.index("End of search list.")
    folders = [line.strip() for line in listed[start:end].splitlines()[1:]]
    # GCC's own intrinsics headers are not clang's: clang keeps its own for those.
    return [folder for folder in folders if not re.search(r"/gcc/[^/]+/[^/]+/include(-fixed)?$",
                                                          folder)]


def as_clang(command, flags):
    words = shlex.split(command)
    compiler = os.path.basename(words[0])
    if compiler in ("em++", "emcc"):
        rest = [word for word in words[1:] if not SETTING.match(word)]
        return shlex.join(["clang++"] + flags + rest)
    if compiler.startswith("x86_64-w64-mingw32-"):
        folders = [word for folder in header_folders(words[0]) for word in ("-isystem", folder)]
        return shlex.join(["clang++", "--target=x86_64-w64-mingw32", "-nostdinc++"] + folders
                          + words[1:])
    return command


def main(database, top, folder, skip, emscripten_flags):
    skipped = set()
    if skip:
        with open(skip) as f:
            skipped = {entry["file"] for entry in json.load(f)}
    flags = clang_flags(emscripten_flags)
    tops = tuple(top.split(":"))
    with open(database) as f:
        entries = [entry for entry in json.load(f)
                   if entry["file"].startswith(tops) and entry["file"].endswith(".cpp")
                   and entry["file"] not in skipped]
    for entry in entries:
        entry["command"] = as_clang(entry["command"], flags)
    with open(os.path.join(folder, "compile_commands.json"), "w") as f:
        json.dump(entries, f)
    print("\n".join(sorted({entry["file"] for entry in entries})))


if __name__ == "__main__":
    main(*sys.argv[1:6])
