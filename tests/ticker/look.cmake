if(NOT KAVRELO_WINDOWS)
  return()
endif()
kavrelo_test(NAME ticker_display_look_test SOURCES DisplayLookTest.cpp LIBS kavrelo_ticker LABELS ticker)
