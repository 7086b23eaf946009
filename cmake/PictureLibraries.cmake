# The picture libraries that scripts/picture-libraries.sh built from Debian's source packages
# for a cross target, as imported targets. They take the names of CMake's own find modules
# and libwebp's package (ZLIB::ZLIB, PNG::PNG, GIF::GIF, JPEG::JPEG, TIFF::TIFF, WebP::webp,
# WebP::webpdemux), so code links the same names wherever its libraries come from.
set(QUILLBIT_PICTURE_PREFIX ${CMAKE_BINARY_DIR}/third-party/prefix
    CACHE PATH "Prefix of the picture libraries built by scripts/picture-libraries.sh")

set(QUILLBIT_PICTURE_MANIFEST ${QUILLBIT_PICTURE_PREFIX}/picture-libraries.txt)
if(NOT EXISTS ${QUILLBIT_PICTURE_MANIFEST})
  get_filename_component(folder ${QUILLBIT_PICTURE_PREFIX} DIRECTORY)
  message(FATAL_ERROR "The picture libraries are not built in ${QUILLBIT_PICTURE_PREFIX}; "
                      "scripts/picture-libraries.sh TARGET ${folder} builds them")
endif()
# A new build of the libraries configures again, so a changed version is seen.
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${QUILLBIT_PICTURE_MANIFEST})

function(quillbit_picture_library name archive)
  set(file ${QUILLBIT_PICTURE_PREFIX}/lib/${archive})
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "${file} is missing; scripts/picture-libraries.sh builds it")
  endif()
  add_library(${name} STATIC IMPORTED GLOBAL)
  set_target_properties(${name} PROPERTIES IMPORTED_LOCATION ${file}
                        INTERFACE_INCLUDE_DIRECTORIES ${QUILLBIT_PICTURE_PREFIX}/include
                        INTERFACE_LINK_LIBRARIES "${ARGN}")
endfunction()
quillbit_picture_library(ZLIB::ZLIB libz.a)
quillbit_picture_library(PNG::PNG libpng16.a ZLIB::ZLIB)
quillbit_picture_library(GIF::GIF libgif.a)
quillbit_picture_library(JPEG::JPEG libjpeg.a)
quillbit_picture_library(TIFF::TIFF libtiff.a JPEG::JPEG ZLIB::ZLIB)
quillbit_picture_library(WebP::webp libwebp.a)
quillbit_picture_library(WebP::webpdemux libwebpdemux.a WebP::webp)
