set(GLIMMER_APP_SOURCES
  app/EntryPoint.cpp
  app/EntryPoint.h
)
