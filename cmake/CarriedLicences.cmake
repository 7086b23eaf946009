# quillbit_carried_licences(<variable>): the licences of what quillbit carries into a
# WebAssembly build: its own, and Debian's copyright files of the picture libraries,
# stb_image and emscripten (whose C and C++ runtimes are linked in), as "<source package>
# <version>=<file>" entries. A picture library's version is the one
# scripts/picture-libraries.sh built, the others' the one installed.
function(quillbit_carried_licences variable)
  set(licences "quillbit ${PROJECT_VERSION}=${PROJECT_SOURCE_DIR}/LICENSE")
  file(STRINGS ${QUILLBIT_PICTURE_MANIFEST} picture_builds REGEX "^[^#]")
  foreach(package zlib1g-dev libpng-dev libgif-dev libjpeg62-turbo-dev libtiff-dev libwebp-dev
                  libstb-dev emscripten)
    execute_process(COMMAND dpkg-query -W "-f=\${source:Package} \${Version}" ${package}
                    OUTPUT_VARIABLE installed RESULT_VARIABLE unknown)
    if(unknown)
      message(FATAL_ERROR "${package} is not installed: the WebAssembly build carries its "
                          "licence (scripts/build-web.sh installs it)")
    endif()
    string(REGEX REPLACE " .*" "" source "${installed}")
    foreach(build ${picture_builds})
      if(build MATCHES "^${source} ([^ ]+)")
        set(installed "${source} ${CMAKE_MATCH_1}")
      endif()
    endforeach()
    set(file /usr/share/doc/${package}/copyright)
    if(NOT EXISTS ${file})
      message(FATAL_ERROR "${file} is missing: the WebAssembly build carries it "
                          "(scripts/build-web.sh installs its package)")
    endif()
    list(APPEND licences "${installed}=${file}")
  endforeach()
  set(${variable} "${licences}" PARENT_SCOPE)
endfunction()
