list(APPEND GLIMMER_UI_TESTS
  ui/ExpandCoordinatorTest.cpp
  ui/LayoutGeometryTest.cpp
  ui/OverviewCardViewTest.cpp
  ui/OverviewCoordinatorTest.cpp
)
