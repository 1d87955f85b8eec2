set(GLIMMER_UI_BENCH_SOURCES
  ChartPaintBench.cpp
  # The realistic trading day the chart tests draw.
  ${PROJECT_SOURCE_DIR}/tests/ui/ChartSamples.cpp
)
list(APPEND GLIMMER_UI_BENCH_SOURCES
  CardPaintBench.cpp
  # The full card entry and the render helper the card tests use.
  ${PROJECT_SOURCE_DIR}/tests/ui/CardSamples.cpp
)
list(APPEND GLIMMER_UI_BENCH_SOURCES
  LayoutBench.cpp
  # A watch list of realistic securities.
  LayoutSamples.cpp
)
