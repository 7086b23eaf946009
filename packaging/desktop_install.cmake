# Everything besides the program folder: links in bin/, launcher, icon, manual, README.

# Relative links, so that an installed tree still works when unpacked under another root
# (dpkg -x, a staging folder) and the programs still find their companion in their real folder.
set(quillbit_link_folder ${CMAKE_BINARY_DIR}/packaging/bin-links)
file(MAKE_DIRECTORY ${quillbit_link_folder})
foreach(program quillbit quillbitw quillbit-check)
  file(RELATIVE_PATH link_target /${CMAKE_INSTALL_BINDIR} /${QUILLBIT_PROGRAM_DIR}/${program})
  file(CREATE_LINK ${link_target} ${quillbit_link_folder}/${program} SYMBOLIC)
  install(FILES ${quillbit_link_folder}/${program} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

install(FILES ${CMAKE_CURRENT_LIST_DIR}/quillbit.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/quillbit.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Debian wants manual pages compressed with gzip -9n (no name or time stamp inside), and
# one page for both programs, quillbitw's being a link to quillbit's.
find_program(QUILLBIT_GZIP gzip)
if(NOT QUILLBIT_GZIP)
  message(FATAL_ERROR "gzip is needed to compress the manual page")
endif()
set(quillbit_man_folder ${CMAKE_BINARY_DIR}/packaging/man1)
add_custom_command(
  OUTPUT ${quillbit_man_folder}/quillbit.1.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${quillbit_man_folder}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/quillbit.1 ${quillbit_man_folder}/
  COMMAND ${QUILLBIT_GZIP} -9nf ${quillbit_man_folder}/quillbit.1
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/quillbit.1
  COMMENT "Compressing the manual page"
  VERBATIM)
add_custom_target(quillbit_manual ALL DEPENDS ${quillbit_man_folder}/quillbit.1.gz)
file(CREATE_LINK quillbit.1.gz ${quillbit_link_folder}/quillbitw.1.gz SYMBOLIC)
install(FILES ${quillbit_man_folder}/quillbit.1.gz ${quillbit_link_folder}/quillbitw.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
add_custom_command(
  OUTPUT ${quillbit_man_folder}/quillbit-check.1.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${quillbit_man_folder}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/quillbit-check.1 ${quillbit_man_folder}/
  COMMAND ${QUILLBIT_GZIP} -9nf ${quillbit_man_folder}/quillbit-check.1
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/quillbit-check.1
  COMMENT "Compressing the manual page of quillbit-check"
  VERBATIM)
add_custom_target(quillbit_check_manual ALL DEPENDS ${quillbit_man_folder}/quillbit-check.1.gz)
install(FILES ${quillbit_man_folder}/quillbit-check.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
