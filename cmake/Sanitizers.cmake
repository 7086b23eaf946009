# The checked build: AddressSanitizer (with its leak checker), UndefinedBehaviorSanitizer
# and the standard library's own bounds checks. Every finding stops the program,
# so a test that passes here really ran clean.
option(QUILLBIT_SANITIZE "Build with ASan, UBSan and _GLIBCXX_ASSERTIONS" OFF)

if(QUILLBIT_SANITIZE)
  set(QUILLBIT_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
                               -fno-omit-frame-pointer)
  add_compile_options(${QUILLBIT_SANITIZER_FLAGS} -D_GLIBCXX_ASSERTIONS)
  add_link_options(${QUILLBIT_SANITIZER_FLAGS})
endif()
