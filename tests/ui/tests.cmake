set(GLIMMER_UI_TESTS
  ui/EntryPointTest.cpp
)
