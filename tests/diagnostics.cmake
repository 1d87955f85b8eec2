# Every diagnostic mode run as the real program: offscreen ones labelled ui, window ones x11.
if(TARGET glimmerbox AND TARGET glimmer-simmarket)
  set(GLIMMER_DIAG_DIR ${CMAKE_CURRENT_LIST_DIR}/diagnostics)
  foreach(script counted_modes switch_values data_chain refresh_trace renders config_untouched layout_mode layout_renders)
    add_test(NAME diagnostics.${script}
      COMMAND ${GLIMMER_DIAG_DIR}/${script}.sh $<TARGET_FILE:glimmerbox> $<TARGET_FILE:glimmer-simmarket>)
    set_tests_properties(diagnostics.${script} PROPERTIES LABELS ui TIMEOUT 240)
  endforeach()
  # The window modes need a display: scripts/test.sh runs the x11 label under Xvfb.
  add_test(NAME diagnostics.window_modes
    COMMAND ${GLIMMER_DIAG_DIR}/window_modes.sh $<TARGET_FILE:glimmerbox>)
  set_tests_properties(diagnostics.window_modes PROPERTIES LABELS x11 TIMEOUT 240)
endif()
