# WebAssembly (wasm32-wasi) with Debian's clang 14, wasi-libc and libc++:
# the program for the web page, run there under a small WASI layer of its own.
# Packages: clang lld wasi-libc libc++-14-dev-wasm32 libc++abi-14-dev-wasm32
# libclang-rt-14-dev-wasm32.
set(CMAKE_SYSTEM_NAME WASI)
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
set(CMAKE_SYSROOT /usr)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

# No exceptions in WASI's libc++; signal() through wasi-libc's emulation
# (the program only ignores SIGPIPE and SIGXFSZ, which WASI never raises).
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions -D_WASI_EMULATED_SIGNAL")
# A stack of 1 MiB, placed first so that an overflow traps instead of
# overwriting data; the schedules keep a 64 KiB block on it.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-lwasi-emulated-signal -Wl,--stack-first -Wl,-z,stack-size=1048576 -Wl,--strip-all")

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
