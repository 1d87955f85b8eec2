# The program's expand and overview modes reached through the real global hot keys.
if(TARGET glimmer-simmarket)
  add_test(NAME x11.app_modes_end_to_end
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/x11/app_modes_end_to_end.sh $<TARGET_FILE:glimmerbox>
            $<TARGET_FILE:glimmer-simmarket> ${PROJECT_SOURCE_DIR}/artifacts)
  set_tests_properties(x11.app_modes_end_to_end PROPERTIES LABELS x11 TIMEOUT 120)
endif()

# Every way of quitting ends the program within a second while the network hangs.
if(TARGET glimmer-simmarket)
  add_test(NAME x11.quit_end_to_end
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/x11/quit_end_to_end.sh $<TARGET_FILE:glimmerbox>
            $<TARGET_FILE:glimmer-simmarket>)
  set_tests_properties(x11.quit_end_to_end PROPERTIES LABELS x11 TIMEOUT 120)
endif()
