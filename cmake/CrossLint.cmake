# quillbit_cross_lint(NAME): the C++ of src/ that only this cross build compiles (the Windows
# host, the page's bridge, the statically linked libraries' table) under .clang-tidy with this
# target's flags. The files the Linux build compiles too are checked there, by
# source_clean_under_clang_tidy.
function(quillbit_cross_lint name)
  find_program(QUILLBIT_CLANG_TIDY clang-tidy)
  if(NOT QUILLBIT_CLANG_TIDY)
    return()
  endif()
  set(skip)
  if(EXISTS "${QUILLBIT_LINUX_PROGRAM}")
    get_filename_component(skip "${QUILLBIT_LINUX_PROGRAM}" DIRECTORY)
  endif()
  add_test(NAME ${name} COMMAND sh ${PROJECT_SOURCE_DIR}/scripts/lint-cpp.sh ${CMAKE_BINARY_DIR} ${skip})
  set_tests_properties(${name} PROPERTIES TIMEOUT 1200)
endfunction()
