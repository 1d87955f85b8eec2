list(APPEND GLIMMER_MARKET_TESTS
  market/MarketStoreSimTest.cpp
  market/MarketStoreTest.cpp
  market/SerialQueueTest.cpp
  market/TradingDayTest.cpp
)
