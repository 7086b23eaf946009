# The packages: quillbit and quillbit-desktop for Debian on Linux (`make package`), the
# zip and the installer on Windows (`make package-windows`). Included by the top-level CMakeLists
# after the program folder's rules, which with the CMake package (not on Windows) are the
# whole install on other systems.
# The browser page both carry: built by `make web`, which the package targets run first; a
# build without it makes packages without it (tests/package names it in each).
set(QUILLBIT_WEB_PAGE ${PROJECT_SOURCE_DIR}/build-web/quillbit.html
    CACHE FILEPATH "The browser page the packages carry (make web builds it)")
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/windows_package.cmake)
  return()
endif()
include(${CMAKE_CURRENT_LIST_DIR}/cmake_package.cmake)
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()

include(${CMAKE_CURRENT_LIST_DIR}/linux_install.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/debian_package.cmake)
