# 64-bit Windows: Debian's g++-mingw-w64-x86-64, run under wine64. The same
# program and tests as the 32-bit build, for machines that cannot run 32-bit
# programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLET x86_64-w64-mingw32)
set(MINGW_WINE /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
