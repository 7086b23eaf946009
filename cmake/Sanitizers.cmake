# The checked build: AddressSanitizer (with its leak checker), UndefinedBehaviorSanitizer
# and the standard library's own bounds checks. Every finding stops the program,
# so a test that passes here really ran clean.
option(QUILLBIT_SANITIZE "Build with ASan, UBSan and _GLIBCXX_ASSERTIONS" OFF)
# The fuzz build (clang only): the same checks plus libFuzzer's coverage counters.
option(QUILLBIT_FUZZ "Build the fuzz targets for libFuzzer; needs clang" OFF)

if(QUILLBIT_SANITIZE OR QUILLBIT_FUZZ)
  set(QUILLBIT_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
                               -fno-omit-frame-pointer)
  add_compile_options(${QUILLBIT_SANITIZER_FLAGS} -D_GLIBCXX_ASSERTIONS)
  add_link_options(${QUILLBIT_SANITIZER_FLAGS})
endif()
if(QUILLBIT_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
