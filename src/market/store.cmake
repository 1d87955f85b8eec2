list(APPEND GLIMMER_MARKET_SOURCES
  market/DispatchQueue.h
  market/MainPoster.h
  market/MarketSource.cpp
  market/MarketSource.h
  market/MarketStore.cpp
  market/MarketStore.h
  market/SerialQueue.cpp
  market/SerialQueue.h
  market/TradingDay.cpp
  market/TradingDay.h
)
