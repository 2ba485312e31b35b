# bench_feed_recovery: an ill-formed 1 MB feed read next to the same feed
# well-formed.
if(NOT KAVRELO_WINDOWS)
  return()
endif()
kavrelo_bench(NAME bench_feed_recovery SOURCES bench_feed_recovery.cpp LIBS kavrelo_feed kavrelo_app)
