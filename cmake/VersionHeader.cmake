# Writes generated/build/Version.h from the project's version, for the C++
# code and the resource compiler alike (macros only, which windres reads).
# The text form is the version as written in project(): the update check
# compares it byte by byte with the maker's manifest, so "2.0" stays "2.0".
# The four numbers are what Explorer shows; missing parts count as 0.
foreach(part MAJOR MINOR PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    set(KAVRELO_VERSION_${part} 0)
  else()
    set(KAVRELO_VERSION_${part} ${PROJECT_VERSION_${part}})
  endif()
endforeach()
set(KAVRELO_VERSION "${PROJECT_VERSION}")
# The four numbers as text, as the manifest's assembly identity wants them.
set(KAVRELO_VERSION_QUAD "${KAVRELO_VERSION_MAJOR}.${KAVRELO_VERSION_MINOR}.${KAVRELO_VERSION_PATCH}.${KAVRELO_VERSION_TWEAK}")
configure_file(${CMAKE_SOURCE_DIR}/cmake/Version.h.in ${CMAKE_BINARY_DIR}/generated/build/Version.h @ONLY)
