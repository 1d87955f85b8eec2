# Global hot keys grabbed on the X server and pressed with xdotool.
if(TARGET glimmer_x11_tests AND GLIMMER_XCB_FOUND)
  add_test(NAME x11.global_hot_keys
    COMMAND glimmer_x11_tests --gtest_filter=HotKeyBackendX11Test.*)
  set_tests_properties(x11.global_hot_keys PROPERTIES LABELS x11 TIMEOUT 120 ENVIRONMENT "QT_QPA_PLATFORM=xcb"
    RESOURCE_LOCK shared_display)
endif()
