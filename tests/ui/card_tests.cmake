list(APPEND GLIMMER_UI_TESTS
  ui/CardInteractionTest.cpp
  ui/CardLayoutTest.cpp
  ui/CardSamples.cpp
  ui/CardSamples.h
  ui/StockCardViewTest.cpp
  ui/TextRecorder.cpp
  ui/TextRecorder.h
)
