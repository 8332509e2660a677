# Fails when a source file includes across a boundary it may not cross. Run as a test:
#   cmake -DKV_SOURCE_DIR=<source root> -P cmake/CheckIncludes.cmake
#
# Every file of the tree gets a layer from its folder (see KvLayers.cmake), and every
# #include "..." is resolved as the compiler would (the including file's folder first, then the
# include roots), so an include is judged by the file it reaches, however it is spelled.
cmake_minimum_required(VERSION 3.20)
include("${CMAKE_CURRENT_LIST_DIR}/KvLayers.cmake")

if(NOT KV_SOURCE_DIR)
  message(FATAL_ERROR "CheckIncludes.cmake: pass -DKV_SOURCE_DIR=<source root>")
endif()

# Crossings from the engine up to its designer component and inspector that are still being
# removed. Each entry is "<including file>><included file>"; an entry that no longer occurs fails
# the check too, so the list can only shrink.
set(KV_ALLOWED_CROSSINGS
  "designer/KvDsgn.cpp>frontend/KvFrmDsg.h"
  "designer/KvDsgn.cpp>inspector/KvObjIns.h"
  "designer/KvDsgn_Align.cpp>frontend/KvAlign.h"
  "designer/KvDsgn_Align.cpp>frontend/KvSize.h"
  "designer/KvDsgn_Mouse.cpp>frontend/KvFrmDsg.h"
)

# The layer of a file given by its path relative to the source root.
function(kv_layer rel out)
  string(REGEX MATCH "^[^/]+" top "${rel}")
  if(rel MATCHES "${KV_CORE_UNIT_REGEX}")
    set(layer core)
  elseif(rel MATCHES "^platform/qt/")
    set(layer qt)
  elseif(rel MATCHES "^platform/sqlite/")
    set(layer sqlite)
  elseif(rel MATCHES "^platform/[^/]+$")
    set(layer vcl)
  elseif(top IN_LIST KV_KIT_DIRS)
    set(layer "kit:${top}")
  elseif(rel MATCHES "^tests/platform/")
    set(layer vcltests)
  else()
    set(layer "${top}")
  endif()
  set(${out} "${layer}" PARENT_SCOPE)
endfunction()

# Why <from> may not include a file of layer <to>; empty when it may.
function(kv_forbidden from to header out)
  set(why "")
  set(backend qt sqlite qtlib sqlitelib)
  if(from STREQUAL "core" AND NOT to STREQUAL "core")
    set(why "KvCore includes only KvCore")
  elseif(from STREQUAL "vcl" AND header AND to IN_LIST backend)
    set(why "public headers of KvVcl stay free of the backend")
  elseif(from MATCHES "^(vcl|qt|sqlite)$" AND to MATCHES "^kit:")
    set(why "KvVcl does not know the kit")
  elseif(from STREQUAL "vcl" AND to MATCHES "lib$")
    set(why "only platform/qt and platform/sqlite use Qt and SQLite")
  elseif(from MATCHES "^kit:|^(tools|tests|demo|fuzz|bench)$" AND to MATCHES "^(qt|sqlite)$")
    set(why "platform/qt and platform/sqlite are private to KvVcl")
  elseif(from MATCHES "^kit:|^(tools|tests|demo|fuzz)$" AND to MATCHES "lib$")
    set(why "Qt and SQLite are reached through the library's own units")
  elseif(from STREQUAL "kit:designer" AND to MATCHES "^kit:(frontend|inspector)$")
    set(why "the engine does not include its designer component or inspector")
  endif()
  set(${out} "${why}" PARENT_SCOPE)
endfunction()

set(roots "${KV_SOURCE_DIR}" "${KV_SOURCE_DIR}/platform")
foreach(dir IN LISTS KV_KIT_DIRS)
  list(APPEND roots "${KV_SOURCE_DIR}/${dir}")
endforeach()

set(files "")
foreach(dir platform ${KV_KIT_DIRS} tools tests bench demo fuzz)
  file(GLOB_RECURSE found "${KV_SOURCE_DIR}/${dir}/*.h" "${KV_SOURCE_DIR}/${dir}/*.cpp")
  list(APPEND files ${found})
endforeach()

set(violations "")
set(crossings_seen "")
foreach(file IN LISTS files)
  file(RELATIVE_PATH rel "${KV_SOURCE_DIR}" "${file}")
  kv_layer("${rel}" from)
  set(header FALSE)
  if(rel MATCHES "\\.h$")
    set(header TRUE)
  endif()
  get_filename_component(here "${file}" DIRECTORY)
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS lines)
    string(REGEX MATCH "[<\"]([^>\"]+)[>\"]" _ "${line}")
    set(name "${CMAKE_MATCH_1}")
    set(target "")
    set(to "")
    if(line MATCHES "<")
      if(name MATCHES "^Q[A-Za-z]*(/|$)")
        set(to qtlib)
      elseif(name STREQUAL "sqlite3.h")
        set(to sqlitelib)
      endif()
    else()
      foreach(root IN ITEMS "${here}" ${roots})
        if(EXISTS "${root}/${name}")
          cmake_path(SET target NORMALIZE "${root}/${name}")
          break()
        endif()
      endforeach()
      if(target)
        file(RELATIVE_PATH target "${KV_SOURCE_DIR}" "${target}")
        kv_layer("${target}" to)
      endif()
    endif()
    if(NOT to)
      continue()  # the standard library, gtest, generated files
    endif()
    kv_forbidden("${from}" "${to}" "${header}" why)
    if(why AND target AND "${rel}>${target}" IN_LIST KV_ALLOWED_CROSSINGS)
      list(APPEND crossings_seen "${rel}>${target}")
    elseif(why)
      string(STRIP "${line}" line)
      list(APPEND violations "${rel}: ${line}: ${why}")
    endif()
  endforeach()
endforeach()

foreach(entry IN LISTS KV_ALLOWED_CROSSINGS)
  if(NOT entry IN_LIST crossings_seen)
    list(APPEND violations "KV_ALLOWED_CROSSINGS: ${entry} no longer occurs: remove it from the list")
  endif()
endforeach()

list(LENGTH files nfiles)
if(violations)
  list(LENGTH violations n)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "${n} include(s) across a boundary:\n  ${text}")
endif()
message(STATUS "includes of ${nfiles} files keep to the boundaries")
