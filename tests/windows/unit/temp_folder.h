// A fresh folder for one test, removed afterwards, with UTF-8 paths as the host takes them.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace quillbit::testing {

class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    root_ = std::filesystem::temp_directory_path() /
            ("quillbit-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(root_);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root_, ignored))
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                   std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(root_, ignored);
  }

  // The UTF-8 path of name (given in UTF-8) inside the folder.
  std::string Path(const std::string& name) const { return (root_ / Native(name)).u8string(); }
  std::string Root() const { return root_.u8string(); }

  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(root_ / Native(name), std::ios::binary);
    out << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(root_ / Native(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  // Names in the folder, UTF-8, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(root_))
      names.push_back(entry.path().filename().u8string());
    std::sort(names.begin(), names.end());
    return names;
  }
  static std::filesystem::path Native(const std::string& utf8) {
    return std::filesystem::u8path(utf8);
  }
  const std::filesystem::path& root() const { return root_; }

 private:
  std::filesystem::path root_;
};

}  // namespace quillbit::testing
