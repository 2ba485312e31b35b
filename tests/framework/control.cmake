if(NOT KAVRELO_WINDOWS)
  return()
endif()
kavrelo_test(NAME framework_control_test SOURCES ControlTest.cpp ControlExTest.cpp LIBS kavrelo_framework LABELS framework)
