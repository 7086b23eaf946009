// Every call out of the module into system.js. Strings cross as UTF-8; a call that fails
// returns a negative number and leaves the reason in Module.node.lastError.
#include "host/node/node_system.h"

#include <emscripten.h>

#include <cstdlib>
#include <memory>

// clang-format off
EM_JS(int, qb_argument_count, (), { return Module.node.arguments.length; });
EM_JS(char*, qb_argument, (int index), { return allocateUTF8(Module.node.arguments[index]); });
EM_JS(char*, qb_program_folder, (), { return allocateUTF8(Module.node.programFolder); });
EM_JS(char*, qb_environment, (const char* name), {
  const value = Module.node.environment(UTF8ToString(name));
  return value === undefined ? 0 : allocateUTF8(value);
});
EM_JS(int, qb_output_is_terminal, (), { return Module.node.outputIsTerminal() ? 1 : 0; });
EM_JS(char*, qb_node_reason, (const char* code), {
  return allocateUTF8(Module.node.reason(UTF8ToString(code)));
});
EM_JS(char*, qb_node_last_error, (), { return allocateUTF8(Module.node.lastError); });
EM_JS(int, qb_node_last_error_missing, (), { return Module.node.lastErrorMissing ? 1 : 0; });
EM_JS(int, qb_write, (int descriptor, const char* bytes, double size), {
  return Module.node.write(descriptor, HEAPU8.subarray(bytes, bytes + size));
});
EM_JS(int, qb_open, (const char* path, double* facts), {
  const file = Module.node.open(UTF8ToString(path));
  if (file === null) return -1;
  HEAPF64.set([file.size, file.regular ? 1 : 0, file.folder ? 1 : 0], facts >> 3);
  return file.descriptor;
});
EM_JS(double, qb_read_at, (int descriptor, double offset, char* out, double count), {
  return Module.node.readAt(descriptor, offset, HEAPU8.subarray(out, out + count));
});
EM_JS(void, qb_close, (int descriptor), { Module.node.close(descriptor); });
EM_JS(int, qb_look, (const char* path, double* facts), {
  const entry = Module.node.look(UTF8ToString(path));
  if (entry === null) return -1;
  HEAPF64.set([entry.mode, entry.owner, entry.group], facts >> 3);
  return entry.kind;
});
EM_JS(int, qb_is_regular_file, (const char* path), {
  return Module.node.isRegularFile(UTF8ToString(path)) ? 1 : 0;
});
EM_JS(int, qb_replace_file, (const char* path, const char* bytes, double size, double mode,
                             double owner, double group), {
  return Module.node.replaceFile(UTF8ToString(path), HEAPU8.subarray(bytes, bytes + size),
                                 mode, owner, group);
});
EM_JS(int, qb_place_file, (const char* path, const char* bytes, double size), {
  return Module.node.placeFile(UTF8ToString(path), HEAPU8.subarray(bytes, bytes + size));
});
// clang-format on

namespace quillbit::node_system {

namespace {

std::optional<std::string> Taken(char* text) {
  if (!text) return std::nullopt;
  const std::unique_ptr<char, decltype(&std::free)> owned(text, &std::free);
  return std::string(owned.get());
}

[[noreturn]] void FailWithLastError() {
  SystemFailure failure(*Taken(qb_node_last_error()));
  failure.missing = qb_node_last_error_missing() != 0;
  throw failure;
}

int Checked(int result) {
  if (result < 0) FailWithLastError();
  return result;
}

}  // namespace

std::vector<std::string> Arguments() {
  std::vector<std::string> arguments;
  const int count = qb_argument_count();
  arguments.reserve(static_cast<std::size_t>(count));
  for (int index = 0; index < count; ++index) arguments.push_back(*Taken(qb_argument(index)));
  return arguments;
}

std::string ProgramFolder() { return *Taken(qb_program_folder()); }

std::optional<std::string> Environment(const char* name) { return Taken(qb_environment(name)); }

bool OutputIsTerminal() { return qb_output_is_terminal() != 0; }

std::optional<std::string> Write(int descriptor, const std::string& text) {
  if (qb_write(descriptor, text.data(), static_cast<double>(text.size())) < 0) {
    return Taken(qb_node_last_error());
  }
  return std::nullopt;
}

ReadableFile::ReadableFile(const std::string& path) {
  double facts[3] = {0, 0, 0};
  descriptor_ = Checked(qb_open(path.c_str(), facts));
  size_ = static_cast<std::uint64_t>(facts[0]);
  regular_ = facts[1] != 0;
  folder_ = facts[2] != 0;
}

ReadableFile::~ReadableFile() { qb_close(descriptor_); }

std::size_t ReadableFile::ReadAt(std::uint64_t offset, char* out, std::size_t count) const {
  const double got =
      qb_read_at(descriptor_, static_cast<double>(offset), out, static_cast<double>(count));
  if (got < 0) FailWithLastError();
  return static_cast<std::size_t>(got);
}

std::string ReadableFile::ReadStart(std::size_t limit) const {
  std::string bytes(limit, '\0');
  std::size_t got = 0;
  while (got < limit) {
    const std::size_t count = ReadAt(got, &bytes[got], limit - got);
    if (count == 0) break;
    got += count;
  }
  bytes.resize(got);
  return bytes;
}

Entry Look(const std::string& path) {
  double facts[3] = {0, -1, -1};
  Entry entry;
  entry.kind = static_cast<Entry::Kind>(Checked(qb_look(path.c_str(), facts)));
  entry.mode = static_cast<std::uint32_t>(facts[0]);
  entry.owner = static_cast<std::int64_t>(facts[1]);
  entry.group = static_cast<std::int64_t>(facts[2]);
  return entry;
}

bool IsRegularFile(const std::string& path) { return qb_is_regular_file(path.c_str()) != 0; }

void ReplaceFile(const std::string& path, const std::string& bytes, const Entry& kept) {
  const bool keep = kept.kind == Entry::Regular;
  const auto keptOrNone = [keep](auto value) { return keep ? static_cast<double>(value) : -1.0; };
  Checked(qb_replace_file(path.c_str(), bytes.data(), static_cast<double>(bytes.size()),
                          keptOrNone(kept.mode), keptOrNone(kept.owner), keptOrNone(kept.group)));
}

void PlaceFile(const std::string& path, const std::string& bytes) {
  Checked(qb_place_file(path.c_str(), bytes.data(), static_cast<double>(bytes.size())));
}

std::string Reason(const char* code) { return *Taken(qb_node_reason(code)); }

}  // namespace quillbit::node_system
