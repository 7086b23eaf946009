// The two ways a run stops before its last line: `End` and a run-time error.
// Only the program's entry point catches them; the conversion code never does.
#pragma once

#include <stdexcept>
#include <string>

namespace quillbit {

// Exit statuses of both front ends, each with one meaning.
enum class ExitStatus : int {
  Done = 0,          // the batch ran to its end
  RunTimeError = 1,  // a picture, file or limit failed; the report says which
  UserError = 2,     // no arguments, a badly quoted name or the width rule
};

// Thrown by End(): stops the run at once with the given status.
struct EndOfRun {
  ExitStatus status;
};

// A failure the program does not handle; what() says what failed and for which path.
class RunTimeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Stops the run; nothing after it runs.
[[noreturn]] inline void End(ExitStatus status) { throw EndOfRun{status}; }

}  // namespace quillbit
