list(APPEND GLIMMER_BENCH_SOURCES
  MarketParseBench.cpp
)
