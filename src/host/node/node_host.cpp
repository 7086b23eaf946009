#include "host/node/node_host.h"

#include "host/common/report_texts.h"
#include "host/common/slash_path_names.h"
#include "host/node/node_system.h"
#include "host/picture/picture.h"
#include "host/run_end.h"

namespace quillbit {

namespace {

using node_system::Entry;
using node_system::SystemFailure;

class NodePictureFile : public PictureFile {
 public:
  explicit NodePictureFile(const std::string& path) : file_(Opened(path)) {
    if (file_->folder()) throw PictureFault(node_system::Reason("EISDIR"));
    if (!file_->regular()) throw PictureFault(report_text::kPictureNotRegular);
  }

  std::uint64_t Size() override { return file_->size(); }

  std::size_t ReadAt(std::uint64_t offset, char* out, std::size_t count) override {
    try {
      return file_->ReadAt(offset, out, count);
    } catch (const SystemFailure& failure) {
      throw PictureFault(failure.what());
    }
  }

 private:
  static std::unique_ptr<node_system::ReadableFile> Opened(const std::string& path) {
    try {
      return std::make_unique<node_system::ReadableFile>(path);
    } catch (const SystemFailure& failure) {
      throw PictureFault(failure.what());
    }
  }

  std::unique_ptr<node_system::ReadableFile> file_;
};

std::string ReadWhole(const std::string& path, const std::string& what) {
  try {
    const node_system::ReadableFile file(path);
    if (!file.regular())
      throw RunTimeError(report_text::Because(what, report_text::kSourceNotRegular));
    return file.ReadStart(static_cast<std::size_t>(file.size()));  // less if it shrank
  } catch (const SystemFailure& failure) {
    throw RunTimeError(report_text::Because(what, failure.what()));
  }
}

class NodeFiles : public SlashPathNames {
 public:
  bool FileExists(const std::string& path) const override {
    return node_system::IsRegularFile(path);
  }

  void CopyFile(const std::string& source, const std::string& destination,
                bool overwrite) const override {
    const std::string what = report_text::CannotCopy(source, destination);
    const std::string bytes = ReadWhole(source, what);
    try {
      if (overwrite) {
        node_system::ReplaceFile(destination, bytes, Entry{});
      } else {
        node_system::PlaceFile(destination, bytes);
      }
    } catch (const SystemFailure& failure) {
      throw RunTimeError(report_text::Because(what, failure.what()));
    }
  }
};

}  // namespace

std::optional<std::string> NodeStreams::Put(const std::string& text, bool error) {
  return node_system::Write(error ? 2 : 1, text);
}

NodeHost::NodeHost(std::vector<std::string> arguments, Presentation& presentation)
    : SurfaceHost(std::move(arguments), presentation) {}

std::string NodeHost::AppPath() { return node_system::ProgramFolder(); }

std::unique_ptr<FileSystem> NodeHost::CreateFileSystem() { return NodeFileSystem(); }

void NodeHost::PreparePictureSurface() { ResizeSurface(0, 0); }

void NodeHost::LoadPicture(const std::string& path) {
  Picture picture = quillbit::LoadPicture(
      path, [](const std::string& name) { return std::make_unique<NodePictureFile>(name); });
  ResizeSurface(picture.width, picture.height);
  FillSurface(std::move(picture.argb), std::move(picture.notes));
}

void NodeHost::Refresh() {}  // pixels are readable as soon as they are loaded

void NodeHost::WriteTextFile(const std::string& path, const std::string& text) {
  const std::string what = report_text::CannotWrite(path);
  try {
    const Entry kept = node_system::Look(path);
    if (kept.kind == Entry::Folder) {
      throw RunTimeError(report_text::Because(what, node_system::Reason("EISDIR")));
    }
    // As on Linux and Windows: the user's "read-only" holds even where a rename would not.
    if (kept.kind == Entry::Regular && (kept.mode & 0222) == 0) {
      throw RunTimeError(report_text::Because(what, report_text::kReadOnly));
    }
    node_system::ReplaceFile(path, text, kept);
  } catch (const SystemFailure& failure) {
    throw RunTimeError(report_text::Because(what, failure.what()));
  }
}

std::unique_ptr<FileSystem> NodeFileSystem() { return std::make_unique<NodeFiles>(); }

}  // namespace quillbit
