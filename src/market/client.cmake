list(APPEND GLIMMER_MARKET_SOURCES
  market/Endpoints.cpp
  market/Endpoints.h
  market/FetchContext.cpp
  market/FetchContext.h
  market/MarketAPI.cpp
  market/MarketAPI.h
  market/PercentEncoding.cpp
  market/PercentEncoding.h
  market/QuoteBatch.cpp
  market/QuoteBatch.h
  market/SecID.cpp
  market/SecID.h
  market/SourceHealth.cpp
  market/SourceHealth.h
  market/SymbolSearch.cpp
  market/SymbolSearch.h
)
