# The include check on small trees of its own: one that keeps to the boundaries passes, and in one
# that crosses them every crossing is named. Run as a test:
#   cmake -DKV_WORK_DIR=<scratch folder> -P cmake/CheckIncludesTest.cmake
cmake_minimum_required(VERSION 3.20)

# Writes the files of a tree given as pairs: path, then its lines ("|" between them; "//" for none:
# an empty argument would be lost).
function(kv_tree root)
  file(REMOVE_RECURSE "${root}")
  set(files ${ARGN})
  while(files)
    list(POP_FRONT files path includes)
    string(REPLACE "|" "\n" includes "${includes}")
    file(WRITE "${root}/${path}" "${includes}\n")
  endwhile()
endfunction()

function(kv_run_check root out_status out_text)
  execute_process(
    COMMAND ${CMAKE_COMMAND} "-DKV_SOURCE_DIR=${root}" -P "${CMAKE_CURRENT_LIST_DIR}/CheckIncludes.cmake"
    RESULT_VARIABLE status OUTPUT_VARIABLE text ERROR_VARIABLE text)
  set(${out_status} "${status}" PARENT_SCOPE)
  set(${out_text} "${text}" PARENT_SCOPE)
endfunction()

set(good "${KV_WORK_DIR}/good")
kv_tree("${good}"
  platform/Classes.h "#include \"SysUtils.h\"|#include <string>"
  platform/SysUtils.h "//"
  platform/Forms.h "#include \"Classes.h\""
  platform/Forms.cpp "#include \"Forms.h\"|#include \"qt/QtWidgets.h\""
  platform/qt/QtWidgets.h "#include <QWidget>|#include \"../Classes.h\""
  platform/sqlite/SqliteDb.h "#include <sqlite3.h>"
  designer/KvDsgn.h "#include \"Forms.h\"|#include \"platform/Classes.h\"|#include \"KvClass.h\""
  palette/KvClass.h "//"
  frontend/KvFrmDsg.h "#include \"KvDsgn.h\"|#include \"KvObjIns.h\""
  inspector/KvObjIns.h "#include \"KvDsgn.h\""
  tests/platform/MenusTests.cpp "#include \"qt/QtWidgets.h\"|#include <QPainter>"
  bench/ControlsBench.cpp "#include <QWidget>")
kv_run_check("${good}" status text)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "a tree within the boundaries failed the check:\n${text}")
endif()

set(bad "${KV_WORK_DIR}/bad")
kv_tree("${bad}"
  platform/Classes.h "#include \"Forms.h\""
  platform/Forms.h "#include \"qt/QtWidgets.h\""
  platform/Menus.cpp "#include <QMenu>|#include \"KvDsgn.h\""
  platform/qt/QtWidgets.h "//"
  designer/KvDsgn.h "//"
  frontend/KvFrmDsg.h "//"
  inspector/KvObjIns.h "#include \"KvFrmDsg.h\""
  palette/KvClass.h "#include \"KvDsgn.h\""
  reader/KvReader.h "#include \"../palette/KvClass.h\""
  designer/KvDsgn_Insert.cpp "#include \"inspector/KvObjIns.h\"|#include <QPainter>"
  tools/kvform/Render.cpp "#include \"qt/QtWidgets.h\""
  tests/designer/KvDsgnMouseTests.cpp "#include \"../../platform/qt/QtWidgets.h\"")
kv_run_check("${bad}" status text)
set(expected
  "platform/Classes.h: #include \"Forms.h\": KvCore includes only KvCore"
  "platform/Forms.h: #include \"qt/QtWidgets.h\": public headers of KvVcl stay free of the backend"
  "platform/Menus.cpp: #include <QMenu>: only platform/qt and platform/sqlite use Qt and SQLite"
  "platform/Menus.cpp: #include \"KvDsgn.h\": KvVcl does not know the kit"
  "inspector/KvObjIns.h: #include \"KvFrmDsg.h\": the inspector does not include the designer window"
  "palette/KvClass.h: #include \"KvDsgn.h\": the palette is below the engine"
  "reader/KvReader.h: #include \"../palette/KvClass.h\": the form stream reader knows only"
  "designer/KvDsgn_Insert.cpp: #include \"inspector/KvObjIns.h\": the engine does not include"
  "designer/KvDsgn_Insert.cpp: #include <QPainter>: Qt and SQLite are reached through"
  "tools/kvform/Render.cpp: #include \"qt/QtWidgets.h\": platform/qt and platform/sqlite are private"
  "tests/designer/KvDsgnMouseTests.cpp: #include \"../../platform/qt/QtWidgets.h\": platform/qt")
list(LENGTH expected n)
if(status EQUAL 0 OR NOT text MATCHES "${n} include\\(s\\) across a boundary")
  message(FATAL_ERROR "expected ${n} crossings, the check said:\n${text}")
endif()
foreach(line IN LISTS expected)
  string(FIND "${text}" "${line}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the check did not name: ${line}\nit said:\n${text}")
  endif()
endforeach()

message(STATUS "the include check passes a tree within the boundaries and names every crossing")
