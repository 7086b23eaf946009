// Everything the conversion needs from the world outside the program.
// The core sees only this interface and plain data; each platform implements it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace quillbit {

// How a message is presented: an information box may go to standard output,
// user errors and the run-time error report to standard error.
enum class MessageKind { Information, UserError, RunTimeError };

// Path services of the platform's file system; one object lives for the run.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The path without its last component and without the separator before it.
  virtual std::string GetParentFolderName(const std::string& path) const = 0;
  // The last component of the path.
  virtual std::string GetFileName(const std::string& path) const = 0;
  // The last component without its last dot and what follows.
  virtual std::string GetBaseName(const std::string& path) const = 0;
  // True when a file (not a folder) exists at the path.
  virtual bool FileExists(const std::string& path) const = 0;
  // Copies source to destination; a missing source or one that is no regular file is a
  // run-time error. Without overwrite nothing at destination is replaced: a regular file
  // there counts as the copy (another run made it a moment ago), anything else is a
  // run-time error. Never leaves a partial copy.
  virtual void CopyFile(const std::string& source, const std::string& destination,
                        bool overwrite) const = 0;
  // folder and name joined by one separator; name alone when folder is empty.
  virtual std::string BuildPath(const std::string& folder, const std::string& name) const = 0;
};

class Host {
 public:
  virtual ~Host() = default;

  // The argument text: every argument in double quotes, joined by one blank.
  // Empty without arguments; nullopt when an argument holds a double quote itself.
  virtual std::optional<std::string> Command() = 0;
  // Shows a modal message; returns once the user dismissed it.
  virtual void MsgBox(const std::string& text, MessageKind kind) = 0;
  // The folder that holds the running program, without a trailing separator.
  virtual std::string AppPath() = 0;
  // A new file-system object.
  virtual std::unique_ptr<FileSystem> CreateFileSystem() = 0;

  // Makes the picture surface ready; called once before the first picture.
  virtual void PreparePictureSurface() = 0;
  // Loads the picture at path onto the surface, replacing the previous one.
  virtual void LoadPicture(const std::string& path) = 0;
  // Size of the picture on the surface, in pixels.
  virtual double ScaleWidth() const = 0;
  virtual double ScaleHeight() const = 0;
  // Makes every pixel of the loaded picture readable.
  virtual void Refresh() = 0;
  // 0xRRGGBB of the pixel at 0-based (x, y); a pixel that is not fully opaque
  // reads as white, the surface showing through.
  virtual std::uint32_t Point(double x, double y) const = 0;

  // Replaces the file at path with text (bytes as given) in one step: on any
  // failure the previous file stays as it was and nothing else is left behind.
  virtual void WriteTextFile(const std::string& path, const std::string& text) = 0;
};

}  // namespace quillbit
