# quillbit_add_sprites(<target> <picture>...)
#
# Converts pictures into C headers at build time, in the build tree, for <target> (a
# program or library this project compiles). A picture is named relative to the current
# source folder, or absolute; one made during the build may lie in the current build
# folder instead. It is copied, under the same relative path, into
#
#   <current build folder>/quillbit_sprites/<target>/       sprites/ship.png
#
# and converted there by quillbit::quillbit into sprites/ship.h (the picture's path less
# its last three characters, plus "h": ship.jpeg gives ship.jh, grün gives gh). That folder goes onto
# the target's include path, so a source writes #include "sprites/ship.h": pictures of one
# name in different folders stay apart as they are in the source tree. Two pictures that
# would write one file (ship.png and ship.gif side by side) stop the configuration.
#
# Every picture has a rule of its own, so only changed pictures are converted again, and
# a bad one fails the build with quillbit's own message naming it as it was named here.
# Blitview.h is copied from beside the program into that folder and into every folder of
# a picture before quillbit runs there: quillbit then leaves it as it is, and runs in
# parallel never race to copy it.

# Commands defined here keep these policies wherever they are called from.
cmake_policy(PUSH)
cmake_policy(VERSION 3.16...3.25)

function(quillbit_add_sprites target)
  _quillbit_sprite_target("${target}")
  if(ARGC LESS 2)
    message(FATAL_ERROR "quillbit_add_sprites(${target}): no pictures named")
  endif()
  set(root "${CMAKE_CURRENT_BINARY_DIR}/quillbit_sprites/${target}")
  _quillbit_place_companion("${target}" "${root}" "${root}")
  set(headers "")
  foreach(picture IN LISTS ARGN)
    _quillbit_convert_sprite("${target}" "${root}" "${picture}" header)
    list(APPEND headers "${header}")
  endforeach()
  _quillbit_attach_sprites("${target}" "${root}" "${headers}")
endfunction()

function(_quillbit_sprite_target target)
  if(NOT TARGET "${target}")
    message(FATAL_ERROR "quillbit_add_sprites: there is no target \"${target}\"")
  endif()
  get_target_property(type "${target}" TYPE)
  get_target_property(imported "${target}" IMPORTED)
  get_target_property(aliased "${target}" ALIASED_TARGET)
  set(compiled EXECUTABLE STATIC_LIBRARY SHARED_LIBRARY MODULE_LIBRARY OBJECT_LIBRARY)
  if(imported OR aliased OR NOT type IN_LIST compiled)
    message(FATAL_ERROR "quillbit_add_sprites(${target}): sprites go to a program or "
                        "library this project compiles, and ${target} is none")
  endif()
endfunction()

# One rule a picture: copy it into the build tree, convert it there.
function(_quillbit_convert_sprite target root picture header_var)
  _quillbit_sprite_place("${target}" "${picture}" source relative)
  _quillbit_header_name("${target}" "${relative}" header)
  get_filename_component(folder "${root}/${relative}" DIRECTORY)
  # A picture named like quillbit's options (--help) is still a picture as ./--help.
  set(argument "${relative}")
  if(relative MATCHES "^-")
    set(argument "./${relative}")
  endif()
  _quillbit_place_companion("${target}" "${root}" "${folder}")
  _quillbit_claim("${target}" "${root}" "${relative}" "${relative}")
  _quillbit_claim("${target}" "${root}" "${header}" "${relative}")
  # The top folder's Blitview.h also makes the folder quillbit runs in.
  set(depends "${source}" "$<TARGET_FILE:quillbit::quillbit>" "${root}/Blitview.h"
              "${folder}/Blitview.h")
  list(REMOVE_DUPLICATES depends)
  add_custom_command(
    OUTPUT "${root}/${header}"
    BYPRODUCTS "${root}/${relative}"
    COMMAND "${CMAKE_COMMAND}" -E copy "${source}" "${root}/${relative}"
    COMMAND quillbit::quillbit "${argument}"
    WORKING_DIRECTORY "${root}"
    DEPENDS ${depends}
    COMMENT "Converting sprite ${relative}"
    VERBATIM)
  set(${header_var} "${root}/${header}" PARENT_SCOPE)
endfunction()

