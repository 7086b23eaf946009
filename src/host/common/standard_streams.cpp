#include "host/common/standard_streams.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "host/run_end.h"

namespace quillbit {

namespace {

class CStreams : public StandardStreams {
 public:
  std::optional<std::string> Put(const std::string& text, bool error) override {
    std::FILE* stream = error ? stderr : stdout;
    if (error) std::fflush(stdout);  // keep the order of a log that collects both streams
    errno = 0;
    const std::size_t written = std::fwrite(text.data(), 1, text.size(), stream);
    if (std::fflush(stream) == 0 && written == text.size() && !std::ferror(stream)) {
      return std::nullopt;
    }
    const int reason = errno;
    std::clearerr(stream);
    return reason != 0 ? std::strerror(reason) : "write failed";
  }
};

}  // namespace

StandardStreams& CStandardStreams() {
  static CStreams streams;
  return streams;
}

void WriteStandardStream(const std::string& text, bool error, StandardStreams& streams) {
  const std::optional<std::string> reason = streams.Put(text, error);
  if (!reason) return;
  throw RunTimeError(std::string("cannot write to standard ") + (error ? "error" : "output") +
                     ": " + *reason);
}

}  // namespace quillbit
