# The three libraries and what each holds, shared by the build (CMakeLists.txt) and the include
# check (CheckIncludes.cmake), so that both draw the boundaries in the same place.
#
# KvCore: the platform units that know nothing of screens: a unit is its header, its source and
# the topic files of its source (Classes_Filer.cpp). KvVcl: the rest of platform/, with the Qt
# backend and the SQLite dataset as private folders. KvKit: the kit's folders.
set(KV_CORE_UNIT_REGEX "^platform/(System|SysUtils|Consts|TypInfo|Classes|Types)(_[A-Za-z0-9]+)?\\.(h|cpp)$")
set(KV_VCL_PRIVATE_DIRS platform/qt platform/sqlite)
set(KV_KIT_DIRS designer frontend reader palette inspector)
