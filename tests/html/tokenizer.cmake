# HTML reader, tag table and entity table.
kavrelo_test(NAME html_reader_test
  SOURCES HtmlReaderTest.cpp HtmlReaderLinearTest.cpp
  LIBS kavrelo_html LABELS html)

# The reader once more, compiled so that it checks each remembered search
# against a plain one; it does not link the library, whose reader is the
# unchecked one.
kavrelo_test(NAME html_reader_memo_test
  SOURCES HtmlReaderMemoTest.cpp ${CMAKE_SOURCE_DIR}/html/HtmlReader.cpp
          ${CMAKE_SOURCE_DIR}/html/HtmlRawText.cpp
  LABELS html)
target_compile_definitions(html_reader_memo_test PRIVATE KAVRELO_CHECK_SEARCH_MEMO)
target_include_directories(html_reader_memo_test PRIVATE ${CMAKE_SOURCE_DIR})

kavrelo_test(NAME html_tags_test
  SOURCES HtmlTagsTest.cpp EntitiesTest.cpp
  LIBS kavrelo_html LABELS html)
