# One platform name decides which backend files the targets compile.
if(APPLE)
  set(GLIMMER_PLATFORM macos)
elseif(WIN32)
  set(GLIMMER_PLATFORM windows)
else()
  set(GLIMMER_PLATFORM linux)
endif()