# The picture's full path and its path below the source (or build) folder, which it
# keeps in the build tree.
function(_quillbit_sprite_place target picture source_var relative_var)
  get_filename_component(source "${picture}" ABSOLUTE)
  foreach(base IN ITEMS "${CMAKE_CURRENT_SOURCE_DIR}" "${CMAKE_CURRENT_BINARY_DIR}")
    file(RELATIVE_PATH relative "${base}" "${source}")
    if(NOT relative MATCHES "^\\.\\.(/|$)" AND NOT IS_ABSOLUTE "${relative}")
      if(relative MATCHES "\"")
        message(FATAL_ERROR "quillbit_add_sprites(${target}): quillbit cannot take the "
                            "picture ${relative}, whose name holds a double quote")
      endif()
      set(${source_var} "${source}" PARENT_SCOPE)
      set(${relative_var} "${relative}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  message(FATAL_ERROR "quillbit_add_sprites(${target}): the picture ${source} lies outside "
                      "${CMAKE_CURRENT_SOURCE_DIR} and ${CMAKE_CURRENT_BINARY_DIR}; name it "
                      "in a CMakeLists.txt whose folder holds it")
endfunction()

# The header's name as quillbit forms it: the picture's path less its last three
# characters, plus "h". CMake counts bytes, quillbit UTF-8 characters: a character is a
# byte that does not continue one (0x80 to 0xBF) and the bytes that continue it.
function(_quillbit_header_name target relative header_var)
  string(ASCII 128 first_continuing)
  string(ASCII 191 last_continuing)
  set(continuing "${first_continuing}-${last_continuing}")
  get_filename_component(name "${relative}" NAME)
  string(REGEX REPLACE "[${continuing}]" "" name_characters "${name}")
  string(LENGTH "${name_characters}" name_length)
  if(name_length LESS 3)
    message(FATAL_ERROR "quillbit_add_sprites(${target}): the picture name \"${name}\" is "
                        "too short: its header is named after it less three characters")
  endif()
  set(stem "${relative}")
  foreach(character RANGE 1 3)
    string(REGEX REPLACE "[^${continuing}][${continuing}]*$" "" stem "${stem}")
  endforeach()
  set(${header_var} "${stem}h" PARENT_SCOPE)
endfunction()

# Blitview.h in a folder before quillbit runs there, from beside the program.
function(_quillbit_place_companion target root folder)
  set(companion "${folder}/Blitview.h")
  get_property(claimed TARGET "${target}" PROPERTY QUILLBIT_SPRITE_FILES)
  if(companion IN_LIST claimed)
    return()
  endif()
  file(RELATIVE_PATH place "${root}" "${companion}")
  _quillbit_claim("${target}" "${root}" "${place}" "the companion header")
  add_custom_command(
    OUTPUT "${companion}"
    COMMAND "${CMAKE_COMMAND}" -E copy "$<TARGET_FILE_DIR:quillbit::quillbit>/Blitview.h"
            "${companion}"
    DEPENDS "$<TARGET_FILE_DIR:quillbit::quillbit>/Blitview.h"
    COMMENT "Placing quillbit_sprites/${target}/${place}"
    VERBATIM)
endfunction()

# Each file of the sprite folder has one maker; a second one stops the configuration.
function(_quillbit_claim target root file maker)
  get_property(claimed TARGET "${target}" PROPERTY QUILLBIT_SPRITE_FILES)
  get_property(makers TARGET "${target}" PROPERTY QUILLBIT_SPRITE_MAKERS)
  list(FIND claimed "${root}/${file}" at)
  if(at GREATER -1)
    list(GET makers ${at} other)
    if(other STREQUAL maker)
      message(FATAL_ERROR "quillbit_add_sprites(${target}): ${maker} is named twice")
    endif()
    message(FATAL_ERROR "quillbit_add_sprites(${target}): ${other} and ${maker} would both "
                        "make ${file}; rename one of them")
  endif()
  set_property(TARGET "${target}" APPEND PROPERTY QUILLBIT_SPRITE_FILES "${root}/${file}")
  set_property(TARGET "${target}" APPEND PROPERTY QUILLBIT_SPRITE_MAKERS "${maker}")
endfunction()

# A target per call, <target>_sprites (then _sprites_2, ...), built before <target>; each
# waits for the one before, as they share the companion's rules.
function(_quillbit_attach_sprites target root headers)
  set(name "${target}_sprites")
  set(count 1)
  while(TARGET "${name}")
    math(EXPR count "${count} + 1")
    set(name "${target}_sprites_${count}")
  endwhile()
  add_custom_target("${name}" DEPENDS ${headers})
  get_property(previous TARGET "${target}" PROPERTY QUILLBIT_SPRITE_TARGET)
  if(previous)
    add_dependencies("${name}" "${previous}")
  endif()
  set_property(TARGET "${target}" PROPERTY QUILLBIT_SPRITE_TARGET "${name}")
  add_dependencies("${target}" "${name}")
  target_include_directories("${target}" PRIVATE "${root}")
endfunction()

cmake_policy(POP)
