// SIGINT, SIGTERM and SIGHUP on a run with a named temporary file, each in a child
// process: the file goes, and the child ends by the signal as if it had not been caught.
#include "host/linux/interrupt_cleanup.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <string>

namespace quillbit::testing {
namespace {

const char* const kTemporary = ".quillbit-test";

// A fresh folder, removed with what the test left in it.
class ScratchFolder {
 public:
  ScratchFolder() : path_(mkdtemp(name_)) {}
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    for (const char* name : {kTemporary, "done"}) unlink((path_ + "/" + name).c_str());
    rmdir(path_.c_str());
  }
  bool Holds(const char* name) const { return access((path_ + "/" + name).c_str(), F_OK) == 0; }
  const std::string& path() const { return path_; }

 private:
  char name_[32] = "/tmp/quillbit-cleanup-XXXXXX";
  std::string path_;
};

// Runs body in a child whose three signals start at their defaults; returns its wait status.
int InChild(int startIgnoring, const std::function<void()>& body) {
  const pid_t child = fork();
  if (child == 0) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) ::signal(signal, SIG_DFL);
    if (startIgnoring != 0) ::signal(startIgnoring, SIG_IGN);
    interrupt_cleanup::Install();
    body();
    _exit(7);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

// Creates the temporary file in folder and records it, as a run without O_TMPFILE does.
int CreateRecorded(const std::string& folder) {
  const int fd = open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  const interrupt_cleanup::Deferred deferred;
  close(openat(fd, kTemporary, O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666));
  interrupt_cleanup::Remember(fd, kTemporary);
  return fd;
}

TEST(InterruptCleanup, RemovesTheRecordedFileAndDiesByTheSignal) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(strsignal(signal));
    const ScratchFolder folder;
    const int status = InChild(0, [&] {
      CreateRecorded(folder.path());
      raise(signal);
    });
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    EXPECT_FALSE(folder.Holds(kTemporary));
  }
}

TEST(InterruptCleanup, ASignalWhileDeferredWaitsUntilTheFileIsInPlace) {
  const ScratchFolder folder;
  const int status = InChild(0, [&] {
    const int fd = CreateRecorded(folder.path());
    const interrupt_cleanup::Deferred deferred;
    raise(SIGTERM);
    renameat(fd, kTemporary, fd, "done");
    interrupt_cleanup::Forget();
  });
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
  EXPECT_TRUE(folder.Holds("done"));
  EXPECT_FALSE(folder.Holds(kTemporary));
}

TEST(InterruptCleanup, LeavesASignalTheProgramWasStartedToIgnore) {
  const ScratchFolder folder;
  const int status = InChild(SIGHUP, [&] {
    CreateRecorded(folder.path());
    raise(SIGHUP);
  });
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 7) << status;
  EXPECT_TRUE(folder.Holds(kTemporary));  // nohup's promise: the run goes on
}

}  // namespace
}  // namespace quillbit::testing
