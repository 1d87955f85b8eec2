list(APPEND GLIMMER_MARKET_TESTS
  market/SimMarketTest.cpp
  market/SimMarketFaultTest.cpp
)
