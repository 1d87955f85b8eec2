# The running application: presenter, alert presentation, placement, tray item, sound, entry switches.
list(APPEND GLIMMER_UI_TESTS
  ui/AlertPresenterTest.cpp
  ui/AppDelegateTest.cpp
  ui/AppTestSupport.cpp
  ui/AppTestSupport.h
  ui/CardPresenterTest.cpp
  ui/PanelPlacementTest.cpp
  ui/QtTaskSchedulerTest.cpp
  ui/RotationTest.cpp
  ui/SoundPlayerTest.cpp
)
# Alert notifications against a notification server of our own on a private bus (dbus-daemon).
if(TARGET Qt6::DBus)
  list(APPEND GLIMMER_UI_TESTS ui/DesktopNotifierTest.cpp)
endif()
