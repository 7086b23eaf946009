# `make package-windows`: quillbit-<version>-win64.zip, unpacking into a folder of its own
# that holds both programs, the companion and a short text on how to use them.

# Notepad on older Windows shows a text without CR LF as one long line.
configure_file(${CMAKE_CURRENT_LIST_DIR}/HOW-TO-USE.txt.in
               ${CMAKE_BINARY_DIR}/packaging/HOW-TO-USE.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/packaging/HOW-TO-USE.txt DESTINATION ${QUILLBIT_PROGRAM_DIR})

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME quillbit)
set(CPACK_PACKAGE_VENDOR "quillbit maintainers")
set(CPACK_PACKAGE_FILE_NAME quillbit-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)

include(CPack)
