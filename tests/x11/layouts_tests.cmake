# Expand and overview mode with real windows: positions, drags and wheel scrolling.
if(TARGET glimmer_x11_tests)
  glimmer_add_screen_tests(x11.expand_and_overview_windows "QT_QPA_PLATFORM=xcb"
    $<TARGET_FILE:glimmer_x11_tests> --gtest_filter=ExpandX11.*:LayoutsX11.*)
endif()
