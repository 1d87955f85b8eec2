set(GLIMMER_MODEL_SOURCES
  model/AlertEngine.cpp
  model/AlertEngine.h
  model/AlertEvent.cpp
  model/AlertEvent.h
  model/AppConfig.h
  model/AppLog.cpp
  model/AppLog.h
  model/AppPaths.cpp
  model/AppPaths.h
  model/Clock.cpp
  model/Clock.h
  model/ConfigJson.cpp
  model/ConfigJson.h
  model/ConfigStore.cpp
  model/ConfigStore.h
  model/FileSync.h
  model/HoldingsImport.cpp
  model/HotKeyKeys.cpp
  model/HotKeyKeys.h
  model/Indicators.cpp
  model/Indicators.h
  model/MarketEntry.h
  model/MarketRecords.cpp
  model/MarketRecords.h
  model/SystemClock.cpp
  model/SystemClock.h
  model/TextFormat.cpp
  model/TextFormat.h
  model/Uuid.cpp
  model/Uuid.h
  model/platform/HostPlatform_${GLIMMER_PLATFORM}.cpp
)
if(GLIMMER_PLATFORM STREQUAL "windows")
  list(APPEND GLIMMER_MODEL_SOURCES model/platform/FileSync_windows.cpp)
else()
  list(APPEND GLIMMER_MODEL_SOURCES model/platform/FileSync_posix.cpp)
endif()
