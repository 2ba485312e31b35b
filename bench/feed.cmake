# bench_feed_done: the cost of completing one feed exchange, per thread.
if(NOT KAVRELO_WINDOWS)
  return()
endif()

kavrelo_bench(NAME bench_feed_done SOURCES bench_feed_done.cpp LIBS kavrelo_ticker)
# The skin's resources give the busy indicator its frames.
kavrelo_bench(NAME bench_feed_to_screen SOURCES bench_feed_to_screen.cpp $<TARGET_OBJECTS:kavrelo_resources>
  LIBS kavrelo_widgets kavrelo_app)
