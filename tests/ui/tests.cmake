set(GLIMMER_UI_TESTS
  ui/EntryPointTest.cpp
)
include(${CMAKE_CURRENT_LIST_DIR}/charts_tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/panel_tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/hotkeys_tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/card_tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/settings_tests.cmake)
