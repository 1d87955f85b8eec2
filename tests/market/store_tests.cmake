list(APPEND GLIMMER_MARKET_TESTS
  market/ManualQueueTest.cpp
  market/SerialQueueTest.cpp
)
