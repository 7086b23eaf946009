// Links every picture library built from Debian's sources into one static program and
// checks each against the rule of scripts/picture-libraries.sh: built at the Linux build's
// Debian version, or else at another Debian revision of the same upstream release (the
// mirror serves no security updates' sources), never another release; and that the library
// is the release it was built from and agrees with the header it was compiled against.
// Usage: picture_library_versions SOURCE=BUILT=LINUX ...
//   (e.g. tiff=4.5.0-6+deb12u4=4.5.0-6+deb12u5)
// Prints one line per library; exit status 1 when any breaks the rule or is not named.
#include <gif_lib.h>
#include <png.h>
#include <tiffio.h>
#include <webp/decode.h>
#include <webp/demux.h>
#include <zlib.h>

#include <cstdio>
#include <map>
#include <string>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace {

std::string Dotted(unsigned long major, unsigned long minor, unsigned long patch) {
  return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch);
}

std::string FromPacked(int version) {  // libwebp: 0x010204 is 1.2.4
  const auto bits = static_cast<unsigned long>(version);
  return Dotted(bits >> 16, (bits >> 8) & 0xFF, bits & 0xFF);
}

// libtiff's text starts "LIBTIFF, Version 4.5.0\n".
std::string TiffVersion(const char* text) {
  const std::string whole = text;
  const std::string marker = "Version ";
  const auto start = whole.find(marker);
  if (start == std::string::npos) return whole;
  const auto from = start + marker.size();
  return whole.substr(from, whole.find('\n', from) - from);
}

// giflib and the libjpeg API name no version at run time: a call proves the library is
// linked, and the header's version stands for it.
std::string GifVersion() {
  return GifErrorString(D_GIF_ERR_OPEN_FAILED) != nullptr
             ? Dotted(GIFLIB_MAJOR, GIFLIB_MINOR, GIFLIB_RELEASE)
             : "(no error text)";
}

std::string JpegVersion() {
  jpeg_decompress_struct decoder{};
  jpeg_error_mgr errors{};
  decoder.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&decoder);
  jpeg_destroy_decompress(&decoder);
  const unsigned long number = LIBJPEG_TURBO_VERSION_NUMBER;  // 2001005 is 2.1.5
  return Dotted(number / 1000000, number / 1000 % 1000, number % 1000);
}

struct Library {
  std::string linked;  // what the library itself says
  std::string header;  // what its header says; for libwebp, what its demux library says
};

std::map<std::string, Library> LinkedLibraries() {
  const unsigned long png = png_access_version_number();
  return {
      {"zlib", {zlibVersion(), ZLIB_VERSION}},
      {"libpng1.6",
       {Dotted(png / 10000, png / 100 % 100, png % 100),
        Dotted(PNG_LIBPNG_VER_MAJOR, PNG_LIBPNG_VER_MINOR, PNG_LIBPNG_VER_RELEASE)}},
      {"giflib", {GifVersion(), Dotted(GIFLIB_MAJOR, GIFLIB_MINOR, GIFLIB_RELEASE)}},
      {"libjpeg-turbo", {JpegVersion(), JpegVersion()}},
      {"tiff", {TiffVersion(TIFFGetVersion()), TiffVersion(TIFFLIB_VERSION_STR)}},
      {"libwebp", {FromPacked(WebPGetDecoderVersion()), FromPacked(WebPGetDemuxVersion())}},
  };
}

}  // namespace

struct Versions {  // Debian versions of the source package
  std::string built;
  std::string ofLinux;
};

// "1:2.1.5-2" -> "1:2.1.5": the Debian revision dropped, the epoch kept.
std::string Release(const std::string& version) {
  const auto dash = version.rfind('-');
  return dash == std::string::npos ? version : version.substr(0, dash);
}

// "1:1.2.13.dfsg" -> "1.2.13": the numbers of the upstream release, as a library states them.
std::string Numbers(const std::string& release) {
  const auto colon = release.find(':');
  std::string numbers = release.substr(colon == std::string::npos ? 0 : colon + 1);
  numbers = numbers.substr(0, numbers.find_first_not_of("0123456789."));
  while (!numbers.empty() && numbers.back() == '.') numbers.pop_back();
  return numbers;
}

// Why a library breaks the rule, or "" when it keeps it.
std::string Fault(const Library& library, const Versions* versions) {
  if (!versions) return "not named";
  if (Release(versions->built) != Release(versions->ofLinux)) return "another upstream release";
  if (library.linked != Numbers(Release(versions->built))) return "not the release built";
  if (library.header != library.linked) return "header and library differ";
  return "";
}

int main(int argc, char** argv) {
  std::map<std::string, Versions> named;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const auto first = argument.find('=');
    const auto second = argument.find('=', first == std::string::npos ? first : first + 1);
    if (second == std::string::npos) {
      std::fprintf(stderr, "not SOURCE=BUILT=LINUX: %s\n", argument.c_str());
      return 2;
    }
    named[argument.substr(0, first)] = {argument.substr(first + 1, second - first - 1),
                                        argument.substr(second + 1)};
  }
  int status = 0;
  for (const auto& [name, library] : LinkedLibraries()) {
    const auto found = named.find(name);
    const Versions* versions = found == named.end() ? nullptr : &found->second;
    const std::string fault = Fault(library, versions);
    std::printf("%s %s (header %s), built %s for Linux %s%s%s\n", name.c_str(),
                library.linked.c_str(), library.header.c_str(),
                versions ? versions->built.c_str() : "?",
                versions ? versions->ofLinux.c_str() : "?",
                versions && fault.empty() && versions->built != versions->ofLinux
                    ? ": another Debian revision of the same release"
                    : "",
                fault.empty() ? "" : ("  <- " + fault).c_str());
    if (!fault.empty()) status = 1;
  }
  return status;
}
