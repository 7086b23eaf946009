// The web host's way into the page's JavaScript (worker.js, in the page's Web Worker): the
// functions the worker calls, and the page's side of WebPage as calls out to it. Every
// JavaScript function named here is a member of the worker's `page` object.
#include <emscripten.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "check/report_json.h"
#include "driver/entry.h"
#include "host/picture/picture_formats.h"
#include "host/web/page_texts.h"
#include "host/web/web_host.h"

// clang-format off
EM_JS(double, qb_picture_size, (const char* path), {
  return Module.page.pictureSize(UTF8ToString(path));
});
EM_JS(double, qb_picture_read, (const char* path, double offset, char* out, double count), {
  const bytes = Module.page.pictureRead(UTF8ToString(path), offset, count);
  if (bytes === null) return -1;
  HEAPU8.set(bytes, out);
  return bytes.length;
});
EM_JS(char*, qb_last_error, (), {
  const text = Module.page.lastError;
  const size = lengthBytesUTF8(text) + 1;
  const copy = _malloc(size);
  stringToUTF8(text, copy, size);
  return copy;
});
EM_JS(int, qb_has_file, (const char* path), {
  return Module.page.hasFile(UTF8ToString(path)) ? 1 : 0;
});
EM_JS(void, qb_message, (const char* text, int kind), {
  Module.page.message(UTF8ToString(text), kind);
});
EM_JS(void, qb_picture, (const char* report), {
  Module.page.picture(JSON.parse(UTF8ToString(report)));
});
EM_JS(void, qb_file, (const char* path, const char* bytes, double size, int companion), {
  Module.page.file(UTF8ToString(path), HEAPU8.slice(bytes, bytes + size), companion !== 0);
});
// clang-format on

namespace quillbit {

namespace {

std::string LastError() {
  char* text = qb_last_error();
  std::string copy(text);
  std::free(text);
  return copy;
}

// A picture the page holds as a File: read in slices, only when the batch reaches it.
class PagePictureFile : public PictureFile {
 public:
  explicit PagePictureFile(std::string path) : path_(std::move(path)) {
    const double size = qb_picture_size(path_.c_str());
    if (size < 0) throw PictureFault(LastError());
    size_ = static_cast<std::uint64_t>(size);
  }

  std::uint64_t Size() override { return size_; }

  std::size_t ReadAt(std::uint64_t offset, char* out, std::size_t count) override {
    const double got = qb_picture_read(path_.c_str(), static_cast<double>(offset), out,
                                       static_cast<double>(count));
    if (got < 0) throw PictureFault(LastError());
    return static_cast<std::size_t>(got);
  }

 private:
  std::string path_;
  std::uint64_t size_ = 0;
};

class JavaScriptPage : public WebPage {
 public:
  void Show(const std::string& text, MessageKind kind) override {
    qb_message(text.c_str(), static_cast<int>(kind));
  }
  std::unique_ptr<PictureFile> OpenPicture(const std::string& path) override {
    return std::make_unique<PagePictureFile>(path);
  }
  bool HasFile(const std::string& path) override { return qb_has_file(path.c_str()) != 0; }
  void ShowPicture(const CheckReport& report) override { qb_picture(ReportJson(report).c_str()); }
  void ReceiveHeader(const std::string& path, const std::string& bytes) override {
    qb_file(path.c_str(), bytes.data(), static_cast<double>(bytes.size()), 0);
  }
  void ReceiveCompanion(const std::string& path, const std::string& bytes) override {
    qb_file(path.c_str(), bytes.data(), static_cast<double>(bytes.size()), 1);
  }
};

std::vector<std::string>& Names() {
  static std::vector<std::string> names;
  return names;
}

std::string ReadableExtensions() {
  std::string list;
  for (const PictureFormat& format : PictureFormats()) {
    if (!format.read) continue;
    if (!list.empty()) list += ' ';
    list += format.extensions;
  }
  return list;
}

}  // namespace

}  // namespace quillbit

extern "C" {

// The batch's pictures, one call each, in the batch's order.
EMSCRIPTEN_KEEPALIVE void quillbit_add_name(const char* path) {
  quillbit::Names().emplace_back(path);
}

// Runs the batch over the names added since the last run; returns quillbit's exit status.
EMSCRIPTEN_KEEPALIVE int quillbit_run() {
  std::vector<std::string> names;
  names.swap(quillbit::Names());
  quillbit::JavaScriptPage page;
  quillbit::WebHost host(std::move(names), page);
  return quillbit::RunProgram(host);
}

// The extensions of the formats the reader reads, blank-separated, lower case.
EMSCRIPTEN_KEEPALIVE const char* quillbit_extensions() {
  static const std::string list = quillbit::ReadableExtensions();
  return list.c_str();
}

// The reports the page words itself, as PageTexts gives them.
EMSCRIPTEN_KEEPALIVE const char* quillbit_page_texts() {
  static const std::string texts = quillbit::PageTexts();
  return texts.c_str();
}
}
