if(NOT KAVRELO_WINDOWS)
  return()
endif()
kavrelo_test(NAME ticker_refresh_test
  SOURCES RetryAfterTest.cpp FeedValidatorsTest.cpp FeedStampTest.cpp ../settings/TestFiles.cpp FeedThreadTest.cpp ../feed/TestHttpServer.cpp
  LIBS kavrelo_ticker ws2_32
  LABELS ticker net feed)
kavrelo_test(NAME ticker_window_test
  SOURCES MainWindowTest.cpp AccessTreeTest.cpp ../settings/TestFiles.cpp $<TARGET_OBJECTS:kavrelo_resources>
  LIBS kavrelo_ticker
  LABELS ticker framework)
