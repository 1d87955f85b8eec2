list(APPEND GLIMMER_UI_TESTS
  ui/DockGeometryTest.cpp
  ui/FakeScreenSource.h
  ui/FloatingPanelTest.cpp
  ui/TestApplication.cpp
  ui/TestApplication.h
  ui/WindowAnimatorTest.cpp
)
