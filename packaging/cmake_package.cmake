# quillbit's CMake package, for find_package(quillbit) and quillbit_add_sprites(): in the
# quillbit package (component `terminal`) and in `cmake --install` under any prefix. It
# finds the programs from its own place, so the same files serve every prefix.
include(CMakePackageConfigHelpers)
set(quillbit_package_folder ${CMAKE_INSTALL_LIBDIR}/cmake/quillbit)
set(quillbit_package_build ${CMAKE_BINARY_DIR}/packaging/cmake)
configure_package_config_file(
  ${CMAKE_CURRENT_LIST_DIR}/cmake/quillbit-config.cmake.in
  ${quillbit_package_build}/quillbit-config.cmake
  INSTALL_DESTINATION ${quillbit_package_folder}
  PATH_VARS QUILLBIT_PROGRAM_DIR)
# The header format changes only with the major version. The package holds programs to
# run, not libraries to link, so a 32-bit project may use a 64-bit quillbit.
write_basic_package_version_file(
  ${quillbit_package_build}/quillbit-config-version.cmake
  COMPATIBILITY SameMajorVersion ARCH_INDEPENDENT)
install(FILES ${quillbit_package_build}/quillbit-config.cmake
              ${quillbit_package_build}/quillbit-config-version.cmake
              ${CMAKE_CURRENT_LIST_DIR}/cmake/quillbit-sprites.cmake
        DESTINATION ${quillbit_package_folder} COMPONENT terminal)
