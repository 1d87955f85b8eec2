list(APPEND GLIMMER_BENCH_SOURCES
  IndicatorsBench.cpp
  MarketParseBench.cpp
  PollingDayBench.cpp
  SeriesParseBench.cpp
  StoreBench.cpp
)
