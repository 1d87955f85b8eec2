list(APPEND GLIMMER_UI_TESTS
  ui/AppHotKeysTest.cpp
  ui/ArrowKeyStepTest.cpp
  ui/AutoLaunchTest.cpp
  ui/HotKeyCenterTest.cpp
)
# The X11 backend's own tests run under Xvfb (tests/x11/hotkeys_tests.cmake) and skip elsewhere.
if(GLIMMER_HOTKEY_XCB_FOUND)
  list(APPEND GLIMMER_UI_TESTS ui/HotKeyBackendX11Test.cpp)
  cmake_language(DEFER CALL target_link_libraries glimmer_ui_tests PRIVATE PkgConfig::GLIMMER_HOTKEY_XCB)
endif()
