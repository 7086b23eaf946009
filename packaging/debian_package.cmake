# `make package`: two Debian packages from one build, installing into /usr:
#   quillbit          the terminal program, Blitview.h, the manual page; no SDL, X11 or
#                     sound library, so that build machines can have it alone
#   quillbit-desktop  quillbitw, its launcher, icon and software-centre entry
# The install components `terminal` and `desktop` (linux_install.cmake) make the split.

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL terminal desktop)
set(CPACK_PACKAGE_NAME quillbit)
set(CPACK_PACKAGE_VENDOR "the quillbit developers")
set(CPACK_PACKAGE_CONTACT
    "quillbit maintainers <maintainers@users.noreply.c-seed-3abdc4a7.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # <package>_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Each description below starts with its package's own summary line; the project's summary
# would be put in front of both.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
# dpkg-shlibdeps names the packages of the libraries each package's programs link, with
# the versions this build needs, so the lists cannot drift from the link lines.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_TERMINAL_PACKAGE_NAME quillbit)
set(CPACK_DEBIAN_TERMINAL_PACKAGE_SECTION devel)  # a build tool: its output is C source
set(CPACK_DEBIAN_TERMINAL_DESCRIPTION
    "sprite pictures to C header files of bitplane arrays
quillbit turns sprite pictures into C header files for games on small
monochrome or four-level grey screens: each pixel is sorted by its exact
colour into black, light grey, dark grey or background, and a header with
WIDTH and HEIGHT macros and one or two bitplane arrays of hex literals is
written beside the picture. Blitview.h, the companion header it copies
beside the last picture, reads and draws the sprites in C89, C99 and C++.
.
It reads PNG, GIF, JPEG, TIFF, WebP, BMP, TGA, PGM, PPM, ICO, CUR and
Aseprite. It has no options and no settings, and its exit status tells
scripts and Makefiles how the run ended. quillbit-check draws each sprite as
quillbit converts it and points out colours that almost match a level. A
CMake package, find_package(quillbit), converts a game's sprites into its
build tree while it builds.
.
This package holds the terminal programs. The desktop front end, which takes
pictures dropped onto its icon, is in quillbit-desktop.")

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
string(REPLACE ";" ", " CPACK_DEBIAN_TERMINAL_PACKAGE_DEPENDS "${quillbit_loaded_packages}")

set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME quillbit-desktop)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_DESKTOP_DESCRIPTION
    "desktop front end of quillbit: drop sprite pictures onto its icon
quillbit turns sprite pictures into C header files with the sprites'
bitplanes as arrays of hex literals, for games on small monochrome or
four-level grey screens.
.
This package adds quillbitw and its launcher: drop pictures onto the quillbit
icon, or open them with quillbit from the file manager, and each one's name,
size and sprite type come in a message box while its header is written
beside it. Without a display it writes its messages to the terminal.")
# quillbitw runs beside quillbit's companion header, from the same build.
set(CPACK_COMPONENT_DESKTOP_DEPENDS terminal)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# The boxes: SDL draws its own on X11 (Xwayland included) with the X server's core fonts,
# which Debian's policy lets a package only recommend: the server that needs them may
# run on another machine (ssh -X). On a Wayland desktop without X, SDL asks zenity.
set(CPACK_DEBIAN_DESKTOP_PACKAGE_RECOMMENDS "xfonts-base, zenity")

set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/")

include(CPack)
