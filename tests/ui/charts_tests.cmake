list(APPEND GLIMMER_UI_TESTS
  ui/ChartRenderTest.cpp
  ui/ChartSamples.cpp
  ui/ChartSamples.h
  ui/ChartTestSupport.h
  ui/IntradayVolumeChartTest.cpp
)
