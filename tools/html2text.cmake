# html2text: the HTML-to-text conversion from the command line (native build
# only), for checking a conversion by hand.
if(KAVRELO_WINDOWS OR NOT TARGET kavrelo_html)
  return()
endif()
add_executable(html2text ${CMAKE_CURRENT_LIST_DIR}/html2text.cpp)
target_link_libraries(html2text PRIVATE kavrelo_html)
kavrelo_warnings(html2text)
set_target_properties(html2text PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
