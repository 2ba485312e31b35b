# HTML to text and word wrap: whatever the feed holds, no crash, hang or
# exception, and wrapping only ever inserts breaks.
if(NOT TARGET kavrelo_html)
  return()
endif()
kavrelo_fuzz(NAME html_to_text_fuzz
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/html_to_text_fuzz.cpp
  LIBS kavrelo_html
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/corpus/html_to_text
  SECONDS 20)
kavrelo_fuzz(NAME wrap_text_fuzz
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/wrap_text_fuzz.cpp
  LIBS kavrelo_html
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/corpus/wrap_text
  SECONDS 20)
