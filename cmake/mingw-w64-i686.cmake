# Cross-builds for 32-bit Windows, the program's home, with Debian's mingw-w64 (POSIX threads).
set(BREVANE_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
