# The repair of ill-formed feeds: its output must be well-formed and a fixed
# point of the repair. Compiles the repair and the entity table itself for
# coverage guidance.
kavrelo_fuzz(NAME feed_repair_fuzz
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/feed_repair_fuzz.cpp ${CMAKE_SOURCE_DIR}/feed/FeedRepair.cpp
          ${CMAKE_SOURCE_DIR}/feed/FeedBytes.cpp ${CMAKE_SOURCE_DIR}/html/Entities.cpp
          ${CMAKE_SOURCE_DIR}/html/EntityTable.cpp
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/corpus/feed_repair
  SECONDS 30)
target_include_directories(feed_repair_fuzz PRIVATE ${CMAKE_SOURCE_DIR})
