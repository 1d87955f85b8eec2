# End-to-end tests that drive the real program on an X display (Xvfb); labelled x11.

# Widget tests that need real X windows live in their own program, so the offscreen ui run never
# lists them and a missing display fails them instead of skipping.
if(GLIMMER_UI_TESTS)
  add_executable(glimmer_x11_tests
    ui/FloatingPanelX11Test.cpp
    ui/CardSamples.cpp ui/ChartSamples.cpp ui/TestApplication.cpp)
  target_link_libraries(glimmer_x11_tests PRIVATE glimmer_test_support glimmer_app Qt6::Test)
  if(GLIMMER_XCB_FOUND)
    target_sources(glimmer_x11_tests PRIVATE ui/HotKeyBackendX11Test.cpp)
    target_link_libraries(glimmer_x11_tests PRIVATE PkgConfig::GLIMMER_XCB)
  endif()
endif()

# Screens every window test runs on, each on its own Xvfb: a desktop, a 14-inch laptop, a small one.
set(GLIMMER_X11_SCREENS 1920x1080 1512x950 1280x800)
# glimmer_add_screen_tests(NAME ENVIRONMENT COMMAND...): one test NAME.<size> per screen.
function(glimmer_add_screen_tests name environment)
  foreach(screen ${GLIMMER_X11_SCREENS})
    add_test(NAME ${name}.${screen} COMMAND ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/on_screen.sh ${screen} ${ARGN})
    set_tests_properties(${name}.${screen} PROPERTIES LABELS x11 TIMEOUT 240 ENVIRONMENT "${environment}")
  endforeach()
endfunction()

# glimmer_add_app_test(NAME SCRIPT [ARGUMENT...]): x11.NAME runs SCRIPT with the program, the
# simulated market and the arguments.
function(glimmer_add_app_test name script)
  if(NOT TARGET glimmer-simmarket)
    return()
  endif()
  add_test(NAME x11.${name}
    COMMAND ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/${script} $<TARGET_FILE:glimmerbox> $<TARGET_FILE:glimmer-simmarket> ${ARGN})
  set_tests_properties(x11.${name} PROPERTIES LABELS x11 TIMEOUT 120)
endfunction()

# The program against the simulated market on its own 1440 x 900 display; the screenshot is kept.
glimmer_add_app_test(app_end_to_end app_end_to_end.sh ${PROJECT_SOURCE_DIR}/artifacts)
# A Wayland session with XWayland (headless Weston): the program runs on xcb at its stored place.
glimmer_add_app_test(wayland_session wayland_session.sh)

# A tray started after the program gets its icon.
if(TARGET glimmer-simmarket)
  add_test(NAME x11.tray_started_later
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/x11/on_screen.sh 1512x950 ${CMAKE_CURRENT_SOURCE_DIR}/x11/tray_later.sh
            $<TARGET_FILE:glimmerbox> $<TARGET_FILE:glimmer-simmarket>)
  set_tests_properties(x11.tray_started_later PROPERTIES LABELS x11 TIMEOUT 120 SKIP_RETURN_CODE 77)
endif()

# The floating panel's window as the X server sees it (xprop, xdotool).
if(TARGET glimmer_x11_tests)
  glimmer_add_screen_tests(x11.floating_panel_window "QT_QPA_PLATFORM=xcb"
    $<TARGET_FILE:glimmer_x11_tests> --gtest_filter=FloatingPanelX11.*)
endif()
include(${CMAKE_CURRENT_LIST_DIR}/hotkeys_tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/wiring_tests.cmake)
