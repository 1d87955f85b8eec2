# End-to-end tests that drive the real program on an X display (Xvfb); labelled x11.
add_test(NAME x11.entry_point_starts_on_display
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/x11/entry_point_starts.sh $<TARGET_FILE:glimmerbox>)
set_tests_properties(x11.entry_point_starts_on_display PROPERTIES LABELS x11 TIMEOUT 120)

# The floating panel's window as the X server sees it (xprop, xdotool).
if(TARGET glimmer_ui_tests)
  add_test(NAME x11.floating_panel_window
    COMMAND glimmer_ui_tests --gtest_filter=FloatingPanelX11.*)
  set_tests_properties(x11.floating_panel_window PROPERTIES LABELS x11 TIMEOUT 120 ENVIRONMENT "QT_QPA_PLATFORM=xcb")
endif()
include(${CMAKE_CURRENT_LIST_DIR}/hotkeys_tests.cmake)
