# The HTML reader alone: event order, progress and the remembered searches.
# It compiles the reader itself (for coverage guidance, and to check every
# remembered search against a plain one) instead of linking kavrelo_html.
kavrelo_fuzz(NAME html_reader_fuzz
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/html_reader_fuzz.cpp ${CMAKE_SOURCE_DIR}/html/HtmlReader.cpp
          ${CMAKE_SOURCE_DIR}/html/HtmlRawText.cpp
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/corpus/html_reader
  SECONDS 20)
target_include_directories(html_reader_fuzz PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(html_reader_fuzz PRIVATE KAVRELO_CHECK_SEARCH_MEMO)
