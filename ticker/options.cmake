# The options store and the autostart value.
target_sources(kavrelo_ticker PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/Options.cpp ${CMAKE_CURRENT_SOURCE_DIR}/Registry.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Switches.cpp)
target_link_libraries(kavrelo_ticker PUBLIC kavrelo_settings_files advapi32)
