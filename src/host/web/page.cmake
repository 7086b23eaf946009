# build-web/quillbit.html: the web host, the picture reader and quillbit-check's logic in
# WebAssembly, with the page's own sources and fflate, in one file that makes no request.

# The batch runs in the page's Web Worker; the module is made when the worker starts, its
# WebAssembly inside the script (SINGLE_FILE). Memory grows as pictures need it, up to a
# bound, so a hostile picture ends in quillbit's report instead of the tab's crash.
add_executable(quillbit_web web_bridge.cpp)
target_link_libraries(quillbit_web PRIVATE quillbit_host_web quillbit_warnings)
set(quillbit_web_exports _quillbit_add_name _quillbit_run _quillbit_extensions _quillbit_page_texts _malloc _free)
string(REPLACE ";" "," quillbit_web_exports "${quillbit_web_exports}")
target_link_options(quillbit_web PRIVATE
  -sMODULARIZE=1 -sEXPORT_NAME=QuillbitModule -sSINGLE_FILE=1 -sENVIRONMENT=web,worker
  -sFILESYSTEM=0 -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=16MB -sMAXIMUM_MEMORY=512MB
  -sEXPORTED_FUNCTIONS=${quillbit_web_exports}
  -sEXPORTED_RUNTIME_METHODS=UTF8ToString,stringToUTF8,lengthBytesUTF8)
set_target_properties(quillbit_web PROPERTIES SUFFIX .js
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})

# The page's sources and the one npm module it carries, put together into one file.
set(quillbit_page_sources
  ${CMAKE_CURRENT_SOURCE_DIR}/page/quillbit.html
  ${CMAKE_CURRENT_SOURCE_DIR}/page/quillbit.css
  ${CMAKE_CURRENT_SOURCE_DIR}/page/page.js
  ${CMAKE_CURRENT_SOURCE_DIR}/page/worker.js
  ${PROJECT_SOURCE_DIR}/packaging/quillbit.svg)
set(fflate ${PROJECT_SOURCE_DIR}/node_modules/fflate/umd/index.js)
if(NOT EXISTS ${fflate})
  message(FATAL_ERROR "${fflate} is missing: `npm ci` in ${PROJECT_SOURCE_DIR} installs it "
                      "(scripts/build-web.sh does)")
endif()
# Every licence of what the page holds: fflate's beside those of every WebAssembly build.
file(READ ${PROJECT_SOURCE_DIR}/node_modules/fflate/package.json fflate_package)
string(JSON fflate_version GET "${fflate_package}" version)
include(${PROJECT_SOURCE_DIR}/cmake/CarriedLicences.cmake)
quillbit_carried_licences(quillbit_page_licences)
list(INSERT quillbit_page_licences 1
     "fflate ${fflate_version}=${PROJECT_SOURCE_DIR}/node_modules/fflate/LICENSE")
set(licence_options)
foreach(palette ${QUILLBIT_PALETTE_FILES})
  list(APPEND licence_options --palettes ${palette})
  list(APPEND quillbit_page_sources ${palette})
endforeach()
foreach(entry ${quillbit_page_licences})
  string(REGEX REPLACE "^[^=]*=" "" file "${entry}")
  list(APPEND licence_options --licences "${entry}")
  list(APPEND quillbit_page_sources ${file})
endforeach()
find_program(QUILLBIT_NODE node REQUIRED)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/quillbit.html
  COMMAND ${QUILLBIT_NODE} ${CMAKE_CURRENT_SOURCE_DIR}/assemble_page.mjs
          --out ${CMAKE_BINARY_DIR}/quillbit.html --version ${PROJECT_VERSION}
          --folder ${CMAKE_CURRENT_SOURCE_DIR}/page --icon ${PROJECT_SOURCE_DIR}/packaging/quillbit.svg
          --fflate ${fflate} --module $<TARGET_FILE:quillbit_web> ${licence_options}
  DEPENDS quillbit_web ${quillbit_page_sources} ${fflate}
          ${CMAKE_CURRENT_SOURCE_DIR}/assemble_page.mjs
  COMMENT "Putting the page together: quillbit.html"
  VERBATIM)
add_custom_target(quillbit_page ALL DEPENDS ${CMAKE_BINARY_DIR}/quillbit.html)
add_dependencies(quillbit_page quillbit_palettes)  # made in src/palette/
