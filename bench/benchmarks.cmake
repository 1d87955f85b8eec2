set(GLIMMER_BENCH_SOURCES
  ConfigBench.cpp
)
