// The words of every report about a file that quillbit and quillbit-check give, whatever the
// platform: the hosts, quillbit-check, the browser page (through the WebAssembly module) and
// the tests' doubles all build them here, so a changed wording is one edit.
#pragma once

#include <string>

namespace quillbit::report_text {

// What failed, then why, as every report joins them.
inline std::string Because(const std::string& what, const std::string& why) {
  return what + ": " + why;
}

// A name as reports quote it.
inline std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

// A picture that no platform's reader could read.
inline std::string CannotReadPicture(const std::string& path, const std::string& why) {
  return Because("cannot read picture " + Quoted(path), why);
}

// The page's report when the module itself failed on a picture (a trap, not a refusal).
inline std::string PictureReaderFailed(const std::string& path, const std::string& reason) {
  return CannotReadPicture(path, "the picture reader failed (" + reason + ")");
}

// A file quillbit-check reads as bytes.
inline std::string CannotRead(const std::string& path, const std::string& why) {
  return Because("cannot read " + Quoted(path), why);
}

// A header quillbit-check was asked to check.
inline std::string CannotReadHeader(const std::string& path, const std::string& why) {
  return Because("cannot read header " + Quoted(path), why);
}

// The start of a failed copy's report; the platform's reason follows (Because).
inline std::string CannotCopy(const std::string& source, const std::string& destination) {
  return "cannot copy " + Quoted(source) + " to " + Quoted(destination);
}

// The start of a failed write's report; the platform's reason follows (Because).
inline std::string CannotWrite(const std::string& path) { return "cannot write " + Quoted(path); }

// A format the table names but no reader reads (what: "GIF with an LZW code size of 11"),
// with the library's limit when that is the reason (because).
inline std::string RefusedFormat(const std::string& what, const std::string& because = "") {
  return what + " is not a picture format quillbit reads" +
         (because.empty() ? "" : " (" + because + ")") + "; save the picture as PNG";
}

// The whole report, for the program's folder, where the companion comes from.
inline constexpr char kProgramFolderUnknown[] = "cannot find the program's folder";

// Reasons that no system error text gives.
inline constexpr char kNoPictureFormat[] = "not a picture format quillbit reads";
inline constexpr char kPictureNotRegular[] = "it is not a regular file";  // a picture
inline constexpr char kPictureIsFolder[] = "not a file";                  // a picture
inline constexpr char kFileNotRegular[] = "not a regular file";           // quillbit-check's read
inline constexpr char kSourceNotRegular[] = "the source is not a regular file";  // a copy
inline constexpr char kSourceIsFolder[] = "the source is a folder";              // a copy
inline constexpr char kTargetIsFolder[] = "it is a folder";                      // a write
inline constexpr char kReadOnly[] = "the file is read-only";                     // a write
inline constexpr char kNoSuchHeader[] = "there is no such file";
// The system's text for a missing file, where no system is asked (the page, the doubles).
inline constexpr char kNoSuchFile[] = "No such file or directory";

}  // namespace quillbit::report_text
