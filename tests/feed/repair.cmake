# The repair of ill-formed feeds and the reading of mislabelled bytes:
# portable, so the tests run natively (sanitizers) and under Wine.
kavrelo_test(NAME feed_repair_test SOURCES FeedRepairTest.cpp FeedBytesTest.cpp LIBS kavrelo_feed_repair LABELS feed)
