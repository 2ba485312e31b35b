# Cross-compiles for 32-bit Windows (x86) with mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain-common.cmake)
