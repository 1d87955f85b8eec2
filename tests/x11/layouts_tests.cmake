# Expand and overview mode with real windows: positions, drags, wheel scrolling and eye buttons.
if(TARGET glimmer_ui_tests)
  add_test(NAME x11.expand_and_overview_windows
    COMMAND glimmer_ui_tests --gtest_filter=ExpandX11.*:OverviewX11.*)
  set_tests_properties(x11.expand_and_overview_windows PROPERTIES LABELS x11 TIMEOUT 120 ENVIRONMENT "QT_QPA_PLATFORM=xcb")
endif()
