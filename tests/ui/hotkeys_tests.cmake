list(APPEND GLIMMER_UI_TESTS
  ui/AppHotKeysTest.cpp
  ui/ArrowKeyStepTest.cpp
  ui/AutoLaunchTest.cpp
  ui/HotKeyCenterTest.cpp
)
if(NOT GLIMMER_PLATFORM STREQUAL "macos")
  list(APPEND GLIMMER_UI_TESTS ${PROJECT_SOURCE_DIR}/src/app/LaunchAgentFormat.cpp)
endif()
# The X11 backend's own tests run under Xvfb (tests/x11/hotkeys_tests.cmake) and skip elsewhere.
if(GLIMMER_XCB_FOUND)
  list(APPEND GLIMMER_UI_TESTS ui/HotKeyBackendX11Test.cpp)
endif()
