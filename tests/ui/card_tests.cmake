list(APPEND GLIMMER_UI_TESTS
  ui/CardInteractionTest.cpp
  ui/CardLayoutTest.cpp
  ui/CardRenderTest.cpp
  ui/CardSamples.cpp
  ui/CardSamples.h
  ui/CardTextTest.cpp
  ui/StockCardViewTest.cpp
  ui/TextRecorder.cpp
  ui/TextRecorder.h
)
