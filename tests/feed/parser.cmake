if(NOT KAVRELO_WINDOWS)
  return()
endif()
kavrelo_test(NAME feed_parser_test SOURCES FeedParserTest.cpp FeedSourceTest.cpp LinkPolicyTest.cpp XmlGuardsTest.cpp LIBS kavrelo_feed kavrelo_app LABELS feed)
# Ill-formed feeds against their well-formed twins; the well-formed fixtures
# and the demo feed through both readings.
kavrelo_test(NAME feed_recovery_test SOURCES FeedRecoveryTest.cpp LIBS kavrelo_feed kavrelo_app LABELS feed)
string(REPLACE "/" "\\\\" _source_w "${CMAKE_SOURCE_DIR}")
target_compile_definitions(feed_recovery_test PRIVATE "KAVRELO_SOURCE_DIR_W=L\"${_source_w}\"")
