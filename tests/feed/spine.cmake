if(NOT KAVRELO_WINDOWS)
  return()
endif()
kavrelo_test(NAME feed_request_test
  SOURCES RequestTest.cpp ExchangeFaultsTest.cpp HttpUrlTest.cpp InternetThreadTest.cpp TestHttpServer.cpp
  LIBS kavrelo_feed ws2_32
  LABELS net feed)
