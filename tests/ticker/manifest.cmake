if(NOT KAVRELO_WINDOWS)
  return()
endif()
kavrelo_test(NAME ticker_manifest_test SOURCES ManifestTest.cpp LIBS kavrelo_ticker LABELS ticker)
