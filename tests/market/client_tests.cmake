list(APPEND GLIMMER_MARKET_TESTS
  market/EndpointsTest.cpp
  market/MarketAPITest.cpp
  market/QuoteBatchTest.cpp
  market/SnapshotFetchTest.cpp
  market/SourceHealthTest.cpp
  market/SymbolSearchTest.cpp
)
