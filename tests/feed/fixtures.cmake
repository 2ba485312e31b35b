# Realistic feeds in fixtures/, each with the items the list must show
# (NAME.json), checked through the feedcheck tool under Wine.
if(NOT KAVRELO_WINDOWS OR NOT Python3_EXECUTABLE)
  return()
endif()
add_test(NAME feed_fixtures_test
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/check_fixtures.py
          --build ${CMAKE_BINARY_DIR} --source ${CMAKE_SOURCE_DIR})
set_tests_properties(feed_fixtures_test PROPERTIES LABELS "unit;feed;wine" TIMEOUT 120)
