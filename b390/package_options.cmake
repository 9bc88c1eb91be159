# Read by cpack for each package: the web page must be there, and the licence
# goes in as Debian's copyright file or as LICENSE.
if(NOT EXISTS "" OR IS_DIRECTORY "")
  message(FATAL_ERROR "The packages carry the web page, which this build was not given: "
                      "run tools/dist.sh, which builds it, or configure with "
                      "-DLOAN_HTML=/path/to/loan.html from the WebAssembly build "
                      "(cmake/wasm.cmake), which needs clang lld wasi-libc "
                      "libc++-14-dev-wasm32 libc++abi-14-dev-wasm32 "
                      "libclang-rt-14-dev-wasm32 nodejs.")
endif()
# One package of the components named here.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_COMPONENTS_ALL Unspecified debian)
else()
  set(CPACK_COMPONENTS_ALL Unspecified license)
  # Unpacked into a folder of its own.
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
endif()
