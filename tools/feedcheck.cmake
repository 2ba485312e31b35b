if(NOT KAVRELO_WINDOWS)
  return()
endif()
# A console tool: what the news list makes of feed files (see the source).
add_executable(feedcheck feedcheck.cpp)
target_link_options(feedcheck PRIVATE -municode)
target_link_libraries(feedcheck PRIVATE kavrelo_feed)
kavrelo_warnings(feedcheck)
set_target_properties(feedcheck PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
