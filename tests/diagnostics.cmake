# Every diagnostic mode run as the real program: offscreen ones labelled ui, window ones x11.
if(TARGET glimmerbox AND TARGET glimmer-simmarket)
  set(GLIMMER_DIAG_DIR ${CMAKE_CURRENT_LIST_DIR}/diagnostics)
  foreach(script counted_modes switch_values data_chain refresh_trace renders config_untouched layout_mode layout_renders)
    add_test(NAME diagnostics.${script}
      COMMAND ${GLIMMER_DIAG_DIR}/${script}.sh $<TARGET_FILE:glimmerbox> $<TARGET_FILE:glimmer-simmarket>)
    # The longest tests of the label: started first, so the short ones fill in around them.
    set_tests_properties(diagnostics.${script} PROPERTIES LABELS ui TIMEOUT 240 COST 100)
  endforeach()
  # The window modes need a display: each screen size on its own Xvfb.
  glimmer_add_screen_tests(diagnostics.window_modes "" ${GLIMMER_DIAG_DIR}/window_modes.sh $<TARGET_FILE:glimmerbox>)
endif()
