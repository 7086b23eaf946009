// The calls the Node host makes into the JavaScript around the module (system.js, the
// object Module.node), which does them with Node's fs, tty and process. A call that fails
// throws SystemFailure with the system's reason, worded as the C library words it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillbit::node_system {

struct SystemFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
  bool missing = false;  // the reason is that nothing is at the path
};

// The program's arguments, its name left out.
std::vector<std::string> Arguments();
// The folder of the running command, where Blitview.h lies.
std::string ProgramFolder();
std::optional<std::string> Environment(const char* name);
bool OutputIsTerminal();
// Writes text to descriptor 1 or 2 at once; the reason when that failed.
std::optional<std::string> Write(int descriptor, const std::string& text);

// A file opened for reading without blocking, so a FIFO in the way cannot hold the run;
// closed when the object goes. regular() false: something else is at the path, such as
// a folder.
class ReadableFile {
 public:
  explicit ReadableFile(const std::string& path);
  ReadableFile(const ReadableFile&) = delete;
  ReadableFile& operator=(const ReadableFile&) = delete;
  ~ReadableFile();
  bool regular() const { return regular_; }
  bool folder() const { return folder_; }
  std::uint64_t size() const { return size_; }
  std::size_t ReadAt(std::uint64_t offset, char* out, std::size_t count) const;
  // The first limit bytes, fewer where the file ends sooner.
  std::string ReadStart(std::size_t limit) const;

 private:
  int descriptor_ = -1;
  bool regular_ = false;
  bool folder_ = false;
  std::uint64_t size_ = 0;
};

// What lies at a path, the link itself when it is a link to anything but a folder.
struct Entry {
  enum Kind { Missing, Regular, Folder, Other } kind = Missing;
  std::uint32_t mode = 0;
  std::int64_t owner = -1;
  std::int64_t group = -1;
};
Entry Look(const std::string& path);
// True when a regular file is at the path, links followed.
bool IsRegularFile(const std::string& path);

// Replaces path with bytes through a new file in its folder, given kept's mode and, where
// the process may, its owner and group; on failure nothing is left.
void ReplaceFile(const std::string& path, const std::string& bytes, const Entry& kept);
// Puts bytes at path through a new file, unless a regular file is there already (another
// run's copy); anything else there fails.
void PlaceFile(const std::string& path, const std::string& bytes);
// The system's text for an error code such as "EISDIR".
std::string Reason(const char* code);

}  // namespace quillbit::node_system
