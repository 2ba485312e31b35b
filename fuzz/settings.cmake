# The wide ini file: whatever bytes it loads, it never crashes, and what it
# writes reads back to the same store.
kavrelo_fuzz(NAME settings_ini_fuzz
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/settings_ini_fuzz.cpp
  LIBS kavrelo_settings
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/corpus/settings_ini
  SECONDS 20)
