# `make package`: a Debian package of the install rules, installing into /usr.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillbit)
set(CPACK_PACKAGE_VENDOR "quillbit maintainers")
set(CPACK_PACKAGE_CONTACT
    "quillbit maintainers <maintainers@users.noreply.c-seed-3abdc4a7.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "quillbit turns sprite pictures into C header files with the sprite's bitplanes
as arrays of hex literals, for games on small monochrome or four-level grey
screens. Drop pictures onto its desktop launcher, or name them on a command
line; a header appears beside each. quillbit-check draws each sprite as
quillbit converts it and points out colours that almost match a level.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # quillbit_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps names the packages of the libraries the programs link, with the
# versions this build needs, so the list cannot drift from the link line.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The libraries loaded on demand are no link dependency; their packages are found here.
set(quillbit_loaded_packages "")
foreach(soname ${QUILLBIT_LOADED_LIBRARIES})
  execute_process(COMMAND dpkg-query -S "*/${soname}" OUTPUT_VARIABLE owner
                  RESULT_VARIABLE status ERROR_QUIET)
  if(status EQUAL 0 AND owner MATCHES "^([^:, ]+)")
    list(APPEND quillbit_loaded_packages ${CMAKE_MATCH_1})
  endif()
endforeach()
list(REMOVE_DUPLICATES quillbit_loaded_packages)
# quillbitw's boxes: SDL draws its own box on X11 (Xwayland included) with the X core
# fonts, and asks zenity for one on a Wayland desktop without X.
list(APPEND quillbit_loaded_packages xfonts-base)
string(REPLACE ";" ", " quillbit_depends "${quillbit_loaded_packages}")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${quillbit_depends}")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "zenity")

set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/")

include(CPack)
