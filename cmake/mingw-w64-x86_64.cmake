# Cross-builds the Windows programs on Debian with MinGW-w64:
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# The "-posix" compilers (package g++-mingw-w64-x86-64-posix) are the variant whose
# C++ runtime has std::thread and friends; the "-win32" one lacks them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUILLBIT_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUILLBIT_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLBIT_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLBIT_MINGW_TRIPLE}-windres)

# Libraries and headers only from the MinGW tree, programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${QUILLBIT_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# CTest runs the built .exe files through Wine, in a prefix that belongs to this
# build tree, quiet, and without the offers to download Mono and Gecko. Wine reads
# Linux file names in the locale's character set: a UTF-8 locale keeps every name.
find_program(QUILLBIT_WINE wine)
if(QUILLBIT_WINE AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix WINEDEBUG=-all
                                    WINEDLLOVERRIDES=mscoree,mshtml= LANG=C.UTF-8 LC_ALL=
                                    ${QUILLBIT_WINE})
endif()
