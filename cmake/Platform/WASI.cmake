# WASI, for the WebAssembly build (cmake/wasm.cmake): programs end in .wasm.
set(CMAKE_EXECUTABLE_SUFFIX .wasm)
