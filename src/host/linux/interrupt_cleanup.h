// No temporary file outlives an interrupted run: every signal that would end the process
// and may be caught (SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGALRM, SIGUSR1, ...) removes the
// one named temporary file there is, then ends the process by the same signal, as if it
// had not been caught. A signal the host ignores (SIGPIPE, SIGXFSZ) ends nothing.
#pragma once

#include <signal.h>

namespace quillbit::interrupt_cleanup {

// Installs the handlers, leaving alone a signal the process was started to ignore.
void Install();

// Holds those signals back while it lives, so a temporary name comes and goes
// together with its record: a signal then finds the file either recorded or absent.
class Deferred {
 public:
  Deferred();
  Deferred(const Deferred&) = delete;
  Deferred& operator=(const Deferred&) = delete;
  ~Deferred();

 private:
  sigset_t previous_;
};

// Records the named temporary file in folder that a signal must remove; name is copied
// and must be short (a temporary name, not a path). Call while Deferred.
void Remember(int folder, const char* name);
// The recorded file was moved into place or removed. Call while Deferred.
void Forget();

}  // namespace quillbit::interrupt_cleanup
