// Links every picture library built from Debian's sources into one static program and
// checks that each is the upstream release the Linux build uses, and that the library
// agrees with the header it was compiled against.
// Usage: picture_library_versions SOURCE=VERSION ...   (e.g. tiff=4.5.0)
// Prints one line per library; exit status 1 when any differs or is not named.
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

int main(int argc, char** argv) {
  std::map<std::string, std::string> expected;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const auto equals = argument.find('=');
    expected[argument.substr(0, equals)] =
        equals == std::string::npos ? "" : argument.substr(equals + 1);
  }
  int status = 0;
  for (const auto& [name, library] : LinkedLibraries()) {
    const auto wanted = expected.find(name);
    const bool same = wanted != expected.end() && wanted->second == library.linked &&
                      library.header == library.linked;
    std::printf("%s %s (header %s, Linux %s)%s\n", name.c_str(), library.linked.c_str(),
                library.header.c_str(),
                wanted == expected.end() ? "not named" : wanted->second.c_str(),
                same ? "" : "  <- differs");
    if (!same) status = 1;
  }
  return status;
}
