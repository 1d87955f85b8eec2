# Expand mode with real windows: the group follows a real drag.
if(TARGET glimmer_x11_tests)
  glimmer_add_screen_tests(x11.expand_windows "QT_QPA_PLATFORM=xcb"
    $<TARGET_FILE:glimmer_x11_tests> --gtest_filter=ExpandX11.*)
endif()
