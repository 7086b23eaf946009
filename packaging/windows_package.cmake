# `make package-windows`: from one staged install, quillbit-<version>-win64.zip, unpacking
# into a folder of its own, and quillbit-<version>-win64-setup.exe, the installer that makes
# the desktop icon, the Start menu and "Send to" entries and an uninstaller
# (windows/quillbit.nsi, built by windows/nsis_installer.cmake with NSIS's makensis).

# Notepad on older Windows shows a text without CR LF as one long line.
configure_file(${CMAKE_CURRENT_LIST_DIR}/HOW-TO-USE.txt.in
               ${CMAKE_BINARY_DIR}/packaging/HOW-TO-USE.txt @ONLY NEWLINE_STYLE CRLF)
# The licence, and the notices of the libraries linked into the programs: whoever adds a
# library to the Windows build adds its notice to windows/THIRD-PARTY-NOTICES.txt.
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/packaging/LICENSE.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_CURRENT_LIST_DIR}/windows/THIRD-PARTY-NOTICES.txt
               ${CMAKE_BINARY_DIR}/packaging/THIRD-PARTY-NOTICES.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/packaging/HOW-TO-USE.txt ${CMAKE_BINARY_DIR}/packaging/LICENSE.txt
              ${CMAKE_BINARY_DIR}/packaging/THIRD-PARTY-NOTICES.txt
        DESTINATION ${QUILLBIT_PROGRAM_DIR})
install(FILES ${QUILLBIT_WEB_PAGE} DESTINATION ${QUILLBIT_PROGRAM_DIR} OPTIONAL)

find_program(QUILLBIT_MAKENSIS makensis PATHS "$ENV{ProgramFiles}/NSIS" "$ENV{ProgramFiles\(x86\)}/NSIS")
set(CPACK_GENERATOR ZIP)
if(QUILLBIT_MAKENSIS)
  list(APPEND CPACK_GENERATOR NSIS)
elseif(CMAKE_CROSSCOMPILING)
  message(FATAL_ERROR "makensis is needed for the installer: install Debian's nsis "
                      "(scripts/install-deps.sh nsis)")
else()
  message(STATUS "makensis not found (NSIS): the package is only the zip")
endif()
set(CPACK_PACKAGE_NAME quillbit)
set(CPACK_PACKAGE_VENDOR "the quillbit developers")
set(CPACK_PACKAGE_FILE_NAME quillbit-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_MONOLITHIC_INSTALL ON)  # both packages hold everything; components split only the .debs

# The installer: our own script (windows/NSIS.template.in) in place of CPack's, which
# installs for all users only; each generator names its own file (windows/cpack_names.cmake).
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/windows)
set(CPACK_NSIS_EXECUTABLE ${QUILLBIT_MAKENSIS})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/windows/cpack_names.cmake)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/src/host/windows/quillbit.ico)
set(CPACK_NSIS_MUI_UNIICON ${CPACK_NSIS_MUI_ICON})

include(CPack)
