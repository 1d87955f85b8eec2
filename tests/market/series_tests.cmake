list(APPEND GLIMMER_MARKET_TESTS
  market/DailyKlineTest.cpp
  market/EastmoneyFlowTest.cpp
  market/EastmoneyTrendsTest.cpp
  market/QQIntradayTest.cpp
  market/ReplyJsonTest.cpp
  market/SeriesFetchTest.h
  market/SeriesStubHost.h
)
