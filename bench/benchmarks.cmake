set(GLIMMER_BENCH_SOURCES
  ConfigBench.cpp
)
include(${CMAKE_CURRENT_LIST_DIR}/market_benchmarks.cmake)
