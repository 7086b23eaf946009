# Everything besides the program folder, for each of the two Debian packages (components):
# `terminal` is the quillbit package, `desktop` quillbit-desktop. Both also suit
# `cmake --install` under any prefix.

# Relative links in bin/, so that an installed tree still works when unpacked under another
# root (dpkg -x, a staging folder) and the programs still find their companion in their real
# folder.
set(quillbit_link_folder ${CMAKE_BINARY_DIR}/packaging/links)
file(MAKE_DIRECTORY ${quillbit_link_folder})
function(quillbit_install_program_link program component)
  file(RELATIVE_PATH target /${CMAKE_INSTALL_BINDIR} /${QUILLBIT_PROGRAM_DIR}/${program})
  file(CREATE_LINK ${target} ${quillbit_link_folder}/${program} SYMBOLIC)
  install(FILES ${quillbit_link_folder}/${program} DESTINATION ${CMAKE_INSTALL_BINDIR}
          COMPONENT ${component})
endfunction()

# Debian wants manual pages and changelogs compressed with gzip -9n (no name or time stamp
# inside, so that every build gives the same bytes).
find_program(QUILLBIT_GZIP gzip)
if(NOT QUILLBIT_GZIP)
  message(FATAL_ERROR "gzip is needed to compress the manual pages and changelogs")
endif()
set(quillbit_gzip_folder ${CMAKE_BINARY_DIR}/packaging/gz)
add_custom_target(quillbit_compressed ALL)
# Installs SOURCE compressed as NAME.gz into DESTINATION, in the package of COMPONENT.
function(quillbit_install_compressed source name destination component)
  set(uncompressed ${quillbit_gzip_folder}/${component}/${name})
  set(compressed ${uncompressed}.gz)
  add_custom_command(
    OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${uncompressed}
    COMMAND ${QUILLBIT_GZIP} -9nf ${uncompressed}
    DEPENDS ${source}
    COMMENT "Compressing ${name}"
    VERBATIM)
  string(MAKE_C_IDENTIFIER "quillbit_gz_${component}_${name}" target)
  add_custom_target(${target} DEPENDS ${compressed})
  add_dependencies(quillbit_compressed ${target})
  install(FILES ${compressed} DESTINATION ${destination} COMPONENT ${component})
endfunction()

# The quillbit package: the terminal programs, their manual pages (quillbit's serves
# quillbitw too) and the README. Install rules without a COMPONENT land in it.
foreach(program quillbit quillbit-check)
  quillbit_install_program_link(${program} terminal)
  quillbit_install_compressed(${CMAKE_CURRENT_LIST_DIR}/${program}.1 ${program}.1
                              ${CMAKE_INSTALL_MANDIR}/man1 terminal)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR}
        COMPONENT terminal)
# The browser page, from `make web` (which `make package` runs first); any browser opens it.
install(FILES ${QUILLBIT_WEB_PAGE} DESTINATION ${CMAKE_INSTALL_DATADIR}/quillbit COMPONENT terminal
        OPTIONAL)

# The quillbit-desktop package: quillbitw (beside quillbit, whose companion it uses), its
# launcher, icon, software-centre entry, and its name for the shared manual page.
quillbit_install_program_link(quillbitw desktop)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/quillbit.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT desktop)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/quillbit.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT desktop)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/org.example.quillbit.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT desktop)
file(CREATE_LINK quillbit.1.gz ${quillbit_link_folder}/quillbitw.1.gz SYMBOLIC)
install(FILES ${quillbit_link_folder}/quillbitw.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
        COMPONENT desktop)

# Each package's licence (machine-readable) and changelog, in its own documentation folder.
foreach(component_package terminal:quillbit desktop:quillbit-desktop)
  string(REPLACE ":" ";" pair ${component_package})
  list(GET pair 0 component)
  list(GET pair 1 package)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
  quillbit_install_compressed(${CMAKE_CURRENT_LIST_DIR}/debian/changelog changelog
                              ${CMAKE_INSTALL_DATADIR}/doc/${package} ${component})
endforeach()
