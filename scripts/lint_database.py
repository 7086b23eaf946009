"""Writes the compile commands clang-tidy is to check into FOLDER/compile_commands.json and
prints their files: those under TOP, less those SKIP (a second database) holds. An
emscripten command becomes the clang command em++ runs (EMSCRIPTEN_FLAGS, `em++ --cflags`),
without the settings (-sNAME=...) only emcc reads and the code generator's -mllvm options.

Usage: lint_database.py DATABASE TOP FOLDER SKIP EMSCRIPTEN_FLAGS"""

import json
import os
import re
import shlex
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


def as_clang(command, flags):
    words = shlex.split(command)
    if os.path.basename(words[0]) not in ("em++", "emcc"):
        return command
    rest = [word for word in words[1:] if not SETTING.match(word)]
    return shlex.join(["clang++"] + flags + rest)


def main(database, top, folder, skip, emscripten_flags):
    skipped = set()
    if skip:
        with open(skip) as f:
            skipped = {entry["file"] for entry in json.load(f)}
    flags = clang_flags(emscripten_flags)
    with open(database) as f:
        entries = [entry for entry in json.load(f)
                   if entry["file"].startswith(top) and entry["file"] not in skipped]
    for entry in entries:
        entry["command"] = as_clang(entry["command"], flags)
    with open(os.path.join(folder, "compile_commands.json"), "w") as f:
        json.dump(entries, f)
    print("\n".join(sorted({entry["file"] for entry in entries})))


if __name__ == "__main__":
    main(*sys.argv[1:6])
