# Global hot keys, the arrow-key monitor and the login entry.
list(APPEND GLIMMER_APP_SOURCES
  app/AutoLaunch.cpp
  app/AutoLaunch.h
  app/AutoLaunchEntries.cpp
  app/AutoLaunchEntries.h
  app/DesktopEntryFormat.cpp
  app/LoginEntryFormat.h
  app/hotkeys/AppHotKeys.cpp
  app/hotkeys/AppHotKeys.h
  app/hotkeys/ArrowKeyStep.cpp
  app/hotkeys/ArrowKeyStep.h
  app/hotkeys/HotKeyBackend.h
  app/hotkeys/HotKeyBackendNull.cpp
  app/hotkeys/HotKeyBackendNull.h
  app/hotkeys/HotKeyCenter.cpp
  app/hotkeys/HotKeyCenter.h
)

# The login entry this platform uses. The macOS format is only in the macOS program (its words mean
# nothing elsewhere); the tests build it on every platform.
if(GLIMMER_PLATFORM STREQUAL "macos")
  list(APPEND GLIMMER_APP_SOURCES app/AutoLaunchMac.cpp app/LaunchAgentFormat.cpp)
elseif(GLIMMER_PLATFORM STREQUAL "windows")
  list(APPEND GLIMMER_APP_SOURCES app/AutoLaunchWindows.cpp)
else()
  list(APPEND GLIMMER_APP_SOURCES app/AutoLaunchLinux.cpp)
endif()

# X11 grabs and the desktop portal where xcb is found (Linux); elsewhere no global shortcuts yet.
if(GLIMMER_XCB_FOUND)
  list(APPEND GLIMMER_APP_SOURCES
    app/hotkeys/HotKeyBackendPortal.cpp
    app/hotkeys/HotKeyBackendPortal.h
    app/hotkeys/HotKeyBackendSelectX11.cpp
    app/hotkeys/HotKeyBackendX11.cpp
    app/hotkeys/HotKeyBackendX11.h
  )
else()
  list(APPEND GLIMMER_APP_SOURCES app/hotkeys/HotKeyBackendSelectNull.cpp)
endif()
