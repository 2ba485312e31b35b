# HTML to text and word wrap: whatever the feed holds, no crash, hang or
# exception, and wrapping only ever inserts breaks.
#
# The targets compile the html sources themselves rather than link
# kavrelo_html: libFuzzer is guided by the coverage of what it compiles with
# -fsanitize=fuzzer, and the library is built without it.
file(GLOB _html_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/html/*.cpp)
if(NOT _html_sources)
  return()
endif()
kavrelo_fuzz(NAME html_to_text_fuzz
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/html_to_text_fuzz.cpp ${_html_sources}
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/corpus/html_to_text
  SECONDS 20)
target_include_directories(html_to_text_fuzz PRIVATE ${CMAKE_SOURCE_DIR})
kavrelo_fuzz(NAME wrap_text_fuzz
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/wrap_text_fuzz.cpp ${CMAKE_SOURCE_DIR}/html/WrapText.cpp
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/corpus/wrap_text
  SECONDS 20)
target_include_directories(wrap_text_fuzz PRIVATE ${CMAKE_SOURCE_DIR})
