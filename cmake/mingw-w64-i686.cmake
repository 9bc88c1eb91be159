# 32-bit Windows (the program's target): Debian's g++-mingw-w64-i686, run
# under 32-bit Wine (wine32). CMakeLists.txt adds the SSE2 arithmetic it needs.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLET i686-w64-mingw32)
set(MINGW_WINE /usr/lib/wine/wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
