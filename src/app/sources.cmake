set(GLIMMER_APP_SOURCES
  app/EntryPoint.cpp
  app/EntryPoint.h
)
include(${CMAKE_CURRENT_LIST_DIR}/hotkeys.cmake)
