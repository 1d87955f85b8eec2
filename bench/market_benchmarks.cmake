list(APPEND GLIMMER_BENCH_SOURCES
  IndicatorsBench.cpp
  MarketParseBench.cpp
  SeriesParseBench.cpp
  StoreBench.cpp
)
