list(APPEND GLIMMER_UI_TESTS
  ui/ExpandCoordinatorTest.cpp
  ui/LayoutGeometryTest.cpp
  ui/LayoutSamples.cpp
  ui/LayoutSamples.h
  ui/OverviewCardViewTest.cpp
  ui/OverviewCoordinatorTest.cpp
)
