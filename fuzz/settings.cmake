# The wide ini file: whatever bytes it loads, it never crashes, and what it
# writes reads back to the same store.
#
# The portable settings sources are compiled into the target (not linked from
# kavrelo_settings) so that libFuzzer sees their coverage; settings/windows/
# is not among them.
file(GLOB _settings_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/settings/*.cpp)
kavrelo_fuzz(NAME settings_ini_fuzz
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/settings_ini_fuzz.cpp ${_settings_sources}
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/corpus/settings_ini
  SECONDS 20)
target_include_directories(settings_ini_fuzz PRIVATE ${CMAKE_SOURCE_DIR})
