#include "host/linux/interrupt_cleanup.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quillbit::interrupt_cleanup {

namespace {

// Every signal whose default action ends the process and that a handler may catch, but
// those that mean a fault of the program itself (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT,
// SIGTRAP, SIGSYS): after one of those nothing is safe to run, and the sanitizers catch them.
const int kSignals[] = {SIGINT,  SIGTERM, SIGHUP,    SIGQUIT, SIGALRM, SIGUSR1,   SIGUSR2, SIGXCPU,
                        SIGXFSZ, SIGPIPE, SIGVTALRM, SIGPROF, SIGPOLL, SIGSTKFLT, SIGPWR};

// The real-time signals end the process too; their numbers are known only at run time.
template <typename Each>
void ForEachSignal(Each each) {
  for (const int signal : kSignals) each(signal);
  for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal) each(signal);
}

// Static storage the handler reads: plain values, written only while the signals are
// held back, so the handler never sees half a record.
volatile sig_atomic_t recorded = 0;
int recordedFolder = -1;
char recordedName[64];

void RemoveAndDie(int signal) {
  const int savedErrno = errno;
  if (recorded) ::unlinkat(recordedFolder, recordedName, 0);
  recorded = 0;
  // Raised again with the default action: it stays pending until this handler returns,
  // then ends the process, whose parent sees the signal it sent.
  ::signal(signal, SIG_DFL);
  ::raise(signal);
  errno = savedErrno;
}

sigset_t CleanupSignals() {
  sigset_t set;
  sigemptyset(&set);
  ForEachSignal([&set](int signal) { sigaddset(&set, signal); });
  return set;
}

}  // namespace

void Install() {
  struct sigaction action {};
  action.sa_handler = RemoveAndDie;
  action.sa_mask = CleanupSignals();
  ForEachSignal([&action](int signal) {
    struct sigaction previous {};
    if (::sigaction(signal, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) return;
    ::sigaction(signal, &action, nullptr);
  });
}

Deferred::Deferred() {
  const sigset_t set = CleanupSignals();
  ::sigprocmask(SIG_BLOCK, &set, &previous_);
}

Deferred::~Deferred() { ::sigprocmask(SIG_SETMASK, &previous_, nullptr); }

void Remember(int folder, const char* name) {
  recordedFolder = folder;
  std::strncpy(recordedName, name, sizeof recordedName - 1);
  recordedName[sizeof recordedName - 1] = '\0';
  recorded = 1;
}

void Forget() { recorded = 0; }

}  // namespace quillbit::interrupt_cleanup
