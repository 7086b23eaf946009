#include "scripted_host.h"

#include "driver/entry.h"
#include "host/common/report_texts.h"
#include "host/common/slash_path_names.h"

namespace quillbit::testing {

using namespace report_text;  // NOLINT(google-build-using-namespace): worded as the hosts word

namespace {

// The real host's path rules, in-memory files.
class ScriptedFileSystem : public SlashPathNames {
 public:
  explicit ScriptedFileSystem(std::map<std::string, std::string>& files) : files_(files) {}
  bool FileExists(const std::string& path) const override { return files_.count(path) > 0; }
  void CopyFile(const std::string& source, const std::string& destination,
                bool overwrite) const override {
    if (!files_.count(source))
      throw RunTimeError(Because(CannotCopy(source, destination), kNoSuchFile));
    if (!overwrite && files_.count(destination)) return;  // another run's copy
    files_[destination] = files_[source];
  }

 private:
  std::map<std::string, std::string>& files_;
};

}  // namespace

Picture PictureOf(const std::vector<std::vector<std::uint32_t>>& rows) {
  Picture picture{static_cast<int>(rows.front().size()), static_cast<int>(rows.size()), {}};
  for (const auto& row : rows) picture.rgb.insert(picture.rgb.end(), row.begin(), row.end());
  return picture;
}

Picture Filled(int width, int height, std::uint32_t colour) {
  return {width, height,
          std::vector<std::uint32_t>(static_cast<std::size_t>(width * height), colour)};
}

std::unique_ptr<FileSystem> ScriptedHost::CreateFileSystem() {
  return std::make_unique<ScriptedFileSystem>(files);
}

void ScriptedHost::LoadPicture(const std::string& path) {
  auto found = pictures.find(path);
  if (found == pictures.end()) throw RunTimeError(CannotReadPicture(path, kNoSuchFile));
  loaded_ = found->second;
}

std::uint32_t ScriptedHost::Point(double x, double y) const {
  return loaded_.rgb.at(static_cast<std::size_t>(y) * static_cast<std::size_t>(loaded_.width) +
                        static_cast<std::size_t>(x));
}

void ScriptedHost::WriteTextFile(const std::string& path, const std::string& text) {
  if (unwritable.count(path)) throw RunTimeError(Because(CannotWrite(path), kReadOnly));
  files[path] = text;
}

ExitStatus ScriptedHost::Run() { return static_cast<ExitStatus>(RunProgram(*this)); }

std::vector<std::string> ScriptedHost::Texts(MessageKind kind) const {
  std::vector<std::string> texts;
  for (const Message& message : messages)
    if (message.kind == kind) texts.push_back(message.text);
  return texts;
}

}  // namespace quillbit::testing
