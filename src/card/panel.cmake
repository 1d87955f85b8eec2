list(APPEND GLIMMER_CARD_SOURCES
  card/AnimatedWindow.h
  card/DockGeometry.cpp
  card/DockGeometry.h
  card/FloatingPanel.cpp
  card/FloatingPanel.h
  card/MinimalSlider.cpp
  card/MinimalSlider.h
  card/PanelShadow.cpp
  card/PanelShadow.h
  card/QtScreenSource.cpp
  card/QtScreenSource.h
  card/ScreenRect.h
  card/ScreenSource.h
  card/ScreenSpace.cpp
  card/ScreenSpace.h
  card/ShadowCaster.h
  card/WindowAnimation.cpp
  card/WindowAnimation.h
  card/WindowAnimator.cpp
  card/WindowAnimator.h
)

# The panel's X11 window states and input shape need xcb; elsewhere Qt's tool-window flags suffice.
if(GLIMMER_XCB_FOUND)
  list(APPEND GLIMMER_CARD_SOURCES card/FloatingPanelX11.cpp)
else()
  list(APPEND GLIMMER_CARD_SOURCES card/FloatingPanelDefault.cpp)
endif()
