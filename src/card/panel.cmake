list(APPEND GLIMMER_CARD_SOURCES
  card/AnimatedWindow.h
  card/DockGeometry.cpp
  card/DockGeometry.h
  card/FloatingPanel.cpp
  card/FloatingPanel.h
  card/MinimalSlider.cpp
  card/MinimalSlider.h
  card/QtScreenSource.cpp
  card/QtScreenSource.h
  card/ScreenRect.h
  card/ScreenSource.h
  card/ScreenSpace.cpp
  card/ScreenSpace.h
  card/WindowAnimation.cpp
  card/WindowAnimation.h
  card/WindowAnimator.cpp
  card/WindowAnimator.h
)

# The panel's X11 window states need xcb; elsewhere Qt's tool-window flags suffice.
if(GLIMMER_PLATFORM STREQUAL "linux")
  pkg_check_modules(GLIMMER_XCB IMPORTED_TARGET xcb)
endif()
if(GLIMMER_XCB_FOUND AND TARGET Qt6::Gui AND Qt6Gui_VERSION VERSION_GREATER_EQUAL 6.2)
  list(APPEND GLIMMER_CARD_SOURCES card/FloatingPanelX11.cpp)
  # glimmer_ui is created after the source lists are read.
  cmake_language(DEFER CALL target_link_libraries glimmer_ui PRIVATE PkgConfig::GLIMMER_XCB)
else()
  list(APPEND GLIMMER_CARD_SOURCES card/FloatingPanelDefault.cpp)
endif()
