# Desktop notifications for alerts: the freedesktop service on Linux, none elsewhere yet.
list(APPEND GLIMMER_APP_SOURCES app/notify/AlertNotifier.h)
if(TARGET Qt6::DBus)
  list(APPEND GLIMMER_APP_SOURCES app/notify/AlertNotifierSelectDBus.cpp app/notify/DesktopNotifier.cpp
       app/notify/DesktopNotifier.h)
else()
  list(APPEND GLIMMER_APP_SOURCES app/notify/AlertNotifierSelectNull.cpp)
endif()
