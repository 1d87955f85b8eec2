# End-to-end tests that drive the real program on an X display (Xvfb); labelled x11.
add_test(NAME x11.entry_point_starts_on_display
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/x11/entry_point_starts.sh $<TARGET_FILE:glimmerbox>)
set_tests_properties(x11.entry_point_starts_on_display PROPERTIES LABELS x11 TIMEOUT 120)
