# End-to-end tests that drive the real program on an X display (Xvfb); labelled x11.
# The program against the simulated market on its own 1440 x 900 display; the screenshot is kept.
if(TARGET glimmer-simmarket)
  add_test(NAME x11.app_end_to_end
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/x11/app_end_to_end.sh $<TARGET_FILE:glimmerbox>
            $<TARGET_FILE:glimmer-simmarket> ${PROJECT_SOURCE_DIR}/artifacts)
  set_tests_properties(x11.app_end_to_end PROPERTIES LABELS x11 TIMEOUT 120)
endif()

# The floating panel's window as the X server sees it (xprop, xdotool).
if(TARGET glimmer_ui_tests)
  add_test(NAME x11.floating_panel_window
    COMMAND glimmer_ui_tests --gtest_filter=FloatingPanelX11.*)
  set_tests_properties(x11.floating_panel_window PROPERTIES LABELS x11 TIMEOUT 120 ENVIRONMENT "QT_QPA_PLATFORM=xcb")
endif()
include(${CMAKE_CURRENT_LIST_DIR}/hotkeys_tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/layouts_tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/wiring_tests.cmake)
