#include "host/web/memory_file_system.h"

#include "driver/batch_run.h"
#include "host/common/report_texts.h"
#include "host/common/slash_paths.h"
#include "host/run_end.h"
#include "host/web/companion.h"

namespace quillbit {

const char* const kProgramFolder = "/quillbit";

MemoryFileSystem::MemoryFileSystem(WebPage& page, std::shared_ptr<std::set<std::string>> written)
    : page_(page), written_(std::move(written)) {}

bool MemoryFileSystem::FileExists(const std::string& path) const {
  return written_->count(path) != 0 || page_.HasFile(path);
}

void MemoryFileSystem::CopyFile(const std::string& source, const std::string& destination,
                                bool overwrite) const {
  if (source != slash_paths::BuildPath(kProgramFolder, kCompanionName))
    throw RunTimeError(report_text::Because(report_text::CannotCopy(source, destination),
                                            report_text::kNoSuchFile));
  if (!overwrite && FileExists(destination)) return;  // what is there counts as the copy
  written_->insert(destination);
  page_.ReceiveCompanion(destination, std::string(CompanionText()));
}

}  // namespace quillbit
