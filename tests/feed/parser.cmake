if(NOT KAVRELO_WINDOWS)
  return()
endif()
kavrelo_test(NAME feed_parser_test SOURCES FeedParserTest.cpp FeedSourceTest.cpp LinkPolicyTest.cpp XmlGuardsTest.cpp LIBS kavrelo_feed kavrelo_app LABELS feed)
