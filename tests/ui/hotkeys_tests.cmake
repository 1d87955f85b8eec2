list(APPEND GLIMMER_UI_TESTS
  ui/AutoLaunchTest.cpp
  ui/HotKeyCenterTest.cpp
)
if(NOT GLIMMER_PLATFORM STREQUAL "macos")
  list(APPEND GLIMMER_UI_TESTS ${PROJECT_SOURCE_DIR}/src/app/LaunchAgentFormat.cpp)
endif()
# The desktop portal backend, against a fake portal on a private bus (needs dbus-daemon, no display).
if(GLIMMER_XCB_FOUND)
  list(APPEND GLIMMER_UI_TESTS ui/HotKeyBackendPortalTest.cpp)
endif()
