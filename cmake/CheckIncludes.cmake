# Checks that every file under src/ includes only from the layers below it.
#
#   cmake -DSOURCE_DIR=<folder holding src/> -P cmake/CheckIncludes.cmake
#
# Fails naming each file, line and forbidden include. The layers link only
# downward as well, but a header-only use slips past the linker; this does not.
cmake_minimum_required(VERSION 3.25)
cmake_policy(SET CMP0007 NEW)

if(NOT SOURCE_DIR)
  get_filename_component(SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
endif()

# What each folder's files may include with "...": a folder, or one header.
set(core model rules files output platform library)
set(allowed_model model)
set(allowed_rules model rules)
# The one exception: the reader derives caster parameters from the caster tables.
set(allowed_files model files rules/caster_tables.h)
set(allowed_output model rules output)
# Domain-free: the settings file, folders and paths.
set(allowed_platform platform files model)
# A master list and its texts, and where they live; no Qt.
set(allowed_library library platform files model)
set(allowed_platform/qt platform/qt platform files model)
set(allowed_output/qt output/qt output platform/qt platform files model rules)
set(allowed_ui ui library output/qt platform/qt output platform files rules model program_version.h)
set(allowed_cli cli library model rules files output platform program_version.h)
set(allowed_main.cpp ui library output/qt platform/qt output platform files rules model program_version.h)

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cpp")
list(SORT sources)
set(problems "")
foreach(source IN LISTS sources)
  # src/<folder>/x.cpp, src/<folder>/qt/x.cpp or src/main.cpp
  string(REGEX REPLACE "^src/" "" layer "${source}")
  string(REGEX REPLACE "/[^/]+$" "" layer "${layer}")
  if(NOT DEFINED allowed_${layer})
    string(APPEND problems "${source}: no layer for this folder in cmake/CheckIncludes.cmake\n")
    continue()
  endif()
  list(FIND core "${layer}" is_core)

  file(READ "${SOURCE_DIR}/${source}" text)
  # One list element per line; brackets and semicolons would split or join them.
  string(REGEX REPLACE "[][;]" "_" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(is_core GREATER -1 AND line MATCHES "^[ \t]*#[ \t]*include[ \t]*<(Q[^>]*)>")
      string(APPEND problems "${source}:${number}: Qt header <${CMAKE_MATCH_1}> in the core\n")
    elseif(line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\"")
      set(header "${CMAKE_MATCH_1}")
      # The folder of the header: model, output/qt, ...; a bare name stands for itself.
      string(REGEX MATCH "^[^/]+/qt/|^[^/]+/" folder "${header}")
      string(REGEX REPLACE "/$" "" folder "${folder}")
      if(NOT folder)
        set(folder "${header}")
      endif()
      if(NOT folder IN_LIST allowed_${layer} AND NOT header IN_LIST allowed_${layer})
        string(APPEND problems "${source}:${number}: ${layer} may not include \"${header}\"\n")
      endif()
    endif()
  endforeach()
endforeach()

if(problems)
  message(FATAL_ERROR "Includes against the layers (cmake/CheckIncludes.cmake):\n${problems}")
endif()
