// The console side of quillbit.exe: the same bytes on its standard streams as the
// Linux program writes, and a console that shows them as UTF-8.
#pragma once

namespace quillbit {

// From construction to destruction: standard output and error untranslated (line feeds
// stay line feeds, as on Linux), and an attached console reading UTF-8; the console's
// code page is given back afterwards, because the console belongs to the user's shell.
// True where standard output is a console a person reads (not a pipe or a file).
bool StandardOutputIsConsole();

class Utf8Console {
 public:
  Utf8Console();
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;
  ~Utf8Console();

 private:
  unsigned previousCodePage_ = 0;
};

}  // namespace quillbit
