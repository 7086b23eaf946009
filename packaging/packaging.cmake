# The packages: quillbit and quillbit-desktop for Debian on Linux (`make package`), the
# zip and the installer on Windows (`make package-windows`). Included by the top-level CMakeLists
# after the program folder's rules, which with the CMake package (not on Windows) are the
# whole install on other systems.
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
