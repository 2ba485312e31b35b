# Text formatter (golden files in cases/), WrapText, and the linear-time
# checks of the whole conversion on pathological input.
#
# The golden files are compiled into the test so that it runs the same way
# natively and under Wine, whatever the working folder. Each cases/NAME.html
# (one trailing line feed removed) must convert to cases/NAME.txt.
file(GLOB _html_cases CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/cases/*.html)
set(_cases_source "// Generated from tests/html/cases; do not edit.\n#include \"GoldenCases.h\"\nconst TGoldenCase GoldenCases[] = {\n")
foreach(_html IN LISTS _html_cases)
  get_filename_component(_name ${_html} NAME_WE)
  string(REGEX REPLACE "\\.html$" ".txt" _txt ${_html})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_html} ${_txt})
  set(_fields "\"${_name}\"")
  foreach(_file ${_html} ${_txt})
    file(READ ${_file} _hex HEX)
    string(REGEX REPLACE "0a$" "" _hex "${_hex}")
    string(REGEX REPLACE "(..)" "\\\\x\\1" _escaped "${_hex}")
    string(APPEND _fields ", \"${_escaped}\"")
  endforeach()
  string(APPEND _cases_source "  {${_fields}},\n")
endforeach()
string(APPEND _cases_source "};\nconst std::size_t GoldenCaseCount = sizeof(GoldenCases) / sizeof(GoldenCases[0]);\n")
file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/GoldenCases.cpp CONTENT "${_cases_source}" @ONLY)

kavrelo_test(NAME html_formatter_test
  SOURCES FormatterTest.cpp WrapTextTest.cpp WrapWidthTest.cpp ${CMAKE_CURRENT_BINARY_DIR}/GoldenCases.cpp
  LIBS kavrelo_html LABELS html)
target_include_directories(html_formatter_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})

# Each pathological megabyte must convert in linear time; a regression shows
# as the CTest time-out, not as a timed assertion.
kavrelo_test(NAME html_to_text_linear_test
  SOURCES HtmlToTextLinearTest.cpp
  LIBS kavrelo_html LABELS html TIMEOUT 300)

# Memory kept between conversions; it counts the program's operator new, so
# it is an executable of its own.
kavrelo_test(NAME html_memory_test
  SOURCES MemoryReuseTest.cpp ${CMAKE_CURRENT_BINARY_DIR}/GoldenCases.cpp
  LIBS kavrelo_html LABELS html)
target_include_directories(html_memory_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})

# The block-at-a-time scans and UTF-8 edges against unit-at-a-time answers.
kavrelo_test(NAME html_text_scan_test
  SOURCES TextScanTest.cpp
  LIBS kavrelo_html LABELS html)

# The 32-bit Windows program has no SSE2 and runs the unit-at-a-time loops,
# which cannot run here; natively they are built once more on their own and
# held to the same cases.
if(NOT CMAKE_CROSSCOMPILING)
  file(GLOB _html_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/html/*.cpp)
  add_library(kavrelo_html_scalar STATIC ${_html_sources})
  target_include_directories(kavrelo_html_scalar PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_definitions(kavrelo_html_scalar PUBLIC KAVRELO_SCALAR_SCANS)
  kavrelo_warnings(kavrelo_html_scalar)
  kavrelo_test(NAME html_text_scan_scalar_test
    SOURCES TextScanTest.cpp
    LIBS kavrelo_html_scalar LABELS html)
endif()
