// Colour escape sequences on the Windows console: the console draws them only in its
// virtual-terminal mode, which is turned on for the program's run and then given back.
#pragma once

namespace quillbit {

class VirtualTerminalOutput {
 public:
  // Turns the mode on when standard output is a console.
  VirtualTerminalOutput();
  VirtualTerminalOutput(const VirtualTerminalOutput&) = delete;
  VirtualTerminalOutput& operator=(const VirtualTerminalOutput&) = delete;
  // Gives the console its previous mode back: the console belongs to the user's shell.
  ~VirtualTerminalOutput();

  bool IsConsole() const { return isConsole_; }
  bool TakesEscapes() const { return takesEscapes_; }

 private:
  bool isConsole_ = false;
  bool takesEscapes_ = false;
  bool restore_ = false;
  unsigned long previousMode_ = 0;
};

}  // namespace quillbit
