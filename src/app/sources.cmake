set(GLIMMER_APP_SOURCES
  app/AlertPresenter.cpp
  app/AlertPresenter.h
  app/AppContext.h
  app/AppDelegate.cpp
  app/AppDelegate.h
  app/CardPresenter.cpp
  app/CardPresenter.h
  app/ConfigApply.cpp
  app/DiagnosticModes.cpp
  app/DiagnosticModes.h
  app/EntryPoint.cpp
  app/EntryPoint.h
  app/WindowSystemChoice.cpp
  app/WindowSystemChoice.h
  app/ModeController.cpp
  app/ModeController.h
  app/PanelFrames.cpp
  app/PanelFrames.h
  app/PanelPlacement.cpp
  app/PanelPlacement.h
  app/QtSoundBackend.h
  app/QtTaskScheduler.cpp
  app/QtTaskScheduler.h
  app/Rotation.cpp
  app/Rotation.h
  app/SettingsHost.cpp
  app/SettingsHost.h
  app/SoundBackend.h
  app/SoundPlayer.cpp
  app/SoundPlayer.h
  app/StatusBarController.cpp
  app/StatusBarController.h
  app/StoreAccess.cpp
  app/StoreAccess.h
  app/TaskScheduler.h
  app/TerminationSignals.cpp
  app/TerminationSignals.h
  app/ToneWav.cpp
)
# Sounds through Qt Multimedia where it is installed; otherwise a silent backend.
if(TARGET Qt6::Multimedia)
  list(APPEND GLIMMER_APP_SOURCES app/QtSoundBackend.cpp)
else()
  list(APPEND GLIMMER_APP_SOURCES app/QtSoundBackendSilent.cpp)
endif()
include(${CMAKE_CURRENT_LIST_DIR}/hotkeys.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/notify.cmake)
