# Read by CPack for each generator: the installer is quillbit-<version>-win64-setup.exe,
# next to quillbit-<version>-win64.zip.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()
