set(GLIMMER_UI_BENCH_SOURCES
  ChartPaintBench.cpp
  # The realistic trading day the chart tests draw.
  ${PROJECT_SOURCE_DIR}/tests/ui/ChartSamples.cpp
)
