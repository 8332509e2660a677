# Writes, one per line, the commands that check every translation unit of a build's
# compile_commands.json for syntax and warnings only, with another compiler (clang++) and the
# given extra flags. The precompiled header of the tests is the first compiler's own format,
# so it is left out: each test source includes what it needs.
#   cmake -DDATABASE=<build>/compile_commands.json -DCOMPILER=clang++ "-DFLAGS=-Werror;-Wshadow"
#         -DOUTPUT=<file> -P SyntaxPass.cmake
file(READ "${DATABASE}" db)
string(JSON count LENGTH "${db}")
math(EXPR last "${count} - 1")
list(JOIN FLAGS " " extra)
set(lines "")
foreach(i RANGE ${last})
  string(JSON dir GET "${db}" ${i} directory)
  string(JSON command GET "${db}" ${i} command)
  string(FIND "${command}" " " space)  # (REGEX REPLACE would apply a "^" at every match)
  string(SUBSTRING "${command}" ${space} -1 command)
  set(command "${COMPILER}${command}")
  string(REGEX REPLACE " -o [^ ]+" " -fsyntax-only" command "${command}")
  string(REGEX REPLACE " -include [^ ]*cmake_pch\\.hxx" "" command "${command}")
  string(REPLACE " -Winvalid-pch" "" command "${command}")
  string(REGEX REPLACE " -M[DT]? [^ ]+| -MF [^ ]+| -MD" "" command "${command}")
  string(APPEND lines "cd \"${dir}\" && ${command} ${extra}\n")
endforeach()
file(WRITE "${OUTPUT}" "${lines}")
