# Shared by the mingw-w64 toolchain files, which set MINGW_TRIPLET and
# MINGW_WINE: a Windows console program that needs no DLL beside it, built
# with Debian's mingw-w64 compilers and tested under Wine.
set(CMAKE_SYSTEM_NAME Windows)

# The POSIX-threads variant: GoogleTest needs std::mutex.
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own runtime linked in: the program needs only the system's
# C runtime DLL that every Windows has. No link time in the PE header, so
# that the same source links to the same bytes.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp")

# Test programs run under Wine.
if(EXISTS ${MINGW_WINE})
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MINGW_WINE})
endif()
