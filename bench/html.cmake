# bench_html: HtmlToText against lexbor, myhtml, libxml2 and gumbo (native only) on a
# generated corpus of feed-sized fragments and on pathological inputs.
if(NOT TARGET kavrelo_html)
  return()
endif()
kavrelo_bench(NAME bench_html SOURCES html_bench.cpp LIBS kavrelo_html)

# The corpus (about 5 MB) is generated into the build folder, beside the
# executable, never committed.
set(_corpus ${CMAKE_BINARY_DIR}/bench/html_corpus.dat)
add_custom_command(OUTPUT ${_corpus}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/make_html_corpus.py ${_corpus}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_html_corpus.py
  COMMENT "Generating the HTML benchmark corpus")
add_custom_target(bench_html_corpus DEPENDS ${_corpus})
add_dependencies(bench_html bench_html_corpus)

if(NOT KAVRELO_WINDOWS)
  find_package(PkgConfig QUIET)
  if(PkgConfig_FOUND)
    pkg_check_modules(KAVRELO_LIBXML2 IMPORTED_TARGET libxml-2.0)
    pkg_check_modules(KAVRELO_GUMBO IMPORTED_TARGET gumbo)
  endif()
  if(KAVRELO_LIBXML2_FOUND)
    target_link_libraries(bench_html PRIVATE PkgConfig::KAVRELO_LIBXML2)
    target_compile_definitions(bench_html PRIVATE KAVRELO_BENCH_LIBXML2)
  endif()
  # myhtml (Debian's libmodest-dev) has no pkg-config file.
  find_path(KAVRELO_MYHTML_INCLUDE myhtml/api.h)
  find_library(KAVRELO_MODEST_LIBRARY modest)
  if(KAVRELO_MYHTML_INCLUDE AND KAVRELO_MODEST_LIBRARY)
    target_include_directories(bench_html SYSTEM PRIVATE ${KAVRELO_MYHTML_INCLUDE})
    target_link_libraries(bench_html PRIVATE ${KAVRELO_MODEST_LIBRARY})
    target_compile_definitions(bench_html PRIVATE KAVRELO_BENCH_MYHTML)
  endif()
  # lexbor is no Debian package: built here from a source folder fetched
  # outside the build (scripts/bench.sh passes LEXBOR_SOURCE), with its own
  # CMake, at the same optimisation as the others. The program never links it.
  set(KAVRELO_LEXBOR_SOURCE "" CACHE PATH "lexbor's source folder, for bench_html's baseline")
  if(KAVRELO_LEXBOR_SOURCE AND EXISTS ${KAVRELO_LEXBOR_SOURCE}/source/lexbor/html/html.h)
    include(ExternalProject)
    set(_lexbor ${CMAKE_BINARY_DIR}/lexbor)
    ExternalProject_Add(lexbor_baseline
      SOURCE_DIR ${KAVRELO_LEXBOR_SOURCE}
      BINARY_DIR ${_lexbor}
      CMAKE_ARGS -DLEXBOR_BUILD_SHARED=OFF -DLEXBOR_BUILD_STATIC=ON -DCMAKE_BUILD_TYPE=Release
                 "-DCMAKE_C_FLAGS_RELEASE=-O2 -DNDEBUG" -DCMAKE_C_COMPILER=${CMAKE_C_COMPILER}
      INSTALL_COMMAND ""
      BUILD_BYPRODUCTS ${_lexbor}/liblexbor_static.a)
    add_dependencies(bench_html lexbor_baseline)
    target_include_directories(bench_html SYSTEM PRIVATE ${KAVRELO_LEXBOR_SOURCE}/source)
    target_link_libraries(bench_html PRIVATE ${_lexbor}/liblexbor_static.a)
    target_compile_definitions(bench_html PRIVATE KAVRELO_BENCH_LEXBOR LEXBOR_STATIC)
  endif()
  if(KAVRELO_GUMBO_FOUND)
    target_link_libraries(bench_html PRIVATE PkgConfig::KAVRELO_GUMBO)
    target_compile_definitions(bench_html PRIVATE KAVRELO_BENCH_GUMBO)
  endif()
endif()
