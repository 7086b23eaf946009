# Installs quillbit the way a Linux desktop expects it and builds its Debian package
# (`make package`). Included by the top-level CMakeLists after the program folder's rules,
# which are the whole install on other systems.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()

include(${CMAKE_CURRENT_LIST_DIR}/desktop_install.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/debian_package.cmake)
