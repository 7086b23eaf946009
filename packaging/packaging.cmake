# The packages: quillbit and quillbit-desktop for Debian on Linux (`make package`), the
# zip and the installer on Windows (`make package-windows`). Included by the top-level CMakeLists
# after the program folder's rules, which are the whole install on other systems.
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/windows_package.cmake)
  return()
elseif(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()

include(${CMAKE_CURRENT_LIST_DIR}/linux_install.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/debian_package.cmake)
