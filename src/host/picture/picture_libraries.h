// The functions of libtiff and libwebp the readers call, as one table per library. How the
// table is filled is the build's choice: loaded_libraries.cpp loads the libraries the first
// time a picture needs them (Linux, where they bring eight more libraries into every
// start), linked_libraries.cpp takes the functions linked into the program (static builds).
// The readers see only the tables.
#pragma once

#include <tiffio.h>
#include <webp/decode.h>
#include <webp/demux.h>

namespace quillbit {

// Each list names the functions of one library, for the table and both ways to fill it.
#define QUILLBIT_LIBTIFF_FUNCTIONS(FUNCTION)     \
  FUNCTION(TIFFClientOpenExt)                    \
  FUNCTION(TIFFClose)                            \
  FUNCTION(TIFFGetField)                         \
  FUNCTION(TIFFOpenOptionsAlloc)                 \
  FUNCTION(TIFFOpenOptionsFree)                  \
  FUNCTION(TIFFOpenOptionsSetErrorHandlerExtR)   \
  FUNCTION(TIFFOpenOptionsSetMaxSingleMemAlloc)  \
  FUNCTION(TIFFOpenOptionsSetWarningHandlerExtR) \
  FUNCTION(TIFFRGBAImageOK)                      \
  FUNCTION(TIFFRGBAImageBegin)                   \
  FUNCTION(TIFFRGBAImageGet)                     \
  FUNCTION(TIFFRGBAImageEnd)

// The header's inline wrappers call the *Internal functions with the version they were
// built with; the readers do the same.
#define QUILLBIT_LIBWEBP_FUNCTIONS(FUNCTION)   \
  FUNCTION(WebPGetFeaturesInternal)            \
  FUNCTION(WebPDecodeBGRAInto)                 \
  FUNCTION(WebPAnimDecoderOptionsInitInternal) \
  FUNCTION(WebPAnimDecoderNewInternal)         \
  FUNCTION(WebPAnimDecoderGetNext)             \
  FUNCTION(WebPAnimDecoderDelete)

// name is a declarator here and cannot stand in parentheses.
#define QUILLBIT_FUNCTION_POINTER(name) \
  decltype(&::name) name = nullptr;  // NOLINT(bugprone-macro-parentheses)

struct Libtiff {
  QUILLBIT_LIBTIFF_FUNCTIONS(QUILLBIT_FUNCTION_POINTER)
};

struct Libwebp {
  QUILLBIT_LIBWEBP_FUNCTIONS(QUILLBIT_FUNCTION_POINTER)
};

// The filled tables; throw PictureFault saying why a library cannot be had.
const Libtiff& LibtiffFunctions();
const Libwebp& LibwebpFunctions();

}  // namespace quillbit
