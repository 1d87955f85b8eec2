list(APPEND GLIMMER_MARKET_SOURCES
  market/DailyKline.cpp
  market/DailyKline.h
  market/EastmoneyFlow.cpp
  market/EastmoneyFlow.h
  market/EastmoneyTrends.cpp
  market/EastmoneyTrends.h
  market/IntradaySnapshot.h
  market/QQFundFlow.cpp
  market/QQFundFlow.h
  market/QQIntraday.cpp
  market/QQIntraday.h
  market/ReplyJson.cpp
  market/ReplyJson.h
  market/SeriesFields.cpp
  market/SeriesFields.h
)
