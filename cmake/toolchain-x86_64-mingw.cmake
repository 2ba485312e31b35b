# Cross-compiles for 64-bit Windows (x64) with mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain-common.cmake)
