// The file system the batch sees in the browser: path names with "/", the files the page
// holds, the files the run wrote, and the companion built into the program.
#pragma once

#include <memory>
#include <set>
#include <string>

#include "host/common/slash_path_names.h"
#include "host/host.h"
#include "host/web/web_page.h"

namespace quillbit {

// The folder the program calls its own: no picture handed over lies there, as their
// names are relative.
extern const char* const kProgramFolder;

class MemoryFileSystem : public SlashPathNames {
 public:
  // written: the paths this run wrote so far, shared with the host that writes them.
  MemoryFileSystem(WebPage& page, std::shared_ptr<std::set<std::string>> written);

  bool FileExists(const std::string& path) const override;
  // Copies the companion from the program's folder; any other source is missing there.
  void CopyFile(const std::string& source, const std::string& destination,
                bool overwrite) const override;

 private:
  WebPage& page_;
  std::shared_ptr<std::set<std::string>> written_;
};

}  // namespace quillbit
