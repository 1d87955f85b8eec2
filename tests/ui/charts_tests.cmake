list(APPEND GLIMMER_UI_TESTS
  ui/ChartKitTest.cpp
  ui/ChartRenderTest.cpp
  ui/ChartSamples.cpp
  ui/ChartSamples.h
  ui/ChartTestSupport.cpp
  ui/ChartTestSupport.h
  ui/IntradayVolumeChartTest.cpp
  ui/KLineChartTest.cpp
  ui/MACDFlowChartTest.cpp
)
