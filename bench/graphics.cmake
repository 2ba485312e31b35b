# bench_canvas: per-operation canvas costs and the whole-window composite.
if(NOT KAVRELO_WINDOWS)
  return()
endif()

kavrelo_bench(NAME bench_canvas
  SOURCES bench_canvas.cpp $<TARGET_OBJECTS:kavrelo_resources>
  LIBS kavrelo_graphics)
